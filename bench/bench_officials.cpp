// The officials' documents for races of 5,000 and 500 participants with two runs of times:
// the penalty protocol with its write-back (each time on a fresh copy of the file), the
// referee protocol and the gate-judge card, written through their whole output.

#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "officials/gatejudgecard.h"
#include "officials/penaltyprotocol.h"
#include "officials/refereeprotocol.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

QTemporaryDir& BenchDir() {
  static QTemporaryDir dir;
  return dir;
}

// The race file of `participants` racers, written once per size.
const QString& RaceFile(int participants) {
  static std::map<int, QString> files;
  auto it = files.find(participants);
  if (it == files.end()) {
    const QString file = BenchDir().filePath(QStringLiteral("race%1.mdb").arg(participants));
    kx::db::BuildCompetitionFile(file, kx::db::LargeCompetition(participants));
    it = files.emplace(participants, file).first;
  }
  return it->second;
}

struct Race {
  kx::test::ScriptedUi ui;
  kx::AppState state;
  QString output = BenchDir().filePath(QStringLiteral("out.pdf"));

  explicit Race(const QString& file) {
    state.CompetitionDb = kx::db::Connection::open(file);
    state.CompetitionDir = BenchDir().path();
    state.CompetitionFileName = QStringLiteral("race");
    state.CurrentDisciplineType = 2;
    state.CurrentDisciplineCode = QStringLiteral("gs");
    state.DisciplineNames[2] = state.DisciplineListTitles[2] = QStringLiteral("Riesenslalom");
    state.Settings.typ = QStringLiteral("4");
    state.CreditLine = QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm)");
    state.RunsWithTimes = 2;
    state.Ui = &ui;
  }
  // The answers of one output: the file, and Yes to every question.
  void script() {
    ui.clear();
    ui.chooseSaveFile(output);
  }
};

void BM_PenaltyProtocolWithWriteBack(benchmark::State& bench) {
  const QString source = RaceFile(static_cast<int>(bench.range(0)));
  const QString copy = BenchDir().filePath(QStringLiteral("copy.mdb"));
  int listed = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    QFile::remove(copy);
    QFile::copy(source, copy);
    auto race = std::make_unique<Race>(copy);
    listed = kx::ReadPenaltyData(race->state, 2).listedCount();
    race->script();
    bench.ResumeTiming();
    kx::ResultLine line;
    kx::WritePenaltyProtocol(race->state, true, false, line);
    benchmark::DoNotOptimize(line);
  }
  bench.counters["listed"] = listed;
}
BENCHMARK(BM_PenaltyProtocolWithWriteBack)->Arg(5000)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_RefereeProtocol(benchmark::State& bench) {
  Race race(RaceFile(static_cast<int>(bench.range(0))));
  for (auto _ : bench) {
    race.script();
    kx::ResultLine line;
    kx::WriteRefereeProtocol(race.state, false, line);
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_RefereeProtocol)->Arg(5000)->Arg(500)->Unit(benchmark::kMillisecond);

void BM_GateJudgeCard(benchmark::State& bench) {
  Race race(RaceFile(500));
  for (auto _ : bench) {
    race.script();
    kx::ResultLine line;
    kx::WriteGateJudgeCard(race.state, kx::CardLayout::CardAndInstructions, false, line);
    benchmark::DoNotOptimize(line);
  }
}
BENCHMARK(BM_GateJudgeCard)->Unit(benchmark::kMillisecond);

}  // namespace
