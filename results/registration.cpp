#include "results/registration.h"

#include "workpanel/panelregistry.h"

namespace kx {

void RegisterResultPanels(PanelRegistry& /*registry*/) {
  // Nothing bound yet: the folder's menu entries open their empty titled panels.
}

}  // namespace kx
