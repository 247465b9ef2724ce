#include "startorder/boardlistdg2panel.h"

#include "common/textroutines.h"
#include "common/userinterface.h"
#include "startorder/boardlistdg2.h"
#include "startorder/listpanelsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace kx {

BoardListDG2Panel::BoardListDG2Panel(MainWindow& window)
    : WorkPanel(window, QStringLiteral("TafellisteDG2")) {}

void BoardListDG2Panel::build() {
  addLabel(QStringLiteral("Label01"), QStringLiteral("Bewerbsbezeichnung"), SansSerif(10),
           {600, 980, 2535, 255});
  addLabel(QStringLiteral("Label02"), QStringLiteral("Veranstaltungsdatum"), SansSerif(10),
           {4080, 980, 2535, 255});
  QLabel* name = addLabel(QStringLiteral("TafelBezVeranst"), QStringLiteral(" "), Arial(10),
                          {600, 1340, 3375, 860});
  QLabel* date = addLabel(QStringLiteral("TafelDatumVeranst"), QStringLiteral(" "), Arial(10),
                          {4080, 1340, 3375, 615});
  addLabel(QStringLiteral("Label03"), QStringLiteral("Gruppierung nach"), Arial(9),
           {600, 2225, 1575, 255});
  grouping_ = addComboBox(QStringLiteral("TafelGruppe"), Arial(9), 2700, 2180, 2775);
  newPage_ = addCheckBox(QStringLiteral("TafelneueSeite"), QStringLiteral("mit Seitenwechsel"),
                         true, Arial(9), {5700, 2160, 3000, 375});
  addLabel(QStringLiteral("Label04"), QStringLiteral("Umkehrung der ersten"), Arial(9),
           {600, 2610, 1875, 255});
  reverse_ = addTextBox(QStringLiteral("TafellisteDG2umkehren"), QStringLiteral("30"), Arial(9),
                        {2700, 2580, 735, 285});
  addLabel(QStringLiteral("Label05"), QStringLiteral("Format"), Arial(9), {600, 3125, 1575, 255});
  format_ = addComboBox(QStringLiteral("TafelFormat"), Arial(9), 2700, 3080, 1455);
  appendNonFinishers_ =
      addCheckBox(QStringLiteral("TafellisteDG2_mitallen"),
                  QStringLiteral("NiZ/Dis vom 1. Durchgang zusätzlich hinten anfügen"), false,
                  SansSerif(8), {600, 3680, 4600, 375});
  show_ = addCheckBox(QStringLiteral("Tafelliste_anzeigen"), QStringLiteral("Tafelliste anzeigen"),
                      true, SansSerif(8), {600, 4110, 2295, 375});
  addButton(QStringLiteral("TafellisteDG2_ausgeben"), QStringLiteral("Ausgabe Tafelliste (F2)"),
            SansSerif(8), {600, 4890, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("TafellisteDG2_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 4890, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Tafelliste_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5490, 6735, 975});

  if (const auto texts = ReadPanelEventTexts(state(), true)) {
    name->setText(texts->name);
    date->setText(texts->date);
  }
  FillGroupingCombo(*grouping_, state(), GroupingChoices::Run2Board);
  format_->addItems({QStringLiteral("Hochformat"), QStringLiteral("Querformat")});
  format_->setCurrentIndex(0);
  for (QComboBox* combo : {grouping_, format_}) InstallComboTypeAhead(*combo);
}

void BoardListDG2Panel::mainAction() {
  guarded([this] {
    showResult(result_, ResultLine{});
    BoardListDG2Options options;
    options.newPagePerGroup = newPage_->isChecked();
    options.appendNonFinishers = appendNonFinishers_->isChecked();
    options.openAfterOutput = show_->isChecked();
    if (reverse_->text().isEmpty()) reverse_->setText(QStringLiteral("0"));
    const std::optional<int> reverseCount = ParseBoxNumber(reverse_->text());
    if (!reverseCount) {
      ui().message(QStringLiteral(
          "Die Anzahl für die Umkehrung der ersten Läufer pro Gruppierung ist nicht numerisch"));
      return;
    }
    options.reverseCount = *reverseCount;
    options.grouping = grouping_->itemText(grouping_->currentIndex());
    options.landscape = format_->currentIndex() == 1;
    showResult(result_, WriteBoardListDG2(state(), options));
  });
}

}  // namespace kx
