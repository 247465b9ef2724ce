#pragma once

// The writing-board list of run 2: the run-2 start order in the ruled grid of the board
// lists, with the run-1 time of each racer beside the club.

#include "common/resultline.h"

#include <QString>

namespace kx {

struct AppState;

struct BoardListDG2Options {
  QString grouping = QStringLiteral("Kategorie");  // the grouping item's text
  int reverseCount = 30;                           // "Umkehrung der ersten"
  bool appendNonFinishers = false;  // "NiZ/Dis vom 1. Durchgang zusätzlich hinten anfügen"
  bool newPagePerGroup = true;      // "mit Seitenwechsel"
  bool landscape = false;           // "Querformat"
  bool openAfterOutput = true;      // "Tafelliste anzeigen"
};

// Writes the writing-board list of run 2 of the current discipline as a PDF file, in the
// run-2 start order. Returns the panel's result line. A file that cannot be written is
// reported and leaves the panel open.
ResultLine WriteBoardListDG2(AppState& state, const BoardListDG2Options& options);

}  // namespace kx
