#pragma once

// The team result list: the teams of the current discipline as ComputeTeamRanking ranks
// them, team group by team group, each team line followed by its counted members.

#include "common/resultline.h"
#include "results/teamranking.h"

#include <QString>

#include <functional>

namespace kx {

struct AppState;

struct TeamListOptions {
  QString title = QStringLiteral("Mannschaftswertung");  // printed on every page
  TeamRankingSettings ranking;
  bool openAfterOutput = true;
};

// Writes the list as a PDF file and returns the panel's result line. The settings and the
// team groups are checked before the save dialog (a message, nothing written, a blank
// result line). `closePanel` is called when the chosen file cannot be written.
ResultLine WriteTeamList(const AppState& state, const TeamListOptions& options,
                         const std::function<void()>& closePanel = {});

}  // namespace kx
