#include "results/postinglistpanel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "db/database.h"
#include "lists/listpanelsupport.h"
#include "results/panelchoices.h"
#include "results/postinglist.h"
#include "workpanel/panelhost.h"

#include <QComboBox>
#include <QLabel>

namespace kx {

void PostingListPanel::build() {
  const EventLabels event =
      addEventHeader(QStringLiteral("AushanglisteBezVeranst"),
                     QStringLiteral("AushanglisteDatumVeranst"), 3960, SansSerif(10, true, true));
  addLabel(QStringLiteral("Label03"), QStringLiteral("Gruppierung nach"), Arial(9),
           {600, 2225, 1575, 255});
  grouping_ = addComboBox(QStringLiteral("AushanglisteGruppe"), Arial(9), 2400, 2180, 2775);
  divisionLabel_ = addLabel(QStringLiteral("Label04"), QStringLiteral("Klasse"), Arial(9),
                            {600, 2705, 1575, 255});
  division_ = addComboBox(QStringLiteral("AushanglisteKlName"), Arial(9), 2400, 2660, 2775);
  addLabel(QStringLiteral("Label05"), QStringLiteral("Format"), Arial(9), {600, 3185, 1575, 255});
  format_ = addComboBox(QStringLiteral("AushanglisteFormat"), Arial(9), 2400, 3140, 1455);
  addShowBox(QStringLiteral("Aushangliste_anzeigen"), QStringLiteral("Aushangliste anzeigen"),
             3740);
  addOutputButtons(QStringLiteral("Aushangliste_ausgeben"),
                   QStringLiteral("Ausgabe Aushangliste (F2)"), SansSerif(8), 4460,
                   QStringLiteral("Aushangliste_schliessen"));
  addResultLine(QStringLiteral("Aushangliste_Meldung"), 5060);

  FillEventLabels(state(), event.name, event.date, true);
  FillGroupingCombo(*grouping_, state(), GroupingChoices::PostingList);
  format_->addItems({QStringLiteral("Hochformat"), QStringLiteral("Querformat")});
  format_->setCurrentIndex(0);
  connectGuarded(grouping_, &QComboBox::currentIndexChanged, [this] { groupingChosen(); });
  groupingChosen();
  InstallComboTypeAhead(*grouping_);
  InstallComboTypeAhead(*division_);
  InstallComboTypeAhead(*format_);
}

void PostingListPanel::groupingChosen() {
  const QString g = grouping_->currentText();
  division_->clear();
  host().frameTitel()->setText(QStringLiteral("Ausgabe Aushangliste für eine ") + g);
  divisionLabel_->setText(g);
  QString sql;
  if (g == QLatin1String("Klasse")) {
    sql = QStringLiteral("select klname as klasse from tblKlasse order by sortpos");
  } else if (g == QLatin1String("Gruppe")) {
    sql = QStringLiteral("select grpname as klasse from tblGruppe order by sortpos");
  } else if (g == QLatin1String("Kategorie")) {
    sql = QStringLiteral(
        "select kname as klasse from tblKategorie where kat in (select sex from "
        "tblTeilnehmer) order by sortpos");
  }
  if (sql.isEmpty()) {
    division_->addItem(QStringLiteral("-"));
  } else {
    const db::Recordset rs = state().db().query(sql);
    for (int i = 0; i < rs.count(); ++i) division_->addItem(rs.at(i, 0).toString());
  }
  if (division_->count() > 0) division_->setCurrentIndex(0);
}

void PostingListPanel::writeOutput(ResultLine& line) {
  const auto grouping = OfferedChoice(ui(), *grouping_, QStringLiteral("Gruppierung nach"));
  if (!grouping) return;
  const auto division = OfferedChoice(ui(), *division_, divisionLabel_->text());
  if (!division) return;
  PostingListOptions options;
  options.grouping = grouping_->itemText(*grouping);
  options.division = division_->itemText(*division);
  options.landscape = format_->currentIndex() == 1;
  options.openAfterOutput = showAfterOutput();
  line = WritePostingList(state(), options);
}

}  // namespace kx
