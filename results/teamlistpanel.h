#pragma once

// "Mannschaftsergebnisliste": the panel of the team result list (title, division, counted
// members and the minimum numbers of women and men).

#include "workpanel/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kx {

class TeamListPanel : public WorkPanel {
  Q_OBJECT
 public:
  TeamListPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Mannschaftsergebnisliste_ausgeben

 private:
  QLineEdit* title_ = nullptr;
  QComboBox* grouping_ = nullptr;
  QComboBox* count_ = nullptr;
  QComboBox* women_ = nullptr;
  QComboBox* men_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
