#include "refereereport/reportoutput.h"

#include "refereereport/reportpage.h"

namespace kx {

ReportOutcome WriteRefereeReport(OutputContext context, const ReportValues& values,
                                 const QDate& today) {
  // The report names the competition file alone, not the discipline.
  context.listTitle.clear();
  context.documentTitle.clear();
  DocumentOutput out(std::move(context), {QStringLiteral("Schiedsrichterbericht"),
                                          QStringLiteral("-Schiedsrichterbericht"),
                                          QStringLiteral("Schiedsrichterbericht ")});
  if (!out.AskFileName()) return ReportOutcome::Cancelled;
  out.CreateDoc(true);
  if (!out.ProbeFile()) return ReportOutcome::NotWritable;
  out.BeginDoc();
  DrawRefereeReportPage(out.pen(), values, today);
  out.FinishDoc(1);
  return ReportOutcome::Written;
}

}  // namespace kx
