#pragma once

#include "common/userinterface.h"

class QWidget;

namespace kx {

// The environment variable that keeps the viewer shut: when it is set (not empty), a
// finished document counts as opened without starting the viewer (tests, screenshots).
inline constexpr char kNoViewerVariable[] = "KANDRIX_NO_VIEWER";

// The real message boxes, file and font dialogs, clock and viewer.
class QtUserInterface : public UserInterface {
 public:
  explicit QtUserInterface(QWidget* parent) : parent_(parent) {}
  MsgAnswer message(const QString& text, MsgIcon icon, const QString& title,
                    MsgButtons buttons) override;
  QString openFileName(const FileDialogRequest& request) override;
  QString saveFileName(const FileDialogRequest& request) override;
  bool chooseFont(FontChoice& choice) override;
  QDateTime now() override;
  bool openViewer(const QString& path) override;

 private:
  QWidget* parent_;
};

// "Bewerbsdatei|*.mdb" in the form of a Qt file dialog filter: "Bewerbsdatei (*.mdb)". A
// description that names patterns itself shows only the ones that filter:
// "txt-Dateien(*.txt)|*.txt" gives "txt-Dateien (*.txt)".
QString QtFilterOf(const QString& filter);

}  // namespace kx
