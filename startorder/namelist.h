#pragma once

#include "common/resultline.h"

#include <QString>

#include <functional>

namespace kx {

struct AppState;
struct CompetitionSettings;

struct NameListOptions {
  bool openAfterOutput = true;  // "Namensliste anzeigen"
};

// Writes the name list of the current discipline as a PDF file: every entered participant
// in alphabetical order with bib, name, birth year, nation, club and class; without any
// class assignment the class column shows the sex word. Returns the panel's result line.
// `closePanel` is called when the chosen file cannot be written.
ResultLine WriteNameList(const AppState& state, const NameListOptions& options,
                         const std::function<void()>& closePanel = {});

// The sex word of the class column: the women's word for "W" and "D", the men's word for
// every other code (an empty one included), by the letters of the race number.
QString NameListSexWord(const QString& code, const QString& raceNumber);

// Where the name list's columns stand; the optional columns move the ones to their right.
struct NameListColumns {
  bool years = false;
  bool nations = false;
  bool clubs = false;
  QString nationHead;  // "NAT" for the two FIS types, else "VB"
  int clubX = 980;
  int classX = 980;
};
NameListColumns NameListColumnsFor(const CompetitionSettings& settings);

}  // namespace kx
