#pragma once

#include <QString>

namespace kx {

// A run time given in hundredths of a second, as the lists print it: "m:ss,hh" from one
// minute on ("1:05,43"), "ss,hh" below ("05,12"), with the decimal separator of the user's
// locale. The value is first rounded to whole hundredths, so that the noise of a time
// stored as a fraction of a day (5999.999999) prints as the time it stands for ("1:00,00").
// A value that is not a number, infinite or beyond 10^15 gives an empty text.
QString RunTimeText(double hundredths);

}  // namespace kx
