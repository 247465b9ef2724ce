#pragma once

// Plugs the panels and menu entries of hand times: loading and the takeover frames into the main
// window (see CONTRIBUTING.md): the one place where this folder binds its panels by their table
// names.

namespace kx {

class PanelRegistry;

void RegisterHandTimePanels(PanelRegistry& registry);

}  // namespace kx
