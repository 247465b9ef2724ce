#pragma once

// A main window with a competition file open and a fake registration service named in the
// settings; helpers to open the live-timing panel and reach its controls.

#include "livetiming/livetimingpanel.h"
#include "livetiming/protocol.h"
#include "livetiming/session.h"
#include "tests/support/appfixture.h"
#include "tests/support/fakeregistration.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kx::test {

using Answer = FakeRegistrationService::Answer;

class LiveFixture : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    window().settings().setValue(kLiveSettingsServer, service.server());
  }

  void openRace(const db::CompetitionSpec& race) {
    openThroughMenu(writeCompetition("Rennen.mdb", race));
  }
  LiveTimingPanel* openPanel() {
    trigger("LiveTiming");
    auto* panel = qobject_cast<LiveTimingPanel*>(window().panel());
    if (panel) {
      panel->connection().setTransferTimeout(300);
      panel->session().setTickInterval(60 * 60 * 1000);  // ticks are called by the test
    }
    return panel;
  }
  // Opens the panel and logs in with number and password.
  LiveTimingPanel* loggedIn(const QString& bewerb = "12345", const QString& passwort = "geheim") {
    LiveTimingPanel* panel = openPanel();
    text("LiveTimingBewerb")->setText(bewerb);
    text("LiveTimingPasswort")->setText(passwort);
    button("LiveTiming_anmelden")->click();
    return panel;
  }
  void press(int key) { QTest::keyClick(&window(), static_cast<Qt::Key>(key)); }

  template <class W>
  W* control(const char* name) {
    return window().findChild<W*>(QString::fromLatin1(name));
  }
  QLineEdit* text(const char* name) { return control<QLineEdit>(name); }
  QPushButton* button(const char* name) { return control<QPushButton>(name); }
  QComboBox* combo(const char* name) { return control<QComboBox>(name); }
  QStringList items(const char* name) {
    QStringList list;
    for (int i = 0; i < combo(name)->count(); ++i) list.append(combo(name)->itemText(i));
    return list;
  }

  FakeRegistrationService service;
};

}  // namespace kx::test
