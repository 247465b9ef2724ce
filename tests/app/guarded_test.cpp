// No exception leaves a Qt handler: every connection of the program is guarded (or says
// why it need not be), and a handler that meets a locked file shows a message.
#include "tests/support/appfixture.h"

#include <QComboBox>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

namespace kx::test {
namespace {

TEST(GuardedConnections, EveryConnectionOfTheProgramIsGuardedOrSaysWhyNot) {
  const QDir root(QStringLiteral(KANDRIX_SOURCE_DIR));
  const QRegularExpression plain(QStringLiteral("\\b(connect|singleShot)\\s*\\("));
  QStringList unguarded;
  int guarded = 0;
  for (const QString folder :
       {"db", "common", "pdf", "lists", "workpanel", "startorder", "results", "devices", "handtime",
        "livetiming", "officials", "import", "certificates", "refereereport", "admin", "app"}) {
    QDirIterator it(root.filePath(folder), {"*.h", "*.cpp"}, QDir::Files);
    while (it.hasNext()) {
      const QString path = it.next();
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
      const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
      for (qsizetype i = 0; i < lines.size(); ++i) {
        guarded += static_cast<int>(lines[i].count(QStringLiteral("onnectGuarded(")));
        if (!plain.match(lines[i]).hasMatch() || lines[i].trimmed().startsWith("//")) continue;
        if (path.endsWith("common/guarded.h")) continue;  // the guard itself
        if (i > 0 && lines[i - 1].contains(QStringLiteral("// No guard: "))) continue;
        unguarded << root.relativeFilePath(path) + ":" + QString::number(i + 1);
      }
    }
  }
  EXPECT_GT(guarded, 30);
  EXPECT_TRUE(unguarded.isEmpty()) << unguarded.join('\n').toStdString();
}

using GuardedHandlers = AppFixture;

TEST_F(GuardedHandlers, AComboHandlerOnALockedFileShowsAMessageAndTheProgramGoesOn) {
  openThroughMenu(writeCompetition("Rennen.mdb", SmallCompetition()));
  window().openRegisteredPanel("Aushangliste");
  auto* grouping = window().findChild<QComboBox*>("AushanglisteGruppe");
  auto* division = window().findChild<QComboBox*>("AushanglisteKlName");
  ASSERT_TRUE(grouping && division);
  ASSERT_EQ(grouping->currentIndex(), 1);
  {
    ForeignLock lock(state().db());
    grouping->setCurrentIndex(2);  // "Gruppe"
    EXPECT_EQ(ui().messages.size(), 1);
  }
  grouping->setCurrentIndex(1);
  EXPECT_GT(division->count(), 0);
  EXPECT_EQ(window().currentPanel(), "Aushangliste");
  EXPECT_EQ(ui().messages.size(), 1);
}

}  // namespace
}  // namespace kx::test
