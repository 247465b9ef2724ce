#include "results/resultlistpanel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listpanelsupport.h"
#include "results/resultlist.h"

#include <QCheckBox>
#include <QComboBox>

namespace kx {

void ResultListPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("ErgebnislisteBezVeranst"),
                     QStringLiteral("ErgebnislisteDatumVeranst"), 3960, SansSerif(10, true, true));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Durchgang"), Arial(9),
           {600, 2225, 1575, 255});
  run_ = addComboBox(QStringLiteral("EL_Durchgang"), Arial(9), 2400, 2180, 2775);
  addLabel(QStringLiteral("Label04"), QStringLiteral("Gruppierung nach"), Arial(9),
           {600, 2785, 1575, 255});
  grouping_ = addComboBox(QStringLiteral("ErgebnislisteGruppe"), Arial(9), 2400, 2740, 2775);
  suppressNas_ =
      addCheckBox(QStringLiteral("Ergebnisliste_NAS_nichtausgeben"),
                  QStringLiteral("NAS unterdrücken"), false, SansSerif(8), {600, 3300, 2295, 375});
  addShowBox(QStringLiteral("Ergebnisliste_anzeigen"), QStringLiteral("Ergebnisliste anzeigen"),
             3740);
  addOutputButtons(QStringLiteral("Ergebnisliste_ausgeben"),
                   QStringLiteral("Ausgabe Ergebnisliste (F2)"), SansSerif(8, true), 4460,
                   QStringLiteral("Ergebnisliste_schliessen"));
  addResultLine(QStringLiteral("Ergebnisliste_Meldung"), 5060);

  run_->addItem(QStringLiteral("Gesamtliste"));
  for (int k = 1; k <= state().RunsWithTimes; ++k) run_->addItem(QString::number(k));
  run_->setCurrentIndex(0);
  FillEventLabels(state(), event.name, event.date, true);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::ResultList);
  InstallComboTypeAhead(*run_);
  InstallComboTypeAhead(*grouping_);
}

void ResultListPanel::writeOutput(ResultLine& line) {
  ResultListOptions options;
  options.run = run_->currentText();
  options.grouping = grouping_->currentText();
  options.suppressNotStarted = suppressNas_->isChecked();
  options.openAfterOutput = showAfterOutput();
  line = WriteResultList(state(), options);
}

}  // namespace kx
