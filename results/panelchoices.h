#pragma once

// The fixed-choice combo boxes of the result-side panels accept typed text; only an
// offered entry counts.

#include <QString>

#include <optional>

class QComboBox;

namespace kx {

class UserInterface;

// The position of the entry whose text the combo box shows. When the shown text is none
// of its entries, says so naming the field (`field`, the label beside the box) and gives
// nothing.
std::optional<int> OfferedChoice(UserInterface& ui, const QComboBox& combo, const QString& field);

}  // namespace kx
