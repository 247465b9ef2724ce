#pragma once

// "Mannschaftsergebnisliste": the panel of the team result list (title, division, counted
// members and the minimum numbers of women and men).

#include "workpanel/outputpanel.h"

namespace kx {

class TeamListPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Mannschaftsergebnisliste_ausgeben

  QLineEdit* title_ = nullptr;
  QComboBox* grouping_ = nullptr;
  QComboBox* count_ = nullptr;
  QComboBox* women_ = nullptr;
  QComboBox* men_ = nullptr;
};

}  // namespace kx
