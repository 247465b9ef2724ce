#pragma once

// "ISFErgebnisliste": the panel of the school-federation team result list.

#include "workpanel/workpanel.h"

class QCheckBox;
class QLabel;

namespace kx {

class IsfListPanel : public WorkPanel {
  Q_OBJECT
 public:
  IsfListPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // ISFErgebnisliste_ausgeben

 private:
  QCheckBox* rankAll_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
