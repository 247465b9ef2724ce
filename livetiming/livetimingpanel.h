#pragma once

// "LiveTiming": the live-timing panel. The user logs in to the registration service,
// chooses the event, the grouping and the start-order rules of both runs, starts and stops
// the upload, sends the web information again and the run-2 start order.

#include "workpanel/workpanel.h"

#include <memory>

namespace kx {

class LiveTimingConnection;
class LiveTimingSession;
struct GroupingUse;

class LiveTimingPanel : public WorkPanel {
  Q_OBJECT
 public:
  LiveTimingPanel(PanelHost& host, const PanelInfo& row);
  ~LiveTimingPanel() override;

  void build() override;
  // F2: the start button's routine, only while the button is shown and enabled.
  void mainAction() override;
  // Closing stops the upload before the controls go, and recomputes the menu state after.
  void beforeClose() override;
  void afterClose() override;

  void LiveTiming_anmelden_Click();
  void LiveTimingStart_End_Click();
  void LiveTiming_akt_WebInfo_Click();
  void LiveTiming_SendStaliDG2_Click();

  LiveTimingConnection& connection() { return *connection_; }
  LiveTimingSession& session() { return *session_; }

 private:
  void fillChoices();
  void preselectRules(const GroupingUse& use);
  void storeRule(int run);
  void showStopped();
  void setLoggedInControlsShown(bool shown);
  static QString selectedText(const QComboBox* combo);

  std::unique_ptr<LiveTimingConnection> connection_;
  std::unique_ptr<LiveTimingSession> session_;
  bool panelLoading_ = false;

  QLineEdit* bewerb_ = nullptr;
  QLineEdit* passwort_ = nullptr;
  QPushButton* anmelden_ = nullptr;
  QLabel* anmProt_ = nullptr;
  QLabel* label04_ = nullptr;
  QComboBox* veranst_ = nullptr;
  QLabel* label05_ = nullptr;
  QComboBox* gruppe_ = nullptr;
  QLabel* label06_ = nullptr;
  QComboBox* staliDG1_ = nullptr;
  QLabel* label07_ = nullptr;
  QComboBox* staliDG2_ = nullptr;
  QPushButton* startEnd_ = nullptr;
  QLabel* meldung_ = nullptr;
  QLabel* label08_ = nullptr;
  QLineEdit* webInfo_ = nullptr;
  QPushButton* aktWebInfo_ = nullptr;
  QPushButton* sendStaliDG2_ = nullptr;
};

// Settings of live timing: section "LiveTiming", keys "Server" (host or host:port of the
// registration service), "Bewerb", "Passwort" and "WebInfo".
inline const QString kLiveSettingsServer = QStringLiteral("LiveTiming/Server");
inline const QString kLiveSettingsBewerb = QStringLiteral("LiveTiming/Bewerb");
inline const QString kLiveSettingsPasswort = QStringLiteral("LiveTiming/Passwort");
inline const QString kLiveSettingsWebInfo = QStringLiteral("LiveTiming/WebInfo");

}  // namespace kx
