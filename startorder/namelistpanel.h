#pragma once

#include "app/workpanel.h"

class QCheckBox;
class QLabel;

namespace kx {

// "Namensliste": the alphabetical list of the participants of the current discipline.
class NameListPanel : public WorkPanel {
  Q_OBJECT
 public:
  explicit NameListPanel(MainWindow& window);
  QString title() const override { return QStringLiteral("Ausgabe Namensliste"); }
  void build() override;
  void mainAction() override;  // Namensliste_ausgeben

 private:
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
