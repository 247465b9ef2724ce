#pragma once

// The faults a race office meets, for the tests: another program holding the competition
// file, and a disk that fills up.

#include "db/database.h"

#include <QFile>
#include <QStringList>

#include <sqlite3.h>
#include <sys/resource.h>

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

}  // namespace kx::test
