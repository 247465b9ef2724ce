#include "results/isflistpanel.h"

#include "lists/listpanelsupport.h"
#include "results/isflist.h"

#include <QCheckBox>

namespace kx {

void IsfListPanel::build() {
  const EventLabels event = addEventHeader(QStringLiteral("ISFErgebnislisteBezVeranst"),
                                           QStringLiteral("ISFErgebnislisteDatumVeranst"), 3960,
                                           SansSerif(10, true, true));
  rankAll_ = addCheckBox(QStringLiteral("ISFallewerten"),
                         QStringLiteral("alle Mannschaften kommen in die Wertung\r\n(wenn weniger "
                                        "als 3 im Ziel werden Ausgeschiedene mit 1,5-facher Zeit "
                                        "gewertet)"),
                         false, SansSerif(8), {600, 2740, 7000, 675});
  addShowBox(QStringLiteral("ISFErgebnisliste_anzeigen"), QStringLiteral("Ergebnisliste anzeigen"),
             3740);
  addOutputButtons(QStringLiteral("ISFErgebnisliste_ausgeben"),
                   QStringLiteral("Ausgabe Ergebnisliste (F2)"), SansSerif(8, true), 4460,
                   QStringLiteral("ISFErgebnisliste_schliessen"));
  addResultLine(QStringLiteral("ISFErgebnisliste_Meldung"), 5060);
  FillEventLabels(state(), event.name, event.date, false);
}

void IsfListPanel::writeOutput(ResultLine& line) {
  const IsfListOptions options{rankAll_->isChecked(), showAfterOutput()};
  line = WriteIsfList(state(), options, [this] { closeSelf(); });
}

}  // namespace kx
