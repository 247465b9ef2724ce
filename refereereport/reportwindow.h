#pragma once

// The referee report's own window "SR_Bericht": a second top-level window beside the main
// window, modeless and without owner, with the report's 68 visible fields on a frame of two
// pages, its keys (F2 output, Esc cancel, page up and down) and its three buttons.

#include "refereereport/reportfields.h"
#include "refereereport/reportprefill.h"
#include "refereereport/reportstore.h"

#include <QPointer>
#include <QWidget>

#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QScrollBar;

namespace kx {

class PanelHost;

class RefereeReportWindow : public QWidget {
  Q_OBJECT
 public:
  explicit RefereeReportWindow(PanelHost& host);
  ~RefereeReportWindow() override;

  // The menu entry: a hidden window is loaded and shown; a shown one is only raised.
  void showReport();
  // Closes the window without storing and without asking (the main window has closed, or
  // nothing typed is lost).
  void dismiss();
  // True while the window is shown with a text that differs from what it was filled with
  // or last stored.
  bool hasChanges() const;
  // True when leaving loses nothing, or the person agreed to discard the changes (`question`,
  // No being the default); false keeps the window and its texts, in front with the focus in
  // it. A question asked from the main window names the report.
  bool mayDiscard(const QString& question = QStringLiteral("Änderungen verwerfen?"));
  // True while the competition file the shown report was loaded from is the open one: the
  // same file, and in it the same race.
  bool belongsToOpenFile() const;

  void LoadRefereeReport();
  void SRBericht_ausgeben_Click();
  void SRBericht_Abbruch_Click();
  void SRBericht_del_Click();
  void scrollTo(int page);  // VScroll1 set to 1 or 2

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void build();
  void addScrolledFrame();
  void addFormItems();
  QList<QWidget*> addButtons();  // in their tab order
  void setFormTabOrder(const QList<QWidget*>& buttons);
  ReportValues readControls() const;
  // Why the report cannot be stored into or deleted from the open file (no file open, or
  // another one); nothing when it can. `verb` is "gespeichert" or "gelöscht".
  std::optional<QString> fileRefusal(const QString& verb) const;

  PanelHost& host_;
  QWidget* frame_ = nullptr;  // Frame1
  QScrollBar* scroll_ = nullptr;
  std::array<QLineEdit*, kReportFieldCount> edits_{};
  QComboBox* association_ = nullptr;
  int frameTop_ = 0;  // ReportFrameTop, in twips
  // What the report was loaded for: the open file (its full path; empty while hidden), the
  // race the file held then and the current discipline then. The path, not the connection,
  // names the file: a connection of a later file may take the place of a closed one. The
  // race tells the file from another race put at the same path.
  QString filePath_;
  ReportRace race_;
  ReportDiscipline discipline_;
  // The texts as filled or last stored: leaving with others asks first.
  ReportValues shown_{};
  // The key press handled at a control, so that it is not handled again at the window;
  // forgotten with the key's release.
  const QEvent* keyEvent_ = nullptr;
  // An Esc that closed the open list of "Landesverband" is on its way to the box.
  bool listEscape_ = false;
};

}  // namespace kx
