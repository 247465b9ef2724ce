#include "startorder/boardlistpanel.h"

#include "common/textroutines.h"
#include "startorder/boardlist.h"
#include "startorder/listpanelsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace kx {

BoardListPanel::BoardListPanel(MainWindow& window)
    : WorkPanel(window, QStringLiteral("Tafelliste")) {}

void BoardListPanel::build() {
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
  grouping_ = addComboBox(QStringLiteral("TafelGruppe"), Arial(9), 2400, 2180, 2775);
  newPage_ = addCheckBox(QStringLiteral("TafelneueSeite"), QStringLiteral("mit Seitenwechsel"),
                         false, Arial(9), {5400, 2160, 3000, 375});
  addLabel(QStringLiteral("Label04"), QStringLiteral("Format"), Arial(9), {600, 2705, 1575, 255});
  format_ = addComboBox(QStringLiteral("TafelFormat"), Arial(9), 2400, 2660, 1455);
  addLabel(QStringLiteral("Label05"), QStringLiteral("Spalten für Zeiten"), Arial(9),
           {600, 3125, 1575, 255});
  timeColumns_ = addComboBox(QStringLiteral("TafelZeitspalten"), Arial(9), 2400, 3080, 615);
  addLabel(QStringLiteral("Label06"), QStringLiteral("Leerzeilen / Gruppe"), Arial(9),
           {600, 3545, 1800, 255});
  emptyRows_ = addComboBox(QStringLiteral("TafelLeerzeilen"), Arial(9), 2400, 3500, 615);
  show_ = addCheckBox(QStringLiteral("Tafelliste_anzeigen"), QStringLiteral("Tafelliste anzeigen"),
                      true, SansSerif(8), {600, 3980, 2295, 375});
  addButton(QStringLiteral("Tafelliste_ausgeben"), QStringLiteral("Ausgabe Tafelliste (F2)"),
            SansSerif(8), {600, 4460, 2535, 375}, [this] { mainAction(); });
  addButton(QStringLiteral("Tafelliste_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {4080, 4460, 2055, 375}, [this] { closeSelf(); });
  result_ = addLabel(QStringLiteral("Tafelliste_Meldung"), QStringLiteral(" "), Arial(10),
                     {600, 5060, 6735, 975});

  if (const auto texts = ReadPanelEventTexts(state(), true)) {
    name->setText(texts->name);
    date->setText(texts->date);
  }
  FillGroupingCombo(*grouping_, state(), GroupingChoices::Run1);
  format_->addItems({QStringLiteral("Hochformat"), QStringLiteral("Querformat")});
  format_->setCurrentIndex(0);
  timeColumns_->addItems({QStringLiteral("2"), QStringLiteral("3")});
  timeColumns_->setCurrentIndex(0);
  emptyRows_->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                        QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")});
  emptyRows_->setCurrentIndex(2);
  // Typed text always lands on one of the entries, so every option has a valid value.
  for (QComboBox* combo : {grouping_, format_, timeColumns_, emptyRows_})
    InstallComboTypeAhead(*combo);
}

void BoardListPanel::mainAction() {
  guarded([this] {
    showResult(result_, ResultLine{});
    BoardListOptions options;
    options.grouping = grouping_->itemText(grouping_->currentIndex());
    options.newPagePerGroup = newPage_->isChecked();
    options.landscape = format_->currentIndex() == 1;
    options.timeColumns = 2 + qMax(timeColumns_->currentIndex(), 0);
    options.emptyRowsPerGroup = qMax(emptyRows_->currentIndex(), 0);
    options.openAfterOutput = show_->isChecked();
    showResult(result_, WriteBoardList(state(), options));
  });
}

}  // namespace kx
