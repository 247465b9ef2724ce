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

}  // namespace

qint64 RoundHalfEven(double value) {
  // The default rounding mode rounds halves to the even neighbour.
  return static_cast<qint64>(std::nearbyint(value));
}

TeamRankingResult RankTeams(const RaceData& data, const std::map<int, TeamRow>& teams,
                            const std::map<int, NamedRow>& teamGroups,
                            const TeamRankingSettings& settings, bool bestRun) {
  TeamRankingResult out;
  const int n = settings.count;
  if (n < 1) return out;

  // Every racer with a valid result, in a team or not, sets his division's best.
  std::vector<Candidate> all;
  all.reserve(data.racers.size());
  std::map<QString, qint64> best;
  for (const Racer& r : data.racers) {
    const std::optional<double> result = CombinedResult(r, bestRun);
    if (!result) continue;
    const std::optional<QString> division = DivisionOf(data, r, settings.grouping);
    if (!division) continue;
    const qint64 rounded = RoundHalfEven(*result);
    auto [it, inserted] = best.try_emplace(*division, rounded);
    if (!inserted && rounded < it->second) it->second = rounded;
    all.push_back({&r, *division, *result, 0});
  }

  // The members of each team, teams in the order of their group's sort position and id.
  struct TeamKey {
    int sortpos;
    int teamId;
    bool operator<(const TeamKey& o) const {
      return sortpos != o.sortpos ? sortpos < o.sortpos : teamId < o.teamId;
    }
  };
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

  for (auto& [key, list] : members) {
    // By deficit; equal deficits by result, then id.
    std::sort(list.begin(), list.end(), [](const Candidate& a, const Candidate& b) {
      if (a.deficit != b.deficit) return a.deficit < b.deficit;
      if (a.result != b.result) return a.result < b.result;
      return a.racer->id < b.racer->id;
    });
    TeamEntry entry;
    const TeamRow& team = teams.at(key.teamId);
    entry.teamId = key.teamId;
    entry.teamName = team.name;
    if (withGroups) {
      entry.groupId = *team.gruppe;
      const NamedRow& group = teamGroups.at(*team.gruppe);
      entry.groupName = group.name;
      entry.groupSortpos = group.sortpos.value_or(0);
    }
    // Members placed for a minimum are never displaced; a newcomer for a minimum takes the
    // place of the member with the largest deficit that was placed without one.
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
    if (static_cast<int>(entry.members.size()) != n || entry.womenCounted != settings.minWomen ||
        entry.menCounted != settings.minMen)
      continue;
    for (const TeamMember& m : entry.members) entry.total += m.deficit;
    out.teams.push_back(std::move(entry));
  }

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
  return RankTeams(data, teams, groups, settings, BestRunType(state.Settings.typNumber()));
}

}  // namespace kx
