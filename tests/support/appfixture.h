#pragma once

// A main window in a temporary program directory (settings file, master data), with a
// scripted user interface and a settings store of its own.

#include "app/mainwindow.h"
#include "db/competitionbuilder.h"
#include "tests/support/qtprint.h"
#include "tests/support/scriptedui.h"

#include <QAction>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace kx::test {

// A small competition: giant slalom and slalom active, two runs, two categories, classes
// with groups, a few participants with bibs; no times.
db::CompetitionSpec SmallCompetition();

// When KANDRIX_LOOK_DIR is set, copies an output there (and renders its pages to PNG) so
// that it can be looked at after the test run.
void KeepForLooking(const QString& path, const QString& name);
// The same for a window: grabs it to KANDRIX_LOOK_DIR/<name>.png.
void GrabForLooking(QWidget& widget, const QString& name);

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the main window (again, e.g. to simulate a restart with the same settings).
  MainWindow& startWindow();
  // Writes a competition file into the data directory and returns its path.
  QString writeCompetition(const QString& fileName, const db::CompetitionSpec& race);
  // Opens the file through the menu, answering the dialog with `path`.
  void openThroughMenu(const QString& path);
  // Triggers a menu entry by name (as a click would; disabled entries do nothing).
  void trigger(const QString& entry);
  bool enabled(const QString& entry) { return window().isEnabled(entry); }
  bool checked(const QString& entry) { return window().action(entry)->isChecked(); }

  // Presses F2 in the open list panel twice: with the save dialog cancelled (the result
  // line `resultLabel` turns red with "<listWord> nicht gespeichert"), then with `path`
  // unwritable (a directory of that name): the plain write-check message is shown, nothing
  // is opened, and the panel stays open with a blank result line or closes (`panelStays`).
  void expectCancelAndUnwritableFile(const QString& resultLabel, const QString& listWord,
                                     const QString& path, bool panelStays);

  MainWindow& window() { return *window_; }
  ScriptedUi& ui() { return *ui_; }
  AppState& state() { return window_->state(); }
  QString programDir() const { return programDir_.path(); }
  QString dataDir() const;
  QString settingsPath() const;

  QTemporaryDir programDir_;
  ScriptedUi* ui_ = nullptr;
  std::unique_ptr<MainWindow> window_;
  QDateTime now_{QDate(2026, 12, 7), QTime(10, 30)};
};

}  // namespace kx::test
