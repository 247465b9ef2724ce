#include "tests/results/resultsfixture.h"
#include "workpanel/menuentries.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace kx::test {
namespace {

class TeamListTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    db::CompetitionSpec race = EmptyRace();
    race.disziplinen[0].durchgaenge = 1;
    race.grpMannschaften = {{1, "Erste", 1}, {2, "Zweite", 2}};
    race.mannschaften = {{1, "Team A", 1, 1}, {2, "Team B/C", 2, 1}, {3, "Team D", 3, 2}};
    const struct {
      const char* name;
      int team;
      double time;
    } racers[] = {{"M1", 1, 4000}, {"W1", 1, 4200}, {"M2", 2, 4100},
                  {"W2", 2, 4300}, {"M3", 3, 4500}, {"W3", 3, 4600}};
    int id = 0;
    for (const auto& r : racers) {
      AddRacer(race, ++id, QString(r.name).left(1), 2, r.name).mannschaft = r.team;
      AddRun(race, id, 1, r.time);
    }
    openThroughMenu(writeCompetition("Cup.mdb", race));
    trigger(menu::BearbeitenMannschaftsergebnisliste);
    ASSERT_EQ(window().currentPanel(), "Mannschaftsergebnisliste");
    ASSERT_TRUE(title() && combo("MannschaftsergebnislisteGruppe") &&
                combo("MannschaftsergebnislisteAnzahl") && result());
  }
  QLineEdit* title() { return window().findChild<QLineEdit*>("MannschaftsergebnislisteTitel"); }
  QComboBox* combo(const char* name) { return window().findChild<QComboBox*>(name); }
  QString out() { return QDir(dataDir()).filePath("team.pdf"); }
  QLabel* result() { return window().findChild<QLabel*>("Mannschaftsergebnisliste_Meldung"); }
};

TEST_F(TeamListTest, EachTeamGroupStartsAPageWithRankOne) {
  EXPECT_EQ(title()->text(), "Mannschaftswertung");
  EXPECT_EQ(combo("MannschaftsergebnislisteGruppe")->currentText(), "Klasse");
  EXPECT_EQ(combo("MannschaftsergebnislisteAnzahl")->currentText(), "3");
  combo("MannschaftsergebnislisteGruppe")->setCurrentText("keine Unterteilung");
  combo("MannschaftsergebnislisteAnzahl")->setCurrentText("2");
  title()->setText("U12/U14");
  // Type 8 names its parallel slalom "Zovudo Vivurar" elsewhere, never in this title.
  state().Settings.typ = "8";
  state().DisciplineNames[2] = "Parallelslalom";
  GrabForLooking(window(), "mannschaftsergebnisliste-panel");
  ui().chooseSaveFile(out());
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(result()->text(), "Mannschaftsergebnisliste gespeichert unter: " + out());
  ASSERT_EQ(ui().saveRequests.size(), 1);
  EXPECT_EQ(ui().saveRequests[0].fileName, "Cup-U12_U14-Riesenslalom.pdf");
  KeepForLooking(out(), "mannschaftsergebnisliste.pdf");

  PdfReader pdf(out());
  ASSERT_EQ(pdf.pageCount(), 2);
  EXPECT_EQ(pdf.title(), "U12/U14 Cup Riesenslalom");
  EXPECT_TRUE(pdf.findLine("U12/U14", 1));
  EXPECT_EQ(pdf.findLine("Rang", 1)->text(), "Rang Stnr Teilnehmer JG VB Verein Total Diff");
  EXPECT_EQ(pdf.findLine("Team A", 1)->text(), "1. Erste / Team A 2,00");
  EXPECT_EQ(pdf.findLine("W1", 1)->text(), "2 W1 Vorname 12 AUT SC Verein2 42,00 2,00");
  EXPECT_EQ(pdf.findLine("Team B/C", 1)->text(), "2. Erste / Team B/C 4,00");
  EXPECT_EQ(pdf.findLine("Team D", 2)->text(), "1. Zweite / Team D 11,00");
}

TEST_F(TeamListTest, SettingsAndTeamGroupsAreCheckedBeforeTheDialog) {
  combo("MannschaftsergebnislisteAnzahl")->setEditText("7");
  QTest::keyClick(&window(), Qt::Key_F2);
  combo("MannschaftsergebnislisteAnzahl")->setCurrentText("1");
  QTest::keyClick(&window(), Qt::Key_F2);
  state().db().execute("update tblMannschaft set gruppe=null where id=3");
  combo("MannschaftsergebnislisteAnzahl")->setCurrentText("3");
  QTest::keyClick(&window(), Qt::Key_F2);
  ASSERT_EQ(ui().messages.size(), 3);
  EXPECT_EQ(ui().messages[0].text,
            "Bitte bei \"zu wertende Teilnehmer\" einen Eintrag aus der Liste wählen");
  EXPECT_TRUE(ui().messages[1].text.contains("Mindestanzahl weiblich"));
  EXPECT_EQ(ui().messages[2].text,
            "Bitte im Kandor alle Mannschaften einer Mannschaftsgruppe zuordnen");
  EXPECT_TRUE(ui().saveRequests.isEmpty());
  EXPECT_EQ(result()->text(), " ");

  state().db().execute("update tblMannschaft set gruppe=2 where id=3");
  expectCancelAndUnwritableFile("Mannschaftsergebnisliste_Meldung", "Mannschaftsergebnisliste",
                                QDir(dataDir()).filePath("busy.pdf"), false);
}

}  // namespace
}  // namespace kx::test
