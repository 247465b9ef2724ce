#pragma once

// The main window with its real user interface: real file dialogs and message boxes, answered
// by keys sent to the active modal dialog, and keys typed into the window while the focus is in
// a panel's field, as a person at the keyboard does it.

#include "tests/support/appfixture.h"

#include <QElapsedTimer>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <initializer_list>
#include <string>

namespace kx::test {

// A person answering the modal dialogs at the keyboard: a timer looks for the active modal
// dialog and answers it with the next scripted answer, a file dialog's answer typed into its
// file name first. A dialog beyond the script is cancelled with Esc and recorded all the same,
// so a repeated dialog shows as one more entry instead of a hang. A key may also be the letter
// of a button ("J" for "Ja", "N" for "Nein").
class KeyboardPerson : public QObject {
 public:
  struct Answer {
    Qt::Key key = Qt::Key_Return;
    QString fileName;  // typed into a file dialog before the key
  };
  struct Seen {
    QString kind;  // "QFileDialog", "QMessageBox"
    QString text;  // the message, or the dialog's caption
  };

  KeyboardPerson();
  // The answers to the dialogs of the next action; what was seen before is forgotten.
  void answer(std::initializer_list<Answer> answers) {
    seen.clear();
    script_ = answers;
  }
  // The dialogs seen, for readable comparisons: "QFileDialog, QMessageBox".
  std::string kinds() const { return join(&Seen::kind); }
  std::string texts() const { return join(&Seen::text); }
  QList<Seen> seen;

 private:
  void look();
  std::string join(QString Seen::*field) const;

  QTimer timer_;
  QList<Answer> script_;
  // The dialog answered last and when: a button pressed by its letter clicks a moment later.
  QPointer<QWidget> answered_;
  QElapsedTimer answeredAt_;
};

// The application fixture's window, made again with the real dialogs and shown.
class RealUiFixture : public AppFixture {
 protected:
  void SetUp() override;

  // Opens the file through the menu, typing its path into the real open dialog.
  void openFile(const QString& path);
  // A key typed into the window while the focus is in `field`.
  void typeInto(QWidget* field, Qt::Key key);
  template <class W = QWidget>
  W* control(const QString& name) {
    return window().findChild<W*>(name);
  }

  KeyboardPerson person;
};

}  // namespace kx::test
