// The run-1 start order read from a competition file.

#include "startorderfixture.h"

namespace kx::test {
namespace {

// Categories W "Damen" (first) and M "Herren"; groups "Kinder" (first) and "Schüler";
// classes 1-4 in both, class 5 without a group, class 6 whose sex is no category.
db::CompetitionSpec Classes() {
  db::CompetitionSpec race;
  race.bewerb.typ = 3;
  race.disziplinen.push_back({});
  race.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
  race.gruppen = {{1, "Schüler", 2}, {2, "Kinder", 1}};
  race.klassen = {{1, "Kinder w", "W", 2014, 2, 1},
                  {2, "Kinder m", "M", 2014, 2, 2},
                  {3, "Schüler w", "W", 2011, 1, 3},
                  {4, "Schüler m", "M", 2011, 1, 4},
                  {5, "Ohne Gruppe", "M", 2008, std::nullopt, 5},
                  {6, "Ohne Kategorie", "X", 2008, std::nullopt, 6}};
  race.teilnehmer = {Racer(1, "W", 3, 5),   Racer(2, "M", 2, 3),  Racer(3, "W", 1, 1),
                     Racer(4, "M", 4, 8),   Racer(5, "M", 5, 2),  Racer(6, "W", 6, 7),
                     Racer(7, "M", {}, 4),  Racer(8, "W", 1, 6),  Racer(9, "M", 2, 9),
                     Racer(10, "M", 2, {}), Racer(11, "M", 4, 10)};
  race.teilnehmer[8].disziplinen[2].aktiv = false;  // bib 9 is not entered
  // Entered in the slalom only: never in the giant slalom's order.
  db::TeilnehmerSpec slalom = Racer(12, "M", 2, {});
  slalom.disziplinen.clear();
  slalom.disziplinen.insert(3, {true, 11, 9999.99, 9999.99});
  race.teilnehmer.push_back(slalom);
  return race;
}

class Run1Order : public StartOrderTest {
 protected:
  int build(const QString& mode, bool descending = false) {
    return BuildStartOrderRun1(state, mode, descending, 15, QStringLiteral("...."), true);
  }
};

TEST_F(Run1Order, GroupingModes) {
  open(Classes());
  struct Case {
    QString mode;
    QStringList bibs;
    QStringList groups;
  };
  const QStringList allBibs{"1", "2", "3", "4", "5", "6", "7", "8", "10"};
  const QStringList byCategory{"1", "5", "6", "2", "3", "8", "10"};
  const QStringList categoryGroups{"Damen",  "Damen",  "Damen", "Herren",
                                   "Herren", "Herren", "Herren"};
  const QStringList byBib{"1", "2", "3", "5", "6", "7", "8", "10"};
  const QStringList byBibGroups{"Kinder w", "Ohne Gruppe",    "Kinder m",  "Schüler w",
                                "Kinder w", "Ohne Kategorie", "Schüler m", "Schüler m"};
  const std::vector<Case> cases = {
      {"keine Unterteilung", allBibs, QStringList(9, "-")},
      {"FIS-Reglement", allBibs, QStringList(9, "-")},
      {"Klasse",
       {"1", "6", "3", "5", "8", "10", "2", "7"},
       {"Kinder w", "Kinder w", "Kinder m", "Schüler w", "Schüler m", "Schüler m", "Ohne Gruppe",
        "Ohne Kategorie"}},
      {"Klasse / Start-Nr",
       {"1", "6", "3", "5", "8", "10", "2", "7"},
       {"Kinder w", "Kinder w", "Kinder m", "Schüler w", "Schüler m", "Schüler m", "Ohne Gruppe",
        "Ohne Kategorie"}},
      {"Gruppe",
       {"1", "3", "6", "5", "8", "10"},
       {"Kinder", "Kinder", "Kinder", "Schüler", "Schüler", "Schüler"}},
      {"Kategorie", byCategory, categoryGroups},
      {"KSF-Reglement", byCategory, categoryGroups},
      {"Kategorie / StartNr", byCategory, categoryGroups},
      // Any other text: bib order over every participant with a class.
      {"KSF-Schülerreglement", byBib, byBibGroups},
      {"klasse", byBib, byBibGroups},
      {"Kategorie ", byBib, byBibGroups},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode.toStdString());
    EXPECT_EQ(build(c.mode), c.bibs.size());
    EXPECT_EQ(bibs(), c.bibs);
    EXPECT_EQ(groups(), c.groups);
    for (const StartOrderEntry* e : entries()) EXPECT_EQ(e->klasse_nm, e->klasse);
  }
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(Run1Order, DescendingBibsWithinEachGroup) {
  open(Classes());
  EXPECT_EQ(build("Klasse", true), 8);
  EXPECT_EQ(bibs(), (QStringList{"6", "1", "3", "5", "10", "8", "2", "7"}));
  build("keine Unterteilung", true);
  EXPECT_EQ(bibs(), (QStringList{"10", "8", "7", "6", "5", "4", "3", "2", "1"}));
  build("Kategorie", true);
  EXPECT_EQ(bibs(), (QStringList{"6", "5", "1", "10", "8", "3", "2"}));
}

TEST_F(Run1Order, CategoryByIdFollowsTheClassEvaluationSetting) {
  db::CompetitionSpec race = Classes();
  // With class evaluation: the classes' order, then the participant id; category names.
  open(race);
  for (bool descending : {false, true}) {
    EXPECT_EQ(build("Kategorie / IdNr", descending), 7);
    EXPECT_EQ(bibs(), (QStringList{"1", "6", "3", "5", "8", "10", "2"}));
    EXPECT_EQ(groups(),
              (QStringList{"Damen", "Damen", "Herren", "Damen", "Herren", "Herren", "Herren"}));
  }
  // Without: by the participant's own sex, classes play no part (also no class at all).
  race.bewerb.klassenwertung = false;
  open(race);
  for (bool descending : {false, true}) {
    EXPECT_EQ(build("Kategorie / IdNr", descending), 9);
    EXPECT_EQ(bibs(), (QStringList{"5", "1", "7", "6", "3", "8", "2", "4", "10"}));
  }
}

TEST_F(Run1Order, EntryFieldsFollowTheDisplayFlags) {
  db::CompetitionSpec race;
  race.bewerb.typ = 3;
  race.disziplinen.push_back({});
  db::TeilnehmerSpec full = Racer(1, "M", {}, 1, 123.45);
  full.svid = 4711;
  db::TeilnehmerSpec zero = Racer(2, "M", {}, 2);
  zero.svid = 0;
  db::TeilnehmerSpec plain = Racer(3, "M", {}, 3);  // code only
  db::TeilnehmerSpec bare = Racer(4, "M", {}, 4);
  bare.code = QString();
  bare.vorname = QString();
  bare.verein.reset();
  bare.nation.reset();
  bare.jahrgang.reset();
  db::TeilnehmerSpec nullCode = Racer(5, "M", {}, 5);
  nullCode.code.reset();
  race.teilnehmer = {full, zero, plain, bare, nullCode};
  open(race);

  ASSERT_EQ(build("keine Unterteilung"), 5);
  const StartOrderEntry& a = byBib("1");
  EXPECT_EQ(a.id, 1);
  EXPECT_EQ(a.code, "4711");
  EXPECT_EQ(a.name, "Name1 Vorname1");
  EXPECT_EQ(a.jahrgang, "2010");
  EXPECT_EQ(a.verein, "SC Verein1");
  EXPECT_EQ(a.nation, "AUT");
  EXPECT_DOUBLE_EQ(a.punkte, 123.45);
  EXPECT_FALSE(a.moved);
  EXPECT_EQ(byBib("2").code, "0");  // a federation id of 0 is still printed in run 1
  EXPECT_EQ(byBib("3").code, "C3");
  const StartOrderEntry& d = byBib("4");
  EXPECT_EQ(d.code, "");
  EXPECT_EQ(d.name, "Name4 ");
  EXPECT_EQ(d.jahrgang, "");
  EXPECT_EQ(d.verein, "....");  // no club: the caller's placeholder
  EXPECT_EQ(d.nation, "");
  EXPECT_EQ(byBib("5").code, "");

  race.bewerb.code_aktiv = false;
  race.bewerb.jahrgang_aktiv = false;
  race.bewerb.verein_aktiv = false;
  race.bewerb.nation_aktiv = false;
  race.bewerb.punktewertung = false;
  open(race);
  ASSERT_EQ(build("keine Unterteilung"), 5);
  const StartOrderEntry& hidden = byBib("1");
  EXPECT_EQ(hidden.code, "");
  EXPECT_EQ(hidden.jahrgang, "");
  EXPECT_EQ(hidden.verein, "....");
  EXPECT_EQ(hidden.nation, "");
  EXPECT_EQ(hidden.name, "Name1 Vorname1");
}

TEST_F(Run1Order, OlderFilesWithoutFederationIdShowTheCode) {
  db::CompetitionSpec race = Classes();
  race.version = 10;
  race.withSvid = false;
  open(race);
  ASSERT_FALSE(state.db().hasColumn("tblTeilnehmer", "svid"));
  for (const QString mode : {"keine Unterteilung", "Klasse", "Gruppe", "Kategorie / IdNr"}) {
    SCOPED_TRACE(mode.toStdString());
    EXPECT_GT(build(mode), 0);
    EXPECT_EQ(byBib("1").code, "C3");
  }
}

TEST_F(Run1Order, NobodyToStart) {
  db::CompetitionSpec race = Classes();
  for (db::TeilnehmerSpec& t : race.teilnehmer) t.disziplinen[2].startnr.reset();
  open(race);
  state.StartOrder.reset(3);

  EXPECT_EQ(BuildStartOrderRun1(state, "Klasse", false, 15, "", false), -1);
  EXPECT_EQ(state.StartOrder.count(), -1);
  EXPECT_TRUE(state.StartOrder.order().empty());
  EXPECT_TRUE(ui.messages.isEmpty());

  EXPECT_EQ(BuildStartOrderRun1(state, "Klasse", false, 15, "", true), -1);
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].text, "Keine Daten gefunden!");
  EXPECT_EQ(ui.messages[0].title, "Achtung");
  EXPECT_EQ(ui.messages[0].icon, MsgIcon::Exclamation);
}

// ---------------------------------------------------------------------------------------
// Points correction

// One class ("U14") of one category, bibs 1.. in the given points; typ and the points
// flag as given.
db::CompetitionSpec PointsRace(int typ, std::vector<double> points, int jahrgang = 2010) {
  db::CompetitionSpec race;
  race.bewerb.typ = typ;
  race.disziplinen.push_back({});
  race.kategorien = {{"M", "Herren", 1}};
  race.klassen = {{1, "U14", "M", 2011, std::nullopt, 1}};
  for (size_t i = 0; i < points.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    race.teilnehmer.push_back(Racer(n, "M", 1, n, points[i]));
    race.teilnehmer.back().jahrgang = jahrgang;
  }
  return race;
}

class PointsCorrectionInRace : public Run1Order {
 protected:
  QStringList correctedBibs(const QString& mode, int topCount = 2) {
    BuildStartOrderRun1(state, mode, false, topCount, "", true);
    return bibs();
  }
};

TEST_F(PointsCorrectionInRace, OnlyPupilsByClassOrAdultsByCategoryWithPoints) {
  const std::vector<double> points{10, 30, 50, 60, 40};
  const QStringList corrected{"1", "2", "5", "3", "4"};
  const QStringList asEntered{"1", "2", "3", "4", "5"};

  open(PointsRace(4, points));
  EXPECT_EQ(correctedBibs("Klasse"), corrected);
  EXPECT_TRUE(byBib("5").moved);
  EXPECT_EQ(correctedBibs("Klasse / Start-Nr"), corrected);
  EXPECT_EQ(correctedBibs("Kategorie"), asEntered);
  EXPECT_EQ(correctedBibs("keine Unterteilung"), asEntered);
  EXPECT_EQ(correctedBibs("Klasse", 15), asEntered);  // 40 is inside the top block

  open(PointsRace(2, points));
  EXPECT_EQ(correctedBibs("Kategorie"), corrected);
  EXPECT_EQ(correctedBibs("Kategorie / StartNr"), corrected);
  EXPECT_EQ(correctedBibs("Klasse"), asEntered);
  EXPECT_EQ(correctedBibs("Kategorie / IdNr"), asEntered);

  for (int typ : {0, 3, 5, 6}) {
    open(PointsRace(typ, points));
    EXPECT_EQ(correctedBibs("Klasse"), asEntered) << typ;
    EXPECT_EQ(correctedBibs("Kategorie"), asEntered) << typ;
  }

  db::CompetitionSpec noPoints = PointsRace(4, points);
  noPoints.bewerb.punktewertung = false;
  open(noPoints);
  EXPECT_EQ(correctedBibs("Klasse"), asEntered);
  for (const StartOrderEntry* e : entries()) EXPECT_FALSE(e->moved);
}

TEST_F(PointsCorrectionInRace, SeveralClassesAndTheYoungestPupils) {
  db::CompetitionSpec race = PointsRace(4, {});
  race.klassen = {{1, "U12", "M", 2012, std::nullopt, 1}, {2, "U14", "M", 2011, std::nullopt, 2}};
  // U12 opened by a racer born 2012 (season 2024/2025): kept as drawn. U14 corrected.
  const std::vector<double> u12{10, 30, 50, 60, 40};
  const std::vector<double> u14{15, 35, 55, 65, 45};
  for (int i = 0; i < 5; ++i) {
    race.teilnehmer.push_back(Racer(i + 1, "M", 1, i + 1, u12[static_cast<size_t>(i)]));
    race.teilnehmer.back().jahrgang = 2012;
    race.teilnehmer.push_back(Racer(i + 11, "M", 2, i + 11, u14[static_cast<size_t>(i)]));
    race.teilnehmer.back().jahrgang = 2011;
  }
  open(race);
  EXPECT_EQ(correctedBibs("Klasse"),
            (QStringList{"1", "2", "3", "4", "5", "11", "12", "15", "13", "14"}));

  // With birth years hidden nobody can be recognised as one of the youngest.
  race.bewerb.jahrgang_aktiv = false;
  open(race);
  EXPECT_EQ(correctedBibs("Klasse"),
            (QStringList{"1", "2", "5", "3", "4", "11", "12", "15", "13", "14"}));
}

TEST_F(PointsCorrectionInRace, MissingPointsCountAsNoPoints) {
  open(PointsRace(4, {10, 30, 50, 60, 40}));
  // Bib 3 has no points at all: it ranks as 9999.99, so bibs 4 and 5 go before it.
  state.db().execute("update tblTeilnehmer set pktegs=null where id=3");
  EXPECT_EQ(correctedBibs("Klasse"), (QStringList{"1", "2", "5", "4", "3"}));
  EXPECT_DOUBLE_EQ(byBib("3").punkte, 9999.99);

  // Bib 4 without points would otherwise read as 0 and jump ahead of everybody.
  state.db().execute("update tblTeilnehmer set pktegs=null where id=4");
  EXPECT_EQ(correctedBibs("Klasse"), (QStringList{"1", "2", "5", "3", "4"}));
  EXPECT_FALSE(byBib("4").moved);
}

}  // namespace
}  // namespace kx::test
