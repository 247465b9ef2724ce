// The participant import of 500 and 5,000 racers (new and matched again) and the class
// import of 50 classes over 5,000 participants.

#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "import/classimport.h"
#include "import/columnassignment.h"
#include "import/participantimport.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QTemporaryDir& Dir() {
  static QTemporaryDir dir;
  return dir;
}

// A race with classes and teams and no participants, written once.
const QString& EmptyRaceFile() {
  static const QString path = [] {
    const QString file = Dir().filePath(QStringLiteral("leer.mdb"));
    kx::db::CompetitionSpec race;
    race.bewerb.typ = 9;
    race.bewerb.mannschaftswertung = true;
    race.bewerb.punktewertung = race.bewerb.code_aktiv = race.bewerb.nation_aktiv = false;
    race.disziplinen = {
        {2, true, QStringLiteral("1"), QStringLiteral("Cup"), std::nullopt, std::nullopt, 2}};
    race.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
    kx::db::BuildCompetitionFile(file, race);
    return file;
  }();
  return path;
}

void WriteText(const QString& path, const QStringList& lines) {
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

// `count` racers with club, team, class and a run-1 time.
QString ParticipantFile(int count) {
  const QString path = Dir().filePath(QStringLiteral("teilnehmer%1.csv").arg(count));
  if (QFile::exists(path)) return path;
  QStringList lines{
      QStringLiteral("Name;Vorname;Geschlecht;Verein;Jahrgang;Mannschaft;Klasse;Lauf 1")};
  for (int i = 1; i <= count; ++i) {
    lines << QStringLiteral("Läufer%1;Vorname%2;%3;SC Verein %4;%5;Team %6;Klasse %7;%8:%9,%10")
                 .arg(i)
                 .arg(i % 97)
                 .arg(i % 2 ? QStringLiteral("w") : QStringLiteral("m"))
                 .arg(i % 40)
                 .arg(2000 + i % 15)
                 .arg(i % 50)
                 .arg(i % 20)
                 .arg(1 + i % 2)
                 .arg(10 + i % 50)
                 .arg(i % 100, 2, 10, QChar(u'0'));
  }
  WriteText(path, lines);
  return path;
}

std::unique_ptr<kx::AppState> OpenCopy(const QString& source, const QString& name) {
  const QString copy = Dir().filePath(name);
  QFile::remove(copy);
  QFile::copy(source, copy);
  auto state = std::make_unique<kx::AppState>();
  state->CompetitionDb = kx::db::Connection::open(copy);
  kx::CompetitionSettings& s = state->Settings;
  s.typ = QStringLiteral("9");
  s.mannschaftswertung = s.klassenwertung = s.jahrgang_aktiv = s.verein_aktiv =
      QStringLiteral("True");
  s.punktewertung = s.code_aktiv = s.nation_aktiv = QStringLiteral("False");
  state->FileVersionClass = QStringLiteral("55");
  state->CurrentDisciplineType = 2;
  state->CurrentDisciplineCode = QStringLiteral("gs");
  state->RunCount = 2;
  return state;
}

kx::TargetRows Rows(const kx::AppState& state, const QStringList& header, bool times) {
  kx::TargetRows rows = kx::ParticipantTargetRows(state.Settings, state.FileVersionClass,
                                                  state.RunCount, state.CurrentDisciplineCode);
  for (kx::TargetRow& row : rows) kx::AutoAssign(row, header, true);
  if (!times) kx::FindTarget(rows, kx::ImportTarget::Lauf1)->excel.clear();
  return rows;
}

const QStringList kHeader =
    QStringLiteral("Name;Vorname;Geschlecht;Verein;Jahrgang;Mannschaft;Klasse;Lauf 1").split(u';');

void Check(benchmark::State& bench, const kx::ImportResult& result) {
  if (result.kind != kx::ImportResult::Kind::Done) {
    bench.SkipWithError(result.message.toStdString().c_str());
  }
}

void BM_ImportParticipants(benchmark::State& bench) {
  const int count = static_cast<int>(bench.range(0));
  const QString file = ParticipantFile(count);
  for (auto _ : bench) {
    bench.PauseTiming();
    auto state = OpenCopy(EmptyRaceFile(), QStringLiteral("neu.mdb"));
    kx::TargetRows rows = Rows(*state, kHeader, true);
    bench.ResumeTiming();
    Check(bench, kx::ImportParticipants(*state, file, u';', rows));
  }
  bench.counters["participants"] = count;
}
BENCHMARK(BM_ImportParticipants)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

// The same file again: every record matches a participant already entered. The run-time
// column stays unassigned, since the discipline holds the times of the first import.
void BM_ImportParticipantsAgain(benchmark::State& bench) {
  const int count = static_cast<int>(bench.range(0));
  const QString file = ParticipantFile(count);
  const QString imported = Dir().filePath(QStringLiteral("importiert%1.mdb").arg(count));
  {
    auto state = OpenCopy(EmptyRaceFile(), QStringLiteral("erst.mdb"));
    kx::TargetRows rows = Rows(*state, kHeader, true);
    kx::ImportParticipants(*state, file, u';', rows);
    state->CompetitionDb.reset();
    QFile::remove(imported);
    QFile::rename(Dir().filePath(QStringLiteral("erst.mdb")), imported);
  }
  for (auto _ : bench) {
    bench.PauseTiming();
    auto state = OpenCopy(imported, QStringLiteral("wieder.mdb"));
    kx::TargetRows rows = Rows(*state, kHeader, false);
    bench.ResumeTiming();
    const kx::ImportResult result = kx::ImportParticipants(*state, file, u';', rows);
    Check(bench, result);
    if (!result.message.startsWith(QStringLiteral("0 von"))) bench.SkipWithError("not matched");
  }
  bench.counters["participants"] = count;
}
BENCHMARK(BM_ImportParticipantsAgain)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_ImportClasses(benchmark::State& bench) {
  const QString race = Dir().filePath(QStringLiteral("gross.mdb"));
  if (!QFile::exists(race)) kx::db::BuildCompetitionFile(race, kx::db::LargeCompetition(5000));
  const QString file = Dir().filePath(QStringLiteral("klassen.csv"));
  QStringList lines{QStringLiteral("Gruppe;Name;Kategorie;Jahrgang")};
  for (int i = 0; i < 50; ++i) {
    lines << QStringLiteral("Gruppe %1;Klasse %2;%3;%4")
                 .arg(i / 10)
                 .arg(i)
                 .arg(i % 2 ? QStringLiteral("M") : QStringLiteral("W"))
                 .arg(1950 + i);
  }
  WriteText(file, lines);
  for (auto _ : bench) {
    bench.PauseTiming();
    auto state = OpenCopy(race, QStringLiteral("klassen.mdb"));
    kx::TargetRows rows = kx::ClassTargetRows();
    for (kx::TargetRow& row : rows) kx::AutoAssign(row, lines.first().split(u';'), false);
    bench.ResumeTiming();
    Check(bench, kx::ImportClasses(*state, file, u';', rows));
  }
}
BENCHMARK(BM_ImportClasses)->Unit(benchmark::kMillisecond);

}  // namespace
