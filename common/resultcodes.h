#pragma once

// Result codes that are none of 0 (valid), 1 (did not start), 2 (did not finish) and
// 3 (disqualified): the lists, rankings and exports have no place for such a record and
// leave it out; before an output is written they name the racers so left out, in one
// message found and worded here for all of them.

#include <QString>

#include <array>
#include <vector>

namespace kx {

namespace db {
class Connection;
class Field;
}  // namespace db
struct AppState;

// A stored result code: 0 to 3 as stored, Null as 0. Any other value (99, 2.5, a text) is an
// unknown code and reads as -1, so that a text or a fraction never counts as a valid run or
// as another code.
int StoredResultCode(const db::Field& code);

// A run record whose stored result code is not a whole number from 0 to 3 (99, -1, 3.5, a
// text). A record without a code (Null) is not one.
struct UnknownCode {
  int id = 0;          // participant
  QString bib;         // empty without one
  QString name;        // "nachname vorname"
  int discipline = 0;  // dtyp
  int run = 0;
  QString code;  // as stored
};

// The records of discipline `dtyp` (participant columns `<code>`) with an unknown result
// code, of run `run` or of every run (0), of the participants entered in it or, without
// `enteredOnly`, of everybody; by bib, name and run. Where only the best run counts
// (`bestRun`), a racer with a valid run time is not left out and not found.
std::vector<UnknownCode> FindUnknownCodes(db::Connection& db, int dtyp, const QString& code,
                                          int run = 0, bool enteredOnly = true,
                                          bool bestRun = false);

// Names the racers of `found` in one message (at most ten lines, then how many more) saying
// that output `output` leaves them out; nothing when `found` is empty.
void ShowUnknownCodes(const AppState& state, const std::vector<UnknownCode>& found,
                      const QString& output);

// The same for the current discipline's entered racers (run `run`, or every run: 0), or for
// the disciplines ticked in `disciplines` (by number, every run).
void WarnUnknownCodes(const AppState& state, const QString& output, int run = 0,
                      bool bestRun = false);
void WarnUnknownCodes(const AppState& state, const QString& output,
                      const std::array<bool, 6>& disciplines, bool enteredOnly);

}  // namespace kx
