#pragma once

// The one place where the main window learns the subsystems' panels and menu entries.

namespace kx {

class PanelRegistry;

// Calls every subsystem folder's registration function.
void RegisterAllPanels(PanelRegistry& registry);

}  // namespace kx
