#pragma once

// What a work panel and a subsystem's registration see of the main window: the shared
// state, the person at the screen, the menu entries and their state routines, the panel
// protocol and the two hand-time takeover frames. The main window implements it; panels
// and subsystems never include the window itself.

#include <QString>

#include <functional>
#include <initializer_list>

class QAction;
class QFrame;
class QLabel;
class QSettings;
class QWidget;

namespace kx {

struct AppState;
class UserInterface;

class PanelHost {
 public:
  virtual ~PanelHost() = default;

  virtual AppState& state() = 0;
  virtual UserInterface& ui() = 0;
  virtual QSettings& settings() = 0;

  // Menu entries by name (see workpanel/menuentries.h). Enabling a name the menu does
  // not have throws std::logic_error.
  virtual QAction* action(const QString& name) const = 0;
  virtual void enable(const QString& name, bool on = true) = 0;
  void disable(const QString& name) { enable(name, false); }
  virtual bool isEnabled(const QString& name) const = 0;

  // The menu-state routines.
  virtual void UpdateTimeMenus() = 0;
  virtual void UpdateParticipantMenus() = 0;
  virtual void UpdateTeamMenus() = 0;
  virtual void UpdateCertificateMenus() = 0;

  // Work-panel protocol.
  virtual const QString& currentPanel() const = 0;
  virtual QWidget* panelArea() const = 0;
  virtual QLabel* frameTitel() const = 0;
  // True when the certificate editor is open (the guard message was shown) or when a
  // takeover frame keeps its assignments (FrameRoutines::keep): the caller must stop.
  virtual bool EditorLeaveGuard() = 0;
  virtual void CloseAllPanels() = 0;
  // The close routine of the named panel: empties the title; when that panel is open,
  // removes it and empties the current panel.
  virtual void closePanel(const QString& name) = 0;
  // Opens a panel of the registry as its menu entry does (guard, close all, build).
  virtual void openRegisteredPanel(const QString& name, const QString& menuEntry = QString()) = 0;

  // The two designed hand-time takeover frames and the routines of their keys, filled by
  // the hand-time takeover (from a start-up step of its registration).
  virtual QFrame* frameZeituebernahme() const = 0;
  virtual QFrame* frameHandzeit() const = 0;
  struct FrameRoutines {
    std::function<void()> f2, f3, f4;
    // Asked before the frame is left (its close button, Esc, another menu entry, a change of
    // file or discipline, the end of the program): when it holds assignments not taken
    // over, whether to discard them. True when the person keeps them: the frame stays as it
    // is and the caller stops. Otherwise they are dropped, the frame is closed, and false.
    std::function<bool()> keep;
  };
  FrameRoutines zeituebernahmeRoutines;
  FrameRoutines handzeitRoutines;
  // True when one of the takeover frames keeps its assignments (FrameRoutines::keep).
  bool KeepTakeoverFrames() {
    for (const FrameRoutines* frame : {&zeituebernahmeRoutines, &handzeitRoutines}) {
      if (frame->keep && frame->keep()) return true;
    }
    return false;
  }

  // Stops a running live-timing upload when the window goes (set by live timing).
  std::function<void()> StopLiveTimer;
};

}  // namespace kx
