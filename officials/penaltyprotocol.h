#pragma once

// The penalty protocol of one run: per sex group the best valid run time, the surcharge of
// 30 per cent and the penalty time; the racers slower than the penalty time, those who did
// not finish and the disqualified; the page drawing of the protocol and the write-back of
// the penalty times into tblZeit.

#include "common/resultline.h"
#include "officials/officialpage.h"

#include <QString>

#include <array>
#include <vector>

namespace kx::db {
class Connection;
}
namespace kx::pdf {
class PdfPen;
}

namespace kx {

struct AppState;

// The surcharge of the penalty rule in per cent, and its rate.
inline constexpr int kPenaltyPercent = 30;
inline constexpr double kPenaltyRate = kPenaltyPercent / 100.0;

// A value in hundredths brought to whole hundredths, exact halves to the even neighbour.
int RoundHundredths(double hundredths);
// "m:ss,hh" with the minutes always written: 4567 gives "0:45,67", 12345 "2:03,45".
QString PenaltyTimeText(int hundredths);

// The best time of a sex group and what follows from it.
struct PenaltyGroup {
  bool hasBest = false;  // false: nobody of the group has a valid run time
  QString bib;           // of the fastest racer
  QString name;          // nachname & " " & vorname of the fastest racer
  QString fastestCode;   // his sex code
  QString heading;       // "Mädchen" / "Buben"; empty without a best time
  int best = 0;          // R(B)
  int surcharge = 0;     // R(B * 0.3)
  int penalty = 0;       // P = R(B * 1.3)
};

// One listed racer.
struct PenaltyRow {
  int teilnehmer = 0;
  QString bib;
  QString name;  // nachname & " " & vorname
  QString jahrgang;
  QString verein;  // empty when Null
  int ergcode = 0;
  int time = 0;  // R(zeit) of a valid time
  QString disqualtext;
};

struct PenaltyData {
  int run = 0;
  std::array<PenaltyGroup, 2> groups;             // 0: "D"/"W", 1: "H"/"M"
  std::array<std::vector<PenaltyRow>, 2> listed;  // by bib
  int listedCount() const { return static_cast<int>(listed[0].size() + listed[1].size()); }
};

// The best time B (in hundredths, taken to whole hundredths first), its surcharge
// R(B * 0.3) and the penalty time P = R(B * 1.3).
PenaltyGroup PenaltyFromBest(double best);

// Reads the best times and the listed racers of run `run` of the current discipline.
// A valid row without a run time (netto Null or 0, or a stored value that is no run time)
// takes no part in the best time and is not listed.
PenaltyData ReadPenaltyData(const AppState& state, int run);

// Draws the protocol on the open document, from its first page on.
void DrawPenaltyProtocol(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                         const PenaltyData& data);

// Gives every listed racer the penalty time of his group as a valid run time (start and
// finish emptied). Runs in the caller's transaction; returns the number of rows changed.
int WritePenaltyTimes(db::Connection& db, int discipline, const PenaltyData& data);

// The question asked before a protocol that takes the penalty times over; it says what will
// be written: per group with a best time its fastest racer's bib and code, the best time, the
// penalty time and how many run times it replaces.
QString PenaltyWriteBackQuestion(const PenaltyData& data);

// Writes the penalty protocol of run RunsWithTimes as a PDF file through the officials'
// frame and, with `writeBack` confirmed by the user, gives the listed racers their penalty
// time: all of them or none (one transaction, committed once the document is written).
// `result` is the panel's result line.
void WritePenaltyProtocol(AppState& state, bool writeBack, bool openAfterOutput,
                          ResultLine& result);

}  // namespace kx
