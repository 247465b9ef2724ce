#include "admin/registration.h"

#include "admin/adminpanels.h"
#include "workpanel/menuentries.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterAdminPanels(PanelRegistry& registry) {
  registry.bindPanel<CompetitionTypePanel>(QStringLiteral("Bewerbstyp"));
  registry.bindPanel<DeletionPanel>(QStringLiteral("Teilnehmerloeschen"));
  registry.bindPanel<DeletionPanel>(QStringLiteral("Mannschaftenloeschen"));
  registry.bindPanel<FinalsPanel>(QStringLiteral("Finalteilnehmer"));
  registry.bindPanel<BibTakeoverPanel>(QStringLiteral("Startnrnueb"));
  registry.bindPanel<PointsTakeoverPanel>(QStringLiteral("KSFIDPkteueb"));
  // The points lists are checked before the panel protocol runs.
  registry.bindMenuEntry(menu::KSFIdPunkte,
                         [](PanelHost& host) { PointsTakeoverPanel::Open(host); });
  registry.bindPanel<DirectionChangePanel>(QStringLiteral("BearbeitenRichtungsaenderungen"));
}

}  // namespace kx
