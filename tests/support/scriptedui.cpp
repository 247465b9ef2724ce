#include "tests/support/scriptedui.h"

namespace kx::test {

MsgAnswer ScriptedUi::message(const QString& text, MsgIcon icon, const QString& title,
                              MsgButtons buttons) {
  MessageRecord record{text, title.isEmpty() ? kAppTitle : title, icon, buttons};
  messages.append(record);
  if (onMessage) onMessage(record);
  if (!answers_.empty()) {
    MsgAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  switch (buttons) {
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNoDefaultNo:
      return MsgAnswer::Yes;
    default:
      return MsgAnswer::Ok;
  }
}

QString ScriptedUi::openFileName(const FileDialogRequest& request) {
  openRequests.append(request);
  if (openFiles_.empty()) return QString();
  QString path = openFiles_.front();
  openFiles_.pop_front();
  return path;
}

QString ScriptedUi::saveFileName(const FileDialogRequest& request) {
  saveRequests.append(request);
  if (saveFiles_.empty()) return QString();
  QString path = saveFiles_.front();
  saveFiles_.pop_front();
  return path;
}

bool ScriptedUi::chooseFont(FontChoice& choice) {
  if (fonts_.empty()) return false;
  choice = fonts_.front();
  fonts_.pop_front();
  return true;
}

QStringList ScriptedUi::messageTexts() const {
  QStringList texts;
  for (const auto& m : messages) texts.append(m.text);
  return texts;
}

void ScriptedUi::clear() {
  messages.clear();
  openRequests.clear();
  saveRequests.clear();
  viewerOpened.clear();
}

}  // namespace kx::test
