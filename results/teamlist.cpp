#include "results/teamlist.h"

#include "common/appstate.h"
#include "common/resultcodes.h"
#include "common/timetext.h"
#include "common/userinterface.h"
#include "lists/listframe.h"
#include "results/racedata.h"
#include "results/resultlist.h"

#include <unordered_map>

namespace kx {

namespace {

// Room of the team line's text, up to the time columns.
constexpr int kTeamTextWidth = 1100;

// The pages of the list on the frame's document: team group by team group, each team's
// line with its rank and total, then its counted members.
class TeamListPages {
 public:
  TeamListPages(const AppState& state, PdfListFrame& frame, const TeamListOptions& options,
                const TeamRankingResult& ranking, const RaceData& data)
      : state_(state),
        frame_(frame),
        pen_(frame.pen()),
        options_(options),
        years_(CompetitionSettings::on(state.Settings.jahrgang_aktiv)),
        nations_(CompetitionSettings::on(state.Settings.nation_aktiv)),
        clubs_(CompetitionSettings::on(state.Settings.verein_aktiv)),
        undivided_(options.ranking.grouping == QLatin1String("keine Unterteilung")),
        bestRun_(BestRunType(state.Settings.typNumber())),
        runs_(DisciplineRuns(state.db(), state.CurrentDisciplineType)) {
    for (const Racer& r : data.racers) racers_.emplace(r.id, &r);
    heads_ = heads(ranking);
  }

  void draw(const TeamRankingResult& ranking) {
    std::optional<int> previousGroup;
    for (const TeamEntry& team : ranking.teams) {
      // A team group begins on a page of its own, ranked from 1.
      if (!previousGroup || *previousGroup != team.groupId) {
        rank_ = 0;
        y_ = 3000;
        previousGroup = team.groupId;
      }
      bool line = true;
      for (const TeamMember& member : team.members) {
        if ((line && y_ > frame_.limit(2420)) || y_ > frame_.limit(2570))
          y_ = frame_.StartListPage(++page_, options_.title, heads_, state_.CreditLine);
        if (line) teamLine(team);
        line = false;
        const auto found = racers_.find(member.id);
        if (found != racers_.end()) memberRow(member, *found->second);
      }
    }
  }

 private:
  std::vector<ColumnHead> heads(const TeamRankingResult& ranking) const {
    std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Rang"), 235, 100),
                                  HeadRightAt(QStringLiteral("Stnr"), 365)};
    if (ranking.anyFederationId) {
      heads.push_back(HeadRightAt(QStringLiteral("KSF-ID"), 545));
    } else if (ranking.anyCode) {
      heads.push_back(HeadRightAt(QStringLiteral("Code"), 545));
    }
    heads.push_back(HeadAt(!undivided_ && clubs_ ? QStringLiteral("Teilnehmer + Verein")
                                                 : QStringLiteral("Teilnehmer"),
                           560));
    if (years_) heads.push_back(HeadRightAt(QStringLiteral("JG"), 1065));
    if (nations_) heads.push_back(HeadAt(QStringLiteral("VB"), 1078));
    if (undivided_ && clubs_) heads.push_back(HeadAt(QStringLiteral("Verein"), 1270));
    if (!undivided_) heads.push_back(HeadAt(QStringLiteral("Klasse"), 1270));
    heads.push_back(HeadRightAt(QStringLiteral("Total"), 1840));
    heads.push_back(HeadRightAt(QStringLiteral("Diff"), 2005));
    return heads;
  }

  // The team's rank, group and name underlined, and its total.
  void teamLine(const TeamEntry& team) {
    if (!first_) y_ += 30;
    first_ = false;
    pen_.setSize(10);
    pen_.setBold(true);
    pen_.rightAt(235, y_, QString::number(++rank_) + QLatin1Char('.'));
    const QString text = pen_.cut(
        team.groupId > 0 ? team.groupName + QStringLiteral(" / ") + team.teamName : team.teamName,
        kTeamTextWidth);
    pen_.textOut(560, y_, text);
    pen_.setLineWidth(3);
    pen_.line(560, y_ + 38, 560 + pen_.textWidth(text), y_ + 38);
    pen_.rightAt(2005, y_, FormatRunTime(team.total));
    y_ += 53;
  }

  // A counted member: his result and deficit; the division in its column, or without
  // division the club there, else the club on a line of its own.
  void memberRow(const TeamMember& member, const Racer& r) {
    pen_.setSize(9);
    pen_.setBold(false);
    pen_.rightAt(365, y_, r.bibText());
    pen_.rightAt(545, y_, r.idText());
    const QString name = r.fullName();
    int drop = pen_.fit(name, 9, 470);
    pen_.textOut(560, y_ + drop, pen_.cut(name, 470));
    pen_.setSize(9);
    if (years_) pen_.rightAt(1065, y_, r.shortYear());
    if (nations_ && r.nation) pen_.textOut(1078, y_, pen_.cut(*r.nation, 1270 - 1078));
    const QString column =
        undivided_ ? (clubs_ ? r.verein.value_or(QString()) : QString()) : member.division;
    if (!column.isEmpty()) {
      drop = pen_.fit(column, 9, 450);
      pen_.textOut(1270, y_ + drop, pen_.cut(column, 450));
      pen_.setSize(9);
    }
    pen_.rightAt(1840, y_, FormatRunTime(FinishedResult(r, bestRun_, runs_).value_or(0)));
    pen_.rightAt(2005, y_, FormatRunTime(member.deficit));
    if (!undivided_ && clubs_) {
      pen_.setSize(8);
      pen_.textOut(560, y_ + 40 + drop, pen_.cut(r.verein.value_or(QString()), 470));
      pen_.setSize(9);
      y_ += 83;
    } else {
      y_ += 43;
    }
  }

  const AppState& state_;
  PdfListFrame& frame_;
  pdf::PdfPen& pen_;
  const TeamListOptions& options_;
  const bool years_, nations_, clubs_, undivided_, bestRun_;
  const int runs_;
  std::unordered_map<int, const Racer*> racers_;
  std::vector<ColumnHead> heads_;
  int y_ = 0;
  int page_ = 0;
  int rank_ = 0;
  bool first_ = true;
};

}  // namespace

ResultLine WriteTeamList(const AppState& state, const TeamListOptions& options,
                         const std::function<void()>& closePanel) {
  UserInterface& ui = *state.Ui;
  if (!CheckTeamRankingSettings(ui, options.ranking)) return ResultLine{};
  if (!TeamGroupsComplete(state)) {
    ui.message(kTeamsWithoutGroup);
    return ResultLine{};
  }
  QString stem = options.title;
  stem.replace(QLatin1Char('/'), QLatin1Char('_'));
  // The title names the discipline by its list title, the parallel slalom of type 8 too.
  PdfListFrame frame(state, {QStringLiteral("Mannschaftsergebnisliste"),
                             QLatin1Char('-') + stem + QLatin1Char('-'),
                             options.title + QLatin1Char(' '), TitleDiscipline::ListTitle});
  frame.onProbeFailed = closePanel;
  if (!frame.OpenDoc(options.openAfterOutput)) return frame.result();
  WarnUnknownCodes(state, QStringLiteral("Mannschaftsergebnisliste"), 0,
                   BestRunType(state.Settings.typNumber()));
  frame.ReadListEvent();
  frame.ReadListHeadTexts();

  const TeamRankingResult ranking = ComputeTeamRanking(state, options.ranking);
  if (ranking.teams.empty() && !ranking.refused) ReportNoData(ui);
  const RaceData data =
      ReadRaceData(state.db(), state.CurrentDisciplineType, state.CurrentDisciplineCode);
  TeamListPages pages(state, frame, options, ranking, data);
  pages.draw(ranking);
  frame.FinishDoc(static_cast<int>(ranking.teams.size()));
  return frame.result();
}

}  // namespace kx
