#pragma once

// Drawing the finalists of a competition from other competition files. The candidates of
// each added file (every recorded run of the current discipline valid, with the total of
// their run times) are collected in the work table XtblFinale of the open file; the save
// keeps the fastest women and men up to the numbers asked for (ties at the cut-off stay)
// and enters them as participants of the current discipline.

#include "common/resultcodes.h"

#include <QString>

namespace kx::db {
class Connection;
}

namespace kx {

// The discipline the finalists are drawn for.
struct FinalsDiscipline {
  int type = 0;  // dtyp, the `disziplin` of tblZeit
  QString code;  // column code, "gs"
};

// Creates the empty work table; one left behind by an earlier use is dropped first. Another
// object of that name (a view) fails as a damaged file.
void CreateFinalsTable(db::Connection& db);
// Drops the work table when there is one.
void DropFinalsTable(db::Connection& db);

struct FinalsAddResult {
  int added = 0;    // candidates taken from the file; 0 with `message` empty never happens
  QString message;  // the refusal or "no candidates" message; empty when the file was taken
  std::vector<UnknownCode> unknownCodes;  // its racers left out for an unknown result code
};

// Adds the candidates of the competition file at `path`, all or none. With `keepBibs`
// each keeps his bib; otherwise they are numbered on from the highest bib in the table,
// fastest first. A refusal (bib or code already in the table, a candidate without bib,
// year, sex or name, a file that is no competition file) leaves the table as it was.
FinalsAddResult AddFinalsFile(db::Connection& db, const QString& path,
                              const FinalsDiscipline& discipline, bool keepBibs);

struct FinalsSaveResult {
  int inserted = 0;
  QString message;  // why nothing was saved; empty when the finalists were inserted
};

// Cuts the table to the `women` fastest women and the `men` fastest men (everyone tied with
// the last one kept stays) and inserts them as participants, women first and slowest first,
// ids from 1 and, without `keepBibs`, bibs alike. `withSvid`: the open file carries
// federation ids, which two participants cannot share: a finalist drawn twice under the
// same id (from two files without codes) refuses the save. One transaction: a refusal or a
// db::Error leaves the table and the participants as they were.
FinalsSaveResult SaveFinalists(db::Connection& db, double women, double men, bool keepBibs,
                               const FinalsDiscipline& discipline, bool withSvid);

}  // namespace kx
