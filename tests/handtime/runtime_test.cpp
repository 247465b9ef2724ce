// The takeover by run time on its row models: the comparison with its mean and limit, the
// assignments with the automatic finish pairing, the refresh of lists holding bibs, and
// the takeover with its protocol read back.
#include "devices/handtimetext.h"
#include "handtime/runtimetakeover.h"
#include "tests/handtime/handtimefixture.h"
#include "tests/support/faults.h"
#include "tests/support/pdfreader.h"

namespace kx::test {
namespace {

// A racer of a race timed by run times only; no row without a run time or a code.
Timed RunOnly(int bib, std::optional<qint64> netto, int ergcode = 0) {
  return {bib, 0, 0, ergcode, netto.has_value() || ergcode != 0, netto};
}

class RunTimeTest : public HandTimeTest {
 protected:
  void race(const std::vector<Timed>& racers, const std::vector<qint64>& starts,
            const std::vector<qint64>& finishes) {
    open(TimedRace(racers));
    fill(state.HzStart, starts);
    fill(state.HzZiel, finishes);
    takeover.Open(1);
  }
  bool start(qint64 at, const QString& bib) {
    takeover.starts().select(column(takeover.starts(), rtcol::kHand).indexOf(Time(at)));
    return takeover.AssignStart(bib);
  }
  bool finish(qint64 at, const QString& bib) {
    takeover.finishes().select(column(takeover.finishes(), rtcol::kHand).indexOf(Time(at)));
    return takeover.AssignFinish(bib);
  }
  static QString Time(qint64 at) { return FormatHandTime(db::HundredthsToDay(at), "rnd"); }
  QString compared(int row) { return line(takeover.comparison(), row); }

  RunTimeTakeover takeover{state};
};

TEST_F(RunTimeTest, ComparisonTakesTheMeanOfTheOtherRowsUpToFiveSeconds) {
  race({RunOnly(1, 6000), RunOnly(2, 6100), RunOnly(3, std::nullopt, 2), RunOnly(4, 5900)},
       {At(10, 0, 0), At(10, 1, 0), At(10, 2, 0), At(10, 3, 0)},
       {At(10, 1, 0, 10), At(10, 2, 1, 30), At(10, 3, 5), At(10, 4, 4), At(10, 4, 4, 1)});
  // Bibs 1 and 2 get their finishes from the automatic pairing.
  for (int bib = 1; bib <= 4; ++bib) start(At(10, bib - 1, 0), QString::number(bib));
  EXPECT_EQ(takeover.replacementRow(), -1);
  finish(At(10, 3, 5), "3");
  ASSERT_EQ(takeover.replacementRow(), 2);
  EXPECT_EQ(compared(0), "1|00:01:00,00|00:01:00,10|0,10");
  EXPECT_EQ(compared(2), "3|00:01:04,80|00:01:05,00|0,20");  // mean of 0,10 and 0,30
  EXPECT_EQ(marks(takeover.comparison(), 2), "-B-B");
  // 5,00 s is summed, 5,01 s refuses the calculation.
  finish(At(10, 4, 4), "4");
  EXPECT_EQ(compared(3) + compared(2).mid(1),
            "4|00:00:59,00|00:01:04,00|5,00|00:01:03,20|"
            "00:01:05,00|1,80");
  finish(At(10, 4, 4, 1), "4");
  EXPECT_EQ(takeover.replacementRow(), -1);
  EXPECT_EQ(compared(2), "3|00:00:00,00|00:01:05,00|65,00");
  EXPECT_EQ(marks(takeover.comparison(), 2), "----");
}

TEST_F(RunTimeTest, AutomaticPairingGivesTheBibToTheNearestFinishStrictlyInsideTwoSeconds) {
  race({RunOnly(1, 6000), RunOnly(2, 6000), RunOnly(3, 0)},
       {At(10, 0, 0), At(10, 5, 0), At(10, 8, 0)},
       {At(10, 1, 2, 1), At(10, 0, 58, 1), At(10, 5, 58, 50), At(10, 6, 0, 50), At(10, 8, 0, 50)});
  start(At(10, 0, 0), "1");
  start(At(10, 5, 0), "2");
  start(At(10, 8, 0), "3");  // a run time of 0 pairs nothing
  EXPECT_EQ(column(takeover.finishes(), rtcol::kBib), QStringList({"-", "1", "-", "2", "-"}));
  EXPECT_EQ(column(takeover.starts(), rtcol::kId), QStringList({"1", "2", "3"}));
}

TEST_F(RunTimeTest, AutomaticPairingLeavesAFinishExactlyTwoSecondsOff) {
  // Expected finishes 10:01:00 and 10:06:00; the only hand finishes lie 2,00 s late and
  // 2,00 s early, and 1,99 s early for bib 3.
  race({RunOnly(1, 6000), RunOnly(2, 6000), RunOnly(3, 6000)},
       {At(10, 0, 0), At(10, 5, 0), At(10, 10, 0)},
       {At(10, 1, 2), At(10, 5, 58), At(10, 10, 58, 1)});
  start(At(10, 0, 0), "1");
  start(At(10, 5, 0), "2");
  start(At(10, 10, 0), "3");
  EXPECT_EQ(column(takeover.finishes(), rtcol::kBib), QStringList({"-", "-", "3"}));
}

TEST_F(RunTimeTest, AssignmentChecksAndRemoval) {
  race({RunOnly(1, 6000), RunOnly(2, 6000)}, {At(10, 0, 0), At(10, 1, 0)},
       {At(9, 59, 30), At(10, 3, 0)});
  auto said = [&](const std::function<void()>& action) {
    ui.clear();
    action();
    return ui.messageTexts().value(0);
  };
  EXPECT_EQ(said([&] { takeover.AssignStart(""); }),
            "Bitte die Startnummer für die Start-Handzeit eingeben");
  for (const char* bad : {"1e2", "1,5", " 1", "-1"}) {
    EXPECT_EQ(said([&] { takeover.AssignStart(bad); }), "Die Startnummer bitte als Zahl eingeben");
  }
  EXPECT_EQ(said([&] { takeover.AssignStart("7"); }), "Die Startnummer 7 war nicht am Start");
  EXPECT_EQ(said([&] { takeover.AssignStart("1"); }),
            "Bitte eine Zeile mit einer Handzeit selektieren");
  EXPECT_EQ(said([&] { start(At(10, 0, 0), "01"); }), "");
  EXPECT_EQ(takeover.starts().selected(), 1);  // moved on to the next row
  EXPECT_EQ(said([&] { start(At(10, 0, 0), "2"); }),
            "Dieser Handzeit ist bereits die Startnummer 1 zugeordnet");
  EXPECT_EQ(said([&] { finish(At(9, 59, 30), "1"); }),
            "Die Ziel-Handzeit der Startnummer 1 liegt nicht nach ihrer Start-Handzeit!");
  // The bib moves from another start row; removing the last bib clears the flag.
  start(At(10, 1, 0), "1");
  EXPECT_EQ(column(takeover.starts(), rtcol::kBib), QStringList({"-", "1"}));
  takeover.starts().select(0);
  EXPECT_EQ(said([&] { takeover.RemoveStart(); }),
            "Dieser Handzeit ist keine Startnummer zugeordnet");
  takeover.starts().select(1);
  takeover.RemoveStart();
  EXPECT_FALSE(takeover.startAssigned());
}

TEST_F(RunTimeTest, RefreshOfListsHoldingBibsKeepsThemAndTakesNewEntries) {
  race({RunOnly(1, 6000)}, {At(10, 0, 0)}, {At(10, 1, 0)});
  start(At(10, 0, 0), "1");
  fill(state.HzStart, {At(10, 0, 0), At(10, 2, 0), At(10, 3, 0)});
  takeover.Compare(1);
  EXPECT_EQ(column(takeover.starts(), rtcol::kBib), QStringList({"1", "-", "-"}));
  state.HzStart.resize(1);
  takeover.Compare(1);
  EXPECT_EQ(takeover.starts().count(), 3);
  takeover.Open(1);  // reopening starts without bibs
  EXPECT_EQ(column(takeover.starts(), rtcol::kBib), QStringList({"-"}));
}

class RunTimeTakeoverTest : public RunTimeTest {
 protected:
  // Bibs 1..n-1 with runs of 60 s, hand runs 0,05 s longer; bib n is `last`.
  void prepare(int n, const Timed& last) {
    std::vector<Timed> racers;
    std::vector<qint64> starts, finishes;
    for (int i = 1; i <= n; ++i) {
      racers.push_back(i < n ? RunOnly(i, 6000) : last);
      starts.push_back(At(10, 0, 0) + i * 1000);
      finishes.push_back(At(10, 1, 0, 5) + i * 1000);
    }
    race(racers, starts, finishes);
    for (int i = 1; i <= n; ++i) start(At(10, 0, 0) + i * 1000, QString::number(i));
    finish(At(10, 1, 0, 5) + n * 1000, QString::number(n));
  }
  db::Recordset row(int id) {
    return state.db().query(
        QStringLiteral("select ergcode,start,ziel,netto from tblZeit where teilnehmer=?"), {id});
  }
};

TEST_F(RunTimeTakeoverTest, ProtocolFirstThenInsert) {
  prepare(3, RunOnly(3, std::nullopt));
  EXPECT_FALSE(takeover.Takeover());  // a cancelled dialog writes nothing
  EXPECT_TRUE(row(3).empty());
  EXPECT_EQ(ui.saveRequests.value(0).fileName,
            state.CompetitionFileName + "-Slalom_Riesenslalom-Handzeit-StNr-3.pdf");

  ui.chooseSaveFile(path("protokoll.pdf"));
  EXPECT_TRUE(takeover.Takeover());
  const db::Recordset rs = row(3);
  ASSERT_EQ(rs.count(), 1);
  EXPECT_EQ(rs.at(0, 0).toInt(), 0);
  EXPECT_TRUE(rs.at(0, 1).isNull());
  EXPECT_NEAR(rs.at(0, 3).toDouble(), 6000 / 8640000.0, 1e-15);
  EXPECT_DOUBLE_EQ(rs.at(0, 2).toDouble(), rs.at(0, 3).toDouble());
  EXPECT_FALSE(takeover.startAssigned());

  PdfReader reader(path("protokoll.pdf"));
  EXPECT_EQ(reader.title(), "Handzeit Start-Nr 3");
  EXPECT_EQ(reader.lineTexts(1).mid(0, 7),
            QStringList({"Bezirkscup Riesenslalom", "07.12.2026 Slalom/Riesenslalom",
                         "Handzeitberechnung für Start-Nr. 3",
                         "Start-Nr. Hz Start Hz Ziel Handzeit el. Zeit Differenz",
                         "1 10:00:10,00 10:01:10,05 00:01:00,05 00:01:00,00 0,05",
                         "2 10:00:20,00 10:01:20,05 00:01:00,05 00:01:00,00 0,05",
                         "3 10:00:30,00 10:01:30,05 00:01:00,05 00:01:00,00 0,05"}));
  const PdfLine last = reader.lines(1)[6];
  EXPECT_TRUE(last.words[4].bold() && last.words[5].bold() && !last.words[3].bold());
}

// Another program reads the file, so the run time cannot be stored: no protocol is shown or
// left behind as if it had been taken over, the message says why, and the next try works.
TEST_F(RunTimeTakeoverTest, ALockedFileStoresNothingAndShowsNoProtocol) {
  prepare(3, RunOnly(3, std::nullopt));
  ui.chooseSaveFile(path("protokoll.pdf"));
  {
    const ForeignLock reader(state.db(), ForeignLock::Kind::Reading);
    EXPECT_FALSE(takeover.Takeover());
  }
  EXPECT_TRUE(row(3).empty());
  EXPECT_TRUE(ui.viewerOpened.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(path("protokoll.pdf")));
  EXPECT_TRUE(ui.messageTexts().last().startsWith(
      "Die Laufzeit konnte nicht übernommen werden, das Berechnungsprotokoll wurde nicht "
      "gespeichert.\nDie Datei '" +
      state.db().path() + "' wird gerade von einem anderen"));
  ASSERT_TRUE(takeover.startAssigned());

  ui.chooseSaveFile(path("protokoll.pdf"));
  EXPECT_TRUE(takeover.Takeover());
  EXPECT_EQ(row(3).count(), 1);
  EXPECT_EQ(ui.viewerOpened, QStringList{path("protokoll.pdf")});
}

// Bib 3 deleted meanwhile (by another copy of the program): no row for him, no protocol, the
// message names him and his bibs stay.
TEST_F(RunTimeTakeoverTest, ARacerDeletedMeanwhileGetsNoRowAndNoProtocol) {
  prepare(3, RunOnly(3, std::nullopt));
  state.db().execute(QStringLiteral("delete from tblTeilnehmer where id=3"));
  ui.chooseSaveFile(path("protokoll.pdf"));
  EXPECT_FALSE(takeover.Takeover());
  EXPECT_EQ(ui.messageTexts(),
            QStringList{"Die Startnummer 3 ist in der Bewerbsdatei nicht mehr vorhanden "
                        "(inzwischen gelöscht?). Die Laufzeit wurde nicht übernommen, das "
                        "Berechnungsprotokoll nicht gespeichert."});
  EXPECT_TRUE(row(3).empty());
  EXPECT_FALSE(QFileInfo::exists(path("protokoll.pdf")));
  EXPECT_TRUE(takeover.startAssigned());
}

TEST_F(RunTimeTakeoverTest, UpdateKeepsADisqualificationAndLongListsGoOn) {
  prepare(50, RunOnly(50, std::nullopt, 3));
  ASSERT_EQ(takeover.replacementRow(), 49);
  ui.chooseSaveFile(path("lang.pdf"));
  ASSERT_TRUE(takeover.Takeover());
  const db::Recordset rs = row(50);
  EXPECT_EQ(rs.at(0, 0).toInt(), 3);
  EXPECT_NEAR(rs.at(0, 3).toDouble(), 6000 / 8640000.0, 1e-15);
  // Rows 48 to 50 go on a second page below the column heads.
  PdfReader reader(path("lang.pdf"));
  ASSERT_EQ(reader.pageCount(), 2);
  const QList<PdfLine> second = reader.lines(2);
  EXPECT_EQ(second[0].words[0].text + second[1].words[0].text, "Start-Nr.48");
  EXPECT_NEAR(second[1].top(), 530, 2);
}

}  // namespace
}  // namespace kx::test
