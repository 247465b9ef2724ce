#include "certificates/certificaterows.h"

#include "common/textroutines.h"
#include "db/database.h"
#include "results/racedata.h"

#include <QLocale>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>

namespace kx {

void AppendNationFilter(SelectionFilter& filter, bool nationActive, int nationIndex,
                        const QString& nation) {
  if (!nationActive || nationIndex <= 0) return;
  filter.text += QStringLiteral("and t.nation=? ");
  filter.params.append(nation);
}

SelectionStatement SelectIndividualCertificates(int disciplineType, const QString& code,
                                                int grouping, int resultsCount, int typ,
                                                const SelectionFilter& filter) {
  const QString D = QString::number(disciplineType);
  const QString& C = code;
  const QString& F = filter.text;
  QString sql;
  if (resultsCount == 0) {
    const QString head =
        QStringLiteral("select 0 as zeit,0 as erg,t.vorname,t.nachname,t.verein,t.jahrgang,");
    switch (grouping) {
      case 0:
        sql = head + "'' as klasse from tblTeilnehmer t where t." + C + "aktiv = true " + F +
              "order by t.nachname,t.vorname";
        break;
      case 1:
        sql = head +
              "k.klname as klasse from tblTeilnehmer t,tblKlasse k where t.klasse=k.id and t." + C +
              "aktiv = true " + F + "order by k.sortpos,t.nachname,t.vorname";
        break;
      case 2:
        sql = head +
              "g.grpname as klasse from tblTeilnehmer t,tblKlasse k,tblGruppe g where "
              "t.klasse=k.id and k.gruppe=g.id and t." +
              C + "aktiv = true " + F + "order by g.sortpos,t.nachname,t.vorname";
        break;
      default:
        sql = head + "t.sex as klasse from tblTeilnehmer t where t." + C + "aktiv = true " + F +
              "order by t.sex desc,t.nachname,t.vorname";
    }
    return {sql, filter.params};
  }
  const bool best = typ == 6 || typ == 7 || typ == 12;
  // A stored time that is no run time gives no time (Null): in the sum for the whole racer.
  const QString head =
      best ? QStringLiteral("select min(laufzeit(z.netto)) as zeit,0 as erg,")
           : QStringLiteral("select laufzeitsumme(z.netto) as zeit,sum(z.ergcode) as erg,");
  const QString cols = QStringLiteral("z.teilnehmer,t.vorname,t.nachname,t.verein,t.jahrgang,");
  const QString ergBest = best ? QStringLiteral("z.ergcode=0 and ") : QString();
  const QString where =
      "where z.Disziplin=" + D + " and z.teilnehmer=t.id and " + kWithinDisciplineRuns + ' ';
  switch (grouping) {
    case 0:
      sql = head + cols + "'' as klasse from tblZeit z,tblTeilnehmer t " + where + " and " +
            ergBest + "t." + C + "aktiv = true " + F + "group by z.teilnehmer order by 1";
      break;
    case 1:
      sql = head + cols + "k.klname as klasse from tblZeit z,tblTeilnehmer t,tblKlasse k " + where +
            " and t.klasse=k.id and " + ergBest + "t." + C + "aktiv = true " + F +
            "group by z.teilnehmer "
            "order by k.sortpos,1";
      break;
    case 2:
      sql = head + cols +
            "g.grpname as klasse from tblZeit z,tblTeilnehmer t,tblKlasse k,tblGruppe g " + where +
            " and t.klasse=k.id and k.gruppe=g.id and " + ergBest + "t." + C + "aktiv = true " + F +
            "group by z.teilnehmer "
            "order by g.sortpos,1";
      break;
    default:
      sql = head + cols + "t.sex as klasse from tblZeit z,tblTeilnehmer t " + where + " and " +
            ergBest + "t." + C + "aktiv = true " + F +
            "group by z.teilnehmer "
            "order by t.sex desc,1";
  }
  return {sql, filter.params, disciplineType, code, best};
}

namespace {

void ReverseRows(std::vector<CertificateRow>& rows, size_t first) {
  std::reverse(rows.begin() + static_cast<std::ptrdiff_t>(first), rows.end());
}

}  // namespace

std::vector<CertificateRow> RankCertificateRows(const std::vector<SelectedRow>& rows,
                                                const RankingSettings& settings) {
  std::vector<CertificateRow> out;
  bool started = false;
  QString division;
  qint64 previousTime = 0;
  int count = 0;
  int place = 0;
  size_t first = 0;
  for (const SelectedRow& row : rows) {
    if (row.erg != 0) continue;
    const qint64 time = RoundHalfEven(row.zeit);
    if (!started || row.klasse != division) {
      if (settings.descending) ReverseRows(out, first);
      started = true;
      count = 1;
      place = 1;
      division = row.klasse;
      previousTime = time;
      first = out.size();
    } else {
      ++count;
      if (previousTime < time) {
        place = count;
        previousTime = time;
      }
    }
    if (static_cast<double>(place) > settings.rankLimit) continue;
    CertificateRow c;
    c.place = QString::number(place);
    c.vorname = row.vorname;
    c.nachname = row.nachname;
    c.verein = row.verein;
    c.division =
        settings.categoryWords ? CategoryWord(row.klasse, settings.raceNumber) : row.klasse;
    c.time = settings.combinationPoints ? HundredthsText(time) : CertificateTimeText(time);
    out.push_back(std::move(c));
  }
  if (settings.descending) ReverseRows(out, first);
  return out;
}

std::vector<CertificateRow> ReadCertificateRows(db::Connection& db,
                                                const SelectionStatement& statement,
                                                const RankingSettings& settings) {
  db::Recordset rs = db.query(statement.sql, statement.params);
  const int zeit = rs.columnIndex(QStringLiteral("zeit"));
  const int erg = rs.columnIndex(QStringLiteral("erg"));
  const int klasse = rs.columnIndex(QStringLiteral("klasse"));
  const int vorname = rs.columnIndex(QStringLiteral("vorname"));
  const int nachname = rs.columnIndex(QStringLiteral("nachname"));
  const int verein = rs.columnIndex(QStringLiteral("verein"));
  const bool total = statement.totalOf >= 0;
  const int id = total ? rs.columnIndex(QStringLiteral("teilnehmer")) : -1;
  const std::unordered_set<int> withTotal =
      total ? FinishedRacers(db, statement.totalOf, statement.code, statement.bestRun)
            : std::unordered_set<int>();
  std::vector<SelectedRow> rows;
  rows.reserve(static_cast<size_t>(rs.count()));
  for (int r = 0; r < rs.count(); ++r) {
    // A participant without a run time, or still without a run, has no place.
    if (rs.at(r, zeit).isNull()) continue;
    if (total && !withTotal.contains(rs.at(r, id).toInt())) continue;
    SelectedRow s;
    s.zeit = rs.at(r, zeit).toDouble();
    s.erg = rs.at(r, erg).toInt();
    s.klasse = rs.at(r, klasse).toString();
    s.vorname = rs.at(r, vorname).toString();
    s.nachname = rs.at(r, nachname).toString();
    s.verein = rs.at(r, verein).toString();
    rows.push_back(std::move(s));
  }
  return RankCertificateRows(rows, settings);
}

QString CategoryWord(const QString& code, const QString& raceNumber) {
  if (code == QLatin1String("W")) {
    return raceNumber.contains(QLatin1Char('M')) ? QStringLiteral("Mädchen")
                                                 : QStringLiteral("Damen");
  }
  return raceNumber.contains(QLatin1Char('B')) ? QStringLiteral("Buben") : QStringLiteral("Herren");
}

namespace {

// r hundredths as seconds with two decimals and at least `digits` integer digits.
QString Seconds(qint64 hundredths, int digits) {
  QString text = DecimalText(static_cast<double>(hundredths) / 100.0);
  while (text.size() - 3 < digits) text.prepend(QLatin1Char('0'));
  return text;
}

qint64 WholeMinutes(qint64 hundredths) {
  return static_cast<qint64>(std::floor(static_cast<double>(hundredths) / 6000.0));
}

}  // namespace

QString CertificateTimeText(qint64 hundredths) {
  const qint64 m = WholeMinutes(hundredths);
  return QString::number(m) + QLatin1Char(':') + Seconds(hundredths - 6000 * m, 2);
}

QString HundredthsText(qint64 hundredths) {
  return Seconds(hundredths, 1);
}

QString TeamTimeText(qint64 hundredths) {
  const qint64 m = WholeMinutes(hundredths);
  if (m > 0) return QString::number(m) + QLatin1Char(':') + Seconds(hundredths - 6000 * m, 2);
  return Seconds(hundredths, 1);
}

void SortByClub(std::vector<CertificateRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const CertificateRow& a, const CertificateRow& b) {
    return (a.verein + a.nachname + a.vorname) < (b.verein + b.nachname + b.vorname);
  });
}

const std::array<QString, 12> kCertificatePlaceholders{
    QStringLiteral("<Platz>"),        QStringLiteral("<Vorname>"),
    QStringLiteral("<Nachname>"),     QStringLiteral("<Verein>"),
    QStringLiteral("<Klasse>"),       QStringLiteral("<Zeit>"),
    QStringLiteral("<Disziplin>"),    QStringLiteral("<Bewerbsdatum>"),
    QStringLiteral("<Vorname Name>"), QStringLiteral("<Datum>"),
    QStringLiteral("<Mannschaft>"),   QStringLiteral("<MS-Teilnehmer>")};

QString ReplacePlaceholders(const QString& text, const PlaceholderValues& values) {
  if (!text.contains(QLatin1Char('<'))) return text;
  QString out;
  out.reserve(text.size() + 32);
  qsizetype i = 0;
  while (i < text.size()) {
    bool replaced = false;
    if (text[i] == QLatin1Char('<')) {
      for (size_t k = 0; k < kCertificatePlaceholders.size(); ++k) {
        const QString& p = kCertificatePlaceholders[k];
        if (QStringView(text).mid(i).startsWith(p)) {
          out += values[k];
          i += p.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

PlaceholderValues IndividualValues(const CertificateRow& row, const RunValues& run) {
  PlaceholderValues v;
  v[0] = row.place;
  v[1] = row.vorname;
  v[2] = row.nachname;
  v[3] = row.verein == QLatin1String("---") ? QString() : CapitalizeClubName(row.verein);
  v[4] = row.division;
  v[5] = row.time;
  v[6] = run.discipline;
  v[7] = run.eventDate;
  v[8] = row.vorname + QLatin1Char(' ') + row.nachname;
  v[9] = run.today.toString(QStringLiteral("dd.MM.yyyy"));
  v[10] = row.vorname;
  v[11] = row.nachname;
  return v;
}

QString CombinationDateText(const QStringList& dates) {
  QString first, last;
  for (const QString& date : dates) {
    if (date.size() < 10) continue;
    const QString key = date.mid(6, 4) + date.mid(3, 2) + date.left(2);
    if (first.isEmpty() || key < first) first = key;
    if (last.isEmpty() || key > last) last = key;
  }
  if (first.isEmpty()) return {};
  auto full = [](const QString& k) { return k.mid(6, 2) + "." + k.mid(4, 2) + "." + k.left(4); };
  if (first.left(4) != last.left(4)) return full(first) + "-" + full(last);
  if (first.mid(4, 2) != last.mid(4, 2)) {
    return first.mid(6, 2) + "." + first.mid(4, 2) + ".-" + full(last);
  }
  if (first != last) return first.mid(6, 2) + ".-" + full(last);
  return full(last);
}

std::vector<TeamCertificate> TeamCertificates(const std::vector<TeamEntry>& teams, double rankLimit,
                                              bool descending) {
  std::vector<TeamCertificate> out;
  size_t i = 0;
  while (i < teams.size()) {
    size_t end = i;
    while (end < teams.size() && teams[end].groupId == teams[i].groupId) ++end;
    if (descending) {
      // The first m teams of the group, m = R rounded up, at least 1.
      size_t m = 1;
      while (i + m < end && rankLimit > static_cast<double>(m)) ++m;
      for (size_t k = m; k > 0; --k) out.push_back({static_cast<int>(k), &teams[i + k - 1]});
    } else {
      for (size_t k = i; k < end; ++k) {
        const int place = static_cast<int>(k - i + 1);
        if (static_cast<double>(place) <= rankLimit) out.push_back({place, &teams[k]});
      }
    }
    i = end;
  }
  return out;
}

QString TeamLabel(const TeamEntry& team) {
  return team.groupId > 0 ? team.groupName + QStringLiteral(" / ") + team.teamName : team.teamName;
}

std::optional<double> ParsePanelNumber(const QString& text) {
  bool ok = false;
  double value = QLocale(QLocale::German, QLocale::Germany).toDouble(text.trimmed(), &ok);
  if (!ok) value = text.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

QByteArray ExportListBytes(const std::vector<CertificateRow>& rows) {
  QString text = QStringLiteral("Seite\tPlatz\tVorname\tNachname\tVerein\tKlasse\r\n");
  int page = 0;
  for (const CertificateRow& r : rows) {
    text += QString::number(++page) + '\t' + r.place + '\t' + r.vorname + '\t' + r.nachname + '\t' +
            r.verein + '\t' + r.division + QStringLiteral("\r\n");
  }
  QStringEncoder encoder("windows-1252");
  return encoder.isValid() ? QByteArray(encoder.encode(text)) : text.toLatin1();
}

QString ExportListPath(const QString& pdfPath) {
  if (pdfPath.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
    return pdfPath.left(pdfPath.size() - 4) + QStringLiteral(".txt");
  }
  return pdfPath + QStringLiteral(".txt");
}

}  // namespace kx
