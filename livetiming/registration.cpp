#include "livetiming/registration.h"

#include "livetiming/livetimingpanel.h"
#include "livetiming/session.h"
#include "workpanel/panelregistry.h"

namespace kx {

void RegisterLiveTimingPanels(PanelRegistry& registry) {
  registry.bindPanel<LiveTimingPanel>(QStringLiteral("LiveTiming"));
  // Closing the window stops a running upload of the open panel.
  registry.onStartUp([](PanelHost& host) {
    host.StopLiveTimer = [&host] {
      if (auto* panel = host.panelArea()->findChild<LiveTimingPanel*>()) {
        panel->session().StopLiveTimer();
      }
    };
  });
}

}  // namespace kx
