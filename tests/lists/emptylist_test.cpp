#include "common/appstate.h"
#include "db/database.h"
#include "tests/support/appfixture.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace kx::test {
namespace {

class EmptyListTest : public AppFixture {};

// On race day another program may empty the discipline while a list's panel is open: the
// list then finds no rows, says so, and the list printed earlier under the chosen name
// stays as it was, with no temporary file left beside it.
TEST_F(EmptyListTest, AListWithoutRowsKeepsTheEarlierFile) {
  struct Case {
    const char* entry;
    const char* resultLine;
  };
  const Case cases[] = {
      {"BearbeitenStartliste", "Startliste_Meldung"},
      {"BearbeitenNamensliste", "Namensliste_Meldung"},
      {"BearbeitenKautionsliste", "Kautionsliste_Meldung"},
      {"BearbeitenTafelliste", "Tafelliste_Meldung"},
      {"BearbeitenAushangliste", "Aushangliste_Meldung"},
      {"BearbeitenErgebnisliste", "Ergebnisliste_Meldung"},
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
    QLabel* line = window().findChild<QLabel*>(c.resultLine);
    ASSERT_NE(line, nullptr);
    EXPECT_FALSE(line->text().contains("gespeichert"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll() == bytes);
    file.close();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"liste.pdf"});
  }
}

}  // namespace
}  // namespace kx::test
