#include "officials/officialpanels.h"

#include "common/appstate.h"
#include "lists/listpanelsupport.h"
#include "officials/gatejudgecard.h"
#include "officials/penaltyprotocol.h"
#include "officials/refereeprotocol.h"

#include <QCheckBox>
#include <QComboBox>

namespace kx {

void GateJudgeCardPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("TrKarteBezVeranst"), QStringLiteral("TrKarteDatumVeranst"),
                     4080, SansSerif(10, true, true));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Ausgabe auf Seite"), Arial(9),
           {600, 2225, 1575, 255});
  variant_ = addComboBox(QStringLiteral("Torrichterkarteart"), Arial(9), 2400, 2180, 4000);
  addShowBox(QStringLiteral("Torrichterkarte_anzeigen"), QStringLiteral("Torrichterkarte anzeigen"),
             3580);
  addOutputButtons(QStringLiteral("Torrichterkarte_ausgeben"),
                   QStringLiteral("Ausgabe Torrichterkarte (F2)"), SansSerif(8, true), 4460,
                   QStringLiteral("Torrichterkarte_schliessen"), 2650);
  addResultLine(QStringLiteral("Torrichterkarte_Meldung"), 5060);

  FillEventLabels(state(), event.name, event.date, true);
  variant_->addItems(kGateJudgeCardVariants);
  variant_->setCurrentIndex(0);
}

void GateJudgeCardPanel::writeOutput(ResultLine& line) {
  // Text typed into the box selects no item, whatever item was selected before.
  const int index = kGateJudgeCardVariants.indexOf(variant_->currentText());
  WriteGateJudgeCard(state(), CardLayoutOfIndex(index), showAfterOutput(), line);
}

void PenaltyProtocolPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("PeProtBezVeranst"), QStringLiteral("PeProtDatumVeranst"), 4080,
                     SansSerif(10, true, true));
  addLabel(QStringLiteral("Label03"),
           QString::number(state().RunsWithTimes) + QStringLiteral(". Durchgang"),
           SansSerif(10, true), {600, 2200, 2535, 300});
  writeBack_ = addCheckBox(
      QStringLiteral("PenaltyProtokoll_Zeitenaendern"),
      QStringLiteral("Penalty-Zeiten bei Ausgabe des Protokolls in die Bewerbsdatei übernehmen"),
      true, SansSerif(8), {600, 2700, 6500, 375});
  addLabel(QStringLiteral("Label04"),
           QStringLiteral("Achtung: dies kann nicht rückgängig gemacht werden!"),
           SansSerif(8, true), {870, 3050, 6000, 375});
  addShowBox(QStringLiteral("PenaltyProtokoll_anzeigen"),
             QStringLiteral("Penalty-Protokoll anzeigen"), 3580, 2700);
  addOutputButtons(QStringLiteral("PenaltyProtokoll_ausgeben"),
                   QStringLiteral("Ausgabe Penalty-Prot. (F2)"), SansSerif(8, true), 4460,
                   QStringLiteral("PenaltyProtokoll_schliessen"), 2650);
  addResultLine(QStringLiteral("PenaltyProtokoll_Meldung"), 5060);

  FillEventLabels(state(), event.name, event.date, true);
}

void PenaltyProtocolPanel::writeOutput(ResultLine& line) {
  WritePenaltyProtocol(state(), writeBack_->isChecked(), showAfterOutput(), line);
}

void RefereeProtocolPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("SrProtBezVeranst"), QStringLiteral("SrProtDatumVeranst"), 4080,
                     SansSerif(10, true, true));
  addShowBox(QStringLiteral("Schiedsrichterprotokoll_anzeigen"),
             QStringLiteral("Schiedsrichterprotokoll anzeigen"), 3580, 2700);
  addOutputButtons(QStringLiteral("Schiedsrichterprotokoll_ausgeben"),
                   QStringLiteral("Ausgabe SR-Protokoll (F2)"), SansSerif(8, true), 4460,
                   QStringLiteral("Schiedsrichterprotokoll_schliessen"), 2650);
  addResultLine(QStringLiteral("Schiedsrichterprotokoll_Meldung"), 5060);

  FillEventLabels(state(), event.name, event.date, true);
}

void RefereeProtocolPanel::writeOutput(ResultLine& line) {
  WriteRefereeProtocol(state(), showAfterOutput(), line);
}

}  // namespace kx
