#pragma once

// "Ergebnisliste": the panel of the result list (run or total, division, options).

#include "workpanel/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

class ResultListPanel : public WorkPanel {
  Q_OBJECT
 public:
  ResultListPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Ergebnisliste_ausgeben

 private:
  QComboBox* run_ = nullptr;
  QComboBox* grouping_ = nullptr;
  QCheckBox* suppressNas_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
