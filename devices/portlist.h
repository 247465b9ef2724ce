#pragma once

// The serial ports of the machine as the device panels offer them, and a watcher that
// polls the list while a device panel is open and reports ports that come and go.

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <utility>
#include <vector>

namespace kx {

class UserInterface;

// One serial port: its name ("ttyUSB0"), and the USB ids of the device behind it if any.
struct PortInfo {
  QString name;
  bool hasUsbIds = false;
  quint16 vendorId = 0;
  quint16 productId = 0;
};

// Lists the ports; tests inject their own.
using PortEnumerator = std::function<std::vector<PortInfo>()>;

// The system's serial ports, sorted by name.
std::vector<PortInfo> SystemPorts();

QStringList PortNames(const std::vector<PortInfo>& ports);

// USB vendor and product ids ("0403:6001", hex) of the devices that count as a Timy on
// USB, as kept in the per-user settings as a comma-separated list.
using UsbIds = std::vector<std::pair<quint16, quint16>>;
UsbIds ParseUsbIds(const QString& text);
bool MatchesUsbIds(const PortInfo& port, const UsbIds& ids);

// Compares the port list about once a second and reports each port added or removed by
// name (a name listed twice counts twice). Polls only between start() and stop(); a poll
// that fails is reported to `ui` and the next one tries again.
class PortWatcher : public QObject {
  Q_OBJECT
 public:
  PortWatcher(UserInterface& ui, PortEnumerator enumerator, QObject* parent = nullptr);

  // Reads the list now and takes it as the base for the changes reported later.
  std::vector<PortInfo> ports();
  void start(int intervalMs = 1000);
  void stop();
  bool active() const { return timer_.isActive(); }
  // One comparison now (the timer's work).
  void poll();

 signals:
  void portAdded(const QString& name);
  void portRemoved(const QString& name);

 private:
  PortEnumerator enumerator_;
  QStringList known_;
  QTimer timer_;
};

}  // namespace kx
