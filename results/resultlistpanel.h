#pragma once

// "Ergebnisliste": the panel of the result list (run or total, division, options).

#include "workpanel/outputpanel.h"

namespace kx {

class ResultListPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Ergebnisliste_ausgeben

  QComboBox* run_ = nullptr;
  QComboBox* grouping_ = nullptr;
  QCheckBox* suppressNas_ = nullptr;
};

}  // namespace kx
