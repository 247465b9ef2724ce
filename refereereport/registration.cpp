#include "refereereport/registration.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "refereereport/reportwindow.h"
#include "workpanel/menuentries.h"
#include "workpanel/panelhost.h"
#include "workpanel/panelregistry.h"

#include <QAction>
#include <QEvent>
#include <QLabel>

#include <memory>

namespace kx {

namespace {

// Keeps the one report window of a main window: created by the first use of the menu
// entry, closed without storing when the competition file is closed or replaced and nothing
// typed would be lost (with typed texts it stays, and stores only into its own file again),
// and when the main window closes, which asks first when texts would be lost (a window
// without owner would keep the program running).
class RefereeReportKeeper : public QObject {
 public:
  static constexpr const char* kName = "RefereeReportKeeper";
  RefereeReportKeeper(PanelHost& host, QWidget* mainWindow) : QObject(mainWindow), host_(host) {
    setObjectName(QString::fromLatin1(kName));
    mainWindow->installEventFilter(this);
    for (const QString& entry : {menu::DateiOeffnen, menu::DateiSchliessen}) {
      ConnectGuarded(host.ui(), host.action(entry), &QAction::triggered, this,
                     [this] { followFile(); });
    }
  }

  void show() {
    if (!window_) window_ = std::make_unique<RefereeReportWindow>(host_);
    window_->showReport();
  }
  RefereeReportWindow* window() const { return window_.get(); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Closing the main window, by its close box or by the menu: "Nein" keeps both windows.
    if (event->type() == QEvent::Close && window_ &&
        !window_->mayDiscard(QStringLiteral("Änderungen im Schiedsrichterbericht verwerfen?"))) {
      event->ignore();
      return true;
    }
    // Hidden by the program, not minimised: the main window has closed (a refused close
    // keeps it open, and the report with it).
    if (event->type() == QEvent::Hide && !event->spontaneous() && window_) window_->dismiss();
    return QObject::eventFilter(watched, event);
  }

 private:
  void followFile() {
    if (window_ && window_->isVisible() && !window_->belongsToOpenFile() &&
        !window_->hasChanges()) {
      window_->dismiss();
    }
  }

  PanelHost& host_;
  std::unique_ptr<RefereeReportWindow> window_;
};

RefereeReportKeeper* KeeperOf(PanelHost& host) {
  QWidget* mainWindow = host.frameTitel()->window();
  return static_cast<RefereeReportKeeper*>(
      mainWindow->findChild<QObject*>(QString::fromLatin1(RefereeReportKeeper::kName)));
}

}  // namespace

RefereeReportWindow* RefereeReportWindowOf(PanelHost& host) {
  RefereeReportKeeper* keeper = KeeperOf(host);
  return keeper ? keeper->window() : nullptr;
}

void RegisterRefereeReportPanels(PanelRegistry& registry) {
  registry.onStartUp(
      [](PanelHost& host) { new RefereeReportKeeper(host, host.frameTitel()->window()); });
  registry.bindMenuEntry(menu::SR_Bericht_anzeigen, [](PanelHost& host) {
    if (RefereeReportKeeper* keeper = KeeperOf(host)) keeper->show();
  });
}

}  // namespace kx
