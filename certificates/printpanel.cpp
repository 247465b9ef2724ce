#include "certificates/printpanel.h"

#include "common/appstate.h"
#include "db/database.h"
#include "workpanel/menuentries.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kx {

namespace {

const QStringList kGroupings{"keine Unterteilung", "Klasse", "Gruppe", "Kategorie"};
constexpr int kLeft = 600;
constexpr int kField = 3000;
constexpr int kRow = 420;

}  // namespace

CertificatePrintPanel::CertificatePrintPanel(PanelHost& host, const PanelInfo& row,
                                             const QString& menuEntry)
    : WorkPanel(host, row),
      mode_(menuEntry == menu::UrkundenDruck             ? Mode::Print
            : menuEntry == menu::UrkundenMannschaftDruck ? Mode::TeamPrint
                                                         : Mode::Export) {}

QString CertificatePrintPanel::title() const {
  switch (mode_) {
    case Mode::Print:
      return QStringLiteral("Urkunden drucken");
    case Mode::TeamPrint:
      return QStringLiteral("Mannschaftsurkunden drucken");
    case Mode::Export:
      break;
  }
  return QStringLiteral("Urkunden exportieren für Startora");
}

void CertificatePrintPanel::build() {
  int top = 800;
  const bool combination = state().CurrentDisciplineType == 6;
  if (combination) {
    buildCombination(top);
    buildIndividual(top);
  } else if (mode_ == Mode::TeamPrint) {
    buildTeam(top);
  } else {
    buildIndividual(top);
  }
  const PanelFont f = Arial(9);
  const bool shown = mode_ != Mode::Export;
  QLabel* l04 = addLabel("Label04", "Sortierung", f, {kLeft, top + 40, 2200, 255});
  sorting_ = addComboBox("UrkundeSortierung", f, kField, top, 1800, false);
  top += kRow;
  QLabel* l05 = addLabel("Label05", "Versatz", f, {kLeft, top + 40, 1000, 255});
  QLabel* l06 = addLabel("Label06", "vertikal", f, {1800, top + 40, 1100, 255});
  offsetV_ = addTextBox("UrkundeVersatzvertikal", "", f, {kField, top, 700, 300});
  QLabel* l07 = addLabel("Label07", "(1/10 mm)", f, {3800, top + 40, 1000, 255});
  top += kRow;
  QLabel* l08 = addLabel("Label08", "horizontal", f, {1800, top + 40, 1100, 255});
  offsetH_ = addTextBox("UrkundeVersatzhorizontal", "", f, {kField, top, 700, 300});
  QLabel* l09 = addLabel("Label09", "(1/10 mm)", f, {3800, top + 40, 1000, 255});
  top += kRow + 100;
  for (QWidget* w : std::initializer_list<QWidget*>{l04, sorting_, l05, l06, offsetV_, l07, l08,
                                                    offsetH_, l09}) {
    w->setVisible(shown);
  }
  addButton("Urkunde_ausgeben", "Ausgabe Urkunde (F2)", SansSerif(8, true), {kLeft, top, 2535, 375},
            [this] { mainAction(); });
  addButton("Urkunde_schliessen", "Schließen (Esc)", SansSerif(8), {3400, top, 2055, 375},
            [this] { closeSelf(); });

  const int results =
      state()
          .db()
          .scalar(QStringLiteral("select count(*) as anz from tblZeit where disziplin=?"),
                  {state().CurrentDisciplineType})
          .toInt();
  sorting_->addItems({"aufsteigend", "absteigend"});
  if (mode_ == Mode::Print) sorting_->addItem("nach Verein");
  const bool ten = (mode_ != Mode::Export && results > 0) || combination;
  ranks_->setText(ten ? "10" : "99");
  sorting_->setCurrentIndex(ten ? 1 : 0);
  offsetV_->setText("0");
  offsetH_->setText("0");
}

void CertificatePrintPanel::buildCombination(int& top) {
  const PanelFont f = Arial(9);
  addLabel("Label010", "Disziplinen", f, {kLeft, top + 40, 2200, 255});
  static const std::array<const char*, 6> names{"UrkundeDisDH", "UrkundeDisSG",   "UrkundeDisRS",
                                                "UrkundeDisSL", "UrkundeDisKOSL", "UrkundeDisPSL"};
  static const std::array<QString, 6> entries{menu::DisziplinDH,   menu::DisziplinSG,
                                              menu::DisziplinRS,   menu::DisziplinSL,
                                              menu::DisziplinKOSL, menu::DisziplinPSL};
  for (size_t d = 0; d < 6; ++d) {
    QAction* a = host().action(entries[d]);
    const bool active = a && a->isEnabled();
    const int col = d < 3 ? kField : kField + 2000;
    const int row = top + static_cast<int>(d % 3) * 330;
    disciplines_[d] = addCheckBox(names[d], a ? a->text() : QString(), active, SansSerif(8),
                                  {col, row, 1900, 300});
    disciplines_[d]->setEnabled(active);
  }
  top += 3 * 330 + 100;
  addLabel("Label011", "Auswertung nach", f, {kLeft, top + 40, 2200, 255});
  evaluation_ = addComboBox("UrkundeAuswertungnach", f, kField, top, 1800, false);
  top += kRow;
  label012_ = addLabel("Label012", "Rennpunkte", f, {kLeft, top + 40, 2200, 255});
  top += kRow;
  label013_ = addLabel("Label013", "berechnen pro", f, {kLeft + 300, top + 40, 2000, 255});
  pointsPer_ = addComboBox("UrkundeBerechnenPro", f, kField, top, 1800, false);
  top += kRow;
  label014_ = addLabel("Label014", "berechnen nach", f, {kLeft + 300, top + 40, 2000, 255});
  pointsBy_ = addComboBox("UrkundeBerechnenNach", f, kField, top, 1800, false);
  top += kRow + 100;
  pointsPer_->addItems(kGroupings);
  pointsPer_->setCurrentIndex(3);
  pointsBy_->addItems({"F-Wert", "Punktetabelle"});
  pointsBy_->setCurrentIndex(0);
  connectGuarded(evaluation_, &QComboBox::currentIndexChanged,
                 [this](int index) { evaluationChanged(index); });
  evaluation_->addItems({"Laufzeit", "Rennpunkten"});
  evaluation_->setCurrentIndex(1);
  evaluationChanged(evaluation_->currentIndex());
}

void CertificatePrintPanel::evaluationChanged(int index) {
  const bool on = index != 0;
  for (QWidget* w :
       std::initializer_list<QWidget*>{label012_, label013_, label014_, pointsPer_, pointsBy_}) {
    w->setEnabled(on);
  }
}

void CertificatePrintPanel::buildTeam(int& top) {
  const PanelFont f = Arial(9);
  addLabel("Label01", "Rückstand innerhalb", f, {kLeft, top + 40, 2200, 255});
  teamGrouping_ = addComboBox("MannschaftsergebnislisteGruppe", f, kField, top, 1800, false);
  top += kRow;
  addLabel("Label010", "zu wertende Teilnehmer", f, {kLeft, top + 40, 2200, 255});
  teamCount_ = addComboBox("MannschaftsergebnislisteAnzahl", f, kField, top, 600, false);
  top += kRow;
  addLabel("Label011", "Mindestanzahl weiblich", f, {kLeft, top + 40, 2200, 255});
  teamWomen_ = addComboBox("Mannschaftsergebnislisteweiblich", f, kField, top, 600, false);
  top += kRow;
  addLabel("Label012", "Mindestanzahl männlich", f, {kLeft, top + 40, 2200, 255});
  teamMen_ = addComboBox("Mannschaftsergebnislistemaennlich", f, kField, top, 600, false);
  top += kRow;
  addLabel("Label02", "Anzahl Ränge", f, {kLeft, top + 40, 2200, 255});
  ranks_ = addTextBox("UrkundeRaenge", "", f, {kField, top, 700, 300});
  top += kRow;
  teamGrouping_->addItems(kGroupings);
  teamGrouping_->setCurrentIndex(3);
  teamCount_->addItems({"1", "2", "3", "4", "5"});
  teamCount_->setCurrentIndex(2);
  teamWomen_->addItems({"0", "1", "2", "3"});
  teamWomen_->setCurrentIndex(1);
  teamMen_->addItems({"0", "1", "2", "3"});
  teamMen_->setCurrentIndex(1);
}

void CertificatePrintPanel::buildIndividual(int& top) {
  const PanelFont f = Arial(9);
  addLabel("Label01", "Gruppierung nach", f, {kLeft, top + 40, 2200, 255});
  grouping_ = addComboBox("UrkundeGruppe", f, kField, top, 1800, false);
  grouping_->addItems(kGroupings);
  const int typ = state().Settings.typNumber();
  grouping_->setCurrentIndex(typ == 0 || typ == 1 ? 3 : 1);
  if (CompetitionSettings::on(state().Settings.nation_aktiv)) {
    addLabel("Label015", "Nation/Verband", f, {5000, top + 40, 1500, 255});
    nation_ = addComboBox("UrkundeVerband", f, 6600, top, 1500, false);
    nation_->addItem("- alle -");
    const db::Recordset rs = state().db().query(
        QStringLiteral("select distinct nation from tblTeilnehmer t order by nation"));
    for (int r = 0; r < rs.count(); ++r) {
      if (!rs.at(r, 0).isNull()) nation_->addItem(rs.at(r, 0).toString());
    }
    nation_->setCurrentIndex(0);
  }
  top += kRow;
  addLabel("Label02", "Anzahl Ränge", f, {kLeft, top + 40, 2200, 255});
  addLabel("Label03", "(pro Gruppierung)", Arial(7), {kLeft, top + 280, 2200, 255});
  ranks_ = addTextBox("UrkundeRaenge", "", f, {kField, top + 100, 700, 300});
  top += kRow + 200;
}

CertificateRunOptions CertificatePrintPanel::options() const {
  CertificateRunOptions o;
  o.team = mode_ == Mode::TeamPrint;
  o.exportMode = mode_ == Mode::Export;
  o.ranks = ranks_->text();
  o.offsetVertical = offsetV_->text();
  o.offsetHorizontal = offsetH_->text();
  o.sorting = sorting_->currentIndex();
  if (grouping_) o.grouping = grouping_->currentIndex();
  if (nation_) {
    o.nationIndex = nation_->currentIndex();
    o.nation = nation_->currentText();
  }
  for (size_t d = 0; d < 6; ++d) {
    o.disciplines[d] = disciplines_[d] && disciplines_[d]->isChecked();
  }
  if (evaluation_) {
    o.evaluation = evaluation_->currentIndex();
    o.pointsMethod = pointsBy_->currentIndex();
    o.pointsDivision = pointsPer_->currentIndex();
  }
  if (teamGrouping_) {
    o.teamSettings.grouping = teamGrouping_->currentText();
    o.teamSettings.count = teamCount_->currentIndex() + 1;
    o.teamSettings.minWomen = teamWomen_->currentIndex();
    o.teamSettings.minMen = teamMen_->currentIndex();
  }
  return o;
}

void CertificatePrintPanel::mainAction() {
  guarded([this] { RunCertificateOutput(state(), options()); });
}

}  // namespace kx
