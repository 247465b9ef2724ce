#include "tests/results/resultsfixture.h"
#include "workpanel/menuentries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace kx::test {
namespace {

class ParticipantDataTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    db::CompetitionSpec race = EmptyRace();
    // Giant slalom and slalom: Ärger fastest in both; Berger second; Cerny not in the slalom.
    const struct {
      const char* name;
      const char* sex;
      double gs;
      std::optional<double> sl;
    } racers[] = {
        {"Ärger", "M", 4567, 5000}, {"Berger", "W", 4600, 5100}, {"Cerny", "M", 4500, {}}};
    int id = 0;
    for (const auto& r : racers) {
      db::TeilnehmerSpec& t = AddRacer(race, ++id, r.sex, 2, r.name);
      t.disziplinen[3] = {r.sl.has_value(), id, 9999.99, 9999.99};
      if (id == 2) t.verein.reset();
      AddRun(race, id, 1, r.gs);
      if (r.sl) {
        AddRun(race, id, 1, *r.sl);
        race.zeiten.back().disziplin = 3;
      }
    }
    for (auto& d : race.disziplinen) d.durchgaenge = 1;
    openThroughMenu(writeCompetition("Cup.mdb", race));
    trigger(menu::DisziplinKombination);
    trigger(menu::BearbeitenTeilnehmerdaten);
    ASSERT_EQ(window().currentPanel(), "Teilnehmerdaten");
  }
  QCheckBox* box(const char* name) { return window().findChild<QCheckBox*>(name); }
  QComboBox* combo(const char* name) { return window().findChild<QComboBox*>(name); }
  QString out() { return QDir(dataDir()).filePath("daten.txt"); }
  QByteArray exported() {
    QFile f(out());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
};

TEST_F(ParticipantDataTest, ExportsRunTimesAndRacePointsByteForByte) {
  EXPECT_TRUE(box("TnDatenDisRS")->isChecked());
  EXPECT_TRUE(box("TnDatenDisSL")->isChecked());
  EXPECT_FALSE(box("TnDatenDisDH")->isEnabled());
  EXPECT_EQ(combo("TnDatenBerechnenPro")->currentText(), "Kategorie");
  combo("TnDatenAuswertungnach")->setCurrentIndex(0);
  EXPECT_FALSE(combo("TnDatenBerechnenNach")->isEnabled());
  GrabForLooking(window(), "teilnehmerdaten-panel");

  ui().chooseSaveFile(out());
  QTest::keyClick(&window(), Qt::Key_F2);
  ASSERT_EQ(ui().saveRequests.size(), 1);
  EXPECT_EQ(ui().saveRequests.at(0).fileName, "Cup-Daten-Kombination.txt");
  EXPECT_EQ(window().findChild<QLabel*>("TnDaten_Meldung")->text(),
            "Teilnehmerdaten gespeichert unter: " + out());
  EXPECT_EQ(
      exported(),
      QByteArray(
          "Idnr\tName\tKateg\tJG\tVerein\tZeit-GS\tZeit-SL\tTotal\tKlasse\r\n"
          "1\t\xC4rger, Vorname\tM\t2012\tSC Verein1\t0:45,67\t0:50,00\t1:35,67\tKinder "
          "m\xE4nnlich\r\n"
          "2\tBerger, Vorname\tW\t2012\t\t0:46,00\t0:51,00\t1:37,00\tKinder m\xE4nnlich\r\n"));

  combo("TnDatenAuswertungnach")->setCurrentIndex(1);
  ui().chooseSaveFile(out());
  QTest::keyClick(&window(), Qt::Key_F2);
  // Per category: each of them leads his own.
  EXPECT_TRUE(exported().contains("\tPkte-GS\tPkte-SL\tRennPkte\t"));
  EXPECT_TRUE(exported().contains("\t0,00\t0,00\t0,00\t"));
}

TEST_F(ParticipantDataTest, RefusesOneDisciplineAndAnUnwritableFileWithoutTouchingAnything) {
  box("TnDatenDisSL")->setChecked(false);
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts(), QStringList("Bitte mindestens 2 Disziplinen auswählen"));
  EXPECT_TRUE(ui().saveRequests.isEmpty());

  box("TnDatenDisSL")->setChecked(true);
  ui().clear();
  ui().cancelNextSave();
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(window().findChild<QLabel*>("TnDaten_Meldung")->text(),
            "Teilnehmerdaten nicht gespeichert");

  // A file that cannot be written (here a folder of that name): the message, no points.
  const QString busy = QDir(dataDir()).filePath("busy.txt");
  ASSERT_TRUE(QDir().mkpath(busy));
  ui().chooseSaveFile(busy);
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts(),
            QStringList(busy + "\nkann nicht ausgegeben werden\n(ist vermutlich durch anderen "
                               "Prozess belegt)"));
  EXPECT_EQ(state().db().scalar("select max(rpktegs) from tblTeilnehmer").toDouble(), 9999.99);
}

}  // namespace
}  // namespace kx::test
