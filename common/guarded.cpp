#include "common/guarded.h"

#include "common/userinterface.h"
#include "db/database.h"
#include "pdf/pdfdocument.h"

namespace kx {

bool RunGuarded(UserInterface& ui, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const pdf::PdfAbort&) {
    return false;
  } catch (const db::Error& e) {
    ui.message(QStringLiteral("Fehler beim Zugriff auf die Bewerbsdatei:\n") + e.text(),
               MsgIcon::Critical, QStringLiteral("Achtung"));
    return false;
  }
}

}  // namespace kx
