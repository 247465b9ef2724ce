#pragma once

// The officials' documents written through their panels, read back as words (poppler)
// and as stroked lines (pdftocairo's SVG keeps the page units).

#include "db/competitionbuilder.h"
#include "db/database.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

namespace kx::test {

struct Stroke {
  double x1, y1, x2, y2, width;
  bool horizontal() const { return std::abs(y1 - y2) < 0.5; }
};

inline std::vector<Stroke> StrokesOf(const QString& pdfPath, int page) {
  const QString svg = pdfPath + QString("-%1.svg").arg(page);
  const QString p = QString::number(page);
  QProcess::execute("pdftocairo", {"-svg", "-f", p, "-l", p, pdfPath, svg});
  QFile file(svg);
  std::vector<Stroke> strokes;
  if (!file.open(QIODevice::ReadOnly)) return strokes;
  const QString text = QString::fromUtf8(file.readAll());
  static const QRegularExpression path(R"re(<path[^>]*stroke-width:([0-9.]+);[^>]*d="([^"]*)")re");
  static const QRegularExpression step(R"re(([MLZ])\s*(?:(-?[0-9.]+)\s+(-?[0-9.]+))?)re");
  for (auto m = path.globalMatch(text); m.hasNext();) {
    const auto match = m.next();
    QPointF first, last;
    for (auto s = step.globalMatch(match.captured(2)); s.hasNext();) {
      const auto sm = s.next();
      const QPointF at = sm.captured(1) == "Z"
                             ? first
                             : QPointF(sm.captured(2).toDouble(), sm.captured(3).toDouble());
      if (sm.captured(1) == "M") {
        first = at;
      } else {
        strokes.push_back({last.x(), last.y(), at.x(), at.y(), match.captured(1).toDouble()});
      }
      last = at;
    }
  }
  return strokes;
}

// The y of the horizontal strokes that reach from `left` to `right`, ascending, once each.
inline std::vector<int> RulesBetween(const std::vector<Stroke>& strokes, double left,
                                     double right) {
  std::vector<int> ys;
  for (const Stroke& s : strokes) {
    if (s.horizontal() && std::abs(std::min(s.x1, s.x2) - left) < 1 &&
        std::abs(std::max(s.x1, s.x2) - right) < 1)
      ys.push_back(static_cast<int>(std::lround(s.y1)));
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  return ys;
}

inline db::TeilnehmerSpec Racer(int id, const QString& sex, int bib) {
  db::TeilnehmerSpec t{id, sex, QString("Racer%1").arg(id), "Test", QString("SC Musterdorf")};
  t.jahrgang = 2010;
  t.disziplinen[2] = {true, bib, 9999.99, 9999.99};
  return t;
}

// A giant-slalom time row; a run time gives start and finish too.
inline db::ZeitSpec Time(int teilnehmer, int run, int ergcode, std::optional<qint64> hundredths,
                         std::optional<QString> disqualtext = std::nullopt) {
  db::ZeitSpec z{teilnehmer, 2, run, ergcode};
  if (hundredths) {
    z.netto = db::HundredthsToDay(*hundredths);
    z.start = 0.4;
    z.ziel = 0.4 + *z.netto;
  }
  z.disqualtext = std::move(disqualtext);
  return z;
}

class OfficialsTest : public AppFixture {
 protected:
  // Opens the race (current discipline: the giant slalom); `race.teilnehmer` replaces the
  // small competition's racers.
  void openRace(const db::CompetitionSpec& race) {
    openThroughMenu(writeCompetition("Cup.mdb", race));
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  }
  QString out(const QString& name) { return QDir(dataDir()).filePath(name); }
  QLabel* label(const QString& name) { return window().findChild<QLabel*>(name); }
  // Opens the panel of `entry` unless it is open and presses F2 with `file` chosen.
  PdfReader write(const QString& entry, const QString& file) {
    if (window().currentPanel().isEmpty()) trigger(entry);
    ui().chooseSaveFile(out(file));
    QTest::keyClick(&window(), Qt::Key_F2);
    if (QFileInfo(out(file)).isFile()) KeepForLooking(out(file), file);
    return PdfReader(out(file));
  }
};

}  // namespace kx::test
