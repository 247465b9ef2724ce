#include "results/isflist.h"

#include "common/appstate.h"
#include "common/timetext.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/listframe.h"

#include <algorithm>

namespace kx {

namespace {

// Room of the team line's text, up to the time columns.
constexpr int kTeamTextWidth = 1100;

QString Time(double hundredths) {
  return FormatRunTime(hundredths, RunTimeForm::TwoDigitSeconds);
}

}  // namespace

QString IsfWord(int code) {
  switch (code) {
    case 1:
      return QStringLiteral("NAS");
    case 2:
      return QStringLiteral("NIZ");
    case 3:
      return QStringLiteral("DIS");
    default:
      return QStringLiteral("?");
  }
}

double IsfRanking::replacement(int run, int group) const {
  const std::map<int, double>& slowest = run == 1 ? slowest1 : slowest2;
  const auto it = slowest.find(group);
  return it == slowest.end() ? 0 : 1.5 * it->second;
}

IsfRanking RankIsfTeams(const RaceData& everybody, const std::map<int, TeamRow>& teams,
                        const std::map<int, NamedRow>& teamGroups, bool rankAll) {
  IsfRanking ranking;
  struct Finisher {
    int id;
    double time;
  };
  // Valid times per run and team, teams in the order of their group and id.
  std::map<std::pair<int, int>, std::array<std::vector<Finisher>, 2>> byTeam;  // (sortpos, id)
  for (const Racer& r : everybody.racers) {
    if (!r.mannschaft) continue;
    const auto team = teams.find(*r.mannschaft);
    if (team == teams.end() || !team->second.gruppe) continue;
    const auto group = teamGroups.find(*team->second.gruppe);
    if (group == teamGroups.end()) continue;
    for (const RunRecord& rec : r.runs) {
      if ((rec.run != 1 && rec.run != 2) || rec.code != 0 || !rec.netto) continue;
      byTeam[{group->second.sortpos.value_or(0), team->first}][rec.run - 1].push_back(
          {r.id, *rec.netto});
      double& slowest = (rec.run == 1 ? ranking.slowest1 : ranking.slowest2)[group->first];
      slowest = std::max(slowest, *rec.netto);
    }
  }
  for (auto& [key, runs] : byTeam) {
    const TeamRow& row = teams.at(key.second);
    IsfTeam team;
    team.groupId = *row.gruppe;
    team.groupName = teamGroups.at(team.groupId).name;
    team.groupSortpos = key.first;
    team.teamId = key.second;
    team.teamName = row.name;
    for (int run = 0; run < 2; ++run) {
      std::vector<Finisher>& list = runs[static_cast<size_t>(run)];
      std::stable_sort(list.begin(), list.end(), [](const Finisher& a, const Finisher& b) {
        return a.time != b.time ? a.time < b.time : a.id < b.id;
      });
      std::array<int, 3>& ids = run == 0 ? team.run1 : team.run2;
      for (size_t k = 0; k < 3; ++k) {
        if (k < list.size()) {
          ids[k] = list[k].id;
          team.total += list[k].time;
        } else {
          team.total += ranking.replacement(run + 1, team.groupId);
          if (!rankAll) team.counted = false;
        }
      }
    }
    ranking.teams.push_back(team);
  }
  std::stable_sort(ranking.teams.begin(), ranking.teams.end(),
                   [](const IsfTeam& a, const IsfTeam& b) {
                     if (a.groupSortpos != b.groupSortpos) return a.groupSortpos < b.groupSortpos;
                     if (a.groupId != b.groupId) return a.groupId < b.groupId;
                     return a.total < b.total;
                   });
  return ranking;
}

std::vector<IsfMember> IsfMembers(const RaceData& everybody, const IsfRanking& ranking,
                                  const IsfTeam& team) {
  std::vector<IsfMember> members;
  for (const Racer& r : everybody.racers) {
    if (r.mannschaft != team.teamId) continue;
    const RunRecord* first = r.record(1);
    if (!first) continue;
    IsfMember m;
    m.racer = &r;
    m.code1 = first->code;
    if (first->code == 0 && first->netto) {
      m.run1 = Time(*first->netto);
      m.value = *first->netto;
    } else {
      m.run1 = first->code == 0 ? QString() : IsfWord(first->code);
      if (first->code == 1) m.run2 = m.run1;
      m.value = ranking.replacement(1, team.groupId);
    }
    for (const RunRecord& rec : r.runs) {
      if (rec.run == 1) continue;
      m.code2 = rec.code;
      if (rec.code == 0 && rec.netto) {
        m.run2 = Time(*rec.netto);
        m.value += *rec.netto;
      } else {
        m.run2 = IsfWord(rec.code);
        m.value += ranking.replacement(2, team.groupId);
      }
    }
    members.push_back(m);
  }
  std::stable_sort(members.begin(), members.end(),
                   [](const IsfMember& a, const IsfMember& b) { return a.value < b.value; });
  return members;
}

ResultLine WriteIsfList(const AppState& state, const IsfListOptions& options,
                        const std::function<void()>& closePanel) {
  UserInterface& ui = *state.Ui;
  db::Connection& db = state.db();
  if (db.scalar(QStringLiteral("select count(*) as Anzahl from tblMannschaft where gruppe is "
                               "null"))
          .toInt() > 0) {
    ui.message(kTeamsWithoutGroup);
    return ResultLine{};
  }
  // The title names the discipline by its list title, the parallel slalom of type 8 too.
  PdfListFrame frame(state,
                     {QStringLiteral("ISFErgebnisliste"), QStringLiteral("-ISFErgebnisliste-"),
                      QStringLiteral("ISFErgebnisliste "), TitleDiscipline::ListTitle});
  frame.onProbeFailed = closePanel;
  if (!frame.OpenDoc(options.openAfterOutput)) return frame.result();
  frame.ReadListEvent();
  frame.ReadListHeadTexts();

  std::map<int, TeamRow> teams;
  std::map<int, NamedRow> groups;
  ReadTeams(db, teams, groups);
  const RaceData everybody =
      ReadRaceData(db, state.CurrentDisciplineType, state.CurrentDisciplineCode, false);
  const IsfRanking ranking = RankIsfTeams(everybody, teams, groups, options.rankAll);

  const CompetitionSettings& s = state.Settings;
  const bool years = CompetitionSettings::on(s.jahrgang_aktiv);
  const bool nations = CompetitionSettings::on(s.nation_aktiv);
  const bool clubs = CompetitionSettings::on(s.verein_aktiv);
  bool anyFederationId = false;
  bool anyCode = false;
  pdf::PdfPen& pen = frame.pen();
  int page = 0;
  int y = 3000;
  std::optional<int> lastGroup;
  int marker = -1;
  int rank = 0;
  double leader = 0;
  auto startPage = [&] {
    std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Rang"), 235, 100),
                                  HeadRightAt(QStringLiteral("Stnr"), 365)};
    if (anyFederationId) {
      heads.push_back(HeadRightAt(QStringLiteral("KSF-ID"), 545));
    } else if (anyCode) {
      heads.push_back(HeadRightAt(QStringLiteral("Code"), 545));
    }
    heads.push_back(
        HeadAt(clubs ? QStringLiteral("Teilnehmer + Verein") : QStringLiteral("Teilnehmer"), 560));
    if (years) heads.push_back(HeadRightAt(QStringLiteral("JG"), 1175));
    if (nations) heads.push_back(HeadAt(QStringLiteral("VB"), 1220));
    heads.push_back(HeadRightAt(QStringLiteral("Zeit-1"), 1500));
    heads.push_back(HeadRightAt(QStringLiteral("Zeit-2"), 1670));
    heads.push_back(HeadRightAt(QStringLiteral("Total"), 1840));
    heads.push_back(HeadRightAt(QStringLiteral("Diff"), 2005));
    y = frame.StartListPage(++page, QStringLiteral("ERGEBNISLISTE MANNSCHAFTSWERTUNG"), heads,
                            state.CreditLine);
  };

  for (const IsfTeam& team : ranking.teams) {
    if (!team.counted) continue;
    const std::vector<IsfMember> members = IsfMembers(everybody, ranking, team);
    for (const IsfMember& m : members) {
      if (m.racer->svid) {
        anyFederationId = true;
      } else if (m.racer->code) {
        anyCode = true;
      }
    }
    for (const IsfMember& m : members) {
      const Racer& r = *m.racer;
      if (!lastGroup || *lastGroup != team.groupId) {
        marker = -1;
        rank = 0;
        leader = team.total;
        y = 3000;
        lastGroup = team.groupId;
      }
      if (y > frame.limit(2570) || (marker != team.teamId && y > frame.limit(2420))) {
        if (marker != team.teamId) marker = -1;
        startPage();
      }
      if (marker != team.teamId) {
        if (marker != -1) y += 30;
        ++rank;
        pen.setSize(10);
        pen.setBold(true);
        pen.rightAt(235, y, QString::number(rank) + QLatin1Char('.'), 100);
        const QString text =
            pen.cut(team.groupName + QStringLiteral(" / ") + team.teamName, kTeamTextWidth);
        pen.textOut(560, y, text);
        pen.setLineWidth(3);
        pen.line(560, y + 38, 560 + pen.textWidth(text), y + 38);
        pen.setSize(9);
        pen.rightAt(1845, y, Time(team.total));
        // Equal totals print alike: no Diff for the leader or anyone level with him.
        const double diff = team.total - leader;
        if (std::llround(diff) != 0) {
          pen.setBold(false);
          pen.rightAt(2005, y, Time(diff));
        }
        marker = team.teamId;
        y += 53;
      }
      pen.setBold(false);
      pen.setSize(9);
      pen.rightAt(365, y, r.bibText());
      pen.rightAt(545, y, r.idText());
      const QString name = r.fullName();
      const int drop = pen.fit(name, 9, 570);
      // Each point smaller lowers the name by 2: the size it was fitted to.
      const int nameSize = 9 - drop / 2;
      pen.textOut(560, y + drop, pen.cut(name, 570));
      if (years) pen.rightAt(1175, y, r.shortYear());
      if (nations && r.nation) pen.textOut(1220, y, *r.nation);
      // A run's time, bold when it counts for the team; below a racer without a valid time,
      // the replacement time his team got for him.
      auto runTime = [&](int right, int run, int size, const QString& text, int code,
                         const auto& counted) {
        pen.setSize(size);
        pen.setBold(std::find(counted.begin(), counted.end(), r.id) != counted.end());
        pen.rightAt(right, y, text);
        if (code > 0 && options.rankAll) {
          pen.setBold(false);
          pen.setSize(7);
          pen.rightAt(
              right, y + 32,
              QLatin1Char('(') + Time(ranking.replacement(run, team.groupId)) + QLatin1Char(')'));
        }
      };
      // Run 1 still at the name's size, run 2 at the row's.
      runTime(1500, 1, nameSize, m.run1, m.code1, team.run1);
      runTime(1670, 2, 9, m.run2, m.code2, team.run2);
      pen.setBold(false);
      pen.setSize(9);
      if (clubs) {
        y += 40;
        pen.setSize(8);
        pen.textOut(560, y + drop, pen.cut(r.verein.value_or(QString()), 570));
        pen.setSize(9);
      }
      y += 43;
    }
  }
  if (page == 0) startPage();  // no team counted: one page with its head
  frame.FinishDoc(page, true);
  return frame.result();
}

}  // namespace kx
