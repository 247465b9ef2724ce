#pragma once

// A pseudo-terminal pair for the device tests: the program opens the slave by its path as
// a serial port, the test plays the device on the master (non-blocking both ways).

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTest>

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <ostream>

// Readable texts in the failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* os) {
  *os << '{' << texts.join(QStringLiteral("\", \"")).prepend('"').append('"').toStdString() << '}';
}

namespace kx::test {

class Pty {
 public:
  Pty() {
    char name[256] = {};
    if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) {
      path_ = QString::fromLocal8Bit(name);
      fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
  }
  ~Pty() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
  }
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;

  bool ok() const { return master_ >= 0; }
  const QString& path() const { return path_; }

  // Writes what the pty takes now; the number of bytes written.
  qsizetype write(const QByteArray& bytes) {
    const ssize_t n = ::write(master_, bytes.constData(), static_cast<size_t>(bytes.size()));
    return n < 0 ? 0 : n;
  }
  // Everything the program wrote so far.
  QByteArray read() {
    QByteArray all;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(master_, buffer, sizeof buffer)) > 0) all.append(buffer, n);
    return all;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
  QString path_;
};

// Writes a burst to the device side in pieces, letting the program read in between.
inline void Feed(Pty& pty, QByteArray bytes) {
  QElapsedTimer timer;
  timer.start();
  while (!bytes.isEmpty() && timer.elapsed() < 5000) {
    bytes.remove(0, pty.write(bytes.left(4096)));
    QCoreApplication::processEvents();
  }
}

// Lets events run until `done` holds (at most 5 s); whether it came to hold.
template <class F>
bool WaitFor(F done) {
  return QTest::qWaitFor(done, 5000);
}

// Lets events run until the program has written `expected` to the device side (or 5 s
// passed); everything it wrote.
inline QByteArray ReadSent(Pty& pty, const QByteArray& expected) {
  QByteArray sent;
  WaitFor([&] {
    sent += pty.read();
    return sent.size() >= expected.size();
  });
  return sent;
}

}  // namespace kx::test
