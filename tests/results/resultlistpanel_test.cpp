#include "tests/results/resultsfixture.h"
#include "workpanel/menuentries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace kx::test {
namespace {

class ResultListPanelTest : public AppFixture {
 protected:
  QComboBox* combo(const char* name) { return window().findChild<QComboBox*>(name); }
  QStringList items(const char* name) {
    QStringList out;
    for (int i = 0; i < combo(name)->count(); ++i) out << combo(name)->itemText(i);
    return out;
  }
};

TEST_F(ResultListPanelTest, OffersTheTimedRunsAndDivisionsAndWritesTheListOnF2) {
  db::CompetitionSpec race = SmallCompetition();
  race.disziplinen[0].datum_rangliste = QDate(2027, 1, 18);
  for (int id = 1; id <= 6; ++id) {
    AddRun(race, id, 1, 4000 + id, id == 2 ? 1 : 0);
    AddRun(race, id, 2, 4000 + id, id == 2 ? 1 : 0);
  }
  openThroughMenu(writeCompetition("Cup.mdb", race));
  trigger(menu::BearbeitenErgebnisliste);
  ASSERT_EQ(window().currentPanel(), "Ergebnisliste");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Ergebnisliste");
  EXPECT_EQ(window().findChild<QLabel*>("ErgebnislisteDatumVeranst")->text(), "18.01.2027");
  EXPECT_EQ(items("EL_Durchgang"), QStringList({"Gesamtliste", "1", "2"}));
  EXPECT_EQ(items("ErgebnislisteGruppe"),
            QStringList({"keine Unterteilung", "Klasse", "Gruppe", "Kategorie"}));
  EXPECT_EQ(combo("ErgebnislisteGruppe")->currentText(), "Klasse");
  // Type-ahead: "2" picks run 2, "g" in the division picks "Gruppe".
  combo("EL_Durchgang")->lineEdit()->selectAll();
  QTest::keyClicks(combo("EL_Durchgang")->lineEdit(), "2");
  EXPECT_EQ(combo("EL_Durchgang")->currentText(), "2");
  combo("ErgebnislisteGruppe")->lineEdit()->selectAll();
  QTest::keyClicks(combo("ErgebnislisteGruppe")->lineEdit(), "g");
  EXPECT_EQ(combo("ErgebnislisteGruppe")->currentText(), "Gruppe");
  window().findChild<QCheckBox*>("Ergebnisliste_NAS_nichtausgeben")->setChecked(true);
  GrabForLooking(window(), "ergebnisliste-panel");

  const QString out = QDir(dataDir()).filePath("ergebnis.pdf");
  ui().chooseSaveFile(out);
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(window().findChild<QLabel*>("Ergebnisliste_Meldung")->text(),
            "Ergebnisliste gespeichert unter: " + out);
  PdfReader pdf(out);
  EXPECT_TRUE(pdf.findLine("ERGEBNISLISTE 2. Durchgang"));
  EXPECT_TRUE(pdf.findLine("Kinder"));
  EXPECT_FALSE(pdf.findLine("Nicht am Start"));
  EXPECT_EQ(pdf.findLine("Gemeldete")->text(), "Gemeldete Teilnehmer: 5");

  expectCancelAndUnwritableFile("Ergebnisliste_Meldung", "Ergebnisliste",
                                QDir(dataDir()).filePath("busy.pdf"), true);
  QTest::keyClick(&window(), Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_FALSE(window().findChild<QWidget*>("EL_Durchgang"));
}

TEST_F(ResultListPanelTest, WithoutClassesTheCategoryComesFirstAndRanksByTheRacersOwnLetter) {
  db::CompetitionSpec race = SmallCompetition();
  for (auto& t : race.teilnehmer) t.klasse.reset();
  for (int id = 1; id <= 6; ++id) AddRun(race, id, 1, 4000 + id);
  openThroughMenu(writeCompetition("Cup.mdb", race));
  trigger(menu::BearbeitenErgebnisliste);
  EXPECT_EQ(items("EL_Durchgang"), QStringList({"Gesamtliste", "1"}));
  EXPECT_EQ(items("ErgebnislisteGruppe"),
            QStringList({"keine Unterteilung", "Kategorie", "Klasse"}));
  EXPECT_EQ(combo("ErgebnislisteGruppe")->currentText(), "Kategorie");
  combo("EL_Durchgang")->setCurrentIndex(1);
  const QString out = QDir(dataDir()).filePath("ergebnis.pdf");
  ui().chooseSaveFile(out);
  QTest::keyClick(&window(), Qt::Key_F2);
  PdfReader pdf(out);
  EXPECT_TRUE(pdf.findLine("Damen"));
  EXPECT_TRUE(pdf.findLine("Herren"));
  EXPECT_EQ(pdf.findLine("Gewertete")->text(), "Gewertete Teilnehmer: 6");
}

}  // namespace
}  // namespace kx::test
