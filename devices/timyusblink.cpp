#include "devices/timyusblink.h"

#include "devices/devicereaders.h"

#include <QStringList>

namespace kx {

namespace {

// A line longer than this without an end is noise; it is dropped.
constexpr qsizetype kMaxLine = 4096;

}  // namespace

SerialTimyUsbLink::SerialTimyUsbLink(PortEnumerator enumerator, UsbIds ids, QObject* parent)
    : TimyUsbLink(parent), enumerator_(std::move(enumerator)), ids_(std::move(ids)) {
  // No guard: cuts the bytes into lines; the device connections guard their reading.
  connect(&link_, &SerialLink::bytesReceived, this, &SerialTimyUsbLink::takeBytes);
}

SerialTimyUsbLink::~SerialTimyUsbLink() {
  close();
}

int SerialTimyUsbLink::deviceCount() {
  if (ids_.empty()) return 0;
  int count = 0;
  for (const PortInfo& port : enumerator_()) {
    if (MatchesUsbIds(port, ids_)) ++count;
  }
  return count;
}

void SerialTimyUsbLink::open(int device) {
  if (link_.isOpen() || ids_.empty()) return;
  int index = 0;
  for (const PortInfo& port : enumerator_()) {
    if (!MatchesUsbIds(port, ids_)) continue;
    if (index++ == device) {
      openPort(port.name);
      return;
    }
  }
}

bool SerialTimyUsbLink::openPort(const QString& port) {
  if (!link_.open(port)) return false;
  link_.applySettings(QStringLiteral("9600,N,8,1"));
  pending_.clear();
  return true;
}

int SerialTimyUsbLink::send(const QString& command) {
  return link_.write(DeviceBytes(command)) ? 0 : -1;
}

void SerialTimyUsbLink::close() {
  link_.close();
  pending_.clear();
}

void SerialTimyUsbLink::takeBytes(const QByteArray& bytes) {
  pending_ += bytes;
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < pending_.size(); ++i) {
    const char c = pending_[i];
    if (c != '\r' && c != '\n') continue;
    if (i > start) lines.append(DeviceText(QByteArrayView(pending_).sliced(start, i - start)));
    start = i + 1;
  }
  pending_.remove(0, start);
  if (pending_.size() > kMaxLine) pending_.clear();
  // The lines go out after the buffer is settled: a receiver may close the link.
  for (const QString& line : lines) emit lineReceived(line);
}

}  // namespace kx
