#pragma once

// The hand-time takeover by time of day: the comparison list of the electronic start or
// finish times of one run beside the loaded hand times, the assignment of a bib to an
// unpaired hand time (pairing, or a replacement time from the mean difference of up to
// ten neighbouring pairs), the undo of an assignment and the takeover of the replacement
// times into the competition file. Plain code on the row model; the frame only draws it.

#include "handtime/handrowmodel.h"

#include <QString>

#include <functional>

namespace kx {

struct AppState;

// Which times are compared: electronic start times against the start hand times, or
// finish times against the finish hand times.
enum class HandMode { Start = 0, Ziel = 1 };

// Column positions of the comparison list.
namespace dtcol {
inline constexpr int kBib = 0, kStart = 1, kZiel = 2, kRun = 3, kHand = 4, kDiff = 5, kSort = 6,
                     kId = 7;
}

// What the calculation protocol of one replacement time needs; rows are list indices.
struct DayTimeProtocolRequest {
  HandMode mode = HandMode::Ziel;
  QString bib;
  int bibRow = 0;
  int firstUsedRow = 0;
  int lastUsedRow = 0;
};

enum class ProtocolOutcome { Written, Cancelled, NotWritable };

class DayTimeTakeover {
 public:
  explicit DayTimeTakeover(AppState& state);

  HandRowModel& list() { return list_; }
  const HandRowModel& list() const { return list_; }
  int rows() const { return list_.count(); }
  int lastKey() const { return lastKey_; }
  bool assignmentsMade() const { return assignmentsMade_; }
  void clearAssignmentsMade() { assignmentsMade_ = false; }
  // True when the list holds replacement times that the takeover would write: computed
  // since the build, neither undone nor taken over.
  bool holdsReplacements() const;
  // The mode and run the list was built for; every later step works with them.
  HandMode builtMode() const { return builtMode_; }
  int builtRun() const { return builtRun_; }

  // Builds the list anew ("Anzeigen"). After assignments the user is asked first; false
  // when he kept the list.
  bool Build(HandMode mode, int run);

  // "St-Nr Zuordnen": gives the selected hand-time row to the bib typed.
  void AssignBib(const QString& bibText);

  // "Zuordnung aufheben": gives the hand time of the selected computed row a row of its
  // own again.
  void Undo();

  // "Übernehmen": writes every marked time into tblZeit in one transaction and builds the
  // list again. False when nothing was written.
  bool Takeover();

  // Writes the calculation protocol of a replacement time; by default the PDF protocol.
  std::function<ProtocolOutcome(const DayTimeProtocolRequest&)> writeProtocol;

 private:
  void addHandRow(int k, const QString& handText);
  // Gives the bib `n` in `bibRow` a replacement time from the hand time and the mean of the
  // neighbouring differences, and writes its protocol. False when refused: the reason is
  // said and the list put back, except that without neighbours the bib's row stays at the
  // hand time's place.
  bool assignReplacement(const QString& n, int bibRow, const QString& handText);
  int modeColumn() const { return builtMode_ == HandMode::Start ? dtcol::kStart : dtcol::kZiel; }
  void message(const QString& text);

  AppState& state_;
  HandRowModel list_;
  int lastKey_ = 0;
  bool assignmentsMade_ = false;
  HandMode builtMode_ = HandMode::Ziel;
  int builtRun_ = 1;
};

// The columns of the comparison list.
std::vector<HandColumn> DayTimeColumns();

}  // namespace kx
