#include "db/database.h"
#include "tests/support/appfixture.h"

namespace kx::test {
namespace {

class MenuStateTest : public AppFixture {
 protected:
  // Run times of the giant slalom for the six participants of the small competition.
  static void addTimes(db::CompetitionSpec& race, int run, bool withStart, int participants = 6) {
    for (int id = 1; id <= participants; ++id) {
      db::ZeitSpec z;
      z.teilnehmer = id;
      z.disziplin = 2;
      z.durchgang = run;
      z.netto = db::HundredthsToDay(6000 + id * 10);
      if (withStart) {
        z.start = db::HundredthsToDay(360000 + id * 6000);
        z.ziel = *z.start + *z.netto;
      }
      race.zeiten.push_back(z);
    }
  }
  void loadHandTimes(bool start, bool finish) {
    state().HzStart.assign(start ? 3 : 0, HandTime{0.4});
    state().HzZiel.assign(finish ? 3 : 0, HandTime{0.5});
  }
};

TEST_F(MenuStateTest, RunsWithTimesCountsTheLeadingRunsWithStartTimes) {
  auto race = SmallCompetition();
  addTimes(race, 1, true);
  addTimes(race, 2, false);
  openThroughMenu(writeCompetition("a.mdb", race));
  EXPECT_EQ(state().RunCount, 2);
  EXPECT_EQ(state().RunsWithTimes, 1);
  EXPECT_TRUE(enabled("BearbeitenStartlisteDG2"));
  EXPECT_TRUE(enabled("BearbeitenTafellisteDG2"));
  EXPECT_TRUE(enabled("BearbeitenPenaltyProtokoll"));
  EXPECT_TRUE(enabled("BearbeitenErgebnisliste"));
  EXPECT_FALSE(enabled("BearbeitenMannschaftsergebnisliste"));
  // No hand times loaded: no takeover.
  EXPECT_FALSE(enabled("Zeituebernahme"));
  EXPECT_FALSE(enabled("ZeituebernahmeH"));
}

TEST_F(MenuStateTest, WithoutStartTimesAnyResultRowCounts) {
  auto race = SmallCompetition();
  addTimes(race, 1, false);
  addTimes(race, 2, true);  // start times only in run 2
  openThroughMenu(writeCompetition("a.mdb", race));
  EXPECT_EQ(state().RunsWithTimes, 2);
  loadHandTimes(true, true);
  trigger("DisziplinRS");
  EXPECT_FALSE(enabled("Zeituebernahme"));
  EXPECT_TRUE(enabled("ZeituebernahmeH"));
  loadHandTimes(true, false);
  trigger("DisziplinRS");
  EXPECT_FALSE(enabled("ZeituebernahmeH"));
}

TEST_F(MenuStateTest, TakeoverByTimeOfDayNeedsStartTimesAndSomeHandTimes) {
  auto race = SmallCompetition();
  addTimes(race, 1, true);
  openThroughMenu(writeCompetition("a.mdb", race));
  loadHandTimes(false, true);
  trigger("DisziplinRS");
  EXPECT_TRUE(enabled("Zeituebernahme"));
  EXPECT_FALSE(enabled("ZeituebernahmeH"));
  loadHandTimes(false, false);
  trigger("DisziplinRS");
  EXPECT_FALSE(enabled("Zeituebernahme"));
}

TEST_F(MenuStateTest, ADisciplineWithoutRunsOffersNoRun2Lists) {
  auto race = SmallCompetition();
  race.disziplinen[0].durchgaenge = 0;
  addTimes(race, 1, true);
  openThroughMenu(writeCompetition("a.mdb", race));
  EXPECT_EQ(state().RunsWithTimes, 0);
  EXPECT_FALSE(enabled("BearbeitenStartlisteDG2"));
  EXPECT_FALSE(enabled("BearbeitenTafellisteDG2"));
  EXPECT_FALSE(enabled("BearbeitenPenaltyProtokoll"));
  EXPECT_TRUE(enabled("BearbeitenAushangliste"));
  EXPECT_TRUE(enabled("BearbeitenErgebnisliste"));
}

TEST_F(MenuStateTest, TeamListsNeedTeamsAndEveryRunTimed) {
  auto race = SmallCompetition();
  race.grpMannschaften = {{1, "Schulen", 1}};
  race.mannschaften = {{1, "VS Musterdorf", 1, 1}};
  race.teilnehmer[0].mannschaft = 1;
  addTimes(race, 1, true);
  addTimes(race, 2, true);
  openThroughMenu(writeCompetition("a.mdb", race));
  EXPECT_TRUE(enabled("MannschaftenLoeschen"));
  EXPECT_TRUE(enabled("BearbeitenMannschaftsergebnisliste"));
  EXPECT_TRUE(enabled("BearbeitenISFErgebnisliste"));
  // The slalom has no times: no team list; the school list keeps its state.
  trigger("DisziplinSL");
  EXPECT_FALSE(enabled("BearbeitenMannschaftsergebnisliste"));
  EXPECT_TRUE(enabled("BearbeitenISFErgebnisliste"));
  // The combination has no runs to rank the schools by; the timed discipline has.
  trigger("DisziplinKombination");
  EXPECT_FALSE(enabled("BearbeitenISFErgebnisliste"));
  trigger("DisziplinRS");
  EXPECT_TRUE(enabled("BearbeitenISFErgebnisliste"));
}

TEST_F(MenuStateTest, ParticipantAndTeamEntriesFollowTheCounts) {
  auto empty = SmallCompetition();
  empty.teilnehmer.clear();
  openThroughMenu(writeCompetition("leer.mdb", empty));
  EXPECT_FALSE(enabled("TeilnehmerLoeschen"));
  EXPECT_TRUE(enabled("Finalteilnehmer"));
  EXPECT_FALSE(enabled("MannschaftenLoeschen"));
  openThroughMenu(writeCompetition("voll.mdb", SmallCompetition()));
  EXPECT_TRUE(enabled("TeilnehmerLoeschen"));
  EXPECT_FALSE(enabled("Finalteilnehmer"));
  EXPECT_FALSE(enabled("MannschaftenLoeschen"));
}

TEST_F(MenuStateTest, TheCombinationLeavesOnlyTheParticipantDataAndRestoresOnReturn) {
  auto race = SmallCompetition();
  addTimes(race, 1, true);
  openThroughMenu(writeCompetition("a.mdb", race));
  const int runs = state().RunsWithTimes;
  trigger("DisziplinKombination");
  EXPECT_EQ(state().CurrentDisciplineType, 6);
  EXPECT_EQ(state().CurrentDisciplineCode, "ko");
  EXPECT_EQ(window().windowTitle(), "Kandrix -- a -- Kombination");
  EXPECT_TRUE(checked("DisziplinKombination"));
  EXPECT_FALSE(checked("DisziplinRS"));
  EXPECT_TRUE(enabled("BearbeitenTeilnehmerdaten"));
  for (const char* off :
       {"BearbeitenStartliste", "BearbeitenErgebnisliste", "ImportCSV", "TeilnehmerLoeschen",
        "Finalteilnehmer", "SR_Bericht_anzeigen", "LiveTiming", "BearbeitenTafellisteDG2"}) {
    EXPECT_FALSE(enabled(off)) << off;
  }
  EXPECT_EQ(state().RunsWithTimes, runs);  // not recomputed
  trigger("DisziplinSL");
  EXPECT_EQ(window().windowTitle(), "Kandrix -- a -- Slalom");
  EXPECT_FALSE(enabled("BearbeitenTeilnehmerdaten"));
  for (const char* on : {"BearbeitenStartliste", "BearbeitenErgebnisliste", "ImportCSV",
                         "TeilnehmerLoeschen", "SR_Bericht_anzeigen", "LiveTiming"}) {
    EXPECT_TRUE(enabled(on)) << on;
  }
  EXPECT_FALSE(enabled("BearbeitenTafellisteDG2"));  // the slalom has no times
}

TEST_F(MenuStateTest, CertificateEntriesFollowTheTemplates) {
  auto race = SmallCompetition();
  race.grpMannschaften = {{1, "Schulen", 1}};
  race.mannschaften = {{1, "VS Musterdorf", 1, 1}};
  const QString path = writeCompetition("u.mdb", race);
  openThroughMenu(path);
  // Without the template table nothing is offered, teams or not.
  for (const char* off : {"UrkundenDruck", "UrkundenExport", "UrkundenMannschaft",
                          "UrkundenMannschaftBearbeiten", "UrkundenMannschaftDruck"}) {
    EXPECT_FALSE(enabled(off)) << off;
  }
  db::Connection& db = state().db();
  db.execute(
      "create table XtblUrkunde (Disziplin long not null, id long not null, TxText "
      "char(150) not null, TxFont char(50) not null, TxAlign short not null, TxVpos short "
      "not null, TxHpos short not null, primary key(Disziplin,id))");
  db.execute("insert into XtblUrkunde values (2, 1, 'Urkunde für <Name>', 'Arial', 2, 100, 0)");
  trigger("DisziplinRS");
  EXPECT_TRUE(enabled("UrkundenDruck"));
  EXPECT_TRUE(enabled("UrkundenExport"));
  EXPECT_TRUE(enabled("UrkundenMannschaft"));
  EXPECT_TRUE(enabled("UrkundenMannschaftBearbeiten"));
  EXPECT_FALSE(enabled("UrkundenMannschaftDruck"));
  // A template that prints a place needs times of the discipline.
  db.execute("insert into XtblUrkunde values (2, 2, 'auf dem <Platz>. Platz', 'Arial', 2, 200, 0)");
  db.execute("insert into XtblUrkunde values (7, 1, 'Mannschaft <Zeit>', 'Arial', 2, 200, 0)");
  trigger("DisziplinRS");
  EXPECT_FALSE(enabled("UrkundenDruck"));
  EXPECT_FALSE(enabled("UrkundenMannschaftDruck"));
  // The combination skips the results test.
  trigger("DisziplinKombination");
  EXPECT_FALSE(enabled("UrkundenDruck"));  // no template of key 6
  EXPECT_TRUE(enabled("UrkundenMannschaftDruck"));
}

}  // namespace
}  // namespace kx::test
