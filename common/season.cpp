#include "common/season.h"

namespace kx {

QString SeasonOf(const QDate& date) {
  const int year = date.year();
  if (date.month() >= 10) return QStringLiteral("%1/%2").arg(year).arg(year + 1);
  return QStringLiteral("%1/%2").arg(year - 1).arg(year);
}

}  // namespace kx
