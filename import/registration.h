#pragma once

// Plugs the panels and menu entries of imports of participants and classes into the main window
// (see CONTRIBUTING.md): the one place where this folder binds its panels by their table names.

namespace kx {

class PanelRegistry;

void RegisterImportPanels(PanelRegistry& registry);

}  // namespace kx
