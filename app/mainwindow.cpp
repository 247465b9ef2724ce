#include "app/mainwindow.h"

#include "app/competitionfile.h"
#include "app/menuentries.h"
#include "app/placeholderpanel.h"
#include "app/qtuserinterface.h"
#include "app/registration.h"
#include "common/guarded.h"
#include "common/inifile.h"
#include "common/season.h"
#include "db/database.h"
#include "workpanel/menuentries.h"

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

#include <stdexcept>

namespace kx {

namespace {

const QString kWindowCaption = QStringLiteral("Kandrix: Kandor Zusatzprogramm");
const QString kVersionLine = QStringLiteral("Version 3.7.6");
const QString kDefaultDataDir = QStringLiteral("C:\\Programme\\Kandor");

struct MenuItem {
  QString name;
  const char* caption;
  std::vector<MenuItem> children;  // a submenu when not empty
  bool separator = false;
};

const std::vector<MenuItem>& MenuTree() {
  static const std::vector<MenuItem> tree{
      {menu::Datei,
       "Datei",
       {{menu::DateiOeffnen, "Öffnen", {}},
        {menu::DateiImport,
         "Importieren",
         {{menu::ImportCSV, "Nennliste aus CSV-Datei (EXCEL)", {}},
          {menu::ImportKlassenCSV, "Klassen aus CSV-Datei (EXCEL)", {}}}},
        {menu::DateiSchliessen, "Schließen", {}},
        {menu::DateiBeenden, "Beenden", {}}}},
      {menu::Bearbeiten,
       "Bearbeiten",
       {{menu::BearbeitenBewerbstyp, "Bewerbstyp", {}},
        {menu::BearbeitenDisziplin,
         "Disziplin",
         {{menu::DisziplinDH, "Abfahrt", {}},
          {menu::DisziplinSG, "Super-G", {}},
          {menu::DisziplinRS, "Riesenslalom", {}},
          {menu::DisziplinSL, "Slalom", {}},
          {menu::DisziplinKOSL, "K.O.-Slalom", {}},
          {menu::DisziplinPSL, "Parallel-Slalom", {}},
          {menu::Strich, "____________", {}, true},
          {menu::DisziplinKombination, "Kombination", {}}}},
        {menu::Teilnehmer,
         "Teilnehmer",
         {{menu::TeilnehmerLoeschen, "Teilnehmer löschen", {}},
          {menu::MannschaftenLoeschen, "Mannschaften löschen", {}},
          {menu::Finalteilnehmer, "Finalteilnehmer", {}},
          {menu::KSFIdPunkte, "KSF-Ids + Pkte aktualisieren", {}}}},
        {menu::BearbeitenStartnummern,
         "Startnummern",
         {{menu::StartnummernUebernahme, "Übernahme von and. Disziplin", {}}}},
        {menu::BearbeitenRichtungsaenderungen, "Richtungsänderungen", {}}}},
      {menu::Zeiten,
       "Zeiten",
       {{menu::HandzeitLaden,
         "Handzeit laden",
         {{menu::HandzeitLadenALGETimy, "ALGE Timy", {}},
          {menu::HandzeitLadenDIGISport, "DIGI Sport", {}},
          {menu::HandzeitLadenTAGHeuer, "TAG Heuer Pocket Pro", {}},
          {menu::HandzeitLadenDatei, "aus Datei", {}}}},
        {menu::Zeituebernahme, "Handzeit (Tageszeit) berechnen", {}},
        {menu::ZeituebernahmeH, "Handzeit (Laufzeit) berechnen", {}},
        {menu::LiveTiming, "LiveTiming Startora", {}}}},
      {menu::Ausgabe,
       "Ausgabe",
       {{menu::BearbeitenStartliste, "Startliste", {}},
        {menu::BearbeitenStartlisteDG2, "Startliste 2. DG", {}},
        {menu::BearbeitenNamensliste, "Namensliste", {}},
        {menu::BearbeitenKautionsliste, "Kautionsliste", {}},
        {menu::BearbeitenTafelliste, "Tafelliste", {}},
        {menu::BearbeitenTafellisteDG2, "Tafelliste 2. DG", {}},
        {menu::BearbeitenTorrichterkarte, "Torrichterkarte", {}},
        {menu::BearbeitenPenaltyProtokoll, "Penalty-Protokoll", {}},
        {menu::BearbeitenAushangliste, "Aushangliste", {}},
        {menu::BearbeitenErgebnisliste, "Ergebnisliste", {}},
        {menu::BearbeitenSchiedsrichterprotokoll, "Schiedsrichterprotokoll", {}},
        {menu::SR_Bericht_anzeigen, "Schiedsrichterbericht", {}},
        {menu::BearbeitenTeilnehmerdaten, "Teilnehmerdaten", {}},
        {menu::BearbeitenMannschaftsergebnisliste, "Mannschaftsergebnisliste", {}},
        {menu::BearbeitenISFErgebnisliste, "ISF Mannschaftsergebnisliste", {}}}},
      {menu::Urkunden,
       "Urkunden",
       {{menu::UrkundenBearbeiten, "Bearbeiten", {}},
        {menu::UrkundenDruck, "Druck", {}},
        {menu::UrkundenExport, "Export für Startora", {}},
        {menu::UrkundenMannschaft,
         "Mannschaftsurkunden",
         {{menu::UrkundenMannschaftBearbeiten, "Bearbeiten", {}},
          {menu::UrkundenMannschaftDruck, "Druck", {}}}}}},
      {menu::Hilfe, "?", {{menu::Info, "Info", {}}}},
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
  RegisterAllPanels(registry_);
  connectMenuHandlers();
  qApp->installEventFilter(this);
  startUp();
  for (const auto& step : registry_.startUpSteps()) step(*this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (panel_) delete panel_.data();
}

// ---------------------------------------------------------------------------------------
// Construction

void MainWindow::buildMenu() {
  std::function<void(QMenu*, const MenuItem&)> add = [&](QMenu* parent, const MenuItem& item) {
    const QString& name = item.name;
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
    menu->setObjectName(top.name);
    menu->menuAction()->setObjectName(top.name);
    actions_.insert(top.name, menu->menuAction());
    for (const MenuItem& item : top.children) add(menu, item);
  }
  for (const QString& entry : kDisciplineEntries) action(entry)->setCheckable(true);
  action(menu::DisziplinKombination)->setCheckable(true);
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
  ConnectGuarded(*ui_, infoOk, &QPushButton::clicked, this, [this] { Info_ok_Click(); });
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
  auto on = [this, &connected](const QString& name, std::function<void()> handler) {
    if (!action(name) || connected.contains(name)) {
      throw std::logic_error("MainWindow: menu entry '" + name.toStdString() +
                             "' unknown or bound twice");
    }
    connected.insert(name);
    ConnectGuarded(*ui_, action(name), &QAction::triggered, this, std::move(handler));
  };
  on(menu::DateiOeffnen, [this] { DateiOeffnen_Click(); });
  on(menu::DateiSchliessen, [this] { DateiSchliessen_Click(); });
  on(menu::DateiBeenden, [this] { DateiBeenden_Click(); });
  on(menu::Info, [this] { Info_Click(); });
  for (int type = 0; type < kDisciplineEntries.size(); ++type) {
    on(kDisciplineEntries[type], [this, type] { ChooseDiscipline(type); });
  }
  on(menu::DisziplinKombination, [this] { DisziplinKombination_Click(); });

  // The routines and panels the subsystems registered; every entry of a panel row opens
  // its panel (the empty titled one while nobody binds it), unless a routine was bound to
  // the entry itself (one that checks something before the panel protocol runs).
  QStringList routed;
  for (const PanelRegistry::BoundEntry& bound : registry_.menuHandlers()) {
    on(bound.entry, [this, handler = bound.handler] { handler(*this); });
    routed << bound.entry;
  }
  for (const PanelInfo& info : registry_.rows()) {
    for (const QString& entry : info.menuEntries) {
      if (routed.contains(entry)) continue;
      on(entry, [this, name = info.name, entry] { openRegisteredPanel(name, entry); });
    }
  }
}

// ---------------------------------------------------------------------------------------
// Start-up and exit

void MainWindow::startUp() {
  state_.DataDir =
      GetPrivateProfileString(QStringLiteral("DATA"), QStringLiteral("DATADIR"), kDefaultDataDir,
                              QDir(state_.ProgramDir).filePath(QStringLiteral("Kandor.ini")));
  applyMenuEvent(MenuEvent::StartUp);
  state_.CurrentDisciplineType = 0;
  CloseAllPanels();
  Info_Click();
  frameTitel_->clear();
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
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The menu's exit and the close box leave the certificate editor as its Esc does: unsaved
  // templates only after the person agreed, an unchanged editor without a word.
  if (currentPanel_ == kCertificateEditorPanel && panel_) {
    panel_->closeAction();
    if (currentPanel_ == kCertificateEditorPanel) {
      event->ignore();
      return;
    }
  }
  // A takeover frame asks about assignments that were not taken over.
  if (KeepTakeoverFrames()) {
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
  QAction* a = action(name);
  if (!a) throw std::logic_error("MainWindow: no menu entry named '" + name.toStdString() + "'");
  a->setEnabled(on);
}

bool MainWindow::isEnabled(const QString& name) const {
  QAction* a = action(name);
  return a && a->isEnabled();
}

// ---------------------------------------------------------------------------------------
// Work-panel protocol

bool MainWindow::EditorLeaveGuard() {
  if (currentPanel_ != kCertificateEditorPanel) return KeepTakeoverFrames();
  ui_->message(kEditorLeaveMessage);
  return true;
}

void MainWindow::CloseAllPanels() {
  frameInfo_->hide();
  for (const PanelInfo& info : registry_.rows()) {
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
  if (panel) panel->beforeClose();
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

WorkPanel* MainWindow::openBuilt(const std::function<WorkPanel*()>& make) {
  if (EditorLeaveGuard()) return nullptr;
  CloseAllPanels();
  WorkPanel* p = make();
  beginPanel(p, p->title());
  try {
    p->build();
  } catch (...) {
    // No half-built panel stays behind.
    closePanel(p->panelName());
    throw;
  }
  return panel_ == p ? p : nullptr;
}

void MainWindow::openRegisteredPanel(const QString& name, const QString& menuEntry) {
  const PanelInfo* row = registry_.find(name);
  if (!row) throw std::logic_error("MainWindow: no panel named '" + name.toStdString() + "'");
  openBuilt([&]() -> WorkPanel* {
    if (row->factory) return row->factory(*this, *row, menuEntry);
    return new PlaceholderPanel(*this, *row);
  });
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
    if (!currentPanel_.isEmpty() && registry_.find(currentPanel_)) {
      if (key == Qt::Key_F2) {
        if (panel_) panel_->mainAction();
      } else if (key == Qt::Key_Escape) {
        if (panel_) {
          panel_->closeAction();
        } else {
          closePanel(currentPanel_);
        }
      }
      return;
    }
    if (!frameZeituebernahme_->isHidden()) {
      if (key == Qt::Key_F2 && zeituebernahmeRoutines.f2) zeituebernahmeRoutines.f2();
      if (key == Qt::Key_Escape && !KeepTakeoverFrames()) Zeiten_Schliessen();
      return;
    }
    if (!frameHandzeit_->isHidden()) {
      if (key == Qt::Key_F2 && handzeitRoutines.f2) handzeitRoutines.f2();
      if (key == Qt::Key_F3 && handzeitRoutines.f3) handzeitRoutines.f3();
      if (key == Qt::Key_F4 && handzeitRoutines.f4) handzeitRoutines.f4();
      if (key == Qt::Key_Escape && !KeepTakeoverFrames()) Zeiten_SchliessenH();
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
    // A dialog of the routine has run keys of its own meanwhile, and their releases cleared
    // the marks: the press still goes on to the parents, marked again.
    keyEvent_ = event;
    keyReceiver_ = watched;
  }
  return false;
}

}  // namespace kx
