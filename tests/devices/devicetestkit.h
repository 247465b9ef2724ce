#pragma once

// What the device tests play the devices with: a pseudo-terminal pair (the program opens
// the slave by its path as a serial port, the test is the device on the non-blocking
// master) and a fake Timy on USB.

#include "devices/timyusblink.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>

#include <pty.h>
#include <unistd.h>

#include <fcntl.h>

namespace kx::test {

class Pty {
 public:
  Pty() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return;
    path_ = QString::fromLocal8Bit(name);
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~Pty() {
    hangUp();
    if (slave_ >= 0) ::close(slave_);
  }
  // The device goes away.
  void hangUp() {
    if (master_ >= 0) ::close(master_);
    master_ = -1;
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool ok() const { return master_ >= 0; }
  const QString& path() const { return path_; }
  // What the pty takes now; the number of bytes written.
  qsizetype write(const QByteArray& bytes) {
    const ssize_t n = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    return n < 0 ? 0 : n;
  }
  QByteArray read() {
    QByteArray all;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master_, buffer, sizeof buffer)) > 0;) all.append(buffer, n);
    return all;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  QString path_;
};

// Lets events run until `done` holds (at most 5 s); whether it came to hold.
template <class F>
bool WaitFor(F done) {
  return QTest::qWaitFor(done, 5000);
}

// Writes a burst to the device side in pieces, letting the program read in between.
inline void Feed(Pty& pty, QByteArray bytes) {
  QElapsedTimer timer;
  timer.start();
  while (!bytes.isEmpty() && timer.elapsed() < 5000) {
    bytes.remove(0, pty.write(bytes.left(4096)));
    QCoreApplication::processEvents();
  }
}

// What the program wrote to the device, once it is as long as `expected` (or 5 s passed).
inline QByteArray ReadSent(Pty& pty, const QByteArray& expected) {
  QByteArray sent;
  WaitFor([&] { return (sent += pty.read()).size() >= expected.size(); });
  return sent;
}

class FakeTimy : public TimyUsbLink {
 public:
  void open(int device) override { opened = device == 0; }
  int send(const QString& command) override {
    sent.append(command);
    return command == QLatin1String("DTS?\r") ? dtsResult : 0;
  }
  void close() override { opened = false; }
  bool isOpen() const override { return opened; }
  int deviceCount() override { return devices; }
  void line(const QString& text) { emit lineReceived(text); }

  bool opened = false;
  int devices = 1;
  int dtsResult = 0;
  QStringList sent;
};

}  // namespace kx::test
