#include "results/teamlist.h"

#include "common/appstate.h"
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
  frame.ReadListEvent();
  frame.ReadListHeadTexts();

  const TeamRankingResult ranking = ComputeTeamRanking(state, options.ranking);
  const RaceData data =
      ReadRaceData(state.db(), state.CurrentDisciplineType, state.CurrentDisciplineCode);
  std::unordered_map<int, const Racer*> racers;
  for (const Racer& r : data.racers) racers.emplace(r.id, &r);

  const CompetitionSettings& s = state.Settings;
  const bool years = CompetitionSettings::on(s.jahrgang_aktiv);
  const bool nations = CompetitionSettings::on(s.nation_aktiv);
  const bool clubs = CompetitionSettings::on(s.verein_aktiv);
  const bool undivided = options.ranking.grouping == QLatin1String("keine Unterteilung");
  const bool bestRun = BestRunType(s.typNumber());

  std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Rang"), 235, 100),
                                HeadRightAt(QStringLiteral("Stnr"), 365)};
  if (ranking.anyFederationId) {
    heads.push_back(HeadRightAt(QStringLiteral("KSF-ID"), 545));
  } else if (ranking.anyCode) {
    heads.push_back(HeadRightAt(QStringLiteral("Code"), 545));
  }
  heads.push_back(HeadAt(
      !undivided && clubs ? QStringLiteral("Teilnehmer + Verein") : QStringLiteral("Teilnehmer"),
      560));
  if (years) heads.push_back(HeadRightAt(QStringLiteral("JG"), 1065));
  if (nations) heads.push_back(HeadAt(QStringLiteral("VB"), 1078));
  if (undivided && clubs) heads.push_back(HeadAt(QStringLiteral("Verein"), 1270));
  if (!undivided) heads.push_back(HeadAt(QStringLiteral("Klasse"), 1270));
  heads.push_back(HeadRightAt(QStringLiteral("Total"), 1840));
  heads.push_back(HeadRightAt(QStringLiteral("Diff"), 2005));

  pdf::PdfPen& pen = frame.pen();
  int y = 0;
  int page = 0;
  int rank = 0;
  std::optional<int> previousGroup;
  bool first = true;
  for (const TeamEntry& team : ranking.teams) {
    if (!previousGroup || *previousGroup != team.groupId) {
      rank = 0;
      y = 3000;
      previousGroup = team.groupId;
    }
    bool teamLine = true;
    for (const TeamMember& member : team.members) {
      if ((teamLine && y > frame.limit(2420)) || y > frame.limit(2570))
        y = frame.StartListPage(++page, options.title, heads, state.CreditLine);
      if (teamLine) {
        if (!first) y += 30;
        first = false;
        teamLine = false;
        pen.setSize(10);
        pen.setBold(true);
        pen.rightAt(235, y, QString::number(++rank) + QLatin1Char('.'));
        const QString text =
            pen.cut(team.groupId > 0 ? team.groupName + QStringLiteral(" / ") + team.teamName
                                     : team.teamName,
                    kTeamTextWidth);
        pen.textOut(560, y, text);
        pen.setLineWidth(3);
        pen.line(560, y + 38, 560 + pen.textWidth(text), y + 38);
        pen.rightAt(2005, y, FormatRunTime(team.total));
        y += 53;
      }
      const auto found = racers.find(member.id);
      if (found == racers.end()) continue;
      const Racer& r = *found->second;
      pen.setSize(9);
      pen.setBold(false);
      pen.rightAt(365, y, r.bibText());
      pen.rightAt(545, y, r.idText());
      const QString name = r.fullName();
      int drop = pen.fit(name, 9, 470);
      pen.textOut(560, y + drop, pen.cut(name, 470));
      pen.setSize(9);
      if (years) pen.rightAt(1065, y, r.shortYear());
      if (nations && r.nation) pen.textOut(1078, y, *r.nation);
      const QString column =
          undivided ? (clubs ? r.verein.value_or(QString()) : QString()) : member.division;
      if (!column.isEmpty()) {
        drop = pen.fit(column, 9, 450);
        pen.textOut(1270, y + drop, pen.cut(column, 450));
        pen.setSize(9);
      }
      pen.rightAt(1840, y, FormatRunTime(CombinedResult(r, bestRun).value_or(0)));
      pen.rightAt(2005, y, FormatRunTime(member.deficit));
      if (!undivided && clubs) {
        pen.setSize(8);
        pen.textOut(560, y + 40 + drop, pen.cut(r.verein.value_or(QString()), 470));
        pen.setSize(9);
        y += 83;
      } else {
        y += 43;
      }
    }
  }
  frame.FinishDoc(static_cast<int>(ranking.teams.size()), true);
  return frame.result();
}

}  // namespace kx
