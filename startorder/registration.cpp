#include "startorder/registration.h"

#include "startorder/boardlistdg2panel.h"
#include "startorder/boardlistpanel.h"
#include "startorder/depositlistpanel.h"
#include "startorder/namelistpanel.h"
#include "startorder/startlistdg2panel.h"
#include "startorder/startlistpanel.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterStartOrderPanels(PanelRegistry& registry) {
  registry.bindPanel<StartListPanel>(QStringLiteral("Startliste"));
  registry.bindPanel<StartListDG2Panel>(QStringLiteral("StartListeDG2"));
  registry.bindPanel<NameListPanel>(QStringLiteral("Namensliste"));
  registry.bindPanel<DepositListPanel>(QStringLiteral("Kautionsliste"));
  registry.bindPanel<BoardListPanel>(QStringLiteral("Tafelliste"));
  registry.bindPanel<BoardListDG2Panel>(QStringLiteral("TafellisteDG2"));
}

}  // namespace kx
