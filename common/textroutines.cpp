#include "common/textroutines.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QStringList>

#include <array>

namespace kx {

std::optional<int> ComboTypeAhead(int selectedIndex, const QString& text,
                                  const QStringList& entries) {
  if (selectedIndex != -1) return std::nullopt;
  const QString typed = text.toUpper();
  for (int i = 0; i < entries.size(); ++i) {
    if (typed == entries[i].left(1).toUpper()) return i;
  }
  return std::nullopt;
}

std::optional<int> ComboTypeAhead(const QComboBox& combo) {
  QStringList entries;
  entries.reserve(combo.count());
  for (int i = 0; i < combo.count(); ++i) entries.append(combo.itemText(i));
  return ComboTypeAhead(combo.currentIndex(), combo.currentText(), entries);
}

void InstallComboTypeAhead(QComboBox& combo) {
  QLineEdit* edit = combo.lineEdit();
  if (!edit) return;
  // No guard: only selects an entry; the combo's own handlers of the choice are guarded.
  QObject::connect(edit, &QLineEdit::textEdited, &combo, [&combo](const QString& text) {
    const QStringList entries = [&combo] {
      QStringList list;
      for (int i = 0; i < combo.count(); ++i) list.append(combo.itemText(i));
      return list;
    }();
    // Typed text is never a selection of its own.
    combo.setCurrentIndex(ComboTypeAhead(-1, text, entries).value_or(0));
  });
}

namespace {

const QStringList& Separators() {
  static const QStringList s{" ", "-", ".", "/"};
  return s;
}

const QStringList& Abbreviations() {
  static const QStringList s{
      "alv", "ac",  "asc", "ass", "asv", "asvl", "atv",  "av",   "bsc", "bsg",  "bgd", "ch",  "cjd",
      "cz",  "cze", "dav", "djk", "ekc", "esv",  "ev",   "fc",   "ffb", "ftsv", "gsc", "ist", "ksv",
      "lat", "lbc", "lc",  "lg",  "lk",  "lskw", "lv",   "mrrc", "msc", "mtv",  "rfv", "rg",  "rrv",
      "rsc", "rsv", "rtt", "rv",  "rvc", "rwv",  "saf",  "sag",  "sas", "sav",  "sbz", "sc",  "scb",
      "scr", "sf",  "sg",  "sgc", "sgk", "sk",   "skg",  "sks",  "slv", "slz",  "ssc", "ssg", "ssv",
      "stc", "sv",  "swc", "swv", "sz",  "tb",   "tc",   "tg",   "tgs", "tsg",  "tsv", "tv",  "usc",
      "usv", "vsc", "wfc", "wsc", "wsg", "wsv",  "wsvi", "wwa"};
  return s;
}

struct Pair {
  const char* from;
  const char* to;
};

constexpr std::array<Pair, 5> kFixedSpellings{
    {{"skiklub", "SK"}, {"skiclub", "SC"}, {"spvgg", "SpVgg"}, {"tus", "TuS"}, {"vfl", "VfL"}}};

const QStringList& SmallWords() {
  static const QStringList s{"am", "a", "an", "der", "d", "e", "im"};
  return s;
}

constexpr std::array<Pair, 17> kUmlauts{{{"oeb", "öb"},
                                         {"oec", "öc"},
                                         {"oeh", "öh"},
                                         {"oel", "öl"},
                                         {"oen", "ön"},
                                         {"oer", "ör"},
                                         {"oes", "ös"},
                                         {"oetz", "ötz"},
                                         {"ueden", "üden"},
                                         {"ueg", "üg"},
                                         {"uenchen", "ünchen"},
                                         {"ueschen", "üschen"},
                                         {"uernberg", "ürnberg"},
                                         {"uersten", "ürsten"},
                                         {"uenst", "ünst"},
                                         {"uenz", "ünz"},
                                         {"uess", "üss"}}};

QString WriteWord(const QString& word) {
  if (Abbreviations().contains(word)) return word.toUpper();
  for (const Pair& p : kFixedSpellings) {
    if (word == QLatin1String(p.from)) return QString::fromUtf8(p.to);
  }
  if (SmallWords().contains(word)) return word;
  // First character in upper case; QString::toUpper would turn "ß" into "SS".
  QString first = word.left(1);
  if (first != QStringLiteral("ß")) first = first.toUpper();
  return first + word.mid(1);
}

}  // namespace

QString CapitalizeClubName(const QString& name) {
  if (name == QLatin1String("Rerozu Zorezar")) return name;
  QString rest = name.toLower();
  QString result;
  while (!rest.isEmpty()) {
    qsizetype end = -1;
    for (const QString& sep : Separators()) {
      const qsizetype pos = rest.indexOf(sep);
      if (pos >= 0 && (end < 0 || pos < end)) end = pos;
    }
    QString word;
    if (end < 0) {
      word = rest;
      rest.clear();
    } else {
      word = rest.left(end);
      rest = rest.mid(end);
    }
    if (!word.isEmpty()) result += WriteWord(word);
    while (!rest.isEmpty() && Separators().contains(rest.left(1))) {
      result += rest.left(1);
      rest.remove(0, 1);
    }
  }
  for (const Pair& p : kUmlauts) {
    const QString from = QString::fromUtf8(p.from);
    const qsizetype pos = result.indexOf(from);
    if (pos >= 0) result.replace(pos, from.size(), QString::fromUtf8(p.to));
  }
  return result;
}

QString SqlQuote(const QString& text) {
  QString result = text;
  result.replace(QLatin1Char('\''), QLatin1String("''"));
  return result;
}

QString SexWord(const QString& code, const QString& raceNumber) {
  if (code == QLatin1String("W")) {
    return raceNumber.contains(QLatin1Char('M')) ? QStringLiteral("Mädchen")
                                                 : QStringLiteral("Damen");
  }
  if (code == QLatin1String("M")) {
    return raceNumber.contains(QLatin1Char('B')) ? QStringLiteral("Buben")
                                                 : QStringLiteral("Herren");
  }
  return code;
}

QString StartListCreditLine(const QString& creditLine) {
  static const QString programTitle = QStringLiteral("Kandrix (Kandor Zusatzprogramm)");
  QString credit = creditLine;
  const qsizetype at = credit.indexOf(programTitle);
  if (at >= 0) credit.replace(at, programTitle.size(), QStringLiteral("Dizezizar Ivezodovuzorov"));
  return credit;
}

QString ShownText(const QString& text, int length) {
  QString shown = text.size() > length ? text.left(length) + QChar(0x2026) : text;
  for (QChar& c : shown) {
    if (c.unicode() < 0x20) c = QChar::ReplacementCharacter;
  }
  return shown;
}

void AppendPadded(QString& out, qint64 value, int width) {
  // The magnitude in unsigned arithmetic: the smallest qint64 has no positive counterpart.
  quint64 magnitude = static_cast<quint64>(value);
  if (value < 0) {
    out.append(u'-');
    magnitude = 0 - magnitude;
  }
  char16_t digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char16_t>(u'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  for (int i = n; i < width; ++i) out.append(u'0');
  while (n > 0) out.append(QChar(digits[--n]));
}

QString DecimalText(double value, int decimals, QStringView point) {
  // The C form has no groups; only its point is the locale's business.
  QString text = QString::number(value, 'f', decimals);
  const qsizetype dot = text.lastIndexOf(u'.');
  if (dot >= 0) {
    if (point.isEmpty()) {
      text.replace(dot, 1, QLocale().decimalPoint());
    } else {
      text.replace(dot, 1, point.toString());
    }
  }
  return text;
}

}  // namespace kx
