#include "handtime/registration.h"

#include "handtime/takeoverframes.h"
#include "workpanel/menuentries.h"
#include "workpanel/panelhost.h"
#include "workpanel/panelregistry.h"

#include <QFrame>

namespace kx {

void RegisterHandTimePanels(PanelRegistry& registry) {
  // The takeover frames exist from the start; their controls are made once with them.
  registry.onStartUp([](PanelHost& host) {
    auto* day = new ZeituebernahmeFrame(host);
    auto* run = new HandzeitFrame(host);
    host.zeituebernahmeRoutines = {[day] { day->Zeiten_Uebernehmen_Click(); },
                                   {},
                                   {},
                                   [day] { return day->keepAssignments(); }};
    host.handzeitRoutines = {
        [run] { run->Zeiten_UebernehmenH_Click(); }, [run] { run->Start_StNr_zuordnen_Click(); },
        [run] { run->Ziel_StNr_zuordnen_Click(); }, [run] { return run->keepAssignments(); }};
  });
  registry.bindMenuEntry(menu::Zeituebernahme, [](PanelHost& host) {
    host.frameZeituebernahme()->findChild<ZeituebernahmeFrame*>()->Zeituebernahme_Click();
  });
  registry.bindMenuEntry(menu::ZeituebernahmeH, [](PanelHost& host) {
    host.frameHandzeit()->findChild<HandzeitFrame*>()->ZeituebernahmeH_Click();
  });
}

}  // namespace kx
