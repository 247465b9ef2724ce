#pragma once

#include "common/resultline.h"

#include <QString>

#include <functional>

namespace kx {

struct AppState;

struct StartListOptions {
  QString grouping = QStringLiteral("keine Unterteilung");  // the grouping item's text
  bool descending = false;                                  // "Start-Nummern absteigend"
  bool openAfterOutput = true;                              // "Startliste anzeigen"
};

// Writes the start list of run 1 of the current discipline as a PDF file: asks for the
// file, builds the run-1 order and draws it grouped under headings, with the bibs that the
// points rule moved or that follow a gap marked. Returns the panel's result line.
// `closePanel` is called when the chosen file cannot be written.
ResultLine WriteStartList(AppState& state, const StartListOptions& options,
                          const std::function<void()>& closePanel = {});

// The points of a start list: "---   " for no points (9999.99), else two decimals.
QString StartListPoints(double points);

// The club placeholder of the start lists: a line of 50 full stops to write on.
inline const QString kClubLine = QString(50, QLatin1Char('.'));

}  // namespace kx
