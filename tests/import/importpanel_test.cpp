#include "import/demoimportfiles.h"
#include "import/importfile.h"
#include "tests/import/importfixture.h"
#include "tests/support/appfixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace kx::test {
namespace {

class ImportPanelTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    db::CompetitionSpec race = ImportRace();
    race.bewerb.mannschaftswertung = true;
    race.disziplinen.push_back({3, true, QString("2"), "Cup", std::nullopt, std::nullopt, 2});
    openThroughMenu(writeCompetition("Cup.mdb", race));
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join('|').toStdString();
  }
  // Opens an import through its menu entry with `lines` as the chosen file.
  void openImport(const QString& entry, const QStringList& lines, bool utf8 = false,
                  bool bom = false, const QString& lineEnd = "\r\n") {
    const QString file =
        WriteImportFile(QDir(dataDir()).filePath("import.csv"), lines, utf8, bom, lineEnd);
    ui().clear();
    ui().chooseOpenFile(file);
    trigger(entry);
  }
  QTreeWidget* list() { return window().findChild<QTreeWidget*>("Spaltendefinition"); }
  QComboBox* combo() { return window().findChild<QComboBox*>("SpalteCSV"); }
  QStringList assigned() {
    QStringList out;
    for (int i = 0; i < list()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = list()->topLevelItem(i);
      out << item->data(0, Qt::UserRole).toString() + ":" + item->text(0) + "=" + item->text(1);
    }
    return out;
  }
  void click(int row) {
    QTreeWidgetItem* item = list()->topLevelItem(row);
    const QRect r = list()->visualItemRect(item);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
  }
  bool marked(int row) {
    const QTreeWidgetItem* item = list()->topLevelItem(row);
    return item->foreground(1).color() == QColor(0, 0, 255) && item->font(1).bold() &&
           item->foreground(0).color() == QColor(0, 0, 255);
  }
  QStringList people() {
    return Rows(state().db(),
                "select nachname,vorname,sex,jahrgang,mannschaft from tblTeilnehmer order by id");
  }
};

TEST_F(ImportPanelTest, AssignByHandAndImportWithF2) {
  // UTF-8 with the mark, Tab-separated; "Kat" is no header word of the sex row.
  openImport("ImportCSV",
             {"Name\tVorname\tKat\tJG\tVerein\tTeam", "Dvořák\tÉmile\tw\t2012\tSC\tT1",
              "Öhler\tBen\tm\t2011\tSC\t"},
             true, true);
  ASSERT_EQ(window().currentPanel(), "ImportCSV");
  EXPECT_EQ(window().frameTitel()->text(), "Import Läufer aus EXCEL-(CSV)-Datei");
  EXPECT_EQ(ui().openRequests.at(0).filter, "EXCEL-Dateien(*.csv;*.txt)|*.txt;*.csv");
  EXPECT_EQ(assigned(), QStringList({"T1:Nachname=Name", "T2:Vorname=Vorname", "T3:Geschlecht=",
                                     "T4:Jahrgang=JG", "T5:Mannschaft=", "T6:Start-Nr=",
                                     "T7:Laufzeit1=", "T8:Laufzeit2=", "T9:Klasse="}));
  EXPECT_TRUE(marked(0));
  GrabForLooking(window(), "importpanel");

  // F2 with the sex row empty names it and keeps the panel.
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"Der Kandor-Spalte 'Geschlecht' ist noch keine Excel-Spalte zugeordnet"});
  click(2);
  click(4);
  EXPECT_FALSE(marked(2));
  EXPECT_TRUE(marked(4));
  // Type-ahead: one letter selects the first header beginning with it, two letters entry 0.
  combo()->lineEdit()->clear();
  QTest::keyClicks(combo()->lineEdit(), "t");
  EXPECT_EQ(combo()->currentText(), "Team");
  QTest::mouseClick(window().findChild<QPushButton*>("Spalte_zuordnen"), Qt::LeftButton);
  combo()->lineEdit()->clear();
  QTest::keyClicks(combo()->lineEdit(), "ka");
  EXPECT_EQ(combo()->currentIndex(), 0);
  combo()->setCurrentIndex(2);
  click(2);
  QTest::mouseClick(window().findChild<QPushButton*>("Spalte_zuordnen"), Qt::LeftButton);
  EXPECT_EQ(assigned().mid(2, 3),
            QStringList({"T3:Geschlecht=Kat", "T4:Jahrgang=JG", "T5:Mannschaft=Team"}));

  ui().clear();
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"2 von 2 Teilnehmer importiert!\r\n1 Mannschaftsverknüpfungen importiert"});
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_EQ(people(), QStringList({"DVOŘÁK|Émile|W|2012|1", "ÖHLER|Ben|M|2011|"}));
  EXPECT_TRUE(enabled("TeilnehmerLoeschen"));
  EXPECT_TRUE(enabled("MannschaftenLoeschen"));
}

TEST_F(ImportPanelTest, LineEndsAndEncodingsThroughThePanel) {
  const QStringList lines{"Name;Vorname;Geschlecht;Jahrgang;Mannschaft", "Müller;Jürgen;m;2010;",
                          "Weiß;Anna;Dame;2011;"};
  struct {
    bool utf8, bom;
    const char* end;
  } cases[] = {
      {false, false, "\r\n"}, {false, false, "\r"}, {true, false, "\n"}, {true, true, "\r\n"}};
  for (const auto& c : cases) {
    state().db().execute("delete from tblTeilnehmer");
    openImport("ImportCSV", lines, c.utf8, c.bom, c.end);
    QTest::keyClick(&window(), Qt::Key_F2);
    EXPECT_EQ(ui().messageTexts(), QStringList{"2 von 2 Teilnehmer importiert!"}) << c.end;
    EXPECT_EQ(people(), QStringList({"MÜLLER|Jürgen|M|2010|", "WEIß|Anna|W|2011|"}));
  }
}

TEST_F(ImportPanelTest, RefusedHeaderAbortAndCancel) {
  openImport("ImportCSV", {"Name\tVorname", "a\tb"});
  EXPECT_EQ(ui().messageTexts(), QStringList{kNoColumnsMessage});
  EXPECT_EQ(window().currentPanel(), "ImportCSV");
  EXPECT_EQ(list()->topLevelItemCount(), 0);
  ui().clear();
  QTest::keyClick(&window(), Qt::Key_F2);  // nothing to save
  EXPECT_TRUE(ui().messages.isEmpty());
  QTest::keyClick(&window(), Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());

  // A bad record keeps the panel open and the file unchanged.
  openImport("ImportCSV",
             {"Name;Vorname;Sex;Jg;Mannschaft;StNr", "A;a;w;2010;;1", "B;b;w;2010;;zwei"});
  QTest::keyClick(&window(), Qt::Key_F2);
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_TRUE(
      ui().messages[0].text.endsWith("(Zeile 3 der Import-Datei; es wurde nichts übernommen)"));
  EXPECT_EQ(window().currentPanel(), "ImportCSV");
  EXPECT_TRUE(people().isEmpty());
  EXPECT_EQ(list()->topLevelItem(5)->text(2), "5");

  // A cancelled dialog opens nothing and closed the open panel.
  ui().clear();
  ui().chooseOpenFile(QString());
  trigger("ImportKlassenCSV");
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_TRUE(ui().messages.isEmpty());
}

// The demo's import files fit the demo race and its master data.
TEST_F(ImportPanelTest, DemoFilesImport) {
  db::BuildMasterDataFile(QDir(programDir()).filePath("STAMMDAT.mdb"), db::DemoMasterData());
  openThroughMenu(writeCompetition("Bezirkscup.mdb", db::DemoCompetition()));
  WriteDemoImportFiles(dataDir());
  ui().clear();
  ui().chooseOpenFile(QDir(dataDir()).filePath("Teilnehmer-Import.csv"));
  trigger("ImportCSV");
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"1 von 7 Teilnehmer importiert! (4 Teilnehmer bereits vorhanden)\r\n"
                        "1 Mannschaftsverknüpfungen importiert\r\n" +
                        QString(62, '_') +
                        "\r\n\r\nUnbekannt Udo nicht importiert, da Code-Nummer nicht vorhanden\r\n"
                        "Ohne Nummer nicht importiert, da Code-Nummer nicht numerisch\r\n"});
  ui().clear();
  ui().chooseOpenFile(QDir(dataDir()).filePath("Klassen-Import.csv"));
  trigger("ImportKlassenCSV");
  EXPECT_EQ(window().frameTitel()->text(), "Import Klassen aus EXCEL-(CSV)-Datei");
  EXPECT_EQ(assigned().first(), "T1:Gruppe=Gruppe");
  GrabForLooking(window(), "importklassenpanel");
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts(), QStringList{"12 von 12 Klassen importiert!"});
  EXPECT_TRUE(window().currentPanel().isEmpty());
}

}  // namespace
}  // namespace kx::test
