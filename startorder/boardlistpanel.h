#pragma once

#include "lists/listpanelsupport.h"
#include "workpanel/outputpanel.h"

namespace kx {

// What the panels of the two writing-board lists share: the event texts, the grouping
// with its page switch, the format and the foot.
class BoardPanel : public OutputPanel {
  Q_OBJECT
 protected:
  using OutputPanel::OutputPanel;

  // Label01 to Label03, TafelBezVeranst, TafelDatumVeranst, TafelGruppe (at `fieldLeft`)
  // and TafelneueSeite beside it, filled from the competition file.
  void addHead(int fieldLeft, bool newPageTicked, GroupingChoices choices);
  // The "Format" label `labelName` and TafelFormat ("Hochformat" selected).
  void addFormat(const QString& labelName, int top, int fieldLeft);
  // Tafelliste_anzeigen, the buttons `<prefix>_ausgeben` (F2) and `<prefix>_schliessen`
  // (Esc), and the result line Tafelliste_Meldung.
  void addFoot(const QString& prefix, int showTop, int buttonTop, int resultTop);

  QComboBox* grouping_ = nullptr;
  QCheckBox* newPage_ = nullptr;
  QComboBox* format_ = nullptr;
};

// "Tafelliste": the writing-board list of run 1.
class BoardListPanel : public BoardPanel {
  Q_OBJECT
 public:
  using BoardPanel::BoardPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Tafelliste_ausgeben

  QComboBox* timeColumns_ = nullptr;
  QComboBox* emptyRows_ = nullptr;
};

}  // namespace kx
