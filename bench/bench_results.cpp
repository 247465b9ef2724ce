// The result side on the large race: result lists, team ranking and race points for 500
// and 5,000 racers.

#include "bench/benchrace.h"
#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "results/participantdata.h"
#include "results/postinglist.h"
#include "results/racepoints.h"
#include "results/resultlist.h"
#include "results/teamlist.h"
#include "results/teamranking.h"
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

using Race = kx::bench::BenchRace;

// One file per size, written once for all benchmarks of this file.
Race& OpenRace(int participants) {
  static std::map<int, std::unique_ptr<Race>> races;
  return kx::bench::OpenBenchRace(races, participants, LargeRaceWithTeams, [](Race& race) {
    race.state.CreditLine = QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm) - V");
  });
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

namespace {

const kx::TeamRankingSettings kTeamSettings{QStringLiteral("Klasse"), 3, 1, 1};

void BM_ComputeTeamRanking(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  size_t teams = 0;
  for (auto _ : bench) {
    const kx::TeamRankingResult r = kx::ComputeTeamRanking(race.state, kTeamSettings);
    teams = r.teams.size();
  }
  bench.counters["teams"] = static_cast<double>(teams);
}
BENCHMARK(BM_ComputeTeamRanking)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_TeamList(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  const QString out = QDir(race.dir.path()).filePath(QStringLiteral("Mannschaft.pdf"));
  kx::TeamListOptions options;
  options.ranking = kTeamSettings;
  options.openAfterOutput = false;
  for (auto _ : bench) {
    race.ui.chooseSaveFile(out);
    if (!kx::WriteTeamList(race.state, options).text.contains(QStringLiteral("gespeichert unter")))
      bench.SkipWithError("not written");
  }
}
BENCHMARK(BM_TeamList)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_PostingList(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  const QString out = QDir(race.dir.path()).filePath(QStringLiteral("Aushang.pdf"));
  const kx::PostingListOptions options{QStringLiteral("keine Unterteilung"), QStringLiteral("-"),
                                       false, false};
  for (auto _ : bench) {
    race.ui.chooseSaveFile(out);
    if (!kx::WritePostingList(race.state, options).text.contains(QStringLiteral("gespeichert")))
      bench.SkipWithError("not written");
  }
}
BENCHMARK(BM_PostingList)->Arg(500)->Unit(benchmark::kMillisecond);

const kx::SelectedDisciplines kGiantSlalomAndSlalom{false, false, true, true, false, false};

void BM_ComputeRacePoints(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  for (auto _ : bench) {
    kx::ComputeRacePoints(race.state, kGiantSlalomAndSlalom, kx::RacePointsMethod::Factor,
                          kx::RacePointsDivision::Class);
  }
}
BENCHMARK(BM_ComputeRacePoints)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_ParticipantDataExport(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  const QString out = QDir(race.dir.path()).filePath(QStringLiteral("Daten.txt"));
  kx::ParticipantDataOptions options;
  options.selected = kGiantSlalomAndSlalom;
  for (auto _ : bench) {
    race.ui.chooseSaveFile(out);
    if (!kx::WriteParticipantData(race.state, options).text.contains(QStringLiteral("gespeichert")))
      bench.SkipWithError("not written");
  }
}
BENCHMARK(BM_ParticipantDataExport)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
