#pragma once

// The connections of the three hand-timing devices for the whole run of the program: the
// serial port and the Timy's USB link, which device holds them, the readers they feed and
// the connect, disconnect and fetch routines behind the device panels' buttons. A
// connection outlives its panel; the links close when this object goes (program end).

#include "devices/handtimereceiver.h"
#include "devices/portlist.h"
#include "devices/seriallink.h"
#include "devices/timyusblink.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <optional>

namespace kx {

class UserInterface;

enum class Device { None, DigiSport, AlgeTimy, TagHeuer };

// The port text that selects the Timy on USB.
inline const QString kTimyUsbPort = QStringLiteral("TimyUSB");

// The synchronisation time typed as "hh:mm": the text written back and the day fraction, or
// the message that refuses it.
struct SyncTimeInput {
  QString text;
  double value = 0;
  QString refusal;
};
SyncTimeInput ParseSyncTime(const QString& typed);

class DeviceConnections : public QObject {
  Q_OBJECT
 public:
  DeviceConnections(AppState& state, UserInterface& ui, PortEnumerator ports,
                    std::unique_ptr<TimyUsbLink> usb, MonotonicClock clock,
                    QObject* parent = nullptr);
  ~DeviceConnections() override;

  // The wait of the USB connect and fetch; tests may shorten it.
  std::function<void(double)> wait = WaitSeconds;
  // How long a fetch waits for the device without a byte before the message line says
  // that nothing came (about 10 s; tests shorten it).
  int fetchQuietMs = 10000;

  HandTimeReceiver& receiver() { return receiver_; }
  SerialLink& serial() { return serial_; }
  TimyUsbLink& usb() { return *usb_; }
  PortWatcher& portWatcher() { return watcher_; }

  bool connected(Device device) const;
  // The port the device was connected on.
  QString connectedPort(Device device) const;
  // "Mit <port> verbunden" or "nicht verbunden".
  QString statusText(Device device) const;
  // True while a connect or fetch waits for the device; buttons then do nothing.
  bool busy() const { return busy_; }

  // The panel's inputs for a connect click.
  struct Inputs {
    QString port;      // text of ComPort
    int handzeit = 0;  // position of Handzeit
    QString synch;     // text of SynchZeit (DIGI Sport)
  };
  // What the panel shows afterwards. `checked` is false when a check refused the click
  // (its message was shown and nothing else changes).
  struct Outcome {
    bool checked = false;
    std::optional<QString> synch;
    std::optional<QString> status;
    std::optional<QString> messageLine;
  };
  // The connect button: connects, or disconnects when the device is connected.
  Outcome connectClick(Device device, const Inputs& inputs);
  // "Zeiten abholen" of the ALGE Timy and the TAG Heuer. The message line shows that the
  // fetch waits until the device's first time (or synchronisation) arrives, and says so
  // when the device stays quiet for fetchQuietMs.
  void fetchClick(Device device);

 signals:
  // The readers' message line.
  void messageLine(const QString& text);

 private:
  void connectSerial(Device device, const Inputs& inputs, Outcome& outcome);
  void connectUsb(const Inputs& inputs, Outcome& outcome);
  void disconnect(Device device, const Inputs& inputs, Outcome& outcome);
  void startReceiving(Device device, const Inputs& inputs, Outcome& outcome);
  void waitForDevice();
  void startFetchWait();
  void deviceSentBytes();

  AppState& state_;
  UserInterface& ui_;
  SerialLink serial_;
  std::unique_ptr<TimyUsbLink> usb_;
  PortWatcher watcher_;
  HandTimeReceiver receiver_;
  Device serialOwner_ = Device::None;
  bool usbConnected_ = false;
  bool busy_ = false;
  QTimer fetchQuiet_;        // runs while a fetch waits for the device
  bool fetchBytes_ = false;  // the device sent something since the fetch
};

}  // namespace kx
