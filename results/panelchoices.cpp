#include "results/panelchoices.h"

#include "common/userinterface.h"

#include <QComboBox>

namespace kx {

std::optional<int> OfferedChoice(UserInterface& ui, const QComboBox& combo, const QString& field) {
  const int at = combo.findText(combo.currentText(), Qt::MatchExactly);
  if (at >= 0) return at;
  ui.message(QStringLiteral("Bitte bei \"%1\" einen Eintrag aus der Liste wählen").arg(field));
  return std::nullopt;
}

}  // namespace kx
