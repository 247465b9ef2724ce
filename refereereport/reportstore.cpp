#include "refereereport/reportstore.h"

#include "db/database.h"

namespace kx {

namespace {
const QString kTable = QStringLiteral("XtblSRBericht");
}

void EnsureReportTable(db::Connection& db) {
  if (db.tables().contains(kTable)) return;
  db.execute(QStringLiteral(
      "create table XtblSRBericht (Disziplin long not null, Feld char(25) not null, Wert "
      "char(150) not null, primary key(Disziplin,Feld))"));
}

void LoadStoredReport(db::Connection& db, int discipline, ReportValues& values) {
  const db::Recordset rows = db.query(
      QStringLiteral("select Feld,Wert from XtblSRBericht where Disziplin=?"), {discipline});
  for (int i = 0; i < rows.count(); ++i) {
    const int index = ReportKeyIndex(rows.at(i, 0).toString().trimmed());
    if (index >= 0) values[static_cast<size_t>(index)] = rows.at(i, 1).toString().trimmed();
  }
}

std::optional<QString> TooLongReportValue(const ReportValues& values) {
  for (int i = 0; i < kReportFieldCount; ++i) {
    if (values[static_cast<size_t>(i)].size() > kReportValueLength) return ReportKeys()[i];
  }
  return std::nullopt;
}

void StoreReport(db::Connection& db, int discipline, const ReportValues& values) {
  db::Transaction transaction = db.transaction();
  db.execute(QStringLiteral("delete from XtblSRBericht where Disziplin=?"), {discipline});
  for (int i = 0; i < kReportFieldCount; ++i) {
    const QString& value = values[static_cast<size_t>(i)];
    if (value.isEmpty() || i == kOrgRennstrecke || i == kMedLeiter) continue;
    db.execute(QStringLiteral("insert into XtblSRBericht (Disziplin,Feld,Wert) values(?,?,?)"),
               {discipline, ReportKeys()[i], value});
  }
  transaction.commit();
}

void DeleteStoredReport(db::Connection& db, int discipline) {
  db::Transaction transaction = db.transaction();
  db.execute(QStringLiteral("delete from XtblSRBericht where Disziplin=?"), {discipline});
  transaction.commit();
}

}  // namespace kx
