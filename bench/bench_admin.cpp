// The administration tools on a race of 5,000 participants: adding a source file to the
// finals draw and saving its candidates, the bib takeover, and the points takeover against
// a points list of 20,000 entries.

#include "admin/bibtakeover.h"
#include "admin/finals.h"
#include "admin/pointstakeover.h"
#include "db/competitionbuilder.h"
#include "db/database.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& Dir() {
  static QTemporaryDir dir;
  return dir;
}

const QString& SourceRace() {
  static const QString path = [] {
    const QString file = Dir().filePath(QStringLiteral("quelle.mdb"));
    kx::db::BuildCompetitionFile(file, kx::db::LargeCompetition(5000));
    return file;
  }();
  return path;
}

// An empty competition (the finals target) as a fresh copy.
QString EmptyRace(const QString& name) {
  static const QString path = [] {
    const QString file = Dir().filePath(QStringLiteral("leer.mdb"));
    kx::db::CompetitionSpec race = kx::db::LargeCompetition(0);
    kx::db::BuildCompetitionFile(file, race);
    return file;
  }();
  const QString copy = Dir().filePath(name);
  QFile::remove(copy);
  QFile::copy(path, copy);
  return copy;
}

const kx::FinalsDiscipline kGiantSlalom{2, QStringLiteral("gs")};

void BM_FinalsAddFile(benchmark::State& bench) {
  const QString source = SourceRace();
  auto db = kx::db::Connection::open(EmptyRace(QStringLiteral("ziel.mdb")));
  for (auto _ : bench) {
    kx::CreateFinalsTable(*db);
    const kx::FinalsAddResult result = kx::AddFinalsFile(*db, source, kGiantSlalom, false);
    bench.counters["added"] = result.added;  // a refusal would show as 0
  }
}
BENCHMARK(BM_FinalsAddFile)->Unit(benchmark::kMillisecond);

void BM_FinalsSave(benchmark::State& bench) {
  const QString source = SourceRace();
  for (auto _ : bench) {
    bench.PauseTiming();
    auto db = kx::db::Connection::open(EmptyRace(QStringLiteral("ziel2.mdb")));
    kx::CreateFinalsTable(*db);
    kx::AddFinalsFile(*db, source, kGiantSlalom, false);
    bench.ResumeTiming();
    bench.counters["inserted"] =
        kx::SaveFinalists(*db, 5000, 5000, false, kGiantSlalom, true).inserted;
  }
}
BENCHMARK(BM_FinalsSave)->Unit(benchmark::kMillisecond);

void BM_BibTakeover(benchmark::State& bench) {
  const QString copy = Dir().filePath(QStringLiteral("startnr.mdb"));
  for (auto _ : bench) {
    bench.PauseTiming();
    QFile::remove(copy);
    QFile::copy(SourceRace(), copy);
    auto db = kx::db::Connection::open(copy);
    db->execute(QStringLiteral("update tblTeilnehmer set startnrsl=null"));
    bench.ResumeTiming();
    bench.counters["written"] = kx::CopyBibs(*db, QStringLiteral("sl"), QStringLiteral("gs"));
  }
}
BENCHMARK(BM_BibTakeover)->Unit(benchmark::kMillisecond);

void BM_PointsTakeover(benchmark::State& bench) {
  const QString masterPath = Dir().filePath(QStringLiteral("STAMMDAT.mdb"));
  const QString copy = Dir().filePath(QStringLiteral("punkte.mdb"));
  {
    // The list holds every racer of the race and 15,000 others.
    kx::db::MasterDataSpec master;
    const kx::db::CompetitionSpec race = kx::db::LargeCompetition(5000);
    qint64 id = 1;
    for (const kx::db::TeilnehmerSpec& t : race.teilnehmer) {
      master.ksfPunkte.push_back({QString(), id++, 12.5, QStringLiteral("AUT"), t.nachname,
                                  t.vorname, t.sex, t.jahrgang.value_or(0),
                                  t.verein.value_or(QString())});
    }
    for (int i = 0; i < 15000; ++i) {
      master.ksfPunkte.push_back({QString(), id++, 50, QStringLiteral("AUT"),
                                  QStringLiteral("Andere%1").arg(i), QStringLiteral("Vorname"),
                                  QStringLiteral("W"), 2000, QStringLiteral("SC Irgendwo")});
    }
    master.listenVersion = {{3, QStringLiteral("1/2026")}, {4, QStringLiteral("2/2026")}};
    kx::db::BuildMasterDataFile(masterPath, master);
  }
  auto masterDb = kx::db::Connection::open(masterPath);
  for (auto _ : bench) {
    bench.PauseTiming();
    QFile::remove(copy);
    QFile::copy(SourceRace(), copy);
    auto db = kx::db::Connection::open(copy);
    db->execute(QStringLiteral("update tblTeilnehmer set svid=null"));
    bench.ResumeTiming();
    bench.counters["updated"] = kx::TakeOverPoints(*db, *masterDb, true).updated;
  }
}
BENCHMARK(BM_PointsTakeover)->Unit(benchmark::kMillisecond);

}  // namespace
