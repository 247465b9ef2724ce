#include "devices/deviceconnections.h"

#include "common/guarded.h"
#include "common/userinterface.h"
#include "devices/handtimestore.h"

#include <cmath>
#include <limits>

namespace kx {

namespace {

const QString kFormMessage =
    QStringLiteral("Den Synchronisations-Zeitpunkt bitte in der Form hh:mm eingeben");
const QString kFetchWaiting = QStringLiteral("Warte auf Daten vom Gerät ...");
const QString kFetchNoData =
    QStringLiteral("Keine Daten vom Gerät empfangen - bitte Kabel, Port und Gerät prüfen");
const QString kFetchNoTimes = QStringLiteral("Keine Zeiten vom Gerät empfangen");

// A number as typed (a comma or a point before decimals), rounded half to even into the
// 16-bit range.
std::optional<int> TypedWholeNumber(const QString& text) {
  QString t = text.trimmed();
  t.replace(QLatin1Char(','), QLatin1Char('.'));
  bool ok = false;
  const double value = t.toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  const double rounded = std::nearbyint(value);
  if (rounded < std::numeric_limits<qint16>::min() || rounded > std::numeric_limits<qint16>::max())
    return std::nullopt;
  return static_cast<int>(rounded);
}

QString TwoDigits(int value) {
  if (value < 0) return QLatin1Char('-') + QString::number(-value).rightJustified(2, u'0');
  return QString::number(value).rightJustified(2, u'0');
}

struct DeviceTraits {
  const char* tag;
  const char* settings;
};

DeviceTraits TraitsOf(Device device) {
  switch (device) {
    case Device::DigiSport:
      return {"DIGI", "4800,n,8,1"};
    case Device::AlgeTimy:
      return {"ALGE", "9600,N,8,1"};
    default:
      return {"TAGH", "38400,N,8,1"};
  }
}

}  // namespace

SyncTimeInput ParseSyncTime(const QString& typed) {
  SyncTimeInput input;
  if (typed == QLatin1String("00:00")) {
    input.refusal = QStringLiteral("Bitte zuerst die Synchronisationszeit eingeben");
    return input;
  }
  const qsizetype colon = typed.indexOf(QLatin1Char(':'));
  if (colon < 0) {
    input.refusal = kFormMessage;
    return input;
  }
  const std::optional<int> hours = TypedWholeNumber(typed.left(colon));
  const std::optional<int> minutes = TypedWholeNumber(typed.mid(colon + 1));
  if (!hours || !minutes || *hours > 24 || *minutes > 59) {
    input.refusal = kFormMessage;
    return input;
  }
  input.text = TwoDigits(*hours) + QLatin1Char(':') + TwoDigits(*minutes);
  input.value = *hours / 24.0 + *minutes / 1440.0;
  return input;
}

DeviceConnections::DeviceConnections(AppState& state, UserInterface& ui, PortEnumerator ports,
                                     std::unique_ptr<TimyUsbLink> usb, MonotonicClock clock,
                                     QObject* parent)
    : QObject(parent),
      state_(state),
      ui_(ui),
      usb_(std::move(usb)),
      watcher_(ui, std::move(ports)),
      receiver_(state, std::move(clock)) {
  receiver_.onMessageLine = [this](const QString& text) {
    fetchQuiet_.stop();  // the device answers the fetch
    emit messageLine(text);
  };
  ConnectGuarded(ui_, &serial_, &SerialLink::bytesReceived, this, [this](const QByteArray& bytes) {
    deviceSentBytes();
    receiver_.serialBytes(bytes);
  });
  ConnectGuarded(ui_, usb_.get(), &TimyUsbLink::lineReceived, this, [this](const QString& line) {
    deviceSentBytes();
    receiver_.usbLine(line);
  });
  fetchQuiet_.setSingleShot(true);
  ConnectGuarded(ui_, &fetchQuiet_, &QTimer::timeout, this,
                 [this] { emit messageLine(fetchBytes_ ? kFetchNoTimes : kFetchNoData); });
}

DeviceConnections::~DeviceConnections() {
  // Nothing more may reach the stores while the links go.
  receiver_.onMessageLine = nullptr;
  QObject::disconnect(&serial_, nullptr, this, nullptr);
  QObject::disconnect(usb_.get(), nullptr, this, nullptr);
  serial_.close();
  if (usbConnected_) usb_->close();
}

bool DeviceConnections::connected(Device device) const {
  if (device == Device::None) return false;
  return serialOwner_ == device || (device == Device::AlgeTimy && usbConnected_);
}

QString DeviceConnections::connectedPort(Device device) const {
  if (device == Device::AlgeTimy && usbConnected_) return kTimyUsbPort;
  if (device != Device::None && serialOwner_ == device) return serial_.portText();
  return QString();
}

QString DeviceConnections::statusText(Device device) const {
  if (!connected(device)) return QStringLiteral("nicht verbunden");
  return QStringLiteral("Mit ") + connectedPort(device) + QStringLiteral(" verbunden");
}

DeviceConnections::Outcome DeviceConnections::connectClick(Device device, const Inputs& inputs) {
  Outcome outcome;
  if (busy_) return outcome;
  fetchQuiet_.stop();
  const bool disconnecting = connected(device);
  if (device == Device::DigiSport) {
    const SyncTimeInput sync = ParseSyncTime(inputs.synch);
    if (!sync.refusal.isEmpty()) {
      ui_.message(sync.refusal);
      return outcome;
    }
    outcome.synch = sync.text;
    receiver_.SyncTime = sync.value;
  }
  // A connected device can always be disconnected, whatever the combo shows now.
  if (!disconnecting && inputs.handzeit == kHandzeitNone) {
    ui_.message(QStringLiteral("Bitte zuerst wählen ob Start- oder Ziel-Handzeit"));
    return outcome;
  }
  outcome.checked = true;
  if (disconnecting) {
    disconnect(device, inputs, outcome);
  } else if (device == Device::AlgeTimy && inputs.port == kTimyUsbPort) {
    connectUsb(inputs, outcome);
  } else {
    connectSerial(device, inputs, outcome);
  }
  return outcome;
}

void DeviceConnections::connectSerial(Device device, const Inputs& inputs, Outcome& outcome) {
  // One device at a time holds the serial port.
  const bool free = serialOwner_ == Device::None;
  if (!free || !serial_.open(inputs.port)) {
    outcome.status = QStringLiteral("Verbindung nicht möglich mit ") + inputs.port;
    return;
  }
  const DeviceTraits traits = TraitsOf(device);
  serialOwner_ = device;
  receiver_.DeviceTag = QString::fromLatin1(traits.tag);
  serial_.applySettings(QString::fromLatin1(traits.settings));
  startReceiving(device, inputs, outcome);
  if (device == Device::TagHeuer) serial_.write("#SN\r");
}

void DeviceConnections::connectUsb(const Inputs& inputs, Outcome& outcome) {
  usb_->open(0);
  usb_->send(QStringLiteral("EMU0\r"));
  if (usb_->send(QStringLiteral("DTS?\r")) != 0) {
    usb_->close();
    outcome.status = QStringLiteral("Verbindung nicht möglich mit ") + inputs.port;
    return;
  }
  usbConnected_ = true;
  waitForDevice();
  startReceiving(Device::AlgeTimy, inputs, outcome);
}

void DeviceConnections::startReceiving(Device device, const Inputs& inputs, Outcome& outcome) {
  outcome.status = statusText(device);
  receiver_.ReceiveMode =
      inputs.handzeit == kHandzeitStart ? QStringLiteral("S") : QStringLiteral("Z");
  HandTimeStore(state_, receiver_.ReceiveMode).clear();
  receiver_.clearPartial();
  outcome.messageLine = QString();
  if (device == Device::AlgeTimy) receiver_.ReceiveState = QStringLiteral("empfangen");
}

void DeviceConnections::disconnect(Device device, const Inputs& inputs, Outcome& outcome) {
  if (device == Device::AlgeTimy && usbConnected_) {
    usb_->close();
    usbConnected_ = false;
  } else {
    if (!serial_.close()) return;
    serialOwner_ = Device::None;
  }
  outcome.status = statusText(device);
  const bool start = inputs.handzeit == kHandzeitStart;
  const size_t count = (start ? state_.HzStart : state_.HzZiel).size();
  if (count == 0) {
    outcome.messageLine = QString();
  } else {
    outcome.messageLine = QString::number(count) + (start ? QStringLiteral(" Start-Zeiten geladen")
                                                          : QStringLiteral(" Ziel-Zeiten geladen"));
  }
}

void DeviceConnections::fetchClick(Device device) {
  if (busy_) return;
  if (!connected(device)) {
    ui_.message(QStringLiteral("Bitte zuerst eine Verbindung herstellen"));
    return;
  }
  HandTimeStore(state_, receiver_.ReceiveMode).clear();
  startFetchWait();
  if (device == Device::TagHeuer) {
    serial_.write("#!T\r#WC 012\r");
    return;
  }
  receiver_.ReceiveState = QStringLiteral("abgeholt");
  if (usbConnected_) {
    usb_->send(QStringLiteral("RSM\r"));
    waitForDevice();
  } else {
    serial_.write("RSM\r");
  }
}

void DeviceConnections::startFetchWait() {
  fetchBytes_ = false;
  fetchQuiet_.start(fetchQuietMs);
  emit messageLine(kFetchWaiting);
}

void DeviceConnections::deviceSentBytes() {
  if (!fetchQuiet_.isActive()) return;
  fetchBytes_ = true;
  fetchQuiet_.start(fetchQuietMs);
}

void DeviceConnections::waitForDevice() {
  busy_ = true;
  wait(0.5);
  busy_ = false;
}

}  // namespace kx
