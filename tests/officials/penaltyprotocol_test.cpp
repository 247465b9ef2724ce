#include "officials/penaltyprotocol.h"

#include "tests/officials/officialsfixture.h"
#include "tests/support/faults.h"

#include <QCheckBox>

namespace kx::test {
namespace {

class PenaltyTest : public OfficialsTest {
 protected:
  QString times() {  // every time row, to compare before and after an output
    const char* sql =
        "select group_concat(teilnehmer||ergcode||ifnull(start,'-')||ifnull(netto,'-')) "
        "from tblZeit";
    return state().db().scalar(sql).toString();
  }
};

// Women: best 45,65 by a "D", so the surcharge is R(1369.5) = 13,70 and P = R(5934.5) =
// 59,34. Men: nobody with a run time.
db::CompetitionSpec Example() {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer.clear();
  const struct {
    const char* sex;
    int ergcode;
    std::optional<qint64> time;
  } rows[] = {{"D", 0, 4565}, {"W", 0, 5934},  // best; equal to P: not listed
              {"W", 0, 5935}, {"W", 2, {}},    // one hundredth more; did not finish
              {"D", 3, {}},   {"W", 1, {}},    // disqualified; did not start: never
              {"W", 0, {}},   {"X", 0, 9000},  // no run time: no part; no group
              {"M", 2, {}}};                   // men without a finisher: nobody listed
  int id = 0;
  for (const auto& r : rows) {
    ++id;
    race.teilnehmer.push_back(Racer(id, r.sex, 10 - id));
    race.zeiten.push_back(Time(id, 1, r.ergcode, r.time, QString("Tor %1").arg(id)));
  }
  return race;
}

TEST(PenaltyRule, RoundsExactHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHundredths(4566.5), 4566);
  const PenaltyGroup g = PenaltyFromBest(4575);  // 1372.5 and 5947.5
  EXPECT_EQ(g.surcharge, 1372);
  EXPECT_EQ(g.penalty, 5948);
  EXPECT_EQ(PenaltyFromBest(4564.9999999).penalty, 5934);  // 45,65 as stored
  EXPECT_EQ(PenaltyTimeText(23999), "3:59,99");
}

TEST_F(PenaltyTest, WorkedExampleWrittenAndTakenOver) {
  openRace(Example());
  const PdfReader pdf = write("BearbeitenPenaltyProtokoll", "penalty.pdf");
  // The question says what will be written; the men have no best time and no line.
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"Wollen Sie wirklich die Penalty-Zeiten in die Bewerbsdatei übernehmen?"
                        "\r\n\r\n9 D: beste Zeit 0:45,65, Penalty-Zeit 0:59,34, 3 Laufzeiten "
                        "werden ersetzt\r\n\r\nAchtung: Diese Aktion kann nicht rückgängig "
                        "gemacht werden!"});
  EXPECT_EQ(ui().saveRequests.value(0).fileName, "Cup-PenaltyProtokoll-Riesenslalom-DG1.pdf");
  EXPECT_EQ(ui().viewerOpened, QStringList{out("penalty.pdf")});
  ASSERT_EQ(pdf.pageCount(), 1);

  const auto title = pdf.findLine("Penalty Protokoll Bezirkscup 1234");
  ASSERT_TRUE(title);
  EXPECT_EQ(QPoint(std::lround(title->left()), std::lround(title->top())), QPoint(130, 130));
  EXPECT_NEAR(pdf.findLine("PENALTY-REGEL plus 30% Zeitzuschlag")->top(), 290, 1);
  const auto penalty = pdf.findWord("0:59,34");
  EXPECT_NEAR(penalty->centerX(), (1680 + 2015) / 2.0, 1);
  EXPECT_NEAR(penalty->top(), 450, 1);
  EXPECT_TRUE(pdf.findWord("0:45,65") && pdf.findWord("0:13,70"));
  EXPECT_FALSE(pdf.findWord("Buben"));

  // Listed by bib: disqualified (5), did not finish (6), one hundredth slower (7).
  const auto heading = pdf.findWord("Mädchen");
  EXPECT_NEAR(heading->left(), 290, 1);
  QStringList listed;
  for (const PdfLine& line : pdf.lines(1))
    if (line.top() > heading->top() + 10 && line.top() < 2800) listed << line.text();
  EXPECT_EQ(listed, QStringList({"5 Racer5 Test 10 SC Musterdorf Dis Tor 5",
                                 "6 Racer4 Test 10 SC Musterdorf NiZ",
                                 "7 Racer3 Test 10 SC Musterdorf 0:59,35"}));
  const auto dis = pdf.findWord("Dis");
  EXPECT_NEAR(dis->top(), heading->top() + 53, 1);
  EXPECT_NEAR(pdf.findWord("NiZ")->top(), dis->top() + 43, 1);

  // Each listed racer now has P as his valid time; nobody else changed.
  EXPECT_EQ(state()
                .db()
                .scalar("select group_concat(teilnehmer) from tblZeit where ergcode=0 "
                        "and start is null and ziel is null and "
                        "netto*8640000 between 5933.99 and 5934.01")
                .toString(),
            "3,4,5");
  EXPECT_EQ(state().db().scalar("select disqualtext from tblZeit where teilnehmer=5").toString(),
            "Tor 5");
  EXPECT_EQ(ReadPenaltyData(state(), 1).listedCount(), 0);
}

TEST_F(PenaltyTest, AnswersAndFailuresThatChangeNothing) {
  openRace(Example());
  const QString before = times();
  trigger("BearbeitenPenaltyProtokoll");
  QLabel* result = label("PenaltyProtokoll_Meldung");
  ui().answerMessages({MsgAnswer::No});
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_TRUE(ui().saveRequests.isEmpty());
  EXPECT_EQ(result->text(), " ");

  ui().clear();
  ui().cancelNextSave();
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(result->text(), "PenaltyProtokoll nicht gespeichert");
  EXPECT_EQ(result->palette().color(QPalette::WindowText), QColor(255, 0, 0));

  ui().clear();
  QDir().mkpath(out("busy.pdf"));
  write("", "busy.pdf");
  EXPECT_TRUE(ui().messageTexts().last().endsWith("(ist vermutlich noch geöffnet)"));
  EXPECT_EQ(result->text(), " ");

  // A database error at the second update abandons the output: no protocol, nobody changed.
  state().db().execute(
      "create trigger fail before update on tblZeit when new.teilnehmer = 4 "
      "begin select raise(abort, 'Schreibfehler'); end");
  ui().clear();
  write("", "penalty.pdf");
  EXPECT_TRUE(ui().messageTexts().last().contains("Schreibfehler"));
  EXPECT_EQ(result->text(), "PenaltyProtokoll nicht gespeichert");
  EXPECT_FALSE(QFileInfo::exists(out("penalty.pdf")));
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_FALSE(state().db().inTransaction());
  EXPECT_EQ(times(), before);
}

// Another program reads the file while the times are taken over: the commit is refused, the
// earlier protocol stays and the message says why.
TEST_F(PenaltyTest, ARefusedCommitKeepsTheEarlierProtocol) {
  openRace(Example());
  const QString before = times();
  QFile earlier(out("penalty.pdf"));
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("%PDF- morning") > 0);
  earlier.close();
  const ForeignLock reader(state().db(), ForeignLock::Kind::Reading);
  trigger("BearbeitenPenaltyProtokoll");
  ui().chooseSaveFile(out("penalty.pdf"));
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_TRUE(ui().messageTexts().last().endsWith(
      "' wird gerade von einem anderen Programm verwendet.\nEs wurde nichts gespeichert.\n"
      "Bitte später nochmals versuchen."));
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), "%PDF- morning");
  EXPECT_EQ(QDir(dataDir()).entryList({"penalty*"}), QStringList{"penalty.pdf"});
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_EQ(label("PenaltyProtokoll_Meldung")->text(), "PenaltyProtokoll nicht gespeichert");
  EXPECT_EQ(times(), before);
}

// The share fails the protocol only at its close, after the times were written: they are
// rolled back with it, the earlier protocol stays and the line says nothing was saved.
TEST_F(PenaltyTest, AProtocolFailingAtItsCloseChangesNoTime) {
  openRace(Example());
  const QString before = times();
  QFile earlier(out("penalty.pdf"));
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("%PDF- morning") > 0);
  earlier.close();
  {
    const FailingClose share(EIO);
    write("BearbeitenPenaltyProtokoll", "penalty.pdf");
  }
  ASSERT_EQ(ui().messages.size(), 2);  // the question, then the failure
  EXPECT_EQ(ui().messages[1].text,
            FileWriteFailureText(out("penalty.pdf"), "Schreibfehler auf dem Datenträger"));
  ASSERT_TRUE(label("PenaltyProtokoll_Meldung"));
  EXPECT_EQ(label("PenaltyProtokoll_Meldung")->text(), "PenaltyProtokoll nicht gespeichert");
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), "%PDF- morning");
  EXPECT_FALSE(state().db().inTransaction());
  EXPECT_EQ(times(), before);
}

TEST_F(PenaltyTest, ListOverSeveralPages) {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer.clear();
  // 47 slow women fill the first page to its foot, where the men's heading would run into
  // the credit line: it starts the second page above its 60 rows.
  for (int id = 1; id <= 170; ++id) {
    race.teilnehmer.push_back(Racer(id, id <= 48 ? "W" : "M", id));
    const bool fastest = id == 1 || id == 49;
    race.zeiten.push_back(Time(id, 1, 0, fastest ? 4000 : (id <= 48 || id > 110 ? 9000 : 4100)));
  }
  openRace(race);
  trigger("BearbeitenPenaltyProtokoll");
  window().findChild<QCheckBox*>("PenaltyProtokoll_Zeitenaendern")->setChecked(false);
  const PdfReader pdf = write("", "long.pdf");
  ASSERT_EQ(pdf.pageCount(), 3);
  EXPECT_FALSE(pdf.findLine("PENALTY-REGEL", 2));
  const auto heading = pdf.findWord("Buben");
  ASSERT_TRUE(heading);
  EXPECT_EQ(heading->page, 2);
  EXPECT_NEAR(heading->top(), 340, 1);
  int rows = 0;
  for (const PdfWord& w : pdf.words()) {
    if (w.text != "1:30,00") continue;
    ++rows;
    EXPECT_LE(w.top(), 2791);
    EXPECT_GE(w.top(), w.page == 1 ? 740 : 339);
  }
  EXPECT_EQ(rows, 47 + 60);
}

}  // namespace
}  // namespace kx::test
