#pragma once

// A competition file with an application state around it, and a document to draw the
// officials' pages on and read back.

#include "common/appstate.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "officials/officialpage.h"
#include "pdf/pdfdocument.h"
#include "pdf/pdfpen.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace kx::test {

// A straight stroke of a page (a rule, or a side of a box), in page units.
struct Stroke {
  double x1, y1, x2, y2, width;
  bool horizontal() const { return std::abs(y1 - y2) < 0.5; }
  bool vertical() const { return std::abs(x1 - x2) < 0.5; }
};

// The stroked lines of one page: the PDF converted to SVG by pdftocairo, whose paths keep
// the document's own units.
inline std::vector<Stroke> StrokesOf(const QString& pdfPath, int page) {
  const QString svg = pdfPath + QString("-%1.svg").arg(page);
  QProcess::execute("pdftocairo", {"-svg", "-f", QString::number(page), "-l", QString::number(page),
                                   pdfPath, svg});
  QFile file(svg);
  std::vector<Stroke> strokes;
  if (!file.open(QIODevice::ReadOnly)) return strokes;
  const QString text = QString::fromUtf8(file.readAll());
  static const QRegularExpression path(R"re(<path[^>]*stroke-width:([0-9.]+);[^>]*d="([^"]*)")re");
  static const QRegularExpression point(R"re(([MLZ])\s*(?:(-?[0-9.]+)\s+(-?[0-9.]+))?)re");
  for (auto m = path.globalMatch(text); m.hasNext();) {
    const auto match = m.next();
    const double width = match.captured(1).toDouble();
    QPointF first, last;
    for (auto p = point.globalMatch(match.captured(2)); p.hasNext();) {
      const auto pm = p.next();
      const QString op = pm.captured(1);
      const QPointF at =
          op == "Z" ? first : QPointF(pm.captured(2).toDouble(), pm.captured(3).toDouble());
      if (op == "M") {
        first = at;
      } else {
        strokes.push_back({last.x(), last.y(), at.x(), at.y(), width});
      }
      last = at;
    }
  }
  return strokes;
}

// The y of the horizontal strokes that span from `left` to `right` (within one unit).
inline std::vector<int> RulesBetween(const std::vector<Stroke>& strokes, double left,
                                     double right) {
  std::vector<int> ys;
  for (const Stroke& s : strokes) {
    if (s.horizontal() && std::abs(std::min(s.x1, s.x2) - left) < 1 &&
        std::abs(std::max(s.x1, s.x2) - right) < 1) {
      ys.push_back(static_cast<int>(std::lround(s.y1)));
    }
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  return ys;
}

class OfficialsFixture : public ::testing::Test {
 protected:
  // Writes and opens `race` with the giant slalom (dtyp 2, "gs") as current discipline.
  void open(const db::CompetitionSpec& race) {
    const QString path = dir_.filePath("Cup.mdb");
    db::BuildCompetitionFile(path, race);
    state_.CompetitionDb = db::Connection::open(path);
    state_.CompetitionDir = dir_.path();
    state_.CompetitionFileName = "Cup";
    state_.CurrentDisciplineType = 2;
    state_.CurrentDisciplineCode = "gs";
    state_.DisciplineNames[2] = "Riesenslalom";
    state_.DisciplineListTitles[2] = "Riesenslalom";
    state_.Settings.typ = QString::number(race.bewerb.typ);
    state_.CreditLine = "erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6";
    state_.Ui = &ui_;
  }

  // Draws on a new document and reads it back; `name` is kept for looking at.
  PdfReader draw(const QString& name, bool landscape,
                 const std::function<void(pdf::PdfPen&)>& pages) {
    const QString path = dir_.filePath(name);
    {
      pdf::PdfDocument doc(&ui_);
      pdf::PdfSetStrProp(doc, pdf::kPropFileName, path);
      if (landscape) pdf::PdfSetNumProp(doc, pdf::kPropLandscape, 1);
      pdf::PdfCheck(doc, doc.BeginDoc());
      pdf::PdfPen pen(doc);
      pages(pen);
      pdf::PdfCheck(doc, doc.EndDoc());
    }
    KeepForLooking(path, name);
    return PdfReader(path);
  }

  OfficialEvent event_{"Bezirkscup", "16.01.2027", "1234", 2};
  QTemporaryDir dir_;
  ScriptedUi ui_;
  AppState state_;
};

// A racer entered in the giant slalom with bib `bib`.
inline db::TeilnehmerSpec Racer(int id, const QString& sex, int bib,
                                std::optional<QString> verein = QString("SC Musterdorf")) {
  db::TeilnehmerSpec t;
  t.id = id;
  t.sex = sex;
  t.nachname = QString("Racer%1").arg(id);
  t.vorname = "Test";
  t.jahrgang = 2010;
  t.verein = std::move(verein);
  t.disziplinen[2] = {true, bib, 9999.99, 9999.99};
  return t;
}

// A time row of the giant slalom.
inline db::ZeitSpec Time(int teilnehmer, int run, int ergcode, std::optional<qint64> hundredths,
                         std::optional<QString> disqualtext = std::nullopt) {
  db::ZeitSpec z;
  z.teilnehmer = teilnehmer;
  z.disziplin = 2;
  z.durchgang = run;
  z.ergcode = ergcode;
  if (hundredths) {
    z.start = 0.4;
    z.netto = db::HundredthsToDay(*hundredths);
    z.ziel = 0.4 + *z.netto;
  }
  z.disqualtext = std::move(disqualtext);
  return z;
}

}  // namespace kx::test
