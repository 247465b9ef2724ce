#include "refereereport/reportprefill.h"

#include "db/database.h"
#include "db/storedtime.h"

namespace kx {

namespace {

QString& At(ReportValues& values, int index) {
  return values[static_cast<size_t>(index)];
}

// The list header rules: header id, and the field it fills.
struct HeaderRule {
  int id;
  const char* key;
};
constexpr HeaderRule kHeaderRules[] = {
    {2, "Organisator"},
    {3, "Schiedsrichter"},
    {4, "Schiedsrichter_V"},
    {5, "Rennleiter"},
    {6, "Rennleiter_V"},
    {7, "Trainervertreter"},
    {8, "Trainervertreter_V"},
    {0, nullptr},
    {1, nullptr},
    {15, "Rennstrecke"},
    {44, "Streckenzustand"},
    {21, "DG1_Kurssetzer"},
    {32, "DG2_Kurssetzer"},
    {19, "DG1_Streckenlaenge"},
    {19, "DG2_Streckenlaenge"},
    {18, "DG1_Hoehendifferenz"},
    {18, "DG2_Hoehendifferenz"},
    {29, "DG1_Tore"},
    {30, "DG1_Richtaend"},
    {40, "DG2_Tore"},
    {41, "DG2_Richtaend"},
    {43, "Witterung"},
    {0, "Zeitnehmer_Name"},
    {3, "Schiedsrichter_Name"},
};

void ApplyHeader(int id, const QString& value, ReportValues& values) {
  for (const HeaderRule& rule : kHeaderRules) {
    if (rule.id != id) continue;
    if (rule.key) {
      At(values, ReportKeyIndex(QString::fromLatin1(rule.key))) = value;
    } else if (id == 0) {
      // "Name, Verein": the timekeeper and his club.
      const qsizetype comma = value.indexOf(QLatin1Char(','));
      if (comma >= 0) {
        At(values, ReportKeyIndex(QStringLiteral("EDVKR"))) = value.left(comma).trimmed();
        At(values, ReportKeyIndex(QStringLiteral("EDVKR_V"))) = value.mid(comma + 1).trimmed();
      } else {
        At(values, ReportKeyIndex(QStringLiteral("EDVKR"))) = value;
      }
    } else {
      At(values, kZeitmessgeraet) = value.trimmed();
    }
  }
}

// The best time of `sql` (hundredths; Null or 0 for none) as the report writes it.
void BestTime(db::Connection& db, const QString& sql, const QVariantList& params, QString& field) {
  const db::Field best = db.scalar(sql, params);
  if (best.isNull() || best.toDouble() == 0) return;
  field = ShortenReportTime(FormatReportTime(best.toDouble() / db::kHundredthsPerDay));
}

}  // namespace

void PrefillRefereeReport(db::Connection& db, const ReportDiscipline& discipline,
                          ReportValues& values) {
  const int d = discipline.type;
  At(values, kDisziplin) =
      discipline.code == QLatin1String("gs") ? QStringLiteral("RS") : discipline.code.toUpper();

  QString venue;
  if (const db::Recordset bewerb = db.query(QStringLiteral("select ort from tblBewerb"));
      !bewerb.empty()) {
    venue = bewerb.at(0, 0).toString();
  }

  const db::Recordset row = db.query(
      QStringLiteral(
          "select bewerbsnummer,bewerbsbezeichnung,datum_rangliste from tblDisziplin where dtyp=?"),
      {d});
  for (int i = 0; i < row.count(); ++i) {
    if (!row.at(i, 2).isNull()) At(values, kDatum) = row.at(i, 2).toString();
    if (!row.at(i, 1).isNull()) {
      const QString title = row.at(i, 1).toString();
      const qsizetype lineBreak = title.indexOf(QLatin1String("\r\n"));
      At(values, kVeranstaltung) = lineBreak < 0 ? title : title.left(lineBreak);
    }
    if (!row.at(i, 0).isNull()) At(values, kRennNr) = row.at(i, 0).toString();
  }

  const db::Recordset headers =
      db.query(QStringLiteral("select id,value from tblListenkopf where Disziplin=?"), {d});
  for (int i = 0; i < headers.count(); ++i) {
    if (headers.at(i, 1).isNull()) continue;
    ApplyHeader(headers.at(i, 0).toInt(), headers.at(i, 1).toString(), values);
  }

  if (!venue.isEmpty()) {
    QString& course = At(values, kRennstrecke);
    course = course.isEmpty() ? venue : venue + QStringLiteral(", ") + course;
  }

  // The first start of the valid results; a stored value that is no time of day is none.
  const db::Recordset starts =
      db.query(QStringLiteral("select start from tblzeit where Disziplin=? and ergcode=0"), {d});
  std::optional<double> first;
  for (int i = 0; i < starts.count(); ++i) {
    const std::optional<double> start = db::StoredDayTime(starts.at(i, 0));
    if (start && (!first || *start < *first)) first = start;
  }
  if (first && *first != 0) {
    const double start = *first;
    At(values, kEinschaltzeit) = FormatReportTime(start - 1.0 / 24).left(4) + QLatin1Char('0');
    At(values, kSynchronzeit) = FormatReportTime(start - 1.0 / 48).left(4) + QLatin1Char('0');
    At(values, kStartersterLaeufer) = FormatReportTime(start).left(5);
  }

  static const QStringList codes{"dh", "sg", "gs", "sl", "ks", "ps"};
  if (codes.contains(discipline.code)) {
    At(values, kAnzTeilnehmer) = QString::number(
        db.scalar(QStringLiteral("select count(*) from tblTeilnehmer where %1aktiv = true and "
                                 "startnr%1 is not null")
                      .arg(discipline.code))
            .toLongLong());
  }
  At(values, kAnzNichtamStartDG1) = QString::number(
      db.scalar(QStringLiteral(
                    "select count(*) from tblzeit where Disziplin=? and durchgang=1 and ergcode=1"),
                {d})
          .toLongLong());
  At(values, kAnzKlassifizierte) = QString::number(
      db.scalar(QStringLiteral(
                    "select count(*) from tblzeit where Disziplin=? and durchgang=? and ergcode=0"),
                {d, discipline.runCount})
          .toLongLong());

  BestTime(db,
           QStringLiteral("select min(laufzeit(netto)) from tblzeit where Disziplin=? and "
                          "durchgang=1 and "
                          "ergcode=0 and teilnehmer in (select teilnehmer from tblzeit where "
                          "Disziplin=? and durchgang=? and ergcode=0)"),
           {d, d, discipline.runCount}, At(values, kDG1Bestzeit));
  BestTime(db,
           QStringLiteral(
               "select min(laufzeit(netto)) from tblzeit where Disziplin=? and durchgang=2 and "
               "ergcode=0"),
           {d}, At(values, kDG2Bestzeit));
}

}  // namespace kx
