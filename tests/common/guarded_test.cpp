// The faults of files as the person at the screen reads them: in German, with the file's
// name, what was kept and what to do; never SQLite's English text or the statement.

#include "common/guarded.h"
#include "common/safefile.h"
#include "tests/support/faults.h"
#include "tests/support/scriptedui.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx::test {
namespace {

TEST(FileFaults, LockedFullAndReplacedFilesAreToldInGerman) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Cup.mdb");
  db::Connection::create(path)->execute("create table tblZeit (teilnehmer long, netto blob)");
  auto db = db::Connection::open(path);
  ScriptedUi ui;
  const auto write = [&] {
    ui.clear();
    EXPECT_FALSE(RunGuarded(ui, [&] {
      db::Transaction t = db->transaction();
      db->execute("insert into tblZeit values(1, zeroblob(40000))");
      t.commit();
    }));
    return ui.messageTexts().value(0);
  };
  const QString nothing = "\nEs wurde nichts gespeichert.";
  {
    const ForeignLock writer(*db, ForeignLock::Kind::Writing);
    EXPECT_EQ(write(), FileInUseText(path, nothing.mid(1)));
  }
  // The competition file and a text export on a disk that fills up.
  EXPECT_EXIT(
      ExitUnderFileSizeLimit(
          20000, [] { return 0; },
          [&] {
            return QStringList{write(), WriteWholeFile(path + ".txt", QByteArray(30000, 'x'))};
          }),
      ::testing::ExitedWithCode(0),
      "Die Bewerbsdatei '.*Cup.mdb' kann nicht geschrieben werden: die Datei "
      "überschreitet die zulässige Dateigröße.\nEs wurde nichts gespeichert.#Die Datei "
      "'.*Cup.mdb.txt' kann nicht geschrieben werden: die Datei überschreitet die "
      "zulässige Dateigröße.\nEine frühere Datei dieses Namens bleibt unverändert.");
  db::Connection::create(dir.filePath("Neu.mdb"));
  ASSERT_TRUE(QFile::remove(path) && QFile::rename(dir.filePath("Neu.mdb"), path));
  EXPECT_EQ(write(), db::MovedFileText(path) + nothing);
}

}  // namespace
}  // namespace kx::test
