// The real file dialog speaks German whatever the machine's locale (the test command runs
// this under the C locale too): its buttons and its list's date and size columns.
#include "app/qtuserinterface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace kx::test {
namespace {

TEST(GermanDialogs, FileDialogSpeaksGerman) {
  QTemporaryDir dir;
  QFile old(dir.filePath("Alt.txt"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(QByteArray(1500, 'x'));
  old.flush();
  old.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7)), QFileDevice::FileModificationTime);
  old.close();

  QStringList buttons, cells;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = nullptr;
    (void)QTest::qWaitFor([&] { return (dialog = QApplication::activeModalWidget()) != nullptr; });
    ASSERT_NE(dialog, nullptr);
    for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
      if (button->isVisible()) buttons << button->text().remove(u'&');
    const QTreeView* list = dialog->findChild<QTreeView*>();
    (void)QTest::qWaitFor([&] {
      const QModelIndex file = list->model()->index(0, 0, list->rootIndex());
      if (file.data() != "Alt.txt") return false;
      cells = {file.siblingAtColumn(1).data().toString(),
               file.siblingAtColumn(3).data().toString()};
      return true;
    });
    QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
  });
  // Enter takes the proposed name.
  QtUserInterface ui(nullptr);
  EXPECT_EQ(ui.saveFileName({"Datei auswählen", dir.path(), "txt-Dateien|*.txt", "Neu.txt"}),
            dir.filePath("Neu.txt"));
  EXPECT_TRUE(buttons.contains("Speichern") && buttons.contains("Abbrechen"))
      << buttons.join(',').toStdString();
  EXPECT_EQ(cells.join('|').toStdString(), "1,46 KiB|05.03.24 14:07");
}

}  // namespace
}  // namespace kx::test
