#pragma once

// The faults a race office meets, for the tests: another program holding the competition
// file, a disk that fills up, a folder without write rights, and a network share that fails a
// file only when it is closed.

#include "common/safefile.h"
#include "db/database.h"

#include <QFile>
#include <QStringList>

#include <linux/capability.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace kx::test {

// Another program in an open transaction on the file: Reading holds a shared lock (our
// commits fail), Writing an exclusive one (nothing can be read or written). Meanwhile our
// connection waits only briefly.
class ForeignLock {
 public:
  enum class Kind { Reading, Writing };
  ForeignLock(db::Connection& ours, Kind kind) : ours_(ours) {
    sqlite3_open(QFile::encodeName(ours.path()).constData(), &other_);
    sqlite3_exec(
        other_,
        kind == Kind::Reading ? "begin; select count(*) from sqlite_master" : "begin exclusive",
        nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(ours_.handle(), 50);
  }
  ~ForeignLock() {
    sqlite3_close_v2(other_);
    sqlite3_busy_timeout(ours_.handle(), 2000);
  }

 private:
  db::Connection& ours_;
  sqlite3* other_ = nullptr;
};

// While it lives, the permission bits of files and folders bind the calling thread even
// when the tests run as root (root's right to write past them is set aside), so that a
// folder of mode 0555 refuses a new file. `binds()` is false where that cannot be done.
class PermissionBitsBind {
 public:
  PermissionBitsBind() {
    if (::geteuid() != 0) {
      binds_ = true;
      return;
    }
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
    lowered[0].effective &= ~(1u << CAP_DAC_OVERRIDE);
    lowered_ = binds_ = ::syscall(SYS_capset, &header_, lowered) == 0;
  }
  ~PermissionBitsBind() {
    if (lowered_) ::syscall(SYS_capset, &header_, saved_);
  }
  PermissionBitsBind(const PermissionBitsBind&) = delete;
  PermissionBitsBind& operator=(const PermissionBitsBind&) = delete;
  bool binds() const { return binds_; }

 private:
  __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved_[2]{};
  bool lowered_ = false;
  bool binds_ = false;
};

// Another program holding the file at `path` in an exclusive transaction, where we have no
// connection of our own yet (a file chosen as a source); connections opened meanwhile wait
// only briefly.
class HeldFile {
 public:
  explicit HeldFile(const QString& path) {
    sqlite3_open(QFile::encodeName(path).constData(), &other_);
    sqlite3_exec(other_, "begin exclusive", nullptr, nullptr, nullptr);
    db::SetBusyTimeout(50);
  }
  ~HeldFile() {
    sqlite3_close_v2(other_);
    db::SetBusyTimeout(2000);
  }

 private:
  sqlite3* other_ = nullptr;
};

// For EXPECT_EXIT: runs `body` with files limited to `bytes` (a disk that is full once a
// file reaches that size), prints what `shown` returns to stderr and ends with the code
// `body` returned, 9 after an exception.
[[noreturn]] inline void ExitUnderFileSizeLimit(long bytes, const std::function<int()>& body,
                                                const std::function<QStringList()>& shown) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  setrlimit(RLIMIT_FSIZE, &limit);
  int code = 9;
  try {
    code = body();
  } catch (...) {
  }
  std::fprintf(stderr, "%s\n", shown().join('#').toUtf8().constData());
  std::_Exit(code);
}

// While it lives, every finished output fails at its close with `errnum`, as a network
// share reports a write it could not complete.
class FailingClose {
 public:
  explicit FailingClose(int errnum) {
    Errnum() = errnum;
    SetTemporaryFileCloseForTesting(&Close);
  }
  ~FailingClose() { SetTemporaryFileCloseForTesting(nullptr); }
  FailingClose(const FailingClose&) = delete;
  FailingClose& operator=(const FailingClose&) = delete;

 private:
  static int& Errnum() {
    static int errnum = 0;
    return errnum;
  }
  static int Close(int fd) {
    ::close(fd);
    errno = Errnum();
    return -1;
  }
};

}  // namespace kx::test
