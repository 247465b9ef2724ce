#pragma once

// The output of the referee report: the save dialog, the write check, the one page, the
// finished file in the viewer.

#include "lists/documentoutput.h"
#include "refereereport/reportfields.h"

#include <QDate>

namespace kx {

enum class ReportOutcome { Written, Cancelled, NotWritable };

// Writes the report of `values` as "<file>-Schiedsrichterbericht.pdf" (proposed in the
// competition's folder); the viewer opens the finished file. A file that cannot be written
// is reported and left untouched.
ReportOutcome WriteRefereeReport(OutputContext context, const ReportValues& values,
                                 const QDate& today);

}  // namespace kx
