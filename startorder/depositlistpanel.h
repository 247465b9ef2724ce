#pragma once

#include "app/workpanel.h"

class QCheckBox;
class QLabel;

namespace kx {

// "Kautionsliste": the sheet on which the race office collects the deposits for the bibs.
class DepositListPanel : public WorkPanel {
  Q_OBJECT
 public:
  explicit DepositListPanel(MainWindow& window);
  QString title() const override { return QStringLiteral("Ausgabe Kautionsliste"); }
  void build() override;
  void mainAction() override;  // Kautionslisteausgeben

 private:
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
