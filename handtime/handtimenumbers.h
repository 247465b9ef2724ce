#pragma once

// Small number texts of the hand-time takeover: differences in seconds with two decimals
// and a decimal comma, read back as whole hundredths; times in SQL statements; bibs and the
// message for a racer who is gone.

#include "db/storedtime.h"

#include <QString>
#include <QtGlobal>

#include <optional>

namespace kx {

using db::kHundredthsPerDay;

// A time value in whole hundredths of a second (rounded, so that the noise of a stored
// fraction of a day does not cost a hundredth).
qint64 DayToHundredths(double day);

// Hundredths of a second as seconds with two decimals and a decimal comma: 18.33 gives
// "0,18", -105 gives "-1,05" (rounded half away from zero).
QString HundredthsText(double hundredths);

// A text written by HundredthsText read back as whole hundredths, the comma taken out
// ("0,12" is 12, "-1,50" is -150); 0 for a text that is no such number.
qint64 ReadHundredths(const QString& text);

// A time value in an SQL statement: fifteen decimals and a decimal point.
QString SqlTime(double day);

// The numeric test of a typed bib: a number as the user may type one ("12", "12,5").
bool IsNumericText(const QString& text);

// A bib typed in the run-time lists: digits only, as a whole number; nothing otherwise.
std::optional<int> DigitsBib(const QString& text);

// The first sentence of the message when a takeover finds its racer no longer in the
// competition file (deleted meanwhile by another copy of the program).
QString RacerGoneText(const QString& bib);

}  // namespace kx
