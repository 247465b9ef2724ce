#include "admin/bibtakeover.h"

#include "common/appstate.h"
#include "db/database.h"

namespace kx {

namespace {

// The column code of a discipline is one of the program's own two-letter codes, never
// typed text; anything else would be no column of the file.
bool IsColumnCode(const QString& code) {
  static const QStringList codes{"dh", "sg", "gs", "sl", "ks", "ps"};
  return codes.contains(code);
}

}  // namespace

bool DisciplineHasBibs(db::Connection& db, const QString& code) {
  if (!IsColumnCode(code)) return false;
  return db.scalar(QStringLiteral("select count(*) as vorhanden from tblTeilnehmer where %1aktiv "
                                  "= true and startnr%1 is not null")
                       .arg(code))
             .toInt() > 0;
}

std::vector<BibSource> BibSourceDisciplines(db::Connection& db, const AppState& state,
                                            bool& anyRow) {
  std::vector<BibSource> sources;
  const db::Recordset rows = db.query(QStringLiteral(
      "select d.aktiv,t.dtyp,t.dname from tblDisziplin d, tblDisziplinTypen t where d.dtyp = "
      "t.dtyp"));
  anyRow = !rows.empty();
  for (int i = 0; i < rows.count(); ++i) {
    const int dtyp = rows.at(i, "dtyp").toInt();
    if (!rows.at(i, "aktiv").toBool() || dtyp == state.CurrentDisciplineType) continue;
    if (dtyp < 0 || dtyp >= static_cast<int>(state.DisciplineCodeByName.size())) continue;
    const QString code = state.DisciplineCodeByName[static_cast<size_t>(dtyp)];
    if (!DisciplineHasBibs(db, code)) continue;
    sources.push_back({state.DisciplineListTitles[static_cast<size_t>(dtyp)], code});
  }
  return sources;
}

int CopyBibs(db::Connection& db, const QString& currentCode, const QString& sourceCode) {
  if (!IsColumnCode(currentCode) || !IsColumnCode(sourceCode)) return 0;
  db::Transaction transaction = db.transaction();
  const int written = db.execute(
      QStringLiteral("update tblTeilnehmer set startnr%1 = startnr%2 where %1aktiv = true and "
                     "%2aktiv = true and startnr%2 is not null")
          .arg(currentCode, sourceCode));
  transaction.commit();
  return written;
}

}  // namespace kx
