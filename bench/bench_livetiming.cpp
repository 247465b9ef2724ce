// Live timing on large races: one timer tick (nothing changed, one run changed) against
// reading both runs as the tick does, and the start with its five uploads; the uploads go
// to the fake registration service on 127.0.0.1.

#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "livetiming/choices.h"
#include "livetiming/protocol.h"
#include "livetiming/session.h"
#include "tests/support/fakeregistration.h"
#include "tests/support/scriptedui.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

const QString& RaceFile(int racers) {
  static QTemporaryDir dir;
  static std::map<int, QString> files;
  auto it = files.find(racers);
  if (it == files.end()) {
    const QString file = dir.filePath(QStringLiteral("race%1.mdb").arg(racers));
    kx::db::BuildCompetitionFile(file, kx::db::LargeCompetition(racers));
    it = files.emplace(racers, file).first;
  }
  return it->second;
}

// A race open on the giant slalom with two runs, a session logged in to the fake service.
struct LiveRace {
  kx::test::FakeRegistrationService service;
  kx::test::ScriptedUi ui;
  kx::AppState state;
  std::unique_ptr<kx::LiveTimingConnection> connection;
  std::unique_ptr<kx::LiveTimingSession> session;
  kx::LiveStartChoices choices;

  explicit LiveRace(int racers) {
    state.CompetitionDb = kx::db::Connection::open(RaceFile(racers));
    state.Ui = &ui;
    kx::CompetitionSettings& s = state.Settings;
    s.typ = QStringLiteral("4");
    s.punktewertung = s.klassenwertung = s.jahrgang_aktiv = s.verein_aktiv = s.nation_aktiv =
        s.code_aktiv = QStringLiteral("True");
    state.FileVersionClass = QStringLiteral("55");
    state.CurrentDisciplineType = 2;
    state.CurrentDisciplineCode = QStringLiteral("gs");
    state.RunCount = 2;
    state.Season = QStringLiteral("2024/2025");
    connection = std::make_unique<kx::LiveTimingConnection>(ui, service.server());
    session = std::make_unique<kx::LiveTimingSession>(state, *connection);
    session->LiveToken = QStringLiteral("TOKEN12345");
    session->LiveEventNo = 1;
    choices.groupingEntries = kx::GroupingEntries(kx::ReadGroupingUse(state));
    choices.grouping = choices.groupingEntries.first();
    choices.rule1 = QStringLiteral("Klasse / Start-Nr");
    choices.rule2 = QStringLiteral("Nach Zeiten pro Klasse");
  }
  void startRunning() {
    session->Start(choices);
    session->setTickInterval(60 * 60 * 1000);
    session->LiveTimerTick();  // sends every run once
    service.clear();
  }
};

void BM_LiveReadBothRuns(benchmark::State& bench) {
  LiveRace race(static_cast<int>(bench.range(0)));
  for (auto _ : bench) {
    for (int run = 1; run <= 2; ++run) {
      benchmark::DoNotOptimize(race.state.db().query(
          QStringLiteral("select teilnehmer,ergcode,start,netto,disqualtext from tblZeit where "
                         "Disziplin=2 and durchgang=%1 order by teilnehmer")
              .arg(run)));
    }
  }
}
BENCHMARK(BM_LiveReadBothRuns)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_LiveTickUnchanged(benchmark::State& bench) {
  LiveRace race(static_cast<int>(bench.range(0)));
  race.startRunning();
  for (auto _ : bench) race.session->LiveTimerTick();
  bench.counters["uploads"] = static_cast<double>(race.service.requests.size());
}
BENCHMARK(BM_LiveTickUnchanged)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_LiveTickOneRunChanged(benchmark::State& bench) {
  LiveRace race(static_cast<int>(bench.range(0)));
  race.startRunning();
  int code = 1;
  for (auto _ : bench) {
    bench.PauseTiming();
    code = code == 1 ? 2 : 1;
    race.state.db().execute(
        QStringLiteral("update tblZeit set ergcode=%1 where disziplin=2 and durchgang=2 and "
                       "teilnehmer=(select min(teilnehmer) from tblZeit where disziplin=2 and "
                       "durchgang=2 and ergcode<>0)")
            .arg(code));
    bench.ResumeTiming();
    race.session->LiveTimerTick();
  }
  bench.counters["uploads"] = static_cast<double>(race.service.requests.size());
}
BENCHMARK(BM_LiveTickOneRunChanged)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_LiveStart(benchmark::State& bench) {
  LiveRace race(static_cast<int>(bench.range(0)));
  for (auto _ : bench) {
    benchmark::DoNotOptimize(race.session->Start(race.choices));
    race.session->StopLiveTimer();
  }
  bench.counters["uploads"] = static_cast<double>(race.service.requests.size());
}
BENCHMARK(BM_LiveStart)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace
