#pragma once

#include "workpanel/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kx {

// "StartListeDG2": the start list of run 2, or the bibs of run 2 alone.
class StartListDG2Panel : public WorkPanel {
  Q_OBJECT
 public:
  StartListDG2Panel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // StartListeDG2_ausgeben

 private:
  QComboBox* grouping_ = nullptr;
  QLineEdit* reverse_ = nullptr;
  QLineEdit* maximum_ = nullptr;
  QCheckBox* append_ = nullptr;
  QCheckBox* bibsOnly_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
