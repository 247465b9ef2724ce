#include "startorder/boardlistpanel.h"

#include "common/textroutines.h"
#include "startorder/boardlist.h"

#include <QCheckBox>
#include <QComboBox>

namespace kx {

void BoardPanel::addHead(int fieldLeft, bool newPageTicked, GroupingChoices choices) {
  const EventLabels event = addEventHeader(
      QStringLiteral("TafelBezVeranst"), QStringLiteral("TafelDatumVeranst"), 4080, SansSerif(10));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Gruppierung nach"), Arial(9),
           {600, 2225, 1575, 255});
  grouping_ = addComboBox(QStringLiteral("TafelGruppe"), Arial(9), fieldLeft, 2180, 2775);
  newPage_ = addCheckBox(QStringLiteral("TafelneueSeite"), QStringLiteral("mit Seitenwechsel"),
                         newPageTicked, Arial(9), {fieldLeft + 3000, 2160, 3000, 375});

  FillEventLabels(state(), event.name, event.date, true);
  FillGroupingCombo(*grouping_, state(), choices);
  InstallComboTypeAhead(*grouping_);
}

void BoardPanel::addFormat(const QString& labelName, int top, int fieldLeft) {
  addLabel(labelName, QStringLiteral("Format"), Arial(9), {600, top + 45, 1575, 255});
  format_ = addComboBox(QStringLiteral("TafelFormat"), Arial(9), fieldLeft, top, 1455);
  format_->addItems({QStringLiteral("Hochformat"), QStringLiteral("Querformat")});
  format_->setCurrentIndex(0);
  InstallComboTypeAhead(*format_);
}

void BoardPanel::addFoot(const QString& prefix, int showTop, int buttonTop, int resultTop) {
  addShowBox(QStringLiteral("Tafelliste_anzeigen"), QStringLiteral("Tafelliste anzeigen"), showTop);
  addOutputButtons(prefix + QStringLiteral("_ausgeben"), QStringLiteral("Ausgabe Tafelliste (F2)"),
                   SansSerif(8), buttonTop, prefix + QStringLiteral("_schliessen"));
  addResultLine(QStringLiteral("Tafelliste_Meldung"), resultTop);
}

void BoardListPanel::build() {
  addHead(2400, false, GroupingChoices::Run1);
  addFormat(QStringLiteral("Label04"), 2660, 2400);
  addLabel(QStringLiteral("Label05"), QStringLiteral("Spalten für Zeiten"), Arial(9),
           {600, 3125, 1575, 255});
  timeColumns_ = addComboBox(QStringLiteral("TafelZeitspalten"), Arial(9), 2400, 3080, 615);
  timeColumns_->addItems({QStringLiteral("2"), QStringLiteral("3")});
  timeColumns_->setCurrentIndex(0);
  addLabel(QStringLiteral("Label06"), QStringLiteral("Leerzeilen / Gruppe"), Arial(9),
           {600, 3545, 1800, 255});
  emptyRows_ = addComboBox(QStringLiteral("TafelLeerzeilen"), Arial(9), 2400, 3500, 615);
  emptyRows_->addItems({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"),
                        QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5")});
  emptyRows_->setCurrentIndex(2);
  // Typed text always lands on one of the entries, so every count has a valid value.
  InstallComboTypeAhead(*timeColumns_);
  InstallComboTypeAhead(*emptyRows_);
  addFoot(QStringLiteral("Tafelliste"), 3980, 4460, 5060);
}

void BoardListPanel::writeOutput(ResultLine& line) {
  BoardListOptions options;
  options.grouping = grouping_->itemText(grouping_->currentIndex());
  options.newPagePerGroup = newPage_->isChecked();
  options.landscape = format_->currentIndex() == 1;
  options.timeColumns = 2 + qMax(timeColumns_->currentIndex(), 0);
  options.emptyRowsPerGroup = qMax(emptyRows_->currentIndex(), 0);
  options.openAfterOutput = showAfterOutput();
  line = WriteBoardList(state(), options);
}

}  // namespace kx
