#include "common/resultcodes.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "db/database.h"

namespace kx {

int StoredResultCode(const db::Field& code) {
  if (code.isNull()) return 0;
  const int type = code.value().typeId();
  if (type == QMetaType::QString || type == QMetaType::QByteArray) return -1;
  const double value = code.value().toDouble();
  return (value == 0 || value == 1 || value == 2 || value == 3) ? static_cast<int>(value) : -1;
}

std::vector<UnknownCode> FindUnknownCodes(db::Connection& db, int dtyp, const QString& code,
                                          int run, bool enteredOnly, bool bestRun) {
  // Compared by the database, nothing converted: 3.0 is 3, while 3.5, 1e300 or a text equal
  // none of the four; Null is no code.
  QString sql = QStringLiteral(
                    "select t.id,t.startnr%1,t.nachname,t.vorname,z.durchgang,z.ergcode from "
                    "tblZeit z,tblTeilnehmer t where z.teilnehmer=t.id and z.disziplin=? and "
                    "not z.ergcode in (0,1,2,3) ")
                    .arg(code);
  QVariantList params{dtyp};
  if (run > 0) {
    sql += QStringLiteral("and z.durchgang=? ");
    params << run;
  }
  if (enteredOnly) sql += QStringLiteral("and t.") + code + QStringLiteral("aktiv = true ");
  if (bestRun) {
    sql += QStringLiteral(
        "and not exists (select 1 from tblZeit v where v.teilnehmer=z.teilnehmer and "
        "v.disziplin=z.disziplin and v.ergcode=0 and laufzeit(v.netto) is not null) ");
  }
  sql += QStringLiteral("order by 2,3,4,5");
  const db::Recordset rs = db.query(sql, params);
  std::vector<UnknownCode> found;
  for (int i = 0; i < rs.count(); ++i) {
    found.push_back({rs.at(i, 0).toInt(), rs.at(i, 1).toString(),
                     rs.at(i, 2).toString() + QLatin1Char(' ') + rs.at(i, 3).toString(), dtyp,
                     rs.at(i, 4).toInt(), rs.at(i, 5).toString()});
  }
  return found;
}

void ShowUnknownCodes(const AppState& state, const std::vector<UnknownCode>& found,
                      const QString& output) {
  if (found.empty()) return;
  constexpr size_t kShownLines = 10;
  QStringList lines{QStringLiteral("Folgende Teilnehmer haben einen unbekannten Ergebniscode und "
                                   "werden nicht ausgegeben (%1):")
                        .arg(output)};
  for (size_t i = 0; i < found.size() && i < kShownLines; ++i) {
    const UnknownCode& u = found[i];
    const bool named = u.discipline >= 0 && u.discipline < kDisciplineCount;
    lines << (u.bib.isEmpty() ? QString() : QStringLiteral("St-Nr ") + ShownText(u.bib, 10) + ' ') +
                 ShownText(u.name) + QStringLiteral(", ") +
                 (named ? state.DisciplineNames[static_cast<size_t>(u.discipline)] : QString()) +
                 QStringLiteral(", %1. Lauf, Code ").arg(u.run) + ShownText(u.code, 20);
  }
  if (found.size() > kShownLines)
    lines << QStringLiteral("… und %1 weitere").arg(found.size() - kShownLines);
  state.Ui->message(lines.join(QLatin1Char('\n')), MsgIcon::Exclamation, QStringLiteral("Achtung"));
}

void WarnUnknownCodes(const AppState& state, const QString& output, int run, bool bestRun) {
  ShowUnknownCodes(state,
                   FindUnknownCodes(state.db(), state.CurrentDisciplineType,
                                    state.CurrentDisciplineCode, run, true, bestRun),
                   output);
}

void WarnUnknownCodes(const AppState& state, const QString& output,
                      const std::array<bool, 6>& disciplines, bool enteredOnly) {
  std::vector<UnknownCode> found;
  for (int d = 0; d < 6; ++d) {
    if (!disciplines[static_cast<size_t>(d)]) continue;
    const std::vector<UnknownCode> more = FindUnknownCodes(
        state.db(), d, state.DisciplineCodes[static_cast<size_t>(d)], 0, enteredOnly);
    found.insert(found.end(), more.begin(), more.end());
  }
  ShowUnknownCodes(state, found, output);
}

}  // namespace kx
