// The takeover by time of day on its row model: the merge, the reference texts, the checks
// and neighbour walks of an assignment, undo, the protocol and the takeover into tblZeit.
#include "devices/handtimetext.h"
#include "handtime/daytimetakeover.h"
#include "tests/handtime/handtimefixture.h"
#include "tests/support/pdfreader.h"

namespace kx::test {
namespace {

using namespace dtcol;

QString Text(qint64 hundredths) {
  return FormatHandTime(db::HundredthsToDay(hundredths), QStringLiteral("rnd"));
}

class DayTimeTest : public HandTimeTest {
 protected:
  void SetUp() override {
    takeover.writeProtocol = [this](const DayTimeProtocolRequest& r) {
      usedBibs << list().text(r.firstUsedRow, kBib) + "-" + list().text(r.lastUsedRow, kBib);
      return ProtocolOutcome::Cancelled;
    };
  }
  // Racers 1..n 30 s apart, runs of 60 s, finish hand times i hundredths late; bib 99
  // without a finish has his hand time 15 s after racer `gapAfter`'s finish. With `skips`,
  // bib 50 finished 7 s before it without a hand time, and bib 51's hand time is 3 s before.
  void ladder(int n, int gapAfter, bool skips = false) {
    std::vector<Timed> racers;
    std::vector<qint64> hand;
    for (int i = 1; i <= n; ++i) {
      racers.push_back({i, At(10, 0, 0) + i * 3000, At(10, 1, 0) + i * 3000});
      hand.push_back(At(10, 1, 0) + i * 3000 + i);
    }
    gapHand = At(10, 1, 15) + gapAfter * 3000;
    racers.push_back({99, gapHand - 6000, 0, 2});
    hand.push_back(gapHand);
    if (skips) {
      racers.push_back({50, gapHand - 6700, gapHand - 700});
      racers.push_back({51, gapHand - 6300, 0, 2});
      hand.push_back(gapHand - 300);
    }
    open(TimedRace(racers));
    fill(state.HzZiel, hand);
    takeover.Build(HandMode::Ziel, 1);
  }
  void assign(qint64 hand, const QString& bib) {
    list().select(rowOfHand(list(), Text(hand), kHand));
    takeover.AssignBib(bib);
  }
  HandRowModel& list() { return takeover.list(); }
  QString row(const QString& bib) { return line(list(), rowOf(list(), bib)); }

  DayTimeTakeover takeover{state};
  QStringList usedBibs;  // per protocol: bibs of the first and the last used row
  qint64 gapHand = 0;
};

TEST_F(DayTimeTest, MergePairsInsideTheWindowInTheOrderOfTheFinishTimes) {
  // Bib 3 overtakes bib 2 on course; bib 4 did not finish.
  open(TimedRace({{1, At(10, 0, 0), At(10, 1, 0)},
                  {2, At(10, 0, 30), At(10, 1, 40)},
                  {3, At(10, 1, 0), At(10, 1, 30)},
                  {4, At(10, 1, 30), 0, 2}}));
  fill(state.HzZiel,
       {At(10, 1, 42), At(10, 0, 58), At(10, 1, 30, 5), At(10, 1, 30, 50), At(10, 5, 0)});
  takeover.Build(HandMode::Ziel, 1);
  // 2 s before is paired, 2 s after is not; the second hand time of a window stays alone;
  // bib 4 sorts at his start plus the mean of the valid runs (53.33 s).
  EXPECT_EQ(column(list(), kBib), QStringList({"1", "3", "-", "2", "-", "4", "-"}));
  EXPECT_EQ(line(list(), 0),
            "1|10:00:00,00|10:01:00,00|00:01:00,00|10:00:58,00|-2,00|"
            "10:01:00,00|1");
  EXPECT_EQ(line(list(), 2), "-|-|-|-|10:01:30,50| |10:01:30,50|0");
  EXPECT_EQ(column(list(), kDiff), QStringList({"-2,00", "0,05", " ", " ", " ", " ", " "}));
  EXPECT_EQ(line(list(), 5), "4|10:01:30,00|-|-|-| |10:02:23,33|4");
  EXPECT_EQ(takeover.lastKey(), 7);
}

TEST_F(DayTimeTest, ReferenceTextsWithoutValidResultsAndWithoutRacers) {
  open(TimedRace({{1, At(10, 0, 0), 0, 2}, {2, 0, At(10, 2, 0), 2}, {3, 0, 0, 1}}));
  fill(state.HzStart, {At(9, 59, 59)});
  takeover.Build(HandMode::Ziel, 1);  // no valid result: no expected finish
  EXPECT_EQ(column(list(), kSort), QStringList({"-", "-", "10:02:00,00"}));
  takeover.Build(HandMode::Start, 1);
  EXPECT_EQ(column(list(), kSort), QStringList({"-", "10:00:00,00", "10:02:00,00"}));
  EXPECT_EQ(list().text(1, kDiff), "-1,00");

  // No racers in run 2: every hand time of a full store gets one row.
  std::vector<qint64> many;
  for (int i = 0; i < 2000; ++i) many.push_back(At(11, 0, 0) + 2000 - i);
  fill(state.HzStart, many);
  takeover.Build(HandMode::Start, 2);
  ASSERT_EQ(list().count(), 2000);
  EXPECT_EQ(list().text(1999, kHand), Text(At(11, 0, 0) + 2000));
}

TEST_F(DayTimeTest, DifferenceComesFromTheShownTexts) {
  open(TimedRace({{1, At(9, 59, 0), At(10, 0, 0)}}));
  state.db().execute(QStringLiteral("update tblZeit set ziel=?"), {36000.009 / 86400.0});
  state.HzZiel = {{36000.126 / 86400.0}};
  takeover.Build(HandMode::Ziel, 1);
  EXPECT_EQ(line(list(), 0).section('|', 2, 5), "10:00:00,00|00:01:00,00|10:00:00,13|0,13");
}

TEST_F(DayTimeTest, ChecksOfAnAssignmentInTheirOrder) {
  open(TimedRace({{1, At(10, 0, 0), At(10, 1, 0)}, {2, 0, 0, 1}, {3, At(10, 2, 0), 0, 2}}));
  fill(state.HzZiel, {At(10, 1, 0, 10), At(10, 1, 50), At(10, 5, 0)});
  takeover.Build(HandMode::Ziel, 1);
  auto tryBib = [&](const QString& bib) {
    ui.clear();
    takeover.AssignBib(bib);
    return ui.messageTexts().value(0);
  };
  EXPECT_EQ(tryBib(""), "Bitte die Startnummer eingeben");
  EXPECT_EQ(tryBib("x1"), "Die Startnummer bitte als Zahl eingeben");
  EXPECT_EQ(tryBib("1"), "Bitte eine Zeile mit einer Handzeit selektieren");
  list().select(rowOf(list(), "1"));
  EXPECT_EQ(tryBib("1"), "Diese Handzeit ist bereits der Startnummer 1 zugeordnet");
  list().select(rowOfHand(list(), "10:01:50,00", kHand));
  EXPECT_EQ(tryBib(" 3"),
            "Startnummer  3 nicht vorhanden (evtl. zuerst Ausscheidungen bearbeiten)");
  EXPECT_EQ(tryBib("2"), "Bitte der Startnummer 2 zuerst die Startzeit zuordnen!");
  EXPECT_EQ(tryBib("3"), "Die Handzeit liegt vor der Startzeit!");
  // Bib 1 has his finish time: a plain pairing without mark or protocol.
  EXPECT_EQ(tryBib("1"), "");
  EXPECT_EQ(row("1"), "1|10:00:00,00|10:01:00,00|00:01:00,00|10:01:50,00|50,00|10:01:00,00|1");
  EXPECT_EQ(marks(list(), rowOf(list(), "1")), "--------");
  EXPECT_EQ(list().count(), 4);
  EXPECT_TRUE(usedBibs.isEmpty());
}

TEST_F(DayTimeTest, ReplacementFromTheMeanOfItsNeighbours) {
  open(TimedRace({{1, At(10, 0, 30), At(10, 1, 30)},
                  {2, At(10, 1, 0), At(10, 2, 0)},
                  {3, At(10, 1, 30), At(10, 2, 30)},
                  {4, At(10, 1, 20), 0, 2}}));
  fill(state.HzZiel, {At(10, 1, 30, 10), At(10, 2, 0, 20), At(10, 2, 30, 25), At(10, 2, 15)});
  takeover.Build(HandMode::Ziel, 1);
  assign(At(10, 2, 15), "4");
  // Mean 18.33 hundredths, taken unrounded; the hand-time row is gone.
  EXPECT_EQ(row("4"), "4|10:01:20,00|10:02:14,82|00:00:54,82|10:02:15,00|0,18|10:02:15,00|4");
  EXPECT_EQ(marks(list(), rowOf(list(), "4")), "--BB-B--");
  EXPECT_EQ(list().count(), 4);
  EXPECT_TRUE(takeover.assignmentsMade());
  EXPECT_EQ(usedBibs, QStringList{"1-3"});
}

TEST_F(DayTimeTest, WalkTakesTheTenNearestAboveAndSkipsBlankAndMarkedRows) {
  ladder(12, 12, true);
  assign(gapHand - 300, "51");
  assign(gapHand, "99");
  // Differences 3..12 hundredths; the rows of bibs 50 and 51 are passed over.
  EXPECT_EQ(list().text(rowOf(list(), "99"), kDiff), "0,08");
  EXPECT_EQ(usedBibs.value(1), "3--");
}

TEST_F(DayTimeTest, WalkFillsUpFromBelowAndNeedsOnePair) {
  ladder(23, 3);
  assign(gapHand, "99");
  // Above 1, 2, 3; below the nearest seven, 4..10: 55 / 10 hundredths.
  EXPECT_EQ(list().text(rowOf(list(), "99"), kDiff), "0,06");
  EXPECT_EQ(usedBibs, QStringList{"1-10"});

  open(TimedRace({{1, At(10, 0, 0), 0, 2}}));
  fill(state.HzZiel, {At(10, 1, 0)});
  takeover.Build(HandMode::Ziel, 1);
  ui.clear();
  assign(At(10, 1, 0), "1");
  EXPECT_EQ(ui.messageTexts(),
            QStringList{"keine Übereinstimmungen zwischen elektr. Zeit und Handzeit vorhanden!"});
  EXPECT_FALSE(takeover.assignmentsMade());
}

TEST_F(DayTimeTest, ReplacementThatWouldEndTheRunBeforeItStartsIsRefused) {
  // Start mode: the hand start of bib 3 lies after his own finish.
  open(TimedRace({{1, At(10, 0, 0), At(10, 1, 0)},
                  {2, At(10, 0, 30), At(10, 1, 30)},
                  {3, 0, At(10, 0, 50), 0}}));
  fill(state.HzStart, {At(10, 0, 0, 5), At(10, 0, 30, 5), At(10, 0, 55)});
  takeover.Build(HandMode::Start, 1);
  const QStringList before = column(list(), kBib);
  assign(At(10, 0, 55), "3");
  EXPECT_EQ(ui.messageTexts(),
            QStringList{"Die berechnete Startzeit 10:00:54,95 liegt nicht vor der Zielzeit!"});
  EXPECT_EQ(column(list(), kBib), before);
  EXPECT_EQ(row("3"), "3|-|10:00:50,00|-|-| |10:00:50,00|3");
}

TEST_F(DayTimeTest, ReplacementFinishOnTheStartTimeIsRefused) {
  // The hand clock runs 0,05 s late; bib 3's hand finish 0,05 s after his start would give
  // a run of 0,00 s.
  open(TimedRace({{1, At(10, 0, 0), At(10, 1, 0)},
                  {2, At(10, 0, 30), At(10, 1, 30)},
                  {3, At(10, 2, 0), 0, 2}}));
  fill(state.HzZiel, {At(10, 1, 0, 5), At(10, 1, 30, 5), At(10, 2, 0, 5)});
  takeover.Build(HandMode::Ziel, 1);
  assign(At(10, 2, 0, 5), "3");
  EXPECT_EQ(ui.messageTexts(),
            QStringList{"Die berechnete Zielzeit 10:02:00,00 liegt nicht nach der Startzeit!"});
  EXPECT_EQ(row("3"), "3|10:02:00,00|-|-|-| |10:03:00,00|3");
  EXPECT_FALSE(takeover.assignmentsMade());
}

TEST_F(DayTimeTest, UndoGivesTheHandTimeItsRowBackUnderANewKey) {
  ladder(3, 3);
  assign(gapHand, "99");
  list().select(rowOf(list(), "99"));
  takeover.Undo();
  EXPECT_EQ(row("99"), "99|10:01:45,00|-|-|-| |10:02:45,00|4");
  EXPECT_EQ(marks(list(), rowOf(list(), "99")), "--------");
  EXPECT_EQ(line(list(), rowOf(list(), "99") + 1), "-|-|-|-|10:02:45,00| |10:02:45,00|0");
  EXPECT_EQ(list().key(rowOf(list(), "99") + 1), "6N");

  ui.clear();
  takeover.Undo();  // the same row again
  list().select(rowOf(list(), "1"));
  takeover.Undo();  // a pairing
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"Bitte eine Zeile mit einer Zielzeit und einer Handzeit selektieren!",
                         "Diese Zuordnung kann nicht aufgehoben werden, da sie nicht aktuell "
                         "zugeordnet wurde!"}));
}

TEST_F(DayTimeTest, ProtocolListsTheUsedRowsAndAnUnwritableOneUndoesTheAssignment) {
  ladder(12, 12);
  DayTimeTakeover real(state);
  real.Build(HandMode::Ziel, 1);
  const int hand = rowOfHand(real.list(), Text(gapHand), kHand);
  const QStringList before = column(real.list(), kSort);
  real.list().select(hand);
  ui.chooseSaveFile(path(""));  // a directory: cannot be written
  real.AssignBib("99");
  EXPECT_TRUE(ui.messageTexts().value(0).endsWith("(ist vermutlich noch geöffnet)"));
  EXPECT_EQ(column(real.list(), kSort), before);
  EXPECT_EQ(real.list().text(rowOf(real.list(), "99"), kZiel), "-");
  EXPECT_FALSE(real.assignmentsMade());

  ui.chooseSaveFile(path("protokoll.pdf"));
  real.list().select(hand);
  real.AssignBib("99");
  EXPECT_EQ(ui.saveRequests.last().fileName,
            state.CompetitionFileName + "-Slalom_Riesenslalom-Handzeit_Ziel-StNr-99.pdf");
  PdfReader reader(path("protokoll.pdf"));
  EXPECT_EQ(reader.title(), "Handzeit-Ziel Start-Nr 99");
  const QStringList lines = reader.lineTexts(1);
  // Heading, ten rows from above, the racer's row, nothing below.
  ASSERT_EQ(lines.size(), 4 + 11 + 1);
  EXPECT_EQ(lines.mid(0, 3),
            QStringList({"Bezirkscup Riesenslalom", "07.12.2026 Slalom/Riesenslalom",
                         "Handzeitberechnung (Ziel) für Start-Nr. 99"}));
  EXPECT_TRUE(lines[4].startsWith("3 "));
  const PdfLine racer = reader.lines(1)[14];
  ASSERT_EQ(racer.words.size(), 6);
  QString bold;
  for (const PdfWord& w : racer.words) bold += w.bold() ? 'B' : '-';
  EXPECT_EQ(racer.words[0].text + bold, "99--BB-B");
  EXPECT_NEAR(racer.top(), 530 + 10 * 50, 2);
}

// tblZeit row by row, for comparing before and after.
QStringList Times(db::Connection& db) {
  QStringList rows;
  const db::Recordset rs = db.query(QStringLiteral(
      "select teilnehmer,durchgang,ergcode,start,ziel,netto from tblZeit order by 1,2"));
  for (int i = 0; i < rs.count(); ++i) {
    QStringList cells;
    for (int c = 0; c < 6; ++c) cells << rs.at(i, c).value().toString();
    rows << cells.join(QLatin1Char(';'));
  }
  return rows;
}

TEST_F(DayTimeTest, FinishTakeoverWritesTheMarkedRowsInOneTransaction) {
  ladder(3, 3, true);
  takeover.Takeover();
  EXPECT_EQ(ui.messageTexts(), QStringList{"Es ist keiner Startnummer eine Handzeit zugeordnet!"});
  assign(gapHand - 300, "51");
  assign(gapHand, "99");
  const QStringList before = Times(state.db());
  // A failing second statement (bib 99) leaves the file as it was, the list with its marks.
  state.db().execute(
      QStringLiteral("create trigger stop before update on tblZeit when "
                     "new.teilnehmer=4 begin select raise(abort,'gesperrt'); end"));
  EXPECT_FALSE(takeover.Takeover());
  EXPECT_EQ(Times(state.db()), before);
  EXPECT_EQ(marks(list(), rowOf(list(), "99")), "--BB-B--");
  state.db().execute(QStringLiteral("drop trigger stop"));

  const QString run = list().text(rowOf(list(), "99"), kRun);
  ASSERT_TRUE(takeover.Takeover());
  EXPECT_EQ(Times(state.db()).mid(0, 3), before.mid(0, 3));
  EXPECT_EQ(Times(state.db())[4], before[4]);  // bib 50, unmarked
  const db::Recordset rs = state.db().query(
      QStringLiteral("select ergcode,start,ziel,netto from tblZeit where teilnehmer=4"));
  EXPECT_EQ(rs.at(0, 0).toInt(), 0);
  EXPECT_NEAR(rs.at(0, 3).toDouble(), *ParseHandTime(run), 1e-15);
  EXPECT_DOUBLE_EQ(rs.at(0, 2).toDouble(), rs.at(0, 1).toDouble() + rs.at(0, 3).toDouble());
  EXPECT_FALSE(takeover.assignmentsMade());
  EXPECT_EQ(marks(list(), rowOf(list(), "99")), "--------");
}

// Bib 99 deleted meanwhile (by another copy of the program): the message names him, nothing
// is written (bib 51 neither), and the list keeps both assignments.
TEST_F(DayTimeTest, ATakeoverWhoseRacerIsGoneNamesHimAndKeepsTheAssignments) {
  ladder(3, 3, true);
  assign(gapHand - 300, "51");
  assign(gapHand, "99");
  state.db().execute(QStringLiteral("delete from tblZeit where teilnehmer=4"));
  const QStringList before = Times(state.db());
  ui.clear();
  EXPECT_FALSE(takeover.Takeover());
  EXPECT_EQ(ui.messageTexts(),
            QStringList{"Die Startnummer 99 ist in der Bewerbsdatei nicht mehr vorhanden "
                        "(inzwischen gelöscht?). Es wurden keine Zeiten übernommen."});
  EXPECT_EQ(Times(state.db()), before);
  EXPECT_EQ(marks(list(), rowOf(list(), "99")), "--BB-B--");
}

TEST_F(DayTimeTest, StartTakeoverByResultCodeKeepsADisqualification) {
  open(TimedRace({{1, At(10, 0, 0), At(10, 1, 0)},
                  {2, At(10, 0, 30), At(10, 1, 30)},
                  {3, 0, At(10, 2, 0), 0},
                  {4, 0, 0, 2},
                  {5, 0, At(10, 3, 0), 3}},
                 2));
  fill(state.HzStart,
       {At(10, 0, 0, 10), At(10, 0, 30, 20), At(10, 1, 5), At(10, 1, 10), At(10, 2, 0)});
  takeover.Build(HandMode::Start, 2);
  assign(At(10, 1, 5), "3");
  assign(At(10, 1, 10), "4");
  assign(At(10, 2, 0), "5");
  EXPECT_TRUE(takeover.Takeover());
  const db::Recordset rs = state.db().query(
      QStringLiteral("select ergcode,start,netto from tblZeit where durchgang=2 order by 1"));
  EXPECT_EQ(rs.at(2, 0).toInt(), 0);
  EXPECT_NEAR(rs.at(2, 1).toDouble(), *ParseHandTime("10:01:04,85"), 1e-15);
  EXPECT_NEAR(rs.at(2, 2).toDouble(), *ParseHandTime("00:00:55,15"), 1e-15);
  EXPECT_EQ(rs.at(3, 0).toInt(), 2);
  EXPECT_TRUE(rs.at(3, 2).isNull());
  EXPECT_EQ(rs.at(4, 0).toInt(), 3);
  // The rebuilt list shows the computed start, now paired with its hand time.
  EXPECT_EQ(row("3"), "3|10:01:04,85|10:02:00,00|00:00:55,15|10:01:05,00|0,15|10:01:04,85|3");
}

}  // namespace
}  // namespace kx::test
