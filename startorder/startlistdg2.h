#pragma once

#include "common/resultline.h"

#include <QString>

#include <functional>

namespace kx {

struct AppState;
class UserInterface;

struct StartListDG2Options {
  QString grouping = QStringLiteral("keine Unterteilung");  // the grouping item's text
  int reverseCount = 30;            // first finishers of each group started in reverse order
  bool appendNonFinishers = false;  // "NiZ/Dis vom 1. Durchgang zusätzlich hinten anfügen"
  int maxPerGroup = 999;            // racers per group; 999 = all
  bool bibsOnly = false;            // "Nur Startnummern ausgeben": the bib list
  bool openAfterOutput = true;      // "Startliste anzeigen"
};

// Takes the reversal and maximum boxes of the panel into `options`. An empty reversal box
// is set to "0"; an empty maximum box means all. A text that is no whole number in range
// is refused with the box's message; then false, and nothing else happens.
bool ReadStartListDG2Boxes(UserInterface& ui, QString& reverseText, const QString& maxText,
                           StartListDG2Options& options);

// Writes the start list of run 2 of the current discipline as a PDF file: asks for the
// file, builds the run-2 order from the run-1 results and draws it grouped under headings,
// either one row per racer with the run-1 time and lines to write the run-2 time and the
// total on, or (with `bibsOnly`) the bibs of each group side by side. Returns the panel's
// result line. `closePanel` is called when the chosen file cannot be written.
ResultLine WriteStartListDG2(AppState& state, const StartListDG2Options& options,
                             const std::function<void()>& closePanel = {});

}  // namespace kx
