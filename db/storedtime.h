#pragma once

// Run times as tblZeit stores them in `netto`: a fraction of a day. Every reading of a stored
// run time goes through here, so that a value that cannot be a run never becomes a time, a
// rank or a value. Not a run: Null, a text or other non-number (a damaged or foreign file can
// hold one in the column), a value that is not finite, and one that is, rounded to whole
// hundredths, 0 or less (no run lasts no time) or 100 hours or more. Such a racer is treated
// like a racer without a time.
//
// Statements read stored run times through two functions of every connection:
//   laufzeit(netto)       the run time in hundredths (netto*8640000), Null when it is no run
//                         time;
//   laufzeitsumme(netto)  the sum of the group's run times in hundredths, Null when any of
//                         them is no run time (Null included) or the group is empty.

#include <QtGlobal>

#include <optional>

struct sqlite3_value;

namespace kx::db {

class Field;

// One hundredth of a second is 1/8640000 of a day.
inline constexpr double kHundredthsPerDay = 8640000.0;
// 100 hours in hundredths: no stored run time reaches it.
inline constexpr double kRunTimeLimit = 36000000.0;

// A stored run time (fraction of a day) as it is, when it can be a run.
std::optional<double> StoredRunTime(double day);
// The run time a field holds (fraction of a day); nothing for Null and for a text.
std::optional<double> StoredRunTime(const Field& netto);
// The same in hundredths of a second, not rounded (netto*8640000, as the statements read it).
std::optional<double> StoredRunHundredths(const Field& netto);
// The run time an SQLite value holds (fraction of a day), by the same rule.
std::optional<double> StoredRunTime(sqlite3_value* netto);

// A time of day as tblZeit stores it in `start`, `ziel` and `zwischen1` (a fraction of a
// day), when it can be one: a number from 0 to 24 hours, the upper end taken at whole
// hundredths. Null, a text, a value that is not finite, a negative one and one beyond the
// day are no time: the racer is treated as having none there (no start, no finish, no
// intermediate time). 0 passes: where 0 stands for a missing time, the caller says so.
std::optional<double> StoredDayTime(const Field& time);

}  // namespace kx::db
