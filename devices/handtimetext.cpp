#include "devices/handtimetext.h"

#include "db/storedtime.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace kx {

namespace {

using db::kHundredthsPerDay;
constexpr std::int64_t kHundredthsPerHour = 360000;
constexpr std::int64_t kHundredthsPerMinute = 6000;
// A time read from a text lies at most a rounding error below its hundredth; this lifts it
// back so that it formats to the text it came from.
constexpr double kEpsilon = 1e-6;
// Hundredths beyond which no time text is written: far beyond any time, and within what the
// whole-number arithmetic below holds exactly.
constexpr double kTextLimit = 1e15;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

QString TwoDigits(std::int64_t value) {
  if (value < 0) return QLatin1Char('-') + QString::number(-value).rightJustified(2, u'0');
  return QString::number(value).rightJustified(2, u'0');
}

// A whole number in the 16-bit range, blanks around it allowed, an optional sign.
std::optional<int> ReadField(QStringView field) {
  field = field.trimmed();
  if (field.isEmpty()) return std::nullopt;
  bool negative = false;
  if (field.front() == u'+' || field.front() == u'-') {
    negative = field.front() == u'-';
    field = field.mid(1);
  }
  if (field.isEmpty()) return std::nullopt;
  int value = 0;
  for (QChar c : field) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
    if (value > 32768) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int16_t>::max()) return std::nullopt;
  return value;
}

}  // namespace

QString FormatHandTime(double t, const QString& mode) {
  const double v = t * kHundredthsPerDay;
  if (!std::isfinite(v) || std::fabs(v) > kTextLimit) return QString();
  // The time is rounded or cut as a whole before it is split into fields, so that a carry
  // runs on into the minutes and hours: no field is ever written as 60.
  const double whole =
      mode == QLatin1String("rnd") ? std::floor(v + 0.5 + kEpsilon) : std::floor(v + kEpsilon);
  const auto total = static_cast<std::int64_t>(whole);
  const std::int64_t hours = FloorDiv(total, kHundredthsPerHour);
  const std::int64_t rest = total - hours * kHundredthsPerHour;
  const std::int64_t minutes = rest / kHundredthsPerMinute;
  const std::int64_t seconds = rest - minutes * kHundredthsPerMinute;  // hundredths
  char text[48];
  const int n =
      std::snprintf(text, sizeof text, "%s%02lld:%02lld:%02lld,%02lld", hours < 0 ? "-" : "",
                    static_cast<long long>(std::llabs(hours)), static_cast<long long>(minutes),
                    static_cast<long long>(seconds / 100), static_cast<long long>(seconds % 100));
  return QString::fromLatin1(text, n);
}

namespace {

// The fields of a hand-time text by position: hours, minutes, and hundredths within the minute.
struct HandFields {
  int hours = 0, minutes = 0, within = 0;
};
std::optional<HandFields> ReadHandFields(const QString& s) {
  if (s.size() < 7) return std::nullopt;
  const auto hours = ReadField(QStringView(s).mid(0, 2));
  const auto minutes = ReadField(QStringView(s).mid(3, 2));
  // The separator, comma or point, is no digit: "56,78" and "56.78" read as 5678.
  QChar digits[5];
  qsizetype count = 0;
  for (QChar c : QStringView(s).mid(6, 5)) {
    if (c != u',' && c != u'.') digits[count++] = c;
  }
  const auto within = ReadField(QStringView(digits, count));
  if (!hours || !minutes || !within) return std::nullopt;
  return HandFields{*hours, *minutes, *within};
}

}  // namespace

std::optional<double> ParseHandTime(const QString& s) {
  const std::optional<HandFields> f = ReadHandFields(s);
  if (!f) return std::nullopt;
  return (f->hours / 24.0 + f->minutes / 1440.0) + f->within / kHundredthsPerDay;
}

bool HandTimeFieldsInRange(const QString& s) {
  const std::optional<HandFields> f = ReadHandFields(s);
  return f && f->hours >= 0 && f->hours < 24 && f->minutes >= 0 && f->minutes < 60 &&
         f->within >= 0 && f->within < 6000;
}

QString FormatRaceTime(double seconds, int mode) {
  if (seconds < 0.001) {
    if (seconds == 0) return QString();
    if (seconds == -1) return QStringLiteral("N/Start");
    if (seconds == -2) return QStringLiteral("N/Ziel");
    if (seconds == -3) return QStringLiteral("Disqual.");
    return QStringLiteral("=");
  }
  if (!std::isfinite(seconds) || seconds * 100 > kTextLimit) return QString();
  const auto wholeMinutes = static_cast<std::int64_t>(std::floor(seconds / 60));
  const double rest = seconds - static_cast<double>(wholeMinutes) * 60;
  const std::int64_t hh = wholeMinutes / 60;
  const std::int64_t mm = wholeMinutes - hh * 60;
  const auto thousandths = static_cast<std::int64_t>(std::floor(rest * 1000 + 0.5 + kEpsilon));
  const QString secondsText = TwoDigits(thousandths / 1000) + QLatin1Char('.') +
                              QString::number(thousandths % 1000).rightJustified(3, u'0');
  if (mode == 1) return TwoDigits(hh) + TwoDigits(mm) + secondsText;
  QString text = TwoDigits(hh) + QLatin1Char(':') + TwoDigits(mm) + QLatin1Char(':') + secondsText;
  if (mode == 2 || mode == 3) text.truncate(11);
  if (mode == 3) {
    qsizetype blank = 7;
    for (qsizetype i = 0; i < 7 && i < text.size(); ++i) {
      if (text[i] != u'0' && text[i] != u':') {
        blank = i;
        break;
      }
    }
    for (qsizetype i = 0; i < blank; ++i) text[i] = u' ';
  }
  return text;
}

}  // namespace kx
