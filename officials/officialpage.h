#pragma once

// What the three officials' documents (gate-judge card, penalty protocol, referee protocol)
// print of the current discipline's event row, and the page-header pieces they share.

#include <QString>

namespace kx {

struct AppState;

// The event row of the current discipline as the officials' pages print it.
struct OfficialEvent {
  QString name;        // bewerbsbezeichnung up to its first line break
  QString date;        // datum_rangliste; empty when Null
  QString raceNumber;  // bewerbsnummer; empty when Null
  int runs = 0;        // durchgaenge
};

// The date line of the protocols' page header: the date, two blanks, the discipline title
// and, for the two FIS types, "  Damen" (type 0) or "  Herren" (type 1).
QString ProtocolDateLine(const AppState& state, const OfficialEvent& event);

}  // namespace kx

namespace kx::pdf {
class PdfPen;
}

namespace kx {

// Text that must stay inside its column (left to right) from `top`: drawn in `size` pt
// when it fits, else in the largest smaller size that fits (5 pt at least; 2 lower for each
// point less), and cut with "…" when even that is too wide. Leaves the font size as it
// drew.
void DrawInColumn(pdf::PdfPen& pen, int left, int right, int top, int align, const QString& text,
                  int size);

// The page header of the penalty and referee protocols: page title at (130, 130), event
// name and race number in bold, "DG <run>" and the date line below, and the credit line
// at the page foot. Leaves bold off.
void DrawProtocolHeader(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                        const QString& pageTitle, int run);

}  // namespace kx
