#include "common/appstate.h"
#include "db/database.h"
#include "tests/support/appfixture.h"
#include "tests/support/faults.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace kx::test {
namespace {

class EmptyListTest : public AppFixture {};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// On race day another program may empty the discipline while an output's panel is open:
// the output then finds nothing to write (no racer, no team, no certificate), says so, and
// the file written earlier under the chosen name stays as it was, with no temporary file
// (nor an export's list file) left beside it.
TEST_F(EmptyListTest, AnOutputWithNothingToWriteKeepsTheEarlierFile) {
  struct Case {
    const char* entry;
    const char* resultLine;  // nullptr: the output reports in message boxes only
    const char* discipline = "DisziplinRS";
  };
  const Case cases[] = {
      {"BearbeitenStartliste", "Startliste_Meldung"},
      {"BearbeitenNamensliste", "Namensliste_Meldung"},
      {"BearbeitenKautionsliste", "Kautionsliste_Meldung"},
      {"BearbeitenTafelliste", "Tafelliste_Meldung"},
      {"BearbeitenAushangliste", "Aushangliste_Meldung"},
      {"BearbeitenErgebnisliste", "Ergebnisliste_Meldung"},
      {"BearbeitenMannschaftsergebnisliste", "Mannschaftsergebnisliste_Meldung"},
      {"BearbeitenISFErgebnisliste", "ISFErgebnisliste_Meldung"},
      {"UrkundenDruck", nullptr},
      {"UrkundenExport", nullptr},
      {"UrkundenMannschaftDruck", nullptr},
      {"BearbeitenTeilnehmerdaten", "TnDaten_Meldung", "DisziplinKombination"},
  };
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();

  const QString folder = QDir(dataDir()).filePath("Listen");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString earlier = QDir(folder).filePath("liste.pdf");
  QByteArray bytes("%PDF-1.4 the list printed earlier\n");
  bytes += QByteArray(55 * 1024, 'x');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
    file.close();

    trigger(c.discipline);
    window().enable(c.entry);
    trigger(c.entry);
    ASSERT_FALSE(window().currentPanel().isEmpty());
    // The other program empties the discipline.
    state().db().execute("update tblTeilnehmer set gsaktiv = false");
    ui().clear();
    ui().chooseSaveFile(earlier);
    QTest::keyClick(&window(), Qt::Key_F2);

    EXPECT_EQ(ui().saveRequests.size(), 1);
    EXPECT_EQ(ui().messageTexts(), QStringList{"Keine Daten gefunden!"});
    EXPECT_TRUE(ui().viewerOpened.isEmpty());
    if (c.resultLine) {
      QLabel* line = window().findChild<QLabel*>(c.resultLine);
      ASSERT_NE(line, nullptr);
      EXPECT_FALSE(line->text().contains("gespeichert"));
    }
    EXPECT_EQ(ReadAll(earlier), bytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"liste.pdf"});
  }
}

// A list written where the person has no write rights says so instead of blaming another
// program, and the earlier file stays.
TEST_F(EmptyListTest, NoWriteRightsAreNamed) {
  PermissionBitsBind bits;
  if (!bits.binds()) GTEST_SKIP() << "permission bits do not bind here";
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  const QString folder = QDir(dataDir()).filePath("Listen");
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString earlier = QDir(folder).filePath("namen.pdf");
  const QByteArray bytes("%PDF-1.4 the list printed earlier\n");
  {
    QFile file(earlier);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  const auto writable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
  const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                        QFile::ReadOther | QFile::ExeOther;  // 0555
  // The folder refuses the new file; then the file itself is read-only.
  for (const bool folderLocked : {true, false}) {
    SCOPED_TRACE(folderLocked ? "folder 0555" : "file 0444");
    ASSERT_TRUE(QFile::setPermissions(folder, folderLocked ? readOnly : writable));
    ASSERT_TRUE(QFile::setPermissions(
        earlier, folderLocked ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner));
    trigger("BearbeitenNamensliste");
    ui().clear();
    ui().chooseSaveFile(earlier);
    QTest::keyClick(&window(), Qt::Key_F2);
    EXPECT_EQ(ui().messageTexts(),
              QStringList{earlier + "\nkann nicht ausgegeben werden\n(keine Schreibrechte)"});
    EXPECT_TRUE(ui().viewerOpened.isEmpty());
    EXPECT_EQ(ReadAll(earlier), bytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"namen.pdf"});
  }
  QFile::setPermissions(folder, writable);
}

}  // namespace
}  // namespace kx::test
