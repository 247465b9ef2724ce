#pragma once

// The main window: menu, title label, the panel area with one work panel at a time, the
// about panel and the two hand-time takeover frames. It owns the process-wide values of
// the program (AppState) and the user interface through which every message is shown.

#include "app/workpanel.h"
#include "common/appstate.h"
#include "common/userinterface.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QSettings>

#include <functional>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class QMenu;

namespace kx {

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `programDir` is the directory of the running program (settings file, master data).
  // Without `ui` the window shows real message boxes and dialogs; without `settings` the
  // per-user settings store of the application "Kandrix" is used.
  explicit MainWindow(const QString& programDir, std::unique_ptr<UserInterface> ui = nullptr,
                      std::unique_ptr<QSettings> settings = nullptr);
  ~MainWindow() override;

  AppState& state() { return state_; }
  UserInterface& ui() { return *ui_; }
  QSettings& settings() { return *settings_; }

  // Menu entries by name.
  QAction* action(const QString& name) const;
  void enable(const QString& name, bool on = true);
  void disable(const QString& name) { enable(name, false); }
  bool isEnabled(const QString& name) const;

  // Work-panel protocol.
  const QString& currentPanel() const { return currentPanel_; }
  WorkPanel* panel() const { return panel_; }
  QWidget* panelArea() const { return panelArea_; }
  QLabel* frameTitel() const { return frameTitel_; }
  // True when the certificate editor is open: the guard message was shown and the caller
  // must stop.
  bool EditorLeaveGuard();
  void CloseAllPanels();
  // Opens a panel: guard, CloseAllPanels, current panel and title, then the panel's own
  // construction. Returns null when the guard refused.
  template <class P, class... Args>
  P* openPanel(Args&&... args);
  // The close routine of the named panel: empties the title; when that panel is open,
  // removes it and empties the current panel.
  void closePanel(const QString& name);
  // The key handler of the window (F2, F3, F4, Esc), also reached by tests directly.
  void PanelKeyDispatch(int key);

  // The two designed hand-time takeover frames; their routines are plugged in by the
  // hand-time takeover.
  QFrame* frameZeituebernahme() const { return frameZeituebernahme_; }
  QFrame* frameHandzeit() const { return frameHandzeit_; }
  struct FrameRoutines {
    std::function<void()> f2, f3, f4;
  };
  FrameRoutines zeituebernahmeRoutines;
  FrameRoutines handzeitRoutines;
  void Zeiten_Schliessen();
  void Zeiten_SchliessenH();

  // Menu-state routines.
  void UpdateTimeMenus();
  void UpdateParticipantMenus();
  void UpdateTeamMenus();
  void UpdateCertificateMenus();

  // Menu handlers of the shell.
  void DateiOeffnen_Click();
  // The menus and caption of a file that has just become the open one.
  void ApplyOpenedFileMenus();
  void DateiSchliessen_Click();
  void DateiBeenden_Click();
  void Info_Click();
  void Info_ok_Click();
  void ChooseDiscipline(int type);  // 0..5
  void DisziplinKombination_Click();

  // Stops a running live-timing upload when the window goes (set by live timing).
  std::function<void()> StopLiveTimer;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenu();
  void buildFrames();
  void connectMenuHandlers();
  void startUp();
  void beginPanel(WorkPanel* panel, const QString& title);
  void openRegisteredPanel(const QString& name);
  void setWindowCaptionFor(int type);
  void applyDisciplineMenus();
  bool isAncestorOf(QObject* ancestor, QObject* child) const;

  AppState state_;
  std::unique_ptr<UserInterface> ui_;
  std::unique_ptr<QSettings> settings_;
  QHash<QString, QAction*> actions_;
  QString currentPanel_;
  QPointer<WorkPanel> panel_;
  QWidget* panelArea_ = nullptr;
  QLabel* frameTitel_ = nullptr;
  QFrame* frameInfo_ = nullptr;
  QLabel* infoVersion_ = nullptr;
  QFrame* frameZeituebernahme_ = nullptr;
  QFrame* frameHandzeit_ = nullptr;
  // Key preview: the press being dispatched and the widget it reached first, so that
  // its propagation to the parents is not dispatched again.
  const QEvent* keyEvent_ = nullptr;
  QPointer<QObject> keyReceiver_;
};

template <class P, class... Args>
P* MainWindow::openPanel(Args&&... args) {
  if (EditorLeaveGuard()) return nullptr;
  CloseAllPanels();
  auto* p = new P(*this, std::forward<Args>(args)...);
  beginPanel(p, p->title());
  try {
    p->build();
  } catch (...) {
    // No half-built panel stays behind.
    closePanel(p->panelName());
    throw;
  }
  return panel_ == p ? p : nullptr;
}

}  // namespace kx
