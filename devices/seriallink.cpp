#include "devices/seriallink.h"

#include <QStringList>

namespace kx {

std::optional<SerialSettings> ParseSerialSettings(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 4) return std::nullopt;
  SerialSettings settings;
  bool ok = false;
  settings.baudRate = parts[0].trimmed().toInt(&ok);
  if (!ok || settings.baudRate <= 0) return std::nullopt;

  const QString parity = parts[1].trimmed().toLower();
  if (parity == QLatin1String("n")) {
    settings.parity = QSerialPort::NoParity;
  } else if (parity == QLatin1String("e")) {
    settings.parity = QSerialPort::EvenParity;
  } else if (parity == QLatin1String("o")) {
    settings.parity = QSerialPort::OddParity;
  } else if (parity == QLatin1String("m")) {
    settings.parity = QSerialPort::MarkParity;
  } else if (parity == QLatin1String("s")) {
    settings.parity = QSerialPort::SpaceParity;
  } else {
    return std::nullopt;
  }

  const int dataBits = parts[2].trimmed().toInt(&ok);
  if (!ok || dataBits < 5 || dataBits > 8) return std::nullopt;
  settings.dataBits = static_cast<QSerialPort::DataBits>(dataBits);

  const QString stop = parts[3].trimmed();
  if (stop == QLatin1String("1")) {
    settings.stopBits = QSerialPort::OneStop;
  } else if (stop == QLatin1String("1.5")) {
    settings.stopBits = QSerialPort::OneAndHalfStop;
  } else if (stop == QLatin1String("2")) {
    settings.stopBits = QSerialPort::TwoStop;
  } else {
    return std::nullopt;
  }
  return settings;
}

SerialLink::SerialLink(QObject* parent) : QObject(parent) {
  // No guard: hands the bytes on; the device connections guard their reading.
  connect(&port_, &QSerialPort::readyRead, this, [this] {
    const QByteArray bytes = port_.readAll();
    if (!bytes.isEmpty()) emit bytesReceived(bytes);
  });
  // A device that goes away (cable pulled) leaves a port that can only be closed.
  // No guard: only closes the port.
  connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
    if (error == QSerialPort::ResourceError) port_.close();
  });
}

SerialLink::~SerialLink() {
  close();
}

bool SerialLink::open(const QString& port) {
  if (port_.isOpen() || port.trimmed().isEmpty()) return false;
  port_.setPortName(port);
  if (!port_.open(QIODevice::ReadWrite)) return false;
  portText_ = port;
  return true;
}

bool SerialLink::applySettings(const QString& settings) {
  const std::optional<SerialSettings> s = ParseSerialSettings(settings);
  if (!s || !port_.isOpen()) return false;
  return port_.setBaudRate(s->baudRate) && port_.setParity(s->parity) &&
         port_.setDataBits(s->dataBits) && port_.setStopBits(s->stopBits) &&
         port_.setFlowControl(QSerialPort::NoFlowControl);
}

bool SerialLink::write(const QByteArray& bytes) {
  if (!port_.isOpen()) return false;
  const qint64 written = port_.write(bytes);
  port_.flush();
  return written == bytes.size();
}

bool SerialLink::close() {
  if (port_.isOpen()) port_.close();
  portText_.clear();
  return !port_.isOpen();
}

bool SerialLink::isOpen() const {
  return port_.isOpen();
}

}  // namespace kx
