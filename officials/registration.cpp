#include "officials/registration.h"

#include "officials/officialpanels.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterOfficialPanels(PanelRegistry& registry) {
  registry.bindPanel<GateJudgeCardPanel>(QStringLiteral("Torrichterkarte"));
  registry.bindPanel<PenaltyProtocolPanel>(QStringLiteral("PenaltyProtokoll"));
  registry.bindPanel<RefereeProtocolPanel>(QStringLiteral("Schiedsrichterprotokoll"));
}

}  // namespace kx
