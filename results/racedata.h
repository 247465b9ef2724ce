#pragma once

// The entered participants of one discipline with their run records, and the classes,
// groups and categories they belong to, read from the competition file in a few queries.
// The result-side lists select, group and rank from this in memory.

#include <QString>

#include <map>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kx::db {
class Connection;
}

namespace kx {

// One row of tblZeit. Times in hundredths of a second as stored (not rounded).
struct RunRecord {
  int run = 0;
  int code = 0;                 // ergcode: 0 valid, 1 NaS, 2 NiZ, 3 Dis, -1 unknown
  std::optional<double> netto;  // run time; nothing where the stored value is no run time
  std::optional<double> start;  // time of day of the start; nothing where it is no time of day
  std::optional<double> split;  // time of day at the intermediate point (zwischen1), likewise
  std::optional<QString> disqualtext;
};

struct Racer {
  int id = 0;
  std::optional<int> bib;  // startnr<code>
  QString nachname, vorname;
  std::optional<QString> sex, verein, nation, code;
  std::optional<int> jahrgang;
  std::optional<qint64> svid;  // Null in files without the column
  std::optional<int> klasse, mannschaft;
  std::vector<RunRecord> runs;  // in run order

  const RunRecord* record(int run) const;
  // Federation id, else the code, else empty.
  QString idText() const;
  // "nachname vorname".
  QString fullName() const { return nachname + QLatin1Char(' ') + vorname; }
  // The two-digit year ("12" for 2012), empty without a year.
  QString shortYear() const;
  QString bibText() const { return bib ? QString::number(*bib) : QString(); }
};

struct ClassRow {
  QString name;
  std::optional<QString> geschlecht;
  std::optional<int> gruppe;
  std::optional<int> sortpos;
};
struct NamedRow {
  QString name;
  std::optional<int> sortpos;
};

struct RaceData {
  std::vector<Racer> racers;  // by id
  std::unordered_map<int, ClassRow> classes;
  std::unordered_map<int, NamedRow> groups;
  std::map<QString, NamedRow> categories;  // by kat letter

  const ClassRow* classOf(const Racer& r) const;
  const NamedRow* groupOf(const Racer& r) const;
  // True when at least one racer's class exists in tblKlasse.
  bool anyClass() const;
};

// A racer's result in hundredths as stored, over runs 1 to `runCount`: his fastest valid run
// (`bestRun`), or else the sum of those runs when every one is valid with a time. Nothing
// without such a result.
std::optional<double> CombinedResult(const Racer& r, bool bestRun, int runCount);

// The completeness rule of the result list: whether `r` has a result for the list of run
// `run` (with `totalList` the total list up to that run; `sum` when the total adds the runs).
// A failure is a result, and a failed run needs no later one; a valid record without a time
// is missing. In the sum every run up to `run` is needed; otherwise the list's run, and on
// the total list every record up to it must stand for a result.
bool HasResult(const Racer& r, int run, bool totalList, bool sum);

// CombinedResult of a racer who has a result of every run of the discipline (`runCount`
// runs) by the result list's rule; nothing while one is missing (a racer without his
// second run during the race).
std::optional<double> FinishedResult(const Racer& r, bool bestRun, int runCount);

// The runs of discipline `dtyp` (durchgaenge of its event row); 1 without a row.
int DisciplineRuns(db::Connection& db, int dtyp);
// The same as a condition on a tblZeit row `z`: a record of a run beyond them (left over from
// an earlier setting) counts in no total.
inline constexpr const char* kWithinDisciplineRuns =
    "z.durchgang <= max(1, coalesce((select durchgaenge from tblDisziplin where "
    "dtyp = z.disziplin), 1))";
// The ids of the racers of discipline `dtyp` (as ReadRaceData reads them) who have a
// FinishedResult of all its runs: those whose total may be ranked.
std::unordered_set<int> FinishedRacers(db::Connection& db, int dtyp, const QString& code,
                                       bool bestRun, bool enteredOnly = true);

// Reads the racers of discipline `dtyp` (code `code`): with `enteredOnly` those whose
// entry flag is set, else every participant; each with his records of that discipline.
RaceData ReadRaceData(db::Connection& db, int dtyp, const QString& code, bool enteredOnly = true);

}  // namespace kx
