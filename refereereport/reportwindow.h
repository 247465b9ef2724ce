#pragma once

// The referee report's own window "SR_Bericht": a second top-level window beside the main
// window, modeless and without owner, with the report's 68 visible fields on a frame of two
// pages, its keys (F2 output, Esc cancel, page up and down) and its three buttons.

#include "refereereport/reportfields.h"
#include "refereereport/reportprefill.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class QComboBox;
class QLineEdit;
class QScrollBar;

namespace kx {

class PanelHost;
namespace db {
class Connection;
}

class RefereeReportWindow : public QWidget {
  Q_OBJECT
 public:
  explicit RefereeReportWindow(PanelHost& host);
  ~RefereeReportWindow() override;

  // The menu entry: a hidden window is loaded and shown; a shown one is only raised.
  void showReport();
  // Closes the window without storing (file closed or replaced, main window closing).
  void dismiss();
  // The file and discipline the shown report belongs to; null while hidden.
  const db::Connection* reportFile() const { return file_; }

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

  PanelHost& host_;
  QWidget* frame_ = nullptr;  // Frame1
  QScrollBar* scroll_ = nullptr;
  std::array<QLineEdit*, kReportFieldCount> edits_{};
  QComboBox* association_ = nullptr;
  int frameTop_ = 0;  // ReportFrameTop, in twips
  // What the report was loaded for: the open file and the current discipline then.
  const db::Connection* file_ = nullptr;
  ReportDiscipline discipline_;
  // The key press handled at a control, so that it is not handled again at the window;
  // forgotten with the key's release.
  const QEvent* keyEvent_ = nullptr;
};

}  // namespace kx
