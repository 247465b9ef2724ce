#include "devices/portlist.h"

#include "common/guarded.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace kx {

std::vector<PortInfo> SystemPorts() {
  std::vector<PortInfo> ports;
  const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
  ports.reserve(static_cast<size_t>(infos.size()));
  for (const QSerialPortInfo& info : infos) {
    PortInfo port;
    port.name = info.portName();
    port.hasUsbIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
    port.vendorId = info.vendorIdentifier();
    port.productId = info.productIdentifier();
    ports.push_back(port);
  }
  std::sort(ports.begin(), ports.end(),
            [](const PortInfo& a, const PortInfo& b) { return a.name < b.name; });
  return ports;
}

QStringList PortNames(const std::vector<PortInfo>& ports) {
  QStringList names;
  names.reserve(static_cast<qsizetype>(ports.size()));
  for (const PortInfo& port : ports) names.append(port.name);
  return names;
}

UsbIds ParseUsbIds(const QString& text) {
  UsbIds ids;
  for (const QString& item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const QStringList pair = item.trimmed().split(QLatin1Char(':'));
    if (pair.size() != 2) continue;
    bool okVendor = false;
    bool okProduct = false;
    const uint vendor = pair[0].trimmed().toUInt(&okVendor, 16);
    const uint product = pair[1].trimmed().toUInt(&okProduct, 16);
    if (okVendor && okProduct && vendor <= 0xFFFF && product <= 0xFFFF) {
      ids.emplace_back(static_cast<quint16>(vendor), static_cast<quint16>(product));
    }
  }
  return ids;
}

bool MatchesUsbIds(const PortInfo& port, const UsbIds& ids) {
  if (!port.hasUsbIds) return false;
  return std::any_of(ids.begin(), ids.end(), [&](const auto& id) {
    return id.first == port.vendorId && id.second == port.productId;
  });
}

PortWatcher::PortWatcher(UserInterface& ui, PortEnumerator enumerator, QObject* parent)
    : QObject(parent), enumerator_(std::move(enumerator)) {
  ConnectGuarded(ui, &timer_, &QTimer::timeout, this, [this] { poll(); });
}

std::vector<PortInfo> PortWatcher::ports() {
  std::vector<PortInfo> list = enumerator_();
  known_ = PortNames(list);
  return list;
}

void PortWatcher::start(int intervalMs) {
  timer_.start(intervalMs);
}

void PortWatcher::stop() {
  timer_.stop();
}

void PortWatcher::poll() {
  QStringList now = PortNames(enumerator_());
  QStringList gone = known_;
  QStringList added;
  for (const QString& name : now) {
    const qsizetype at = gone.indexOf(name);
    if (at >= 0) {
      gone.removeAt(at);
    } else {
      added.append(name);
    }
  }
  known_ = std::move(now);
  for (const QString& name : gone) emit portRemoved(name);
  for (const QString& name : added) emit portAdded(name);
}

}  // namespace kx
