#include "certificates/registration.h"

#include "certificates/certificateoutput.h"
#include "certificates/editorpanel.h"
#include "certificates/printpanel.h"
#include "common/appstate.h"
#include "common/userinterface.h"
#include "workpanel/menuentries.h"
#include "workpanel/panelhost.h"
#include "workpanel/panelregistry.h"

namespace kx {

namespace {

// The two editor entries: the editor of the same kind reloads once it is left as by its Esc
// (unsaved changes only after the person agreed), the other kind refuses while an editor is
// open.
void OpenEditor(PanelHost& host, bool team, const QString& entry) {
  if (host.currentPanel() == kCertificateEditorPanel) {
    if (CertificateEditorPanel::OpenEditorIsTeam() != team) {
      host.ui().message(kEditorLeaveMessage);
      return;
    }
    if (!CertificateEditorPanel::LeaveOpenEditor()) return;
  }
  host.openRegisteredPanel(kCertificateEditorPanel, entry);
}

}  // namespace

void RegisterCertificatePanels(PanelRegistry& registry) {
  registry.bindPanel<CertificateEditorPanel>(kCertificateEditorPanel);
  registry.bindPanel<CertificatePrintPanel>(QStringLiteral("UrkundenDrucken"));
  registry.bindMenuEntry(menu::UrkundenBearbeiten, [](PanelHost& host) {
    OpenEditor(host, false, menu::UrkundenBearbeiten);
  });
  registry.bindMenuEntry(menu::UrkundenMannschaftBearbeiten, [](PanelHost& host) {
    OpenEditor(host, true, menu::UrkundenMannschaftBearbeiten);
  });
  // Team certificates have nothing to rank in the combination.
  registry.bindMenuEntry(menu::UrkundenMannschaftDruck, [](PanelHost& host) {
    if (host.EditorLeaveGuard()) return;
    if (host.state().CurrentDisciplineType == 6) {
      host.ui().message(kNoTeamCombination);
      return;
    }
    host.openRegisteredPanel(QStringLiteral("UrkundenDrucken"), menu::UrkundenMannschaftDruck);
  });
}

}  // namespace kx
