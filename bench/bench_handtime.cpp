// The hand-time takeover on large races: the day-time list of 5,000 racers with 2,000
// hand times (and of 500 with 500), one assignment, the takeover with its rebuild, and the
// run-time comparison of 2,000 assigned pairs.

#include "devices/handtimetext.h"
#include "handtime/daytimetakeover.h"
#include "handtime/runtimetakeover.h"
#include "tests/handtime/handtimefixture.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using kx::test::At;
using kx::test::Timed;

// Racers 10 s apart with runs of about 60 s; every 25th has no finish. Hand times: one
// for each racer without a finish, the rest on finished racers, `hands` in all.
struct DayRace {
  std::vector<Timed> racers;
  std::vector<qint64> hands;
  std::vector<int> missing;  // bibs without a finish
};

DayRace MakeDayRace(int racers, int hands) {
  DayRace race;
  for (int i = 0; i < racers; ++i) {
    const qint64 start = At(9, 0, 0) + i * 1000;
    const bool finished = i % 25 != 3;
    race.racers.push_back({i + 1, start, finished ? start + 6000 + i % 50 : 0, finished ? 0 : 2});
    if (!finished) {
      race.missing.push_back(i + 1);
      race.hands.push_back(start + 6000);
    }
  }
  for (int i = 0; i < racers && static_cast<int>(race.hands.size()) < hands; ++i) {
    if (i % 25 != 3) race.hands.push_back(race.racers[static_cast<size_t>(i)].finish + 5);
  }
  return race;
}

struct Opened {
  QTemporaryDir dir;
  kx::AppState state;
  kx::test::ScriptedUi ui;
  DayRace race;
};

std::unique_ptr<Opened> OpenDayRace(int racers, int hands) {
  auto o = std::make_unique<Opened>();
  o->race = MakeDayRace(racers, hands);
  const QString path = o->dir.filePath(QStringLiteral("gross.mdb"));
  kx::db::BuildCompetitionFile(path, kx::test::TimedRace(o->race.racers));
  kx::OpenCompetitionFile(o->state, path);
  o->state.Ui = &o->ui;
  for (qint64 h : o->race.hands) o->state.HzZiel.push_back({kx::db::HundredthsToDay(h)});
  return o;
}

int HandRow(const kx::HandRowModel& list, const QString& text) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.text(i, kx::dtcol::kBib) == QLatin1String("-") &&
        list.text(i, kx::dtcol::kHand) == text) {
      return i;
    }
  }
  return -1;
}

int BibRow(const kx::HandRowModel& list, const QString& bib) {
  for (int i = 0; i < list.count(); ++i)
    if (list.text(i, kx::dtcol::kBib) == bib) return i;
  return -1;
}

QString HandText(const Opened& o, int bib) {
  const Timed& r = o.race.racers[static_cast<size_t>(bib - 1)];
  return kx::FormatHandTime(kx::db::HundredthsToDay(r.start + 6000), QStringLiteral("rnd"));
}

void BM_DayTimeBuild(benchmark::State& bench) {
  auto o = OpenDayRace(static_cast<int>(bench.range(0)), static_cast<int>(bench.range(1)));
  kx::DayTimeTakeover takeover(o->state);
  for (auto _ : bench) {
    takeover.Build(kx::HandMode::Ziel, 1);
    benchmark::DoNotOptimize(takeover.rows());
  }
  bench.counters["rows"] = takeover.rows();
}
BENCHMARK(BM_DayTimeBuild)->Args({5000, 2000})->Args({500, 500})->Unit(benchmark::kMillisecond);

void BM_DayTimeAssign(benchmark::State& bench) {
  auto o = OpenDayRace(5000, 2000);
  kx::DayTimeTakeover takeover(o->state);
  takeover.writeProtocol = [](const kx::DayTimeProtocolRequest&) {
    return kx::ProtocolOutcome::Cancelled;
  };
  takeover.Build(kx::HandMode::Ziel, 1);
  size_t next = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    const int bib = o->race.missing[next++ % o->race.missing.size()];
    takeover.list().select(HandRow(takeover.list(), HandText(*o, bib)));
    bench.ResumeTiming();
    takeover.AssignBib(QString::number(bib));
    bench.PauseTiming();
    takeover.list().select(BibRow(takeover.list(), QString::number(bib)));
    takeover.Undo();
    bench.ResumeTiming();
  }
}
BENCHMARK(BM_DayTimeAssign)->Unit(benchmark::kMillisecond);

void BM_DayTimeTakeover(benchmark::State& bench) {
  auto o = OpenDayRace(5000, 2000);
  kx::DayTimeTakeover takeover(o->state);
  takeover.writeProtocol = [](const kx::DayTimeProtocolRequest&) {
    return kx::ProtocolOutcome::Cancelled;
  };
  size_t next = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    const int bib = o->race.missing[next++ % o->race.missing.size()];
    o->state.db().execute(QStringLiteral("update tblZeit set ziel=null,netto=null,ergcode=2 "
                                         "where teilnehmer=?"),
                          {bib});
    takeover.Build(kx::HandMode::Ziel, 1);
    takeover.list().select(HandRow(takeover.list(), HandText(*o, bib)));
    takeover.AssignBib(QString::number(bib));
    bench.ResumeTiming();
    benchmark::DoNotOptimize(takeover.Takeover());
  }
}
BENCHMARK(BM_DayTimeTakeover)->Unit(benchmark::kMillisecond);

// 5,000 racers timed by run times; 2,000 start and finish hand times carry their bibs,
// the last of them without an electronic run time.
void BM_RunTimeCompare(benchmark::State& bench) {
  Opened o;
  constexpr int kPairs = 2000;
  for (int i = 0; i < 5000; ++i) {
    Timed t;
    t.bib = i + 1;
    t.netto = 6000 + i % 50;
    if (i == kPairs - 1) t.netto.reset();
    t.row = t.netto.has_value();
    o.race.racers.push_back(t);
  }
  const QString path = o.dir.filePath(QStringLiteral("lauf.mdb"));
  kx::db::BuildCompetitionFile(path, kx::test::TimedRace(o.race.racers));
  kx::OpenCompetitionFile(o.state, path);
  o.state.Ui = &o.ui;
  for (int i = 0; i < kPairs; ++i) {
    const qint64 start = At(9, 0, 0) + i * 1000;
    o.state.HzStart.push_back({kx::db::HundredthsToDay(start)});
    o.state.HzZiel.push_back({kx::db::HundredthsToDay(start + 6005 + i % 50)});
  }
  kx::RunTimeTakeover takeover(o.state);
  takeover.Open(1);
  takeover.starts().select(0);
  takeover.AssignStart(QStringLiteral("1"));  // the lists now keep their bibs
  for (int i = 1; i < kPairs; ++i) {
    takeover.starts().setText(i, kx::rtcol::kBib, QString::number(i + 1));
    takeover.starts().setText(i, kx::rtcol::kId, QString::number(i + 1));
    takeover.finishes().setText(i, kx::rtcol::kBib, QString::number(i + 1));
  }
  for (auto _ : bench) {
    takeover.Compare(1);
    benchmark::DoNotOptimize(takeover.replacementRow());
  }
  bench.counters["rows"] = takeover.comparison().count();
  bench.counters["replacement"] = takeover.replacementRow();
}
BENCHMARK(BM_RunTimeCompare)->Unit(benchmark::kMillisecond);

}  // namespace
