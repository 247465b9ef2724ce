#include "devices/devicepanels.h"

#include "common/appstate.h"
#include "devices/handtimestore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

#include <cmath>
#include <stdexcept>

namespace kx {

namespace {

const QString kConnectionsName = QStringLiteral("DeviceConnections");

QObject& OwnerOf(PanelHost& host) {
  auto* owner = dynamic_cast<QObject*>(&host);
  if (!owner) throw std::logic_error("the device connections need a window that owns them");
  return *owner;
}

Device DeviceOf(const QString& panelName) {
  if (panelName == QLatin1String("DIGISport")) return Device::DigiSport;
  if (panelName == QLatin1String("ALGETimy")) return Device::AlgeTimy;
  return Device::TagHeuer;
}

void MakeBlue(QLabel* label) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  label->setPalette(palette);
}

// The synchronisation time as the panel shows it: "hh:mm".
QString SyncText(double syncTime) {
  const auto minutes = static_cast<int>(std::lround(syncTime * 1440));
  return QStringLiteral("%1:%2")
      .arg(minutes / 60, 2, 10, QLatin1Char('0'))
      .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// The rows of the device and file panels, in twips.
constexpr int kCaptionLeft = 980;
constexpr int kFieldLeft = 2060;
constexpr int kButtonLeft = 5180;

struct CommonControls {
  QLabel* message;
  QComboBox* handzeit;
};

}  // namespace

DeviceConnections& InstallDeviceConnections(PanelHost& host, PortEnumerator ports,
                                            std::unique_ptr<TimyUsbLink> usb,
                                            MonotonicClock clock) {
  QObject& owner = OwnerOf(host);
  delete owner.findChild<DeviceConnections*>(kConnectionsName, Qt::FindDirectChildrenOnly);
  auto* connections = new DeviceConnections(host.state(), host.ui(), std::move(ports),
                                            std::move(usb), std::move(clock), &owner);
  connections->setObjectName(kConnectionsName);
  return *connections;
}

DeviceConnections& DeviceConnectionsOf(PanelHost& host) {
  QObject& owner = OwnerOf(host);
  if (auto* connections =
          owner.findChild<DeviceConnections*>(kConnectionsName, Qt::FindDirectChildrenOnly)) {
    return *connections;
  }
  const UsbIds ids =
      ParseUsbIds(host.settings().value(QStringLiteral("TimyUSB/UsbIds")).toString());
  return InstallDeviceConnections(
      host, SystemPorts, std::make_unique<SerialTimyUsbLink>(SystemPorts, ids), SteadyClock());
}

QLabel* HandTimePanel::addCaption(const QString& text, int top) {
  return addLabel(QStringLiteral("Label%1").arg(++captions_, 2, 10, QLatin1Char('0')), text,
                  Arial(9), {kCaptionLeft, top, 1500, 255});
}

void HandTimePanel::addHandzeitRow() {
  addCaption(QStringLiteral("Handzeit"), 2450);
  message_ = addLabel(QStringLiteral("UploadProtokoll"), QString(), Arial(9),
                      {kCaptionLeft, 2900, 6015, 255});
  MakeBlue(message_);
  handzeit_ = addComboBox(QStringLiteral("Handzeit"), Arial(9), kFieldLeft, 2450, 1455, false);
  handzeit_->addItems({QStringLiteral("- ? -"), QStringLiteral("Start"), QStringLiteral("Ziel")});
  handzeit_->setCurrentIndex(kHandzeitNone);
}

void HandTimePanel::addCounters() {
  addCaption(QStringLiteral("Handzeit Start:"), 3200);
  countStart_ =
      addLabel(QStringLiteral("HandzeitenStart"), QString(), Arial(9), {1600, 3200, 2600, 255});
  countStart_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  addCaption(QStringLiteral("Handzeit Ziel:"), 3500);
  countZiel_ =
      addLabel(QStringLiteral("HandzeitenZiel"), QString(), Arial(9), {1600, 3500, 2600, 255});
  countZiel_->setAlignment(Qt::AlignRight | Qt::AlignTop);
  showCounts();
}

void HandTimePanel::showCounts() {
  countStart_->setText(HandTimeCountText(state().HzStart));
  countZiel_->setText(HandTimeCountText(state().HzZiel));
}

DevicePanel::DevicePanel(PanelHost& host, const PanelInfo& row)
    : HandTimePanel(host, row),
      device_(DeviceOf(row.name)),
      prefix_(row.name),
      connections_(DeviceConnectionsOf(host)) {}

void DevicePanel::build() {
  const bool digi = device_ == Device::DigiSport;
  addCaption(QStringLiteral("COM-Port"), 1100);
  comPort_ = addComboBox(QStringLiteral("ComPort"), Arial(9), kFieldLeft, 1100, 2895);
  PortWatcher& watcher = connections_.portWatcher();
  comPort_->addItems(PortNames(watcher.ports()));
  if (comPort_->count() > 0) comPort_->setCurrentIndex(0);
  if (device_ == Device::AlgeTimy && connections_.usb().deviceCount() >= 1) {
    comPort_->addItem(kTimyUsbPort);
    if (comPort_->count() == 1) comPort_->setCurrentIndex(-1);
  }
  connect_ =
      addButton(prefix_ + QStringLiteral("_Verbinden"), QStringLiteral("Verbinden"),
                SansSerif(8, true), {kButtonLeft, 1100, 1815, 375}, [this] { connectClicked(); });
  status_ = addLabel(QStringLiteral("ComPort_Meldung"), QStringLiteral("nicht verbunden"), Arial(9),
                     {kCaptionLeft, 1550, 6015, 255});
  MakeBlue(status_);
  if (digi) {
    addCaption(QStringLiteral("Synch-Zeit"), 1950);
    synchZeit_ = addTextBox(QStringLiteral("SynchZeit"), QStringLiteral("00:00"), Arial(9),
                            {kFieldLeft, 1950, 975, 315});
  }
  addHandzeitRow();
  if (!digi) {
    addButton(prefix_ + QStringLiteral("_Abholen"), QStringLiteral("Zeiten abholen"), SansSerif(8),
              {kButtonLeft, 2450, 1815, 375}, [this] { fetchClicked(); });
  }
  addCounters();
  addButton(QStringLiteral("SaveHandzeit"), QStringLiteral("Sichern (F2)"), SansSerif(8, true),
            {kCaptionLeft, 4000, 1815, 375}, [this] { mainAction(); });
  addButton(prefix_ + QStringLiteral("_Schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {kButtonLeft, 4000, 1815, 375}, [this] {
              if (!connections_.busy()) closeSelf();
            });
  QLabel* note =
      addCaption(QStringLiteral("Das Sichern der geladenen Zeiten in einer Datei ist für "
                                "die Berechnung der Handzeit nicht erforderlich."),
                 4600);
  note->setGeometry(TwipsToPixels({kCaptionLeft, 4600, 3500, 900}));
  QFont italic = note->font();
  italic.setItalic(true);
  note->setFont(italic);
  showConnection();

  connectGuarded(&watcher, &PortWatcher::portAdded,
                 [this](const QString& name) { portAdded(name); });
  connectGuarded(&watcher, &PortWatcher::portRemoved,
                 [this](const QString& name) { portRemoved(name); });
  connectGuarded(&connections_, &DeviceConnections::messageLine,
                 [this](const QString& text) { message_->setText(text); });
  watcher.start();
}

void DevicePanel::showConnection() {
  const bool connected = connections_.connected(device_);
  connect_->setText(connected ? QStringLiteral("Trennen") : QStringLiteral("Verbinden"));
  status_->setText(connections_.statusText(device_));
  if (!connected) return;
  // A panel opened again while its device is connected shows that connection.
  const QString port = connections_.connectedPort(device_);
  const int at = comPort_->findText(port);
  if (at >= 0) {
    comPort_->setCurrentIndex(at);
  } else {
    comPort_->setEditText(port);
  }
  handzeit_->setCurrentIndex(
      connections_.receiver().ReceiveMode == QLatin1String("S") ? kHandzeitStart : kHandzeitZiel);
  if (synchZeit_) synchZeit_->setText(SyncText(connections_.receiver().SyncTime));
}

void DevicePanel::connectClicked() {
  if (connections_.busy()) return;
  DeviceConnections::Inputs inputs;
  inputs.port = comPort_->currentText();
  inputs.handzeit = handzeit_->currentIndex();
  if (synchZeit_) inputs.synch = synchZeit_->text();
  // A USB connect lets events run while it waits: the panel may be gone afterwards.
  PanelHost& host = this->host();
  const QPointer<DevicePanel> self(this);
  const DeviceConnections::Outcome outcome = connections_.connectClick(device_, inputs);
  if (self) {
    if (outcome.synch && synchZeit_) synchZeit_->setText(*outcome.synch);
    if (outcome.checked) {
      connect_->setText(connections_.connected(device_) ? QStringLiteral("Trennen")
                                                        : QStringLiteral("Verbinden"));
      if (outcome.status) status_->setText(*outcome.status);
      if (outcome.messageLine) message_->setText(*outcome.messageLine);
      showCounts();
    }
  }
  if (outcome.checked) host.UpdateTimeMenus();
}

void DevicePanel::fetchClicked() {
  connections_.fetchClick(device_);
}

void DevicePanel::mainAction() {
  if (connections_.busy()) return;
  guarded([this] { SaveHandTimesToFile(state(), ui(), handzeit_->currentIndex()); });
}

void DevicePanel::afterClose() {
  // A closed panel's controls are never written again.
  PortWatcher& watcher = connections_.portWatcher();
  watcher.stop();
  disconnect(&watcher, nullptr, this, nullptr);
  disconnect(&connections_, nullptr, this, nullptr);
  host().UpdateTimeMenus();
}

void DevicePanel::portAdded(const QString& name) {
  // The port chosen or typed stays: a new entry never replaces it.
  const int index = comPort_->currentIndex();
  const QString text = comPort_->currentText();
  comPort_->addItem(name);
  if (comPort_->currentIndex() != index) {
    comPort_->setCurrentIndex(index);
    comPort_->setEditText(text);
  }
}

void DevicePanel::portRemoved(const QString& name) {
  const int at = comPort_->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (at < 0) return;
  // A port that goes while chosen stays in the text, so that no other port is used unseen.
  const bool chosen = at == comPort_->currentIndex();
  const QString text = comPort_->currentText();
  comPort_->removeItem(at);
  if (chosen) {
    comPort_->setCurrentIndex(-1);
    comPort_->setEditText(text);
  }
}

void HandTimeFilePanel::build() {
  addHandzeitRow();
  addCounters();
  addButton(QStringLiteral("Load_Zeiten"), QStringLiteral("Zeiten laden"), SansSerif(8),
            {kButtonLeft, 2450, 1815, 375}, [this] { loadClicked(); });
  addButton(QStringLiteral("LadenDatei_Schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {kButtonLeft, 4000, 1815, 375}, [this] { closeSelf(); });
}

void HandTimeFilePanel::loadClicked() {
  const std::optional<QString> loaded =
      LoadHandTimesFromFile(state(), ui(), handzeit_->currentIndex());
  if (!loaded) return;
  message_->setText(*loaded);
  showCounts();
  host().UpdateTimeMenus();
}

}  // namespace kx
