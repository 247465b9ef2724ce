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
  // for looking.
  void outputWithF2(const QString& path, const QString& lookName) {
    ui().chooseSaveFile(path);
    QTest::keyClick(control<QComboBox>("TafelGruppe"), Qt::Key_F2);
    ASSERT_TRUE(QFile::exists(path));
    KeepForLooking(path, lookName);
  }
  // Cancelling the save dialog turns the result line red; a file that cannot be written
  // (a directory of that name) gives the message and leaves the panel open, its result
  // line blank and nothing opened.
  void expectCancelAndUnwritableFile(const char* entry, const char* panel) {
    trigger(entry);
    ui().cancelNextSave();
    QTest::keyClick(&window(), Qt::Key_F2);
    EXPECT_EQ(resultLabel()->text(), "Tafelliste nicht gespeichert");
    EXPECT_EQ(resultLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(ui().saveRequests.size(), 1);

    ASSERT_TRUE(QDir().mkpath(outputPath()));
    ui().chooseSaveFile(outputPath());
    QTest::keyClick(&window(), Qt::Key_F2);
    ASSERT_EQ(ui().messages.size(), 1);
    EXPECT_EQ(ui().messages[0].text,
              outputPath() + "\nkann nicht ausgegeben werden\n(ist vermutlich noch geöffnet)");
    EXPECT_EQ(ui().messages[0].icon, MsgIcon::None);
    EXPECT_EQ(window().currentPanel(), panel);
    EXPECT_EQ(resultLabel()->text(), " ");
    EXPECT_TRUE(ui().viewerOpened.isEmpty());
  }
};

}  // namespace kx::test
