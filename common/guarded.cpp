#include "common/guarded.h"

#include "common/pdfabort.h"
#include "common/userinterface.h"
#include "db/database.h"

#include <exception>

namespace kx {

QString DatabaseErrorText(const db::Error& error) {
  return QStringLiteral("Fehler beim Zugriff auf die Bewerbsdatei:\n") + error.text();
}

bool RunGuarded(UserInterface& ui, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const pdf::PdfAbort&) {
    return false;
  } catch (const db::Error& e) {
    ui.message(DatabaseErrorText(e), MsgIcon::Critical, QStringLiteral("Achtung"));
    return false;
  } catch (const std::exception& e) {
    // Nothing reaches the event loop: the action ends with what went wrong.
    ui.message(QStringLiteral("Die Aktion wurde wegen eines Fehlers abgebrochen:\n") +
                   QString::fromLocal8Bit(e.what()),
               MsgIcon::Critical, QStringLiteral("Achtung"));
    return false;
  }
}

}  // namespace kx
