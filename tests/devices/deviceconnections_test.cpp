// Connecting, fetching and receiving over a pseudo-terminal as the serial port, and over a
// fake Timy on USB: the exact command bytes, the port settings, a 2,000-line read-out, the
// busy port, a reconnect after half a line; the real USB backend's line splitting.
#include "devices/deviceconnections.h"

#include "devices/handtimestore.h"
#include "devices/handtimetext.h"
#include "tests/devices/pty.h"
#include "tests/support/scriptedui.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

class FakeTimy : public TimyUsbLink {
 public:
  void open(int device) override {
    opened = true;
    openedDevice = device;
  }
  int send(const QString& command) override {
    sent.append(command);
    return command == QLatin1String("DTS?\r") ? dtsResult : 0;
  }
  void close() override { opened = false; }
  bool isOpen() const override { return opened; }
  int deviceCount() override { return 1; }
  void line(const QString& text) { emit lineReceived(text); }

  bool opened = false;
  int openedDevice = -1;
  int dtsResult = 0;
  QStringList sent;
};

class DeviceConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    auto fake = std::make_unique<FakeTimy>();
    timy = fake.get();
    devices = std::make_unique<DeviceConnections>(
        state, ui, [] { return std::vector<PortInfo>{}; }, std::move(fake), SteadyClock());
    devices->wait = [this](double seconds) {
      waits.append(seconds);
      // A second click while waiting does nothing.
      const auto again = devices->connectClick(Device::AlgeTimy, {kTimyUsbPort, 2, {}});
      EXPECT_FALSE(again.checked);
      devices->fetchClick(Device::AlgeTimy);
    };
    QObject::connect(devices.get(), &DeviceConnections::messageLine,
                     [this](const QString& text) { lastMessage = text; });
  }

  QStringList times(const std::vector<HandTime>& store) const {
    QStringList texts;
    for (const HandTime& entry : store) texts.append(FormatHandTime(entry.dayTime, "rnd"));
    return texts;
  }

  test::Pty pty;
  test::ScriptedUi ui;
  AppState state;
  FakeTimy* timy = nullptr;
  std::unique_ptr<DeviceConnections> devices;
  QList<double> waits;
  QString lastMessage;
};

TEST_F(DeviceConnectionTest, TagHeuerCommandsSettingsAndTimesOverThePort) {
  state.HzStart.assign(3, HandTime{0.1});
  state.HzZiel.assign(4, HandTime{0.2});
  auto outcome = devices->connectClick(Device::TagHeuer, {pty.path(), kHandzeitStart, {}});
  EXPECT_TRUE(outcome.checked);
  EXPECT_EQ(outcome.status, "Mit " + pty.path() + " verbunden");
  EXPECT_EQ(outcome.messageLine, "");
  EXPECT_TRUE(state.HzStart.empty());
  EXPECT_EQ(state.HzZiel.size(), 4u);
  const QSerialPort& port = devices->serial().port();
  EXPECT_EQ(port.baudRate(), 38400);
  EXPECT_EQ(port.parity(), QSerialPort::NoParity);
  EXPECT_EQ(port.dataBits(), QSerialPort::Data8);
  EXPECT_EQ(port.stopBits(), QSerialPort::OneStop);
  EXPECT_EQ(port.flowControl(), QSerialPort::NoFlowControl);
  EXPECT_EQ(test::ReadSent(pty, QByteArray("#SN\r")), QByteArray("#SN\r"));

  devices->fetchClick(Device::TagHeuer);
  EXPECT_EQ(test::ReadSent(pty, QByteArray("#!T\r#WC 012\r")), QByteArray("#!T\r#WC 012\r"));
  test::Feed(pty, "#!T 12:00:00\r#RR 0000 0001   00:05:10,27\r");
  EXPECT_TRUE(test::WaitFor([&] { return state.HzStart.size() == size_t{1}; }));
  EXPECT_EQ(times(state.HzStart), QStringList{"12:05:10,27"});
  EXPECT_EQ(lastMessage, "12:05:10,27 - 1 Zeiten abgeholt");

  // While the TAG Heuer holds the serial port, another device cannot connect.
  test::Pty other;
  outcome = devices->connectClick(Device::DigiSport, {other.path(), kHandzeitZiel, "10:00"});
  EXPECT_EQ(outcome.status, "Verbindung nicht möglich mit " + other.path());
  EXPECT_FALSE(devices->connected(Device::DigiSport));
  EXPECT_EQ(state.HzZiel.size(), 4u);

  // The disconnect closes the port it connected, whatever the combos show now.
  outcome = devices->connectClick(Device::TagHeuer, {"", kHandzeitNone, {}});
  EXPECT_TRUE(outcome.checked);
  EXPECT_EQ(outcome.status, "nicht verbunden");
  EXPECT_EQ(outcome.messageLine, "4 Ziel-Zeiten geladen");
  EXPECT_FALSE(devices->serial().isOpen());
  devices->fetchClick(Device::TagHeuer);
  EXPECT_EQ(ui.messageTexts().last(), "Bitte zuerst eine Verbindung herstellen");
}

TEST_F(DeviceConnectionTest, TimyReadOutOf2000LinesAndAReconnectAfterHalfALine) {
  auto outcome = devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  ASSERT_TRUE(devices->connected(Device::AlgeTimy));
  EXPECT_EQ(devices->serial().port().baudRate(), 9600);
  test::Feed(pty, " 0001 C0  08:00:0");  // half a line, then the link drops
  EXPECT_TRUE(
      test::WaitFor([&] { return devices->receiver().lineBuffer().pending().size() == 17; }));
  devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  outcome = devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "Mit " + pty.path() + " verbunden");

  devices->fetchClick(Device::AlgeTimy);
  EXPECT_EQ(test::ReadSent(pty, QByteArray("RSM\r")), QByteArray("RSM\r"));
  QByteArray readOut;
  for (int i = 0; i < kHandTimeCapacity; ++i) {
    readOut += QStringLiteral(" %1 C0  %2 00\r")
                   .arg(i + 1, 4, 10, QLatin1Char('0'))
                   .arg(FormatHandTime(0.4 + i / 8640.0, "rnd").replace(',', '.'))
                   .toLatin1();
  }
  test::Feed(pty, readOut);
  EXPECT_TRUE(test::WaitFor([&] { return state.HzZiel.size() == size_t{2000}; }));
  EXPECT_EQ(times(state.HzZiel).first(), "09:36:00,00");
  EXPECT_EQ(times(state.HzZiel).last(), FormatHandTime(0.4 + 1999 / 8640.0, "rnd"));
  EXPECT_TRUE(lastMessage.endsWith(" - 2000 Zeiten abgeholt"));
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(DeviceConnectionTest, DigiSportChecksTheSynchronisationTime) {
  for (const char* bad : {"00:00", "12:60", "25:00", "1230", "ab:cd"}) {
    const auto outcome = devices->connectClick(Device::DigiSport, {pty.path(), 1, bad});
    EXPECT_FALSE(outcome.checked) << bad;
  }
  EXPECT_EQ(ui.messageTexts().first(), "Bitte zuerst die Synchronisationszeit eingeben");
  EXPECT_EQ(ui.messageTexts().last(),
            "Den Synchronisations-Zeitpunkt bitte in der Form hh:mm eingeben");
  EXPECT_EQ(ParseSyncTime("24:00").value, 1.0);
  ui.clear();
  auto outcome = devices->connectClick(Device::DigiSport, {pty.path(), kHandzeitNone, "9:5"});
  EXPECT_EQ(ui.messageTexts(), QStringList{"Bitte zuerst wählen ob Start- oder Ziel-Handzeit"});
  EXPECT_FALSE(devices->serial().isOpen());

  outcome = devices->connectClick(Device::DigiSport, {pty.path(), kHandzeitStart, "9:5"});
  EXPECT_EQ(outcome.synch, "09:05");
  EXPECT_DOUBLE_EQ(devices->receiver().SyncTime, 9 / 24.0 + 5 / 1440.0);
  EXPECT_EQ(devices->serial().port().baudRate(), 4800);
  test::Feed(pty, QByteArray::fromHex("02103254"));
  EXPECT_TRUE(test::WaitFor([&] { return devices->receiver().digiByteIndex() == 4; }));
  test::Feed(pty, QByteArray::fromHex("70"));
  EXPECT_TRUE(test::WaitFor([&] { return state.HzStart.size() == 1; }));
  EXPECT_EQ(times(state.HzStart), QStringList{"09:06:23,45"});
  EXPECT_EQ(lastMessage, "00:01:23.450 - 1 Zeiten empfangen");
}

TEST_F(DeviceConnectionTest, TimyOnUsbConnectsWaitsAndFetches) {
  timy->dtsResult = 5;
  state.HzZiel.assign(2, HandTime{0.2});
  auto outcome = devices->connectClick(Device::AlgeTimy, {kTimyUsbPort, kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "Verbindung nicht möglich mit TimyUSB");
  EXPECT_FALSE(devices->connected(Device::AlgeTimy));
  EXPECT_TRUE(devices->receiver().ReceiveMode.isEmpty());
  EXPECT_EQ(state.HzZiel.size(), 2u);
  EXPECT_EQ(timy->sent, QStringList({"EMU0\r", "DTS?\r"}));
  EXPECT_TRUE(waits.isEmpty());

  timy->dtsResult = 0;
  timy->sent.clear();
  outcome = devices->connectClick(Device::AlgeTimy, {kTimyUsbPort, kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "Mit TimyUSB verbunden");
  EXPECT_EQ(timy->openedDevice, 0);
  EXPECT_EQ(waits, QList<double>{0.5});
  EXPECT_TRUE(state.HzZiel.empty());
  timy->line(" 0001 C0  10:00:00.00 00");
  EXPECT_EQ(lastMessage, "10:00:00.00 - 1 Zeiten empfangen");

  devices->fetchClick(Device::AlgeTimy);
  EXPECT_EQ(timy->sent, QStringList({"EMU0\r", "DTS?\r", "RSM\r"}));
  EXPECT_EQ(waits.size(), 2);
  EXPECT_TRUE(state.HzZiel.empty());
  timy->line(" 0001 C0  10:00:00.00 00");
  EXPECT_EQ(lastMessage, "10:00:00.00 - 1 Zeiten abgeholt");

  // The USB link does not hold the serial port; the disconnect closes the USB link.
  outcome = devices->connectClick(Device::AlgeTimy, {pty.path(), kHandzeitZiel, {}});
  EXPECT_EQ(outcome.status, "nicht verbunden");
  EXPECT_FALSE(timy->opened);
}

TEST(TimyUsbBackend, SplitsLinesAtCrOrLfAndCountsDevicesByTheirIds) {
  test::Pty pty;
  ASSERT_TRUE(pty.ok());
  const std::vector<PortInfo> ports{
      {"ttyACM0", true, 0x1234, 0x5678}, {"ttyS0", false, 0, 0}, {"ttyUSB1", true, 0x1234, 0x9999}};
  SerialTimyUsbLink link([&] { return ports; }, ParseUsbIds("1234:5678, 1234:9999,bad"));
  EXPECT_EQ(link.deviceCount(), 2);
  EXPECT_EQ(SerialTimyUsbLink([&] { return ports; }, {}).deviceCount(), 0);

  ASSERT_TRUE(link.openPort(pty.path()));
  QStringList lines;
  QObject::connect(&link, &TimyUsbLink::lineReceived,
                   [&](const QString& line) { lines.append(line); });
  test::Feed(pty, " 0001 C0  10:");
  test::Feed(pty, "00:00.00 00\r");
  test::Feed(pty, "\nDTS 1\r\n\r\nlast\n");
  EXPECT_TRUE(test::WaitFor([&] { return lines.size() == 3; }));
  EXPECT_EQ(lines, QStringList({" 0001 C0  10:00:00.00 00", "DTS 1", "last"}));
  EXPECT_EQ(link.send("RSM\r"), 0);
  EXPECT_EQ(test::ReadSent(pty, QByteArray("RSM\r")), QByteArray("RSM\r"));
  link.close();
  EXPECT_NE(link.send("RSM\r"), 0);
}

TEST(PortWatcherTest, ReportsAddedAndRemovedPortsByName) {
  std::vector<PortInfo> now{{"ttyS0"}, {"ttyUSB0"}};
  PortWatcher watcher([&] { return now; });
  EXPECT_EQ(PortNames(watcher.ports()), QStringList({"ttyS0", "ttyUSB0"}));
  QStringList events;
  QObject::connect(&watcher, &PortWatcher::portAdded, [&](const QString& n) { events << "+" + n; });
  QObject::connect(&watcher, &PortWatcher::portRemoved,
                   [&](const QString& n) { events << "-" + n; });
  now = {{"ttyS0"}, {"ttyUSB0"}, {"ttyUSB0"}, {"ttyACM0"}};
  watcher.poll();
  now = {{"ttyACM0"}, {"ttyUSB0"}};
  watcher.poll();
  watcher.poll();
  EXPECT_EQ(events, QStringList({"+ttyUSB0", "+ttyACM0", "-ttyS0", "-ttyUSB0"}));
}

TEST(SerialSettingsTest, ReadsTheDeviceSettingsTexts) {
  const auto digi = ParseSerialSettings("4800,n,8,1");
  ASSERT_TRUE(digi);
  EXPECT_EQ(digi->baudRate, 4800);
  EXPECT_EQ(digi->parity, QSerialPort::NoParity);
  const auto odd = ParseSerialSettings("9600,O,7,2");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->parity, QSerialPort::OddParity);
  EXPECT_EQ(odd->dataBits, QSerialPort::Data7);
  EXPECT_EQ(odd->stopBits, QSerialPort::TwoStop);
  for (const char* bad : {"", "4800,n,8", "x,n,8,1", "4800,q,8,1", "4800,n,9,1", "4800,n,8,3"}) {
    EXPECT_FALSE(ParseSerialSettings(bad)) << bad;
  }
}

}  // namespace
}  // namespace kx
