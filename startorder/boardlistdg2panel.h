#pragma once

#include "startorder/boardlistpanel.h"

class QCheckBox;
class QLineEdit;

namespace kx {

// "TafellisteDG2": the writing-board list of run 2.
class BoardListDG2Panel : public BoardPanel {
  Q_OBJECT
 public:
  BoardListDG2Panel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // TafellisteDG2_ausgeben

 private:
  QLineEdit* reverse_ = nullptr;
  QCheckBox* appendNonFinishers_ = nullptr;
};

}  // namespace kx
