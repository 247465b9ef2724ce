// The live-timing panel driven like the user: login, stored rules, start, ticks, closing.
#include "db/database.h"
#include "livefixture.h"
#include "livetiming/choices.h"
#include "tests/support/faults.h"

#include <QFile>
#include <QTimer>

namespace kx::test {
namespace {

using LivePanel = LiveFixture;

TEST_F(LivePanel, LoginRefusalsLeaveSettingsAloneThenLoginSendsValuesAsTyped) {
  openRace(SmallCompetition());
  ASSERT_NE(openPanel(), nullptr);
  EXPECT_TRUE(button("LiveTimingStart_End")->isHidden());
  GrabForLooking(window(), "livetiming-login");
  press(Qt::Key_F2);  // before the login: nothing is sent
  EXPECT_TRUE(ui().messageTexts().isEmpty());
  EXPECT_TRUE(service.requests.isEmpty());
  auto attempt = [&](const QString& bewerb, const QString& passwort) {
    ui().clear();
    text("LiveTimingBewerb")->setText(bewerb);
    text("LiveTimingPasswort")->setText(passwort);
    button("LiveTiming_anmelden")->click();
    return ui().messageTexts().join("|");
  };
  EXPECT_EQ(attempt("1234", "x"), "Bitte die Bewerbsnummer (5-stellig) eingeben");
  EXPECT_EQ(attempt("12345", ""), "Bitte das Passwort eingeben");
  service.loginReply = "Falsches+Passwort%21";
  EXPECT_EQ(attempt("12345", "x"), "Falsches Passwort!");
  // The service answered "nok": a refusal, not a connection fault.
  service.loginReply = "nok";
  EXPECT_EQ(attempt("12345", "x"),
            "Die Anmeldung wurde von Startora abgelehnt.\nBitte die Bewerbsnummer und das "
            "Passwort prüfen.");
  service.script("Login", {Answer::NotFound});
  EXPECT_EQ(attempt("12345", "x"),
            "Fehler bei der Verbindung mit Startora\nDer Server antwortete mit Fehler 404");
  // A redirect to a page that answers "ok" does not log in.
  service.script("Login", {Answer::Found});
  EXPECT_EQ(attempt("12345", "x"),
            "Fehler bei der Verbindung mit Startora\nDer Server antwortete mit Fehler 302");
  EXPECT_TRUE(button("LiveTimingStart_End")->isHidden());
  window().settings().remove(kLiveSettingsServer);
  openPanel();
  const QString noServer = attempt("12345", "x");
  EXPECT_TRUE(noServer.contains("kein Server eingestellt.\nBitte in der Einstellungsdatei\n" +
                                window().settings().fileName()));
  EXPECT_EQ(service.requests.size(), 4);
  EXPECT_EQ(service.gets, 0);
  EXPECT_FALSE(window().settings().contains(kLiveSettingsBewerb));
  EXPECT_TRUE(button("LiveTimingStart_End")->isHidden());

  window().settings().setValue(kLiveSettingsServer, service.server());
  service.loginReply =
      "ok%7CTOKEN12345%7C16.01.2027+Bezirkscup%C2%B0RS+1234%C2%B0RS+1234+Kinder%C2%B0";
  openPanel();
  EXPECT_EQ(attempt("1a3&=", "p&=+%°ä"), "");
  EXPECT_EQ(service.requests.last().body,
            QByteArray("Fkt=Login&BewerbsNr=1a3&=&Passwort=p&=+%\xC2\xB0\xC3\xA4"));
  EXPECT_EQ(items("LiveTimingVeranst"),
            QStringList({"16.01.2027 Bezirkscup", "RS 1234", "RS 1234 Kinder", ""}));
  EXPECT_EQ(combo("LiveTimingVeranst")->currentIndex(), 2);
  EXPECT_FALSE(text("LiveTimingBewerb")->isEnabled());
  EXPECT_FALSE(button("LiveTiming_anmelden")->isEnabled());
  EXPECT_FALSE(button("LiveTimingStart_End")->isHidden());
  EXPECT_EQ(window().settings().value(kLiveSettingsPasswort).toString(), "p&=+%°ä");
  EXPECT_EQ(QFile::permissions(window().settings().fileName()) & 0x0077, 0);
}

TEST(LiveChoices, EventsAndTheirPreselection) {
  EXPECT_EQ(SplitEvents("", "1234", "16.01.2027").events, QStringList());
  EXPECT_EQ(SplitEvents("a°16.01.2027 x°16.01.2027 y", "1234", "16.01.2027").selected, 1);
  EXPECT_EQ(SplitEvents("16.01.2027 x°b 1234", "1234", "16.01.2027").selected, 1);
  EXPECT_EQ(SplitEvents("a°b", "", "").selected, 0);
}

TEST_F(LivePanel, RulesByTypeStoredAndRestored) {
  db::CompetitionSpec race = SmallCompetition();
  race.bewerb.typ = 0;
  openRace(race);
  auto stored = [&] { return ReadStoredRules(state().db()); };
  openPanel();
  EXPECT_EQ(items("LiveTimingGruppe"), QStringList({"Klasse", "Gruppe", "Kategorie"}));
  EXPECT_EQ(combo("LiveTimingGruppe")->currentText(), "Kategorie");
  EXPECT_EQ(items("LiveTimingStaliDG2").size(), 10);
  EXPECT_EQ(stored()[0], "FIS-Reglement");
  EXPECT_EQ(stored()[1], "FIS-Reglement");

  state().db().execute("drop table tblStali");
  state().db().execute("update tblKlasse set gruppe=null");
  state().HasStartOrderTable = false;
  state().Settings.typ = "9";
  openPanel();
  EXPECT_EQ(items("LiveTimingStaliDG2").size(), 8);
  EXPECT_EQ(stored()[0], "Startnummer");
  EXPECT_EQ(stored()[1], "Startnummer");

  state().db().execute(
      "update tblStali set reihenfolge='Nach Zeiten pro Kategorie       ' "
      "where durchgang=2");
  state().db().execute("update tblStali set reihenfolge='Gibt es nicht' where durchgang=1");
  openPanel();
  EXPECT_EQ(combo("LiveTimingStaliDG2")->currentText(), "Nach Zeiten pro Kategorie");
  EXPECT_EQ(combo("LiveTimingStaliDG1")->currentIndex(), -1);
  EXPECT_EQ(stored()[0], "Gibt es nicht");
  QTest::keyClicks(combo("LiveTimingStaliDG1")->lineEdit(), "k");
  EXPECT_EQ(stored()[0], "Klasse / Start-Nr");
  state().db().execute("update tblStali set reihenfolge='x' where durchgang=2");
  emit combo("LiveTimingStaliDG2")->activated(combo("LiveTimingStaliDG2")->currentIndex());
  EXPECT_EQ(stored()[1], "Nach Zeiten pro Kategorie");
}

TEST_F(LivePanel, Run2DefaultNamesRun1sRuleOrTurnsBibsPerGroup) {
  // The run-2 list holds "St-Nr pro Gruppe drehen" as its third entry here; the group races
  // of types 4 and 5 turn the bibs per group.
  openRace(SmallCompetition());
  const std::pair<const char*, std::pair<QString, QString>> cases[] = {
      {"0", {"FIS-Reglement", "FIS-Reglement"}},
      {"1", {"FIS-Reglement", "FIS-Reglement"}},
      {"2", {"KSF-Reglement", "KSF-Reglement"}},
      {"3", {"KSF-Reglement", "KSF-Reglement"}},
      {"4", {"KSF-Schülerreglement", "St-Nr pro Gruppe drehen"}},
      {"5", {"KSF-Schülerreglement", "St-Nr pro Gruppe drehen"}},
      {"12", {"Klasse / Start-Nr", "St-Nr pro Klasse drehen"}},
      {"9", {"Startnummer", "Startnummer"}},
  };
  for (const auto& [typ, rules] : cases) {
    SCOPED_TRACE(typ);
    if (state().db().hasTable("tblStali")) state().db().execute("drop table tblStali");
    state().HasStartOrderTable = false;
    state().Settings.typ = typ;
    openPanel();
    ASSERT_EQ(items("LiveTimingStaliDG2").size(), 10);
    EXPECT_EQ(combo("LiveTimingStaliDG1")->currentText(), rules.first);
    EXPECT_EQ(combo("LiveTimingStaliDG2")->currentText(), rules.second);
    const auto stored = ReadStoredRules(state().db());
    EXPECT_EQ(stored[0], rules.first);
    EXPECT_EQ(stored[1], rules.second);
  }
  // A choice stored by an earlier opening (the former default of a FIS race among them)
  // is still honoured and left as it is.
  state().Settings.typ = "0";
  state().db().execute("update tblStali set reihenfolge='KSF-Reglement' where durchgang=2");
  openPanel();
  EXPECT_EQ(combo("LiveTimingStaliDG2")->currentText(), "KSF-Reglement");
  EXPECT_EQ(ReadStoredRules(state().db())[1], "KSF-Reglement");
  // Without groups in use types 4 and 5 keep run 1's rule.
  state().db().execute("drop table tblStali");
  state().db().execute("update tblKlasse set gruppe=null");
  state().HasStartOrderTable = false;
  state().Settings.typ = "4";
  openPanel();
  EXPECT_EQ(combo("LiveTimingStaliDG2")->currentText(), "KSF-Schülerreglement");
}

// A view in place of the start-order table: a damaged file, not SQLite's English text.
TEST_F(LivePanel, AViewInPlaceOfTheStartOrderTableIsADamagedFile) {
  openRace(SmallCompetition());
  state().db().execute(
      "create view tblStali as select 1 as durchgang, 'Startnummer' as reihenfolge");
  EXPECT_EQ(openPanel(), nullptr);
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"Die Bewerbsdatei '" + state().db().path() +
                        "' ist beschädigt.\nBitte die Datei im Programm Kandor reparieren.\nEs "
                        "wurde nichts gespeichert."});
}

TEST_F(LivePanel, StartSendsFiveFilesThenTicksSendChangedRuns) {
  openRace(SmallCompetition());
  loggedIn();
  QTest::keyClicks(text("LiveTimingWebInfo"), "Info & mehr");
  press(Qt::Key_F2);
  EXPECT_EQ(service.dateien(),
            QStringList({"Bewerb.txt", "Info.txt", "Klassen.txt", "Teilnehmer.txt", "Stali.txt"}));
  EXPECT_EQ(service.requests[1].body, QByteArray("Fkt=SendFile&Token=TOKEN12345&VeranstNr=1&"
                                                 "Datei=Bewerb.txt&Dateiinhalt=2|add|Klasse||"
                                                 "Info & mehr"));
  EXPECT_EQ(service.uploadsOf("Stali.txt")[0].inhalt(), "1!1°2°3°4°5°6°");
  EXPECT_EQ(button("LiveTimingStart_End")->text(), "LiveTiming beenden (F2)");
  EXPECT_FALSE(button("LiveTiming_SendStaliDG2")->isHidden());
  GrabForLooking(window(), "livetiming-running");
  LiveTimingSession& session = qobject_cast<LiveTimingPanel*>(window().panel())->session();
  ASSERT_TRUE(session.running());

  service.clear();
  session.LiveTimerTick();
  session.LiveTimerTick();
  EXPECT_EQ(service.dateien(), QStringList({"ZeitDG1.txt", "ZeitDG2.txt"}));
  EXPECT_EQ(service.requests[0].inhalt(), "");

  // A racer starts; the mark "on the course" expires after 120 s and is sent, too.
  service.clear();
  state().db().execute(
      "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode,start) "
      "values (3,2,1,2,(10*3600+30*60-30)/86400.0)");
  session.LiveTimerTick();
  ui().setNow(ui().now().addSecs(89));
  session.LiveTimerTick();
  ui().setNow(ui().now().addSecs(1));
  session.LiveTimerTick();
  ASSERT_EQ(service.dateien(), QStringList({"ZeitDG1.txt", "ZeitDG1.txt"}));
  EXPECT_EQ(service.requests[1].inhalt(), "0032999999,99°");

  // "nok" ends the tick; the next tick sends run 1 again before run 2.
  service.clear();
  service.script("ZeitDG1.txt", {Answer::Nok});
  state().db().execute("update tblZeit set ergcode=1");
  state().db().execute(
      "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode) "
      "values (3,2,2,1)");
  session.LiveTimerTick();
  session.LiveTimerTick();
  EXPECT_EQ(service.dateien(), QStringList({"ZeitDG1.txt", "ZeitDG1.txt", "ZeitDG2.txt"}));

  QTest::keyClicks(text("LiveTimingWebInfo"), "!");
  button("LiveTiming_akt_WebInfo")->click();
  EXPECT_FALSE(button("LiveTiming_akt_WebInfo")->isEnabled());
  EXPECT_EQ(service.requests.last().inhalt(), "Info & mehr!");

  // The run-2 start order once run 1 is complete.
  ui().clear();
  button("LiveTiming_SendStaliDG2")->click();
  EXPECT_EQ(ui().messageTexts(), QStringList{"Der 1. Durchgang ist noch nicht abgeschlossen!"});
  state().db().execute(
      "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode,netto) "
      "select id,2,1,0,(60+id)/86400.0 from tblTeilnehmer where id<>3");
  button("LiveTiming_SendStaliDG2")->click();
  ASSERT_EQ(service.dateien().last(), "Stali.txt");
  EXPECT_TRUE(service.requests.last().inhalt().startsWith("2!"));

  service.clear();
  press(Qt::Key_F2);
  EXPECT_FALSE(session.running());
  EXPECT_TRUE(button("LiveTiming_akt_WebInfo")->isHidden());
  EXPECT_TRUE(combo("LiveTimingStaliDG1")->isEnabled());
  EXPECT_TRUE(service.requests.isEmpty());
}

TEST_F(LivePanel, NokAtEachStartStepReturnsToTheStoppedLook) {
  openRace(SmallCompetition());
  loggedIn();
  const QStringList files{"Bewerb.txt", "Info.txt", "Klassen.txt", "Teilnehmer.txt", "Stali.txt"};
  for (int step = 0; step < files.size(); ++step) {
    service.clear();
    service.script(files[step], {Answer::Nok});
    press(Qt::Key_F2);
    EXPECT_EQ(service.dateien(), files.mid(0, step + 1));
    EXPECT_EQ(button("LiveTimingStart_End")->text(), "LiveTiming starten (F2)");
    EXPECT_TRUE(combo("LiveTimingVeranst")->isEnabled());
    EXPECT_TRUE(button("LiveTiming_akt_WebInfo")->isHidden());
    EXPECT_FALSE(qobject_cast<LiveTimingPanel*>(window().panel())->session().running());
  }
}

TEST_F(LivePanel, AnHttpErrorAtTheStartIsAFailureNamingItsStatus) {
  openRace(SmallCompetition());
  LiveTimingSession& session = loggedIn()->session();
  const QStringList files{"Bewerb.txt", "Info.txt", "Klassen.txt", "Teilnehmer.txt", "Stali.txt"};
  // A redirect, to the service's "ok" page or to a login page of the venue's network, fails
  // like an error status.
  const std::tuple<Answer, int, int, QByteArray> cases[] = {
      {Answer::ServerError, 0, 500, ""},     {Answer::NotFound, 3, 404, ""},
      {Answer::ServerError, 4, 500, ""},     {Answer::Moved, 0, 301, "/ok"},
      {Answer::Found, 2, 302, "/netz.html"}, {Answer::BadRequest, 4, 400, ""}};
  for (const auto& [answer, step, status, target] : cases) {
    SCOPED_TRACE(status);
    service.clear();
    ui().clear();
    service.redirectTo = target;
    service.script(files[step], {answer});
    press(Qt::Key_F2);
    EXPECT_EQ(service.dateien(), files.mid(0, step + 1));
    EXPECT_EQ(ui().messageTexts(),
              QStringList{QString("Fehler bei der Verbindung mit Startora\nDer Server "
                                  "antwortete mit Fehler %1")
                              .arg(status)});
    EXPECT_FALSE(session.running());
    EXPECT_EQ(button("LiveTimingStart_End")->text(), "LiveTiming starten (F2)");
    EXPECT_TRUE(combo("LiveTimingStaliDG1")->isEnabled());
    EXPECT_NE(control<QLabel>("LiveTiming_Meldung")->text(), "LiveTiming aktiv ...");
  }
  // Once the service answers 200 the start goes through.
  service.clear();
  press(Qt::Key_F2);
  EXPECT_EQ(service.dateien(), files);
  EXPECT_TRUE(session.running());
  EXPECT_EQ(service.gets, 0);
}

// Opens a file of four runs (live timing serves three), logs in, starts and ticks once.
class LiveRunning : public LiveFixture {
 protected:
  void SetUp() override {
    LiveFixture::SetUp();
    race.disziplinen[0].durchgaenge = 4;
    openRace(race);
  }
  LiveTimingSession& start() {
    LiveTimingPanel* panel = loggedIn();
    press(Qt::Key_F2);
    panel->session().setTickInterval(20);
    panel->session().LiveTimerTick();
    return panel->session();
  }
  void changeRun1() {
    state().db().execute(
        "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode) "
        "select coalesce(max(teilnehmer),0)+1,2,1,1 from tblZeit");
  }
  db::CompetitionSpec race = SmallCompetition();
};

TEST_F(LiveRunning, OneRequestAtATimeAndOneConnectionMessage) {
  LiveTimingSession& session = start();
  EXPECT_EQ(service.uploadsOf("ZeitDG3.txt").size(), 1);
  EXPECT_TRUE(service.uploadsOf("ZeitDG4.txt").isEmpty());
  // Slow refusals of run 1 while the timer keeps firing: never two requests at once.
  service.script("ZeitDG1.txt", {Answer::Nok, Answer::Nok, Answer::Nok, Answer::Nok});
  changeRun1();
  service.delayMs = 60;
  QTest::qWait(220);
  EXPECT_EQ(service.maxOpenConnections(), 1);
  EXPECT_GE(service.uploadsOf("ZeitDG1.txt").size(), 3);

  session.setTickInterval(60 * 60 * 1000);
  service.stopListening();
  changeRun1();
  session.LiveTimerTick();
  session.LiveTimerTick();
  EXPECT_EQ(ui().messageTexts(), QStringList{"Fehler bei der Verbindung mit Startora"});
}

TEST_F(LiveRunning, AnHttpErrorOnATickSendsTheSameFileAgainAndSaysSoOncePerOutage) {
  LiveTimingSession& session = start();
  session.setTickInterval(60 * 60 * 1000);
  const QString outage500 =
      "Fehler bei der Verbindung mit Startora\nDer Server antwortete mit Fehler 500";
  changeRun1();
  service.clear();
  ui().clear();
  service.script("ZeitDG1.txt", {Answer::ServerError, Answer::NotFound, Answer::ServerError});
  for (int tick = 0; tick < 4; ++tick) session.LiveTimerTick();
  // Three failed uploads, then the same file accepted.
  ASSERT_EQ(service.dateien(), QStringList(4, "ZeitDG1.txt"));
  const QList<FakeRegistrationService::Request> uploads = service.uploadsOf("ZeitDG1.txt");
  for (const auto& upload : uploads) EXPECT_EQ(upload.body, uploads[0].body);
  EXPECT_EQ(ui().messageTexts(), QStringList{outage500});
  EXPECT_TRUE(session.running());

  // Accepted means sent: nothing more until a time changes; a new outage is said again.
  service.clear();
  session.LiveTimerTick();
  EXPECT_TRUE(service.requests.isEmpty());
  changeRun1();
  service.script("ZeitDG1.txt", {Answer::ServerError});
  session.LiveTimerTick();
  session.LiveTimerTick();
  EXPECT_EQ(service.dateien(), QStringList({"ZeitDG1.txt", "ZeitDG1.txt"}));
  EXPECT_EQ(ui().messageTexts(), QStringList({outage500, outage500}));

  // Redirects to a login page of the venue's network: the same file again until a 200.
  service.clear();
  ui().clear();
  service.redirectTo = "/netz.html";
  changeRun1();
  service.script("ZeitDG1.txt", {Answer::Moved, Answer::Found});
  for (int tick = 0; tick < 4; ++tick) session.LiveTimerTick();
  ASSERT_EQ(service.dateien(), QStringList(3, "ZeitDG1.txt"));
  EXPECT_EQ(service.requests[2].body, service.requests[0].body);
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"Fehler bei der Verbindung mit Startora\nDer Server antwortete mit "
                        "Fehler 301"});
  EXPECT_EQ(service.gets, 0);
}

TEST_F(LiveRunning, NoRequestAfterClosing) {
  // Closing by Esc, by another panel, by a discipline and by the window.
  const std::function<void()> closers[] = {
      [&] { press(Qt::Key_Escape); }, [&] { trigger("BearbeitenStartliste"); },
      [&] { trigger("DisziplinSL"); }, [&] { window().close(); }};
  for (const auto& close : closers) {
    LiveTimingSession& session = start();
    close();
    EXPECT_FALSE(session.running());
    service.clear();
    QTest::qWait(50);
    EXPECT_TRUE(service.requests.isEmpty());
  }
  // The window closed while the start waits for a reply: nothing more is sent.
  loggedIn();
  service.clear();
  service.delayMs = 50;
  QTimer::singleShot(20, &window(), [&] { window().close(); });
  press(Qt::Key_F2);
  EXPECT_EQ(service.dateien(), QStringList{"Bewerb.txt"});
  EXPECT_TRUE(ui().messages.isEmpty());
}

TEST_F(LiveRunning, TicksUnderALockAreSkippedAndSaidOnceThenReadAgain) {
  LiveTimingSession& session = start();
  QLabel* status = control<QLabel>("LiveTiming_Meldung");
  service.clear();
  {
    const ForeignLock lock(state().db(), ForeignLock::Kind::Writing);
    QTest::qWait(200);  // the timer keeps ticking while another program holds the file
    EXPECT_TRUE(session.running() && ui().messages.isEmpty() && service.requests.isEmpty());
    EXPECT_TRUE(status->text().startsWith("LiveTiming aktiv, Zeiten nicht gelesen: "));
  }
  changeRun1();
  EXPECT_TRUE(QTest::qWaitFor([&] { return !service.uploadsOf("ZeitDG1.txt").isEmpty(); }));
  EXPECT_EQ(status->text(), "LiveTiming aktiv ...");
}

TEST_F(LiveRunning, AReplacedFileStopsLiveTimingWithAMessage) {
  LiveTimingSession& session = start();
  ASSERT_TRUE(QFile::remove(state().db().path()));
  writeCompetition("Rennen.mdb", race);
  service.clear();
  session.LiveTimerTick();
  EXPECT_FALSE(session.running());
  EXPECT_EQ(ui().messageTexts(),
            QStringList{state().db().movedText() + "\nLiveTiming wurde beendet."});
  EXPECT_EQ(button("LiveTimingStart_End")->text(), "LiveTiming starten (F2)");
  EXPECT_TRUE(service.requests.isEmpty());
}

}  // namespace
}  // namespace kx::test
