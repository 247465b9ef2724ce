#include "startorder/timetext.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>

namespace kx {

QString RunTimeText(double hundredths) {
  const qint64 rounded = std::llround(hundredths);
  // A negative run time only comes from a damaged row; print it with its sign rather than
  // as a plausible-looking time.
  const qint64 total = std::llabs(rounded);
  const qint64 minutes = total / 6000;
  const qint64 rest = total - minutes * 6000;
  const qint64 seconds = rest / 100;
  const qint64 fraction = rest % 100;

  QString text;
  if (rounded < 0) text += QLatin1Char('-');
  if (minutes >= 1) text += QString::number(minutes) + QLatin1Char(':');
  text += QStringLiteral("%1").arg(seconds, 2, 10, QLatin1Char('0'));
  text += QLocale().decimalPoint();
  text += QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
  return text;
}

}  // namespace kx
