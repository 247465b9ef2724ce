#pragma once

// A large race for the benchmarks of one subsystem: its competition file written once per
// size, opened as the program opens it, with a scripted person at the screen.

#include "app/competitionfile.h"
#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "tests/support/scriptedui.h"

#include <QTemporaryDir>

#include <functional>
#include <map>
#include <memory>

namespace kx::bench {

struct BenchRace {
  QTemporaryDir dir;
  QString file;
  test::ScriptedUi ui;
  AppState state;
};

// The race of `participants` built by `build`, written and opened on the first call for that
// size; `prepare` then adds what the caller's benchmarks need. `races` keeps them for the run
// (one map per benchmark file, as each builds its own kind of race).
inline BenchRace& OpenBenchRace(std::map<int, std::unique_ptr<BenchRace>>& races, int participants,
                                const std::function<db::CompetitionSpec(int)>& build,
                                const std::function<void(BenchRace&)>& prepare = {}) {
  std::unique_ptr<BenchRace>& race = races[participants];
  if (!race) {
    race = std::make_unique<BenchRace>();
    race->file = race->dir.filePath(QStringLiteral("gross.mdb"));
    db::BuildCompetitionFile(race->file, build(participants));
    race->state.Ui = &race->ui;
    OpenCompetitionFile(race->state, race->file);
    if (prepare) prepare(*race);
  }
  return *race;
}

}  // namespace kx::bench
