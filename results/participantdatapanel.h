#pragma once

// "Teilnehmerdaten": the panel of the participant-data export of a combination (the
// disciplines, run time or race points, and how race points are computed).

#include "workpanel/outputpanel.h"

#include <array>

namespace kx {

class ParticipantDataPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // TnDaten_ausgeben
  void evaluationChosen();                      // TnDatenAuswertungnach_Click

  std::array<QCheckBox*, 6> disciplines_{};
  QComboBox* evaluation_ = nullptr;
  QComboBox* per_ = nullptr;
  QComboBox* method_ = nullptr;
  std::array<QWidget*, 5> pointOptions_{};
};

}  // namespace kx
