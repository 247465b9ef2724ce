#include "livetiming/livefiles.h"

#include "common/appstate.h"
#include "common/sharedtables.h"
#include "common/textroutines.h"
#include "db/database.h"
#include "db/storedtime.h"

#include <cmath>

namespace kx {

namespace {

constexpr QChar kFieldSep = u'|';
constexpr QChar kRecordEnd = u'\u00B0';  // "°"

// The rows of one grouping table, as records "<entry>|key|name|sortpos°".
void AppendGroupingRows(QString& out, db::Connection& connection, const QString& entry,
                        const QString& sql) {
  const db::Recordset rs = connection.query(sql);
  for (int row = 0; row < rs.count(); ++row) {
    out.append(entry).append(kFieldSep);
    out.append(rs.at(row, 0).toString()).append(kFieldSep);
    out.append(rs.at(row, 1).toString()).append(kFieldSep);
    out.append(rs.at(row, 2).toString()).append(kRecordEnd);
  }
}

}  // namespace

QString BewerbFileContent(int runCount, int typ, const QString& grouping, const QString& organizer,
                          const QString& webInfo) {
  const bool best = typ == 6 || typ == 7 || typ == 12;
  return QString::number(runCount) + kFieldSep +
         (best ? QStringLiteral("best") : QStringLiteral("add")) + kFieldSep + grouping +
         kFieldSep + organizer + kFieldSep + webInfo;
}

QString KlassenFileContent(db::Connection& connection, const QStringList& groupingEntries) {
  QString out;
  for (const QString& entry : groupingEntries) {
    if (entry == u"Klasse") {
      AppendGroupingRows(
          out, connection, entry,
          QStringLiteral("select id,klname,sortpos from tblKlasse order by sortpos"));
    } else if (entry == u"Gruppe") {
      AppendGroupingRows(
          out, connection, entry,
          QStringLiteral("select id,grpname,sortpos from tblGruppe order by sortpos"));
    } else if (entry == u"Kategorie") {
      AppendGroupingRows(
          out, connection, entry,
          QStringLiteral("select kat,kname,sortpos from tblKategorie order by sortpos"));
    }
  }
  return out;
}

bool GroupingUsesClasses(const QStringList& groupingEntries) {
  return groupingEntries.contains(QStringLiteral("Klasse")) ||
         groupingEntries.contains(QStringLiteral("Gruppe"));
}

QString TeilnehmerFileContent(const AppState& state, bool withClasses) {
  const QString& c = state.CurrentDisciplineCode;
  const bool svidClass = state.FileVersionClass >= QLatin1String("51");
  const QString s = svidClass ? QStringLiteral("t.svid,") : QString();
  QString sql;
  if (withClasses) {
    sql = QStringLiteral("select t.id,t.startnr") + c + QStringLiteral(" as startnr,") + s +
          QStringLiteral("t.code,t.nachname,t.vorname,t.jahrgang,t.nation,t.pkte") + c +
          QStringLiteral(
              " as punkte,t.verein,k.geschlecht as kategorie,k.gruppe as gruppe,k.id as klasse "
              "from tblTeilnehmer t,tblKlasse k where ") +
          c + QStringLiteral("aktiv = true and t.klasse=k.id");
  } else {
    sql = QStringLiteral("select id,startnr") + c + QStringLiteral(" as startnr,") + s +
          QStringLiteral("code,nachname,vorname,jahrgang,nation,pkte") + c +
          QStringLiteral(
              " as punkte,verein,sex as kategorie,'' as gruppe,'' as klasse "
              "from tblTeilnehmer t where ") +
          c + QStringLiteral("aktiv = true");
  }
  const db::Recordset rs = state.db().query(sql);

  const CompetitionSettings& settings = state.Settings;
  const bool codeShown = CompetitionSettings::on(settings.code_aktiv);
  const bool jahrgangShown = CompetitionSettings::on(settings.jahrgang_aktiv);
  const bool nationShown = CompetitionSettings::on(settings.nation_aktiv);
  const bool vereinShown = CompetitionSettings::on(settings.verein_aktiv);
  const bool points = CompetitionSettings::on(settings.punktewertung);
  const int svid = svidClass ? rs.columnIndex(QStringLiteral("svid")) : -1;

  QString out;
  for (int row = 0; row < rs.count(); ++row) {
    auto field = [&](const char* name) -> const db::Field& {
      return rs.at(row, QLatin1String(name));
    };
    QString code;
    if (codeShown) {
      code = field("code").toString();
      if (svid >= 0) {
        const QString federationId = rs.at(row, svid).toString();
        if (!federationId.isEmpty()) code = federationId;
      }
    }
    out.append(field("kategorie").toString()).append(kFieldSep);
    out.append(field("gruppe").toString()).append(kFieldSep);
    out.append(field("klasse").toString()).append(kFieldSep);
    out.append(field("id").toString()).append(kFieldSep);
    out.append(field("startnr").toString()).append(kFieldSep);
    out.append(code).append(kFieldSep);
    out.append(field("nachname").toString())
        .append(u' ')
        .append(field("vorname").toString())
        .append(kFieldSep);
    if (jahrgangShown) out.append(field("jahrgang").toString());
    out.append(kFieldSep);
    if (nationShown) out.append(field("nation").toString());
    out.append(kFieldSep);
    if (vereinShown) out.append(field("verein").toString());
    out.append(kFieldSep);
    const db::Field& punkte = field("punkte");
    // The service reads a decimal comma, whatever the machine's locale.
    if (points && !punkte.isNull()) out.append(DecimalText(punkte.toDouble(), 2, u","));
    out.append(kRecordEnd);
  }
  return out;
}

QString StaliFileContent(int run, const StartOrderTable& table) {
  const std::vector<int> order = table.order();
  if (order.empty()) return QString();
  QString out = QString::number(run) + u'!';
  for (int index : order) out.append(QString::number(table[index].id)).append(kRecordEnd);
  return out;
}

namespace {

void AppendRunTime(QString& out, double netto) {
  const qint64 hundredths = std::llround(netto * 8640000.0);
  AppendPadded(out, hundredths / 360000, 2);
  AppendPadded(out, hundredths / 6000 % 60, 2);
  AppendPadded(out, hundredths / 100 % 60, 2);
  out.append(u',');
  AppendPadded(out, hundredths % 100, 2);
}

}  // namespace

QString LiveRunTime(double netto) {
  QString out;
  AppendRunTime(out, netto);
  return out;
}

QString TimesFileContent(db::Connection& connection, int disziplin, int run, int nowSeconds) {
  // A row without a result code, or with one that is none of 0 to 3 as stored (99, 0.4, a
  // text), has no result to tell: the lists leave it out too.
  const db::Recordset rs = connection.query(
      QStringLiteral("select teilnehmer,ergcode,start,netto,disqualtext "
                     "from tblZeit where Disziplin=") +
      QString::number(disziplin) + QStringLiteral(" and durchgang=") + QString::number(run) +
      QStringLiteral(" and ergcode in (0,1,2,3) order by teilnehmer"));
  static const QString kOnCourse = QStringLiteral("9000000,01");
  static const QString kNoTime = QStringLiteral("999999,99");
  QString out;
  out.reserve(rs.count() * 16);
  for (int row = 0; row < rs.count(); ++row) {
    const qint64 code = rs.at(row, 1).toLongLong();
    if (code == 0) {
      // A valid result needs a run time.
      const std::optional<double> netto = db::StoredRunTime(rs.at(row, 3));
      if (!netto || *netto < 0) continue;
      AppendPadded(out, rs.at(row, 0).toLongLong(), 3);
      out.append(u'0');
      AppendRunTime(out, *netto);
      out.append(kRecordEnd);
      continue;
    }
    bool onCourse = false;
    if (code == 2) {
      // A start that is no time of day puts nobody on the course.
      if (const std::optional<double> start = db::StoredDayTime(rs.at(row, 2))) {
        const double elapsed = nowSeconds - *start * 86400.0;
        onCourse = elapsed > 0 && elapsed < 120;
      }
    }
    AppendPadded(out, rs.at(row, 0).toLongLong(), 3);
    if (onCourse) {
      out.append(kOnCourse);
    } else {
      AppendPadded(out, code, 1);
      out.append(kNoTime);
      if (code == 3) out.append(rs.at(row, 4).toString());
    }
    out.append(kRecordEnd);
  }
  return out;
}

}  // namespace kx
