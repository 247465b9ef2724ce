#include "app/registration.h"

#include "admin/registration.h"
#include "certificates/registration.h"
#include "devices/registration.h"
#include "handtime/registration.h"
#include "import/registration.h"
#include "livetiming/registration.h"
#include "officials/registration.h"
#include "refereereport/registration.h"
#include "results/registration.h"
#include "startorder/registration.h"

namespace kx {

void RegisterAllPanels(PanelRegistry& registry) {
  RegisterStartOrderPanels(registry);
  RegisterResultPanels(registry);
  RegisterDevicePanels(registry);
  RegisterHandTimePanels(registry);
  RegisterLiveTimingPanels(registry);
  RegisterOfficialPanels(registry);
  RegisterImportPanels(registry);
  RegisterCertificatePanels(registry);
  RegisterRefereeReportPanels(registry);
  RegisterAdminPanels(registry);
}

}  // namespace kx
