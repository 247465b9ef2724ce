#pragma once

// "ISFErgebnisliste": the panel of the school-federation team result list.

#include "workpanel/outputpanel.h"

namespace kx {

class IsfListPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // ISFErgebnisliste_ausgeben

  QCheckBox* rankAll_ = nullptr;
};

}  // namespace kx
