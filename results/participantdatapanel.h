#pragma once

// "Teilnehmerdaten": the panel of the participant-data export of a combination (the
// disciplines, run time or race points, and how race points are computed).

#include "workpanel/workpanel.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

class ParticipantDataPanel : public WorkPanel {
  Q_OBJECT
 public:
  ParticipantDataPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // TnDaten_ausgeben

 private:
  void evaluationChosen();  // TnDatenAuswertungnach_Click

  std::array<QCheckBox*, 6> disciplines_{};
  QComboBox* evaluation_ = nullptr;
  QComboBox* per_ = nullptr;
  QComboBox* method_ = nullptr;
  std::array<QWidget*, 5> pointOptions_{};
  QLabel* result_ = nullptr;
};

}  // namespace kx
