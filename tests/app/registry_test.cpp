#include "app/placeholderpanel.h"
#include "common/guarded.h"
#include "common/pdfabort.h"
#include "db/database.h"
#include "tests/support/appfixture.h"
#include "workpanel/menuentries.h"
#include "workpanel/panelregistry.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <stdexcept>

namespace kx::test {
namespace {

class RegistryWalkTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
    importFile_ = QDir(dataDir()).filePath("import.csv");
    QFile file(importFile_);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Name;Vorname;Jahrgang\r\nHuber;Anna;2012\r\n");
  }
  void open(const PanelInfo& row, const QString& entry) {
    window().enable(entry);
    // The imports open their panel only for a chosen file.
    if (entry == menu::ImportCSV || entry == menu::ImportKlassenCSV)
      ui().chooseOpenFile(importFile_);
    trigger(entry);
    ASSERT_EQ(window().currentPanel(), row.name) << entry.toStdString();
  }
  QString importFile_;
};

// Every row of the table, bound or not, opens from each of its menu entries with the row's
// name and title; F2 reaches a bound panel's routine (it asks or tells the person something)
// exactly where the row says it has one; Esc and closing all panels close it.
TEST_F(RegistryWalkTest, EveryPanelOpensFromItsEntriesAndClosesWithEscAndCloseAll) {
  int bound = 0;
  for (const PanelInfo& row : window().registry().rows()) {
    const std::string name = row.name.toStdString();
    bound += row.factory ? 1 : 0;
    for (const QString& entry : row.menuEntries) {
      open(row, entry);
      // A panel may add to its title what it shows ("... für eine Klasse"); the certificate
      // panels title themselves by the entry that opened them ("Mannschaftsurkunden drucken").
      if (row.name.startsWith("Urkunden")) {
        EXPECT_FALSE(window().frameTitel()->text().isEmpty()) << name;
      } else {
        EXPECT_TRUE(window().frameTitel()->text().startsWith(row.title)) << name;
      }
      EXPECT_EQ(window().panel()->objectName(), row.name + "Panel") << name;

      ui().clear();
      QTest::keyClick(&window(), Qt::Key_F2);
      // A routine asks or tells the person something, or finishes and closes its panel;
      // three have nothing to do on this file (bibs already given, both boxes empty, live
      // timing before its login).
      const bool reached = !ui().saveRequests.isEmpty() || !ui().openRequests.isEmpty() ||
                           !ui().messages.isEmpty() || window().currentPanel() != row.name;
      const bool idle = row.name == "Startnrnueb" || row.name == "BearbeitenRichtungsaenderungen" ||
                        row.name == "LiveTiming";
      if (!idle) {
        EXPECT_EQ(reached, row.factory && row.hasMainAction) << name;
      }

      open(row, entry);
      QTest::keyClick(&window(), Qt::Key_Escape);
      EXPECT_TRUE(window().currentPanel().isEmpty()) << name;
      EXPECT_TRUE(window().frameTitel()->text().isEmpty()) << name;

      open(row, entry);
      window().CloseAllPanels();
      EXPECT_TRUE(window().currentPanel().isEmpty()) << name;
    }
  }
  EXPECT_GE(bound, 6);  // the start side's lists
}

TEST(PanelRegistry, ANameTheTableOrTheMenuDoesNotHaveFailsLoudly) {
  PanelRegistry registry;
  EXPECT_THROW(registry.bindPanel<PlaceholderPanel>("Startlist"), std::logic_error);
  EXPECT_THROW(registry.bindMenuEntry("SR_Bericht_anzeige", [](PanelHost&) {}), std::logic_error);
  registry.bindPanel<PlaceholderPanel>("Startliste");
  EXPECT_THROW(registry.bindPanel<PlaceholderPanel>("Startliste"), std::logic_error);
  registry.bindMenuEntry(menu::SR_Bericht_anzeigen, [](PanelHost&) {});
  EXPECT_THROW(registry.bindMenuEntry(menu::SR_Bericht_anzeigen, [](PanelHost&) {}),
               std::logic_error);
  // The rows keep the table's close order.
  ASSERT_EQ(registry.rows().size(), PanelTable().size());
  for (size_t i = 0; i < PanelTable().size(); ++i) {
    EXPECT_EQ(registry.rows()[i].name, PanelTable()[i].name);
  }
}

TEST_F(RegistryWalkTest, EnablingAnEntryTheMenuDoesNotHaveFailsLoudly) {
  EXPECT_THROW(window().enable("BearbeitenStartlist"), std::logic_error);
}

// Whatever an action throws ends that action with a message; the program goes on.
TEST_F(RegistryWalkTest, RunGuardedTurnsEveryExceptionIntoAMessage) {
  ui().clear();
  EXPECT_FALSE(RunGuarded(ui(), [] { throw std::out_of_range("index 7"); }));
  EXPECT_FALSE(RunGuarded(ui(), [] { throw pdf::PdfAbort(); }));
  EXPECT_FALSE(RunGuarded(ui(), [] { throw db::Error("kaputt"); }));
  EXPECT_TRUE(RunGuarded(ui(), [] {}));
  ASSERT_EQ(ui().messages.size(), 2);
  EXPECT_EQ(ui().messages[0].text, "Die Aktion wurde wegen eines Fehlers abgebrochen:\nindex 7");
  EXPECT_EQ(ui().messages[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(ui().messages[1].text.startsWith("Fehler beim Zugriff auf die Bewerbsdatei:"));
}

}  // namespace
}  // namespace kx::test
