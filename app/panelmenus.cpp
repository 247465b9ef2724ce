#include "app/panelmenus.h"

#include "app/mainwindow.h"
#include "startorder/startlistpanel.h"

namespace kx {

void ConnectPanelMenuEntries(MainWindow& window, const MenuHandlerBinder& on) {
  MainWindow* w = &window;
  on(QStringLiteral("BearbeitenStartliste"), [w] { w->openPanel<StartListPanel>(); });
}

}  // namespace kx
