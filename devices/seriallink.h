#pragma once

// The serial port of the timing devices: open by port name or full path, the settings text
// of the devices ("4800,n,8,1"), commands written in order, received bytes delivered as a
// signal on the window thread.

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include <optional>

namespace kx {

// A settings text "baud,parity,data bits,stop bits": parity letter n, e, o, m or s in either
// case, stop bits 1, 1.5 or 2. No flow control.
struct SerialSettings {
  qint32 baudRate = 9600;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
};
std::optional<SerialSettings> ParseSerialSettings(const QString& text);

class SerialLink : public QObject {
  Q_OBJECT
 public:
  explicit SerialLink(QObject* parent = nullptr);
  ~SerialLink() override;

  // Opens a port by name ("ttyUSB0") or full path ("/dev/pts/3"); false when it cannot
  // be opened (missing, busy, no permission) or another port is open.
  bool open(const QString& port);
  // Applies a settings text to the open port; false when the text or the port refuses.
  bool applySettings(const QString& settings);
  // Writes the bytes in order and pushes them out at once; false when not all were taken.
  bool write(const QByteArray& bytes);
  // Closes the port; true when it is closed afterwards.
  bool close();

  bool isOpen() const;
  // The port as it was given to open().
  const QString& portText() const { return portText_; }
  const QSerialPort& port() const { return port_; }

 signals:
  void bytesReceived(const QByteArray& bytes);

 private:
  QSerialPort port_;
  QString portText_;
};

}  // namespace kx
