#pragma once

#include "workpanel/outputpanel.h"

namespace kx {

// "Startliste": the start list of run 1.
class StartListPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Startliste_ausgeben

  QComboBox* grouping_ = nullptr;
  QCheckBox* descending_ = nullptr;
};

}  // namespace kx
