#include "livetiming/livetimingpanel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "livetiming/choices.h"
#include "livetiming/protocol.h"
#include "livetiming/session.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>

namespace kx {

namespace {

const QString kStartCaption = QStringLiteral("LiveTiming starten (F2)");
const QString kStopCaption = QStringLiteral("LiveTiming beenden (F2)");
const QString kActive = QStringLiteral("LiveTiming aktiv ...");
const QString kNoEventMessage = QStringLiteral("Bitte eine Veranstaltung auswählen");
const QString kLoginRefusedMessage = QStringLiteral(
    "Die Anmeldung wurde von Startora abgelehnt.\nBitte die Bewerbsnummer und das Passwort "
    "prüfen.");

void SetBlue(QLabel* label) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  label->setPalette(palette);
}

}  // namespace

LiveTimingPanel::LiveTimingPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}

LiveTimingPanel::~LiveTimingPanel() {
  if (session_) session_->StopLiveTimer();
}

QString LiveTimingPanel::selectedText(const QComboBox* combo) {
  return combo->currentIndex() >= 0 ? combo->itemText(combo->currentIndex()) : QString();
}

void LiveTimingPanel::build() {
  QSettings& settings = host().settings();
  connection_ =
      std::make_unique<LiveTimingConnection>(ui(), settings.value(kLiveSettingsServer).toString());
  session_ = std::make_unique<LiveTimingSession>(state(), *connection_);
  // The status line has room for two lines: the cause's first line, the whole in its tip.
  connectGuarded(session_.get(), &LiveTimingSession::readProblem, [this](const QString& problem) {
    meldung_->setToolTip(problem);
    if (problem.isEmpty()) {
      meldung_->setText(kActive);
      return;
    }
    QString cause = problem.section(QLatin1Char('\n'), 0, 0);
    if (cause.endsWith(QLatin1Char(':'))) cause.chop(1);
    meldung_->setText(QStringLiteral("LiveTiming aktiv, Zeiten nicht gelesen: ") + cause);
  });
  connectGuarded(session_.get(), &LiveTimingSession::stoppedForMovedFile, [this] {
    showStopped();
    meldung_->setText(QStringLiteral("LiveTiming beendet: die Bewerbsdatei wurde ersetzt"));
  });

  addLabel(QStringLiteral("Label01"), QStringLiteral("Bewerbs-Nr"), Arial(9),
           {600, 780, 1400, 255});
  bewerb_ =
      addTextBox(QStringLiteral("LiveTimingBewerb"), QString(), Arial(9), {2000, 750, 735, 285});
  bewerb_->setMaxLength(5);
  bewerb_->setText(settings.value(kLiveSettingsBewerb).toString());
  addLabel(QStringLiteral("Label03"), QStringLiteral("Passwort"), Arial(9), {600, 1180, 1400, 255});
  passwort_ = addTextBox(QStringLiteral("LiveTimingPasswort"),
                         settings.value(kLiveSettingsPasswort).toString(), Arial(9),
                         {2000, 1150, 2500, 285});
  passwort_->setEchoMode(QLineEdit::Password);
  anmelden_ =
      addButton(QStringLiteral("LiveTiming_anmelden"), QStringLiteral("Anmelden"), SansSerif(8),
                {600, 1600, 1800, 375}, [this] { LiveTiming_anmelden_Click(); });
  anmProt_ =
      addLabel(QStringLiteral("LiveTimingAnmProt"), QString(), Arial(9), {2600, 2060, 1695, 255});
  SetBlue(anmProt_);
  label04_ = addLabel(QStringLiteral("Label04"), QStringLiteral("Veranstaltung"), Arial(9),
                      {600, 2645, 1400, 255});
  veranst_ = addComboBox(QStringLiteral("LiveTimingVeranst"), Arial(9), 2000, 2600, 6000);
  label05_ = addLabel(QStringLiteral("Label05"), QStringLiteral("Gruppierung nach"), Arial(9),
                      {600, 3045, 1400, 255});
  gruppe_ = addComboBox(QStringLiteral("LiveTimingGruppe"), Arial(9), 2000, 3000, 2000);
  label06_ = addLabel(QStringLiteral("Label06"), QStringLiteral("Startreihenfolge  DG1"), Arial(9),
                      {600, 3445, 1800, 255});
  staliDG1_ = addComboBox(QStringLiteral("LiveTimingStaliDG1"), Arial(9), 2500, 3400, 2200);
  label07_ =
      addLabel(QStringLiteral("Label07"), QStringLiteral("DG2"), Arial(9), {4900, 3445, 400, 255});
  staliDG2_ = addComboBox(QStringLiteral("LiveTimingStaliDG2"), Arial(9), 5400, 3400, 2600);
  startEnd_ = addButton(QStringLiteral("LiveTimingStart_End"), kStartCaption, SansSerif(8, true),
                        {600, 3850, 2400, 375}, [this] { LiveTimingStart_End_Click(); });
  meldung_ = addLabel(QStringLiteral("LiveTiming_Meldung"), QStringLiteral(" "), Arial(10),
                      {3300, 3900, 6735, 975});
  SetBlue(meldung_);
  label08_ = addLabel(QStringLiteral("Label08"), QStringLiteral("Info für Web"), Arial(9),
                      {600, 4445, 3000, 255});
  webInfo_ = addTextBox(QStringLiteral("LiveTimingWebInfo"),
                        settings.value(kLiveSettingsWebInfo).toString(), Arial(9),
                        {2000, 4405, 6000, 285});
  aktWebInfo_ =
      addButton(QStringLiteral("LiveTiming_akt_WebInfo"), QStringLiteral("Info aktualisieren"),
                SansSerif(8), {600, 4855, 2055, 375}, [this] { LiveTiming_akt_WebInfo_Click(); });
  sendStaliDG2_ =
      addButton(QStringLiteral("LiveTiming_SendStaliDG2"), QStringLiteral("Startliste DG2 senden"),
                SansSerif(8), {600, 5355, 2055, 375}, [this] { LiveTiming_SendStaliDG2_Click(); });
  addButton(QStringLiteral("LiveTiming_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {5945, 5555, 2055, 375}, [this] { closeSelf(); });

  setLoggedInControlsShown(false);
  aktWebInfo_->hide();
  sendStaliDG2_->hide();

  connectGuarded(webInfo_, &QLineEdit::textChanged, [this] {
    if (session_->running()) aktWebInfo_->setEnabled(true);
  });
  for (int run = 1; run <= 2; ++run) {
    QComboBox* combo = run == 1 ? staliDG1_ : staliDG2_;
    InstallComboTypeAhead(*combo);
    // The type-ahead has selected its entry by now; that selection is stored as well.
    connectGuarded(combo->lineEdit(), &QLineEdit::textEdited, [this, run] { storeRule(run); });
    connectGuarded(combo, &QComboBox::activated, [this, run] { storeRule(run); });
  }
  fillChoices();
}

void LiveTimingPanel::setLoggedInControlsShown(bool shown) {
  for (QWidget* w :
       std::initializer_list<QWidget*>{label04_, veranst_, label05_, gruppe_, label06_, staliDG1_,
                                       label07_, staliDG2_, label08_, webInfo_, startEnd_}) {
    w->setVisible(shown);
  }
}

void LiveTimingPanel::fillChoices() {
  const GroupingUse use = ReadGroupingUse(state());
  const QStringList grouping = GroupingEntries(use);
  gruppe_->addItems(grouping);
  gruppe_->setCurrentIndex(GroupingPreselection(grouping, state().Settings.typNumber()));

  panelLoading_ = true;
  staliDG1_->addItems(Run1RuleEntries());
  staliDG2_->addItems(Run2RuleEntries(use));
  staliDG1_->setCurrentIndex(-1);
  staliDG2_->setCurrentIndex(-1);
  preselectRules(use);
  panelLoading_ = false;
}

void LiveTimingPanel::preselectRules(const GroupingUse& use) {
  db::Connection& connection = state().db();
  if (!state().HasStartOrderTable && !connection.hasTable(QStringLiteral("tblStali"))) {
    const int typ = state().Settings.typNumber();
    staliDG1_->setCurrentIndex(DefaultRulePosition(typ));
    staliDG2_->setCurrentIndex(staliDG2_->findText(DefaultRun2Rule(typ, use)));
    CreateStaliTable(connection, selectedText(staliDG1_), selectedText(staliDG2_));
    state().HasStartOrderTable = true;
    return;
  }
  const auto stored = ReadStoredRules(connection);
  for (int run = 1; run <= 2; ++run) {
    QComboBox* combo = run == 1 ? staliDG1_ : staliDG2_;
    const auto& rule = stored[static_cast<size_t>(run - 1)];
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) entries.append(combo->itemText(i));
    combo->setCurrentIndex(rule ? FindExactEntry(entries, *rule) : -1);
  }
}

void LiveTimingPanel::storeRule(int run) {
  if (panelLoading_) return;
  QComboBox* combo = run == 1 ? staliDG1_ : staliDG2_;
  if (combo->currentIndex() < 0) return;
  StoreRule(state().db(), run, selectedText(combo));
}

void LiveTimingPanel::LiveTiming_anmelden_Click() {
  setLoggedInControlsShown(false);
  aktWebInfo_->hide();
  anmProt_->setText(QString());
  meldung_->setText(QString());

  const QString bewerbsNr = bewerb_->text();
  if (bewerbsNr.size() != 5) {
    ui().message(QStringLiteral("Bitte die Bewerbsnummer (5-stellig) eingeben"));
    return;
  }
  const QString passwort = passwort_->text();
  if (passwort.isEmpty()) {
    ui().message(QStringLiteral("Bitte das Passwort eingeben"));
    return;
  }
  if (!connection_->configured()) {
    ui().message(QStringLiteral("Für LiveTiming ist kein Server eingestellt.\nBitte in der "
                                "Einstellungsdatei\n%1\nim Abschnitt [LiveTiming] den Schlüssel "
                                "Server eintragen, z. B. Server=live.example.org:8080")
                     .arg(QDir::toNativeSeparators(host().settings().fileName())),
                 MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return;
  }

  QString raceNumber;
  QString dateText;
  const db::Recordset row = state().db().query(
      QStringLiteral("select bewerbsnummer,bewerbsbezeichnung,datum_startliste,datum_rangliste,"
                     "durchgaenge from tblDisziplin where dtyp = ") +
      QString::number(state().CurrentDisciplineType));
  if (row.empty()) {
    ui().message(QStringLiteral("Keine Bewerbs-Daten gefunden!"), MsgIcon::Exclamation,
                 QStringLiteral("Achtung"));
  } else {
    raceNumber = row.at(0, QStringLiteral("bewerbsnummer")).toString();
    const db::Field& startList = row.at(0, QStringLiteral("datum_startliste"));
    const db::Field& resultList = row.at(0, QStringLiteral("datum_rangliste"));
    dateText = (startList.isNull() ? resultList : startList).toString().left(10);
    state().RunCount = row.at(0, QStringLiteral("durchgaenge")).toInt();
  }

  const QString reply = connection_->LiveTimingPost(LoginBody(bewerbsNr, passwort));
  if (reply == kLiveNok) {
    // A failed connection has been reported by the post; "nok" answered is the refusal.
    if (!connection_->lastFailed()) ui().message(kLoginRefusedMessage);
    return;
  }
  if (!reply.startsWith(QLatin1String("ok"))) {
    ui().message(ReplyForMessage(reply));
    return;
  }
  session_->LiveToken = reply.mid(3, 10);

  const EventChoice events = SplitEvents(reply.mid(14), raceNumber, dateText);
  veranst_->clear();
  veranst_->addItems(events.events);
  veranst_->setCurrentIndex(events.selected);

  bewerb_->setEnabled(false);
  passwort_->setEnabled(false);
  anmelden_->setEnabled(false);
  setLoggedInControlsShown(true);

  QSettings& settings = host().settings();
  settings.setValue(kLiveSettingsBewerb, bewerbsNr);
  settings.setValue(kLiveSettingsPasswort, passwort);
  settings.sync();
  // The password is kept in plain text: only its owner may read the file.
  if (!settings.fileName().isEmpty() && QFile::exists(settings.fileName())) {
    QFile::setPermissions(settings.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  }
}

void LiveTimingPanel::mainAction() {
  // Before the login there is no token and no event: F2 acts only on the shown start.
  if (!startEnd_ || !startEnd_->isEnabled() || startEnd_->isHidden()) return;
  guarded([this] { LiveTimingStart_End_Click(); });
}

void LiveTimingPanel::showStopped() {
  meldung_->setText(QString());
  for (QWidget* w :
       std::initializer_list<QWidget*>{veranst_, gruppe_, staliDG1_, staliDG2_, webInfo_}) {
    w->setEnabled(true);
  }
  startEnd_->setText(kStartCaption);
  aktWebInfo_->hide();
  sendStaliDG2_->hide();
  session_->StopLiveTimer();
}

void LiveTimingPanel::LiveTimingStart_End_Click() {
  if (session_->running()) {
    showStopped();
    return;
  }
  if (veranst_->currentIndex() < 0) {
    ui().message(kNoEventMessage);
    return;
  }
  for (QWidget* w : std::initializer_list<QWidget*>{veranst_, gruppe_, staliDG1_, staliDG2_}) {
    w->setEnabled(false);
  }
  session_->LiveEventNo = veranst_->currentIndex() + 1;
  startEnd_->setText(kStopCaption);
  aktWebInfo_->show();
  aktWebInfo_->setEnabled(false);

  LiveStartChoices choices;
  for (int i = 0; i < gruppe_->count(); ++i) choices.groupingEntries.append(gruppe_->itemText(i));
  choices.grouping = selectedText(gruppe_);
  choices.rule1 = selectedText(staliDG1_);
  choices.rule2 = selectedText(staliDG2_);
  choices.webInfo = webInfo_->text();
  // The competition file holds no organiser name: the field stays empty.
  choices.organizer = QString();

  LiveTimingSession::StartOutcome outcome;
  try {
    outcome = session_->Start(choices);
  } catch (...) {
    showStopped();
    throw;
  }
  if (!outcome.started) {
    showStopped();
    return;
  }
  if (outcome.staliRun == 1 && state().RunCount > 1) sendStaliDG2_->show();
  meldung_->setText(kActive);
}

void LiveTimingPanel::LiveTiming_akt_WebInfo_Click() {
  if (!session_->SendFile(QStringLiteral("Info.txt"), webInfo_->text())) return;
  aktWebInfo_->setEnabled(false);
  webInfo_->setFocus();
}

void LiveTimingPanel::LiveTiming_SendStaliDG2_Click() {
  if (!session_->Run1Complete()) {
    ui().message(QStringLiteral("Der 1. Durchgang ist noch nicht abgeschlossen!"),
                 MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return;
  }
  session_->SendStartOrder(2, selectedText(staliDG2_));
}

void LiveTimingPanel::beforeClose() {
  if (session_) session_->StopLiveTimer();
}

void LiveTimingPanel::afterClose() {
  host().UpdateTimeMenus();
}

}  // namespace kx
