#pragma once

#include "workpanel/workpanel.h"

class QCheckBox;
class QLabel;

namespace kx {

// "Kautionsliste": the sheet on which the race office collects the deposits for the bibs.
class DepositListPanel : public WorkPanel {
  Q_OBJECT
 public:
  DepositListPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Kautionslisteausgeben

 private:
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
