#pragma once

#include "common/resultline.h"

#include <QString>

#include <vector>

namespace kx {

struct AppState;

struct DepositListOptions {
  bool openAfterOutput = true;  // "Kautionsliste anzeigen"
};

// One line of the deposit list: a nation or club and the bibs of its entered participants.
struct DepositGroup {
  QString name;  // as printed: "ohne Nation" / "ohne Verein", clubs recapitalised
  QString bibs;  // every bib followed by two blanks, ascending
};

// The groups of the current discipline: by nation for the two FIS types, by club for all
// others; the participants without nation or club first. Empty when nobody is entered.
std::vector<DepositGroup> ReadDepositGroups(const AppState& state);

// Writes the deposit list of the current discipline as a PDF file: one line per nation or
// club with an empty box for the deposit and the bibs. Returns the panel's result line.
ResultLine WriteDepositList(const AppState& state, const DepositListOptions& options);

}  // namespace kx
