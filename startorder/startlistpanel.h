#pragma once

#include "workpanel/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

// "Startliste": the start list of run 1.
class StartListPanel : public WorkPanel {
  Q_OBJECT
 public:
  StartListPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Startliste_ausgeben

 private:
  QComboBox* grouping_ = nullptr;
  QCheckBox* descending_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
