#include "results/registration.h"

#include "results/resultlistpanel.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterResultPanels(PanelRegistry& registry) {
  registry.bindPanel<ResultListPanel>(QStringLiteral("Ergebnisliste"));
}

}  // namespace kx
