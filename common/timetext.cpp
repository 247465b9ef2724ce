#include "common/timetext.h"

#include "common/textroutines.h"

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

  // Lists print thousands of these: the digits go straight into one string.
  const QString point = QLocale().decimalPoint();
  QString text;
  text.reserve(24 + point.size());
  if (rounded < 0) text.append(u'-');
  if (minutes >= 1 || form == RunTimeForm::AlwaysMinutes) {
    AppendPadded(text, minutes, 1);
    text.append(u':');
    AppendPadded(text, rest / 100, 2);
  } else {
    AppendPadded(text, rest / 100, form == RunTimeForm::TwoDigitSeconds ? 2 : 1);
  }
  // The decimal separator of the user's locale (a comma in German).
  text.append(point);
  AppendPadded(text, rest % 100, 2);
  return text;
}

}  // namespace kx
