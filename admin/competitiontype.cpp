#include "admin/competitiontype.h"

#include "db/database.h"

#include <vector>

namespace kx {

const QStringList kCompetitionTypes{QStringLiteral("FIS Damen"),
                                    QStringLiteral("FIS Herren"),
                                    QStringLiteral("KSF allgemein (Punkte)"),
                                    QStringLiteral("KSF allgemein (nicht-Punkte)"),
                                    QStringLiteral("KSF Schüler (Punkte)"),
                                    QStringLiteral("KSF Schüler (nicht-Punkte)"),
                                    QStringLiteral("Bester Durchgang (Punkte)"),
                                    QStringLiteral("Bester Durchgang (nicht-Punkte)"),
                                    QStringLiteral("Vereinsintern"),
                                    QStringLiteral("Parallel"),
                                    QStringLiteral("Rodeln (Punkte)"),
                                    QStringLiteral("Rodeln (nicht-Punkte)"),
                                    QStringLiteral("Vereinsintern (bester DG) (ab Vers. 5)")};

namespace {

bool IsAdult(int type) {
  return type == 2 || type == 3;
}
bool IsYouth(int type) {
  return type >= 4 && type <= 7;
}

}  // namespace

RaceNumberLetters RaceNumberRewrite(int oldType, int newType) {
  if (IsAdult(newType) && !IsAdult(oldType)) return RaceNumberLetters::Adult;
  if (IsYouth(newType) && !IsYouth(oldType)) return RaceNumberLetters::Youth;
  return RaceNumberLetters::Keep;
}

QString RewrittenRaceNumber(const std::optional<QString>& old, RaceNumberLetters letters,
                            int dtyp) {
  const bool adult = letters == RaceNumberLetters::Adult;
  const QChar women = adult ? QLatin1Char('D') : QLatin1Char('M');
  const QChar men = adult ? QLatin1Char('H') : QLatin1Char('B');
  if (!old || old->isEmpty()) {
    const QChar discipline = dtyp <= 2 ? QLatin1Char('R') : QLatin1Char('S');
    return QStringLiteral("    ") + women + discipline + men + discipline;
  }
  return old->left(4) + women + old->mid(5, 1) + men + old->mid(7, 1);
}

void SaveCompetitionType(db::Connection& db, int oldType, int newType) {
  db::Transaction transaction = db.transaction();
  const RaceNumberLetters letters = RaceNumberRewrite(oldType, newType);
  if (letters != RaceNumberLetters::Keep) {
    const db::Recordset rows =
        db.query(QStringLiteral("select dtyp,bewerbsnummer from tblDisziplin"));
    for (int i = 0; i < rows.count(); ++i) {
      const db::Field& number = rows.at(i, 1);
      const int dtyp = rows.at(i, 0).toInt();
      const std::optional<QString> old =
          number.isNull() ? std::nullopt : std::optional<QString>(number.toString());
      db.execute(QStringLiteral("update tblDisziplin set bewerbsnummer=? where dtyp=?"),
                 {RewrittenRaceNumber(old, letters, dtyp), dtyp});
    }
  }
  db.execute(QStringLiteral("update tblBewerb set typ=?"), {newType});
  transaction.commit();
}

}  // namespace kx
