#pragma once

// The main window: menu, title label, the panel area with one work panel at a time, the
// about panel and the two hand-time takeover frames. It owns the process-wide values of
// the program (AppState) and the user interface through which every message is shown.

#include "app/menutable.h"
#include "common/appstate.h"
#include "common/userinterface.h"
#include "workpanel/panelhost.h"
#include "workpanel/panelregistry.h"
#include "workpanel/workpanel.h"

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

class MainWindow : public QMainWindow, public PanelHost {
  Q_OBJECT
 public:
  // `programDir` is the directory of the running program (settings file, master data).
  // Without `ui` the window shows real message boxes and dialogs; without `settings` the
  // per-user settings store of the application "Kandrix" is used.
  explicit MainWindow(const QString& programDir, std::unique_ptr<UserInterface> ui = nullptr,
                      std::unique_ptr<QSettings> settings = nullptr);
  ~MainWindow() override;

  AppState& state() override { return state_; }
  UserInterface& ui() override { return *ui_; }
  QSettings& settings() override { return *settings_; }

  // Menu entries by name.
  QAction* action(const QString& name) const override;
  void enable(const QString& name, bool on = true) override;
  bool isEnabled(const QString& name) const override;

  // Work-panel protocol.
  const QString& currentPanel() const override { return currentPanel_; }
  WorkPanel* panel() const { return panel_; }
  QWidget* panelArea() const override { return panelArea_; }
  QLabel* frameTitel() const override { return frameTitel_; }
  bool EditorLeaveGuard() override;
  void CloseAllPanels() override;
  // Opens a panel: guard, CloseAllPanels, current panel and title, then the panel's own
  // construction. Returns null when the guard refused.
  template <class P, class... Args>
  P* openPanel(Args&&... args) {
    return static_cast<P*>(openBuilt([&] { return new P(*this, std::forward<Args>(args)...); }));
  }
  void openRegisteredPanel(const QString& name, const QString& menuEntry = QString()) override;
  void closePanel(const QString& name) override;
  // The panels and menu entries the subsystems registered.
  const PanelRegistry& registry() const { return registry_; }
  // The key handler of the window (F2, F3, F4, Esc), also reached by tests directly.
  void PanelKeyDispatch(int key);

  QFrame* frameZeituebernahme() const override { return frameZeituebernahme_; }
  QFrame* frameHandzeit() const override { return frameHandzeit_; }
  void Zeiten_Schliessen();
  void Zeiten_SchliessenH();

  // Menu-state routines.
  void UpdateTimeMenus() override;
  void UpdateParticipantMenus() override;
  void UpdateTeamMenus() override;
  void UpdateCertificateMenus() override;

  // Menu handlers of the shell.
  void DateiOeffnen_Click();
  // The menus and caption of a file that has just become the open one.
  void ApplyOpenedFileMenus();
  // Ticks exactly the entry of the current discipline.
  void TickCurrentDiscipline();
  void DateiSchliessen_Click();
  void DateiBeenden_Click();
  void Info_Click();
  void Info_ok_Click();
  void ChooseDiscipline(int type);  // 0..5
  void DisziplinKombination_Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenu();
  void buildFrames();
  void connectMenuHandlers();
  void startUp();
  void beginPanel(WorkPanel* panel, const QString& title);
  WorkPanel* openBuilt(const std::function<WorkPanel*()>& make);
  // The menu state after `event`: facts read, transition applied to the menu.
  void applyMenuEvent(MenuEvent event);
  MenuSet enabledEntries() const;
  MenuFacts readMenuFacts(MenuEvent event);
  // Also writes the run counts of the current discipline (RunCount, RunsWithTimes).
  void readRunFacts(MenuFacts& facts);
  void readCertificateFacts(MenuFacts& facts);
  bool isAncestorOf(QObject* ancestor, QObject* child) const;

  AppState state_;
  PanelRegistry registry_;
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

}  // namespace kx
