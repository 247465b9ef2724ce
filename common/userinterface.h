#pragma once

#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>

namespace kx {

// Icons of a message box, as the message texts of the program ask for them.
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
// YesNoDefaultNo: Yes and No with No as the default button (Enter), for questions whose Yes
// throws work away.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MsgAnswer { Ok, Cancel, Yes, No };

// One message box as it was shown (tests read these back).
struct MessageRecord {
  QString text;
  QString title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
};

// The common file dialog. `filter` uses the "Text|*.ext" form of the original program
// ("Bewerbsdatei|*.mdb"); `fileName` is the proposed name.
struct FileDialogRequest {
  QString title;
  QString directory;
  QString filter;
  QString fileName;
};

// The font dialog of the certificate editor.
struct FontChoice {
  QString family;
  bool bold = false;
  bool italic = false;
  double pointSize = 10;  // fractional: "10,5"
};

// Everything the program asks of the person at the screen, and the clock.
// The main window owns one; tests script the answers and read back what was shown.
class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // Shows a modal message box. An empty title means the application title "Kandrix".
  virtual MsgAnswer message(const QString& text, MsgIcon icon = MsgIcon::None,
                            const QString& title = QString(),
                            MsgButtons buttons = MsgButtons::Ok) = 0;

  // Open and save dialogs: the chosen full path, or an empty text when cancelled.
  virtual QString openFileName(const FileDialogRequest& request) = 0;
  virtual QString saveFileName(const FileDialogRequest& request) = 0;

  // Font dialog: true and `choice` changed when confirmed, false when cancelled.
  virtual bool chooseFont(FontChoice& choice) = 0;

  // Today's date and the time of day.
  virtual QDateTime now() = 0;

  // Opens a finished document in the viewer; false when no viewer could be started.
  virtual bool openViewer(const QString& path) = 0;
};

// The application's title, the caption of message boxes without one of their own.
inline const QString kAppTitle = QStringLiteral("Kandrix");

}  // namespace kx
