#pragma once

// Plugs the panels and menu entries of result lists and team rankings into the main window (see
// CONTRIBUTING.md): the one place where this folder binds its panels by their table names.

namespace kx {

class PanelRegistry;

void RegisterResultPanels(PanelRegistry& registry);

}  // namespace kx
