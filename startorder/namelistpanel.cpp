#include "startorder/namelistpanel.h"

#include "lists/listpanelsupport.h"
#include "startorder/namelist.h"

#include <QCheckBox>
#include <QLabel>

namespace kx {

NameListPanel::NameListPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

void NameListPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("NamenslisteBezVeranst"),
                     QStringLiteral("NamenslisteDatumVeranst"), 3960, SansSerif(10, true, true));
  show_ =
      addCheckBox(QStringLiteral("Namensliste_anzeigen"), QStringLiteral("Namensliste anzeigen"),
                  true, SansSerif(8), {600, 2300, 2295, 375});
  addButton(QStringLiteral("Namensliste_ausgeben"), QStringLiteral("Ausgabe Namensliste (F2)"),
            SansSerif(8, true), {600, 2900, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Namensliste_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 2900, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Namensliste_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 3500, 6735, 975});

  FillEventLabels(state(), event.name, event.date, false);
}

void NameListPanel::mainAction() {
  guarded([this] {
    showResult(result_, ResultLine{});
    NameListOptions options;
    options.openAfterOutput = show_->isChecked();
    const ResultLine line = WriteNameList(state(), options, [this] { closeSelf(); });
    showResult(result_, line);
  });
}

}  // namespace kx
