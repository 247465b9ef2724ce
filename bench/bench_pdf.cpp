// Writing a start list of 20 pages with 60 rows a page: heading, column heads, rows of a
// few texts each with a thin rule, and the foot block.

#include "pdf/pdfdocument.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace kx::pdf;

void WriteStartList(PdfDocument& doc) {
  int bib = 0;
  for (int page = 1; page <= 20; ++page) {
    if (page > 1) PdfCheck(doc, doc.NewPage());
    PdfSetStrProp(doc, kPropFontName, QStringLiteral("Arial"));
    PdfSetNumProp(doc, kPropFontSize, 16);
    PdfSetNumProp(doc, kPropBold, 1);
    PdfCheck(doc, doc.DrawText(130, 110, 1970, 0, kAlignCenter, 0,
                               QStringLiteral("Bezirkscup Kitzbühel\r\nRiesentorlauf")));
    PdfCheck(doc, doc.DrawText(130, 325, 1970, 0, kAlignCenter, 0, QStringLiteral("STARTLISTE")));
    PdfSetNumProp(doc, kPropLineWidth, 1);
    PdfCheck(doc, doc.MoveTo(100, 395));
    PdfCheck(doc, doc.LineTo(2020, 395));
    PdfCheck(doc, doc.MoveTo(100, 400));
    PdfCheck(doc, doc.LineTo(2020, 400));
    PdfSetNumProp(doc, kPropFontSize, 10);
    PdfCheck(doc, doc.TextOut(100, 450, QStringLiteral("StNr")));
    PdfCheck(doc, doc.TextOut(300, 450, QStringLiteral("Name")));
    PdfCheck(doc, doc.TextOut(1100, 450, QStringLiteral("Verein")));
    PdfCheck(doc, doc.DrawText(1700, 450, 2020, 0, kAlignRight, 0, QStringLiteral("Jahrgang")));
    PdfSetNumProp(doc, kPropBold, 0);
    int y = 535;
    for (int row = 0; row < 60; ++row, y += 35) {
      ++bib;
      PdfCheck(doc, doc.DrawText(100, y, 250, 0, kAlignRight, 0, QString::number(bib)));
      PdfCheck(doc, doc.TextOut(300, y, QStringLiteral("Müller-Lüdenscheidt Jörg %1").arg(bib)));
      PdfCheck(doc, doc.TextOut(1100, y, QStringLiteral("SC Großarl-Hüttschlag")));
      PdfCheck(doc,
               doc.DrawText(1700, y, 2020, 0, kAlignRight, 0, QString::number(2000 + bib % 20)));
      PdfCheck(doc, doc.MoveTo(100, y + 33));
      PdfCheck(doc, doc.LineTo(2020, y + 33));
    }
    PdfSetNumProp(doc, kPropBold, 1);
    PdfCheck(doc, doc.TextOut(100, 2670, QStringLiteral("07.12.2026 / Kitzbühel (AUT)")));
    PdfCheck(doc, doc.DrawText(1000, 2670, 2020, 0, kAlignRight, 0,
                               QStringLiteral("Seite %1").arg(page)));
    PdfSetNumProp(doc, kPropBold, 0);
    PdfSetNumProp(doc, kPropFontSize, 8);
    PdfCheck(doc, doc.DrawText(100, 2735, 2020, 0, kAlignCenter, 0,
                               QStringLiteral("erstellt mit Kandrix - Version 3.7.6")));
  }
}

void BM_PdfStartList20Pages(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("Startliste.pdf"));
  for (auto _ : state) {
    PdfDocument doc(nullptr);
    PdfSetStrProp(doc, kPropTitle, QStringLiteral("Startliste Bezirkscup"));
    PdfSetStrProp(doc, kPropFileName, file);
    PdfCheck(doc, doc.BeginDoc());
    WriteStartList(doc);
    PdfCheck(doc, doc.EndDoc());
  }
}
BENCHMARK(BM_PdfStartList20Pages)->Unit(benchmark::kMillisecond);

// One text of n characters wrapped between the page margins, as words (second argument 0)
// or as one word without a blank (1): the time grows with the text, not with its square.
void BM_PdfLongWrappedText(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("Urkunde.pdf"));
  const auto n = static_cast<qsizetype>(state.range(0));
  const QString text = state.range(1) == 0 ? QStringLiteral("Siegerin ").repeated(n / 9 + 1).left(n)
                                           : QString(n, QLatin1Char('x'));
  for (auto _ : state) {
    PdfDocument doc(nullptr);
    PdfSetStrProp(doc, kPropFileName, file);
    PdfCheck(doc, doc.BeginDoc());
    PdfSetNumProp(doc, kPropFontSize, 12);
    PdfCheck(doc, doc.DrawText(100, 100, 2000, 0, kAlignLeft, 0, text));
    PdfCheck(doc, doc.EndDoc());
  }
}
BENCHMARK(BM_PdfLongWrappedText)
    ->Args({3000, 0})
    ->Args({30000, 0})
    ->Args({3000, 1})
    ->Args({30000, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
