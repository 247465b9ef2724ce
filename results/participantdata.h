#pragma once

// The participant-data export of a combination: one tab-separated line per participant
// with a value in every chosen discipline (race points or run time), their total and the
// class, for the main program's combination evaluation.

#include "common/resultline.h"
#include "results/racepoints.h"

namespace kx {

struct AppState;

struct ParticipantDataOptions {
  SelectedDisciplines selected{};
  bool racePoints = true;  // "Rennpunkten"; else "Laufzeit"
  RacePointsMethod method = RacePointsMethod::Factor;
  RacePointsDivision division = RacePointsDivision::Category;
};

// Asks for the file, checks that it can be written (without emptying it), fills the rpkte
// columns of the chosen disciplines in one transaction and writes the file (Windows-1252,
// TAB between fields, CR LF after each line) beside the chosen one, renaming it into place
// at the end. Fewer than two disciplines, a file that cannot be written or a failed
// computation: a message, and neither the file nor the competition file is changed. No
// participant to write: "Keine Daten gefunden!", and the file is not written.
ResultLine WriteParticipantData(AppState& state, const ParticipantDataOptions& options);

}  // namespace kx
