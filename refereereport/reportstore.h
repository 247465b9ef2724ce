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

}  // namespace kx
