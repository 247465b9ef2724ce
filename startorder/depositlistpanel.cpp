#include "startorder/depositlistpanel.h"

#include "lists/listpanelsupport.h"
#include "startorder/depositlist.h"

#include <QCheckBox>
#include <QLabel>

namespace kx {

DepositListPanel::DepositListPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

void DepositListPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("KautionBezVeranst"), QStringLiteral("KautionDatumVeranst"),
                     4080, SansSerif(10, true, true));
  show_ = addCheckBox(QStringLiteral("Kautionsliste_anzeigen"),
                      QStringLiteral("Kautionsliste anzeigen"), true, SansSerif(8),
                      {600, 2300, 2295, 375});
  addButton(QStringLiteral("Kautionslisteausgeben"), QStringLiteral("Ausgabe Kautionsliste (F2)"),
            SansSerif(8, true), {600, 2900, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Kautionsliste_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 2900, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Kautionsliste_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 3500, 6735, 975});

  FillEventLabels(state(), event.name, event.date, true);
}

void DepositListPanel::mainAction() {
  guarded([this] {
    showResult(result_, ResultLine{});
    DepositListOptions options;
    options.openAfterOutput = show_->isChecked();
    showResult(result_, WriteDepositList(state(), options));
  });
}

}  // namespace kx
