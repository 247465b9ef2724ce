// Start, finish and intermediate times that are no time of day (a text, not finite, far
// beyond the day, negative) read as an empty cell in the takeover by time of day, the result
// list, the live-timing times file and the referee report.

#include "handtime/daytimetakeover.h"
#include "livetiming/livefiles.h"
#include "refereereport/reportprefill.h"
#include "results/resultlist.h"
#include "tests/results/resultsfixture.h"

#include <limits>

namespace kx::test {
namespace {

class StoredDayTimesTest : public ResultsTest {
 protected:
  // Ast with a valid result and an intermediate time, Fall on the course since 10:02, hand
  // times a second after each; `column` of both holds `value`.
  QStringList everything(const char* column, const QVariant& value) {
    db::CompetitionSpec race = EmptyRace();
    race.disziplinen[0].durchgaenge = 1;
    AddRacer(race, 1, "M", 2, "Ast");
    AddRun(race, 1, 1, 4010);
    AddRacer(race, 2, "M", 2, "Fall");
    AddRun(race, 2, 1, 0, 2);
    open(race);
    state.RunCount = state.RunsWithTimes = 1;
    state.HzStart = {{36061 / 86400.0}, {36121 / 86400.0}};
    state.HzZiel = {{36101.1 / 86400.0}};
    state.db().execute("update tblZeit set zwischen1=start+1805/8640000.0 where ergcode=0");
    state.db().execute(QString("update tblZeit set %1=?").arg(column), {value});
    QStringList out;
    DayTimeTakeover takeover(state);
    for (const HandMode mode : {HandMode::Start, HandMode::Ziel}) {
      takeover.Build(mode, 1);
      for (int i = 0; i < takeover.rows(); ++i) {
        for (const HandCell& c : takeover.list().row(i).cells) out << c.text;
      }
    }
    ui.chooseSaveFile(outputPath("liste.pdf"));
    WriteResultList(state, {"1", "keine Unterteilung", false, false});
    out << PdfReader(outputPath("liste.pdf")).lineTexts(1);
    out << TimesFileContent(state.db(), 2, 1, 60);  // a start read as 0 would be on the course
    ReportValues report = DefaultReportValues();
    PrefillRefereeReport(state.db(), {2, "gs", 1}, report);
    return out << report[kEinschaltzeit] + "|" + report[kStartersterLaeufer];
  }
};

TEST_F(StoredDayTimesTest, AValueThatIsNoTimeOfDayIsAnEmptyCell) {
  const double inf = std::numeric_limits<double>::infinity();
  const QVariant absurd[] = {1e300,  inf,    -inf,         QString("NaN"), QString("10:04"),
                             9.9e15, 0x1p63, -1 / 86400.0, 1 + 1 / 86400.0};
  EXPECT_TRUE(everything("start", QVariant()).contains("0010000040,10°0022999999,99°"));
  for (const char* column : {"start", "ziel", "zwischen1"}) {
    const QStringList reference = everything(column, QVariant());
    for (const QVariant& value : absurd) {
      EXPECT_EQ(everything(column, value), reference)
          << column << " " << value.toString().toStdString();
    }
  }
  // A split at 00:00:01, before the start, is no intermediate time either.
  EXPECT_EQ(everything("zwischen1", 1 / 86400.0), everything("zwischen1", QVariant()));
}

}  // namespace
}  // namespace kx::test
