#include "results/participantdatapanel.h"

#include "results/panelchoices.h"
#include "results/participantdata.h"
#include "workpanel/menuentries.h"
#include "workpanel/panelhost.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

namespace kx {

void ParticipantDataPanel::build() {
  addLabel(QStringLiteral("Label010"), QStringLiteral("Disziplinen"), Arial(9),
           {600, 740, 1575, 255});
  const struct {
    const char* box;
    const QString& entry;
    Twips pos;
  } boxes[] = {{"TnDatenDisDH", menu::DisziplinDH, {2400, 740, 1455, 255}},
               {"TnDatenDisSG", menu::DisziplinSG, {2400, 980, 1455, 255}},
               {"TnDatenDisRS", menu::DisziplinRS, {2400, 1220, 1455, 255}},
               {"TnDatenDisSL", menu::DisziplinSL, {3960, 740, 2175, 255}},
               {"TnDatenDisKOSL", menu::DisziplinKOSL, {3960, 980, 2175, 255}},
               {"TnDatenDisPSL", menu::DisziplinPSL, {3960, 1220, 2175, 255}}};
  for (size_t k = 0; k < disciplines_.size(); ++k) {
    QAction* entry = host().action(boxes[k].entry);
    // Only the disciplines active in the file can take part.
    const bool active = entry && entry->isEnabled();
    QString caption = entry ? entry->text() : QString();
    caption.remove(QLatin1Char('&'));
    disciplines_[k] =
        addCheckBox(QString::fromLatin1(boxes[k].box), caption, active, SansSerif(8), boxes[k].pos);
    disciplines_[k]->setEnabled(active);
  }
  addLabel(QStringLiteral("Label011"), QStringLiteral("Auswertung nach"), Arial(9),
           {600, 1625, 1575, 255});
  evaluation_ = addComboBox(QStringLiteral("TnDatenAuswertungnach"), Arial(9), 2400, 1580, 2055);
  pointOptions_[0] = addLabel(QStringLiteral("Label012"), QStringLiteral("Rennpunkte"), Arial(9),
                              {600, 2020, 1575, 255});
  pointOptions_[1] = addLabel(QStringLiteral("Label013"), QStringLiteral("berechnen pro"), Arial(9),
                              {840, 2240, 1575, 255});
  per_ = addComboBox(QStringLiteral("TnDatenBerechnenPro"), Arial(9), 2400, 2195, 2055);
  pointOptions_[2] = per_;
  pointOptions_[3] = addLabel(QStringLiteral("Label014"), QStringLiteral("berechnen nach"),
                              Arial(9), {840, 2645, 1575, 255});
  method_ = addComboBox(QStringLiteral("TnDatenBerechnenNach"), Arial(9), 2400, 2600, 2055);
  pointOptions_[4] = method_;
  per_->addItems({QStringLiteral("keine Unterteilung"), QStringLiteral("Klasse"),
                  QStringLiteral("Gruppe"), QStringLiteral("Kategorie")});
  per_->setCurrentIndex(3);
  method_->addItems({QStringLiteral("F-Wert"), QStringLiteral("Punktetabelle")});
  method_->setCurrentIndex(0);
  evaluation_->addItems({QStringLiteral("Laufzeit"), QStringLiteral("Rennpunkten")});
  evaluation_->setCurrentIndex(1);
  connectGuarded(evaluation_, &QComboBox::currentIndexChanged, [this] { evaluationChosen(); });
  evaluationChosen();
  addOutputButtons(QStringLiteral("TnDaten_ausgeben"), QStringLiteral("Daten exportieren (F2)"),
                   SansSerif(8, true), 4460, QStringLiteral("TnDaten_schliessen"));
  addResultLine(QStringLiteral("TnDaten_Meldung"), 5060);
}

void ParticipantDataPanel::evaluationChosen() {
  const bool points = evaluation_->currentIndex() != 0;
  for (QWidget* w : pointOptions_) w->setEnabled(points);
}

void ParticipantDataPanel::writeOutput(ResultLine& line) {
  ParticipantDataOptions options;
  for (size_t k = 0; k < disciplines_.size(); ++k)
    options.selected[k] = disciplines_[k]->isChecked();
  const auto evaluation = OfferedChoice(ui(), *evaluation_, QStringLiteral("Auswertung nach"));
  if (!evaluation) return;
  options.racePoints = *evaluation == 1;
  if (options.racePoints) {
    const auto per = OfferedChoice(ui(), *per_, QStringLiteral("berechnen pro"));
    if (!per) return;
    const auto method = OfferedChoice(ui(), *method_, QStringLiteral("berechnen nach"));
    if (!method) return;
    options.division = static_cast<RacePointsDivision>(*per);
    options.method = static_cast<RacePointsMethod>(*method);
  }
  line = WriteParticipantData(state(), options);
}

}  // namespace kx
