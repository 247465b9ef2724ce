#include "db/germantext.h"

#include "db/database.h"

#include <QChar>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kx::db {

namespace {

// One step of the comparison: the letter as it counts at the first level (lower case, no
// accent) and the accent that decides between otherwise equal names (0 for none).
struct Unit {
  char32_t primary = 0;
  std::uint16_t secondary = 0;
};

constexpr char32_t kFoldFirst = 0xC0;
constexpr char32_t kFoldLast = 0x17F;
constexpr std::uint16_t kSharpSWeight = 0x100;  // after every accent of the table

struct FoldEntry {
  char32_t primary;
  std::uint16_t secondary;
  bool sharpS;
};

// Latin letters with accents, folded to their base letter. Built once from Qt's Unicode
// tables; names outside this range are only folded to lower case.
const std::array<FoldEntry, kFoldLast - kFoldFirst + 1>& FoldTable() {
  static const auto table = [] {
    std::array<FoldEntry, kFoldLast - kFoldFirst + 1> t{};
    for (char32_t c = kFoldFirst; c <= kFoldLast; ++c) {
      const char32_t lower = QChar::toLower(c);
      FoldEntry e{lower, 0, false};
      if (c == 0xDF) {
        e = {U's', kSharpSWeight, true};
      } else if (QChar::decompositionTag(lower) == QChar::Canonical) {
        const QString d = QChar::decomposition(lower);
        if (d.size() == 2 && d[1].unicode() >= 0x300 && d[1].unicode() < 0x370) {
          e.primary = d[0].unicode();
          e.secondary = static_cast<std::uint16_t>(d[1].unicode() - 0x2FF);
        }
      }
      t[c - kFoldFirst] = e;
    }
    return t;
  }();
  return table;
}

inline char32_t AsciiLower(char32_t c) {
  return (c >= 'A' && c <= 'Z') ? c + 32 : c;
}

inline char32_t LowerCodePoint(char32_t c) {
  if (c < 0x80) return AsciiLower(c);
  return QChar::toLower(c);
}

// Folds one code point into one or two units (sharp s counts as "ss").
inline int Fold(char32_t c, Unit out[2]) {
  if (c < 0x80) {
    out[0] = {AsciiLower(c), 0};
    return 1;
  }
  if (c == 0x1E9E) c = 0xDF;  // capital sharp s
  if (c >= kFoldFirst && c <= kFoldLast) {
    const FoldEntry& e = FoldTable()[c - kFoldFirst];
    if (e.sharpS) {
      out[0] = {U's', e.secondary};
      out[1] = {U's', 0};
      return 2;
    }
    out[0] = {e.primary, e.secondary};
    return 1;
  }
  out[0] = {QChar::toLower(c), 0};
  return 1;
}

// Code points of UTF-8 bytes; a malformed byte counts as the Latin-1 character it would be.
class Utf8Source {
 public:
  Utf8Source(const unsigned char* p, const unsigned char* end) : p_(p), end_(end) {}
  bool next(char32_t& c) {
    if (p_ >= end_) return false;
    const unsigned char b = *p_;
    int extra = 0;
    if (b < 0x80) {
      c = b;
    } else if ((b & 0xE0) == 0xC0) {
      c = b & 0x1F;
      extra = 1;
    } else if ((b & 0xF0) == 0xE0) {
      c = b & 0x0F;
      extra = 2;
    } else if ((b & 0xF8) == 0xF0) {
      c = b & 0x07;
      extra = 3;
    } else {
      c = b;
      ++p_;
      return true;
    }
    if (end_ - p_ <= extra) {
      c = b;
      ++p_;
      return true;
    }
    for (int i = 1; i <= extra; ++i) {
      if ((p_[i] & 0xC0) != 0x80) {
        c = b;
        ++p_;
        return true;
      }
      c = (c << 6) | (p_[i] & 0x3F);
    }
    p_ += extra + 1;
    return true;
  }

 private:
  const unsigned char* p_;
  const unsigned char* end_;
};

class Utf16Source {
 public:
  Utf16Source(const QChar* p, const QChar* end) : p_(p), end_(end) {}
  bool next(char32_t& c) {
    if (p_ >= end_) return false;
    const char16_t u = p_->unicode();
    ++p_;
    if (QChar::isHighSurrogate(u) && p_ < end_ && p_->isLowSurrogate()) {
      c = QChar::surrogateToUcs4(u, p_->unicode());
      ++p_;
    } else {
      c = u;
    }
    return true;
  }

 private:
  const QChar* p_;
  const QChar* end_;
};

template <class Source>
class UnitStream {
 public:
  explicit UnitStream(Source source) : source_(source) {}
  bool next(Unit& u) {
    if (pos_ == size_) {
      char32_t c;
      if (!source_.next(c)) return false;
      size_ = Fold(c, buffer_);
      pos_ = 0;
    }
    u = buffer_[pos_++];
    return true;
  }

 private:
  Source source_;
  Unit buffer_[2];
  int size_ = 0;
  int pos_ = 0;
};

// First level: letters without case and accents; second level: the first accent that
// differs, an accented letter after its base letter.
template <class SourceA, class SourceB>
int CompareStreams(SourceA a, SourceB b) {
  UnitStream<SourceA> sa(a);
  UnitStream<SourceB> sb(b);
  int secondary = 0;
  for (;;) {
    Unit ua, ub;
    const bool hasA = sa.next(ua);
    const bool hasB = sb.next(ub);
    if (!hasA || !hasB) {
      if (hasA) return 1;
      if (hasB) return -1;
      return secondary;
    }
    if (ua.primary != ub.primary) return ua.primary < ub.primary ? -1 : 1;
    if (secondary == 0 && ua.secondary != ub.secondary)
      secondary = ua.secondary < ub.secondary ? -1 : 1;
  }
}

std::u32string LowerCodePoints(QByteArrayView text) {
  std::u32string out;
  out.reserve(static_cast<size_t>(text.size()));
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  Utf8Source source(p, p + text.size());
  char32_t c;
  while (source.next(c)) out.push_back(LowerCodePoint(c));
  return out;
}

inline char32_t CodeUnit(unsigned char c) {
  return c;
}
inline char32_t CodeUnit(QChar c) {
  return c.unicode();
}

// Most names and clubs are plain ASCII: their leading ASCII part is compared without
// decoding. True when that part decides (`result` set); otherwise `i` stops at the first
// character that needs the full comparison.
template <class Char>
bool CompareAsciiPrefix(const Char* pa, qsizetype na, const Char* pb, qsizetype nb, qsizetype& i,
                        int& result) {
  for (i = 0;; ++i) {
    if (i == na || i == nb) {
      result = i == na ? (i == nb ? 0 : -1) : 1;
      return true;
    }
    const char32_t ca = CodeUnit(pa[i]);
    const char32_t cb = CodeUnit(pb[i]);
    if (ca >= 0x80 || cb >= 0x80) return false;
    const char32_t la = AsciiLower(ca);
    const char32_t lb = AsciiLower(cb);
    if (la != lb) {
      result = la < lb ? -1 : 1;
      return true;
    }
  }
}

struct PatternItem {
  enum Kind { Literal, One, Any } kind;
  char32_t c;
};

}  // namespace

int CompareGermanUtf8(QByteArrayView a, QByteArrayView b) {
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  qsizetype i = 0;
  int result = 0;
  if (CompareAsciiPrefix(pa, a.size(), pb, b.size(), i, result)) return result;
  return CompareStreams(Utf8Source(pa + i, pa + a.size()), Utf8Source(pb + i, pb + b.size()));
}

int CompareGerman(const QString& a, const QString& b) {
  const QChar* pa = a.constData();
  const QChar* pb = b.constData();
  qsizetype i = 0;
  int result = 0;
  if (CompareAsciiPrefix(pa, a.size(), pb, b.size(), i, result)) return result;
  return CompareStreams(Utf16Source(pa + i, pa + a.size()), Utf16Source(pb + i, pb + b.size()));
}

bool LikeGerman(QByteArrayView text, QByteArrayView pattern, char32_t escape) {
  const std::u32string s = LowerCodePoints(text);
  const std::u32string p = LowerCodePoints(pattern);
  const char32_t esc = LowerCodePoint(escape);

  std::vector<PatternItem> items;
  items.reserve(p.size());
  for (size_t k = 0; k < p.size(); ++k) {
    const char32_t c = p[k];
    if (escape != 0 && c == esc && k + 1 < p.size()) {
      items.push_back({PatternItem::Literal, p[++k]});
    } else if (c == U'%') {
      if (items.empty() || items.back().kind != PatternItem::Any)
        items.push_back({PatternItem::Any, 0});
    } else if (c == U'_') {
      items.push_back({PatternItem::One, 0});
    } else {
      items.push_back({PatternItem::Literal, c});
    }
  }

  // Greedy match that returns to the last '%' on a mismatch: linear for the usual
  // patterns ('%text%'), never exponential.
  size_t si = 0, pi = 0;
  size_t starItem = SIZE_MAX, starText = 0;
  while (si < s.size()) {
    if (pi < items.size() && items[pi].kind == PatternItem::Any) {
      starItem = pi++;
      starText = si;
    } else if (pi < items.size() && (items[pi].kind == PatternItem::One || items[pi].c == s[si])) {
      ++pi;
      ++si;
    } else if (starItem != SIZE_MAX) {
      pi = starItem + 1;
      si = ++starText;
    } else {
      return false;
    }
  }
  while (pi < items.size() && items[pi].kind == PatternItem::Any) ++pi;
  return pi == items.size();
}

}  // namespace kx::db
