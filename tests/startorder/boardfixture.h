#pragma once

// The main window with a competition opened, for the tests of the two writing-board lists.

#include "tests/support/appfixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace kx::test {

class BoardFixture : public AppFixture {
 protected:
  void openCompetition(const db::CompetitionSpec& race) {
    openThroughMenu(writeCompetition("Cup.mdb", race));
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  }
  QString outputPath(const QString& name = "tafel.pdf") { return QDir(dataDir()).filePath(name); }
  template <class W>
  W* control(const char* name) {
    W* w = window().findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLabel* resultLabel() { return control<QLabel>("Tafelliste_Meldung"); }
  // Opens the panel through its menu entry and selects the grouping.
  void openPanel(const char* entry, const char* panel, const QString& grouping) {
    trigger(entry);
    ASSERT_EQ(window().currentPanel(), panel);
    auto* combo = control<QComboBox>("TafelGruppe");
    ASSERT_GE(combo->findText(grouping), 0) << grouping.toStdString();
    combo->setCurrentIndex(combo->findText(grouping));
  }
  // Answers the save dialog with `path`, presses F2 on the open panel and keeps the file
  // for looking (a list without rows writes none).
  void outputWithF2(const QString& path, const QString& lookName) {
    ui().chooseSaveFile(path);
    QTest::keyClick(control<QComboBox>("TafelGruppe"), Qt::Key_F2);
    if (QFile::exists(path)) KeepForLooking(path, lookName);
  }
  // Cancelling the save dialog and a file that cannot be written, with the panel open.
  void expectCancelAndUnwritableFile(const char* entry, const char* panel) {
    trigger(entry);
    ASSERT_EQ(window().currentPanel(), panel);
    AppFixture::expectCancelAndUnwritableFile("Tafelliste_Meldung", "Tafelliste", outputPath(),
                                              true);
  }
};

}  // namespace kx::test
