#include "db/storedtime.h"

#include "db/database.h"

#include <sqlite3.h>

#include <cmath>

namespace kx::db {

std::optional<double> StoredRunTime(double day) {
  if (!std::isfinite(day)) return std::nullopt;
  // Rounded as every list rounds it: 100 hours stored as 99:59:59,99999 is still 100 hours,
  // and 0.004 s is 0,00.
  const double hundredths = std::nearbyint(day * kHundredthsPerDay);
  if (hundredths <= 0 || hundredths >= kRunTimeLimit) return std::nullopt;
  return day;
}

std::optional<double> StoredRunTime(const Field& netto) {
  if (netto.isNull()) return std::nullopt;
  const int type = netto.value().typeId();
  // A text that SQLite kept as a text is no number to it ("NaN", "1:02,5"); statements read
  // it as 0. Neither is a run time.
  if (type == QMetaType::QString || type == QMetaType::QByteArray) return std::nullopt;
  return StoredRunTime(netto.value().toDouble());
}

std::optional<double> StoredRunHundredths(const Field& netto) {
  const std::optional<double> day = StoredRunTime(netto);
  if (!day) return std::nullopt;
  return *day * kHundredthsPerDay;
}

std::optional<double> StoredRunTime(sqlite3_value* netto) {
  const int type = sqlite3_value_type(netto);
  if (type != SQLITE_FLOAT && type != SQLITE_INTEGER) return std::nullopt;
  return StoredRunTime(sqlite3_value_double(netto));
}

std::optional<double> StoredDayTime(const Field& time) {
  if (time.isNull()) return std::nullopt;
  const int type = time.value().typeId();
  if (type == QMetaType::QString || type == QMetaType::QByteArray) return std::nullopt;
  const double day = time.value().toDouble();
  if (!std::isfinite(day) || day < 0) return std::nullopt;
  if (std::nearbyint(day * kHundredthsPerDay) > kHundredthsPerDay) return std::nullopt;
  return day;
}

}  // namespace kx::db
