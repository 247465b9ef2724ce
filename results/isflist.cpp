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

namespace {

// The pages of the list on the frame's document: team group by team group, each counted
// team's line with its rank, total and gap, then its members with their runs.
class IsfPages {
 public:
  IsfPages(const AppState& state, PdfListFrame& frame, const RaceData& everybody,
           const IsfRanking& ranking, bool rankAll)
      : state_(state),
        frame_(frame),
        pen_(frame.pen()),
        everybody_(everybody),
        ranking_(ranking),
        rankAll_(rankAll),
        years_(CompetitionSettings::on(state.Settings.jahrgang_aktiv)),
        nations_(CompetitionSettings::on(state.Settings.nation_aktiv)),
        clubs_(CompetitionSettings::on(state.Settings.verein_aktiv)) {}

  // Draws every counted team; returns the number of pages (0: no team to list).
  int draw() {
    for (const IsfTeam& team : ranking_.teams) {
      if (!team.counted) continue;
      const std::vector<IsfMember> members = IsfMembers(everybody_, ranking_, team);
      noteIdColumn(members);
      for (const IsfMember& m : members) {
        if (!lastGroup_ || *lastGroup_ != team.groupId) groupStart(team);
        if (y_ > frame_.limit(2570) || (marker_ != team.teamId && y_ > frame_.limit(2420))) {
          if (marker_ != team.teamId) marker_ = -1;
          startPage();
        }
        if (marker_ != team.teamId) teamLine(team);
        memberRow(team, m);
      }
    }
    return page_;
  }

 private:
  // The id column shows federation ids once a member drawn so far has one, else codes.
  void noteIdColumn(const std::vector<IsfMember>& members) {
    for (const IsfMember& m : members) {
      if (m.racer->svid) {
        anyFederationId_ = true;
      } else if (m.racer->code) {
        anyCode_ = true;
      }
    }
  }

  // A team group begins on a page of its own, ranked from 1 and measured to its leader.
  void groupStart(const IsfTeam& team) {
    marker_ = -1;
    rank_ = 0;
    leader_ = team.total;
    y_ = 3000;
    lastGroup_ = team.groupId;
  }

  std::vector<ColumnHead> heads() const {
    std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Rang"), 235, 100),
                                  HeadRightAt(QStringLiteral("Stnr"), 365)};
    if (anyFederationId_) {
      heads.push_back(HeadRightAt(QStringLiteral("KSF-ID"), 545));
    } else if (anyCode_) {
      heads.push_back(HeadRightAt(QStringLiteral("Code"), 545));
    }
    heads.push_back(
        HeadAt(clubs_ ? QStringLiteral("Teilnehmer + Verein") : QStringLiteral("Teilnehmer"), 560));
    if (years_) heads.push_back(HeadRightAt(QStringLiteral("JG"), 1175));
    if (nations_) heads.push_back(HeadAt(QStringLiteral("VB"), 1220));
    heads.push_back(HeadRightAt(QStringLiteral("Zeit-1"), 1500));
    heads.push_back(HeadRightAt(QStringLiteral("Zeit-2"), 1670));
    heads.push_back(HeadRightAt(QStringLiteral("Total"), 1840));
    heads.push_back(HeadRightAt(QStringLiteral("Diff"), 2005));
    return heads;
  }

  void startPage() {
    y_ = frame_.StartListPage(++page_, QStringLiteral("ERGEBNISLISTE MANNSCHAFTSWERTUNG"), heads(),
                              state_.CreditLine);
  }

  // The team's rank, group and name underlined, its total and its gap to the leader.
  void teamLine(const IsfTeam& team) {
    if (marker_ != -1) y_ += 30;
    ++rank_;
    pen_.setSize(10);
    pen_.setBold(true);
    pen_.rightAt(235, y_, QString::number(rank_) + QLatin1Char('.'), 100);
    const QString text =
        pen_.cut(team.groupName + QStringLiteral(" / ") + team.teamName, kTeamTextWidth);
    pen_.textOut(560, y_, text);
    pen_.setLineWidth(3);
    pen_.line(560, y_ + 38, 560 + pen_.textWidth(text), y_ + 38);
    pen_.setSize(9);
    pen_.rightAt(1845, y_, Time(team.total));
    // Equal totals print alike: no Diff for the leader or anyone level with him.
    const double diff = team.total - leader_;
    if (std::llround(diff) != 0) {
      pen_.setBold(false);
      pen_.rightAt(2005, y_, Time(diff));
    }
    marker_ = team.teamId;
    y_ += 53;
  }

  void memberRow(const IsfTeam& team, const IsfMember& m) {
    const Racer& r = *m.racer;
    pen_.setBold(false);
    pen_.setSize(9);
    pen_.rightAt(365, y_, r.bibText());
    pen_.rightAt(545, y_, r.idText());
    const QString name = r.fullName();
    const int drop = pen_.fit(name, 9, 570);
    // Each point smaller lowers the name by 2: the size it was fitted to.
    const int nameSize = 9 - drop / 2;
    pen_.textOut(560, y_ + drop, pen_.cut(name, 570));
    if (years_) pen_.rightAt(1175, y_, r.shortYear());
    // The association ends before the widest run time of run 1's column.
    if (nations_ && r.nation)
      pen_.textOut(
          1220, y_,
          pen_.cut(*r.nation, 1500 - pen_.textWidth(QStringLiteral("00:00,00")) - 15 - 1220));
    // Run 1 still at the name's size, run 2 at the row's.
    runTime(team, r, {1500, 1, nameSize}, m.run1, m.code1, team.run1);
    runTime(team, r, {1670, 2, 9}, m.run2, m.code2, team.run2);
    pen_.setBold(false);
    pen_.setSize(9);
    if (clubs_) {
      y_ += 40;
      pen_.setSize(8);
      pen_.textOut(560, y_ + drop, pen_.cut(r.verein.value_or(QString()), 570));
      pen_.setSize(9);
    }
    y_ += 43;
  }

  struct RunColumn {
    int right;
    int run;
    int size;
  };

  // A run's time, bold when it counts for the team; below a racer without a valid time,
  // the replacement time his team got for him.
  void runTime(const IsfTeam& team, const Racer& r, const RunColumn& column, const QString& text,
               int code, const std::array<int, 3>& counted) {
    pen_.setSize(column.size);
    pen_.setBold(std::find(counted.begin(), counted.end(), r.id) != counted.end());
    pen_.rightAt(column.right, y_, text);
    if (code > 0 && rankAll_) {
      pen_.setBold(false);
      pen_.setSize(7);
      pen_.rightAt(column.right, y_ + 32,
                   QLatin1Char('(') + Time(ranking_.replacement(column.run, team.groupId)) +
                       QLatin1Char(')'));
    }
  }

  const AppState& state_;
  PdfListFrame& frame_;
  pdf::PdfPen& pen_;
  const RaceData& everybody_;
  const IsfRanking& ranking_;
  const bool rankAll_, years_, nations_, clubs_;
  bool anyFederationId_ = false;
  bool anyCode_ = false;
  int page_ = 0;
  int y_ = 3000;
  std::optional<int> lastGroup_;
  int marker_ = -1;  // the team whose line was drawn last
  int rank_ = 0;
  double leader_ = 0;
};

}  // namespace

ResultLine WriteIsfList(const AppState& state, const IsfListOptions& options,
                        const std::function<void()>& closePanel) {
  db::Connection& db = state.db();
  if (db.scalar(QStringLiteral("select count(*) as Anzahl from tblMannschaft where gruppe is "
                               "null"))
          .toInt() > 0) {
    state.Ui->message(kTeamsWithoutGroup);
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
  IsfPages pages(state, frame, everybody, ranking, options.rankAll);
  const int drawn = pages.draw();
  if (drawn == 0) ReportNoData(*state.Ui);
  frame.FinishDoc(drawn);
  return frame.result();
}

}  // namespace kx
