#pragma once

// The work panels of the officials' documents: gate-judge card, penalty protocol and
// referee protocol. Each shows the event of the current discipline, its choices, the
// output button (F2), the close button (Esc) and its result line.

#include "workpanel/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

class GateJudgeCardPanel : public WorkPanel {
  Q_OBJECT
 public:
  GateJudgeCardPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Torrichterkarte_ausgeben

 private:
  QComboBox* variant_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

class PenaltyProtocolPanel : public WorkPanel {
  Q_OBJECT
 public:
  PenaltyProtocolPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // PenaltyProtokoll_ausgeben

 private:
  QCheckBox* writeBack_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

class RefereeProtocolPanel : public WorkPanel {
  Q_OBJECT
 public:
  RefereeProtocolPanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // Schiedsrichterprotokoll_ausgeben

 private:
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
