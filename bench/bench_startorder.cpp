// Start orders of run 1 and run 2 for a race of 5,000 participants.

#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "startorder/startorder.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

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
    {"Kategorie", 30, true},  // all starters, with the non-finisher time column
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

}  // namespace
