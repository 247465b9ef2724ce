// The database under race-sized loads: building a large file, opening it, sorting names.
#include "db/competitionbuilder.h"
#include "db/database.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace kx::db;

// A large competition written and opened again, as the tests and the demo do it.
void BM_BuildAndOpenLargeCompetition(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("large.mdb");
  const CompetitionSpec race = LargeCompetition(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    BuildCompetitionFile(path, race);
    auto db = Connection::open(path);
    benchmark::DoNotOptimize(db->scalar("select count(*) from tblTeilnehmer").toInt());
  }
}
BENCHMARK(BM_BuildAndOpenLargeCompetition)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_OpenLargeCompetition(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("large.mdb");
  BuildCompetitionFile(path, LargeCompetition(5000));
  for (auto _ : state) {
    auto db = Connection::open(path);
    benchmark::DoNotOptimize(db.get());
  }
}
BENCHMARK(BM_OpenLargeCompetition)->Unit(benchmark::kMicrosecond);

// The result-list kind of query: all racers of a discipline with their run time, sorted by
// class and name in the German order.
void BM_SortedResultQuery(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("large.mdb");
  BuildCompetitionFile(path, LargeCompetition(static_cast<int>(state.range(0))));
  auto db = Connection::open(path);
  for (auto _ : state) {
    const Recordset rs = db->query(
        "select t.id,t.startnrgs,t.nachname,t.vorname,t.verein,k.klname,"
        "switch(z.ergcode=0,z.netto*8640000,z.ergcode<>0,9000000) As Zeit "
        "from tblTeilnehmer t,tblKlasse k,tblZeit z where t.id=z.teilnehmer and t.klasse=k.id "
        "and t.gsaktiv = true and z.disziplin=2 and z.durchgang=1 "
        "order by k.sortpos,t.verein,t.nachname,t.vorname");
    benchmark::DoNotOptimize(rs.count());
  }
}
BENCHMARK(BM_SortedResultQuery)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_CompareGermanAscii(benchmark::State& state) {
  const QString a = QStringLiteral("SKI-CLUB MUENCHEN E.V.");
  const QString b = QStringLiteral("ski-club muenchen e.v. 2");
  for (auto _ : state) benchmark::DoNotOptimize(CompareGerman(a, b));
}
BENCHMARK(BM_CompareGermanAscii);

}  // namespace

namespace {
// The check the open runs on every competition file.
void BM_IntegrityCheck(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath("large.mdb");
  BuildCompetitionFile(path, LargeCompetition(5000));
  auto db = Connection::open(path);
  for (auto _ : state) benchmark::DoNotOptimize(db->integrityProblem());
}
BENCHMARK(BM_IntegrityCheck)->Unit(benchmark::kMillisecond);
}  // namespace
