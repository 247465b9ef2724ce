#pragma once

// The team ranking of the current discipline: every racer with a valid result is measured
// by his deficit to the best result of his division; each team counts its N members with
// the smallest deficits, with minimum numbers of women and men among them; the teams rank
// by the sum of those deficits within their team group. The team result list and the team
// certificates call ComputeTeamRanking and print from what it returns.

#include "results/racedata.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace kx {

namespace db {
class Connection;
}
struct AppState;
class UserInterface;

// The settings of the ranking, as the team panels offer them.
struct TeamRankingSettings {
  // "keine Unterteilung" (one division), "Klasse", "Gruppe"; any other text ("Kategorie")
  // measures each racer against the best of his own category letter.
  QString grouping = QStringLiteral("Klasse");
  int count = 3;     // N, members counted per team (1 to 5)
  int minWomen = 1;  // women among them at least (0 to 3)
  int minMen = 1;    // men among them at least (0 to 3)
};

// A counted member of a ranked team.
struct TeamMember {
  int id = 0;          // participant id
  QString division;    // class name, group name, category letter, or empty
  qint64 deficit = 0;  // hundredths behind the best of his division
  QString sex;
};

// One ranked team.
struct TeamEntry {
  int groupId = 0;  // tblGrpMannschaft id; 0 when the file has no team groups
  QString groupName;
  int groupSortpos = 0;
  int teamId = 0;
  QString teamName;
  int womenCounted = 0;             // members placed for the women's minimum
  int menCounted = 0;               // members placed for the men's minimum
  std::vector<TeamMember> members;  // exactly N, by ascending deficit
  qint64 total = 0;                 // sum of the members' deficits, hundredths
};

// What ComputeTeamRanking returns: the ranked teams in ranking order (team groups by id,
// then total; equal totals keep the order of group sort position and team id), and
// whether some team member with a valid result has a federation id, or a code but none.
struct TeamRankingResult {
  std::vector<TeamEntry> teams;  // the team ranking table; its size is the team count
  bool anyFederationId = false;
  bool anyCode = false;
  bool refused = false;  // the team-group check failed (its message was shown)
};

// The message of the team-group check.
inline const QString kTeamsWithoutGroup =
    QStringLiteral("Bitte im Kandor alle Mannschaften einer Mannschaftsgruppe zuordnen");

// True when the file has no team groups, or every team belongs to one. Shows nothing.
bool TeamGroupsComplete(const AppState& state);

// Checks the settings before an output: the counts within the panels' choices and the two
// minimums together not above N. False after a message naming the fields.
bool CheckTeamRankingSettings(UserInterface& ui, const TeamRankingSettings& settings);

// Ranks the teams of the current discipline (best run for the competition types 6, 7 and
// 12, else the sum of the runs); a racer without a result of every run of the discipline
// (FinishedResult) takes no part. When team groups exist and some team has none, shows
// kTeamsWithoutGroup and returns no team with `refused` set. Reads only.
TeamRankingResult ComputeTeamRanking(const AppState& state, const TeamRankingSettings& settings);

// The ranking on data already read (tests, benchmarks): the racers of the discipline with
// its `runCount` runs, the teams (id to name and team group id) and the team groups (id to
// name and sort position).
struct TeamRow {
  QString name;
  std::optional<int> gruppe;
};
TeamRankingResult RankTeams(const RaceData& data, const std::map<int, TeamRow>& teams,
                            const std::map<int, NamedRow>& teamGroups,
                            const TeamRankingSettings& settings, bool bestRun, int runCount);

// The teams (id to name and team group id) and the team groups (id to name and sort
// position) of the file.
void ReadTeams(db::Connection& db, std::map<int, TeamRow>& teams, std::map<int, NamedRow>& groups);

// Rounds to the nearest whole number, halves to the even neighbour.
qint64 RoundHalfEven(double value);

}  // namespace kx
