#pragma once

#include "startorder/startlistdg2.h"
#include "workpanel/outputpanel.h"

namespace kx {

// "StartListeDG2": the start list of run 2, or the bibs of run 2 alone.
class StartListDG2Panel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;
  // StartListeDG2_ausgeben: the two boxes are read before the result line is blanked, so
  // that a refused number leaves the line as it was.
  void mainAction() override;

 private:
  void writeOutput(ResultLine& line) override;

  StartListDG2Options boxes_;  // the numbers of the two boxes, as the last F2 read them
  QComboBox* grouping_ = nullptr;
  QLineEdit* reverse_ = nullptr;
  QLineEdit* maximum_ = nullptr;
  QCheckBox* append_ = nullptr;
  QCheckBox* bibsOnly_ = nullptr;
};

}  // namespace kx
