#include "refereereport/reportstore.h"

#include "db/database.h"

#include <QDir>

#include <map>

namespace kx {

namespace {
const QString kTable = QStringLiteral("XtblSRBericht");
}

void EnsureReportTable(db::Connection& db) {
  // SQLite finds names without regard to case: "xtblsrbericht" is this table too, and a view
  // or an index of that name keeps it from being created.
  const QString type = db.objectType(kTable);
  if (type == QLatin1String("table")) {
    bool shaped = true;
    for (const char* column : {"Disziplin", "Feld", "Wert"})
      shaped = shaped && db.hasColumn(kTable, QString::fromLatin1(column));
    if (shaped) return;
  }
  if (!type.isEmpty()) {
    throw db::Error(
        QStringLiteral("Die Bewerbsdatei '%1' ist beschädigt: '%2' ist nicht die Tabelle der "
                       "gespeicherten Schiedsrichterberichte.\n"
                       "Bitte die Datei im Programm Kandor reparieren.")
            .arg(QDir::toNativeSeparators(db.path()), kTable));
  }
  db.execute(QStringLiteral(
      "create table XtblSRBericht (Disziplin long not null, Feld char(25) not null, Wert "
      "char(150) not null, primary key(Disziplin,Feld))"));
}

void LoadStoredReport(db::Connection& db, int discipline, ReportValues& values) {
  const db::Recordset rows = db.query(
      QStringLiteral("select Feld,Wert from XtblSRBericht where Disziplin=?"), {discipline});
  // A value longer than its column (written by another program) is cut to it.
  const std::map<QString, int> widths = db.textWidths(kTable);
  const auto width = widths.find(QStringLiteral("wert"));
  const qsizetype limit = width == widths.end() ? -1 : width->second;
  for (int i = 0; i < rows.count(); ++i) {
    const int index = ReportKeyIndex(rows.at(i, 0).toString().trimmed());
    if (index >= 0)
      values[static_cast<size_t>(index)] = rows.at(i, 1).toString().left(limit).trimmed();
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

ReportRace ReadReportRace(db::Connection& db, int discipline) {
  const db::Recordset rows = db.query(
      QStringLiteral("select bewerbsbezeichnung,bewerbsnummer from tblDisziplin where dtyp=?"),
      {discipline});
  if (rows.count() == 0) return {};
  return {rows.at(0, 0).toString(), rows.at(0, 1).toString().left(4).trimmed()};
}

}  // namespace kx
