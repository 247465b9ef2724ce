// The demo's hand-time file fits the demo race: loaded as finish times, every hand time but
// one pairs with its racer's electronic finish, and the one left gives the racer without a
// finish time a replacement close to his hand time.
#include "handtime/demohandtimes.h"
#include "devices/handtimestore.h"
#include "devices/handtimetext.h"
#include "handtime/daytimetakeover.h"
#include "tests/handtime/handtimefixture.h"

#include <QRegularExpression>

namespace kx::test {
namespace {

using namespace dtcol;

TEST_F(HandTimeTest, DemoHandTimesGiveTheRacerWithoutFinishAReplacement) {
  QTemporaryDir dir;
  const DemoHandTimes demo = WriteDemoHandTimeFile(dir.path());
  EXPECT_EQ(demo.fileName, "Bezirkscup-Riesenslalom-Handzeit-Ziel.txt");
  EXPECT_EQ(demo.missingBib, 22);  // the README names it
  const HandTimeFileContent file = ReadHandTimeFile(dir.filePath(demo.fileName));
  ASSERT_EQ(file.error, "");
  ASSERT_EQ(file.times.size(), 21u);

  open(db::DemoCompetition());
  ReplaceHandTimes(state.HzZiel, file.times);
  DayTimeTakeover takeover(state);
  takeover.writeProtocol = [](const DayTimeProtocolRequest&) { return ProtocolOutcome::Cancelled; };
  takeover.Build(HandMode::Ziel, demo.run);
  HandRowModel& list = takeover.list();
  EXPECT_EQ(column(list, kDiff).filter(QRegularExpression("\\d")).size(), 20);  // paired
  const int alone = rowOf(list, "-");
  const QString bib = QString::number(demo.missingBib);
  const int racer = rowOf(list, bib);
  ASSERT_TRUE(alone >= 0 && racer >= 0);
  EXPECT_EQ(list.text(racer, kZiel), "-");
  const double hand = *ParseHandTime(list.text(alone, kHand));
  const double start = *ParseHandTime(list.text(racer, kStart));

  list.select(alone);
  takeover.AssignBib(bib);
  ASSERT_TRUE(takeover.Takeover()) << ui.messageTexts().join('\n').toStdString();
  const db::Recordset rs = state.db().query(
      QStringLiteral("select z.ergcode,z.netto from tblZeit z,tblTeilnehmer t where "
                     "t.id=z.teilnehmer and z.disziplin=2 and z.durchgang=? and t.startnrgs=?"),
      {demo.run, demo.missingBib});
  ASSERT_EQ(rs.count(), 1);
  EXPECT_EQ(rs.at(0, 0).toInt(), 0);
  // The stopwatch was 0.08 to 0.20 s late.
  EXPECT_NEAR((hand - start - rs.at(0, 1).toDouble()) * 86400, 0.14, 0.07);
}

}  // namespace
}  // namespace kx::test
