// The referee report on a race of 5,000 participants with two runs: what the window's
// opening reads (defaults, prefill, stored rows) and the output (store and page).

#include "db/competitionbuilder.h"
#include "db/database.h"
#include "lists/documentoutput.h"
#include "refereereport/reportoutput.h"
#include "refereereport/reportprefill.h"
#include "refereereport/reportstore.h"
#include "tests/support/scriptedui.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

struct Race {
  QTemporaryDir dir;
  QString path;
  Race() {
    path = dir.filePath(QStringLiteral("gross.mdb"));
    kx::db::BuildCompetitionFile(path, kx::db::LargeCompetition(5000));
  }
};

Race& LargeRace() {
  static Race race;
  return race;
}

const kx::ReportDiscipline kGiantSlalom{2, QStringLiteral("gs"), 2};

void BM_RefereeReportOpening(benchmark::State& bench) {
  auto db = kx::db::Connection::open(LargeRace().path);
  kx::EnsureReportTable(*db);
  kx::StoreReport(*db, 2, kx::DefaultReportValues());
  for (auto _ : bench) {
    kx::ReportValues values = kx::DefaultReportValues();
    kx::PrefillRefereeReport(*db, kGiantSlalom, values);
    kx::EnsureReportTable(*db);
    kx::LoadStoredReport(*db, 2, values);
    benchmark::DoNotOptimize(values);
  }
}
BENCHMARK(BM_RefereeReportOpening)->Unit(benchmark::kMillisecond);

void BM_RefereeReportOutput(benchmark::State& bench) {
  auto db = kx::db::Connection::open(LargeRace().path);
  kx::EnsureReportTable(*db);
  kx::ReportValues values = kx::DefaultReportValues();
  kx::PrefillRefereeReport(*db, kGiantSlalom, values);
  kx::test::ScriptedUi ui;
  kx::OutputContext context;
  context.db = db.get();
  context.ui = &ui;
  context.competitionFileName = QStringLiteral("gross");
  context.competitionDir = LargeRace().dir.path();
  const QString file = LargeRace().dir.filePath(QStringLiteral("bericht.pdf"));
  for (auto _ : bench) {
    ui.chooseSaveFile(file);
    kx::StoreReport(*db, 2, values);
    benchmark::DoNotOptimize(kx::WriteRefereeReport(context, values, QDate(2026, 12, 7)));
  }
}
BENCHMARK(BM_RefereeReportOutput)->Unit(benchmark::kMillisecond);

}  // namespace
