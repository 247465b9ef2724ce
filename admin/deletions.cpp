#include "admin/deletions.h"

#include "db/database.h"

namespace kx {

void DeleteAllParticipants(db::Connection& db) {
  db::Transaction transaction = db.transaction();
  db.execute(QStringLiteral("delete from tblZeit where teilnehmer>0"));
  db.execute(QStringLiteral("delete from tblTeilnehmer"));
  transaction.commit();
}

void DeleteAllTeams(db::Connection& db) {
  db::Transaction transaction = db.transaction();
  db.execute(QStringLiteral("update tblTeilnehmer set mannschaft=null"));
  db.execute(QStringLiteral("delete from tblMannschaft"));
  transaction.commit();
}

}  // namespace kx
