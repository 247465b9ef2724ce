// Files written whole or not at all, and a failure named by its cause.

#include "common/safefile.h"
#include "tests/support/faults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace kx::test {
namespace {

// The disk fills up (a file-size limit in a child process) while a text export is written:
// the earlier file stays, nothing is left beside it, and the message names file and cause.
TEST(SafeFileTest, AFullDiskKeepsTheEarlierFileAndNamesTheCause) {
  QTemporaryDir dir;
  const QString path = dir.filePath("daten.txt");
  {
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("frueher");
  }
  EXPECT_EXIT(ExitUnderFileSizeLimit(1000,
                                     [&] {
                                       const QString failure =
                                           WriteWholeFile(path, QByteArray(5000, 'x'));
                                       std::fprintf(stderr, "%s", failure.toUtf8().constData());
                                       return failure.isEmpty() ? 0 : 3;
                                     }),
              ::testing::ExitedWithCode(3),
              "Die Datei '.*daten.txt' kann nicht geschrieben werden: die Datei überschreitet "
              "die zulässige Dateigröße.\nEine frühere Datei dieses Namens bleibt unverändert.");
  QFile earlier(path);
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), "frueher");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"daten.txt"});
  EXPECT_EQ(FileErrorCause(ENOSPC), "kein Platz mehr auf dem Datenträger");
  EXPECT_EQ(FileErrorCause(EACCES), "keine Schreibrechte");
}

}  // namespace
}  // namespace kx::test
