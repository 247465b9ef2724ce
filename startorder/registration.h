#pragma once

// Plugs the panels and menu entries of the start orders and the start-side lists into the main
// window (see CONTRIBUTING.md): the one place where this folder binds its panels by their table
// names.

namespace kx {

class PanelRegistry;

void RegisterStartOrderPanels(PanelRegistry& registry);

}  // namespace kx
