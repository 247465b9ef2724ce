#pragma once

#include <QString>

#include <functional>

namespace kx {

class MainWindow;

// Connects a menu entry to its handler; the handler runs as one guarded user action.
using MenuHandlerBinder = std::function<void(const QString& entry, std::function<void()> handler)>;

// Connects the menu entries of the work panels that are built to their opening routines.
// Entries of panels not listed here open the panel's frame only (title, Esc).
void ConnectPanelMenuEntries(MainWindow& window, const MenuHandlerBinder& on);

}  // namespace kx
