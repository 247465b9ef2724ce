#pragma once

// The time text of the lists and exports: a run time in hundredths of a second as the
// printed lists, the team lists and the participant-data export write it.

#include <QString>

namespace kx {

// How the seconds of a time below one minute are written.
enum class RunTimeForm {
  Seconds,          // "9,50", "59,99", "1:05,43": the result, team and posting lists
  TwoDigitSeconds,  // "09,50", "1:05,43": the start-side lists and the school-federation list
  AlwaysMinutes,    // "0:09,50", "1:05,43": the participant-data export
};

// A run time given in hundredths of a second: "m:ss,hh" from one minute on, below one
// minute as `form` says, with the decimal separator of the user's locale. The value is
// first rounded once to whole hundredths, before the minutes are split off, so that the
// noise of a time stored as a fraction of a day (5999.999999) prints as the time it stands
// for ("1:00,00"). A value that is not a number, infinite or beyond 10^15 gives an empty
// text.
QString FormatRunTime(double hundredths, RunTimeForm form = RunTimeForm::Seconds);

// The two-digit form of the start-side lists.
inline QString RunTimeText(double hundredths) {
  return FormatRunTime(hundredths, RunTimeForm::TwoDigitSeconds);
}

}  // namespace kx
