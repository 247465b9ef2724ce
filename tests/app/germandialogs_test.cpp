// The real dialogs speak German whatever the machine's locale (the test command runs this
// under the C locale too): buttons, captions and the file list's date and size columns.
#include "app/qtuserinterface.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <functional>

namespace kx::test {
namespace {

QStringList ButtonTexts(const QWidget* dialog) {
  QStringList texts;
  for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
    if (button->isVisible() && !button->text().isEmpty()) texts << button->text().remove(u'&');
  }
  return texts;
}

// Once the next modal dialog shows, lets `look` at it and then presses `key` in it.
void AnswerNextDialog(std::function<void(QWidget&)> look, Qt::Key key) {
  QTimer::singleShot(0, [look, key] {
    QWidget* dialog = nullptr;
    const bool shown =
        QTest::qWaitFor([&] { return (dialog = QApplication::activeModalWidget()) != nullptr; });
    ASSERT_TRUE(shown);
    look(*dialog);
    QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, key);
  });
}

TEST(GermanDialogs, FileDialogAndMessageBoxSpeakGerman) {
  QTemporaryDir dir;
  QFile old(dir.filePath("Alt.txt"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write(QByteArray(1500, 'x'));
  old.flush();
  old.setFileTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7)), QFileDevice::FileModificationTime);
  old.close();

  QtUserInterface ui(nullptr);
  QString date, size;
  AnswerNextDialog(
      [&](QWidget& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Datei auswählen");
        EXPECT_TRUE(ButtonTexts(&dialog).contains("Speichern"));
        EXPECT_TRUE(ButtonTexts(&dialog).contains("Abbrechen"));
        auto* list = dialog.findChild<QTreeView*>();
        ASSERT_NE(list, nullptr);
        const bool listed = QTest::qWaitFor([&] {
          const QAbstractItemModel* files = list->model();
          for (int row = 0; row < files->rowCount(list->rootIndex()); ++row) {
            if (files->index(row, 0, list->rootIndex()).data() != "Alt.txt") continue;
            size = files->index(row, 1, list->rootIndex()).data().toString();
            date = files->index(row, 3, list->rootIndex()).data().toString();
          }
          return !date.isEmpty();
        });
        EXPECT_TRUE(listed);
      },
      Qt::Key_Return);
  // Enter takes the proposed name.
  EXPECT_EQ(ui.saveFileName({"Datei auswählen", dir.path(), "txt-Dateien|*.txt", "Neu.txt"}),
            dir.filePath("Neu.txt"));
  EXPECT_EQ(date.toStdString(), "05.03.24 14:07");
  EXPECT_EQ(size.toStdString(), "1,46 KiB");

  QStringList buttons;
  AnswerNextDialog([&](QWidget& box) { buttons = ButtonTexts(&box); }, Qt::Key_Escape);
  EXPECT_EQ(ui.message("Weiter?", MsgIcon::Question, QString(), MsgButtons::YesNoCancel),
            MsgAnswer::Cancel);
  buttons.sort();
  EXPECT_EQ(buttons, QStringList({"Abbrechen", "Ja", "Nein"}));
}

}  // namespace
}  // namespace kx::test
