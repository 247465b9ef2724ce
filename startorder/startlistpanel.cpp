#include "startorder/startlistpanel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listpanelsupport.h"
#include "startorder/startlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace kx {

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
  addShowBox(QStringLiteral("Startliste_anzeigen"), QStringLiteral("Startliste anzeigen"), 3740);
  addOutputButtons(QStringLiteral("Startliste_ausgeben"), QStringLiteral("Ausgabe Startliste (F2)"),
                   SansSerif(8, true), 4460, QStringLiteral("Startliste_schliessen"));
  addResultLine(QStringLiteral("Startliste_Meldung"), 5060);

  FillEventLabels(state(), event.name, event.date, false);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::Run1);
  InstallComboTypeAhead(*grouping_);
}

void StartListPanel::writeOutput(ResultLine& line) {
  StartListOptions options;
  options.grouping = grouping_->itemText(grouping_->currentIndex());
  options.descending = descending_->isChecked();
  options.openAfterOutput = showAfterOutput();
  line = WriteStartList(state(), options, [this] { closeSelf(); });
}

}  // namespace kx
