#include "results/participantdata.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "common/resultcodes.h"
#include "common/safefile.h"
#include "common/textroutines.h"
#include "common/timetext.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/documentoutput.h"
#include "results/teamranking.h"

#include <QStringEncoder>

namespace kx {

namespace {

const QString kWord = QStringLiteral("Teilnehmerdaten");

QString RunTime(double hundredths) {
  return FormatRunTime(static_cast<double>(RoundHalfEven(hundredths)), RunTimeForm::AlwaysMinutes);
}

}  // namespace

ResultLine WriteParticipantData(AppState& state, const ParticipantDataOptions& options) {
  UserInterface& ui = *state.Ui;
  QStringList columns, sum, filter, heads;
  const QString kind = options.racePoints ? QStringLiteral("Pkte-") : QStringLiteral("Zeit-");
  for (size_t k = 0; k < options.selected.size(); ++k) {
    if (!options.selected[k]) continue;
    const QString column = QStringLiteral("rpkte") + state.DisciplineCodes[k];
    columns << column;
    sum << column;
    filter << QStringLiteral("and ") + column + QStringLiteral("<9999 ");
    heads << kind + state.DisciplineCodes[k].toUpper();
  }
  if (columns.size() < 2) {
    ui.message(QStringLiteral("Bitte mindestens 2 Disziplinen auswählen"));
    return ResultLine{};
  }

  QString title = state.currentListTitle();
  title.replace(QLatin1Char('/'), QLatin1Char('_'));
  const QString file = ui.saveFileName(
      {QStringLiteral("Datei auswählen"), state.CompetitionDir, QStringLiteral("TXT-Dateien|*.txt"),
       state.CompetitionFileName + QStringLiteral("-Daten-") + title + QStringLiteral(".txt")});
  if (file.isEmpty()) return ResultLine::cancelled(kWord + QStringLiteral(" nicht gespeichert"));
  if (const QString refusal =
          WriteCheckRefusal(file, QStringLiteral("ist vermutlich durch anderen Prozess belegt"));
      !refusal.isEmpty()) {
    ui.message(refusal);
    return ResultLine{};
  }

  db::Recordset rs;
  try {
    if (options.racePoints) {
      if (!ComputeRacePoints(state, options.selected, options.method, options.division))
        return ResultLine{};
    } else {
      StoreRunTimes(state, options.selected);
    }
    rs = state.db().query(QStringLiteral("select ") + columns.join(QLatin1Char(',')) +
                          QStringLiteral(",(") + sum.join(QLatin1Char('+')) +
                          QStringLiteral(")*100 as total,t.id,t.vorname,t.nachname,t.sex,"
                                         "t.verein,t.jahrgang,k.klname from tblTeilnehmer t,"
                                         "tblKlasse k where t.klasse=k.id ") +
                          filter.join(QString()) + QStringLiteral("order by 1,t.id"));
  } catch (const db::Error& e) {
    ui.message(QStringLiteral("Die Teilnehmerdaten können nicht berechnet werden; die "
                              "Bewerbsdatei bleibt unverändert.\n") +
                   DatabaseErrorText(e),
               MsgIcon::Critical);
    return ResultLine{};
  }
  WarnUnknownCodes(state, kWord, options.selected, options.racePoints);
  if (rs.empty()) {
    ReportNoData(ui);
    return ResultLine{};
  }

  const QChar tab = QLatin1Char('\t');
  const QString crlf = QStringLiteral("\r\n");
  QString text =
      QStringList({QStringLiteral("Idnr"), QStringLiteral("Name"), QStringLiteral("Kateg"),
                   QStringLiteral("JG"), QStringLiteral("Verein")})
          .join(tab);
  for (const QString& head : heads) text += tab + head;
  text += tab + (options.racePoints ? QStringLiteral("RennPkte") : QStringLiteral("Total")) + tab +
          QStringLiteral("Klasse") + crlf;
  const int n = static_cast<int>(columns.size());
  for (int i = 0; i < rs.count(); ++i) {
    QStringList fields{
        rs.at(i, n + 1).toString(),
        rs.at(i, n + 3).toString() + QStringLiteral(", ") + rs.at(i, n + 2).toString(),
        rs.at(i, n + 4).toString(), rs.at(i, n + 6).toString(), rs.at(i, n + 5).toString()};
    for (int c = 0; c < n; ++c) {
      const double value = rs.at(i, c).toDouble();
      fields << (options.racePoints ? DecimalText(value) : RunTime(value * 100));
    }
    const double total = rs.at(i, n).toDouble();
    fields << (options.racePoints ? DecimalText(total / 100) : RunTime(total));
    fields << rs.at(i, n + 7).toString();
    text += fields.join(tab) + crlf;
  }

  QStringEncoder encoder("windows-1252");
  const QByteArray bytes = encoder.isValid() ? encoder.encode(text) : text.toLatin1();
  if (const QString failure = WriteWholeFile(file, bytes); !failure.isEmpty()) {
    ui.message(failure, MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return ResultLine{};
  }
  return ResultLine::saved(kWord + QStringLiteral(" gespeichert unter: ") + file);
}

}  // namespace kx
