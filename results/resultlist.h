#pragma once

// The result list of the current discipline: the ranked racers of one run or of all runs,
// undivided or per class, group or category, then the racers who did not start, did not
// finish or were disqualified, and the statistics. ComputeResultList does the selection
// and ranking on data read once (RaceData); WriteResultList draws the pages.

#include "common/resultline.h"
#include "results/racedata.h"

#include <QString>

#include <vector>

namespace kx {

struct AppState;
struct CompetitionSettings;

// What the list is asked for.
struct ResultListRequest {
  bool totalList = true;            // "Gesamtliste"; else the list of run `run`
  int run = 1;                      // the chosen run; for the total list the number of runs
  int runCount = 2;                 // runs of the discipline
  QString grouping;                 // "keine Unterteilung", "Klasse", "Gruppe", "Kategorie"
  int typ = 0;                      // competition type
  bool suppressNotStarted = false;  // "NAS unterdrücken"
  // The participant flags of the competition.
  bool codes = false, years = false, clubs = false, nations = false;
};

enum class ResultLayout { Intermediate, PerRun, Plain };

// The columns of the list, by layout and flags.
struct ResultColumns {
  ResultLayout layout = ResultLayout::Plain;
  int nameLimit = 470;
  int yearRight = 1060;
  int nationX = 1080;
  int clubX = 1200;     // plain layout only
  int clubLimit = 530;  // plain layout only
  int noteX = 1200;
};
ResultColumns ResultColumnsFor(ResultLayout layout, bool nations, bool clubs);

inline const QString kNoClub = QString(50, QLatin1Char('.'));

struct RankedRow {
  int id = 0;
  QString bib, idText, name, year, club, nation, division;
  qint64 time = 0;          // whole hundredths
  qint64 intermediate = 0;  // whole hundredths; 0 when there is none
  QString run1, run2;       // per-run layout: time text or result word
  QString rank;             // "3." or empty for a tie with the row before
  qint64 diff = 0;          // to the leader of the division
};

struct SectionRow {
  int id = 0;
  QString bib, idText, name, year, nation, club, note;
};

struct NotRankedSection {
  int run = 1;
  int code = 1;
  QString title;
  std::vector<SectionRow> rows;
};

struct ResultListModel {
  bool complete = true;  // false: some entered racer lacks a result; no list
  ResultColumns columns;
  std::vector<RankedRow> ranked;
  std::vector<NotRankedSection> sections;  // in printing order, empty ones included
  int notRankedCount = 0;                  // participants in the printed sections
};

// The result word of a result code in the result and posting lists ("NaS", "NiZ", "Dis").
QString ResultWord(int code);
// Whether the competition type ranks by the best run (6, 7, 12).
bool BestRunType(int typ);

// Selects, groups and ranks. Ties: divisions by sort position (Null first) and name;
// within a division by the time rounded once to whole hundredths, then surname and first
// name in German order; equal times share the rank.
ResultListModel ComputeResultList(const RaceData& data, const ResultListRequest& request);

struct ResultListOptions {
  QString run;       // "Gesamtliste" or a run number
  QString grouping;  // "keine Unterteilung", "Klasse", "Gruppe", "Kategorie"
  bool suppressNotStarted = false;
  bool openAfterOutput = true;
};

// Writes the result list of the current discipline as a PDF file and returns the panel's
// result line. Refused before the save dialog when a result is missing.
ResultLine WriteResultList(const AppState& state, const ResultListOptions& options);

}  // namespace kx
