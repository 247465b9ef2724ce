#pragma once

// The participant import: checks the column assignment, reads every record of the import
// file and writes participants, categories, classes, teams and run times into the
// competition file, all in one transaction.

#include "import/columnassignment.h"

#include <QString>

#include <optional>

namespace kx {

struct AppState;

// How a save of an import ended. `Stopped`: a check failed before anything was written;
// `Aborted`: a record could not be written and everything was rolled back; `Done`: the
// import was written. `message` is the text to show.
struct ImportResult {
  enum class Kind { Stopped, Aborted, Done };
  Kind kind = Kind::Stopped;
  QString message;
};

// A run-time text read: result code 0 with the run time in hundredths, or the codes 1
// (did not start), 2 (did not finish), 3 (disqualified) without a time.
struct RunTimeValue {
  int ergcode = 0;
  std::optional<qint64> hundredths;
};

// Reads "h:m:s,hh", "m:s,hh", "s,hh" (decimal comma or point; missing hundredths count
// as 0, further decimals are cut), "m:s" and "s" (whole seconds), or a result word
// ("nas"/"dns", "niz"/"dnf", "dis"/"dsq" anywhere in the text, any case). Nothing for any
// other text, blanks only included.
std::optional<RunTimeValue> ParseRunTime(const QString& text);

// The save of the participant import: the file at `path` read again with `separator`,
// `rows` as assigned in the panel (their column positions are set here). Reads and writes
// the competition file of `state`; the master data `STAMMDAT.mdb` in `state.ProgramDir`
// for the federation types.
ImportResult ImportParticipants(AppState& state, const QString& path, QChar separator,
                                TargetRows& rows);

}  // namespace kx
