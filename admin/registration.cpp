#include "admin/registration.h"

#include "workpanel/panelregistry.h"

namespace kx {

void RegisterAdminPanels(PanelRegistry& /*registry*/) {
  // Nothing bound yet: the folder's menu entries open their empty titled panels.
}

}  // namespace kx
