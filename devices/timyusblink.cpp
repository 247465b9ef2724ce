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
  connect(&port_, &QSerialPort::readyRead, this, [this] { takeBytes(port_.readAll()); });
  // A Timy unplugged leaves a port that can only be closed.
  connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ResourceError) close();
  });
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
  if (port_.isOpen() || ids_.empty()) return;
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
  if (port_.isOpen()) return false;
  port_.setPortName(port);
  if (!port_.open(QIODevice::ReadWrite)) return false;
  port_.setBaudRate(QSerialPort::Baud9600);
  port_.setParity(QSerialPort::NoParity);
  port_.setDataBits(QSerialPort::Data8);
  port_.setStopBits(QSerialPort::OneStop);
  port_.setFlowControl(QSerialPort::NoFlowControl);
  pending_.clear();
  return true;
}

int SerialTimyUsbLink::send(const QString& command) {
  if (!port_.isOpen()) return -1;
  const QByteArray bytes = DeviceBytes(command);
  const qint64 written = port_.write(bytes);
  port_.flush();
  return written == bytes.size() ? 0 : -1;
}

void SerialTimyUsbLink::close() {
  if (port_.isOpen()) port_.close();
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
