#pragma once

// The seven panels of the administration tools: competition type, deletion of all
// participants or all teams, finals participants, bib takeover, federation id and points
// takeover, and the direction-change check. Each wires its controls to the plain routines
// of this folder.

#include "common/appstate.h"
#include "workpanel/workpanel.h"

#include <vector>

namespace kx {

// "Bewerbstyp": change of the competition type.
class CompetitionTypePanel : public WorkPanel {
  Q_OBJECT
 public:
  CompetitionTypePanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Bewerbstypspeichern_Click

 private:
  QComboBox* type_ = nullptr;
};

// "Teilnehmerloeschen" and "Mannschaftenloeschen": the two deletion panels.
class DeletionPanel : public WorkPanel {
  Q_OBJECT
 public:
  DeletionPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Teilnehmerloeschen_speichern_Click / Mannschaftenloeschen_...

 private:
  bool participants_;  // else teams
};

// "Finalteilnehmer": finalists drawn from other competition files.
class FinalsPanel : public WorkPanel {
  Q_OBJECT
 public:
  FinalsPanel(PanelHost& host, const PanelInfo& row);
  ~FinalsPanel() override;
  void build() override;
  void mainAction() override;  // Finalteilnehmer_speichern_Click
  void afterClose() override;  // drops the work table
  void addFile();              // Finalteilnehmer_Bewerb_Click

 private:
  QLineEdit* women_ = nullptr;
  QLineEdit* men_ = nullptr;
  QCheckBox* keepBibs_ = nullptr;
  QLabel* files_ = nullptr;
  QString tablePath_;  // the file the work table was created in; empty once dropped
};

// "Startnrnueb": bibs taken over from another discipline.
class BibTakeoverPanel : public WorkPanel {
  Q_OBJECT
 public:
  BibTakeoverPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Startnrn_speichern_Click

 private:
  void hideChoice();
  QLabel* label_ = nullptr;
  QComboBox* source_ = nullptr;
  QPushButton* save_ = nullptr;
  QStringList sourceCodes_;  // BibSourceCodes
};

// "KSFIDPkteueb": federation ids and points from the master data's points list.
class PointsTakeoverPanel : public WorkPanel {
  Q_OBJECT
 public:
  PointsTakeoverPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // KSFIdPkte_speichern_Click

  // The menu routine KSFIdPunkte_Click: reads the list versions first (their messages come
  // before the editor guard), then opens the panel.
  static void Open(PanelHost& host);
};

// "BearbeitenRichtungsaenderungen": direction changes against the vertical drop.
class DirectionChangePanel : public WorkPanel {
  Q_OBJECT
 public:
  DirectionChangePanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // BearbeitenRichtungsaenderungen_berechnen_Click

 private:
  void categoryChosen(int index);  // DisziplinKategorie_Click
  void showRule();
  QComboBox* category_ = nullptr;
  QLabel* dropRange_ = nullptr;     // Label04
  QLabel* percentRange_ = nullptr;  // Label06
  QLineEdit* drop_ = nullptr;
  QLabel* allowed_ = nullptr;  // Label08
  QLineEdit* count_ = nullptr;
  QLabel* dropResult_ = nullptr;                 // Label010
  DirectionChangeRule rule_{0, 0, 0, 0, 0, {}};  // SelectedDirectionChangeRule
  bool ready_ = false;                           // DirectionChangePanelReady
  int indexBeforeTyping_ = 0;
};

}  // namespace kx
