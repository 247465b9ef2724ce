#pragma once

// The start orders of run 1 and run 2 of the current discipline, computed from the open
// competition file into AppState::StartOrder. Neither build writes to the database.

#include <QString>

namespace kx {

struct AppState;
class StartOrderTable;

// Run 1: the entered participants with a bib, grouped by `mode` (the text of the caller's
// grouping choice: "keine Unterteilung", "Klasse", "Gruppe", "Kategorie / StartNr",
// "Kategorie / IdNr", ...; an unknown text orders by bib over all classes), bibs ascending
// or `descending` within each group. In points races the order is corrected so that
// participants whose entry points are better than their bib position start earlier;
// `topCount` is the size of each group's top block that the correction leaves alone.
// `clubDefault` stands in for the club where no club is shown.
// Returns the number of entries, or -1 when nobody qualifies; then, when `showMessage` is
// set, the user is told "Keine Daten gefunden!". Database errors throw db::Error.
int BuildStartOrderRun1(AppState& state, const QString& mode, bool descending, int topCount,
                        const QString& clubDefault, bool showMessage);

// Run 2: from the run-1 results, by one of the federation modes ("FIS-Reglement",
// "KSF-Reglement", "Kategorie", "Nach Zeiten pro Klasse", "St-Nr pro Klasse drehen", ...).
// The first `reverseCount` finishers of each group (or the count the mode fixes) start in
// reverse order of their run-1 times; `appendNonFinishers` switches to the category order
// with the run-1 non-finishers at the end of their category. At most `maxPerGroup`
// participants of each group are taken. Each entry carries its run-1 time text.
// Returns the number of entries, or -1 when the query found nobody (with the message when
// `showMessage` is set); 0 when `maxPerGroup` leaves nobody. Database errors throw db::Error.
int BuildStartOrderRun2(AppState& state, const QString& mode, int reverseCount,
                        bool appendNonFinishers, int maxPerGroup, const QString& clubDefault,
                        bool showMessage);

// The steps of the two builds that work on a loaded table alone.

// Points correction of a run-1 order, groups keyed by `klasse_nm`. `season` is the season
// text ("2024/2025"); a group opened by a participant born in its first year minus 12 keeps
// its order.
void CorrectStartOrderByPoints(StartOrderTable& table, int topCount, const QString& season);

// Reverses, in each group (consecutive entries with the same `klasse`), the first
// `reverseCount` finishers and those tied with the last of them on the time text.
void ReverseLeadingFinishers(StartOrderTable& table, int reverseCount);

// Whether a run-1 time text belongs to a finisher (not "NiZ  ", "Dis  " or "---  ").
bool IsFinisherTimeText(const QString& zeit);

// The second result line of a run-1 list that printed `listed` of the racers entered in the
// current discipline: how many were left out and why ("3 gemeldete Teilnehmer ohne Klasse
// nicht in der Liste"); empty when nobody was. `bibsNeeded`: the list takes only racers
// with a bib.
QString LeftOutLine(const AppState& state, int listed, bool bibsNeeded);

// The same for a run-2 list built with these choices: the run-1 starters or finishers it
// would take that have no class, or whose class has no group or category of the grouping.
QString LeftOutLineRun2(const AppState& state, const QString& mode, int reverseCount,
                        bool appendNonFinishers);

// Before a run-2 list `output`: names the racers whose run-1 result code is unknown
// (common/resultcodes.h) and whom the last run-2 build left out.
void WarnUnknownRun1Codes(const AppState& state, const QString& output);

}  // namespace kx
