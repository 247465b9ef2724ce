#include "app/panelmenus.h"

#include "app/mainwindow.h"

namespace kx {

void ConnectPanelMenuEntries(MainWindow& window, const MenuHandlerBinder& on) {
  (void)window;
  (void)on;
}

}  // namespace kx
