#pragma once

#include <QColor>
#include <QString>

namespace kx {

// The result line of a panel with an output: black with the list's text and file on
// success, red when the user cancelled, one blank before anything happened.
struct ResultLine {
  QString text = QStringLiteral(" ");
  QColor color = QColor(0, 0, 0);

  static ResultLine saved(const QString& text) { return {text, QColor(0, 0, 0)}; }
  static ResultLine cancelled(const QString& text) { return {text, QColor(255, 0, 0)}; }
};

}  // namespace kx
