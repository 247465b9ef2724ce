#pragma once

#include "workpanel/outputpanel.h"

namespace kx {

// "Namensliste": the alphabetical list of the participants of the current discipline.
class NameListPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Namensliste_ausgeben
};

}  // namespace kx
