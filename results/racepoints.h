#pragma once

// Race points and run-time columns of a combination: each chosen discipline gets one value
// per participant in the column rpkte<code> of tblTeilnehmer (9999.99 where there is none),
// race points computed from the run times or the run time itself in seconds. The
// participant-data export and the combination certificates call these routines right
// before they read the columns back and rank by their sum.

#include <QString>

#include <array>
#include <map>

namespace kx {

struct AppState;

// The disciplines taking part, by discipline number 0 to 5 (downhill, super-G, giant
// slalom, slalom, knock-out slalom, parallel slalom). The callers fill it from their
// panel's six discipline check boxes.
using SelectedDisciplines = std::array<bool, 6>;

// How race points are computed: by the factor formula F × T / T0 − F ("F-Wert") or from
// the points table of the master data by finishing position ("Punktetabelle").
enum class RacePointsMethod { Factor = 0, PointsTable = 1 };
// Within which division positions and reference times are taken: one division for all,
// per class, per group of classes, or per category letter (women before men).
enum class RacePointsDivision { None = 0, Class = 1, Group = 2, Category = 3 };

// The "no value" of the rpkte columns.
inline constexpr double kNoRacePoints = 9999.99;

// Computes race points for every selected discipline: its column is reset to 9999.99 for
// everybody, then each entered participant with a valid result (best run for the
// competition types 6, 7 and 12, else the sum of his runs, all of them valid) and with a
// result of every run of the discipline, as the result list asks for it, is valued
// within his division: the leader gets 0.00 under the factor formula, and under the points
// table the points of his position (positions without a table row give 0.00). Equal times
// take consecutive positions. F comes from Kandor.ini, section "FVAL", key "D" and the
// discipline number (600 when missing or not a whole number from -32768 to 32767).
// Everything is written in one transaction: on a database error nothing is changed and
// db::Error is thrown. With the points table, a master-data file or points table that
// cannot be read is reported with a message and nothing is written; returns false then.
bool ComputeRacePoints(AppState& state, const SelectedDisciplines& selected,
                       RacePointsMethod method, RacePointsDivision division);

// Stores each participant's run time in seconds (best valid run for the types 6, 7 and 12,
// else the sum of his runs when all are valid; both once he has a result of every run of
// the discipline) for every selected discipline, 9999.99 for the others; every participant with
// time rows counts, entered or not. One transaction; db::Error on failure with nothing changed.
void StoreRunTimes(AppState& state, const SelectedDisciplines& selected);

// The factor F of discipline `dtyp` from the settings file in `programDir`.
int RacePointsFactor(const QString& programDir, int dtyp);

// The points table of the master data: whole points by position. db::Error when the file or
// its table cannot be read.
std::map<int, int> ReadPointsTable(const QString& programDir);

}  // namespace kx
