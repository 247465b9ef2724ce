#include "handtime/demohandtimes.h"

#include "db/competitionbuilder.h"
#include "devices/handtimestore.h"
#include "handtime/handtimenumbers.h"

#include <QDir>
#include <QMap>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace kx {

namespace {

constexpr int kDiscipline = 2;   // giant slalom, the discipline the demo race opens with
constexpr int kRun = 2;          // the run the takeover panel proposes
constexpr int kNeighbours = 10;  // finishers on each side of the missing finish time

struct Finish {
  qint64 start = 0;
  std::optional<qint64> ziel;
  int bib = 0;
};

}  // namespace

DemoHandTimes DemoFinishHandTimes() {
  const db::CompetitionSpec race = db::DemoCompetition();
  QMap<int, int> bibs;
  for (const db::TeilnehmerSpec& t : race.teilnehmer) {
    const auto d = t.disziplinen.constFind(kDiscipline);
    if (d != t.disziplinen.constEnd() && d->startnr) bibs.insert(t.id, *d->startnr);
  }
  std::vector<Finish> run;  // the starters of the run, in start order
  for (const db::ZeitSpec& z : race.zeiten) {
    if (z.disziplin != kDiscipline || z.durchgang != kRun || !z.start) continue;
    Finish f{DayToHundredths(*z.start), std::nullopt, bibs.value(z.teilnehmer)};
    if (z.ziel) f.ziel = DayToHundredths(*z.ziel);
    run.push_back(f);
  }
  std::sort(run.begin(), run.end(),
            [](const Finish& a, const Finish& b) { return a.start < b.start; });

  // The first starter without a finish time who has enough finishers before and after him.
  DemoHandTimes demo;
  demo.fileName = QStringLiteral("Bezirkscup-Riesenslalom-Handzeit-Ziel.txt");
  demo.run = kRun;
  for (size_t i = 0; i < run.size() && demo.missingBib == 0; ++i) {
    if (run[i].ziel) continue;
    std::vector<size_t> before, after;
    for (size_t j = i; j-- > 0 && before.size() < kNeighbours;)
      if (run[j].ziel) before.push_back(j);
    for (size_t j = i + 1; j < run.size() && after.size() < kNeighbours; ++j)
      if (run[j].ziel) after.push_back(j);
    if (before.size() < kNeighbours || after.size() < kNeighbours) continue;

    // The stopwatch stops a little late, by 0.08 to 0.20 s.
    auto late = [](size_t k) { return 8 + static_cast<qint64>(k * 7 % 13); };
    // His run as long as the mean of the finishers before him, plus a fall's 1.5 s.
    qint64 sum = 0;
    for (size_t j : before) sum += *run[j].ziel - run[j].start;
    const qint64 missing = run[i].start + sum / static_cast<qint64>(before.size()) + 150 + late(i);

    std::vector<qint64> times{missing};
    for (size_t j : before) times.push_back(*run[j].ziel + late(j));
    for (size_t j : after) times.push_back(*run[j].ziel + late(j));
    std::sort(times.begin(), times.end());
    for (qint64 t : times) demo.finish.push_back(HandTime{db::HundredthsToDay(t)});
    demo.missingBib = run[i].bib;
  }
  return demo;
}

DemoHandTimes WriteDemoHandTimeFile(const QString& dir) {
  DemoHandTimes demo = DemoFinishHandTimes();
  const QString error = WriteHandTimeFile(QDir(dir).filePath(demo.fileName), demo.finish);
  if (!error.isEmpty()) throw std::runtime_error(error.toStdString());
  return demo;
}

}  // namespace kx
