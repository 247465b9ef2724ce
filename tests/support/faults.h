#pragma once

// The faults a race office meets, for the tests: another program holding the competition
// file, and a disk that fills up.

#include <QString>
#include <QStringList>

#include <functional>

struct sqlite3;

namespace kx::db {
class Connection;
}

namespace kx::test {

// Another program holding the competition file, as the main program does while it reads or
// writes: a connection of its own in an open transaction. While it lasts our connection
// waits only briefly for it.
class ForeignLock {
 public:
  // Reading: a shared lock, under which our reads go on and our commits fail. Writing: an
  // exclusive lock, under which nothing can be read or written.
  enum class Kind { Reading, Writing };
  ForeignLock(db::Connection& ours, Kind kind);
  ~ForeignLock();
  ForeignLock(const ForeignLock&) = delete;
  ForeignLock& operator=(const ForeignLock&) = delete;

 private:
  db::Connection& ours_;
  sqlite3* other_ = nullptr;
};

// For EXPECT_EXIT: runs `body` in the child process with files limited to `bytes` (a disk
// that is full once a file reaches that size), then prints `shown` (the messages the body
// left, when given) to stderr and ends the child with the code `body` returned; an
// exception ends it with 9.
[[noreturn]] void ExitUnderFileSizeLimit(long bytes, const std::function<int()>& body,
                                         const std::function<QStringList()>& shown = {});

}  // namespace kx::test
