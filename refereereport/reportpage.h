#pragma once

// The referee report's one A4 page: a fixed form of headings, labels and lines, with the
// report's values printed into it.

#include "refereereport/reportfields.h"

#include <QDate>

namespace kx::pdf {
class PdfPen;
}

namespace kx {

// "Saison 2025/26" from October 2025 to September 2026.
QString ReportSeasonText(const QDate& today);

// The gate counts of a run as printed: "40/38", or "     /38" without the gate number.
QString GateCountText(const QString& gates, const QString& changes);

// Draws the page on the open page of the pen's document.
void DrawRefereeReportPage(pdf::PdfPen& pen, const ReportValues& values, const QDate& today);

}  // namespace kx
