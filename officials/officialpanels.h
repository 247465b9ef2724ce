#pragma once

// The work panels of the officials' documents: gate-judge card, penalty protocol and
// referee protocol. Each shows the event of the current discipline, its choices, the
// output button (F2), the close button (Esc) and its result line.

#include "workpanel/outputpanel.h"

namespace kx {

class GateJudgeCardPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Torrichterkarte_ausgeben

  QComboBox* variant_ = nullptr;
};

class PenaltyProtocolPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // PenaltyProtokoll_ausgeben

  QCheckBox* writeBack_ = nullptr;
};

class RefereeProtocolPanel : public OutputPanel {
  Q_OBJECT
 public:
  using OutputPanel::OutputPanel;
  void build() override;

 private:
  void writeOutput(ResultLine& line) override;  // Schiedsrichterprotokoll_ausgeben
};

}  // namespace kx
