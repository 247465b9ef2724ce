#include "startorder/startlistpanel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listpanelsupport.h"
#include "startorder/startlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace kx {

StartListPanel::StartListPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

void StartListPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("StartlisteBezVeranst"),
                     QStringLiteral("StartlisteDatumVeranst"), 3960, SansSerif(10, true, true));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Gruppierung nach"), Arial(9),
           {600, 2225, 1575, 255});
  grouping_ = addComboBox(QStringLiteral("StartGruppe"), Arial(9), 2400, 2180, 2775);
  descending_ = addCheckBox(QStringLiteral("Startliste_StNr_absteigend"),
                            QStringLiteral("Start-Nummern absteigend"), false, SansSerif(8),
                            {600, 2740, 2295, 375});
  show_ = addCheckBox(QStringLiteral("Startliste_anzeigen"), QStringLiteral("Startliste anzeigen"),
                      true, SansSerif(8), {600, 3740, 2295, 375});
  addButton(QStringLiteral("Startliste_ausgeben"), QStringLiteral("Ausgabe Startliste (F2)"),
            SansSerif(8, true), {600, 4460, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Startliste_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 4460, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Startliste_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5060, 6735, 975});

  FillEventLabels(state(), event.name, event.date, false);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::Run1);
  InstallComboTypeAhead(*grouping_);
}

void StartListPanel::mainAction() {
  guarded([this] {
    showResult(result_, ResultLine{});
    StartListOptions options;
    options.grouping = grouping_->itemText(grouping_->currentIndex());
    options.descending = descending_->isChecked();
    options.openAfterOutput = show_->isChecked();
    const ResultLine line = WriteStartList(state(), options, [this] { closeSelf(); });
    showResult(result_, line);
  });
}

}  // namespace kx
