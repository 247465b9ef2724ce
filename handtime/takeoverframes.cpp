#include "handtime/takeoverframes.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "common/userinterface.h"
#include "handtime/handlistview.h"
#include "workpanel/panelhost.h"
#include "workpanel/workpanel.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace kx {

namespace {

QFont ControlFont(bool bold = false) {
  QFont font(QStringLiteral("MS Sans Serif"), 8);
  font.setBold(bold);
  return font;
}

template <class W>
W* Place(W* widget, const QString& name, const Twips& pos) {
  widget->setObjectName(name);
  widget->setFont(ControlFont());
  widget->setGeometry(TwipsToPixels(pos));
  return widget;
}

QPushButton* AddButton(QWidget* parent, PanelHost& host, const QString& name,
                       const QString& caption, const Twips& pos, std::function<void()> onClick) {
  auto* button = Place(new QPushButton(caption, parent), name, pos);
  ConnectGuarded(host.ui(), button, &QPushButton::clicked, parent, std::move(onClick));
  return button;
}

void AddLabel(QWidget* parent, const QString& name, const QString& caption, const Twips& pos) {
  Place(new QLabel(caption, parent), name, pos);
}

// Fills a run combo with 1 .. RunsWithTimes and selects the last run.
void FillRuns(QComboBox& combo, int runs) {
  combo.clear();
  for (int run = 1; run <= runs; ++run) combo.addItem(QString::number(run));
  combo.setCurrentIndex(runs - 1);
}

// Fills the whole area of a takeover frame.
void Fill(QWidget* widget, QFrame* frame) {
  widget->setGeometry(frame->rect());
  widget->show();
}

// Asked before a frame with assignments not taken over is left; true when the person keeps
// them (Nein, the default button).
bool KeepsAssignments(PanelHost& host) {
  return host.ui().message(QStringLiteral("Achtung: die zugeordneten Handzeiten sind noch nicht "
                                          "übernommen! Zuordnungen verwerfen?"),
                           MsgIcon::None, QString(), MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes;
}

// Hides a takeover frame and empties the title.
void Hide(PanelHost& host, QWidget* frame) {
  frame->hide();
  host.frameTitel()->clear();
}

}  // namespace

// ---------------------------------------------------------------------------------------
// By time of day

ZeituebernahmeFrame::ZeituebernahmeFrame(PanelHost& host)
    : QWidget(host.frameZeituebernahme()), host_(host), takeover_(host.state()) {
  Fill(this, host.frameZeituebernahme());
  AddLabel(this, QStringLiteral("Label25"), QStringLiteral("Handzeit"), {120, 150, 800, 255});
  handzeitT_ = Place(new QComboBox(this), QStringLiteral("HandzeitT"), {960, 100, 1100, 315});
  handzeitT_->addItems({QStringLiteral("Start"), QStringLiteral("Ziel")});
  AddLabel(this, QStringLiteral("Label15"), QStringLiteral("Durchgang"), {2280, 150, 900, 255});
  durchgang_ = Place(new QComboBox(this), QStringLiteral("Durchgang"), {3200, 100, 800, 315});
  AddButton(this, host, QStringLiteral("Zeiten_Anzeigen"), QStringLiteral("Anzeigen"),
            {4200, 100, 1200, 330}, [this] { Zeiten_Anzeigen_Click(); });
  list_ = Place(new HandListView(takeover_.list(), QStringLiteral("Zeitvergleich"), this),
                QStringLiteral("Zeitvergleich"), {120, 600, 6900, 7200});
  AddLabel(this, QStringLiteral("Label26"), QStringLiteral("Start-Nr"), {7300, 650, 900, 255});
  startNr_ = Place(new QLineEdit(this), QStringLiteral("StartNr"), {8250, 600, 900, 315});
  AddButton(this, host, QStringLiteral("Zeiten_StNr_zuordnen"), QStringLiteral("St-Nr Zuordnen"),
            {7300, 1100, 2300, 375}, [this] { Zeiten_StNr_zuordnen_Click(); });
  AddButton(this, host, QStringLiteral("Zeiten_Zuordnung_aufheben"),
            QStringLiteral("Zuordnung aufheben"), {7300, 1600, 2300, 375},
            [this] { Zeiten_Zuordnung_aufheben_Click(); });
  AddButton(this, host, QStringLiteral("Zeiten_Uebernehmen"), QStringLiteral("Übernehmen (F2)"),
            {7300, 2400, 2300, 375}, [this] { Zeiten_Uebernehmen_Click(); })
      ->setFont(ControlFont(true));
  AddButton(this, host, QStringLiteral("Zeiten_Schliessen"), QStringLiteral("Schließen (Esc)"),
            {7300, 2900, 2300, 375}, [this] { Zeiten_Schliessen_Click(); });
}

void ZeituebernahmeFrame::reload() {
  list_->reload();
}

bool ZeituebernahmeFrame::build(HandMode mode, int run) {
  if (!takeover_.Build(mode, run)) {
    showBuilt();
    return false;
  }
  reload();
  return true;
}

void ZeituebernahmeFrame::showBuilt() {
  handzeitT_->setCurrentIndex(static_cast<int>(takeover_.builtMode()));
  durchgang_->setCurrentIndex(takeover_.builtRun() - 1);
}

void ZeituebernahmeFrame::Zeituebernahme_Click() {
  {
    const QScopedValueRollback<bool> own(reopening_, true);
    if (host_.EditorLeaveGuard()) return;
  }
  host_.CloseAllPanels();
  host_.frameTitel()->setText(QStringLiteral("Übernahme Handzeit (Tageszeit)"));
  const AppState& state = host_.state();
  const bool starts = !state.HzStart.empty();
  const bool finishes = !state.HzZiel.empty();
  handzeitT_->setCurrentIndex(starts && !finishes ? 0 : 1);
  handzeitT_->setEnabled(starts && finishes);
  FillRuns(*durchgang_, state.RunsWithTimes);
  // After assignments the build asks first; a list the person keeps stays with its
  // assignments, for F2 to take over.
  Zeiten_Anzeigen_Click();
  parentWidget()->show();
  parentWidget()->raise();
}

void ZeituebernahmeFrame::Zeiten_Anzeigen_Click() {
  build(handzeitT_->currentIndex() == 0 ? HandMode::Start : HandMode::Ziel,
        durchgang_->currentIndex() + 1);
}

void ZeituebernahmeFrame::Zeiten_StNr_zuordnen_Click() {
  takeover_.AssignBib(startNr_->text());
  reload();
}

void ZeituebernahmeFrame::Zeiten_Zuordnung_aufheben_Click() {
  takeover_.Undo();
  reload();
}

void ZeituebernahmeFrame::Zeiten_Uebernehmen_Click() {
  if (!takeover_.Takeover()) return;
  // The list was built again for the run and mode it was written for.
  showBuilt();
  reload();
}

void ZeituebernahmeFrame::Zeiten_Schliessen_Click() {
  if (keepAssignments()) return;
  Hide(host_, parentWidget());
}

bool ZeituebernahmeFrame::keepAssignments() {
  if (reopening_) return false;
  if (takeover_.holdsReplacements()) {
    if (KeepsAssignments(host_)) return true;
    Hide(host_, parentWidget());
  }
  // Left with nothing to take over: opened again, the frame builds without a question.
  takeover_.clearAssignmentsMade();
  return false;
}

// ---------------------------------------------------------------------------------------
// By run time

HandzeitFrame::HandzeitFrame(PanelHost& host)
    : QWidget(host.frameHandzeit()), host_(host), takeover_(host.state()) {
  Fill(this, host.frameHandzeit());
  starts_ = Place(new HandListView(takeover_.starts(), QStringLiteral("HandzeitS"), this),
                  QStringLiteral("HandzeitS"), {120, 120, 2100, 6000});
  finishes_ = Place(new HandListView(takeover_.finishes(), QStringLiteral("HandzeitZ"), this),
                    QStringLiteral("HandzeitZ"), {2340, 120, 2100, 6000});
  durchgangH_ = Place(new QComboBox(this), QStringLiteral("DurchgangH"), {4680, 120, 800, 315});
  AddButton(this, host, QStringLiteral("Zeiten_AnzeigenH"), QStringLiteral("Anzeigen"),
            {5600, 100, 1200, 330}, [this] { Zeiten_AnzeigenH_Click(); });
  comparison_ =
      Place(new HandListView(takeover_.comparison(), QStringLiteral("ZeitvergleichH"), this),
            QStringLiteral("ZeitvergleichH"), {4680, 600, 3700, 5520});
  startNrS_ = Place(new QLineEdit(this), QStringLiteral("StartNrS"), {120, 6240, 1000, 315});
  AddButton(this, host, QStringLiteral("Start_StNr_zuordnen"),
            QStringLiteral("St-Nr Zuordnen (F3)"), {120, 6660, 2100, 375},
            [this] { Start_StNr_zuordnen_Click(); });
  AddButton(this, host, QStringLiteral("Start_Zuordnung_aufheben"),
            QStringLiteral("Zuordnung aufheben"), {120, 7110, 2100, 375},
            [this] { Start_Zuordnung_aufheben_Click(); });
  startNrZ_ = Place(new QLineEdit(this), QStringLiteral("StartNrZ"), {2340, 6240, 1000, 315});
  AddButton(this, host, QStringLiteral("Ziel_StNr_zuordnen"), QStringLiteral("St-Nr Zuordnen (F4)"),
            {2340, 6660, 2100, 375}, [this] { Ziel_StNr_zuordnen_Click(); });
  AddButton(this, host, QStringLiteral("Ziel_Zuordnung_aufheben"),
            QStringLiteral("Zuordnung aufheben"), {2340, 7110, 2100, 375},
            [this] { Ziel_Zuordnung_aufheben_Click(); });
  AddButton(this, host, QStringLiteral("Zeiten_UebernehmenH"), QStringLiteral("Übernehmen (F2)"),
            {4680, 6240, 2000, 375}, [this] { Zeiten_UebernehmenH_Click(); })
      ->setFont(ControlFont(true));
  AddButton(this, host, QStringLiteral("Zeiten_SchliessenH"), QStringLiteral("Schließen (Esc)"),
            {6880, 6240, 1500, 375}, [this] { Zeiten_SchliessenH_Click(); });
  // A click on a hand time shows it bold and blue.
  for (HandListView* view : {starts_, finishes_}) {
    ConnectGuarded(host.ui(), view, &HandListView::rowChosen, this, [this, view] {
      RunTimeTakeover::ColourSelection(view == starts_ ? takeover_.starts() : takeover_.finishes());
      view->reload();
    });
  }
}

int HandzeitFrame::run() const {
  return durchgangH_->currentIndex() + 1;
}

void HandzeitFrame::reload() {
  starts_->reload();
  finishes_->reload();
  comparison_->reload();
}

void HandzeitFrame::ZeituebernahmeH_Click() {
  if (host_.EditorLeaveGuard()) return;
  host_.CloseAllPanels();
  host_.frameTitel()->setText(QStringLiteral("Übernahme Handzeit (Laufzeit)"));
  FillRuns(*durchgangH_, host_.state().RunsWithTimes);
  takeover_.Open(run());
  reload();
  parentWidget()->show();
  parentWidget()->raise();
}

void HandzeitFrame::Zeiten_AnzeigenH_Click() {
  takeover_.Compare(run());
  reload();
}

void HandzeitFrame::Start_StNr_zuordnen_Click() {
  if (takeover_.AssignStart(startNrS_->text())) startNrS_->setSelection(0, 3);
  reload();
}

void HandzeitFrame::Ziel_StNr_zuordnen_Click() {
  if (takeover_.AssignFinish(startNrZ_->text())) startNrZ_->setSelection(0, 3);
  reload();
}

void HandzeitFrame::Start_Zuordnung_aufheben_Click() {
  if (takeover_.RemoveStart()) startNrS_->setSelection(0, 3);
  reload();
}

void HandzeitFrame::Ziel_Zuordnung_aufheben_Click() {
  if (takeover_.RemoveFinish()) startNrZ_->setSelection(0, 3);
  reload();
}

void HandzeitFrame::Zeiten_UebernehmenH_Click() {
  const bool written = takeover_.Takeover();
  reload();
  if (written) Zeiten_SchliessenH_Click();
}

void HandzeitFrame::Zeiten_SchliessenH_Click() {
  if (keepAssignments()) return;
  Hide(host_, parentWidget());
}

bool HandzeitFrame::keepAssignments() {
  if (!takeover_.startAssigned() && !takeover_.finishAssigned()) return false;
  if (KeepsAssignments(host_)) return true;
  takeover_.clearAssignments();
  Hide(host_, parentWidget());
  return false;
}

}  // namespace kx
