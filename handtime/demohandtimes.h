#pragma once

// The hand-time file of the demo program directory: finish hand times of run 2 of the demo
// race's giant slalom, as a timekeeper's stopwatch took them over a stretch of the run in
// which one racer's electronic finish time is missing, so that the takeover by time of day
// can be tried without a device.

#include "common/sharedtables.h"

#include <QString>

#include <vector>

namespace kx {

struct DemoHandTimes {
  QString fileName;  // the name the save proposes: "Bezirkscup-Riesenslalom-Handzeit-Ziel.txt"
  int run = 2;
  int missingBib = 0;            // the racer whose hand time stands without an electronic one
  std::vector<HandTime> finish;  // in the order the stopwatch took them
};

// The same times on every call.
DemoHandTimes DemoFinishHandTimes();

// Writes the file into `dir` and returns what it holds. Throws std::runtime_error when it
// cannot be written.
DemoHandTimes WriteDemoHandTimeFile(const QString& dir);

}  // namespace kx
