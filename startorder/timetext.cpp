#include "startorder/timetext.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kx {

QString FormatRunTime(double hundredths, RunTimeForm form) {
  const long long rounded = std::llround(hundredths);
  // A negative run time only comes from a damaged row; print it with its sign rather than
  // as a plausible-looking time.
  const long long total = std::llabs(rounded);
  const long long minutes = total / 6000;
  const long long rest = total - minutes * 6000;

  // Lists print thousands of these: one buffer, one string.
  char buffer[40];
  const char* sign = rounded < 0 ? "-" : "";
  int length = 0;
  if (minutes >= 1 || form == RunTimeForm::AlwaysMinutes) {
    length = std::snprintf(buffer, sizeof buffer, "%s%lld:%02lld.%02lld", sign, minutes, rest / 100,
                           rest % 100);
  } else if (form == RunTimeForm::TwoDigitSeconds) {
    length = std::snprintf(buffer, sizeof buffer, "%s%02lld.%02lld", sign, rest / 100, rest % 100);
  } else {
    length = std::snprintf(buffer, sizeof buffer, "%s%lld.%02lld", sign, rest / 100, rest % 100);
  }
  QString text = QString::fromLatin1(buffer, length);
  // The decimal separator of the user's locale (a comma in German).
  text.replace(text.size() - 3, 1, QLocale().decimalPoint());
  return text;
}

}  // namespace kx
