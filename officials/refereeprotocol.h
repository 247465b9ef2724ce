#pragma once

// The referee protocol: per run of the current discipline one page with the bibs of the
// racers who did not start and did not finish, the ruled table of the disqualified with
// their gate or remark, and the signature fields.

#include "common/resultline.h"
#include "officials/officialpage.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kx::pdf {
class PdfPen;
}

namespace kx {

struct AppState;

// A disqualification note split as the table prints it: "tor 12" and any text of at most
// four characters are the gate, every other text is a remark.
struct DisqualNote {
  QString gate;
  QString remark;
};
DisqualNote SplitDisqualText(const QString& text);

struct Disqualified {
  QString bib;
  QString name;  // nachname vorname, verein
  DisqualNote note;
};

// What one run's page shows.
struct RefereeRun {
  int run = 0;
  QStringList notStarted;   // bibs, ascending
  QStringList notFinished;  // bibs, ascending
  std::vector<Disqualified> disqualified;
};

// Reads one run of the current discipline (racers entered in it only).
RefereeRun ReadRefereeRun(const AppState& state, int run);

// The number of grid rows of a bib section: one more after every 13th bib, at least
// `least`.
int BibGridRows(int bibs, int least);

// Draws the pages of one run: the run's first page is the current page when `newPage` is
// false, else a new one. Nothing runs into the credit line: bib grids and the table
// continue on new pages under the page header.
void DrawRefereeRun(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                    const RefereeRun& run, bool newPage);

// Writes the protocol of the current discipline, one run after the other, as a PDF file
// through the officials' frame; `result` is the panel's result line.
void WriteRefereeProtocol(const AppState& state, bool openAfterOutput, ResultLine& result);

}  // namespace kx
