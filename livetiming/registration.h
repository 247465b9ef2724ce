#pragma once

// Plugs the panels and menu entries of the live-timing upload into the main window (see
// CONTRIBUTING.md): the one place where this folder binds its panels by their table names.

namespace kx {

class PanelRegistry;

void RegisterLiveTimingPanels(PanelRegistry& registry);

}  // namespace kx
