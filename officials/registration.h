#pragma once

// Plugs the panels and menu entries of the officials' documents into the main window (see
// CONTRIBUTING.md): the one place where this folder binds its panels by their table names.

namespace kx {

class PanelRegistry;

void RegisterOfficialPanels(PanelRegistry& registry);

}  // namespace kx
