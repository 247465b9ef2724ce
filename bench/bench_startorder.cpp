// Start orders of run 1 and run 2 for a race of 5,000 participants.

#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "startorder/startorder.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// The race file is written once for all benchmarks of this file.
const QString& LargeRaceFile() {
  static QTemporaryDir dir;
  static const QString path = [] {
    const QString file = dir.filePath(QStringLiteral("gross.mdb"));
    kx::db::CompetitionSpec race = kx::db::LargeCompetition(5000);
    // A pupils' points race, so that run 1 by class runs the points correction.
    race.bewerb.typ = 4;
    race.bewerb.punktewertung = true;
    kx::db::BuildCompetitionFile(file, race);
    return file;
  }();
  return path;
}

std::unique_ptr<kx::AppState> OpenLargeRace() {
  auto state = std::make_unique<kx::AppState>();
  state->CompetitionDb = kx::db::Connection::open(LargeRaceFile());
  kx::CompetitionSettings& s = state->Settings;
  s.typ = QStringLiteral("4");
  s.punktewertung = s.klassenwertung = s.jahrgang_aktiv = s.verein_aktiv = s.nation_aktiv =
      s.code_aktiv = QStringLiteral("True");
  s.mannschaftswertung = QStringLiteral("False");
  state->CurrentDisciplineType = 2;
  state->CurrentDisciplineCode = QStringLiteral("gs");
  state->Season = QStringLiteral("2024/2025");
  return state;
}

const char* const kRun1Modes[] = {"Klasse", "keine Unterteilung", "Gruppe"};

void BM_StartOrderRun1(benchmark::State& bench) {
  auto state = OpenLargeRace();
  const QString mode = QString::fromLatin1(kRun1Modes[bench.range(0)]);
  bench.SetLabel(kRun1Modes[bench.range(0)]);
  int count = 0;
  for (auto _ : bench) {
    count = kx::BuildStartOrderRun1(*state, mode, false, 15, QString(), false);
    benchmark::DoNotOptimize(count);
  }
  bench.counters["entries"] = count;
}
BENCHMARK(BM_StartOrderRun1)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

struct Run2Case {
  const char* mode;
  int reverse;
  bool append;
};
const Run2Case kRun2Cases[] = {
    {"FIS-Reglement", 30, false},
    {"Kategorie", 0, true},  // all starters, with the non-finisher time column
    {"Nach Zeiten pro Klasse", 0, false},
};

void BM_StartOrderRun2(benchmark::State& bench) {
  auto state = OpenLargeRace();
  const Run2Case& c = kRun2Cases[bench.range(0)];
  const QString mode = QString::fromLatin1(c.mode);
  bench.SetLabel(c.append ? std::string(c.mode) + " + Nichtankommer" : c.mode);
  int count = 0;
  for (auto _ : bench) {
    count = kx::BuildStartOrderRun2(*state, mode, c.reverse, c.append, 100000, QString(), false);
    benchmark::DoNotOptimize(count);
  }
  bench.counters["entries"] = count;
}
BENCHMARK(BM_StartOrderRun2)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// The floors of the two orders: the same rows read with the bare SQLite interface into
// plain rows (texts as QString, as the lists need them), then sorted, nothing else.
struct FloorRow {
  qint64 id = 0, bib = 0, svid = 0, sortpos = 0;
  double points = 0, time = 0;
  QString code, nachname, vorname, jahrgang, nation, verein, klasse;
};

QString Text(sqlite3_stmt* stmt, int column) {
  return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                           sqlite3_column_bytes(stmt, column));
}

std::vector<FloorRow> ReadFloorRows(sqlite3* db, const char* sql) {
  std::vector<FloorRow> rows;
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    FloorRow r;
    r.id = sqlite3_column_int64(stmt, 0);
    r.bib = sqlite3_column_int64(stmt, 1);
    r.svid = sqlite3_column_int64(stmt, 2);
    r.code = Text(stmt, 3);
    r.nachname = Text(stmt, 4);
    r.vorname = Text(stmt, 5);
    r.jahrgang = Text(stmt, 6);
    r.nation = Text(stmt, 7);
    r.verein = Text(stmt, 8);
    r.points = sqlite3_column_double(stmt, 9);
    r.klasse = Text(stmt, 10);
    r.sortpos = sqlite3_column_int64(stmt, 11);
    r.time = sqlite3_column_double(stmt, 12);
    rows.push_back(std::move(r));
  }
  sqlite3_finalize(stmt);
  return rows;
}

// Reads the rows of `sql` and sorts them with `before`, as often as the benchmark asks.
template <typename Before>
void RunFloor(benchmark::State& bench, const char* sql, Before before) {
  auto state = OpenLargeRace();
  sqlite3* db = state->db().handle();
  size_t count = 0;
  for (auto _ : bench) {
    std::vector<FloorRow> rows = ReadFloorRows(db, sql);
    std::stable_sort(rows.begin(), rows.end(), before);
    count = rows.size();
    benchmark::DoNotOptimize(rows.data());
  }
  bench.counters["entries"] = static_cast<double>(count);
}

void BM_StartOrderRun1Floor(benchmark::State& bench) {
  RunFloor(bench,
           "select t.id,t.startnrgs,t.svid,t.code,t.nachname,t.vorname,t.jahrgang,t.nation,"
           "t.verein,t.pktegs,k.klname,k.sortpos,0 from tblTeilnehmer t,tblKlasse k "
           "where t.gsaktiv = 1 and t.startnrgs is not null and t.klasse=k.id",
           [](const FloorRow& a, const FloorRow& b) {
             return a.sortpos != b.sortpos ? a.sortpos < b.sortpos : a.bib < b.bib;
           });
}
BENCHMARK(BM_StartOrderRun1Floor)->Unit(benchmark::kMillisecond);

void BM_StartOrderRun2Floor(benchmark::State& bench) {
  RunFloor(bench,
           "select t.id,t.startnrgs,t.svid,t.code,t.nachname,t.vorname,t.jahrgang,t.nation,"
           "t.verein,t.pktegs,k.klname,k.sortpos,z.netto*8640000 from tblTeilnehmer t,"
           "tblKlasse k,tblZeit z where t.id=z.teilnehmer and t.gsaktiv = 1 and t.startnrgs is "
           "not null and t.klasse=k.id and z.disziplin=2 and z.durchgang=1 and z.ergcode=0",
           [](const FloorRow& a, const FloorRow& b) {
             if (a.sortpos != b.sortpos) return a.sortpos < b.sortpos;
             return a.time != b.time ? a.time > b.time : a.bib > b.bib;
           });
}
BENCHMARK(BM_StartOrderRun2Floor)->Unit(benchmark::kMillisecond);

}  // namespace
