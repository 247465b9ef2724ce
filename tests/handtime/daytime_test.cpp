// The takeover by time of day on its row model: the merge, the reference texts, the checks
// and neighbour walks of an assignment, undo, and the takeover read back from tblZeit.
#include "devices/handtimetext.h"
#include "handtime/daytimetakeover.h"
#include "handtime/handtimeprotocol.h"
#include "tests/handtime/handtimefixture.h"
#include "tests/support/appfixture.h"
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
      requests.push_back(r);
      usedBibs.push_back({list().text(r.firstUsedRow, kBib), list().text(r.lastUsedRow, kBib)});
      return ProtocolOutcome::Cancelled;
    };
  }
  // Racers 1..n, 30 s apart, each with a run of 60 s and a finish hand time i hundredths
  // late; bib 99 started `gapAfter` racers in and has no finish, its hand time 15 s after
  // the finish of racer `gapAfter`.
  // With `skips`, bib 50 finished 7 s before that hand time without a hand time of his own,
  // and bib 51 has none of his finish but a hand time 3 s before it.
  void ladder(int n, int gapAfter, bool skips = false) {
    std::vector<Timed> racers;
    std::vector<qint64> hand;
    for (int i = 1; i <= n; ++i) {
      const qint64 start = At(10, 0, 0) + i * 3000;
      racers.push_back({i, start, start + 6000});
      hand.push_back(start + 6000 + i);
    }
    gapHand = At(10, 0, 0) + gapAfter * 3000 + 6000 + 1500;
    racers.push_back({99, gapHand - 6000, 0, 2});
    hand.push_back(gapHand);
    if (skips) {
      racers.push_back({50, gapHand - 6700, gapHand - 700});
      racers.push_back({51, gapHand - 6300, 0, 2});
      hand.push_back(gapHand - 300);
    }
    open(TimedRace(racers));
    fill(state.HzZiel, hand);
    ASSERT_TRUE(takeover.Build(HandMode::Ziel, 1));
  }
  void selectHand(qint64 hundredths) {
    takeover.list().select(rowOfHand(takeover.list(), Text(hundredths), kHand));
  }
  HandRowModel& list() { return takeover.list(); }

  DayTimeTakeover takeover{state};
  std::vector<DayTimeProtocolRequest> requests;
  std::vector<std::pair<QString, QString>> usedBibs;  // bibs of the first and last used rows
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
  ASSERT_TRUE(takeover.Build(HandMode::Ziel, 1));

  EXPECT_EQ(column(list(), kBib), QStringList({"1", "3", "-", "2", "-", "4", "-"}));
  EXPECT_EQ(column(list(), kHand), QStringList({"10:00:58,00", "10:01:30,05", "10:01:30,50", "-",
                                                "10:01:42,00", "-", "10:05:00,00"}));
  EXPECT_EQ(column(list(), kDiff), QStringList({"-2,00", "0,05", " ", " ", " ", " ", " "}));
  // Bib 4 sorts at his start plus the mean of the three valid runs (53.33 s).
  EXPECT_EQ(list().text(5, kSort), "10:02:23,33");
  EXPECT_EQ(list().text(0, kRun), "00:01:00,00");
  EXPECT_EQ(list().text(5, kZiel), "-");
  EXPECT_EQ(list().text(2, kId), "0");
  EXPECT_EQ(list().text(0, kId), "1");
  EXPECT_EQ(takeover.rows(), 7);
  EXPECT_EQ(takeover.lastKey(), 7);
}

TEST_F(DayTimeTest, ReferenceTextsWithoutValidResultsAndWithoutRacers) {
  // Finish mode with no valid result: a racer with a start only sorts first ("-").
  open(TimedRace({{1, At(10, 0, 0), 0, 2}, {2, 0, At(10, 2, 0), 2}, {3, 0, 0, 1}}));
  fill(state.HzStart, {At(9, 59, 59)});
  fill(state.HzZiel, {});
  takeover.Build(HandMode::Ziel, 1);
  EXPECT_EQ(column(list(), kSort), QStringList({"-", "-", "10:02:00,00"}));
  // Start mode: a racer with a finish and no start sorts at his finish.
  takeover.Build(HandMode::Start, 1);
  EXPECT_EQ(column(list(), kBib), QStringList({"3", "1", "2"}));
  EXPECT_EQ(column(list(), kSort), QStringList({"-", "10:00:00,00", "10:02:00,00"}));
  EXPECT_EQ(list().text(1, kDiff), "-1,00");

  // No racers in run 2: every hand time of a full store gets its own row.
  std::vector<qint64> many;
  for (int i = 0; i < 2000; ++i) many.push_back(At(11, 0, 0) + 2000 - i);
  fill(state.HzStart, many);
  takeover.Build(HandMode::Start, 2);
  EXPECT_EQ(takeover.rows(), 2000);
  EXPECT_EQ(list().text(0, kHand), Text(At(11, 0, 0) + 1));
  EXPECT_EQ(list().text(1999, kHand), Text(At(11, 0, 0) + 2000));
}

TEST_F(DayTimeTest, DifferenceComesFromTheShownTexts) {
  open(TimedRace({{1, At(9, 59, 0), At(10, 0, 0)}}));
  state.db().execute(QStringLiteral("update tblZeit set ziel=?"), {36000.009 / 86400.0});
  state.HzZiel = {{36000.126 / 86400.0}};
  takeover.Build(HandMode::Ziel, 1);
  EXPECT_EQ(list().text(0, kZiel), "10:00:00,00");
  EXPECT_EQ(list().text(0, kHand), "10:00:00,13");
  EXPECT_EQ(list().text(0, kDiff), "0,13");
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
  selectHand(At(10, 1, 50));
  EXPECT_EQ(tryBib(" 3"),
            "Startnummer  3 nicht vorhanden (evtl. zuerst Ausscheidungen bearbeiten)");
  EXPECT_EQ(tryBib("2"), "Bitte der Startnummer 2 zuerst die Startzeit zuordnen!");
  EXPECT_EQ(tryBib("3"), "Die Handzeit liegt vor der Startzeit!");
  EXPECT_EQ(takeover.rows(), 5);
  EXPECT_TRUE(requests.empty());

  // Bib 1 already has his finish time: a plain pairing, no mark, no protocol.
  EXPECT_EQ(tryBib("1"), "");
  EXPECT_EQ(list().text(rowOf(list(), "1"), kHand), "10:01:50,00");
  EXPECT_EQ(list().text(rowOf(list(), "1"), kDiff), "50,00");
  EXPECT_FALSE(list().cell(rowOf(list(), "1"), kDiff).bold);
  EXPECT_FALSE(takeover.assignmentsMade());
  EXPECT_EQ(takeover.rows(), 4);
}

TEST_F(DayTimeTest, ReplacementFromTheMeanOfItsNeighbours) {
  open(TimedRace({{1, At(10, 0, 30), At(10, 1, 30)},
                  {2, At(10, 1, 0), At(10, 2, 0)},
                  {3, At(10, 1, 30), At(10, 2, 30)},
                  {4, At(10, 1, 20), 0, 2}}));
  fill(state.HzZiel, {At(10, 1, 30, 10), At(10, 2, 0, 20), At(10, 2, 30, 25), At(10, 2, 15)});
  takeover.Build(HandMode::Ziel, 1);
  selectHand(At(10, 2, 15));
  takeover.AssignBib("4");
  const int row = rowOf(list(), "4");
  EXPECT_EQ(list().text(row, kDiff), "0,18");  // 18.33 hundredths
  EXPECT_EQ(list().text(row, kZiel), "10:02:14,82");
  EXPECT_EQ(list().text(row, kRun), "00:00:54,82");
  EXPECT_EQ(list().text(row, kHand), "10:02:15,00");
  for (int c : {kZiel, kRun, kDiff}) {
    EXPECT_TRUE(list().cell(row, c).bold);
    EXPECT_EQ(list().cell(row, c).color, kMarkColor);
  }
  EXPECT_FALSE(list().cell(row, kHand).bold);
  EXPECT_TRUE(takeover.assignmentsMade());
  EXPECT_EQ(rowOfHand(list(), "10:02:15,00", kHand), -1);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].bib, "4");
  EXPECT_EQ(requests[0].firstUsedRow, 0);
}

TEST_F(DayTimeTest, WalkTakesTheTenNearestAboveAndSkipsBlankAndMarkedRows) {
  // A finished racer without a hand time and an earlier replacement lie just above.
  ladder(12, 12, true);
  selectHand(gapHand - 300);
  takeover.AssignBib("51");
  selectHand(gapHand);
  takeover.AssignBib("99");
  ASSERT_EQ(requests.size(), 2u);
  // Differences 3..12 hundredths: the ten nearest above, none below.
  const int row = rowOf(list(), "99");
  EXPECT_EQ(list().text(row, kDiff), "0,08");
  EXPECT_EQ(usedBibs[1].first, "3");
  EXPECT_EQ(requests[1].lastUsedRow, list().count());  // the hand-time row is gone since
}

TEST_F(DayTimeTest, WalkFillsUpFromBelowAndNeedsOnePair) {
  ladder(23, 3);
  selectHand(gapHand);
  takeover.AssignBib("99");
  // Above 1, 2, 3; below the nearest seven, 4..10: 55 / 10 hundredths.
  EXPECT_EQ(list().text(rowOf(list(), "99"), kDiff), "0,06");
  EXPECT_EQ(usedBibs[0].first, "1");
  EXPECT_EQ(usedBibs[0].second, "10");

  open(TimedRace({{1, At(10, 0, 0), 0, 2}}));
  fill(state.HzZiel, {At(10, 1, 0)});
  takeover.Build(HandMode::Ziel, 1);
  list().select(rowOfHand(list(), "10:01:00,00", kHand));
  ui.clear();
  takeover.AssignBib("1");
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
  selectHand(At(10, 0, 55));
  const HandRowModel::Snapshot before = list().snapshot();
  takeover.AssignBib("3");
  EXPECT_EQ(ui.messageTexts(),
            QStringList{"Die berechnete Startzeit 10:00:54,95 liegt nicht vor der Zielzeit!"});
  ASSERT_EQ(list().count(), static_cast<int>(before.rows.size()));
  for (int i = 0; i < list().count(); ++i) EXPECT_EQ(list().key(i), before.rows[i].key);
  EXPECT_EQ(list().text(rowOf(list(), "3"), kStart), "-");
  EXPECT_TRUE(requests.empty());
}

TEST_F(DayTimeTest, UndoGivesTheHandTimeItsRowBackUnderANewKey) {
  ladder(3, 3);
  selectHand(gapHand);
  takeover.AssignBib("99");
  const int row = rowOf(list(), "99");
  list().select(row);
  takeover.Undo();
  EXPECT_EQ(list().text(rowOf(list(), "99"), kZiel), "-");
  EXPECT_EQ(list().text(rowOf(list(), "99"), kDiff), " ");
  EXPECT_FALSE(list().cell(rowOf(list(), "99"), kDiff).bold);
  const int restored = rowOfHand(list(), Text(gapHand), kHand);
  ASSERT_GE(restored, 0);
  EXPECT_EQ(list().key(restored), "6N");
  EXPECT_EQ(std::abs(restored - rowOf(list(), "99")), 1);
  EXPECT_EQ(takeover.lastKey(), 6);

  ui.clear();
  list().select(rowOf(list(), "99"));
  takeover.Undo();  // a second undo of the same row
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
  const auto hand = rowOfHand(real.list(), Text(gapHand), kHand);
  real.list().select(hand);
  const HandRowModel::Snapshot before = real.list().snapshot();

  // A directory of the chosen name cannot be written: the list stays as it was.
  ui.chooseSaveFile(path(""));
  real.AssignBib("99");
  EXPECT_TRUE(
      ui.messageTexts().value(0).endsWith("kann nicht ausgegeben werden\n(ist vermutlich "
                                          "noch geöffnet)"));
  ASSERT_EQ(real.list().count(), static_cast<int>(before.rows.size()));
  for (int i = 0; i < real.list().count(); ++i) {
    EXPECT_EQ(real.list().key(i), before.rows[i].key);
    EXPECT_EQ(real.list().text(i, kZiel), before.rows[i].cells[kZiel].text);
  }
  EXPECT_FALSE(real.assignmentsMade());

  const QString pdf = path("protokoll.pdf");
  ui.chooseSaveFile(pdf);
  real.list().select(hand);
  real.AssignBib("99");
  EXPECT_TRUE(real.assignmentsMade());
  EXPECT_EQ(ui.saveRequests.last().fileName,
            state.CompetitionFileName + "-Slalom_Riesenslalom-Handzeit_Ziel-StNr-99.pdf");
  PdfReader reader(pdf);
  ASSERT_TRUE(reader.isValid());
  EXPECT_EQ(reader.title(), "Handzeit-Ziel Start-Nr 99");
  const QStringList lines = reader.lineTexts(1);
  EXPECT_EQ(lines.mid(0, 3),
            QStringList({"Bezirkscup Riesenslalom", "07.12.2026 Slalom/Riesenslalom",
                         "Handzeitberechnung (Ziel) für Start-Nr. 99"}));
  // Ten rows above and the racer's row, nothing below.
  ASSERT_EQ(lines.size(), 4 + 11 + 1);
  EXPECT_TRUE(lines[4].startsWith("3 "));
  const QList<PdfLine> pageLines = reader.lines(1);
  const auto racer = std::find_if(pageLines.begin(), pageLines.end(),
                                  [](const PdfLine& l) { return l.words[0].text == "99"; });
  ASSERT_NE(racer, pageLines.end());
  ASSERT_EQ(racer->words.size(), 6) << racer->text().toStdString();
  for (int w : {2, 3, 5}) EXPECT_TRUE(racer->words[w].bold()) << w;
  for (int w : {0, 1, 4}) EXPECT_FALSE(racer->words[w].bold()) << w;
  EXPECT_NEAR(racer->top(), 530 + 10 * 50, 2);
  KeepForLooking(pdf, "daytime-protocol");
}

// tblZeit as text, row by row, for comparing before and after.
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

TEST_F(DayTimeTest, FinishTakeoverWritesTheMarkedRowInOneTransaction) {
  ladder(3, 3);
  ui.clear();
  takeover.Takeover();
  EXPECT_EQ(ui.messageTexts(), QStringList{"Es ist keiner Startnummer eine Handzeit zugeordnet!"});

  selectHand(gapHand);
  takeover.AssignBib("99");
  const QStringList before = Times(state.db());
  const QString run = list().text(rowOf(list(), "99"), kRun);
  // A failing statement leaves the file as it was and the list with its marks.
  state.db().execute(
      QStringLiteral("create trigger stop before update on tblZeit "
                     "begin select raise(abort,'gesperrt'); end"));
  EXPECT_FALSE(takeover.Takeover());
  EXPECT_EQ(Times(state.db()), before);
  EXPECT_TRUE(list().cell(rowOf(list(), "99"), kZiel).bold);
  EXPECT_TRUE(takeover.assignmentsMade());
  state.db().execute(QStringLiteral("drop trigger stop"));

  EXPECT_TRUE(takeover.Takeover());
  const QStringList after = Times(state.db());
  EXPECT_EQ(after.mid(0, 3), before.mid(0, 3));
  const db::Recordset rs = state.db().query(
      QStringLiteral("select ergcode,start,ziel,netto from tblZeit where teilnehmer=4"));
  EXPECT_EQ(rs.at(0, 0).toInt(), 0);
  EXPECT_NEAR(rs.at(0, 3).toDouble(), *ParseHandTime(run), 1e-15);
  EXPECT_DOUBLE_EQ(rs.at(0, 2).toDouble(), rs.at(0, 1).toDouble() + rs.at(0, 3).toDouble());
  EXPECT_FALSE(takeover.assignmentsMade());
  EXPECT_FALSE(list().cell(rowOf(list(), "99"), kZiel).bold);
  EXPECT_EQ(list().text(rowOf(list(), "99"), kZiel), FormatHandTime(rs.at(0, 2).toDouble(), "cut"));
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
  for (auto [bib, hand] :
       {std::pair{"3", At(10, 1, 5)}, {"4", At(10, 1, 10)}, {"5", At(10, 2, 0)}}) {
    selectHand(hand);
    takeover.AssignBib(bib);
  }
  const QString start3 = list().text(rowOf(list(), "3"), kStart);
  EXPECT_EQ(start3, "10:01:04,85");
  EXPECT_TRUE(takeover.Takeover());
  const db::Recordset rs = state.db().query(QStringLiteral(
      "select teilnehmer,ergcode,start,ziel,netto from tblZeit where durchgang=2 order by 1"));
  EXPECT_EQ(rs.at(2, 1).toInt(), 0);
  EXPECT_NEAR(rs.at(2, 2).toDouble(), *ParseHandTime(start3), 1e-15);
  EXPECT_NEAR(rs.at(2, 4).toDouble(), *ParseHandTime("00:00:55,15"), 1e-15);
  EXPECT_EQ(rs.at(3, 1).toInt(), 2);
  EXPECT_TRUE(rs.at(3, 4).isNull());
  EXPECT_EQ(rs.at(4, 1).toInt(), 3);
  // The rebuilt list shows the computed start.
  EXPECT_EQ(list().text(rowOf(list(), "3"), kStart), start3);
  EXPECT_EQ(list().text(rowOf(list(), "3"), kHand), "10:01:05,00");
}

}  // namespace
}  // namespace kx::test
