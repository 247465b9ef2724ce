#include "handtime/handtimeprotocol.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "handtime/handrowmodel.h"
#include "handtime/runtimetakeover.h"
#include "lists/documentoutput.h"
#include "pdf/pdfdocument.h"
#include "pdf/pdfpen.h"

#include <functional>
#include <memory>

namespace kx {

namespace {

using pdf::PdfCheck;
using pdf::PdfSetNumProp;
using pdf::PdfSetStrProp;

QString TitleForFileName(const AppState& state) {
  QString title = state.currentListTitle();
  title.replace(QLatin1Char('/'), QLatin1Char('_'));
  return title;
}

// A protocol on the documents' output steps, under a file name and title of its own.
class ProtocolOutput : public DocumentOutput {
 public:
  ProtocolOutput(const AppState& state, QString proposed)
      : DocumentOutput(OutputContext::Of(state), {}), proposed_(std::move(proposed)) {}
  QString defaultFileName() const override { return proposed_; }

 private:
  QString proposed_;
};

// Save dialog, document with viewer flag and title, write check, then the pages drawn by
// `draw`; `beforePlacing` as DocumentOutput::FinishDoc runs it. An abandoned PDF output
// counts as a file that could not be written.
ProtocolOutcome WriteProtocol(const AppState& state, const QString& proposed, const QString& title,
                              const std::function<void(pdf::PdfDocument&)>& draw,
                              const std::function<void()>& beforePlacing = {}) {
  ProtocolOutput out(state, proposed);
  if (!out.AskFileName()) return ProtocolOutcome::Cancelled;
  try {
    out.CreateDoc(true);
    PdfSetStrProp(out.doc(), pdf::kPropTitle, title);
    if (!out.ProbeFile()) return ProtocolOutcome::NotWritable;
    out.BeginDoc();
    draw(out.doc());
    out.FinishDoc(1, false, beforePlacing);
  } catch (const pdf::PdfAbort&) {
    return ProtocolOutcome::NotWritable;
  }
  return ProtocolOutcome::Written;
}

// The room of the heading's lines, from 250 to the right margin.
constexpr int kHeadingWidth = 1720;

// Event name, date and discipline, and the protocol's title line.
void DrawHeading(pdf::PdfDocument& doc, const AppState& state, const ProtocolEvent& event,
                 const QString& titleLine) {
  PdfSetStrProp(doc, pdf::kPropFontName, QStringLiteral("Arial"));
  PdfSetNumProp(doc, pdf::kPropFontSize, 14);
  PdfSetNumProp(doc, pdf::kPropBold, 1);
  // Each line ends at the right margin.
  pdf::PdfPen pen(doc);
  PdfCheck(doc, doc.TextOut(250, 200, pen.cut(event.name, kHeadingWidth)));
  PdfCheck(doc, doc.TextOut(250, 260,
                            pen.cut(event.date + QStringLiteral("  ") + state.currentListTitle(),
                                    kHeadingWidth)));
  PdfSetNumProp(doc, pdf::kPropBold, 0);
  PdfCheck(doc, doc.TextOut(250, 360, titleLine));
}

void DrawHeads(pdf::PdfDocument& doc, const QStringList& heads) {
  static const int kX[] = {250, 420, 640, 860, 1080, 1300};
  PdfSetNumProp(doc, pdf::kPropFontSize, 10);
  PdfSetNumProp(doc, pdf::kPropBold, 1);
  for (int i = 0; i < 6; ++i) PdfCheck(doc, doc.TextOut(kX[i], 460, heads[i]));
}

void DrawCredit(pdf::PdfDocument& doc, const AppState& state) {
  PdfSetNumProp(doc, pdf::kPropBold, 0);
  PdfSetNumProp(doc, pdf::kPropFontSize, 8);
  PdfCheck(doc, doc.DrawText(130, 2900, 1970, 0, pdf::kAlignCenter, 0, state.CreditLine));
}

// One row: bib centred, four texts at their columns, the difference right-aligned.
struct ProtocolCell {
  QString text;
  bool bold = false;
};
void DrawRow(pdf::PdfDocument& doc, int y, const QString& bib, const ProtocolCell (&cells)[5]) {
  static const int kX[] = {420, 640, 860, 1080};
  PdfSetNumProp(doc, pdf::kPropFontSize, 10);
  PdfSetNumProp(doc, pdf::kPropBold, 0);
  PdfCheck(doc, doc.DrawText(250, y, 380, 0, pdf::kAlignCenter, 0, bib));
  for (int i = 0; i < 4; ++i) {
    PdfSetNumProp(doc, pdf::kPropBold, cells[i].bold ? 1 : 0);
    PdfCheck(doc, doc.TextOut(kX[i], y, cells[i].text));
  }
  PdfSetNumProp(doc, pdf::kPropBold, cells[4].bold ? 1 : 0);
  PdfCheck(doc, doc.DrawText(1300, y, 1420, 0, pdf::kAlignRight, 0, cells[4].text));
}

}  // namespace

ProtocolEvent ReadProtocolEvent(const AppState& state) {
  ProtocolEvent event;
  const db::Recordset rs = state.db().query(
      QStringLiteral("select bewerbsbezeichnung,datum_rangliste from tblDisziplin where dtyp = ") +
      QString::number(state.CurrentDisciplineType));
  if (rs.empty()) {
    state.Ui->message(QStringLiteral("Keine Daten gefunden!"), MsgIcon::Exclamation,
                      QStringLiteral("Achtung"));
    return event;
  }
  event.found = true;
  event.name = rs.at(rs.count() - 1, 0).toString();
  event.date = rs.at(rs.count() - 1, 1).toString();
  const qsizetype cut = event.name.indexOf(QLatin1String("\r\n"));
  if (cut >= 0) event.name.truncate(cut);
  return event;
}

QString DayTimeProtocolFileName(const AppState& state, HandMode mode, const QString& bib) {
  return state.CompetitionFileName + QLatin1Char('-') + TitleForFileName(state) +
         (mode == HandMode::Start ? QStringLiteral("-Handzeit_Start-StNr-")
                                  : QStringLiteral("-Handzeit_Ziel-StNr-")) +
         bib + QStringLiteral(".pdf");
}

QString RunTimeProtocolFileName(const AppState& state, const QString& bib) {
  return state.CompetitionFileName + QLatin1Char('-') + TitleForFileName(state) +
         QStringLiteral("-Handzeit-StNr-") + bib + QStringLiteral(".pdf");
}

ProtocolOutcome WriteDayTimeProtocol(const AppState& state, const HandRowModel& list,
                                     const DayTimeProtocolRequest& request) {
  const ProtocolEvent event = ReadProtocolEvent(state);
  const bool start = request.mode == HandMode::Start;
  const QString title = (start ? QStringLiteral("Handzeit-Start Start-Nr ")
                               : QStringLiteral("Handzeit-Ziel Start-Nr ")) +
                        request.bib;
  return WriteProtocol(
      state, DayTimeProtocolFileName(state, request.mode, request.bib), title,
      [&](pdf::PdfDocument& doc) {
        DrawHeading(doc, state, event,
                    (start ? QStringLiteral("Handzeitberechnung (Start) für Start-Nr. ")
                           : QStringLiteral("Handzeitberechnung (Ziel) für Start-Nr. ")) +
                        request.bib);
        DrawHeads(doc, {QStringLiteral("Start-Nr."), QStringLiteral("Startzeit"),
                        QStringLiteral("Zielzeit"), QStringLiteral("Laufzeit"),
                        QStringLiteral("Handzeit"), QStringLiteral("Differenz")});
        int y = 480;
        int printed = 0;
        for (int i = request.firstUsedRow; i <= request.lastUsedRow && printed < 11; ++i) {
          const HandCell& diff = list.cell(i, dtcol::kDiff);
          if (diff.text == QLatin1String(" ") || (i != request.bibRow && diff.bold)) continue;
          y += 50;
          auto cell = [&](int column) {
            const HandCell& c = list.cell(i, column);
            return ProtocolCell{c.text, c.bold};
          };
          const ProtocolCell cells[5] = {cell(dtcol::kStart),
                                         cell(dtcol::kZiel),
                                         cell(dtcol::kRun),
                                         {list.text(i, dtcol::kHand), false},
                                         cell(dtcol::kDiff)};
          DrawRow(doc, y, list.text(i, dtcol::kBib), cells);
          ++printed;
        }
        DrawCredit(doc, state);
      });
}

ProtocolOutcome WriteRunTimeProtocol(const AppState& state, const RunTimeTakeover& takeover,
                                     const ProtocolEvent& event,
                                     const std::function<void()>& store) {
  const HandRowModel& comparison = takeover.comparison();
  const QString bib = comparison.text(takeover.replacementRow(), cmpcol::kBib);
  auto handTimeOf = [](const HandRowModel& list, const QString& rowBib) {
    for (int i = 0; i < list.count(); ++i) {
      if (list.text(i, rtcol::kBib) == rowBib) return list.text(i, rtcol::kHand);
    }
    return QString();
  };
  const QStringList heads{QStringLiteral("Start-Nr."), QStringLiteral("Hz Start"),
                          QStringLiteral("Hz Ziel"),   QStringLiteral("Handzeit"),
                          QStringLiteral("el. Zeit"),  QStringLiteral("Differenz")};
  // Rows from y 530 in steps of 50; a row that would reach the foot starts a new page.
  constexpr int kRowsPerPage = 47;
  return WriteProtocol(
      state, RunTimeProtocolFileName(state, bib), QStringLiteral("Handzeit Start-Nr ") + bib,
      [&](pdf::PdfDocument& doc) {
        DrawHeading(doc, state, event, QStringLiteral("Handzeitberechnung für Start-Nr. ") + bib);
        DrawHeads(doc, heads);
        for (int r = 0; r < comparison.count(); ++r) {
          if (r > 0 && r % kRowsPerPage == 0) {
            DrawCredit(doc, state);
            PdfCheck(doc, doc.NewPage());
            DrawHeads(doc, heads);
          }
          const QString& rowBib = comparison.text(r, cmpcol::kBib);
          const HandCell& electronic = comparison.cell(r, cmpcol::kElectronic);
          const HandCell& diff = comparison.cell(r, cmpcol::kDiff);
          const ProtocolCell cells[5] = {{handTimeOf(takeover.starts(), rowBib), false},
                                         {handTimeOf(takeover.finishes(), rowBib), false},
                                         {comparison.text(r, cmpcol::kHand), false},
                                         {electronic.text, electronic.bold},
                                         {diff.text, diff.bold}};
          DrawRow(doc, 530 + 50 * (r % kRowsPerPage), rowBib, cells);
        }
        DrawCredit(doc, state);
      },
      store);
}

}  // namespace kx
