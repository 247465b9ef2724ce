#include "common/masterdata.h"

#include "common/guarded.h"
#include "db/database.h"

#include <QDir>

namespace kx {

namespace {

QString MasterDataPath(const QString& programDir) {
  return QDir(programDir).filePath(QStringLiteral("STAMMDAT.mdb"));
}

}  // namespace

std::unique_ptr<db::Connection> OpenMasterData(const QString& programDir) {
  return db::Connection::open(MasterDataPath(programDir));
}

QString MasterDataFailureText(const QString& programDir, const db::Error& error,
                              const QString& missing) {
  if (!error.locked()) return missing;
  return FileInUseText(QDir::toNativeSeparators(MasterDataPath(programDir)));
}

}  // namespace kx
