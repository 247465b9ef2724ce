#pragma once

#include <QDate>
#include <QString>

namespace kx {

// The season of a date: from October on "this year/next year", else "last year/this year".
QString SeasonOf(const QDate& date);

}  // namespace kx
