#include "startorder/depositlistpanel.h"

#include "lists/listpanelsupport.h"
#include "startorder/depositlist.h"

namespace kx {

void DepositListPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("KautionBezVeranst"), QStringLiteral("KautionDatumVeranst"),
                     4080, SansSerif(10, true, true));
  addShowBox(QStringLiteral("Kautionsliste_anzeigen"), QStringLiteral("Kautionsliste anzeigen"),
             2300);
  addOutputButtons(QStringLiteral("Kautionslisteausgeben"),
                   QStringLiteral("Ausgabe Kautionsliste (F2)"), SansSerif(8, true), 2900,
                   QStringLiteral("Kautionsliste_schliessen"));
  addResultLine(QStringLiteral("Kautionsliste_Meldung"), 3500);

  FillEventLabels(state(), event.name, event.date, true);
}

void DepositListPanel::writeOutput(ResultLine& line) {
  DepositListOptions options;
  options.openAfterOutput = showAfterOutput();
  line = WriteDepositList(state(), options);
}

}  // namespace kx
