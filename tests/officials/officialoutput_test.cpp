// The officials' documents written through their panels: the frame's outcomes, and the
// penalty write-back that is all or nothing.

#include "officials/penaltyprotocol.h"
#include "tests/officials/officialsfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTest>

namespace kx::test {
namespace {

class OfficialOutputTest : public AppFixture {
 protected:
  void openRace(const db::CompetitionSpec& race,
                const std::function<void(db::Connection&)>& prepare = {}) {
    const QString path = writeCompetition("Cup.mdb", race);
    if (prepare) prepare(*db::Connection::open(path));
    openThroughMenu(path);
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  }
  QString out(const QString& name) { return QDir(dataDir()).filePath(name); }
  QLabel* label(const QString& name) { return window().findChild<QLabel*>(name); }
  void press(Qt::Key key) { QTest::keyClick(&window(), key); }
  // The run-1 time rows as text, to compare before and after an output.
  QStringList times() {
    QStringList rows;
    const db::Recordset rs = state().db().query(
        "select teilnehmer,durchgang,ergcode,start,ziel,netto from tblZeit order by 1,2");
    for (int i = 0; i < rs.count(); ++i) {
      QStringList row;
      for (int c = 0; c < 6; ++c) row << rs.at(i, c).toString();
      rows << row.join(';');
    }
    return rows;
  }
  static QColor colour(QLabel* l) { return l->palette().color(QPalette::WindowText); }
};

// Women with a best time of 45,65 (P 59,34) and three racers to be listed; men with one.
db::CompetitionSpec PenaltyRace() {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer = {Racer(1, "W", 1), Racer(2, "W", 2), Racer(3, "W", 3),
                     Racer(4, "W", 4), Racer(5, "M", 5), Racer(6, "M", 6)};
  race.zeiten = {Time(1, 1, 0, 4565), Time(2, 1, 0, 6000),
                 Time(3, 1, 2, 7000), Time(4, 1, 3, 7000, QString("Tor 3")),
                 Time(5, 1, 0, 5000), Time(6, 1, 0, 8000)};
  return race;
}

TEST_F(OfficialOutputTest, PenaltyAnswersThatChangeNothing) {
  openRace(PenaltyRace());
  ASSERT_EQ(state().RunsWithTimes, 1);
  trigger("BearbeitenPenaltyProtokoll");
  EXPECT_EQ(window().currentPanel(), "PenaltyProtokoll");
  EXPECT_EQ(label("Label03")->text(), "1. Durchgang");
  EXPECT_EQ(label("PeProtBezVeranst")->text(), "Bezirkscup\r\nKinder");
  GrabForLooking(*window().panel(), "penalty-panel");
  const QStringList before = times();
  QLabel* result = label("PenaltyProtokoll_Meldung");

  ui().answerMessages({MsgAnswer::No});
  press(Qt::Key_F2);
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text, kPenaltyWriteBackQuestion);
  EXPECT_EQ(ui().messages[0].buttons, MsgButtons::YesNo);
  EXPECT_TRUE(ui().saveRequests.isEmpty());
  EXPECT_EQ(result->text(), " ");

  ui().clear();
  ui().cancelNextSave();
  press(Qt::Key_F2);
  EXPECT_EQ(result->text(), "PenaltyProtokoll nicht gespeichert");
  EXPECT_EQ(colour(result), QColor(255, 0, 0));
  EXPECT_EQ(ui().saveRequests.value(0).fileName, "Cup-PenaltyProtokoll-Riesenslalom-DG1.pdf");

  ui().clear();
  QDir().mkpath(out("busy.pdf"));
  ui().chooseSaveFile(out("busy.pdf"));
  press(Qt::Key_F2);
  EXPECT_EQ(ui().messages.size(), 2);
  EXPECT_EQ(result->text(), " ");

  // A database error at the second update: nobody changed, no protocol.
  state().db().execute(
      "create trigger fail_second before update on tblZeit when new.teilnehmer = 3 "
      "begin select raise(abort, 'Schreibfehler'); end");
  ui().clear();
  ui().chooseSaveFile(out("penalty.pdf"));
  press(Qt::Key_F2);
  EXPECT_EQ(result->text(), "PenaltyProtokoll nicht gespeichert");
  EXPECT_EQ(colour(result), QColor(255, 0, 0));
  EXPECT_TRUE(ui().messageTexts().last().contains("Schreibfehler"));
  EXPECT_FALSE(QFileInfo::exists(out("penalty.pdf")));
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_EQ(times(), before);
  EXPECT_FALSE(state().db().inTransaction());
}

TEST_F(OfficialOutputTest, PenaltyWrittenBackOnceTheDocumentIsWritten) {
  openRace(PenaltyRace());
  trigger("BearbeitenPenaltyProtokoll");
  ui().chooseSaveFile(out("penalty.pdf"));
  ui().onMessage = [&](const MessageRecord&) { EXPECT_TRUE(ui().viewerOpened.isEmpty()); };
  press(Qt::Key_F2);
  EXPECT_EQ(label("PenaltyProtokoll_Meldung")->text(),
            "PenaltyProtokoll gespeichert unter: " + out("penalty.pdf"));
  EXPECT_EQ(ui().viewerOpened, QStringList{out("penalty.pdf")});
  KeepForLooking(out("penalty.pdf"), "penalty-panel.pdf");
  const PdfReader pdf(out("penalty.pdf"));
  EXPECT_EQ(pdf.title(), "PenaltyProtokoll Cup Riesenslalom");
  EXPECT_TRUE(pdf.findWord("Buben"));
  EXPECT_TRUE(pdf.findWord("1:20,00"));
  const db::Recordset rs = state().db().query(
      "select teilnehmer from tblZeit where netto*8640000 between 5933.5 and 5934.5 or "
      "netto*8640000 between 6499.5 and 6500.5 order by 1");
  ASSERT_EQ(rs.count(), 4);  // 2, 3, 4 get 59,34; 6 gets 65,00
  EXPECT_EQ(rs.at(3, 0).toInt(), 6);
}

TEST_F(OfficialOutputTest, PenaltyListOverSeveralPages) {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer.clear();
  // 47 slow women fill the first page to its foot, where the men's heading would run into
  // the credit line: it starts the second page with its 60 rows.
  for (int id = 1; id <= 170; ++id) {
    const bool woman = id <= 48;
    race.teilnehmer.push_back(Racer(id, woman ? "W" : "M", id));
    const bool fastest = id == 1 || id == 49;
    race.zeiten.push_back(Time(id, 1, 0, fastest ? 4000 : (woman || id > 110 ? 9000 : 4100)));
  }
  openRace(race);
  trigger("BearbeitenPenaltyProtokoll");
  window().findChild<QCheckBox*>("PenaltyProtokoll_Zeitenaendern")->setChecked(false);
  ui().chooseSaveFile(out("long.pdf"));
  press(Qt::Key_F2);
  ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  KeepForLooking(out("long.pdf"), "penalty-long.pdf");
  const PdfReader pdf(out("long.pdf"));
  ASSERT_EQ(pdf.pageCount(), 3);
  EXPECT_FALSE(pdf.findLine("PENALTY-REGEL", 2));
  EXPECT_TRUE(pdf.findLine("DG 1", 2));
  const auto heading = pdf.findWord("Buben");
  ASSERT_TRUE(heading);
  EXPECT_EQ(heading->page, 2);
  EXPECT_NEAR(heading->top(), 340, 1);
  int rows = 0;
  for (int p = 1; p <= 3; ++p) {
    for (const PdfWord& w : pdf.wordsOnPage(p)) {
      if (w.text != "1:30,00") continue;
      ++rows;
      EXPECT_LE(w.top(), 2790 + 1);
      EXPECT_GE(w.top(), p == 1 ? 600 : 340 - 1);
    }
  }
  EXPECT_EQ(rows, 47 + 60);
}

TEST_F(OfficialOutputTest, RefereeProtocolTwoRunsAndNoEventRow) {
  db::CompetitionSpec race = SmallCompetition();
  race.zeiten = {Time(1, 1, 1, std::nullopt), Time(2, 2, 2, std::nullopt), Time(3, 1, 0, 5000),
                 Time(3, 2, 0, 5000)};
  openRace(race);
  trigger("BearbeitenSchiedsrichterprotokoll");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Schiedsrichterprotokoll");
  GrabForLooking(*window().panel(), "referee-panel");
  ui().chooseSaveFile(out("sr.pdf"));
  press(Qt::Key_F2);
  EXPECT_EQ(ui().viewerOpened, QStringList{out("sr.pdf")});
  const PdfReader pdf(out("sr.pdf"));
  ASSERT_EQ(pdf.pageCount(), 2);
  EXPECT_EQ(pdf.title(), "Schiedsrichterprotokoll Cup Riesenslalom");
  EXPECT_TRUE(pdf.findLine("DG 2", 2));
  EXPECT_NEAR(pdf.findWords("1", 1).last().top(), 360, 1);  // not started in run 1
  EXPECT_NEAR(pdf.findWords("2", 2).last().top(), 640, 1);  // not finished in run 2

  state().db().execute("delete from tblDisziplin where dtyp = 2");
  ui().clear();
  ui().chooseSaveFile(out("sr.pdf"));
  press(Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts(), QStringList{"Keine Daten gefunden!"});
  EXPECT_EQ(ui().messages.value(0).title, "Achtung");
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_EQ(label("Schiedsrichterprotokoll_Meldung")->text(),
            "Schiedsrichterprotokoll gespeichert unter: " + out("sr.pdf"));
  EXPECT_EQ(PdfReader(out("sr.pdf")).pageCount(), 1);
  press(Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
}

TEST_F(OfficialOutputTest, GateJudgeCardVariantsFromThePanel) {
  openRace(SmallCompetition());
  trigger("BearbeitenTorrichterkarte");
  auto* variant = window().findChild<QComboBox*>("Torrichterkarteart");
  ASSERT_TRUE(variant);
  EXPECT_EQ(variant->currentIndex(), 0);
  EXPECT_EQ(variant->count(), 2);
  GrabForLooking(*window().panel(), "card-panel");

  ui().chooseSaveFile(out("card.pdf"));
  press(Qt::Key_F2);
  EXPECT_EQ(ui().saveRequests.value(0).fileName, "Cup-Torrichterkarte-Riesenslalom.pdf");
  PdfReader pdf(out("card.pdf"));
  EXPECT_EQ(pdf.title(), "Torrichterkarte Cup Riesenslalom");
  EXPECT_NEAR(pdf.pageSize(1).width(), 2970, 2);
  EXPECT_TRUE(pdf.findLine("Anweisungen für Torrichter"));
  EXPECT_TRUE(pdf.findWord("Bezirkscup"));
  EXPECT_FALSE(pdf.findWord("Kinder"));  // the event name's second line

  variant->setEditText("x");
  ui().chooseSaveFile(out("card.pdf"));
  press(Qt::Key_F2);
  pdf = PdfReader(out("card.pdf"));
  EXPECT_EQ(pdf.findWords("Torrichterkarte").size(), 1);
  EXPECT_FALSE(pdf.findLine("Anweisungen für Torrichter"));
  EXPECT_EQ(label("Torrichterkarte_Meldung")->text(),
            "Torrichterkarte gespeichert unter: " + out("card.pdf"));
}

}  // namespace
}  // namespace kx::test
