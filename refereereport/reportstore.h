#pragma once

// The stored referee reports: table XtblSRBericht of the competition file, one row per
// discipline and field. Every write is one transaction.

#include "refereereport/reportfields.h"

#include <optional>

namespace kx::db {
class Connection;
}

namespace kx {

// The longest value a stored row holds.
inline constexpr int kReportValueLength = 150;

// Creates the table when no table of exactly that name exists.
void EnsureReportTable(db::Connection& db);

// Lays the stored rows of `discipline` over `values`: key and value trimmed, keys matched
// exactly; rows of other keys are ignored.
void LoadStoredReport(db::Connection& db, int discipline, ReportValues& values);

// The key of the first value longer than a stored row can hold; nothing when all fit.
std::optional<QString> TooLongReportValue(const ReportValues& values);

// Replaces the stored report of `discipline`: one row per value that is not exactly empty,
// except the two fields the window does not show. One transaction; throws db::Error and
// leaves the old rows then.
void StoreReport(db::Connection& db, int discipline, const ReportValues& values);

// Deletes the stored report of `discipline`.
void DeleteStoredReport(db::Connection& db, int discipline);

// What the competition file says of the race whose report it holds for `discipline`: the
// event title and the race number of that discipline. Another race put at the same path
// differs in them. Of the race number only the four characters before its letters count:
// the change of the competition type rewrites the letters, not the race.
struct ReportRace {
  QString title;
  QString number;
  bool operator==(const ReportRace&) const = default;
};
ReportRace ReadReportRace(db::Connection& db, int discipline);

}  // namespace kx
