#include "startorder/boardlist.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listframe.h"
#include "pdf/pdfpen.h"
#include "startorder/startorder.h"

namespace kx {

BoardGeometry BoardLayout(bool landscape, int timeColumns) {
  const bool three = timeColumns >= 3;
  BoardGeometry g;
  if (!landscape) {
    g.columnLines = three ? std::vector<int>{170, 740, 860, 1320, 1545, 1770}
                          : std::vector<int>{170, 820, 950, 1470, 1735};
    g.nameX = 180;
    g.clubX = three ? 870 : 960;
    return g;
  }
  g.right = 2870;
  g.headingTop = 126;
  g.headingRule = 270;
  g.headingSize = 20;
  g.rowHeight = 100;
  g.textOffset = 16;
  g.rowSize = 17;
  g.clubSize = 14;
  g.clubDrop = 6;
  g.rowLimit = 1930;
  g.groupLimit = 1830;
  g.creditY = 2030;
  g.creditRight = 2840;
  g.columnLines = three ? std::vector<int>{220, 1070, 1240, 1898, 2222, 2546}
                        : std::vector<int>{220, 1170, 1360, 2100, 2485};
  g.nameX = 230;
  g.clubX = three ? 1250 : 1370;
  return g;
}

BoardGrid::BoardGrid(pdf::PdfPen& pen, BoardGeometry geometry, QString raceNumber,
                     bool newPagePerGroup, int emptyRowsPerGroup)
    : pen_(pen),
      g_(std::move(geometry)),
      raceNumber_(std::move(raceNumber)),
      newPagePerGroup_(newPagePerGroup),
      emptyRows_(emptyRowsPerGroup) {}

void BoardGrid::rule() {
  pen_.line(BoardGeometry::kLeft, y_, g_.right, y_);
}

void BoardGrid::begin(const QString& name, const QString& rest) {
  pen_.setLineWidth(2);
  y_ = BoardGeometry::kTop;
  rule();
  pen_.setFont(QStringLiteral("Arial"));
  pen_.setBold(true);
  pen_.setSize(g_.headingSize);
  pen_.centered(BoardGeometry::kLeft, g_.right, g_.headingTop,
                pen_.cutBefore(name, rest, g_.right - BoardGeometry::kLeft));
  // The column lines start under the heading: the heading box has none.
  y_ = g_.headingRule;
  rule();
  blockTop_ = y_;
}

void BoardGrid::add(const QString& klasse, const BoardRow& row) {
  const bool groupChange = klasse != previousGroup_;
  if (groupChange && !previousGroup_.isEmpty()) drawEmptyRows();

  // A new group needs room for its heading row and a first row; with a page per group
  // every group after the first starts on a new page.
  const bool fits = y_ <= (groupChange ? g_.groupLimit : g_.rowLimit);
  if (!fits || (groupChange && !previousGroup_.isEmpty() && newPagePerGroup_)) breakPage();

  if (groupChange) {
    closeBlock();
    if (klasse != QLatin1String("-")) {
      pen_.setSize(g_.rowSize);
      pen_.setBold(true);
      const int top = y_ + g_.textOffset;
      // On the one line of the heading row.
      pen_.centered(BoardGeometry::kLeft, g_.right, top,
                    pen_.cut(SexWord(klasse, raceNumber_), g_.right - BoardGeometry::kLeft));
      y_ = top + g_.rowHeight - g_.textOffset;
      rule();
    }
    previousGroup_ = klasse;
    blockTop_ = y_;
  }

  const int top = y_ + g_.textOffset;
  pen_.setSize(g_.rowSize);
  pen_.setBold(true);
  pen_.numberIn(BoardGeometry::kLeft + 5, g_.columnLines[0] - 5, top, pdf::kAlignCenter, row.bib,
                g_.rowSize);
  pen_.setBold(false);
  QString name = row.name;
  int drop = pen_.fitInto(name, g_.rowSize, g_.nameWidth());
  pen_.textOut(g_.nameX, top + drop, name);
  pen_.setSize(g_.rowSize);
  pen_.centered(g_.columnLines[1], g_.columnLines[2], top, row.year);
  QString club = row.club;
  drop = pen_.fitInto(club, g_.clubSize, g_.clubWidth(), 2, g_.clubDrop);
  pen_.textOut(g_.clubX, top + drop, club);
  if (g_.timeRight > 0) {
    pen_.setSize(g_.rowSize);
    pen_.drawText(g_.columnLines[3], top, g_.timeRight, pdf::kAlignRight, row.time);
  }
  y_ = top + g_.rowHeight - g_.textOffset;
  rule();
}

void BoardGrid::finish(const QString& creditLine) {
  drawEmptyRows();
  closeGrid();
  pen_.setBold(false);
  pen_.setSize(8);
  pen_.centered(BoardGeometry::kCreditLeft, g_.creditRight, g_.creditY, creditLine);
}

void BoardGrid::drawEmptyRows() {
  for (int i = 0; i < emptyRows_; ++i) {
    if (y_ > g_.rowLimit) breakPage();
    y_ += g_.rowHeight;
    rule();
  }
}

void BoardGrid::breakPage() {
  closeGrid();
  pdf::PdfCheck(pen_.doc(), pen_.doc().NewPage());
  y_ = BoardGeometry::kTop;
  blockTop_ = y_;
  rule();
}

void BoardGrid::closeBlock() {
  if (blockTop_ >= y_) return;
  for (const int x : g_.columnLines) pen_.line(x, blockTop_, x, y_);
}

void BoardGrid::closeGrid() {
  pen_.line(BoardGeometry::kLeft, BoardGeometry::kTop, BoardGeometry::kLeft, y_);
  closeBlock();
  pen_.line(g_.right, BoardGeometry::kTop, g_.right, y_);
}

ResultLine WriteBoardList(AppState& state, const BoardListOptions& options) {
  PdfListFrame frame(state, {QStringLiteral("Tafelliste"), QStringLiteral("-Tafelliste-"),
                             QStringLiteral("Tafelliste ")});
  if (!frame.OpenDoc(options.openAfterOutput, options.landscape)) return frame.result();
  const ListEvent& event = frame.ReadListEvent(QStringLiteral("Keine Daten gefunden!"));

  BoardGrid grid(frame.pen(), BoardLayout(options.landscape, options.timeColumns),
                 event.bewerbsnummer, options.newPagePerGroup, options.emptyRowsPerGroup);
  grid.begin(event.firstLine(), QStringLiteral("    ") + state.currentListTitle());

  const int count = BuildStartOrderRun1(state, options.grouping, false, 15, QString(), true);
  // The FIS types print the nation where the others print the club.
  const int typ = state.Settings.typNumber();
  const bool fis = typ == 0 || typ == 1;
  for (const int i : state.StartOrder.order()) {
    const StartOrderEntry& e = state.StartOrder[i];
    grid.add(e.klasse,
             {e.startnr, e.name, e.jahrgang, fis ? e.nation : CapitalizeClubName(e.verein), {}});
  }
  grid.finish(state.CreditLine);

  frame.FinishDoc(count);
  frame.AddResultNote(LeftOutLine(state, count, true));
  return frame.result();
}

}  // namespace kx
