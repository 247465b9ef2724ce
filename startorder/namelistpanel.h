#pragma once

#include "workpanel/workpanel.h"

class QCheckBox;
class QLabel;

namespace kx {

// "Namensliste": the alphabetical list of the participants of the current discipline.
class NameListPanel : public WorkPanel {
  Q_OBJECT
 public:
  NameListPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Namensliste_ausgeben

 private:
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
