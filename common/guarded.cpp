#include "common/guarded.h"

#include "common/pdfabort.h"
#include "common/userinterface.h"
#include "db/database.h"

namespace kx {

QString FailureText(const std::exception& error) {
  if (const auto* db = dynamic_cast<const db::Error*>(&error)) {
    return QStringLiteral("Fehler beim Zugriff auf die Bewerbsdatei:\n") + db->text();
  }
  // Nothing reaches the event loop: the action ends with what went wrong.
  return QStringLiteral("Die Aktion wurde wegen eines Fehlers abgebrochen:\n") +
         QString::fromLocal8Bit(error.what());
}

bool RunGuarded(UserInterface& ui, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const pdf::PdfAbort&) {
    return false;
  } catch (const std::exception& e) {
    ui.message(FailureText(e), MsgIcon::Critical, QStringLiteral("Achtung"));
    return false;
  }
}

}  // namespace kx
