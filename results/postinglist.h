#pragma once

// The posting list: the participants of one class, group or category of the current
// discipline in bib order, with their run times and total, in a ruled grid for the notice
// board, portrait or landscape.

#include "common/resultline.h"

#include <QString>

#include <vector>

namespace kx {

struct AppState;
struct RaceData;

struct PostingListOptions {
  QString grouping;  // "keine Unterteilung", "Klasse", "Gruppe", "Kategorie"
  QString division;  // the class, group or category name ("-" without grouping)
  bool landscape = false;
  bool openAfterOutput = true;
};

// One row of the list.
struct PostingRow {
  QString bib, name, year, club;
  QString run1, run2, total;  // time texts, result words or empty
};

// The rows of a division, in bib order (then surname and first name). `twoRuns` for the
// best-run types (6, 7, 12): no total.
std::vector<PostingRow> PostingRows(const RaceData& data, const PostingListOptions& options,
                                    int typ, bool years);

// The grid of one orientation and number of time columns, in tenths of a millimetre.
struct PostingGrid {
  int bibName, nameX, nameYear, yearClub, clubX, clubRun1, run1Run2, run2Total, right;
  int headingY, headingRule, headingSize, rowSize, clubSize, textOffset, lowerRule, threshold,
      clubDrop, creditRight, creditY;
  bool total;  // three time columns
};
PostingGrid PostingGridFor(bool landscape, bool threeColumns);

// Writes the list as a PDF file and returns the panel's result line.
ResultLine WritePostingList(const AppState& state, const PostingListOptions& options);

}  // namespace kx
