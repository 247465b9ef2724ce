#pragma once

#include "app/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

// "Startliste": the start list of run 1.
class StartListPanel : public WorkPanel {
  Q_OBJECT
 public:
  explicit StartListPanel(MainWindow& window);
  QString title() const override { return QStringLiteral("Ausgabe Startliste"); }
  void build() override;
  void mainAction() override;  // Startliste_ausgeben

 private:
  QComboBox* grouping_ = nullptr;
  QCheckBox* descending_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
