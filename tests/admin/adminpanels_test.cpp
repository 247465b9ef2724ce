// The administration panels through the menu, their controls and real keys.

#include "tests/support/appfixture.h"
#include "tests/support/faults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kx::test {
namespace {

class AdminPanelTest : public AppFixture {
 protected:
  template <class W>
  W* control(const QString& name) {
    return window().findChild<W*>(name);
  }
  db::Connection& db() { return state().db(); }
  void key(int k) { QTest::keyClick(window().panel(), static_cast<Qt::Key>(k)); }
};

TEST_F(AdminPanelTest, TypeChangeByTypeAheadAndF2) {
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  trigger("BearbeitenBewerbstyp");
  auto* combo = control<QComboBox>("Bewerbstyp");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->currentIndex(), 4);
  GrabForLooking(window(), "bewerbstyp");
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), "r");
  EXPECT_EQ(combo->currentText(), "Rodeln (Punkte)");
  combo->setCurrentIndex(2);
  key(Qt::Key_F2);
  EXPECT_EQ(window().currentPanel(), "");
  EXPECT_EQ(state().Settings.typ, "2");
  EXPECT_EQ(db().scalar("select typ from tblBewerb").toInt(), 2);
  EXPECT_EQ(db().scalar("select bewerbsnummer from tblDisziplin where dtyp=3").toString(),
            "MB77DH");
  EXPECT_TRUE(enabled("SR_Bericht_anzeigen"));
}

TEST_F(AdminPanelTest, DeletionAsksAndFollowsWithTheMenus) {
  const QString cup = writeCompetition("Cup.mdb", SmallCompetition());
  openThroughMenu(cup);
  ASSERT_TRUE(enabled("TeilnehmerLoeschen"));
  EXPECT_FALSE(enabled("Finalteilnehmer"));
  trigger("TeilnehmerLoeschen");
  auto* heading = control<QLabel>("Label01");
  ASSERT_NE(heading, nullptr);
  EXPECT_EQ(heading->palette().color(QPalette::WindowText), QColor(192, 0, 0));
  GrabForLooking(window(), "teilnehmerloeschen");
  ui().answerMessages({MsgAnswer::No});
  key(Qt::Key_F2);
  EXPECT_EQ(db().scalar("select count(*) from tblTeilnehmer").toInt(), 6);
  EXPECT_EQ(window().currentPanel(), "Teilnehmerloeschen");
  ui().answerMessages({MsgAnswer::Yes});
  key(Qt::Key_F2);
  EXPECT_EQ(ui().messages.last().text,
            "Wollen Sie wirklich alle Teilnehmer löschen?\n\nAchtung: Diese Aktion kann nicht "
            "rückgängig gemacht werden!");
  EXPECT_EQ(ui().messages.last().title, "Alle Teilnehmer löschen");
  EXPECT_EQ(db().scalar("select count(*) from tblTeilnehmer").toInt(), 0);
  EXPECT_EQ(window().currentPanel(), "");
  EXPECT_FALSE(enabled("TeilnehmerLoeschen"));
  EXPECT_TRUE(enabled("Finalteilnehmer"));

  // Finals: the work table lives exactly as long as the panel.
  db::CompetitionSpec source = SmallCompetition();
  source.disziplinen[0].durchgaenge = 1;
  for (int id = 1; id <= 6; ++id) {
    source.zeiten.push_back({id, 2, 1, 0, 0.4, {}, {}, db::HundredthsToDay(4000 + id), {}});
  }
  const QString sourcePath = writeCompetition("Quelle.mdb", source);
  trigger("Finalteilnehmer");
  EXPECT_TRUE(db().hasTable("XtblFinale"));
  key(Qt::Key_Escape);
  EXPECT_FALSE(db().hasTable("XtblFinale"));
  trigger("Finalteilnehmer");
  trigger("BearbeitenRichtungsaenderungen");
  EXPECT_FALSE(db().hasTable("XtblFinale"));
  trigger("Finalteilnehmer");
  trigger("DateiSchliessen");  // the file is closed before its panels
  EXPECT_FALSE(db::Connection::open(cup)->hasTable("XtblFinale"));
  openThroughMenu(cup);
  trigger("Finalteilnehmer");
  startWindow();  // the program ended with the panel open
  EXPECT_FALSE(db::Connection::open(cup)->hasTable("XtblFinale"));
  openThroughMenu(cup);
  trigger("Finalteilnehmer");
  control<QLineEdit>("FinalteilnehmerDamen")->setText("2");
  ui().chooseOpenFile(sourcePath);
  QTest::mouseClick(control<QPushButton>("Finalteilnehmer_Bewerb"), Qt::LeftButton);
  EXPECT_EQ(control<QLabel>("FinalteilnehmerBewerbsliste")->text(), "-> Quelle");
  EXPECT_FALSE(control<QCheckBox>("FinalteilnehmerStartnrn")->isEnabled());
  GrabForLooking(window(), "finalteilnehmer");
  key(Qt::Key_F2);
  EXPECT_EQ(ui().messages.last().text, "5 Teilnehmer importiert!");
  EXPECT_FALSE(db().hasTable("XtblFinale"));
  EXPECT_TRUE(enabled("TeilnehmerLoeschen"));
}

// A view in place of the finals' work table: a damaged file, not SQLite's English text.
TEST_F(AdminPanelTest, AViewInPlaceOfTheFinalsTableIsADamagedFile) {
  db::CompetitionSpec empty = SmallCompetition();
  empty.teilnehmer.clear();
  openThroughMenu(writeCompetition("Cup.mdb", empty));
  db().execute("create view XtblFinale as select 1 as startnr");
  trigger("Finalteilnehmer");
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"Die Bewerbsdatei '" + db().path() +
                        "' ist beschädigt.\nBitte die Datei im Programm Kandor reparieren.\nEs "
                        "wurde nichts gespeichert."});
  EXPECT_EQ(window().currentPanel(), "");
}

TEST_F(AdminPanelTest, DirectionCheckPreselectsAndPrefills) {
  db::CompetitionSpec race = SmallCompetition();
  race.disziplinen[0].bewerbsnummer = QString("    MRBR");
  race.listenkopf.push_back({2, 18, "250"});
  openThroughMenu(writeCompetition("Cup.mdb", race));
  trigger("BearbeitenRichtungsaenderungen");
  EXPECT_EQ(control<QComboBox>("DisziplinKategorie")->currentIndex(), 1);
  EXPECT_EQ(control<QLabel>("Label02")->text(), "Reglement 2026/27:");
  EXPECT_EQ(control<QLabel>("Label04")->text(), "200-350m");
  EXPECT_EQ(control<QLineEdit>("Hoehendifferenz")->text(), "250");
  EXPECT_EQ(control<QLabel>("Label08")->text(), "32 - 45 Richtungsänderungen");
  GrabForLooking(window(), "richtungsaenderungen");
  auto* combo = control<QComboBox>("DisziplinKategorie");
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), "b");
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_EQ(control<QLabel>("Label08")->text(), "");
  key(Qt::Key_F2);  // the rule chosen before still counts
  EXPECT_EQ(control<QLabel>("Label08")->text(), "32 - 45 Richtungsänderungen");
  combo->lineEdit()->clear();
  QTest::keyClicks(combo->lineEdit(), "x");  // the item already chosen is chosen again
  EXPECT_EQ(control<QLabel>("Label08")->text(), "");
}

TEST_F(AdminPanelTest, DirectionCheckAfterATypeChangePreselectsByTheRewrittenRaceNumber) {
  db::CompetitionSpec race = SmallCompetition();
  race.bewerb.typ = 8;
  race.disziplinen[0].bewerbsnummer = QString("  77DRHR");
  openThroughMenu(writeCompetition("Cup.mdb", race));
  trigger("BearbeitenBewerbstyp");
  control<QComboBox>("Bewerbstyp")->setCurrentIndex(4);  // youth: "  77MRBR"
  key(Qt::Key_F2);
  trigger("BearbeitenRichtungsaenderungen");
  EXPECT_EQ(control<QComboBox>("DisziplinKategorie")->currentText(), "Riesenslalom - Schüler");
}

TEST_F(AdminPanelTest, BibTakeoverOffersTheSlalomAndRefusesOnceNumbered) {
  db::CompetitionSpec race = SmallCompetition();
  for (auto& t : race.teilnehmer) t.disziplinen[2] = {true, std::nullopt, 9999.99, 9999.99};
  openThroughMenu(writeCompetition("Cup.mdb", race));
  trigger("StartnummernUebernahme");
  auto* source = control<QComboBox>("StartNrnDispvon");
  ASSERT_NE(source, nullptr);
  ASSERT_EQ(source->count(), 1);
  EXPECT_EQ(source->currentText(), "Slalom");
  EXPECT_EQ(control<QLabel>("StartNrnDatumVeranst")->text(), "16.01.2027");
  GrabForLooking(window(), "startnrnueb");
  key(Qt::Key_F2);
  EXPECT_EQ(window().currentPanel(), "");
  EXPECT_EQ(db().scalar("select count(*) from tblTeilnehmer where startnrgs=startnrsl").toInt(), 6);
  trigger("StartnummernUebernahme");
  EXPECT_EQ(ui().messages.last().text,
            "Achtung: Es sind bereits Startnummern für 'Riesenslalom' vorhanden");
  EXPECT_TRUE(control<QPushButton>("Startnrn_speichern")->isHidden());
  key(Qt::Key_F2);  // nothing to save
  EXPECT_EQ(window().currentPanel(), "Startnrnueb");
}

TEST_F(AdminPanelTest, PointsTakeoverRefusesAMissingListBeforeAnything) {
  db::MasterDataSpec master;
  master.listenVersion = {{3, "2026/1"}, {4, "2026/2"}};
  db::KsfPunkteSpec huber;
  huber.ksfid = 501;
  huber.punkte = 12.5;
  huber.nachname = "HUBER";
  huber.vorname = "Anna";
  huber.geschlecht = "W";
  huber.jahrgang = 2015;
  huber.verein = "SC Musterdorf";
  master.ksfPunkte = {huber};
  const QString path = QDir(programDir()).filePath("STAMMDAT.mdb");
  db::BuildMasterDataFile(path, master);
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  trigger("KSFIdPunkte");
  EXPECT_EQ(control<QLabel>("KSFIdPkteAllgemein")->text(), "2026 vom 1");
  EXPECT_EQ(control<QLabel>("KSFIdPkteSchueler")->text(), "2026 vom 2");
  GrabForLooking(window(), "ksfidpkteueb");
  // Held by another program, the list is in use, not missing: at F2 and at the menu entry.
  const QString inUse =
      "Die Datei '" + path +
      "' wird gerade von einem anderen Programm verwendet.\nBitte später nochmals versuchen.";
  {
    const HeldFile held(path);
    key(Qt::Key_F2);
    trigger("KSFIdPunkte");
  }
  EXPECT_EQ(ui().messageTexts(), QStringList({inUse, inUse}));
  key(Qt::Key_F2);
  EXPECT_EQ(window().currentPanel(), "");
  EXPECT_EQ(db().scalar("select svid from tblTeilnehmer where id=1").toInt(), 501);

  // With the certificate editor open the list is checked first.
  window().enable("UrkundenBearbeiten");
  trigger("UrkundenBearbeiten");
  ui().clear();
  db::Connection::open(path)->execute("update tblListenVersion set version=null where typ=4");
  trigger("KSFIdPunkte");
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages.last().text,
            "Es ist keine KSF-Schülerpunkteliste vorhanden!\nBitte zuerst mit dem Kandor eine "
            "KSF-Schülerpunkteliste importieren.");
  db::Connection::open(path)->execute("update tblListenVersion set version='2026/2' where typ=4");
  trigger("KSFIdPunkte");
  EXPECT_EQ(ui().messages.last().text,
            "Das Bearbeiten der Urkunden bitte mit Speichern oder Verwerfen verlassen");
  EXPECT_EQ(window().currentPanel(), "UrkundenBearbeiten");
}

}  // namespace
}  // namespace kx::test
