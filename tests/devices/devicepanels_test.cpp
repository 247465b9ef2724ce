// The four loading panels in the main window, driven by their control names and real keys:
// controls and port lists, a connection through a pseudo-terminal that outlives its panel,
// F2 and Esc, and the file panel's load.
#include "devices/devicepanels.h"

#include "devices/handtimestore.h"
#include "tests/devices/devicetestkit.h"
#include "tests/support/appfixture.h"
#include "workpanel/menuentries.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kx::test {
namespace {

class DevicePanelTest : public AppFixture {
 protected:
  void install(int timys) {
    auto timy = std::make_unique<FakeTimy>();
    timy->devices = timys;
    devices = &InstallDeviceConnections(
        window(), [this] { return ports; }, std::move(timy), SteadyClock());
  }
  template <class W>
  W* control(const QString& name) {
    return window().findChild<W*>(name);
  }
  QStringList items(const QString& name) {
    QStringList list;
    auto* combo = control<QComboBox>(name);
    for (int i = 0; combo && i < combo->count(); ++i) list.append(combo->itemText(i));
    return list;
  }
  QString text(const QString& name) { return control<QLabel>(name)->text(); }
  void click(const QString& name) { control<QPushButton>(name)->click(); }

  std::vector<PortInfo> ports{{"COM1"}, {"COM3"}};
  DeviceConnections* devices = nullptr;
};

TEST_F(DevicePanelTest, ControlsPortListsAndKeysOfThePanels) {
  install(1);
  trigger(menu::HandzeitLadenALGETimy);
  EXPECT_EQ(window().frameTitel()->text(), "Übernahme Zeiten von ALGE Timy");
  EXPECT_EQ(items("ComPort"), QStringList({"COM1", "COM3", "TimyUSB"}));
  EXPECT_EQ(control<QComboBox>("ComPort")->currentText(), "COM1");
  EXPECT_EQ(text("HandzeitenStart"), "0 Zeiten im Speicher");
  GrabForLooking(*window().panel(), "panel-algetimy");

  // Ports come and go while the panel is open; a name listed twice loses its first entry.
  EXPECT_TRUE(devices->portWatcher().active());
  ports = {{"COM1"}, {"COM3"}, {"COM3"}};
  devices->portWatcher().poll();
  ports = {{"COM1"}, {"COM3"}};
  devices->portWatcher().poll();
  EXPECT_EQ(items("ComPort"), QStringList({"COM1", "TimyUSB", "COM3"}));
  // The chosen port that goes stays in the text.
  ports = {{"COM3"}};
  devices->portWatcher().poll();
  EXPECT_EQ(items("ComPort"), QStringList({"TimyUSB", "COM3"}));
  EXPECT_EQ(control<QComboBox>("ComPort")->currentText(), "COM1");

  state().HzStart.assign(12, HandTime{0.4});
  ports.clear();
  trigger(menu::HandzeitLadenALGETimy);
  EXPECT_EQ(items("ComPort"), QStringList{"TimyUSB"});
  EXPECT_EQ(control<QComboBox>("ComPort")->currentText(), "");
  EXPECT_EQ(text("HandzeitenStart"), "12 Zeiten im Speicher");

  ports = {{"COM1"}};
  for (int twice = 0; twice < 2; ++twice) trigger(menu::HandzeitLadenDIGISport);
  EXPECT_EQ(items("ComPort"), QStringList{"COM1"});
  const QStringList digi =
      QString(
          "Label01 ComPort DIGISport_Verbinden ComPort_Meldung Label02 SynchZeit Label03 "
          "UploadProtokoll Handzeit Label04 HandzeitenStart Label05 HandzeitenZiel "
          "SaveHandzeit DIGISport_Schliessen Label06")
          .split(' ');
  for (const QString& name : digi) {
    EXPECT_EQ(window().findChildren<QWidget*>(name).size(), 1) << name.toStdString();
  }
  // No port at all: an empty list; a port that comes does not replace a typed one.
  ports.clear();
  trigger(menu::HandzeitLadenTAGHeuer);
  EXPECT_EQ(items("ComPort"), QStringList{});
  control<QComboBox>("ComPort")->setEditText("/dev/ttyV0");
  ports = {{"COM7"}};
  devices->portWatcher().poll();
  EXPECT_EQ(items("ComPort"), QStringList{"COM7"});
  EXPECT_EQ(control<QComboBox>("ComPort")->currentText(), "/dev/ttyV0");

  // The file panel does not follow the ports; it loads, has no F2 and closes on Esc.
  trigger(menu::HandzeitLadenDatei);
  EXPECT_FALSE(devices->portWatcher().active());
  EXPECT_EQ(window().frameTitel()->text(), "Laden Zeiten aus Datei");
  WriteHandTimeFile(dataDir() + "/ziel.txt", {{0.4}, {0.5}});
  control<QComboBox>("Handzeit")->setCurrentIndex(kHandzeitZiel);
  ui().chooseOpenFile(dataDir() + "/ziel.txt");
  click("Load_Zeiten");
  EXPECT_EQ(text("UploadProtokoll"), "2 Ziel-Zeiten geladen");
  EXPECT_EQ(text("HandzeitenZiel"), "2 Zeiten im Speicher");
  QTest::keyClick(control<QComboBox>("Handzeit"), Qt::Key_F2);
  EXPECT_TRUE(ui().saveRequests.isEmpty());
  QTest::keyClick(control<QComboBox>("Handzeit"), Qt::Key_Escape);
  EXPECT_EQ(window().currentPanel(), "");
}

TEST_F(DevicePanelTest, AConnectionOutlivesItsPanelAndTheReopenedPanelShowsIt) {
  Pty pty;
  ASSERT_TRUE(pty.ok());
  install(0);
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  trigger(menu::HandzeitLadenTAGHeuer);
  EXPECT_FALSE(items("ComPort").contains("TimyUSB"));
  control<QComboBox>("ComPort")->setEditText(pty.path());
  control<QComboBox>("Handzeit")->setCurrentIndex(kHandzeitStart);
  click("TAGHeuer_Verbinden");
  EXPECT_EQ(control<QPushButton>("TAGHeuer_Verbinden")->text(), "Trennen");
  EXPECT_EQ(text("ComPort_Meldung"), "Mit " + pty.path() + " verbunden");
  click("TAGHeuer_Abholen");
  EXPECT_EQ(ReadSent(pty, "#SN\r#!T\r#WC 012\r"), QByteArray("#SN\r#!T\r#WC 012\r"));

  // Esc closes the panel, not the connection: times still arrive.
  QTest::keyClick(control<QComboBox>("Handzeit"), Qt::Key_Escape);
  EXPECT_EQ(window().currentPanel(), "");
  Feed(pty, "#!T 12:00:00\r#RR 0000 0001   00:05:10,27\r");
  EXPECT_TRUE(WaitFor([&] { return state().HzStart.size() == 1; }));

  trigger(menu::HandzeitLadenTAGHeuer);
  EXPECT_EQ(control<QPushButton>("TAGHeuer_Verbinden")->text(), "Trennen");
  EXPECT_EQ(text("ComPort_Meldung"), "Mit " + pty.path() + " verbunden");
  EXPECT_EQ(control<QComboBox>("Handzeit")->currentText(), "Start");
  EXPECT_EQ(text("HandzeitenStart"), "1 Zeiten im Speicher");
  GrabForLooking(*window().panel(), "panel-tagheuer-connected");

  // F2 saves the store the combo names, under the name of the competition and discipline.
  const QString file = dataDir() + "/start.txt";
  ui().chooseSaveFile(file);
  QTest::keyClick(control<QComboBox>("Handzeit"), Qt::Key_F2);
  ASSERT_EQ(ui().saveRequests.size(), 1);
  EXPECT_EQ(ui().saveRequests[0].fileName,
            "Cup-" + state().currentListTitle() + "-Handzeit-Start.txt");
  EXPECT_EQ(ui().messageTexts().last(), "Zeiten in " + file + " gespeichert");

  // Another device cannot take the busy port.
  trigger(menu::HandzeitLadenDIGISport);
  control<QComboBox>("ComPort")->setEditText(pty.path());
  control<QComboBox>("Handzeit")->setCurrentIndex(kHandzeitZiel);
  control<QLineEdit>("SynchZeit")->setText("9:5");
  click("DIGISport_Verbinden");
  EXPECT_EQ(control<QLineEdit>("SynchZeit")->text(), "09:05");
  EXPECT_EQ(text("ComPort_Meldung"), "Verbindung nicht möglich mit " + pty.path());
  EXPECT_EQ(control<QPushButton>("DIGISport_Verbinden")->text(), "Verbinden");

  trigger(menu::HandzeitLadenTAGHeuer);
  click("TAGHeuer_Verbinden");
  EXPECT_EQ(control<QPushButton>("TAGHeuer_Verbinden")->text(), "Verbinden");
  EXPECT_EQ(text("ComPort_Meldung"), "nicht verbunden");
  EXPECT_EQ(text("UploadProtokoll"), "1 Start-Zeiten geladen");
  EXPECT_FALSE(devices->serial().isOpen());
}

}  // namespace
}  // namespace kx::test
