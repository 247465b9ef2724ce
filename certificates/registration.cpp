#include "certificates/registration.h"

#include "workpanel/panelregistry.h"

namespace kx {

void RegisterCertificatePanels(PanelRegistry& /*registry*/) {
  // Nothing bound yet: the folder's menu entries open their empty titled panels.
}

}  // namespace kx
