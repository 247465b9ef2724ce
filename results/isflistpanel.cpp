#include "results/isflistpanel.h"

#include "lists/listpanelsupport.h"
#include "results/isflist.h"

#include <QCheckBox>
#include <QLabel>

namespace kx {

IsfListPanel::IsfListPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

void IsfListPanel::build() {
  const EventLabels event = addEventHeader(QStringLiteral("ISFErgebnislisteBezVeranst"),
                                           QStringLiteral("ISFErgebnislisteDatumVeranst"), 3960,
                                           SansSerif(10, true, true));
  rankAll_ = addCheckBox(QStringLiteral("ISFallewerten"),
                         QStringLiteral("alle Mannschaften kommen in die Wertung\r\n(wenn weniger "
                                        "als 3 im Ziel werden Ausgeschiedene mit 1,5-facher Zeit "
                                        "gewertet)"),
                         false, SansSerif(8), {600, 2740, 7000, 675});
  show_ = addCheckBox(QStringLiteral("ISFErgebnisliste_anzeigen"),
                      QStringLiteral("Ergebnisliste anzeigen"), true, SansSerif(8),
                      {600, 3740, 2295, 375});
  addButton(QStringLiteral("ISFErgebnisliste_ausgeben"),
            QStringLiteral("Ausgabe Ergebnisliste (F2)"), SansSerif(8, true),
            {600, 4460, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("ISFErgebnisliste_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 4460, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("ISFErgebnisliste_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5060, 6735, 975});
  FillEventLabels(state(), event.name, event.date, false);
}

void IsfListPanel::mainAction() {
  guarded([this] {
    showResult(result_, ResultLine{});
    const IsfListOptions options{rankAll_->isChecked(), show_->isChecked()};
    showResult(result_, WriteIsfList(state(), options, [this] { closeSelf(); }));
  });
}

}  // namespace kx
