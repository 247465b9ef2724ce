#pragma once

// The text forms of times: the hand-time text "hh:mm:ss,hh" of a time of day (written with
// a comma, read with a comma or a point) and the timer text of a number of seconds. Both
// are independent of the machine's locale.

#include <QString>

#include <optional>

namespace kx {

// Writes a time of day (a fraction of a day) as "hh:mm:ss,hh". Mode "rnd" (exact,
// case-sensitive) rounds the seconds to hundredths, any other text truncates them. Hours
// are not taken modulo 24; a carry from rounding runs on into the minutes and hours
// ("13:00:00,00" for 12:59:59,996). A value that is not finite or lies beyond 10^15
// hundredths gives an empty text.
QString FormatHandTime(double t, const QString& mode);

// Reads a hand-time text by position: hours at characters 1-2, minutes at 4-5, and the
// hundredths within the minute at 7-11 (comma or point ignored: "56,78" is 5678). Nothing
// when a field is not a whole number or the text is shorter than seven characters.
std::optional<double> ParseHandTime(const QString& s);
// Whether the fields ParseHandTime reads are those of a time of day: hours to 23, minutes
// and seconds to 59 ("12:34:75.00" from a device is a garbled line, not 12:35:15).
bool HandTimeFieldsInRange(const QString& s);

// Writes a number of seconds as a timer text: mode 1 "hhmmss.fff", mode 2 "hh:mm:ss.ff",
// mode 3 as mode 2 with leading zeros and colons blanked, any other "hh:mm:ss.fff".
// Values below 0.001 give "" (0), "N/Start" (-1), "N/Ziel" (-2), "Disqual." (-3) or "=";
// NaN and values beyond 10^13 seconds give "".
QString FormatRaceTime(double seconds, int mode);

}  // namespace kx
