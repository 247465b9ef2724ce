#include "results/resultlistpanel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listpanelsupport.h"
#include "results/resultlist.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace kx {

ResultListPanel::ResultListPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

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
  show_ = addCheckBox(QStringLiteral("Ergebnisliste_anzeigen"),
                      QStringLiteral("Ergebnisliste anzeigen"), true, SansSerif(8),
                      {600, 3740, 2295, 375});
  addButton(QStringLiteral("Ergebnisliste_ausgeben"), QStringLiteral("Ausgabe Ergebnisliste (F2)"),
            SansSerif(8, true), {600, 4460, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Ergebnisliste_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 4460, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Ergebnisliste_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5060, 6735, 975});

  run_->addItem(QStringLiteral("Gesamtliste"));
  for (int k = 1; k <= state().RunsWithTimes; ++k) run_->addItem(QString::number(k));
  run_->setCurrentIndex(0);
  FillEventLabels(state(), event.name, event.date, true);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::ResultList);
  InstallComboTypeAhead(*run_);
  InstallComboTypeAhead(*grouping_);
}

void ResultListPanel::mainAction() {
  guarded([this] {
    showResult(result_, ResultLine{});
    ResultListOptions options;
    options.run = run_->currentText();
    options.grouping = grouping_->currentText();
    options.suppressNotStarted = suppressNas_->isChecked();
    options.openAfterOutput = show_->isChecked();
    showResult(result_, WriteResultList(state(), options));
  });
}

}  // namespace kx
