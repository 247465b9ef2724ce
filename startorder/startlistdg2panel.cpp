#include "startorder/startlistdg2panel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listpanelsupport.h"
#include "startorder/startlistdg2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace kx {

StartListDG2Panel::StartListDG2Panel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row) {}

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
  show_ =
      addCheckBox(QStringLiteral("StartListeDG2_anzeigen"), QStringLiteral("Startliste anzeigen"),
                  true, SansSerif(8), {600, 4270, 3425, 375});
  addButton(QStringLiteral("StartListeDG2_ausgeben"), QStringLiteral("Ausgabe Startliste (F2)"),
            SansSerif(8), {600, 4890, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("StartListeDG2_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 4890, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("StartListeDG2_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5490, 6735, 975});

  FillEventLabels(state(), event.name, event.date, false);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::Run2StartList);
  InstallComboTypeAhead(*grouping_);
}

void StartListDG2Panel::mainAction() {
  guarded([this] {
    StartListDG2Options options;
    QString reverseText = reverse_->text();
    const bool valid = ReadStartListDG2Boxes(ui(), reverseText, maximum_->text(), options);
    // An empty reversal box shows the 0 it stands for.
    if (reverseText != reverse_->text()) reverse_->setText(reverseText);
    if (!valid) return;
    showResult(result_, ResultLine{});
    options.grouping = grouping_->itemText(grouping_->currentIndex());
    options.appendNonFinishers = append_->isChecked();
    options.bibsOnly = bibsOnly_->isChecked();
    options.openAfterOutput = show_->isChecked();
    const ResultLine line = WriteStartListDG2(state(), options, [this] { closeSelf(); });
    showResult(result_, line);
  });
}

}  // namespace kx
