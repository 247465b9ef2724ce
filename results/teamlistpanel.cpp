#include "results/teamlistpanel.h"

#include "lists/listpanelsupport.h"
#include "results/panelchoices.h"
#include "results/teamlist.h"

#include <QComboBox>
#include <QLineEdit>

namespace kx {

void TeamListPanel::build() {
  const EventLabels event = addEventHeader(QStringLiteral("MannschaftsergebnislisteBezVeranst"),
                                           QStringLiteral("MannschaftsergebnislisteDatumVeranst"),
                                           3960, SansSerif(10, true, true));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Titel in Liste"), Arial(9),
           {600, 2225, 2200, 255});
  title_ = addTextBox(QStringLiteral("MannschaftsergebnislisteTitel"),
                      QStringLiteral("Mannschaftswertung"), Arial(9), {2800, 2180, 2775, 285});
  addLabel(QStringLiteral("Label04"), QStringLiteral("Rückstand innerhalb"), Arial(9),
           {600, 2705, 2200, 255});
  grouping_ =
      addComboBox(QStringLiteral("MannschaftsergebnislisteGruppe"), Arial(9), 2800, 2660, 2775);
  addLabel(QStringLiteral("Label05"), QStringLiteral("zu wertende Teilnehmer"), Arial(9),
           {600, 3125, 2200, 255});
  count_ = addComboBox(QStringLiteral("MannschaftsergebnislisteAnzahl"), Arial(9), 2800, 3080, 615);
  addLabel(QStringLiteral("Label06"), QStringLiteral("Mindestanzahl weiblich"), Arial(9),
           {600, 3545, 2200, 255});
  women_ =
      addComboBox(QStringLiteral("Mannschaftsergebnislisteweiblich"), Arial(9), 2800, 3500, 615);
  addLabel(QStringLiteral("Label07"), QStringLiteral("Mindestanzahl männlich"), Arial(9),
           {600, 3965, 2200, 255});
  men_ =
      addComboBox(QStringLiteral("Mannschaftsergebnislistemaennlich"), Arial(9), 2800, 3920, 615);
  addShowBox(QStringLiteral("Mannschaftsergebnisliste_anzeigen"),
             QStringLiteral("Ergebnisliste anzeigen"), 4400);
  addOutputButtons(QStringLiteral("Mannschaftsergebnisliste_ausgeben"),
                   QStringLiteral("Ausgabe Ergebnisliste (F2)"), SansSerif(8, true), 4880,
                   QStringLiteral("Mannschaftsergebnisliste_schliessen"));
  addResultLine(QStringLiteral("Mannschaftsergebnisliste_Meldung"), 5480);

  count_->addItems({"1", "2", "3", "4", "5"});
  count_->setCurrentIndex(2);
  women_->addItems({"0", "1", "2", "3"});
  women_->setCurrentIndex(1);
  men_->addItems({"0", "1", "2", "3"});
  men_->setCurrentIndex(1);
  FillEventLabels(state(), event.name, event.date, false);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::TeamList);
}

void TeamListPanel::writeOutput(ResultLine& line) {
  const auto grouping = OfferedChoice(ui(), *grouping_, QStringLiteral("Rückstand innerhalb"));
  if (!grouping) return;
  const auto count = OfferedChoice(ui(), *count_, QStringLiteral("zu wertende Teilnehmer"));
  if (!count) return;
  const auto women = OfferedChoice(ui(), *women_, QStringLiteral("Mindestanzahl weiblich"));
  if (!women) return;
  const auto men = OfferedChoice(ui(), *men_, QStringLiteral("Mindestanzahl männlich"));
  if (!men) return;
  TeamListOptions options;
  options.title = title_->text();
  options.ranking = {grouping_->itemText(*grouping), *count + 1, *women, *men};
  options.openAfterOutput = showAfterOutput();
  line = WriteTeamList(state(), options, [this] { closeSelf(); });
}

}  // namespace kx
