// The takeover by run time on its row models: the comparison with its mean and limit, the
// assignments with the automatic finish pairing, the refresh of lists holding bibs, and
// the takeover with its protocol read back.
#include "devices/handtimetext.h"
#include "handtime/runtimetakeover.h"
#include "tests/handtime/handtimefixture.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

namespace kx::test {
namespace {

using namespace cmpcol;

// A racer of a race timed by run times only.
Timed RunOnly(int bib, std::optional<qint64> netto, int ergcode = 0) {
  Timed t;
  t.bib = bib;
  t.ergcode = ergcode;
  t.netto = netto;
  t.row = netto.has_value() || ergcode != 0;
  return t;
}

class RunTimeTest : public HandTimeTest {
 protected:
  void select(HandRowModel& list, qint64 hundredths) {
    const QString text = FormatHandTime(db::HundredthsToDay(hundredths), QStringLiteral("rnd"));
    for (int i = 0; i < list.count(); ++i)
      if (list.text(i, rtcol::kHand) == text) return list.select(i);
    ADD_FAILURE() << "no hand time " << text.toStdString();
  }
  bool start(qint64 at, const QString& bib) {
    select(takeover.starts(), at);
    return takeover.AssignStart(bib);
  }
  bool finish(qint64 at, const QString& bib) {
    select(takeover.finishes(), at);
    return takeover.AssignFinish(bib);
  }
  RunTimeTakeover takeover{state};
};

TEST_F(RunTimeTest, ComparisonTakesTheMeanOfTheOtherRowsUpToFiveSeconds) {
  open(TimedRace(
      {RunOnly(1, 6000), RunOnly(2, 6100), RunOnly(3, std::nullopt, 2), RunOnly(4, 5900)}));
  fill(state.HzStart, {At(10, 0, 0), At(10, 1, 0), At(10, 2, 0), At(10, 3, 0)});
  fill(state.HzZiel,
       {At(10, 1, 0, 10), At(10, 2, 1, 30), At(10, 3, 5), At(10, 4, 4), At(10, 4, 4, 1)});
  takeover.Open(1);
  EXPECT_EQ(takeover.comparison().count(), 0);
  // The start assignments of bibs 1 and 2 pair their finishes on their own.
  ASSERT_TRUE(start(At(10, 0, 0), "1"));
  ASSERT_TRUE(start(At(10, 1, 0), "2"));
  ASSERT_TRUE(start(At(10, 2, 0), "3"));
  EXPECT_EQ(takeover.replacementRow(), -1);
  ASSERT_TRUE(finish(At(10, 3, 5), "3"));
  const HandRowModel& cmp = takeover.comparison();
  EXPECT_EQ(column(cmp, kBib), QStringList({"1", "2", "3"}));
  EXPECT_EQ(column(cmp, kHand), QStringList({"00:01:00,10", "00:01:01,30", "00:01:05,00"}));
  ASSERT_EQ(takeover.replacementRow(), 2);
  // The mean of the two other rows, 0,10 and 0,30.
  EXPECT_EQ(cmp.text(2, kDiff), "0,20");
  EXPECT_EQ(cmp.text(2, kElectronic), "00:01:04,80");
  EXPECT_TRUE(cmp.cell(2, kElectronic).bold);
  EXPECT_EQ(cmp.cell(2, kDiff).color, kMarkColor);

  // Bib 4 exactly 5,00 s off is summed; 5,01 s refuses the calculation.
  ASSERT_TRUE(start(At(10, 3, 0), "4"));
  ASSERT_TRUE(finish(At(10, 4, 4), "4"));
  EXPECT_EQ(cmp.text(3, kDiff), "5,00");
  EXPECT_EQ(cmp.text(2, kDiff), "1,80");
  ASSERT_TRUE(finish(At(10, 4, 4, 1), "4"));
  EXPECT_EQ(cmp.text(3, kDiff), "5,01");
  EXPECT_EQ(takeover.replacementRow(), -1);
  EXPECT_EQ(cmp.text(2, kDiff), "65,00");
  EXPECT_FALSE(cmp.cell(2, kElectronic).bold);
}

TEST_F(RunTimeTest, AutomaticPairingGivesTheBibToTheNearestFinishStrictlyInsideTwoSeconds) {
  open(TimedRace({RunOnly(1, 6000), RunOnly(2, 6000), RunOnly(3, 0)}));
  fill(state.HzStart, {At(10, 0, 0), At(10, 5, 0), At(10, 8, 0)});
  fill(state.HzZiel,
       {At(10, 1, 2, 1), At(10, 0, 58, 1), At(10, 5, 58, 50), At(10, 6, 0, 50), At(10, 8, 0, 50)});
  takeover.Open(1);
  start(At(10, 0, 0), "1");
  start(At(10, 5, 0), "2");
  start(At(10, 8, 0), "3");  // a run time of 0 pairs nothing
  EXPECT_EQ(column(takeover.finishes(), rtcol::kBib), QStringList({"-", "1", "-", "2", "-"}));
  EXPECT_TRUE(takeover.finishAssigned());
  EXPECT_EQ(column(takeover.starts(), rtcol::kId), QStringList({"1", "2", "3"}));
}

TEST_F(RunTimeTest, AssignmentChecksAndRemoval) {
  open(TimedRace({RunOnly(1, 6000), RunOnly(2, 6000)}));
  fill(state.HzStart, {At(10, 0, 0), At(10, 1, 0)});
  fill(state.HzZiel, {At(9, 59, 30), At(10, 3, 0)});
  takeover.Open(1);
  auto said = [&](const std::function<void()>& action) {
    ui.clear();
    action();
    return ui.messageTexts().value(0);
  };
  EXPECT_EQ(said([&] { takeover.AssignStart(""); }),
            "Bitte die Startnummer für die Start-Handzeit eingeben");
  for (const char* bad : {"1e2", "1,5", " 1", "-1"}) {
    EXPECT_EQ(said([&] { takeover.AssignStart(bad); }), "Die Startnummer bitte als Zahl eingeben")
        << bad;
  }
  EXPECT_EQ(said([&] { takeover.AssignStart("7"); }), "Die Startnummer 7war nicht am Start");
  EXPECT_EQ(said([&] { takeover.AssignStart("1"); }),
            "Bitte eine Zeile mit einer Handzeit selektieren");
  EXPECT_EQ(said([&] { start(At(10, 0, 0), "01"); }), "");
  EXPECT_EQ(takeover.starts().text(0, rtcol::kBib), "1");
  EXPECT_EQ(takeover.starts().selected(), 1);  // moved on to the next row
  EXPECT_EQ(said([&] { start(At(10, 0, 0), "2"); }),
            "Dieser Handzeit ist bereits die Startnummer 1 zugeordnet");
  // A finish before the start of the same bib would give a negative run time.
  EXPECT_EQ(said([&] { finish(At(9, 59, 30), "1"); }),
            "Die Ziel-Handzeit der Startnummer 1 liegt nicht nach ihrer Start-Handzeit!");
  EXPECT_EQ(takeover.finishes().text(0, rtcol::kBib), "-");

  // The bib moves from another start row; removing the last bib clears the flag.
  EXPECT_EQ(said([&] { start(At(10, 1, 0), "1"); }), "");
  EXPECT_EQ(column(takeover.starts(), rtcol::kBib), QStringList({"-", "1"}));
  select(takeover.starts(), At(10, 0, 0));
  EXPECT_EQ(said([&] { takeover.RemoveStart(); }),
            "Dieser Handzeit ist keine Startnummer zugeordnet");
  select(takeover.starts(), At(10, 1, 0));
  takeover.RemoveStart();
  EXPECT_FALSE(takeover.startAssigned());
}

TEST_F(RunTimeTest, RefreshOfListsHoldingBibsKeepsThemAndTakesNewEntries) {
  open(TimedRace({RunOnly(1, 6000)}));
  fill(state.HzStart, {At(10, 0, 0)});
  fill(state.HzZiel, {At(10, 1, 0)});
  takeover.Open(1);
  start(At(10, 0, 0), "1");
  state.HzStart.push_back({db::HundredthsToDay(At(10, 2, 0))});
  state.HzStart.push_back({db::HundredthsToDay(At(10, 3, 0))});
  takeover.Compare(1);
  EXPECT_EQ(column(takeover.starts(), rtcol::kBib), QStringList({"1", "-", "-"}));
  EXPECT_EQ(takeover.starts().key(2), "N3");
  state.HzStart.resize(1);
  takeover.Compare(1);
  EXPECT_EQ(takeover.starts().count(), 3);
  // Reopening starts from lists without bibs.
  takeover.Open(1);
  EXPECT_EQ(column(takeover.starts(), rtcol::kBib), QStringList({"-"}));
}

class RunTimeTakeoverTest : public RunTimeTest {
 protected:
  // Bibs 1..n-1 with a run of 60 s and hand run times 0,05 s longer; bib n without a run.
  void prepare(int n, std::optional<Timed> last = std::nullopt) {
    std::vector<Timed> racers;
    std::vector<qint64> starts, finishes;
    for (int i = 1; i <= n; ++i) {
      racers.push_back(i < n ? RunOnly(i, 6000) : last.value_or(RunOnly(n, std::nullopt)));
      starts.push_back(At(10, 0, 0) + i * 1000);
      finishes.push_back(At(10, 0, 0) + i * 1000 + 6005);
    }
    open(TimedRace(racers));
    fill(state.HzStart, starts);
    fill(state.HzZiel, finishes);
    takeover.Open(1);
    for (int i = 1; i <= n; ++i) start(At(10, 0, 0) + i * 1000, QString::number(i));
    finish(At(10, 0, 0) + n * 1000 + 6005, QString::number(n));
  }
  db::Recordset row(int id) {
    return state.db().query(QStringLiteral("select ergcode,start,ziel,netto from tblZeit where "
                                           "teilnehmer=? and durchgang=1"),
                            {id});
  }
};

TEST_F(RunTimeTakeoverTest, ProtocolFirstThenInsert) {
  prepare(3);
  ASSERT_EQ(takeover.replacementRow(), 2);
  EXPECT_EQ(takeover.comparison().text(2, kElectronic), "00:01:00,00");
  EXPECT_TRUE(takeover.startAssigned());
  // A cancelled dialog writes nothing.
  EXPECT_FALSE(takeover.Takeover());
  EXPECT_TRUE(row(3).empty());
  ASSERT_EQ(ui.saveRequests.size(), 1);
  EXPECT_EQ(ui.saveRequests[0].fileName,
            state.CompetitionFileName + "-Slalom_Riesenslalom-Handzeit-StNr-3.pdf");

  const QString pdf = path("protokoll.pdf");
  ui.chooseSaveFile(pdf);
  EXPECT_TRUE(takeover.Takeover());
  const db::Recordset rs = row(3);
  ASSERT_EQ(rs.count(), 1);
  EXPECT_EQ(rs.at(0, 0).toInt(), 0);
  EXPECT_TRUE(rs.at(0, 1).isNull());
  EXPECT_NEAR(rs.at(0, 3).toDouble(), 6000 / 8640000.0, 1e-15);
  EXPECT_DOUBLE_EQ(rs.at(0, 2).toDouble(), rs.at(0, 3).toDouble());
  EXPECT_FALSE(takeover.startAssigned());

  PdfReader reader(pdf);
  ASSERT_TRUE(reader.isValid());
  EXPECT_EQ(reader.title(), "Handzeit Start-Nr 3");
  EXPECT_EQ(reader.lineTexts(1).mid(0, 4),
            QStringList({"Bezirkscup Riesenslalom", "07.12.2026 Slalom/Riesenslalom",
                         "Handzeitberechnung für Start-Nr. 3",
                         "Start-Nr. Hz Start Hz Ziel Handzeit el. Zeit Differenz"}));
  const auto line = reader.findLine("10:00:30,00", 1);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->text(), "3 10:00:30,00 10:01:30,05 00:01:00,05 00:01:00,00 0,05");
  EXPECT_TRUE(line->words[4].bold());
  EXPECT_FALSE(line->words[3].bold());
  KeepForLooking(pdf, "runtime-protocol");
}

TEST_F(RunTimeTakeoverTest, UpdateKeepsADisqualificationAndLongListsGoOn) {
  Timed dis = RunOnly(50, std::nullopt, 3);
  prepare(50, dis);
  ASSERT_EQ(takeover.comparison().count(), 50);
  ASSERT_EQ(takeover.replacementRow(), 49);
  const QString pdf = path("lang.pdf");
  ui.chooseSaveFile(pdf);
  ASSERT_TRUE(takeover.Takeover());
  const db::Recordset rs = row(50);
  ASSERT_EQ(rs.count(), 1);
  EXPECT_EQ(rs.at(0, 0).toInt(), 3);
  EXPECT_NEAR(rs.at(0, 3).toDouble(), 6000 / 8640000.0, 1e-15);

  PdfReader reader(pdf);
  ASSERT_EQ(reader.pageCount(), 2);
  const QList<PdfLine> second = reader.lines(2);
  ASSERT_GE(second.size(), 4);
  EXPECT_EQ(second[0].words[0].text, "Start-Nr.");
  EXPECT_NEAR(second[1].top(), 530, 2);
  EXPECT_EQ(second[1].words[0].text, "48");
  EXPECT_LT(reader.lines(1)[reader.lines(1).size() - 2].top(), 2880);
}

}  // namespace
}  // namespace kx::test
