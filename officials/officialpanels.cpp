#include "officials/officialpanels.h"

#include "common/appstate.h"
#include "lists/listpanelsupport.h"
#include "officials/gatejudgecard.h"
#include "officials/penaltyprotocol.h"
#include "officials/refereeprotocol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace kx {

namespace {

const QString kClose = QStringLiteral("Schließen (Esc)");

}  // namespace

GateJudgeCardPanel::GateJudgeCardPanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row) {}

void GateJudgeCardPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("TrKarteBezVeranst"), QStringLiteral("TrKarteDatumVeranst"),
                     4080, SansSerif(10, true, true));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Ausgabe auf Seite"), Arial(9),
           {600, 2225, 1575, 255});
  variant_ = addComboBox(QStringLiteral("Torrichterkarteart"), Arial(9), 2400, 2180, 4000);
  show_ = addCheckBox(QStringLiteral("Torrichterkarte_anzeigen"),
                      QStringLiteral("Torrichterkarte anzeigen"), true, SansSerif(8),
                      {600, 3580, 2295, 375});
  addButton(QStringLiteral("Torrichterkarte_ausgeben"),
            QStringLiteral("Ausgabe Torrichterkarte (F2)"), SansSerif(8, true),
            {600, 4460, 2650, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Torrichterkarte_schliessen"), kClose, SansSerif(8),
            {4080, 4460, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Torrichterkarte_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5060, 6735, 975});

  FillEventLabels(state(), event.name, event.date, true);
  variant_->addItems(kGateJudgeCardVariants);
  variant_->setCurrentIndex(0);
}

void GateJudgeCardPanel::mainAction() {
  // Text typed into the box selects no item, whatever item was selected before.
  const int index = kGateJudgeCardVariants.indexOf(variant_->currentText());
  ResultLine line;
  showResult(result_, line);
  guarded([&] { WriteGateJudgeCard(state(), CardLayoutOfIndex(index), show_->isChecked(), line); });
  showResult(result_, line);
}

PenaltyProtocolPanel::PenaltyProtocolPanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row) {}

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
  show_ = addCheckBox(QStringLiteral("PenaltyProtokoll_anzeigen"),
                      QStringLiteral("Penalty-Protokoll anzeigen"), true, SansSerif(8),
                      {600, 3580, 2700, 375});
  addButton(QStringLiteral("PenaltyProtokoll_ausgeben"),
            QStringLiteral("Ausgabe Penalty-Prot. (F2)"), SansSerif(8, true),
            {600, 4460, 2650, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("PenaltyProtokoll_schliessen"), kClose, SansSerif(8),
            {4080, 4460, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("PenaltyProtokoll_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5060, 6735, 975});

  FillEventLabels(state(), event.name, event.date, true);
}

void PenaltyProtocolPanel::mainAction() {
  ResultLine line;
  showResult(result_, line);
  guarded(
      [&] { WritePenaltyProtocol(state(), writeBack_->isChecked(), show_->isChecked(), line); });
  showResult(result_, line);
}

RefereeProtocolPanel::RefereeProtocolPanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row) {}

void RefereeProtocolPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("SrProtBezVeranst"), QStringLiteral("SrProtDatumVeranst"), 4080,
                     SansSerif(10, true, true));
  show_ = addCheckBox(QStringLiteral("Schiedsrichterprotokoll_anzeigen"),
                      QStringLiteral("Schiedsrichterprotokoll anzeigen"), true, SansSerif(8),
                      {600, 3580, 2700, 375});
  addButton(QStringLiteral("Schiedsrichterprotokoll_ausgeben"),
            QStringLiteral("Ausgabe SR-Protokoll (F2)"), SansSerif(8, true), {600, 4460, 2650, 375},
            [this] { mainAction(); });
  addButton(QStringLiteral("Schiedsrichterprotokoll_schliessen"), kClose, SansSerif(8),
            {4080, 4460, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Schiedsrichterprotokoll_Meldung"), QStringLiteral(" "),
                     Arial(10), {600, 5060, 6735, 975});

  FillEventLabels(state(), event.name, event.date, true);
}

void RefereeProtocolPanel::mainAction() {
  ResultLine line;
  showResult(result_, line);
  guarded([&] { WriteRefereeProtocol(state(), show_->isChecked(), line); });
  showResult(result_, line);
}

}  // namespace kx
