// The faults of files as the person at the screen reads them: in German, with the file's
// name, what was kept and what to do; never SQLite's English text or the statement.

#include "common/guarded.h"
#include "common/safefile.h"
#include "tests/support/faults.h"
#include "tests/support/qtprint.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/stat.h>

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

// A competition file on a write-protected stick is not a matter of the user's rights.
TEST(FileFaults, AWriteProtectedMediumIsToldApartFromMissingRights) {
  const auto text = [](int errnum) {
    return DatabaseErrorText(db::Error("attempt to write a readonly database", SQLITE_READONLY,
                                       "/media/stick/Cup.mdb", errnum));
  };
  const QString head = "Die Bewerbsdatei '/media/stick/Cup.mdb' kann nicht geschrieben werden: ";
  EXPECT_EQ(text(EROFS),
            head + "der Datenträger ist schreibgeschützt.\nEs wurde nichts gespeichert.");
  EXPECT_EQ(text(EACCES), head + "keine Schreibrechte.\nEs wurde nichts gespeichert.");
}

// Lists on a race office's shared folder: a new file gets the rights any program gives it
// (0666 less the umask), a replaced one keeps those of the file it replaces, and a write
// the share fails only at the close leaves the earlier file, told as a write error.
TEST(FileFaults, OutputsKeepTheRightsOfTheFileTheyReplaceAndFailAtTheClose) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto mode = [](const QString& path) {  // octal, "664"
    struct stat st {};
    const int found = ::stat(QFile::encodeName(path).constData(), &st);
    return found == 0 ? QString::number(st.st_mode & 07777, 8) : QString("none");
  };
  struct Umask {
    mode_t before = ::umask(002);
    ~Umask() { ::umask(before); }
  } shared;
  const QString list = dir.filePath("Startliste.pdf");
  ASSERT_EQ(WriteWholeFile(list, "Stand 9:00"), "");
  EXPECT_EQ(mode(list), QString("664"));
  for (const mode_t rights : {0644u, 0640u}) {
    ASSERT_TRUE(::chmod(QFile::encodeName(list).constData(), rights) == 0);
    ASSERT_EQ(WriteWholeFile(list, "Stand 10:15"), "");
    EXPECT_EQ(mode(list), QString::number(rights, 8));
  }
  ::umask(022);
  ASSERT_EQ(WriteWholeFile(dir.filePath("Ergebnisliste.pdf"), "Stand 12:00"), "");
  EXPECT_EQ(mode(dir.filePath("Ergebnisliste.pdf")), QString("644"));

  {
    const FailingClose share(EIO);
    EXPECT_EQ(WriteWholeFile(list, "Stand 10:30"),
              FileWriteFailureText(list, "Schreibfehler auf dem Datenträger"));
  }
  QFile kept(list);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(QString(kept.readAll()), QString("Stand 10:15"));
  EXPECT_EQ(mode(list), QString("640"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
            (QStringList{"Ergebnisliste.pdf", "Startliste.pdf"}));
}

}  // namespace
}  // namespace kx::test
