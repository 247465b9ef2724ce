#include "startorder/startlistdg2panel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listpanelsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace kx {

void StartListDG2Panel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("StartListeDG2BezVeranst"),
                     QStringLiteral("StartListeDG2DatumVeranst"), 3960, SansSerif(10));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Gruppierung nach"), Arial(9),
           {600, 2225, 1575, 255});
  grouping_ = addComboBox(QStringLiteral("StartGruppeDG2"), Arial(9), 2700, 2180, 2775);
  addLabel(QStringLiteral("Label04"), QStringLiteral("Umkehrung der ersten"), Arial(9),
           {600, 2610, 1875, 255});
  reverse_ = addTextBox(QStringLiteral("StartListeDG2umkehren"), QStringLiteral("30"), Arial(9),
                        {2700, 2580, 735, 285});
  addLabel(QStringLiteral("Label05"), QStringLiteral("max. Anz. Teilnehmer"), Arial(9),
           {600, 3010, 1875, 255});
  maximum_ = addTextBox(QStringLiteral("StartListeDG2maxAnz"), QString(), Arial(9),
                        {2700, 2980, 735, 285});
  addLabel(QStringLiteral("Label06"), QStringLiteral("pro Gruppierung (leer = alle)"), Arial(9),
           {3600, 3010, 2875, 255});
  append_ = addCheckBox(QStringLiteral("StartListeDG2_mitallen"),
                        QStringLiteral("NiZ/Dis vom 1. Durchgang zusätzlich hinten anfügen"), false,
                        SansSerif(8), {600, 3410, 4600, 375});
  bibsOnly_ = addCheckBox(QStringLiteral("StartListeDG2_nurStnr"),
                          QStringLiteral("Nur Startnummern ausgeben"), false, SansSerif(8),
                          {600, 3840, 2600, 375});
  addShowBox(QStringLiteral("StartListeDG2_anzeigen"), QStringLiteral("Startliste anzeigen"), 4270,
             3425);
  addOutputButtons(QStringLiteral("StartListeDG2_ausgeben"),
                   QStringLiteral("Ausgabe Startliste (F2)"), SansSerif(8), 4890,
                   QStringLiteral("StartListeDG2_schliessen"));
  addResultLine(QStringLiteral("StartListeDG2_Meldung"), 5490);

  FillEventLabels(state(), event.name, event.date, false);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::Run2StartList);
  InstallComboTypeAhead(*grouping_);
}

void StartListDG2Panel::mainAction() {
  bool valid = false;
  guarded([&] {
    QString reverseText = reverse_->text();
    valid = ReadStartListDG2Boxes(ui(), reverseText, maximum_->text(), boxes_);
    // An empty reversal box shows the 0 it stands for.
    if (reverseText != reverse_->text()) reverse_->setText(reverseText);
  });
  if (valid) OutputPanel::mainAction();
}

void StartListDG2Panel::writeOutput(ResultLine& line) {
  StartListDG2Options options = boxes_;
  options.grouping = grouping_->itemText(grouping_->currentIndex());
  options.appendNonFinishers = append_->isChecked();
  options.bibsOnly = bibsOnly_->isChecked();
  options.openAfterOutput = showAfterOutput();
  line = WriteStartListDG2(state(), options, [this] { closeSelf(); });
}

}  // namespace kx
