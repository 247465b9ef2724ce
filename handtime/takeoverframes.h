#pragma once

// The two hand-time takeover frames of the main window, FrameZeituebernahme (by time of
// day) and FrameHandzeit (by run time): their controls, created once and kept while the
// frame is hidden, and the routines of their menu entries, buttons and keys. Every rule is
// in DayTimeTakeover and RunTimeTakeover; the frames wire the controls to them.

#include "handtime/daytimetakeover.h"
#include "handtime/runtimetakeover.h"

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace kx {

class HandListView;
class PanelHost;

class ZeituebernahmeFrame : public QWidget {
  Q_OBJECT
 public:
  // Creates the controls inside the host's frame FrameZeituebernahme.
  explicit ZeituebernahmeFrame(PanelHost& host);

  DayTimeTakeover& takeover() { return takeover_; }

  void Zeituebernahme_Click();  // the menu entry: opens the frame and builds the list
  void Zeiten_Anzeigen_Click();
  void Zeiten_StNr_zuordnen_Click();
  void Zeiten_Zuordnung_aufheben_Click();
  void Zeiten_Uebernehmen_Click();  // also F2
  void Zeiten_Schliessen_Click();   // also Esc (through the window)
  // Before the frame is left (PanelHost::FrameRoutines::keep): true when the person keeps
  // the replacement times not taken over.
  bool keepAssignments();

 private:
  // False when the person kept the list that stands.
  bool build(HandMode mode, int run);
  void reload();
  // The mode and run combos show what the list was built for.
  void showBuilt();

  PanelHost& host_;
  DayTimeTakeover takeover_;
  QComboBox* handzeitT_ = nullptr;
  QComboBox* durchgang_ = nullptr;
  QLineEdit* startNr_ = nullptr;
  HandListView* list_ = nullptr;
  // Opened again over its own list, the frame asks the build's question instead.
  bool reopening_ = false;
};

class HandzeitFrame : public QWidget {
  Q_OBJECT
 public:
  // Creates the controls inside the host's frame FrameHandzeit.
  explicit HandzeitFrame(PanelHost& host);

  RunTimeTakeover& takeover() { return takeover_; }

  void ZeituebernahmeH_Click();  // the menu entry: opens the frame and compares
  void Zeiten_AnzeigenH_Click();
  void Start_StNr_zuordnen_Click();  // also F3
  void Ziel_StNr_zuordnen_Click();   // also F4
  void Start_Zuordnung_aufheben_Click();
  void Ziel_Zuordnung_aufheben_Click();
  void Zeiten_UebernehmenH_Click();  // also F2
  void Zeiten_SchliessenH_Click();   // also Esc (through the window)
  // Before the frame is left (PanelHost::FrameRoutines::keep): true when the person keeps
  // the bibs given to hand times.
  bool keepAssignments();

 private:
  int run() const;
  void reload();

  PanelHost& host_;
  RunTimeTakeover takeover_;
  QComboBox* durchgangH_ = nullptr;
  QLineEdit* startNrS_ = nullptr;
  QLineEdit* startNrZ_ = nullptr;
  HandListView* starts_ = nullptr;
  HandListView* finishes_ = nullptr;
  HandListView* comparison_ = nullptr;
};

}  // namespace kx
