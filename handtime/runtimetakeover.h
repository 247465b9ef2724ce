#pragma once

// The hand-time takeover by run time: the lists of the start and finish hand times to which
// the user gives bibs, the comparison of each bib's hand run time with its electronic run
// time and the replacement run time of the one bib without one, and its takeover into the
// competition file after the calculation protocol. Plain code on the row model; the frame
// only draws it.

#include "handtime/daytimetakeover.h"
#include "handtime/handrowmodel.h"

#include <QString>

#include <functional>

namespace kx {

struct AppState;
struct ProtocolEvent;

// Column positions of the two hand-time lists and of the comparison list.
namespace rtcol {
inline constexpr int kBib = 0, kHand = 1, kId = 2;
}
namespace cmpcol {
inline constexpr int kBib = 0, kElectronic = 1, kHand = 2, kDiff = 3;
}

class RunTimeTakeover {
 public:
  explicit RunTimeTakeover(AppState& state);

  HandRowModel& starts() { return starts_; }
  HandRowModel& finishes() { return finishes_; }
  HandRowModel& comparison() { return comparison_; }
  const HandRowModel& starts() const { return starts_; }
  const HandRowModel& finishes() const { return finishes_; }
  const HandRowModel& comparison() const { return comparison_; }
  bool startAssigned() const { return startAssigned_; }
  bool finishAssigned() const { return finishAssigned_; }
  // Drops the assignments: the next opening or comparison fills the lists without bibs.
  void clearAssignments() { startAssigned_ = finishAssigned_ = false; }
  // Index of the comparison row whose replacement run time was computed; -1 when none.
  int replacementRow() const { return replacementRow_; }
  // The run of the last comparison; the assignments and the takeover work with it.
  int builtRun() const { return builtRun_; }

  // Opening: the lists start without bibs, then the comparison of `run`.
  void Open(int run);
  // "Anzeigen": refreshes both hand-time lists and compares anew.
  void Compare(int run);

  // "St-Nr Zuordnen (F3)" / "(F4)": the bib typed to the selected start / finish hand
  // time. True when it was given (the caller then selects the typed text).
  bool AssignStart(const QString& bibText);
  bool AssignFinish(const QString& bibText);
  // "Zuordnung aufheben" of the start / finish list. True when a bib was taken away.
  bool RemoveStart();
  bool RemoveFinish();

  // "Übernehmen (F2)": protocol, then the run time into tblZeit. True when written (the
  // caller then closes the frame). The protocol replaces an earlier file and is shown only
  // once the run time is stored: a refused write (another program's lock) leaves neither.
  bool Takeover();

  // Shows the hand time of the selected row bold and blue, the others plain.
  static void ColourSelection(HandRowModel& list);

  // Writes the calculation protocol, by default the PDF protocol, and runs `store` (the
  // write of the run time) once the protocol is complete and before it is placed; an error
  // of `store` goes on to the caller. A writer that does not run `store` leaves it to the
  // takeover.
  std::function<ProtocolOutcome(const ProtocolEvent&, const std::function<void()>& store)>
      writeProtocol;

 private:
  void fill(HandRowModel& list, bool start);
  bool assign(HandRowModel& list, bool start, const QString& typed);
  bool remove(HandRowModel& list, bool start);
  int participantOf(int bib);
  void message(const QString& text);
  void storeRunTime();

  AppState& state_;
  HandRowModel starts_;
  HandRowModel finishes_;
  HandRowModel comparison_;
  bool startAssigned_ = false;
  bool finishAssigned_ = false;
  int replacementRow_ = -1;
  int builtRun_ = 1;
};

}  // namespace kx
