#pragma once

// "Aushangliste": the panel of the posting list (grouping, the one division, orientation).

#include "workpanel/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

class PostingListPanel : public WorkPanel {
  Q_OBJECT
 public:
  PostingListPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Aushangliste_ausgeben

 private:
  void groupingChosen();  // AushanglisteGruppe_Click

  QComboBox* grouping_ = nullptr;
  QComboBox* division_ = nullptr;
  QComboBox* format_ = nullptr;
  QLabel* divisionLabel_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
