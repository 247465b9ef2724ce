#include "import/registration.h"

#include "import/importpanel.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterImportPanels(PanelRegistry& registry) {
  registry.bindPanel<ImportPanel>(QStringLiteral("ImportCSV"));
  registry.bindPanel<ImportPanel>(QStringLiteral("ImportKlassenCSV"));
}

}  // namespace kx
