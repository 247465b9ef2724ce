#pragma once

// What the referee report takes from the competition file when its window opens: officials
// and course data from the list headers, event data from the discipline row, the first
// start and the times derived from it, the participant counts and the two best times.

#include "refereereport/reportfields.h"

namespace kx::db {
class Connection;
}

namespace kx {

// The discipline the report belongs to.
struct ReportDiscipline {
  int type = 0;      // dtyp
  QString code;      // "gs"
  int runCount = 1;  // runs of the discipline; the last run is this one
};

// Fills the fields that come from the file; every other field keeps its value. Missing rows
// and Null values leave their fields as they were. Reads only.
void PrefillRefereeReport(db::Connection& db, const ReportDiscipline& discipline,
                          ReportValues& values);

}  // namespace kx
