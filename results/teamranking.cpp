#include "results/teamranking.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "results/resultlist.h"

#include <algorithm>
#include <cmath>

namespace kx {

namespace {

std::optional<QString> DivisionOf(const RaceData& data, const Racer& r, const QString& grouping) {
  if (grouping == QLatin1String("keine Unterteilung")) return QString();
  if (grouping == QLatin1String("Klasse")) {
    if (const ClassRow* k = data.classOf(r)) return k->name;
    return std::nullopt;
  }
  if (grouping == QLatin1String("Gruppe")) {
    if (const NamedRow* g = data.groupOf(r)) return g->name;
    return std::nullopt;
  }
  // A racer without a letter is measured against the others without one.
  return r.sex.value_or(QString());
}

struct Candidate {
  const Racer* racer;
  QString division;
  double result;
  qint64 deficit;
};

// A team in the order of the list: its group's sort position, then its id.
struct TeamKey {
  int sortpos;
  int teamId;
  bool operator<(const TeamKey& o) const {
    return sortpos != o.sortpos ? sortpos < o.sortpos : teamId < o.teamId;
  }
};

// Every racer with a valid result of every run, in a team or not; each sets his division's
// best.
std::vector<Candidate> WithResults(const RaceData& data, const TeamRankingSettings& settings,
                                   bool bestRun, int runCount, std::map<QString, qint64>& best) {
  std::vector<Candidate> all;
  all.reserve(data.racers.size());
  for (const Racer& r : data.racers) {
    const std::optional<double> result = FinishedResult(r, bestRun, runCount);
    if (!result) continue;
    const std::optional<QString> division = DivisionOf(data, r, settings.grouping);
    if (!division) continue;
    const qint64 rounded = RoundHalfEven(*result);
    auto [it, inserted] = best.try_emplace(*division, rounded);
    if (!inserted && rounded < it->second) it->second = rounded;
    all.push_back({&r, *division, *result, 0});
  }
  return all;
}

// The members of each team with their deficits to their division's best. A team without
// a group is left out where the file has team groups. Notes which id column the list needs.
std::map<TeamKey, std::vector<Candidate>> TeamsWithMembers(
    std::vector<Candidate>& all, std::map<QString, qint64>& best,
    const std::map<int, TeamRow>& teams, const std::map<int, NamedRow>& teamGroups,
    TeamRankingResult& out) {
  std::map<TeamKey, std::vector<Candidate>> members;
  const bool withGroups = !teamGroups.empty();
  for (Candidate& c : all) {
    if (!c.racer->mannschaft) continue;
    const auto team = teams.find(*c.racer->mannschaft);
    if (team == teams.end()) continue;
    int sortpos = 0;
    if (withGroups) {
      const auto group =
          team->second.gruppe ? teamGroups.find(*team->second.gruppe) : teamGroups.end();
      if (group == teamGroups.end()) continue;
      sortpos = group->second.sortpos.value_or(0);
    }
    c.deficit = RoundHalfEven(c.result - static_cast<double>(best[c.division]));
    if (c.racer->svid) {
      out.anyFederationId = true;
    } else if (c.racer->code && !c.racer->code->isEmpty()) {
      out.anyCode = true;
    }
    members[{sortpos, team->first}].push_back(c);
  }
  return members;
}

// A team's entry with its name and group, no member counted yet.
TeamEntry EmptyEntry(const TeamKey& key, const std::map<int, TeamRow>& teams,
                     const std::map<int, NamedRow>& teamGroups) {
  TeamEntry entry;
  const TeamRow& team = teams.at(key.teamId);
  entry.teamId = key.teamId;
  entry.teamName = team.name;
  if (!teamGroups.empty()) {
    entry.groupId = *team.gruppe;
    const NamedRow& group = teamGroups.at(*team.gruppe);
    entry.groupName = group.name;
    entry.groupSortpos = group.sortpos.value_or(0);
  }
  return entry;
}

// Counts the members, taken by deficit: first the women and men the minimums ask for,
// the others while places are left. Members placed for a minimum are never displaced; a
// newcomer for a minimum takes the place of the member with the largest deficit that was
// placed without one.
void CountMembers(const std::vector<Candidate>& list, const TeamRankingSettings& settings,
                  TeamEntry& entry) {
  const int n = settings.count;
  std::vector<bool> forMinimum;
  for (const Candidate& c : list) {
    const QString sex = c.racer->sex.value_or(QString());
    const bool woman = sex == QLatin1String("W") && entry.womenCounted < settings.minWomen;
    const bool man = sex == QLatin1String("M") && entry.menCounted < settings.minMen;
    const TeamMember member{c.racer->id, c.division, c.deficit, sex};
    if (woman || man) {
      if (static_cast<int>(entry.members.size()) >= n) {
        const auto last = std::find(forMinimum.rbegin(), forMinimum.rend(), false);
        if (last == forMinimum.rend()) continue;
        const auto at = static_cast<std::ptrdiff_t>(forMinimum.rend() - last - 1);
        entry.members.erase(entry.members.begin() + at);
        forMinimum.erase(forMinimum.begin() + at);
      }
      entry.members.push_back(member);
      forMinimum.push_back(true);
      (woman ? entry.womenCounted : entry.menCounted) += 1;
    } else if (static_cast<int>(entry.members.size()) < n) {
      entry.members.push_back(member);
      forMinimum.push_back(false);
    }
  }
}

// A team is ranked with exactly N members and its minimums met; its total is the sum of
// their deficits.
bool Ranked(TeamEntry& entry, const TeamRankingSettings& settings) {
  if (static_cast<int>(entry.members.size()) != settings.count ||
      entry.womenCounted != settings.minWomen || entry.menCounted != settings.minMen)
    return false;
  for (const TeamMember& m : entry.members) entry.total += m.deficit;
  return true;
}

}  // namespace

qint64 RoundHalfEven(double value) {
  // The default rounding mode rounds halves to the even neighbour.
  return static_cast<qint64>(std::nearbyint(value));
}

TeamRankingResult RankTeams(const RaceData& data, const std::map<int, TeamRow>& teams,
                            const std::map<int, NamedRow>& teamGroups,
                            const TeamRankingSettings& settings, bool bestRun, int runCount) {
  TeamRankingResult out;
  if (settings.count < 1) return out;
  std::map<QString, qint64> best;
  std::vector<Candidate> all = WithResults(data, settings, bestRun, runCount, best);
  for (auto& [key, list] : TeamsWithMembers(all, best, teams, teamGroups, out)) {
    // By deficit; equal deficits by result, then id.
    std::sort(list.begin(), list.end(), [](const Candidate& a, const Candidate& b) {
      if (a.deficit != b.deficit) return a.deficit < b.deficit;
      if (a.result != b.result) return a.result < b.result;
      return a.racer->id < b.racer->id;
    });
    TeamEntry entry = EmptyEntry(key, teams, teamGroups);
    CountMembers(list, settings, entry);
    if (Ranked(entry, settings)) out.teams.push_back(std::move(entry));
  }
  // By group id, equal groups by total; teams equal in both keep their order.
  std::stable_sort(out.teams.begin(), out.teams.end(), [](const TeamEntry& a, const TeamEntry& b) {
    return a.groupId != b.groupId ? a.groupId < b.groupId : a.total < b.total;
  });
  return out;
}

void ReadTeams(db::Connection& db, std::map<int, TeamRow>& teams, std::map<int, NamedRow>& groups) {
  const db::Recordset rs = db.query(QStringLiteral("select id,mname,gruppe from tblMannschaft"));
  for (int i = 0; i < rs.count(); ++i) {
    TeamRow row{rs.at(i, 1).toString(), std::nullopt};
    if (!rs.at(i, 2).isNull()) row.gruppe = rs.at(i, 2).toInt();
    teams.emplace(rs.at(i, 0).toInt(), row);
  }
  const db::Recordset gs =
      db.query(QStringLiteral("select id,grpname,sortpos from tblGrpMannschaft"));
  for (int i = 0; i < gs.count(); ++i) {
    NamedRow row{gs.at(i, 1).toString(), std::nullopt};
    if (!gs.at(i, 2).isNull()) row.sortpos = gs.at(i, 2).toInt();
    groups.emplace(gs.at(i, 0).toInt(), row);
  }
}

bool TeamGroupsComplete(const AppState& state) {
  db::Connection& db = state.db();
  if (db.scalar(QStringLiteral("select count(*) as Anzahl from tblGrpMannschaft")).toInt() == 0)
    return true;
  return db.scalar(QStringLiteral("select count(*) as Anzahl from tblMannschaft where gruppe is "
                                  "null"))
             .toInt() == 0;
}

bool CheckTeamRankingSettings(UserInterface& ui, const TeamRankingSettings& settings) {
  if (settings.count < 1 || settings.count > 5) {
    ui.message(
        QStringLiteral("Bitte bei \"zu wertende Teilnehmer\" eine Anzahl von 1 bis 5 "
                       "wählen"));
    return false;
  }
  if (settings.minWomen < 0 || settings.minWomen > 3 || settings.minMen < 0 ||
      settings.minMen > 3) {
    ui.message(
        QStringLiteral("Bitte bei \"Mindestanzahl weiblich\" und \"Mindestanzahl "
                       "männlich\" eine Anzahl von 0 bis 3 wählen"));
    return false;
  }
  if (settings.minWomen + settings.minMen > settings.count) {
    ui.message(
        QStringLiteral("\"Mindestanzahl weiblich\" und \"Mindestanzahl männlich\" "
                       "zusammen dürfen nicht größer sein als \"zu wertende "
                       "Teilnehmer\""));
    return false;
  }
  return true;
}

TeamRankingResult ComputeTeamRanking(const AppState& state, const TeamRankingSettings& settings) {
  if (!TeamGroupsComplete(state)) {
    state.Ui->message(kTeamsWithoutGroup);
    TeamRankingResult refused;
    refused.refused = true;
    return refused;
  }
  db::Connection& db = state.db();
  std::map<int, TeamRow> teams;
  std::map<int, NamedRow> groups;
  ReadTeams(db, teams, groups);
  const RaceData data = ReadRaceData(db, state.CurrentDisciplineType, state.CurrentDisciplineCode);
  return RankTeams(data, teams, groups, settings, BestRunType(state.Settings.typNumber()),
                   DisciplineRuns(db, state.CurrentDisciplineType));
}

}  // namespace kx
