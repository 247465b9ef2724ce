#pragma once

// The two calculation protocols of the hand-time takeover, one PDF page each (more for a
// long run-time list): by time of day the rows whose differences entered the mean with the
// racer's row and its computed values in bold; by run time every compared bib with its hand
// times and the replacement run time in bold.

#include "handtime/daytimetakeover.h"

#include <QString>

#include <functional>

namespace kx {

struct AppState;
class HandRowModel;
class RunTimeTakeover;

// The current discipline's event row: the first line of its name and the result-list date.
struct ProtocolEvent {
  bool found = false;
  QString name;
  QString date;
};

// Reads the event row; without one shows "Keine Daten gefunden!" and returns found false.
ProtocolEvent ReadProtocolEvent(const AppState& state);

// The file names proposed for the protocols.
QString DayTimeProtocolFileName(const AppState& state, HandMode mode, const QString& bib);
QString RunTimeProtocolFileName(const AppState& state, const QString& bib);

// Asks for the file and writes the protocol of one replacement time by time of day. A file
// that cannot be written, and an abandoned PDF output, report NotWritable.
ProtocolOutcome WriteDayTimeProtocol(const AppState& state, const HandRowModel& list,
                                     const DayTimeProtocolRequest& request);

// The same for the replacement run time of the comparison; `store` runs once the protocol
// is complete and before it replaces an earlier file (its error goes on to the caller, and
// the protocol is then dropped).
ProtocolOutcome WriteRunTimeProtocol(const AppState& state, const RunTimeTakeover& takeover,
                                     const ProtocolEvent& event,
                                     const std::function<void()>& store = {});

}  // namespace kx
