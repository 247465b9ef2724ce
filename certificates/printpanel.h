#pragma once

// The certificate print panel: the choices of an individual print, a team print or an
// export for the registration service (and for the combination its disciplines and
// evaluation). Its main routine hands the choices to the output run.

#include "certificates/certificateoutput.h"
#include "workpanel/workpanel.h"

#include <array>

namespace kx {

class CertificatePrintPanel : public WorkPanel {
  Q_OBJECT
 public:
  // `menuEntry` decides the mode: UrkundenDruck, UrkundenMannschaftDruck, UrkundenExport.
  CertificatePrintPanel(PanelHost& host, const PanelInfo& row, const QString& menuEntry);

  QString title() const override;
  void build() override;
  void mainAction() override;

  // The panel's choices as the output run takes them.
  CertificateRunOptions options() const;

 private:
  void buildCombination(int& top);
  void buildTeam(int& top);
  void buildIndividual(int& top);
  void evaluationChanged(int index);

  enum class Mode { Print, TeamPrint, Export };
  Mode mode_;

  std::array<QCheckBox*, 6> disciplines_{};
  QComboBox* evaluation_ = nullptr;
  QComboBox* pointsPer_ = nullptr;
  QComboBox* pointsBy_ = nullptr;
  QLabel* label012_ = nullptr;
  QLabel* label013_ = nullptr;
  QLabel* label014_ = nullptr;
  QComboBox* grouping_ = nullptr;
  QComboBox* nation_ = nullptr;
  QComboBox* teamGrouping_ = nullptr;
  QComboBox* teamCount_ = nullptr;
  QComboBox* teamWomen_ = nullptr;
  QComboBox* teamMen_ = nullptr;
  QLineEdit* ranks_ = nullptr;
  QComboBox* sorting_ = nullptr;
  QLineEdit* offsetV_ = nullptr;
  QLineEdit* offsetH_ = nullptr;
};

}  // namespace kx
