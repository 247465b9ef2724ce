#pragma once

#include "app/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace kx {

// "TafellisteDG2": the writing-board list of run 2.
class BoardListDG2Panel : public WorkPanel {
  Q_OBJECT
 public:
  explicit BoardListDG2Panel(MainWindow& window);
  QString title() const override {
    return QStringLiteral("Ausgabe Liste für Schreibtafel - 2. Durchgang");
  }
  void build() override;
  void mainAction() override;  // TafellisteDG2_ausgeben

 private:
  QComboBox* grouping_ = nullptr;
  QCheckBox* newPage_ = nullptr;
  QLineEdit* reverse_ = nullptr;
  QComboBox* format_ = nullptr;
  QCheckBox* appendNonFinishers_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
