#include "app/menutable.h"
#include "workpanel/menuentries.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

using namespace menu;

// A file with the giant slalom and the slalom active, participants without teams, no times,
// no certificate templates.
MenuFacts SmallFile() {
  MenuFacts f;
  f.fileOpen = true;
  f.disciplineActive = {false, false, true, true, false, false};
  f.participants = true;
  f.runCount = 2;
  return f;
}

// The entries of the table among `set`, sorted, for readable failures.
QStringList Enabled(const MenuSet& set) {
  QStringList list;
  for (const QString& entry : MenuStateEntries()) {
    if (set.contains(entry)) list << entry;
  }
  return list;
}

MenuSet AllOn() {
  const QStringList& all = menu::All();
  return MenuSet(all.begin(), all.end());
}

TEST(MenuTable, OpeningAFileWithoutTimesOffersTheStartSide) {
  const MenuSet started = NextMenuState(MenuEvent::StartUp, {}, AllOn());
  EXPECT_EQ(Enabled(started),
            QStringList({HandzeitLadenALGETimy, HandzeitLadenDIGISport, HandzeitLadenTAGHeuer}));
  // Entries outside the table keep their state.
  EXPECT_TRUE(started.contains(DateiOeffnen) && started.contains(BearbeitenRichtungsaenderungen));

  const MenuSet opened = NextMenuState(MenuEvent::Open, SmallFile(), started);
  EXPECT_EQ(Enabled(opened), QStringList({DisziplinRS,
                                          DisziplinSL,
                                          DisziplinKombination,
                                          DateiSchliessen,
                                          ImportCSV,
                                          ImportKlassenCSV,
                                          BearbeitenBewerbstyp,
                                          TeilnehmerLoeschen,
                                          StartnummernUebernahme,
                                          LiveTiming,
                                          BearbeitenStartliste,
                                          BearbeitenNamensliste,
                                          BearbeitenKautionsliste,
                                          BearbeitenTafelliste,
                                          BearbeitenTorrichterkarte,
                                          BearbeitenAushangliste,
                                          BearbeitenErgebnisliste,
                                          BearbeitenSchiedsrichterprotokoll,
                                          SR_Bericht_anzeigen,
                                          UrkundenBearbeiten,
                                          HandzeitLadenALGETimy,
                                          HandzeitLadenDIGISport,
                                          HandzeitLadenTAGHeuer}));

  // Closing takes back everything the file offered.
  EXPECT_EQ(NextMenuState(MenuEvent::Close, {}, opened), started);
}

TEST(MenuTable, ADisciplineChangeLeavesWhatItNeverTouchesAsTheOpenLeftIt) {
  MenuFacts f = SmallFile();
  f.runsWithTimes = 2;
  f.dayTimes = true;
  f.teams = true;
  f.pointsUpdate = true;
  const MenuSet opened = NextMenuState(MenuEvent::Open, f, {});
  ASSERT_TRUE(opened.contains(BearbeitenISFErgebnisliste));
  ASSERT_TRUE(opened.contains(KSFIdPunkte));

  // The slalom has no times: the run-2 lists go, the team lists of the open stay.
  MenuFacts slalom = SmallFile();
  const MenuSet changed = NextMenuState(MenuEvent::DisciplineChange, slalom, opened);
  EXPECT_TRUE(changed.contains(BearbeitenISFErgebnisliste));
  EXPECT_TRUE(changed.contains(KSFIdPunkte));
  EXPECT_FALSE(changed.contains(BearbeitenStartlisteDG2));
  EXPECT_FALSE(changed.contains(BearbeitenTafellisteDG2));

  // The combination leaves only the participant data; a discipline brings the rest back.
  const MenuSet combined = NextMenuState(MenuEvent::Combination, slalom, changed);
  for (const QString& off :
       {ImportCSV, TeilnehmerLoeschen, Finalteilnehmer, LiveTiming, BearbeitenStartliste,
        BearbeitenErgebnisliste, SR_Bericht_anzeigen, Zeituebernahme, ZeituebernahmeH}) {
    EXPECT_FALSE(combined.contains(off)) << off.toStdString();
  }
  EXPECT_TRUE(combined.contains(BearbeitenTeilnehmerdaten));
  EXPECT_FALSE(combined.contains(BearbeitenISFErgebnisliste));
  MenuSet withoutSchoolList = changed;
  withoutSchoolList.remove(BearbeitenISFErgebnisliste);
  EXPECT_EQ(NextMenuState(MenuEvent::DisciplineChange, slalom, combined), withoutSchoolList);
  // The school list comes back with a discipline whose two runs have times.
  EXPECT_TRUE(
      NextMenuState(MenuEvent::DisciplineChange, f, combined).contains(BearbeitenISFErgebnisliste));
}

TEST(MenuTable, TimesDecideTheTakeoverAndTheTeamList) {
  const MenuSet opened = NextMenuState(MenuEvent::Open, SmallFile(), {});
  struct Case {
    bool dayTimes;
    int runsWithTimes;
    bool start, finish;
    bool byDayTime, byRunTime;
  } cases[] = {
      {true, 1, true, false, true, false},    // start times and some hand times
      {true, 1, false, false, false, false},  // no hand times loaded
      {false, 1, true, true, false, true},    // run times only: both stores needed
      {false, 1, true, false, false, false},
      {false, 0, true, true, false, false},  // no times at all
  };
  for (const Case& c : cases) {
    MenuFacts f = SmallFile();
    f.dayTimes = c.dayTimes;
    f.runsWithTimes = c.runsWithTimes;
    f.startTimesLoaded = c.start;
    f.finishTimesLoaded = c.finish;
    const MenuSet s = NextMenuState(MenuEvent::TimeChange, f, opened);
    EXPECT_EQ(s.contains(Zeituebernahme), c.byDayTime) << c.dayTimes << c.start << c.finish;
    EXPECT_EQ(s.contains(ZeituebernahmeH), c.byRunTime) << c.dayTimes << c.start << c.finish;
  }

  // The team list needs every run timed and participants in teams.
  MenuFacts f = SmallFile();
  f.runsWithTimes = 2;
  EXPECT_FALSE(
      NextMenuState(MenuEvent::TimeChange, f, opened).contains(BearbeitenMannschaftsergebnisliste));
  MenuSet withTeams = opened;
  withTeams.insert(MannschaftenLoeschen);
  EXPECT_TRUE(NextMenuState(MenuEvent::TimeChange, f, withTeams)
                  .contains(BearbeitenMannschaftsergebnisliste));
  f.runsWithTimes = 1;
  EXPECT_FALSE(NextMenuState(MenuEvent::TimeChange, f, withTeams)
                   .contains(BearbeitenMannschaftsergebnisliste));
  // Without an open file (the close entry off) the times change nothing.
  MenuSet closed = withTeams;
  closed.remove(DateiSchliessen);
  f.runsWithTimes = 2;
  EXPECT_EQ(NextMenuState(MenuEvent::TimeChange, f, closed), closed);
}

TEST(MenuTable, TemplatesThatPrintResultsWaitForTimesOfASingleDiscipline) {
  MenuFacts f = SmallFile();
  f.templateTable = true;
  f.disciplineTemplates = true;
  f.disciplineResultTemplates = true;
  f.teams = true;
  f.teamTemplates = true;
  f.teamResultTemplates = true;
  MenuSet s = NextMenuState(MenuEvent::CertificateChange, f, {});
  EXPECT_EQ(Enabled(s), QStringList({UrkundenMannschaft, UrkundenMannschaftBearbeiten}));
  f.disciplineTimes = true;
  s = NextMenuState(MenuEvent::CertificateChange, f, {});
  EXPECT_EQ(Enabled(s), QStringList({UrkundenDruck, UrkundenExport, UrkundenMannschaft,
                                     UrkundenMannschaftBearbeiten, UrkundenMannschaftDruck}));
  f.disciplineTimes = false;
  f.singleDiscipline = false;  // the combination prints without times
  EXPECT_EQ(NextMenuState(MenuEvent::CertificateChange, f, {}), s);
  f.templateTable = false;
  EXPECT_TRUE(NextMenuState(MenuEvent::CertificateChange, f, s).isEmpty());
}

}  // namespace
}  // namespace kx
