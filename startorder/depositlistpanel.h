#pragma once

#include "workpanel/outputpanel.h"

namespace kx {

// "Kautionsliste": the sheet on which the race office collects the deposits for the bibs.
class DepositListPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Kautionslisteausgeben
};

}  // namespace kx
