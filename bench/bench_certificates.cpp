// Certificates on the large race: an individual print of 500 and 5,000 certificates from a
// template of five texts and one picture, and the ranking of 5,000 participants.

#include "bench/benchrace.h"
#include "certificates/certificateoutput.h"
#include "certificates/certificaterows.h"
#include "certificates/templatestore.h"
#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using Race = kx::bench::BenchRace;

// One file per size with a template of five texts and a picture.
Race& OpenRace(int participants) {
  static std::map<int, std::unique_ptr<Race>> races;
  return kx::bench::OpenBenchRace(races, participants, kx::db::LargeCompetition, [](Race& race) {
    QImage logo(600, 400, QImage::Format_RGB32);
    logo.fill(Qt::darkGreen);
    logo.save(race.dir.filePath(QStringLiteral("logo.jpg")), "JPG");
    kx::SaveTemplate(
        race.state.db(), race.state.CurrentDisciplineType, false,
        {{"Urkunde", "Arial, fett, 36", "zentr.", "600", "1050"},
         {"<Vorname Name>", "Arial, fett, 24", "zentr.", "1000", "1050"},
         {"<Verein>", "Arial, 14", "zentr.", "1200", "1050"},
         {"<Platz>. Platz in <Klasse> mit <Zeit>", "Arial, 14", "zentr.", "1400", "1050"},
         {"<Disziplin> am <Bewerbsdatum>", "Arial, kursiv, 12", "links", "2500", "200"},
         {"logo.jpg", "Bild 600x400", "zentr.", "100", "1050"}});
  });
}

void BM_IndividualCertificates(benchmark::State& bench) {
  // About four racers in five have a valid result: the first N places of a larger race.
  const int certificates = static_cast<int>(bench.range(0));
  Race& race = OpenRace(certificates * 13 / 10);
  const QString out = QDir(race.dir.path()).filePath(QStringLiteral("Urkunden.pdf"));
  kx::CertificateRunOptions options;
  options.grouping = 0;
  options.ranks = QString::number(certificates);
  int written = 0;
  for (auto _ : bench) {
    race.ui.chooseSaveFile(out);
    written = kx::RunCertificateOutput(race.state, options).certificates;
  }
  bench.counters["certificates"] = written;
}
BENCHMARK(BM_IndividualCertificates)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_CertificateRanking(benchmark::State& bench) {
  Race& race = OpenRace(static_cast<int>(bench.range(0)));
  const int count = race.state.db()
                        .scalar(QStringLiteral("select count(*) from tblZeit where disziplin=?"),
                                {race.state.CurrentDisciplineType})
                        .toInt();
  const kx::SelectionStatement statement = kx::SelectIndividualCertificates(
      race.state.CurrentDisciplineType, race.state.CurrentDisciplineCode, 1, count,
      race.state.Settings.typNumber(), {});
  kx::RankingSettings settings;
  settings.rankLimit = 10;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(kx::ReadCertificateRows(race.state.db(), statement, settings));
  }
}
BENCHMARK(BM_CertificateRanking)->Arg(5000)->Unit(benchmark::kMillisecond);

// The places alone, on rows already read: 5,000 racers in 20 divisions with ties.
void BM_CertificatePlaces(benchmark::State& bench) {
  std::vector<kx::SelectedRow> rows;
  for (int i = 0; i < 5000; ++i) {
    rows.push_back({static_cast<double>(6000 + (i % 250) / 2 * 7), 0,
                    QStringLiteral("Klasse %1").arg(i / 250), QStringLiteral("Vorname"),
                    QStringLiteral("Nachname %1").arg(i), QStringLiteral("SC Verein")});
  }
  kx::RankingSettings settings;
  settings.rankLimit = 99999;
  settings.descending = true;
  for (auto _ : bench) benchmark::DoNotOptimize(kx::RankCertificateRows(rows, settings));
}
BENCHMARK(BM_CertificatePlaces)->Unit(benchmark::kMillisecond);

}  // namespace
