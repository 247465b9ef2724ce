#include "common/guarded.h"

#include "common/pdfabort.h"
#include "common/safefile.h"
#include "common/userinterface.h"
#include "db/database.h"

#include <QDir>
#include <QtGlobal>

#include <cerrno>
#include <exception>

namespace kx {

namespace {

const QString kNothingSaved = QStringLiteral("Es wurde nichts gespeichert.");

}  // namespace

QString FileInUseText(const QString& path, const QString& kept) {
  QString text =
      QStringLiteral("Die Datei '%1' wird gerade von einem anderen Programm verwendet.\n")
          .arg(path);
  if (!kept.isEmpty()) text += kept + QLatin1Char('\n');
  return text + QStringLiteral("Bitte später nochmals versuchen.");
}

QString DatabaseErrorText(const db::Error& error) {
  using Fault = db::Error::Fault;
  const Fault fault = error.fault();
  if (fault == Fault::Other) {
    return QStringLiteral("Fehler beim Zugriff auf die Bewerbsdatei:\n") + error.text();
  }
  qWarning("%s", error.what());
  const QString file = QDir::toNativeSeparators(error.file());
  const QString cannotWrite =
      QStringLiteral("Die Bewerbsdatei '%1' kann nicht geschrieben werden: %2.\n") + kNothingSaved;
  switch (fault) {
    case Fault::Locked:
      return FileInUseText(file, kNothingSaved);
    case Fault::DiskFull:
      return cannotWrite.arg(file, FileErrorCause(error.systemError() == EFBIG ? EFBIG : ENOSPC));
    case Fault::ReadOnly:
      return cannotWrite.arg(file, FileErrorCause(error.systemError() == EROFS ? EROFS : EACCES));
    case Fault::Moved:
      return db::MovedFileText(file) + QLatin1Char('\n') + kNothingSaved;
    case Fault::Damaged:
      return QStringLiteral(
                 "Die Bewerbsdatei '%1' ist beschädigt.\n"
                 "Bitte die Datei im Programm Kandor reparieren.\n")
                 .arg(file) +
             kNothingSaved;
    default:
      return QStringLiteral(
                 "Die Bewerbsdatei '%1' kann nicht gelesen oder geschrieben werden: Fehler des "
                 "Datenträgers.\n")
                 .arg(file) +
             kNothingSaved;
  }
}

bool RunGuarded(UserInterface& ui, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const pdf::PdfAbort&) {
    return false;
  } catch (const db::Error& e) {
    ui.message(DatabaseErrorText(e),
               e.fault() == db::Error::Fault::Locked ? MsgIcon::Exclamation : MsgIcon::Critical,
               QStringLiteral("Achtung"));
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
