#pragma once

// The school-federation team result list: the teams ranked by the three fastest valid
// times of their members in run 1 and in run 2, team group by team group; a missing
// finisher counts 1.5 times the slowest valid time of that run in the team group.

#include "common/resultline.h"
#include "results/racedata.h"
#include "results/teamranking.h"

#include <QString>

#include <array>
#include <map>
#include <vector>

namespace kx {

struct AppState;

struct IsfTeam {
  int groupId = 0;
  QString groupName;
  int groupSortpos = 0;
  int teamId = 0;
  QString teamName;
  std::array<int, 3> run1{};  // participant ids of the three fastest; 0 = empty
  std::array<int, 3> run2{};
  double total = 0;  // hundredths as stored, replacements included
  bool counted = true;
};

struct IsfMember {
  const Racer* racer = nullptr;
  QString run1, run2;  // time text or "NAS", "NIZ", "DIS", "?"
  int code1 = 0, code2 = 0;
  double value = 0;  // run 1 plus run 2, replacements included; orders the members
};

struct IsfRanking {
  std::vector<IsfTeam> teams;                    // by group sort position, group id, total
  std::map<int, double> slowest1, slowest2;      // by team group: slowest valid time of the run
  double replacement(int run, int group) const;  // 1.5 × that time
};

// Ranks the teams. `rankAll`: a team with fewer than three finishers in a run is ranked
// with the replacements all the same ("alle Mannschaften kommen in die Wertung").
IsfRanking RankIsfTeams(const RaceData& everybody, const std::map<int, TeamRow>& teams,
                        const std::map<int, NamedRow>& teamGroups, bool rankAll);

// The members of a team with a run-1 record, by ascending value.
std::vector<IsfMember> IsfMembers(const RaceData& everybody, const IsfRanking& ranking,
                                  const IsfTeam& team);

// The result words of this list.
QString IsfWord(int code);

struct IsfListOptions {
  bool rankAll = false;  // ISFallewerten
  bool openAfterOutput = true;
};

// Writes the list as a PDF file and returns the panel's result line. A team without a
// team group stops it before the save dialog. `closePanel` is called when the chosen file
// cannot be written.
ResultLine WriteIsfList(const AppState& state, const IsfListOptions& options,
                        const std::function<void()>& closePanel = {});

}  // namespace kx
