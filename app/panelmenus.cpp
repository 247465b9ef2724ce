#include "app/panelmenus.h"

#include "app/mainwindow.h"
#include "startorder/boardlistdg2panel.h"
#include "startorder/boardlistpanel.h"
#include "startorder/depositlistpanel.h"
#include "startorder/namelistpanel.h"
#include "startorder/startlistdg2panel.h"
#include "startorder/startlistpanel.h"

namespace kx {

void ConnectPanelMenuEntries(MainWindow& window, const MenuHandlerBinder& on) {
  MainWindow* w = &window;
  on(QStringLiteral("BearbeitenNamensliste"), [w] { w->openPanel<NameListPanel>(); });
  on(QStringLiteral("BearbeitenKautionsliste"), [w] { w->openPanel<DepositListPanel>(); });
  on(QStringLiteral("BearbeitenStartliste"), [w] { w->openPanel<StartListPanel>(); });
  on(QStringLiteral("BearbeitenTafelliste"), [w] { w->openPanel<BoardListPanel>(); });
  on(QStringLiteral("BearbeitenTafellisteDG2"), [w] { w->openPanel<BoardListDG2Panel>(); });
  on(QStringLiteral("BearbeitenStartlisteDG2"), [w] { w->openPanel<StartListDG2Panel>(); });
}

}  // namespace kx
