#pragma once

// The work panels of the officials' documents: gate-judge card, penalty protocol and
// referee protocol. Each shows the event of the current discipline, its choices, the
// output button (F2), the close button (Esc) and its result line.

#include "app/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

class GateJudgeCardPanel : public WorkPanel {
  Q_OBJECT
 public:
  explicit GateJudgeCardPanel(MainWindow& window);
  QString title() const override { return QStringLiteral("Ausgabe Torrichterkarte"); }
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
  explicit PenaltyProtocolPanel(MainWindow& window);
  QString title() const override { return QStringLiteral("Ausgabe Penalty-Protokoll"); }
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
  explicit RefereeProtocolPanel(MainWindow& window);
  QString title() const override { return QStringLiteral("Ausgabe Schiedsrichterprotokoll"); }
  void build() override;
  void mainAction() override;  // Schiedsrichterprotokoll_ausgeben

 private:
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
