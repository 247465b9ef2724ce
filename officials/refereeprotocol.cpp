#include "officials/refereeprotocol.h"

#include "common/appstate.h"
#include "db/database.h"
#include "officials/officialdocframe.h"
#include "pdf/pdfpen.h"

#include <algorithm>

namespace kx {

namespace {

const QString kPageTitle = QStringLiteral("Schiedsrichterprotokoll");

constexpr int kLeft = 130;
constexpr int kRight = 2015;
constexpr int kFirstY = 290;  // first y below the page header
constexpr int kRow = 90;      // height of a grid or table row
constexpr int kCell = 145;    // width of a bib cell
constexpr int kBibsPerRow = 13;
constexpr int kTableHead = 110;  // from the table's heading to its head line
// The lowest bottom of a grid or table: the signature block follows at 130 below it and
// stays clear of the credit line at 2900.
constexpr int kLowestBottom = 2670;
// The gate texts: their size, the smallest they shrink to, and their room off the rules.
constexpr int kGateSize = 14;
constexpr int kSmallestGateSize = 6;
constexpr int kGatePadding = 3;

// The rows of one result code in one run of the entered racers, by bib: `columns` and the
// bib as "startnr".
db::Recordset ReadRunRows(const AppState& state, int run, int ergcode, const QString& columns) {
  const QString c = state.CurrentDisciplineCode;
  return state.db().query(QStringLiteral("select ") + columns + QStringLiteral("t.startnr") + c +
                              QStringLiteral(" as startnr from tblTeilnehmer t,tblZeit z "
                                             "where t.id = z.teilnehmer and z.disziplin=? and "
                                             "z.durchgang=? and z.ergcode=? and t.") +
                              c + QStringLiteral("aktiv = true order by t.startnr") + c,
                          {state.CurrentDisciplineType, run, ergcode});
}

QStringList ReadBibs(const AppState& state, int run, int ergcode) {
  const db::Recordset rs = ReadRunRows(state, run, ergcode, QString());
  QStringList bibs;
  bibs.reserve(rs.count());
  for (int i = 0; i < rs.count(); ++i) bibs.append(rs.at(i, 0).toString());
  return bibs;
}

// A gate text in the cell from `left` to `right` of the table row from `rowTop`: on one
// line at 14 pt where it fits; else broken at its blanks onto two lines, at the largest
// size at which both fit the cell, not below 6 pt. There, what still does not fit is cut
// with "…" at the end of the second line.
void DrawGateText(pdf::PdfPen& pen, int left, int right, int rowTop, const QString& text) {
  const int width = right - left - 2 * kGatePadding;
  pen.setSize(kGateSize);
  if (pen.textWidth(text) <= width) {
    pen.centered(left, right, rowTop + 20, text);
    return;
  }
  const QString gate = text.simplified();
  const QStringList words = gate.split(QLatin1Char(' '));
  QStringList lines;
  int lineHeight = 0;
  for (int size = kGateSize; size >= kSmallestGateSize; --size) {
    pen.setSize(size);
    lines = pen.wrapText(left + kGatePadding, right - kGatePadding, gate);
    lineHeight = pen.textHeight(left, right, QStringLiteral("0"));
    const bool wordsWhole = std::all_of(words.begin(), words.end(), [&](const QString& word) {
      return pen.textWidth(word) <= width;
    });
    if (wordsWhole && lines.size() <= 2 && 2 * lineHeight <= kRow - 2 * kGatePadding) break;
    if (size == kSmallestGateSize && lines.size() > 1) {
      // The rest after the first line, cut into the second.
      lines = QStringList{lines.first(), pen.cut(gate.mid(lines.first().size()).trimmed(), width)};
    }
  }
  int top = rowTop + (kRow - static_cast<int>(lines.size()) * lineHeight) / 2;
  for (const QString& line : lines) {
    pen.centered(left, right, top, line);
    top += lineHeight;
  }
}

class RefereePages {
 public:
  RefereePages(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event, int run)
      : pen_(pen), state_(state), event_(event), run_(run) {}

  void startPage(bool newPage) {
    if (newPage) pdf::PdfCheck(pen_.doc(), pen_.doc().NewPage());
    DrawProtocolHeader(pen_, state_, event_, kPageTitle, run_);
    y_ = kFirstY;
  }

  // A bib section: heading, then the grid of `rows` rows holding the bibs 13 to a row.
  // Rows that do not fit above the lowest bottom continue on a new page.
  void bibSection(const QString& heading, const QStringList& bibs, int least) {
    int rows = BibGridRows(static_cast<int>(bibs.size()), least);
    qsizetype next = 0;
    while (rows > 0) {
      int fit = (kLowestBottom - (y_ + 50)) / kRow;
      if (fit < 1) {
        startPage(true);
        fit = (kLowestBottom - (y_ + 50)) / kRow;
      }
      const int here = std::min(rows, fit);
      pen_.setBold(true);
      pen_.setSize(10);
      pen_.textOut(kLeft, y_, heading);
      y_ += 50;
      const int top = y_;
      pen_.setLineWidth(4);
      pen_.line(kLeft, top, kRight, top);
      pen_.setBold(false);
      pen_.setSize(14);
      for (int r = 0; r < here; ++r) {
        for (int k = 0; k < kBibsPerRow && next < bibs.size(); ++k, ++next) {
          const int x = kLeft + k * kCell;
          pen_.centered(x, x + kCell, top + r * kRow + 20, bibs[next]);
        }
      }
      std::vector<int> columns;
      for (int j = 1; j < kBibsPerRow; ++j) columns.push_back(kLeft + kCell * j);
      ruledRows(top, here, columns);
      y_ += 50;
      rows -= here;
    }
  }

  void disqualifiedTable(const std::vector<Disqualified>& rows) {
    // When not even one row fits below the bib grids, the table starts on a new page.
    if ((kLowestBottom - (y_ + kTableHead)) / kRow < 1) startPage(true);
    int capacity = tableHead();
    int i = 0;
    int ty = y_ + 20;
    for (const Disqualified& row : rows) {
      if (i >= capacity) {
        tableGrid(capacity);
        startPage(true);
        capacity = tableHead();
        i = 0;
        ty = y_ + 20;
      }
      pen_.setSize(14);
      pen_.centered(kLeft, 275, ty, row.bib);
      // Long names and remarks shrink to stay in their columns; gates break first.
      DrawInColumn(pen_, 290, 870, ty + 8, pdf::kAlignLeft, row.name, 10);
      if (!row.note.gate.isEmpty()) {
        DrawGateText(pen_, 875, 1020, ty - 20, row.note.gate);
      } else if (!row.note.remark.isEmpty()) {
        DrawInColumn(pen_, 1535, 2010, ty + 8, pdf::kAlignLeft, row.note.remark, 10);
      }
      ty += kRow;
      ++i;
    }
    tableGrid(capacity);
  }

  void signatures() {
    const int y = y_ + 130;
    pen_.setLineWidth(2);
    pen_.line(130, y, 380, y);
    pen_.line(430, y, 680, y);
    pen_.line(1150, y, 1400, y);
    pen_.line(1450, y, 2015, y);
    pen_.setBold(false);
    pen_.setSize(8);
    pen_.centered(130, 380, y + 5, QStringLiteral("Anschlagzeit"));
    pen_.centered(430, 680, y + 5, QStringLiteral("Ablauf"));
    pen_.centered(1150, 1400, y + 5, QStringLiteral("Datum"));
    pen_.centered(1450, 2015, y + 5, QStringLiteral("Schiedsrichter / Nat. TD"));
  }

 private:
  // The table's heading, column heads and head line; y then stands on the head line.
  // Returns the number of rows that fit above the lowest bottom.
  int tableHead() {
    pen_.setBold(true);
    pen_.setSize(10);
    pen_.textOut(
        kLeft, y_,
        QStringLiteral("Die folgenden Wettkämpfer wurden im Sinne der IWO-VWO disqualifiziert:"));
    top_ = y_ + 50;
    pen_.setLineWidth(4);
    pen_.line(kLeft, top_, kRight, top_);
    const int heads = top_ + 30;
    pen_.setSize(9);
    pen_.centered(kLeft, 275, heads, QStringLiteral("Start-Nr"));
    pen_.textOut(290, heads, QStringLiteral("Name Vorname, Verein/Verband"));
    pen_.centered(875, 1020, heads, QStringLiteral("Tor-Nr"));
    pen_.textOut(1035, heads, QStringLiteral("Torrichter"));
    pen_.textOut(1535, heads, QStringLiteral("Bemerkung"));
    y_ = top_ + 60;  // kTableHead below the heading
    pen_.line(kLeft, y_, kRight, y_);
    pen_.setBold(false);
    return (kLowestBottom - y_) / kRow;
  }

  // The ruled rows of the table on this page, its frame and columns.
  void tableGrid(int rows) { ruledRows(top_, rows, {275, 875, 1020, 1520}); }

  // `rows` rows of a grid or table from y down: thin rules between them, the heavy bottom
  // and side borders from `top`, thin column lines. y ends on the bottom.
  void ruledRows(int top, int rows, const std::vector<int>& columns) {
    pen_.setLineWidth(2);
    for (int k = 1; k < rows; ++k) {
      y_ += kRow;
      pen_.line(kLeft, y_, kRight, y_);
    }
    y_ += kRow;
    pen_.setLineWidth(4);
    pen_.line(kLeft, y_, kRight, y_);
    pen_.line(kLeft, top, kLeft, y_);
    pen_.line(kRight, top, kRight, y_);
    pen_.setLineWidth(2);
    for (const int x : columns) pen_.line(x, top, x, y_);
  }

  pdf::PdfPen& pen_;
  const AppState& state_;
  const OfficialEvent& event_;
  int run_;
  int y_ = kFirstY;
  int top_ = 0;
};

}  // namespace

DisqualNote SplitDisqualText(const QString& text) {
  DisqualNote note;
  if (text.left(4).toLower() == QLatin1String("tor ")) {
    note.gate = text.mid(4);
  } else if (text.size() <= 4) {
    note.gate = text;
  } else {
    note.remark = text;
  }
  return note;
}

int BibGridRows(int bibs, int least) {
  return std::max(bibs / kBibsPerRow + 1, least);
}

RefereeRun ReadRefereeRun(const AppState& state, int run) {
  RefereeRun data;
  data.run = run;
  data.notStarted = ReadBibs(state, run, 1);
  data.notFinished = ReadBibs(state, run, 2);
  const db::Recordset rs =
      ReadRunRows(state, run, 3, QStringLiteral("t.nachname,t.vorname,t.verein,z.disqualtext,"));
  data.disqualified.reserve(static_cast<size_t>(rs.count()));
  for (int i = 0; i < rs.count(); ++i) {
    Disqualified row;
    row.bib = rs.at(i, "startnr").toString();
    row.name =
        rs.at(i, "nachname").toString() + QStringLiteral(" ") + rs.at(i, "vorname").toString();
    if (!rs.at(i, "verein").isNull())
      row.name += QStringLiteral(", ") + rs.at(i, "verein").toString();
    row.note = SplitDisqualText(rs.at(i, "disqualtext").toString());
    data.disqualified.push_back(std::move(row));
  }
  return data;
}

void DrawRefereeRun(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                    const RefereeRun& run, bool newPage) {
  RefereePages pages(pen, state, event, run.run);
  pages.startPage(newPage);
  pages.bibSection(QStringLiteral("Nicht am Start:"), run.notStarted, 2);
  pages.bibSection(QStringLiteral("Nicht im Ziel:"), run.notFinished, 3);
  pages.disqualifiedTable(run.disqualified);
  pages.signatures();
}

void WriteRefereeProtocol(const AppState& state, bool openAfterOutput, ResultLine& result) {
  OfficialDocFrame frame(
      state, {QStringLiteral("Schiedsrichterprotokoll"), QString(), false, openAfterOutput},
      result);
  if (!frame.Open()) return;
  for (int r = 1; r <= frame.event().runs; ++r) {
    DrawRefereeRun(frame.pen(), state, frame.event(), ReadRefereeRun(state, r), r > 1);
  }
  frame.Finish();
}

}  // namespace kx
