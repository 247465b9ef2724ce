#include "startorder/namelistpanel.h"

#include "lists/listpanelsupport.h"
#include "startorder/namelist.h"

namespace kx {

void NameListPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("NamenslisteBezVeranst"),
                     QStringLiteral("NamenslisteDatumVeranst"), 3960, SansSerif(10, true, true));
  addShowBox(QStringLiteral("Namensliste_anzeigen"), QStringLiteral("Namensliste anzeigen"), 2300);
  addOutputButtons(QStringLiteral("Namensliste_ausgeben"),
                   QStringLiteral("Ausgabe Namensliste (F2)"), SansSerif(8, true), 2900,
                   QStringLiteral("Namensliste_schliessen"));
  addResultLine(QStringLiteral("Namensliste_Meldung"), 3500);

  FillEventLabels(state(), event.name, event.date, false);
}

void NameListPanel::writeOutput(ResultLine& line) {
  NameListOptions options;
  options.openAfterOutput = showAfterOutput();
  line = WriteNameList(state(), options, [this] { closeSelf(); });
}

}  // namespace kx
