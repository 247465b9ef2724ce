#include "tests/support/faults.h"

#include "db/database.h"

#include <QFile>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace kx::test {

ForeignLock::ForeignLock(db::Connection& ours, Kind kind) : ours_(ours) {
  EXPECT_EQ(sqlite3_open(QFile::encodeName(ours.path()).constData(), &other_), SQLITE_OK);
  const char* sql = kind == Kind::Reading ? "begin; select count(*) from sqlite_master;"
                                          : "begin exclusive; select count(*) from sqlite_master;";
  EXPECT_EQ(sqlite3_exec(other_, sql, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_busy_timeout(ours_.handle(), 50);
}

ForeignLock::~ForeignLock() {
  sqlite3_close_v2(other_);  // ends its transaction
  sqlite3_busy_timeout(ours_.handle(), 2000);
}

void ExitUnderFileSizeLimit(long bytes, const std::function<int()>& body,
                            const std::function<QStringList()>& shown) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  setrlimit(RLIMIT_FSIZE, &limit);
  int code = 9;
  try {
    code = body();
  } catch (...) {
  }
  if (shown) std::fprintf(stderr, "%s\n", shown().join('|').toUtf8().constData());
  std::_Exit(code);
}

}  // namespace kx::test
