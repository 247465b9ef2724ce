#pragma once

// The link to an ALGE Timy on USB: open, commands sent as text, whole lines received,
// close, and the number of attached devices. The Timy appears as a USB serial port; the
// ports that count as a Timy are those whose USB ids are kept in the per-user settings.

#include "devices/portlist.h"
#include "devices/seriallink.h"

#include <QByteArray>
#include <QObject>
#include <QString>

namespace kx {

class TimyUsbLink : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;

  // Opens the device with this index (0 the first attached).
  virtual void open(int device) = 0;
  // Sends one command (ending in CR); 0 when the device accepted it.
  virtual int send(const QString& command) = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // Number of Timys attached.
  virtual int deviceCount() = 0;

 signals:
  // One line sent by the Timy, without CR or LF.
  void lineReceived(const QString& line);
};

// The Timy as a USB serial port (CDC-ACM or a USB serial adapter) found by its USB ids,
// run at 9600,N,8,1 over the serial link.
class SerialTimyUsbLink : public TimyUsbLink {
  Q_OBJECT
 public:
  SerialTimyUsbLink(PortEnumerator enumerator, UsbIds ids, QObject* parent = nullptr);
  ~SerialTimyUsbLink() override;

  void open(int device) override;
  int send(const QString& command) override;
  void close() override;
  bool isOpen() const override { return link_.isOpen(); }
  int deviceCount() override;

  // Opens a port by name or path directly (tests, and a Timy found some other way).
  bool openPort(const QString& port);

 private:
  void takeBytes(const QByteArray& bytes);

  PortEnumerator enumerator_;
  UsbIds ids_;
  SerialLink link_;
  QByteArray pending_;
};

}  // namespace kx
