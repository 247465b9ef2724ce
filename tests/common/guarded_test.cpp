// The faults of the competition file as the person at the screen reads them: in German,
// with the file's name, what was kept and what to do, never SQLite's English text or the
// statement.

#include "common/guarded.h"
#include "db/database.h"
#include "tests/support/faults.h"
#include "tests/support/scriptedui.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace kx::test {
namespace {

class FileFaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db::Connection::create(path)->execute("create table tblZeit (teilnehmer long, netto blob)");
    db = db::Connection::open(path);
  }
  // The message of an action run as every user action runs.
  QString guarded(const std::function<void()>& action) {
    ui.clear();
    EXPECT_FALSE(RunGuarded(ui, action));
    return ui.messageTexts().value(0);
  }
  void write() {
    db::Transaction t = db->transaction();
    db->execute("insert into tblZeit values(1, zeroblob(40000))");
    t.commit();
  }

  QTemporaryDir dir;
  const QString path = dir.filePath("Cup.mdb");
  std::unique_ptr<db::Connection> db;
  ScriptedUi ui;
};

TEST_F(FileFaultTest, LockedFullAndReplacedFilesAreToldInGerman) {
  {
    const ForeignLock writer(*db, ForeignLock::Kind::Writing);
    EXPECT_EQ(guarded([&] { write(); }),
              "Die Datei '" + path +
                  "' wird gerade von einem anderen Programm verwendet.\nEs wurde nichts "
                  "gespeichert.\nBitte später nochmals versuchen.");
  }
  EXPECT_EXIT(ExitUnderFileSizeLimit(
                  20000,
                  [&] {
                    ui.clear();
                    return RunGuarded(ui, [&] { write(); }) ? 1 : 0;
                  },
                  [&] { return ui.messageTexts(); }),
              ::testing::ExitedWithCode(0),
              "Die Bewerbsdatei '.*Cup.mdb' kann nicht geschrieben werden: die Datei "
              "überschreitet die zulässige Dateigröße.\nEs wurde nichts gespeichert.");
  db::Connection::create(dir.filePath("Neu.mdb"));
  ASSERT_TRUE(QFile::remove(path) && QFile::rename(dir.filePath("Neu.mdb"), path));
  EXPECT_EQ(guarded([&] { write(); }), db::MovedFileText(path) + "\nEs wurde nichts gespeichert.");
}

}  // namespace
}  // namespace kx::test
