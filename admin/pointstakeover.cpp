#include "admin/pointstakeover.h"

#include "db/database.h"

#include <QHash>

#include <map>
#include <tuple>

namespace kx {

PointsListVersions ReadPointsListVersions(db::Connection& masterData) {
  PointsListVersions versions;
  const db::Recordset rows = masterData.query(
      QStringLiteral("select typ,version from tblListenVersion where typ=3 or typ=4"));
  for (int i = 0; i < rows.count(); ++i) {
    const int typ = rows.at(i, "typ").toInt();
    const db::Field& version = rows.at(i, "version");
    if (version.isNull()) {
      versions.refusal = typ == 3
                             ? QStringLiteral(
                                   "Es ist keine KSF-Punkteliste (Erwachsene) vorhanden!\nBitte "
                                   "zuerst mit dem Kandor eine KSF-Punkteliste (Erwachsene) "
                                   "importieren.")
                             : QStringLiteral(
                                   "Es ist keine KSF-Schülerpunkteliste vorhanden!\nBitte zuerst "
                                   "mit dem Kandor eine KSF-Schülerpunkteliste importieren.");
      return versions;
    }
    const QString text = version.toString().replace(QLatin1Char('/'), QStringLiteral(" vom "));
    (typ == 3 ? versions.adult : versions.youth) = text;
  }
  return versions;
}

namespace {

// The five texts and the year under which a participant is looked up in the list.
struct PersonKey {
  QString nachname, vorname, geschlecht, verein;
  qint64 jahrgang = 0;
};

// The database's German case-insensitive order, field by field.
struct PersonKeyLess {
  bool operator()(const PersonKey& a, const PersonKey& b) const {
    for (auto [x, y] : {std::pair{&a.nachname, &b.nachname}, std::pair{&a.vorname, &b.vorname},
                        std::pair{&a.geschlecht, &b.geschlecht}}) {
      if (const int c = db::CompareGerman(*x, *y); c != 0) return c < 0;
    }
    if (a.jahrgang != b.jahrgang) return a.jahrgang < b.jahrgang;
    return db::CompareGerman(a.verein, b.verein) < 0;
  }
};

struct ListEntry {
  double punkte = 0;
  db::Field ksfid;
};

}  // namespace

PointsTakeoverResult TakeOverPoints(db::Connection& competition, db::Connection& masterData,
                                    bool withSvid) {
  std::map<PersonKey, ListEntry, PersonKeyLess> list;
  {
    const db::Recordset rows = masterData.query(QStringLiteral(
        "select punkte,ksfid,nachname,vorname,geschlecht,jahrgang,verein from tblKSFPunkte"));
    for (int i = 0; i < rows.count(); ++i) {
      PersonKey key{rows.at(i, 2).toString(), rows.at(i, 3).toString(), rows.at(i, 4).toString(),
                    rows.at(i, 6).toString(), rows.at(i, 5).toLongLong()};
      if (rows.at(i, 0).isNull() || rows.at(i, 1).isNull()) continue;  // incomplete entry
      list.try_emplace(std::move(key), ListEntry{rows.at(i, 0).toDouble(), rows.at(i, 1)});
    }
  }

  PointsTakeoverResult result;
  const db::Recordset people = competition.query(
      withSvid
          ? QStringLiteral("select id,sex,nachname,vorname,jahrgang,verein,svid from tblTeilnehmer")
          : QStringLiteral("select id,sex,nachname,vorname,jahrgang,verein from tblTeilnehmer"));
  result.participants = people.count();

  // Who holds which federation id, kept up to date as ids are written.
  QHash<qint64, qint64> holder;
  if (withSvid) {
    for (int i = 0; i < people.count(); ++i) {
      if (!people.at(i, "svid").isNull()) {
        holder.insert(people.at(i, "svid").toLongLong(), people.at(i, "id").toLongLong());
      }
    }
  }

  db::Transaction transaction = competition.transaction();
  const QString pointsSql = QStringLiteral(
      "update tblTeilnehmer set pktedh=?,pktesg=?,pktegs=?,pktesl=?,pkteks=? where id=?");
  const QString svidSql = QStringLiteral(
      "update tblTeilnehmer set pktedh=?,pktesg=?,pktegs=?,pktesl=?,pkteks=?,svid=? where id=?");
  for (int i = 0; i < people.count(); ++i) {
    const auto text = [&](const char* column) { return people.at(i, column); };
    if (text("nachname").isNull() || text("vorname").isNull() || text("verein").isNull() ||
        text("jahrgang").isNull()) {
      continue;
    }
    const PersonKey key{text("nachname").toString(), text("vorname").toString(),
                        text("sex").toString(), text("verein").toString(),
                        text("jahrgang").toLongLong()};
    const auto found = list.find(key);
    if (found == list.end()) continue;
    const qint64 id = text("id").toLongLong();
    const double p = found->second.punkte;
    if (withSvid) {
      const qint64 svid = found->second.ksfid.toLongLong();
      const auto held = holder.constFind(svid);
      if (held != holder.constEnd() && *held != id) {
        result.conflicts << key.nachname + QLatin1Char(' ') + key.vorname;
        continue;
      }
      if (!text("svid").isNull()) holder.remove(text("svid").toLongLong());
      holder.insert(svid, id);
      competition.execute(svidSql, {p, p, p, p, p, svid, id});
    } else {
      competition.execute(pointsSql, {p, p, p, p, p, id});
    }
    ++result.updated;
  }
  transaction.commit();
  return result;
}

}  // namespace kx
