// The result side on the large race: result lists, team ranking and race points for 500
// and 5,000 racers.

#include "app/competitionfile.h"
#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "results/resultlist.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

// The builder's large race with two team groups and one team per ten racers.
kx::db::CompetitionSpec LargeRaceWithTeams(int participants) {
  kx::db::CompetitionSpec race = kx::db::LargeCompetition(participants);
  race.grpMannschaften = {{1, "Vereinsmannschaften", 1}, {2, "Gemischte Mannschaften", 2}};
  race.mannschaften.clear();
  const int teams = std::max(participants / 10, 1);
  for (int m = 1; m <= teams; ++m)
    race.mannschaften.push_back({m, QStringLiteral("Mannschaft %1").arg(m), m, m % 2 + 1});
  for (kx::db::TeilnehmerSpec& t : race.teilnehmer) t.mannschaft = (t.id - 1) / 10 + 1;
  return race;
}

struct Race {
  QTemporaryDir dir;
  QString file;
  kx::test::ScriptedUi ui;
  kx::AppState state;
};

// One file per size, written once for all benchmarks of this file.
Race& OpenRace(int participants) {
  static std::map<int, std::unique_ptr<Race>> races;
  std::unique_ptr<Race>& race = races[participants];
  if (!race) {
    race = std::make_unique<Race>();
    race->file = race->dir.filePath(QStringLiteral("gross.mdb"));
    kx::db::BuildCompetitionFile(race->file, LargeRaceWithTeams(participants));
    race->state.Ui = &race->ui;
    race->state.CreditLine = QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm) - V");
    kx::OpenCompetitionFile(race->state, race->file);
  }
  return *race;
}

void BM_ResultListTotalByClass(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  const QString out = QDir(race.dir.path()).filePath(QStringLiteral("Ergebnisliste.pdf"));
  const kx::ResultListOptions options{QStringLiteral("Gesamtliste"), QStringLiteral("Klasse"),
                                      false, false};
  for (auto _ : bench) {
    race.ui.chooseSaveFile(out);
    const kx::ResultLine line = kx::WriteResultList(race.state, options);
    if (!line.text.startsWith(QStringLiteral("Ergebnisliste gespeichert")))
      bench.SkipWithError("not written");
  }
}
BENCHMARK(BM_ResultListTotalByClass)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
void BM_ResultListCompute(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  kx::ResultListRequest req;
  req.grouping = QStringLiteral("Klasse");
  req.typ = 4;
  req.codes = req.years = req.clubs = req.nations = true;
  for (auto _ : bench) {
    const kx::RaceData data = kx::ReadRaceData(race.state.db(), 2, QStringLiteral("gs"));
    const kx::ResultListModel model = kx::ComputeResultList(data, req);
    benchmark::DoNotOptimize(model);
  }
}
BENCHMARK(BM_ResultListCompute)->Arg(5000)->Unit(benchmark::kMillisecond);
void BM_ReadRaceData(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  for (auto _ : bench) {
    const kx::RaceData data = kx::ReadRaceData(race.state.db(), 2, QStringLiteral("gs"));
    benchmark::DoNotOptimize(data);
  }
}
BENCHMARK(BM_ReadRaceData)->Arg(5000)->Unit(benchmark::kMillisecond);
}  // namespace
