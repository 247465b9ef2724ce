#pragma once

#include "common/userinterface.h"
#include "tests/support/qtprint.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <deque>
#include <functional>

namespace kx::test {

// A user interface whose answers are scripted and which records everything it showed.
// Unscripted questions get the first button's answer (Ok / Yes), unscripted dialogs are
// cancelled.
class ScriptedUi : public UserInterface {
 public:
  MsgAnswer message(const QString& text, MsgIcon icon, const QString& title,
                    MsgButtons buttons) override;
  QString openFileName(const FileDialogRequest& request) override;
  QString saveFileName(const FileDialogRequest& request) override;
  bool chooseFont(FontChoice& choice) override;
  QDateTime now() override { return now_; }
  bool openViewer(const QString& path) override {
    viewerOpened.append(path);
    return viewerStarts;
  }

  // Scripting.
  void answerMessages(std::initializer_list<MsgAnswer> answers) {
    answers_.insert(answers_.end(), answers);
  }
  void chooseOpenFile(const QString& path) { openFiles_.push_back(path); }
  void chooseSaveFile(const QString& path) { saveFiles_.push_back(path); }
  void cancelNextSave() { saveFiles_.push_back(QString()); }
  void chooseFontOnce(const FontChoice& choice) { fonts_.push_back(choice); }
  void setNow(const QDateTime& now) { now_ = now; }
  // Called while a message box is "shown" (e.g. to check state at that moment).
  std::function<void(const MessageRecord&)> onMessage;

  // False: the viewer cannot be started (a machine without a PDF viewer).
  bool viewerStarts = true;

  // Record.
  QList<MessageRecord> messages;
  QList<FileDialogRequest> openRequests;
  QList<FileDialogRequest> saveRequests;
  QStringList viewerOpened;

  QStringList messageTexts() const;
  void clear();

 private:
  std::deque<MsgAnswer> answers_;
  std::deque<QString> openFiles_;
  std::deque<QString> saveFiles_;
  std::deque<FontChoice> fonts_;
  QDateTime now_{QDate(2026, 12, 7), QTime(10, 30, 0)};
};

}  // namespace kx::test
