// Opening a large competition file through the menu, the time-menu state on it, and the
// lists written as PDF beside their floors.
#include "app/competitionfile.h"
#include "app/mainwindow.h"
#include "bench/benchrace.h"
#include "db/competitionbuilder.h"
#include "pdf/pdfdocument.h"
#include "results/resultlist.h"
#include "startorder/startlist.h"
#include "tests/support/scriptedui.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>
#include <map>
#include <vector>

namespace {

// A program directory with master data and a competition of `participants` racers.
struct LargeSetup {
  QTemporaryDir dir;
  QString competition;
  explicit LargeSetup(int participants) {
    kx::db::BuildMasterDataFile(QDir(dir.path()).filePath("STAMMDAT.mdb"), {});
    competition = QDir(dir.path()).filePath("Gross.mdb");
    kx::db::BuildCompetitionFile(competition, kx::db::LargeCompetition(participants));
  }
};

LargeSetup& Setup(int participants) {
  static std::map<int, std::unique_ptr<LargeSetup>> setups;
  auto& setup = setups[participants];
  if (!setup) setup = std::make_unique<LargeSetup>(participants);
  return *setup;
}

struct Window {
  kx::test::ScriptedUi* ui;
  std::unique_ptr<kx::MainWindow> window;
  explicit Window(const LargeSetup& setup) {
    auto scripted = std::make_unique<kx::test::ScriptedUi>();
    ui = scripted.get();
    window = std::make_unique<kx::MainWindow>(
        setup.dir.path(), std::move(scripted),
        std::make_unique<QSettings>(QDir(setup.dir.path()).filePath("user.ini"),
                                    QSettings::IniFormat));
  }
  void open(const QString& path) {
    ui->chooseOpenFile(path);
    window->action("DateiOeffnen")->trigger();
  }
};

void BM_OpenCompetitionThroughMenu(benchmark::State& state) {
  LargeSetup& setup = Setup(static_cast<int>(state.range(0)));
  Window w(setup);
  for (auto _ : state) {
    w.open(setup.competition);
  }
  if (!w.ui->messages.isEmpty()) state.SkipWithError("open failed");
}
BENCHMARK(BM_OpenCompetitionThroughMenu)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_UpdateTimeMenus(benchmark::State& state) {
  LargeSetup& setup = Setup(static_cast<int>(state.range(0)));
  Window w(setup);
  w.open(setup.competition);
  for (auto _ : state) {
    w.window->UpdateTimeMenus();
  }
}
BENCHMARK(BM_UpdateTimeMenus)->Arg(5000)->Unit(benchmark::kMillisecond);

// The output folder of a list, holding `files` other files.
QString OutputFolder(const LargeSetup& setup, int files) {
  const QString path = QDir(setup.dir.path()).filePath(QStringLiteral("Ausgabe%1").arg(files));
  if (!QDir(path).exists()) {
    QDir().mkpath(path);
    for (int i = 0; i < files; ++i) {
      QFile f(QDir(path).filePath(QStringLiteral("Liste-%1.pdf").arg(i)));
      f.open(QIODevice::WriteOnly);
    }
  }
  return path;
}

// The start list by class of an opened large race, written without the viewer.
struct StartListRun {
  kx::test::ScriptedUi ui;
  kx::AppState app;
  kx::StartListOptions options;
  explicit StartListRun(const LargeSetup& setup) {
    app.Ui = &ui;
    app.Season = "2026/2027";
    app.CreditLine = "erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6";
    kx::OpenCompetitionFile(app, setup.competition);
    options.grouping = "Klasse";
    options.openAfterOutput = false;
  }
  bool write(const QString& out) {
    ui.chooseSaveFile(out);
    return kx::WriteStartList(app, options).text.startsWith("Startliste gespeichert");
  }
};

void BM_StartListPdf(benchmark::State& state) {
  LargeSetup& setup = Setup(static_cast<int>(state.range(0)));
  StartListRun run(setup);
  const QString out =
      QDir(OutputFolder(setup, static_cast<int>(state.range(1)))).filePath("Startliste.pdf");
  for (auto _ : state) {
    if (!run.write(out)) state.SkipWithError("not written");
  }
}
// The second argument: other files in the output folder.
BENCHMARK(BM_StartListPdf)
    ->Args({500, 0})
    ->Args({500, 3000})
    ->Args({5000, 0})
    ->Args({5000, 3000})
    ->Unit(benchmark::kMillisecond);

}  // namespace

namespace {
void BM_CheckCompetitionFile(benchmark::State& state) {
  LargeSetup& setup = Setup(5000);
  for (auto _ : state) {
    kx::CheckResult r = kx::CheckCompetitionFile(setup.competition);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_CheckCompetitionFile)->Unit(benchmark::kMillisecond);
}  // namespace

// The floor of a list: the same texts in the same fonts at the same places on the same
// pages, drawn by a bare painter on a bare PDF writer, nothing else, the font set again only
// when it changes. The painter's drawText sets a font in whole device pixels (10 pt at
// 254 dpi: 35 px = 9.92 pt); the floor scales the painter by the ratio of the exact size to
// those pixels whenever the size changes, so its texts come out at exactly the sizes the
// lists draw.
namespace {

// The texts that `write` draws.
std::vector<kx::pdf::DrawnText> TraceTexts(const std::function<void()>& write) {
  std::vector<kx::pdf::DrawnText> texts;
  kx::pdf::TraceDrawnTexts(&texts);
  write();
  kx::pdf::TraceDrawnTexts(nullptr);
  return texts;
}

void DrawFloor(const std::vector<kx::pdf::DrawnText>& texts, const QString& out) {
  QFile file(out);
  file.open(QIODevice::WriteOnly);
  QPdfWriter writer(&file);
  writer.setResolution(254);
  writer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  QPainter painter(&writer);
  int page = 1;
  const QFont* font = nullptr;
  qreal scale = 1;
  for (const kx::pdf::DrawnText& t : texts) {
    if (t.page != page) {
      writer.newPage();
      page = t.page;
    }
    if (font == nullptr || *font != t.font) {
      if (font == nullptr || font->pointSizeF() != t.font.pointSizeF()) {
        scale = t.font.pointSizeF() * writer.resolution() / 72.0 / QFontInfo(t.font).pixelSize();
        painter.setWorldTransform(QTransform::fromScale(scale, scale));
      }
      painter.setFont(t.font);
      font = &t.font;
    }
    painter.drawText(t.baseline / scale, t.text);
  }
  painter.end();
}

double ThreadSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The floor benchmark of the list that `write` draws. Before each floor the list itself is
// written, outside the measured time: its CPU time against the floor's, taken in turns so
// that a load coming and going on the machine falls on both alike, is the counter "ratio"
// ("list" the list's time in ms).
void RunFloor(benchmark::State& state, const std::function<void()>& write, const QString& out) {
  const std::vector<kx::pdf::DrawnText> texts = TraceTexts(write);
  double list = 0;
  double floor = 0;
  for (auto _ : state) {
    state.PauseTiming();
    const double listStart = ThreadSeconds();
    write();
    list += ThreadSeconds() - listStart;
    state.ResumeTiming();
    const double floorStart = ThreadSeconds();
    DrawFloor(texts, out);
    floor += ThreadSeconds() - floorStart;
  }
  state.counters["texts"] = static_cast<double>(texts.size());
  state.counters["list"] = benchmark::Counter(list * 1000, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = list / floor;
}

void BM_StartListPdfFloor(benchmark::State& state) {
  LargeSetup& setup = Setup(static_cast<int>(state.range(0)));
  StartListRun run(setup);
  const QString out = QDir(setup.dir.path()).filePath("Boden.pdf");
  RunFloor(
      state, [&] { run.write(out); }, out);
}
BENCHMARK(BM_StartListPdfFloor)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

// A pupils' points race (type 4, points on), opened as the program opens it: run 1 by class
// runs the points correction. Its start list and its run-1 result list, both by class,
// beside their floors.
using Race = kx::bench::BenchRace;

Race& PointsRace(int participants) {
  static std::map<int, std::unique_ptr<Race>> races;
  return kx::bench::OpenBenchRace(
      races, participants,
      [](int n) {
        kx::db::CompetitionSpec race = kx::db::LargeCompetition(n);
        race.bewerb.typ = 4;
        race.bewerb.punktewertung = true;
        return race;
      },
      [](Race& race) {
        race.state.Season = QStringLiteral("2026/2027");
        race.state.CreditLine =
            QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6");
      });
}

bool WritePointsRaceStartList(Race& race, const QString& out) {
  race.ui.chooseSaveFile(out);
  const kx::StartListOptions options{QStringLiteral("Klasse"), false, false};
  return kx::WriteStartList(race.state, options).text.startsWith(QStringLiteral("Startliste"));
}

bool WritePointsRaceResultList(Race& race, const QString& out) {
  race.ui.chooseSaveFile(out);
  const kx::ResultListOptions options{QStringLiteral("1"), QStringLiteral("Klasse"), false, false};
  return kx::WriteResultList(race.state, options)
      .text.startsWith(QStringLiteral("Ergebnisliste gespeichert"));
}

// The list that `write` writes into a file, and its floor.
using PointsRaceList = bool (*)(Race& race, const QString& out);

void RunPointsRaceList(benchmark::State& state, PointsRaceList write) {
  Race& race = PointsRace(static_cast<int>(state.range(0)));
  const QString out = race.dir.filePath(QStringLiteral("Liste.pdf"));
  for (auto _ : state) {
    if (!write(race, out)) state.SkipWithError("not written");
  }
}

void RunPointsRaceFloor(benchmark::State& state, PointsRaceList write) {
  Race& race = PointsRace(static_cast<int>(state.range(0)));
  const QString out = race.dir.filePath(QStringLiteral("Boden.pdf"));
  RunFloor(
      state, [&] { write(race, out); }, out);
}

void BM_PointsRaceStartList(benchmark::State& state) {
  RunPointsRaceList(state, WritePointsRaceStartList);
}
void BM_PointsRaceStartListFloor(benchmark::State& state) {
  RunPointsRaceFloor(state, WritePointsRaceStartList);
}
void BM_PointsRaceResultList(benchmark::State& state) {
  RunPointsRaceList(state, WritePointsRaceResultList);
}
void BM_PointsRaceResultListFloor(benchmark::State& state) {
  RunPointsRaceFloor(state, WritePointsRaceResultList);
}
BENCHMARK(BM_PointsRaceStartList)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointsRaceStartListFloor)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointsRaceResultList)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointsRaceResultListFloor)->Arg(5000)->Unit(benchmark::kMillisecond);

}  // namespace

// The start list and the total result list of a race of 150 racers by class, under a short
// event name and under one of 100,000 characters. The long name must cost about what the
// short one costs (a ratio under 1.5): the heading is fitted once per document, and what
// cannot be seen of the name is not measured.
namespace {

QString EventNameOfLength(int length) {
  const QString words = QStringLiteral("Bezirkscup Musterdorf Kinder und Schüler ");
  QString name;
  while (name.size() < length) name += words;
  name.truncate(length);
  return name;
}

// The race under an event name of `nameLength` characters; with a `textLength`, its list title
// (the discipline's title) and its evaluation and timing texts are that long.
Race& NamedRace(int nameLength, int textLength = 0) {
  static std::map<int, std::map<int, std::unique_ptr<Race>>> races;  // by text, name length
  return kx::bench::OpenBenchRace(
      races[textLength], nameLength,
      [textLength](int length) {
        kx::db::CompetitionSpec race = kx::db::LargeCompetition(150);
        for (kx::db::DisziplinSpec& d : race.disziplinen) {
          if (d.aktiv) d.bewerbsbezeichnung = EventNameOfLength(length);
        }
        for (kx::db::ListenkopfSpec& text : race.listenkopf) {
          if (textLength > 0 && (text.id == 0 || text.id == 1 || text.id == 94))
            text.value = EventNameOfLength(textLength);
        }
        return race;
      },
      [](Race& race) {
        race.state.Season = QStringLiteral("2026/2027");
        race.state.CreditLine =
            QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6");
      });
}

bool WriteNamedStartList(Race& race, const QString& out) {
  race.ui.chooseSaveFile(out);
  const kx::StartListOptions options{QStringLiteral("Klasse"), false, false};
  return kx::WriteStartList(race.state, options)
      .text.startsWith(QStringLiteral("Startliste gespeichert"));
}

bool WriteNamedResultList(Race& race, const QString& out) {
  race.ui.chooseSaveFile(out);
  const kx::ResultListOptions options{QStringLiteral("Gesamtliste"), QStringLiteral("Klasse"),
                                      false, false};
  return kx::WriteResultList(race.state, options)
      .text.startsWith(QStringLiteral("Ergebnisliste gespeichert"));
}

// Writes the list of `longName` and of the race under a short event name in turns, so that
// a load coming and going on the machine falls on both alike. The counter "ratio" is the
// long race's CPU time against the short one's; "short" and "long" are their times in ms.
void RunLongShortPair(benchmark::State& state, PointsRaceList write, Race& longName) {
  Race& shortName = NamedRace(21);
  const QString out = longName.dir.filePath(QStringLiteral("Liste.pdf"));
  double shortTime = 0;
  double longTime = 0;
  for (auto _ : state) {
    const double longStart = ThreadSeconds();
    if (!write(longName, out)) state.SkipWithError("not written");
    const double shortStart = ThreadSeconds();
    if (!write(shortName, out)) state.SkipWithError("not written");
    longTime += shortStart - longStart;
    shortTime += ThreadSeconds() - shortStart;
  }
  state.counters["short"] =
      benchmark::Counter(shortTime * 1000, benchmark::Counter::kAvgIterations);
  state.counters["long"] = benchmark::Counter(longTime * 1000, benchmark::Counter::kAvgIterations);
  state.counters["ratio"] = longTime / shortTime;
}

void BM_StartListLongEventName(benchmark::State& state) {
  RunLongShortPair(state, WriteNamedStartList, NamedRace(100000));
}
void BM_ResultListLongEventName(benchmark::State& state) {
  RunLongShortPair(state, WriteNamedResultList, NamedRace(100000));
}
// The same with a list title and head texts of 100,000 characters: they are fitted once per
// document like the event name.
void BM_ResultListLongTitleAndHeadTexts(benchmark::State& state) {
  RunLongShortPair(state, WriteNamedResultList, NamedRace(21, 100000));
}
BENCHMARK(BM_StartListLongEventName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultListLongEventName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResultListLongTitleAndHeadTexts)->Unit(benchmark::kMillisecond);

}  // namespace
