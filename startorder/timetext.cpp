#include "startorder/timetext.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>

namespace kx {

QString FormatRunTime(double hundredths, RunTimeForm form) {
  // Beyond any run time (and beyond what a whole number holds): no time at all.
  if (!std::isfinite(hundredths) || std::fabs(hundredths) > 1e15) return QString();
  const long long rounded = std::llround(hundredths);
  // A negative run time only comes from a damaged row; print it with its sign rather than
  // as a plausible-looking time.
  const long long total = std::llabs(rounded);
  const long long minutes = total / 6000;
  const long long rest = total - minutes * 6000;

  // Lists print thousands of these: the digits go into one buffer, then into one string.
  const QString point = QLocale().decimalPoint();
  char16_t buffer[64];
  int length = 0;
  auto put = [&](long long value, int width) {
    char16_t digits[24];
    int count = 0;
    do {
      digits[count++] = static_cast<char16_t>(u'0' + value % 10);
      value /= 10;
    } while (value > 0);
    while (count < width) digits[count++] = u'0';
    while (count > 0) buffer[length++] = digits[--count];
  };
  if (rounded < 0) buffer[length++] = u'-';
  if (minutes >= 1 || form == RunTimeForm::AlwaysMinutes) {
    put(minutes, 1);
    buffer[length++] = u':';
    put(rest / 100, 2);
  } else {
    put(rest / 100, form == RunTimeForm::TwoDigitSeconds ? 2 : 1);
  }
  // The decimal separator of the user's locale (a comma in German).
  QString text;
  text.reserve(length + point.size() + 2);
  text.append(QStringView(buffer, length)).append(point);
  length = 0;
  put(rest % 100, 2);
  return text.append(QStringView(buffer, length));
}

}  // namespace kx
