#include "results/registration.h"

#include "results/participantdatapanel.h"
#include "results/postinglistpanel.h"
#include "results/resultlistpanel.h"
#include "results/teamlistpanel.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterResultPanels(PanelRegistry& registry) {
  registry.bindPanel<ResultListPanel>(QStringLiteral("Ergebnisliste"));
  registry.bindPanel<TeamListPanel>(QStringLiteral("Mannschaftsergebnisliste"));
  registry.bindPanel<ParticipantDataPanel>(QStringLiteral("Teilnehmerdaten"));
  registry.bindPanel<PostingListPanel>(QStringLiteral("Aushangliste"));
}

}  // namespace kx
