#pragma once

#include "app/workpanel.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kx {

// "Tafelliste": the writing-board list of run 1.
class BoardListPanel : public WorkPanel {
  Q_OBJECT
 public:
  explicit BoardListPanel(MainWindow& window);
  QString title() const override { return QStringLiteral("Ausgabe Liste für Schreibtafel"); }
  void build() override;
  void mainAction() override;  // Tafelliste_ausgeben

 private:
  QComboBox* grouping_ = nullptr;
  QCheckBox* newPage_ = nullptr;
  QComboBox* format_ = nullptr;
  QComboBox* timeColumns_ = nullptr;
  QComboBox* emptyRows_ = nullptr;
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
