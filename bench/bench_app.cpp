// Opening a large competition file through the menu, the time-menu state on it, and the
// start list written as PDF.
#include "app/competitionfile.h"
#include "app/mainwindow.h"
#include "db/competitionbuilder.h"
#include "pdf/pdfdocument.h"
#include "startorder/startlist.h"
#include "tests/support/scriptedui.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSettings>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>

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

// The floor of the start list: the same texts in the same fonts on the same pages, drawn by
// a bare painter on a bare PDF writer, nothing else.
namespace {
void BM_StartListPdfFloor(benchmark::State& state) {
  LargeSetup& setup = Setup(static_cast<int>(state.range(0)));
  StartListRun run(setup);
  const QString out = QDir(setup.dir.path()).filePath("Boden.pdf");
  std::vector<kx::pdf::DrawnText> texts;
  kx::pdf::TraceDrawnTexts(&texts);
  run.write(out);
  kx::pdf::TraceDrawnTexts(nullptr);
  for (auto _ : state) {
    QFile file(out);
    file.open(QIODevice::WriteOnly);
    QPdfWriter writer(&file);
    writer.setResolution(254);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&writer);
    int page = 1;
    const QFont* font = nullptr;
    for (const kx::pdf::DrawnText& t : texts) {
      if (t.page != page) {
        writer.newPage();
        page = t.page;
      }
      if (font == nullptr || *font != t.font) {
        painter.setFont(t.font);
        font = &t.font;
      }
      painter.drawText(t.baseline, t.text);
    }
    painter.end();
  }
  state.counters["texts"] = static_cast<double>(texts.size());
}
BENCHMARK(BM_StartListPdfFloor)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);
}  // namespace
