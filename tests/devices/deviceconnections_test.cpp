// Connecting, fetching and receiving over a pseudo-terminal as the serial port and over a
// fake Timy on USB: command bytes, port settings, a 2,000-line read-out, the busy port, a
// reconnect after half a line, and the real USB backend's line splitting.
#include "devices/deviceconnections.h"

#include "devices/handtimestore.h"
#include "devices/handtimetext.h"
#include "tests/devices/devicetestkit.h"
#include "tests/support/scriptedui.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

class DeviceConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    auto fake = std::make_unique<test::FakeTimy>();
    timy = fake.get();
    devices = std::make_unique<DeviceConnections>(
        state, ui, [] { return std::vector<PortInfo>{}; }, std::move(fake), SteadyClock());
    devices->wait = [this](double seconds) {
      waits.append(seconds);
      // A second click while waiting does nothing.
      EXPECT_FALSE(devices->connectClick(Device::AlgeTimy, {kTimyUsbPort, 2, {}}).checked);
      devices->fetchClick(Device::AlgeTimy);
    };
    QObject::connect(devices.get(), &DeviceConnections::messageLine,
                     [this](const QString& text) { lastMessage = text; });
  }
  QString lastTime(const std::vector<HandTime>& store) {
    return store.empty() ? QString() : FormatHandTime(store.back().dayTime, "rnd");
  }

  test::Pty pty;
  test::ScriptedUi ui;
  AppState state;
  test::FakeTimy* timy = nullptr;
  std::unique_ptr<DeviceConnections> devices;
  QList<double> waits;
  QString lastMessage;
};

TEST_F(DeviceConnectionTest, TimyReadOutOf2000LinesAfterAReconnectInHalfALine) {
  devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  const QSerialPort& port = devices->serial().port();
  EXPECT_EQ(port.baudRate(), 9600);
  EXPECT_EQ(port.parity(), QSerialPort::NoParity);
  EXPECT_EQ(port.flowControl(), QSerialPort::NoFlowControl);
  test::Feed(pty, " 0001 C0  08:00:0");  // half a line, then the link drops
  EXPECT_TRUE(
      test::WaitFor([&] { return devices->receiver().lineBuffer().pending().size() == 17; }));
  devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  const auto outcome = devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "Mit " + pty.path() + " verbunden");

  devices->fetchClick(Device::AlgeTimy);
  EXPECT_EQ(test::ReadSent(pty, "RSM\r"), QByteArray("RSM\r"));
  QByteArray readOut;
  for (int i = 0; i < kHandTimeCapacity; ++i) {
    readOut += QStringLiteral(" %1 C0  %2 00\r")
                   .arg(i + 1, 4, 10, QLatin1Char('0'))
                   .arg(FormatHandTime(0.4 + i / 8640.0, "rnd").replace(',', '.'))
                   .toLatin1();
  }
  test::Feed(pty, readOut);
  EXPECT_TRUE(test::WaitFor([&] { return state.HzZiel.size() == 2000u; }));
  EXPECT_EQ(FormatHandTime(state.HzZiel.front().dayTime, "rnd"), "09:36:00,00");
  EXPECT_EQ(lastTime(state.HzZiel), FormatHandTime(0.4 + 1999 / 8640.0, "rnd"));
  EXPECT_TRUE(lastMessage.endsWith(" - 2000 Zeiten abgeholt"));

  // A device that goes away leaves a closed port; the disconnect still succeeds.
  pty.hangUp();
  EXPECT_TRUE(test::WaitFor([&] { return !devices->serial().isOpen(); }));
  EXPECT_EQ(devices->connectClick(Device::AlgeTimy, {"", 2, {}}).status, "nicht verbunden");
}

TEST_F(DeviceConnectionTest, DigiSportChecksTheSyncTimeAndTheChoiceBeforeItConnects) {
  for (const char* bad : {"00:00", "12:60", "25:00", "1230", "ab:cd"}) {
    EXPECT_FALSE(devices->connectClick(Device::DigiSport, {pty.path(), 1, bad}).checked) << bad;
  }
  EXPECT_EQ(ui.messageTexts().first(), "Bitte zuerst die Synchronisationszeit eingeben");
  EXPECT_EQ(ui.messageTexts().last(),
            "Den Synchronisations-Zeitpunkt bitte in der Form hh:mm eingeben");
  EXPECT_EQ(ParseSyncTime("24:00").value, 1.0);
  devices->connectClick(Device::DigiSport, {pty.path(), kHandzeitNone, "9:5"});
  EXPECT_EQ(ui.messageTexts().last(), "Bitte zuerst wählen ob Start- oder Ziel-Handzeit");
  EXPECT_FALSE(devices->serial().isOpen());

  EXPECT_EQ(devices->connectClick(Device::DigiSport, {pty.path(), 1, "9:5"}).synch, "09:05");
  EXPECT_EQ(devices->serial().port().baudRate(), 4800);
}

TEST_F(DeviceConnectionTest, TimyOnUsbConnectsWaitsAndFetches) {
  timy->dtsResult = 5;
  state.HzZiel.assign(2, HandTime{0.2});
  auto outcome = devices->connectClick(Device::AlgeTimy, {kTimyUsbPort, kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "Verbindung nicht möglich mit TimyUSB");
  EXPECT_TRUE(devices->receiver().ReceiveMode.isEmpty());
  EXPECT_EQ(state.HzZiel.size(), 2u);
  EXPECT_TRUE(waits.isEmpty());

  timy->dtsResult = 0;
  outcome = devices->connectClick(Device::AlgeTimy, {kTimyUsbPort, kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "Mit TimyUSB verbunden");
  EXPECT_EQ(waits, QList<double>{0.5});
  EXPECT_TRUE(state.HzZiel.empty());
  timy->line(" 0001 C0  10:00:00.00 00");
  EXPECT_EQ(lastMessage, "10:00:00.00 - 1 Zeiten empfangen");

  devices->fetchClick(Device::AlgeTimy);
  EXPECT_EQ(timy->sent, QStringList({"EMU0\r", "DTS?\r", "EMU0\r", "DTS?\r", "RSM\r"}));
  EXPECT_EQ(waits.size(), 2);
  EXPECT_TRUE(state.HzZiel.empty());
  timy->line(" 0001 C0  10:00:00.00 00");
  EXPECT_EQ(lastMessage, "10:00:00.00 - 1 Zeiten abgeholt");

  // The disconnect closes the USB link, whatever port is typed now.
  outcome = devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "nicht verbunden");
  EXPECT_EQ(outcome.messageLine, "1 Ziel-Zeiten geladen");
  EXPECT_FALSE(timy->opened);
  devices->fetchClick(Device::AlgeTimy);
  EXPECT_EQ(ui.messageTexts().last(), "Bitte zuerst eine Verbindung herstellen");
}

TEST_F(DeviceConnectionTest, AFetchShowsThatItWaitsAndSaysSoWhenTheDeviceStaysQuiet) {
  devices->fetchQuietMs = 100;
  devices->connectClick(Device::TagHeuer, {pty.path(), kHandzeitZiel, {}});
  devices->fetchClick(Device::TagHeuer);
  EXPECT_EQ(lastMessage, "Warte auf Daten vom Gerät ...");
  EXPECT_TRUE(test::WaitFor([&] { return lastMessage.startsWith("Keine Daten vom Gerät"); }));
  devices->fetchClick(Device::TagHeuer);  // a device that answers ends the wait
  test::Feed(pty, "x!T 12:00:00\r");
  QTest::qWait(200);
  EXPECT_EQ(lastMessage, "Synchronisation um 12:00:00,00");
}

TEST(TimyUsbBackend, SplitsLinesAtCrOrLfAndCountsDevicesByTheirIds) {
  test::Pty pty;
  ASSERT_TRUE(pty.ok());
  const std::vector<PortInfo> ports{
      {"ttyACM0", true, 0x1234, 0x5678}, {"ttyS0"}, {"ttyUSB1", true, 0x1234, 0x9999}};
  SerialTimyUsbLink link([&] { return ports; }, ParseUsbIds("1234:5678, 1234:9999,bad"));
  EXPECT_EQ(link.deviceCount(), 2);
  EXPECT_EQ(SerialTimyUsbLink([&] { return ports; }, {}).deviceCount(), 0);

  ASSERT_TRUE(link.openPort(pty.path()));
  QStringList lines;
  QObject::connect(&link, &TimyUsbLink::lineReceived, [&](const QString& l) { lines.append(l); });
  test::Feed(pty, " 0001 C0  10:");
  test::Feed(pty, "00:00.00 00\r");
  test::Feed(pty, "\nDTS 1\r\n\r\nlast\n");
  EXPECT_TRUE(test::WaitFor([&] { return lines.size() == 3; }));
  EXPECT_EQ(lines, QStringList({" 0001 C0  10:00:00.00 00", "DTS 1", "last"}));
  EXPECT_EQ(link.send("RSM\r"), 0);
  EXPECT_EQ(test::ReadSent(pty, "RSM\r"), QByteArray("RSM\r"));
  link.close();
  EXPECT_NE(link.send("RSM\r"), 0);
}

}  // namespace
}  // namespace kx
