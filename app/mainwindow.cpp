#include "app/mainwindow.h"

#include "app/competitionfile.h"
#include "app/menuentries.h"
#include "app/panelmenus.h"
#include "app/panelregistry.h"
#include "app/placeholderpanel.h"
#include "app/qtuserinterface.h"
#include "common/guarded.h"
#include "common/inifile.h"
#include "common/season.h"
#include "db/database.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QVBoxLayout>

namespace kx {

namespace {

const QString kWindowCaption = QStringLiteral("Kandrix: Kandor Zusatzprogramm");
const QString kVersionLine = QStringLiteral("Version 3.7.6");
const QString kDefaultDataDir = QStringLiteral("C:\\Programme\\Kandor");

struct MenuItem {
  const char* name;
  const char* caption;
  std::vector<MenuItem> children;  // a submenu when not empty
  bool separator = false;
};

const std::vector<MenuItem>& MenuTree() {
  static const std::vector<MenuItem> tree{
      {"Datei",
       "Datei",
       {{"DateiOeffnen", "Öffnen", {}},
        {"DateiImport",
         "Importieren",
         {{"ImportCSV", "Nennliste aus CSV-Datei (EXCEL)", {}},
          {"ImportKlassenCSV", "Klassen aus CSV-Datei (EXCEL)", {}}}},
        {"DateiSchliessen", "Schließen", {}},
        {"DateiBeenden", "Beenden", {}}}},
      {"Bearbeiten",
       "Bearbeiten",
       {{"BearbeitenBewerbstyp", "Bewerbstyp", {}},
        {"BearbeitenDisziplin",
         "Disziplin",
         {{"DisziplinDH", "Abfahrt", {}},
          {"DisziplinSG", "Super-G", {}},
          {"DisziplinRS", "Riesenslalom", {}},
          {"DisziplinSL", "Slalom", {}},
          {"DisziplinKOSL", "K.O.-Slalom", {}},
          {"DisziplinPSL", "Parallel-Slalom", {}},
          {"Strich", "____________", {}, true},
          {"DisziplinKombination", "Kombination", {}}}},
        {"Teilnehmer",
         "Teilnehmer",
         {{"TeilnehmerLoeschen", "Teilnehmer löschen", {}},
          {"MannschaftenLoeschen", "Mannschaften löschen", {}},
          {"Finalteilnehmer", "Finalteilnehmer", {}},
          {"KSFIdPunkte", "KSF-Ids + Pkte aktualisieren", {}}}},
        {"BearbeitenStartnummern",
         "Startnummern",
         {{"StartnummernUebernahme", "Übernahme von and. Disziplin", {}}}},
        {"BearbeitenRichtungsaenderungen", "Richtungsänderungen", {}}}},
      {"Zeiten",
       "Zeiten",
       {{"HandzeitLaden",
         "Handzeit laden",
         {{"HandzeitLadenALGETimy", "ALGE Timy", {}},
          {"HandzeitLadenDIGISport", "DIGI Sport", {}},
          {"HandzeitLadenTAGHeuer", "TAG Heuer Pocket Pro", {}},
          {"HandzeitLadenDatei", "aus Datei", {}}}},
        {"Zeituebernahme", "Handzeit (Tageszeit) berechnen", {}},
        {"ZeituebernahmeH", "Handzeit (Laufzeit) berechnen", {}},
        {"LiveTiming", "LiveTiming Startora", {}}}},
      {"Ausgabe",
       "Ausgabe",
       {{"BearbeitenStartliste", "Startliste", {}},
        {"BearbeitenStartlisteDG2", "Startliste 2. DG", {}},
        {"BearbeitenNamensliste", "Namensliste", {}},
        {"BearbeitenKautionsliste", "Kautionsliste", {}},
        {"BearbeitenTafelliste", "Tafelliste", {}},
        {"BearbeitenTafellisteDG2", "Tafelliste 2. DG", {}},
        {"BearbeitenTorrichterkarte", "Torrichterkarte", {}},
        {"BearbeitenPenaltyProtokoll", "Penalty-Protokoll", {}},
        {"BearbeitenAushangliste", "Aushangliste", {}},
        {"BearbeitenErgebnisliste", "Ergebnisliste", {}},
        {"BearbeitenSchiedsrichterprotokoll", "Schiedsrichterprotokoll", {}},
        {"SR_Bericht_anzeigen", "Schiedsrichterbericht", {}},
        {"BearbeitenTeilnehmerdaten", "Teilnehmerdaten", {}},
        {"BearbeitenMannschaftsergebnisliste", "Mannschaftsergebnisliste", {}},
        {"BearbeitenISFErgebnisliste", "ISF Mannschaftsergebnisliste", {}}}},
      {"Urkunden",
       "Urkunden",
       {{"UrkundenBearbeiten", "Bearbeiten", {}},
        {"UrkundenDruck", "Druck", {}},
        {"UrkundenExport", "Export für Startora", {}},
        {"UrkundenMannschaft",
         "Mannschaftsurkunden",
         {{"UrkundenMannschaftBearbeiten", "Bearbeiten", {}},
          {"UrkundenMannschaftDruck", "Druck", {}}}}}},
      {"Hilfe", "?", {{"Info", "Info", {}}}},
  };
  return tree;
}

}  // namespace

MainWindow::MainWindow(const QString& programDir, std::unique_ptr<UserInterface> ui,
                       std::unique_ptr<QSettings> settings)
    : ui_(std::move(ui)), settings_(std::move(settings)) {
  setObjectName(QStringLiteral("MainForm"));
  if (!ui_) ui_ = std::make_unique<QtUserInterface>(this);
  if (!settings_) {
    settings_ = std::make_unique<QSettings>(QStringLiteral("Kandrix"), QStringLiteral("Kandrix"));
  }
  state_.Ui = ui_.get();
  state_.ProgramDir = QDir::cleanPath(programDir);
  setWindowTitle(kWindowCaption);
  resize(820, 640);
  buildMenu();
  buildFrames();
  connectMenuHandlers();
  qApp->installEventFilter(this);
  startUp();
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (panel_) delete panel_.data();
}

// ---------------------------------------------------------------------------------------
// Construction

void MainWindow::buildMenu() {
  std::function<void(QMenu*, const MenuItem&)> add = [&](QMenu* parent, const MenuItem& item) {
    const QString name = QString::fromLatin1(item.name);
    if (item.separator) {
      QAction* sep = parent->addSeparator();
      sep->setObjectName(name);
      sep->setEnabled(false);
      actions_.insert(name, sep);
      return;
    }
    if (!item.children.empty()) {
      QMenu* sub = parent->addMenu(QString::fromUtf8(item.caption));
      sub->setObjectName(name);
      sub->menuAction()->setObjectName(name);
      actions_.insert(name, sub->menuAction());
      for (const MenuItem& child : item.children) add(sub, child);
      return;
    }
    QAction* action = parent->addAction(QString::fromUtf8(item.caption));
    action->setObjectName(name);
    actions_.insert(name, action);
  };
  for (const MenuItem& top : MenuTree()) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(top.caption));
    menu->setObjectName(QString::fromLatin1(top.name));
    menu->menuAction()->setObjectName(QString::fromLatin1(top.name));
    actions_.insert(QString::fromLatin1(top.name), menu->menuAction());
    for (const MenuItem& item : top.children) add(menu, item);
  }
  for (const QString& entry : kDisciplineEntries) action(entry)->setCheckable(true);
  action(QStringLiteral("DisziplinKombination"))->setCheckable(true);
  disable(QStringLiteral("DateiSchliessen"));
}

void MainWindow::buildFrames() {
  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("ClientArea"));
  setCentralWidget(central);

  frameTitel_ = new QLabel(central);
  frameTitel_->setObjectName(QStringLiteral("FrameTitel"));
  QFont titleFont(QStringLiteral("Arial"), 12);
  titleFont.setBold(true);
  frameTitel_->setFont(titleFont);
  frameTitel_->setGeometry(TwipsToPixels({600, 300, 9000, 400}));

  panelArea_ = new QWidget(central);
  panelArea_->setObjectName(QStringLiteral("PanelArea"));
  panelArea_->setGeometry(0, 0, 2000, 2000);
  panelArea_->lower();

  frameInfo_ = new QFrame(central);
  frameInfo_->setObjectName(QStringLiteral("FrameInfo"));
  frameInfo_->setGeometry(TwipsToPixels({600, 980, 6735, 3200}));
  frameInfo_->setAutoFillBackground(true);
  auto* infoLayout = new QVBoxLayout(frameInfo_);
  auto* infoTitle = new QLabel(QStringLiteral("Kandor Zusatzprogramm"), frameInfo_);
  infoTitle->setObjectName(QStringLiteral("InfoTitel"));
  QFont infoFont(QStringLiteral("Arial"), 16);
  infoFont.setBold(true);
  infoTitle->setFont(infoFont);
  infoTitle->setAlignment(Qt::AlignCenter);
  infoVersion_ = new QLabel(frameInfo_);
  infoVersion_->setObjectName(QStringLiteral("InfoVersion"));
  infoVersion_->setFont(QFont(QStringLiteral("Arial"), 10));
  infoVersion_->setAlignment(Qt::AlignCenter);
  auto* infoOk = new QPushButton(QStringLiteral("ok"), frameInfo_);
  infoOk->setObjectName(QStringLiteral("Info_ok"));
  connect(infoOk, &QPushButton::clicked, this, &MainWindow::Info_ok_Click);
  infoLayout->addStretch();
  infoLayout->addWidget(infoTitle);
  infoLayout->addWidget(infoVersion_);
  infoLayout->addStretch();
  infoLayout->addWidget(infoOk, 0, Qt::AlignCenter);

  frameZeituebernahme_ = new QFrame(central);
  frameZeituebernahme_->setObjectName(QStringLiteral("FrameZeituebernahme"));
  frameZeituebernahme_->setGeometry(TwipsToPixels({120, 700, 11800, 8000}));
  frameZeituebernahme_->hide();
  frameHandzeit_ = new QFrame(central);
  frameHandzeit_->setObjectName(QStringLiteral("FrameHandzeit"));
  frameHandzeit_->setGeometry(TwipsToPixels({120, 700, 11800, 8000}));
  frameHandzeit_->hide();
}

void MainWindow::connectMenuHandlers() {
  QSet<QString> connected;
  MenuHandlerBinder on = [this, &connected](const QString& name, std::function<void()> handler) {
    connected.insert(name);
    connect(action(name), &QAction::triggered, this,
            [this, handler = std::move(handler)] { RunGuarded(*ui_, handler); });
  };
  on(QStringLiteral("DateiOeffnen"), [this] { DateiOeffnen_Click(); });
  on(QStringLiteral("DateiSchliessen"), [this] { DateiSchliessen_Click(); });
  on(QStringLiteral("DateiBeenden"), [this] { DateiBeenden_Click(); });
  on(QStringLiteral("Info"), [this] { Info_Click(); });
  for (int type = 0; type < kDisciplineEntries.size(); ++type) {
    on(kDisciplineEntries[type], [this, type] { ChooseDiscipline(type); });
  }
  on(QStringLiteral("DisziplinKombination"), [this] { DisziplinKombination_Click(); });

  // The two hand-time takeover frames.
  on(QStringLiteral("Zeituebernahme"), [this] {
    if (EditorLeaveGuard()) return;
    CloseAllPanels();
    frameTitel_->setText(QStringLiteral("Übernahme Handzeit (Tageszeit)"));
    frameZeituebernahme_->show();
  });
  on(QStringLiteral("ZeituebernahmeH"), [this] {
    if (EditorLeaveGuard()) return;
    CloseAllPanels();
    frameTitel_->setText(QStringLiteral("Übernahme Handzeit (Laufzeit)"));
    frameHandzeit_->show();
  });

  // Work panels. Panels of the subsystems register their opening routine here.
  ConnectPanelMenuEntries(*this, on);
  for (const PanelInfo& info : PanelTable()) {
    for (const QString& entry : info.menuEntries) {
      if (!action(entry) || connected.contains(entry)) continue;
      on(entry, [this, name = info.name] { openRegisteredPanel(name); });
    }
  }
}

// ---------------------------------------------------------------------------------------
// Start-up and exit

void MainWindow::startUp() {
  state_.DataDir =
      GetPrivateProfileString(QStringLiteral("DATA"), QStringLiteral("DATADIR"), kDefaultDataDir,
                              QDir(state_.ProgramDir).filePath(QStringLiteral("Kandor.ini")));
  for (const QString& entry : kDisciplineEntries) disable(entry);
  disable(QStringLiteral("DisziplinKombination"));
  state_.CurrentDisciplineType = 0;
  for (const QString& entry : kFileEntries) disable(entry);
  CloseAllPanels();
  Info_Click();
  frameTitel_->clear();
  enable(QStringLiteral("HandzeitLadenALGETimy"));
  enable(QStringLiteral("HandzeitLadenDIGISport"));
  enable(QStringLiteral("HandzeitLadenTAGHeuer"));
  // The timing devices need no preparation here: a serial port is opened by its path
  // when the user connects a device.
  state_.Season = SeasonOf(ui_->now().date());
  state_.DirectionChangeRules = {{100, 160, 32, 38, 3, QStringLiteral("Slalom - Schüler")},
                                 {200, 350, 13, 18, 0, QStringLiteral("Riesenslalom - Schüler")},
                                 {120, 180, 30, 35, 3, QStringLiteral("Slalom - Aktive")},
                                 {140, 350, 11, 15, 0, QStringLiteral("Riesenslalom - Aktive")}};
  infoVersion_->setText(kVersionLine);
  state_.VersionLine = kVersionLine;
  state_.CreditLine =
      QStringLiteral("erstellt mit Kandrix (Kandor Zusatzprogramm) - ") + kVersionLine;
}

void MainWindow::Info_Click() {
  QPalette palette = frameInfo_->palette();
  palette.setColor(QPalette::Window, QColor(216, 228, 248));
  frameInfo_->setPalette(palette);
  frameInfo_->show();
  frameInfo_->raise();
}

void MainWindow::Info_ok_Click() {
  frameInfo_->hide();
}

void MainWindow::DateiBeenden_Click() {
  if (EditorLeaveGuard()) return;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close box is guarded like the menu's exit: templates being edited are not lost.
  if (currentPanel_ == kCertificateEditorPanel) {
    ui_->message(kEditorLeaveMessage);
    event->ignore();
    return;
  }
  if (StopLiveTimer) StopLiveTimer();
  event->accept();
}

// ---------------------------------------------------------------------------------------
// Menu entries

QAction* MainWindow::action(const QString& name) const {
  return actions_.value(name, nullptr);
}

void MainWindow::enable(const QString& name, bool on) {
  if (QAction* a = action(name)) a->setEnabled(on);
}

bool MainWindow::isEnabled(const QString& name) const {
  QAction* a = action(name);
  return a && a->isEnabled();
}

// ---------------------------------------------------------------------------------------
// Work-panel protocol

bool MainWindow::EditorLeaveGuard() {
  if (currentPanel_ != kCertificateEditorPanel) return false;
  ui_->message(kEditorLeaveMessage);
  return true;
}

void MainWindow::CloseAllPanels() {
  frameInfo_->hide();
  for (const PanelInfo& info : PanelTable()) {
    closePanel(info.name);
    if (info.name == QLatin1String("ISFErgebnisliste")) {
      // The takeover frames close between the lists and the certificate panels.
      Zeiten_Schliessen();
      Zeiten_SchliessenH();
    }
  }
}

void MainWindow::beginPanel(WorkPanel* panel, const QString& title) {
  currentPanel_ = panel->panelName();
  panel_ = panel;
  frameTitel_->setText(title);
  panel->setGeometry(panelArea_->rect());
  panel->show();
  panel->raise();
}

void MainWindow::closePanel(const QString& name) {
  frameTitel_->clear();
  if (currentPanel_ != name) return;
  WorkPanel* panel = panel_;
  currentPanel_.clear();
  panel_ = nullptr;
  if (panel) {
    // The panel may be closed from inside one of its own controls' events (Esc in a text
    // box): take it out of the window now and free it once that event is done.
    panel->hide();
    panel->setParent(nullptr);
    panel->deleteLater();
    panel->afterClose();
  }
}

void MainWindow::openRegisteredPanel(const QString& name) {
  const PanelInfo* info = FindPanel(name);
  if (!info) return;
  openPanel<PlaceholderPanel>(*info);
}

void MainWindow::Zeiten_Schliessen() {
  frameZeituebernahme_->hide();
  frameTitel_->clear();
}

void MainWindow::Zeiten_SchliessenH() {
  frameHandzeit_->hide();
  frameTitel_->clear();
}

void MainWindow::PanelKeyDispatch(int key) {
  if (key != Qt::Key_F2 && key != Qt::Key_F3 && key != Qt::Key_F4 && key != Qt::Key_Escape) {
    return;
  }
  RunGuarded(*ui_, [&] {
    if (!currentPanel_.isEmpty() && FindPanel(currentPanel_)) {
      if (key == Qt::Key_F2) {
        if (panel_) panel_->mainAction();
      } else if (key == Qt::Key_Escape) {
        closePanel(currentPanel_);
      }
      return;
    }
    if (!frameZeituebernahme_->isHidden()) {
      if (key == Qt::Key_F2 && zeituebernahmeRoutines.f2) zeituebernahmeRoutines.f2();
      if (key == Qt::Key_Escape) Zeiten_Schliessen();
      return;
    }
    if (!frameHandzeit_->isHidden()) {
      if (key == Qt::Key_F2 && handzeitRoutines.f2) handzeitRoutines.f2();
      if (key == Qt::Key_F3 && handzeitRoutines.f3) handzeitRoutines.f3();
      if (key == Qt::Key_F4 && handzeitRoutines.f4) handzeitRoutines.f4();
      if (key == Qt::Key_Escape) Zeiten_SchliessenH();
    }
  });
}

bool MainWindow::isAncestorOf(QObject* ancestor, QObject* child) const {
  for (QObject* o = child ? child->parent() : nullptr; o; o = o->parent()) {
    if (o == ancestor) return true;
  }
  return false;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  // Key preview: the window sees every key pressed in any of its controls before the
  // control does; the key still reaches the control.
  if (event->type() == QEvent::KeyRelease) {
    keyEvent_ = nullptr;
    keyReceiver_.clear();
  } else if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this) return false;
    // The same press travelling on to the parents of the control it reached first.
    if (event == keyEvent_ && isAncestorOf(watched, keyReceiver_)) return false;
    keyEvent_ = event;
    keyReceiver_ = watched;
    PanelKeyDispatch(static_cast<QKeyEvent*>(event)->key());
  }
  return false;
}

}  // namespace kx
