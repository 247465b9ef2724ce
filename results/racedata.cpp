#include "results/racedata.h"

#include "common/resultcodes.h"
#include "db/database.h"
#include "db/storedtime.h"

#include <algorithm>

namespace kx {

namespace {

std::optional<QString> OptText(const db::Field& f) {
  if (f.isNull()) return std::nullopt;
  return f.toString();
}
std::optional<int> OptInt(const db::Field& f) {
  if (f.isNull()) return std::nullopt;
  return f.toInt();
}

using db::kHundredthsPerDay;

// A stored time of day in hundredths; nothing where the value is no time of day.
std::optional<double> DayTimeHundredths(const db::Field& f) {
  const std::optional<double> day = db::StoredDayTime(f);
  if (!day) return std::nullopt;
  return *day * kHundredthsPerDay;
}

}  // namespace

const RunRecord* Racer::record(int run) const {
  for (const RunRecord& r : runs) {
    if (r.run == run) return &r;
  }
  return nullptr;
}

QString Racer::idText() const {
  if (svid) return QString::number(*svid);
  if (code && !code->isEmpty()) return *code;
  return QString();
}

QString Racer::shortYear() const {
  return jahrgang ? QString::number(*jahrgang).mid(2, 2) : QString();
}

const ClassRow* RaceData::classOf(const Racer& r) const {
  if (!r.klasse) return nullptr;
  const auto it = classes.find(*r.klasse);
  return it == classes.end() ? nullptr : &it->second;
}

const NamedRow* RaceData::groupOf(const Racer& r) const {
  const ClassRow* k = classOf(r);
  if (!k || !k->gruppe) return nullptr;
  const auto it = groups.find(*k->gruppe);
  return it == groups.end() ? nullptr : &it->second;
}

bool RaceData::anyClass() const {
  return std::any_of(racers.begin(), racers.end(),
                     [this](const Racer& r) { return classOf(r) != nullptr; });
}

namespace {

bool FailedBefore(const Racer& r, int run) {
  return std::any_of(r.runs.begin(), r.runs.end(),
                     [run](const RunRecord& rec) { return rec.run < run && rec.code > 0; });
}

// A record that stands for a result: a failure, or a valid run with its time.
bool Usable(const RunRecord* rec) {
  return rec && (rec->code != 0 || rec->netto.has_value());
}

}  // namespace

bool HasResult(const Racer& r, int run, bool totalList, bool sum) {
  if (sum) {
    for (int k = 1; k <= run; ++k) {
      if (FailedBefore(r, k)) return true;
      if (!Usable(r.record(k))) return false;
    }
    return true;
  }
  if (FailedBefore(r, run)) return true;
  if (!Usable(r.record(run))) return false;
  if (totalList) {
    for (const RunRecord& rec : r.runs) {
      if (rec.run <= run && !Usable(&rec)) return false;
    }
  }
  return true;
}

std::optional<double> FinishedResult(const Racer& r, bool bestRun, int runCount) {
  if (!HasResult(r, std::max(runCount, 1), true, !bestRun)) return std::nullopt;
  return CombinedResult(r, bestRun, std::max(runCount, 1));
}

int DisciplineRuns(db::Connection& db, int dtyp) {
  const db::Field runs =
      db.scalar(QStringLiteral("select durchgaenge from tblDisziplin where dtyp=?"), {dtyp});
  return runs.isNull() ? 1 : std::max(runs.toInt(), 1);
}

std::unordered_set<int> FinishedRacers(db::Connection& db, int dtyp, const QString& code,
                                       bool bestRun, bool enteredOnly) {
  const int runs = DisciplineRuns(db, dtyp);
  std::unordered_set<int> ids;
  for (const Racer& r : ReadRaceData(db, dtyp, code, enteredOnly).racers) {
    if (FinishedResult(r, bestRun, runs)) ids.insert(r.id);
  }
  return ids;
}

std::optional<double> CombinedResult(const Racer& r, bool bestRun, int runCount) {
  std::optional<double> result;
  for (const RunRecord& rec : r.runs) {
    if (rec.run > runCount) continue;
    const bool valid = rec.code == 0 && rec.netto.has_value();
    if (bestRun) {
      if (valid && (!result || *rec.netto < *result)) result = rec.netto;
    } else {
      if (!valid) return std::nullopt;
      result = result.value_or(0) + *rec.netto;
    }
  }
  return result;
}

RaceData ReadRaceData(db::Connection& db, int dtyp, const QString& code, bool enteredOnly) {
  RaceData data;
  const bool hasSvid = db.hasColumn(QStringLiteral("tblTeilnehmer"), QStringLiteral("svid"));
  QString sql = QStringLiteral("select id,startnr") + code +
                QStringLiteral(" as startnr,nachname,vorname,sex,verein,nation,code,jahrgang,") +
                (hasSvid ? QStringLiteral("svid") : QStringLiteral("null as svid")) +
                QStringLiteral(",klasse,mannschaft from tblTeilnehmer");
  if (enteredOnly) sql += QStringLiteral(" where ") + code + QStringLiteral("aktiv = true");
  sql += QStringLiteral(" order by id");
  const db::Recordset rs = db.query(sql);
  data.racers.reserve(static_cast<size_t>(rs.count()));
  std::unordered_map<int, size_t> byId;
  for (int i = 0; i < rs.count(); ++i) {
    Racer r;
    r.id = rs.at(i, 0).toInt();
    r.bib = OptInt(rs.at(i, 1));
    r.nachname = rs.at(i, 2).toString();
    r.vorname = rs.at(i, 3).toString();
    r.sex = OptText(rs.at(i, 4));
    r.verein = OptText(rs.at(i, 5));
    r.nation = OptText(rs.at(i, 6));
    r.code = OptText(rs.at(i, 7));
    r.jahrgang = OptInt(rs.at(i, 8));
    if (!rs.at(i, 9).isNull()) r.svid = rs.at(i, 9).toLongLong();
    r.klasse = OptInt(rs.at(i, 10));
    r.mannschaft = OptInt(rs.at(i, 11));
    byId.emplace(r.id, data.racers.size());
    data.racers.push_back(std::move(r));
  }

  const db::Recordset times = db.query(
      QStringLiteral("select teilnehmer,durchgang,ergcode,netto,start,zwischen1,disqualtext "
                     "from tblZeit where disziplin=") +
      QString::number(dtyp) + QStringLiteral(" order by teilnehmer,durchgang"));
  for (int i = 0; i < times.count(); ++i) {
    const auto it = byId.find(times.at(i, 0).toInt());
    if (it == byId.end()) continue;
    RunRecord rec;
    rec.run = times.at(i, 1).toInt();
    rec.code = StoredResultCode(times.at(i, 2));
    rec.netto = db::StoredRunHundredths(times.at(i, 3));
    rec.start = DayTimeHundredths(times.at(i, 4));
    rec.split = DayTimeHundredths(times.at(i, 5));
    rec.disqualtext = OptText(times.at(i, 6));
    data.racers[it->second].runs.push_back(std::move(rec));
  }

  const db::Recordset classes =
      db.query(QStringLiteral("select id,klname,geschlecht,gruppe,sortpos from tblKlasse"));
  for (int i = 0; i < classes.count(); ++i) {
    data.classes[classes.at(i, 0).toInt()] = {classes.at(i, 1).toString(),
                                              OptText(classes.at(i, 2)), OptInt(classes.at(i, 3)),
                                              OptInt(classes.at(i, 4))};
  }
  const db::Recordset groups = db.query(QStringLiteral("select id,grpname,sortpos from tblGruppe"));
  for (int i = 0; i < groups.count(); ++i) {
    data.groups[groups.at(i, 0).toInt()] = {groups.at(i, 1).toString(), OptInt(groups.at(i, 2))};
  }
  const db::Recordset cats = db.query(QStringLiteral("select kat,kname,sortpos from tblKategorie"));
  for (int i = 0; i < cats.count(); ++i) {
    data.categories[cats.at(i, 0).toString()] = {cats.at(i, 1).toString(), OptInt(cats.at(i, 2))};
  }
  return data;
}

}  // namespace kx
