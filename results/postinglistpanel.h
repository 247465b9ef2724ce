#pragma once

// "Aushangliste": the panel of the posting list (grouping, the one division, orientation).

#include "workpanel/outputpanel.h"

namespace kx {

class PostingListPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Aushangliste_ausgeben
  void groupingChosen();                        // AushanglisteGruppe_Click

  QComboBox* grouping_ = nullptr;
  QComboBox* division_ = nullptr;
  QComboBox* format_ = nullptr;
  QLabel* divisionLabel_ = nullptr;
};

}  // namespace kx
