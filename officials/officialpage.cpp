#include "officials/officialpage.h"

#include "common/appstate.h"
#include "pdf/pdfpen.h"

namespace kx {

QString ProtocolDateLine(const AppState& state, const OfficialEvent& event) {
  QString line = event.date + QStringLiteral("  ") + state.currentListTitle();
  const int typ = state.Settings.typNumber();
  if (!state.Settings.typ.trimmed().isEmpty()) {
    if (typ == 0) line += QStringLiteral("  Damen");
    if (typ == 1) line += QStringLiteral("  Herren");
  }
  return line;
}

void DrawInColumn(pdf::PdfPen& pen, int left, int right, int top, int align, const QString& text,
                  int size) {
  QString shown = text;
  const int drop = pen.fitInto(shown, size, right - left);
  pen.drawText(left, top + drop, right, align, shown);
}

void DrawProtocolHeader(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                        const QString& pageTitle, int run) {
  pen.setFont(QStringLiteral("Arial"));
  pen.setSize(14);
  pen.setItalic(false);
  pen.setBold(false);
  pen.textOut(130, 130, pageTitle);
  pen.setBold(true);
  // The event name ends before the race number at the end of its line.
  const int numberLeft = 2015 - pen.textWidth(event.raceNumber);
  pen.textOut(760, 130, pen.cut(event.name, numberLeft - 20 - 760));
  pen.drawText(130, 130, 2015, pdf::kAlignRight, event.raceNumber);
  pen.setBold(false);
  pen.textOut(130, 190, QStringLiteral("DG ") + QString::number(run));
  pen.setBold(true);
  pen.textOut(760, 190, pen.cut(ProtocolDateLine(state, event), 2015 - 760));
  pen.setBold(false);
  pen.setSize(8);
  pen.centered(130, 1970, 2900, state.CreditLine);
}

}  // namespace kx
