#pragma once

// The writing-board lists: a ruled grid of the start order on which the timekeepers at the
// finish write the times by hand. One row per racer (bib, name, birth year, club) and
// empty time columns; a heading row per group. The grid is shared by the lists of run 1
// and run 2; run 2 prints the run-1 time in its first time column.

#include "common/resultline.h"

#include <QString>

#include <vector>

namespace kx {

struct AppState;

namespace pdf {
class PdfPen;
}

// Page geometry of a board list, in tenths of a millimetre from the top left of the page.
struct BoardGeometry {
  static constexpr int kLeft = 70;         // left border
  static constexpr int kTop = 70;          // top rule of every page
  static constexpr int kCreditLeft = 130;  // credit line from here to creditRight

  int right = 2000;       // right border
  int headingTop = 110;   // heading text on the first page
  int headingRule = 210;  // rule under the heading
  int headingSize = 14;   // points, bold
  int rowHeight = 70;     // of a row and of a group heading row
  int textOffset = 11;    // text top below the row top
  int rowSize = 12;       // points: group heading, bib, name, birth year, run-1 time
  int clubSize = 10;      // points
  int clubDrop = 4;       // the club text lies this much below the row text
  int rowLimit = 2830;    // largest row top for a row of the running group
  int groupLimit = 2760;  // largest row top at which a new group may start
  int creditY = 2900;
  int creditRight = 1970;
  // Inner vertical lines, left to right: after the bib, the name, the birth year, the
  // club and between the time columns.
  std::vector<int> columnLines{170, 820, 950, 1470, 1735};
  int nameX = 180;
  int clubX = 960;
  int timeRight = 0;  // right edge of the run-1 time text; 0 when none is printed

  int nameWidth() const { return columnLines[1] - nameX; }
  int clubWidth() const { return columnLines[3] - clubX; }
};

// The geometry of portrait (A4 upright) or landscape pages with 2 or 3 time columns.
BoardGeometry BoardLayout(bool landscape, int timeColumns);

// What a row of the grid shows.
struct BoardRow {
  QString bib;
  QString name;
  QString year;
  QString club;
  QString time;  // run-1 time; printed only when the geometry has a time column for it
};

// Draws the grid page by page: rows in order, a heading row at each group change, the
// empty rows after each group, the page breaks, and the column lines of each block.
class BoardGrid {
 public:
  // `raceNumber` decides the words of the "W" and "M" groups (SexWord).
  BoardGrid(pdf::PdfPen& pen, BoardGeometry geometry, QString raceNumber, bool newPagePerGroup,
            int emptyRowsPerGroup);

  // The first page's top rule, heading and the rule under it. The heading is `name` followed
  // by `rest` on one line, the name cut with "…" where the line would be too long.
  void begin(const QString& name, const QString& rest);
  // One racer of group `klasse` ("-": no grouping, no heading row).
  void add(const QString& klasse, const BoardRow& row);
  // The empty rows of the last group, the column lines, and the credit line on the last
  // page.
  void finish(const QString& creditLine);

 private:
  void drawEmptyRows();
  void breakPage();
  void closeBlock();
  void closeGrid();
  void rule();

  pdf::PdfPen& pen_;
  BoardGeometry g_;
  QString raceNumber_;
  bool newPagePerGroup_;
  int emptyRows_;
  int y_ = 0;
  int blockTop_ = 0;
  QString previousGroup_;
};

struct BoardListOptions {
  QString grouping = QStringLiteral("keine Unterteilung");  // the grouping item's text
  bool newPagePerGroup = false;                             // "mit Seitenwechsel"
  bool landscape = false;                                   // "Querformat"
  int timeColumns = 2;                                      // 2 or 3
  int emptyRowsPerGroup = 2;                                // 0 to 5
  bool openAfterOutput = true;                              // "Tafelliste anzeigen"
};

// Writes the writing-board list of run 1 of the current discipline as a PDF file, in the
// run-1 start order. Returns the panel's result line. A file that cannot be written is
// reported and leaves the panel open.
ResultLine WriteBoardList(AppState& state, const BoardListOptions& options);

}  // namespace kx
