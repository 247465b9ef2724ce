#include "devices/registration.h"

#include "devices/devicepanels.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterDevicePanels(PanelRegistry& registry) {
  registry.bindPanel<DevicePanel>(QStringLiteral("DIGISport"));
  registry.bindPanel<DevicePanel>(QStringLiteral("ALGETimy"));
  registry.bindPanel<DevicePanel>(QStringLiteral("TAGHeuer"));
  registry.bindPanel<HandTimeFilePanel>(QStringLiteral("LadenDatei"));
}

}  // namespace kx
