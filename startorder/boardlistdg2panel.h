#pragma once

#include "startorder/boardlistpanel.h"

namespace kx {

// "TafellisteDG2": the writing-board list of run 2.
class BoardListDG2Panel : public BoardPanel {
  Q_OBJECT
 public:
  using BoardPanel::BoardPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // TafellisteDG2_ausgeben

  QLineEdit* reverse_ = nullptr;
  QCheckBox* appendNonFinishers_ = nullptr;
};

}  // namespace kx
