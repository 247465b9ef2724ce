// The administration tools' computing without a window: the direction-change arithmetic,
// the race-number rewrite, the deletions, the finals draw and the points takeover on
// competition files built by the tests.

#include "admin/bibtakeover.h"
#include "admin/competitiontype.h"
#include "admin/deletions.h"
#include "admin/directionchange.h"
#include "admin/finals.h"
#include "admin/pointstakeover.h"
#include "app/competitionfile.h"
#include "db/competitionbuilder.h"
#include "db/database.h"
#include "tests/support/faults.h"
#include "tests/support/qtprint.h"

#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx {
namespace {

const DirectionChangeRule kSlalomYouth{100, 160, 32, 38, 3, {}};
const DirectionChangeRule kGiantYouth{200, 350, 13, 18, 0, {}};
const DirectionChangeRule kGiantAdults{140, 350, 11, 15, 0, {}};

TEST(DirectionChange, WorkedExamplesBoundsAndHalvesToEven) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  struct Case {
    DirectionChangeRule rule;
    QString drop, count, allowed, range, message;
  };
  const QString noRules = "Die Anzahl der Richtungsänderungen passt nicht zum Reglement";
  const QString noFit = "Die Anzahl der Richtungsänderungen passt nicht zur Höhendifferenz";
  const QString outside = "Die Angabe der Höhendifferenz liegt nicht im vorgegebenen Bereich";
  const Case cases[] = {
      {kSlalomYouth, "130", "", "39 - 52 Richtungsänderungen", "", ""},
      {kSlalomYouth, "", "45", "", "Höhendifferenz zwischen 111 und 150 m", ""},
      {kSlalomYouth, "130", "45", "39 - 52 Richtungsänderungen",
       "Höhendifferenz zwischen 111 und 150 m", ""},
      {kSlalomYouth, "", "20", "", "Höhendifferenz zwischen 45 und 72 m", noRules},
      {kSlalomYouth, "170", "45", "", "", outside},
      {kSlalomYouth, "100", "45", "29 - 41 Richtungsänderungen",
       "Höhendifferenz zwischen 111 und 150 m", noFit},
      {kSlalomYouth, "160", "", "48 - 64 Richtungsänderungen", "", ""},
      {kSlalomYouth, "99", "", "", "", outside},
      {kGiantYouth, "250", "", "32 - 45 Richtungsänderungen", "", ""},
      {kGiantAdults, "250", "", "28 - 38 Richtungsänderungen", "", ""},
      // 130,4 counts as 130 for the range, but the fit test uses the fraction.
      {kSlalomYouth, "150,4", "45", "45 - 60 Richtungsänderungen",
       "Höhendifferenz zwischen 111 und 150 m", noFit},
      {kSlalomYouth, "abc", "45", "", "", "Die Angabe der Höhendifferenz ist nicht numerisch"},
      {kSlalomYouth, "", "99999999999", "", "",
       "Die Angabe der Richtungsänderungen ist nicht numerisch"},
      // No category chosen: no count result and no division by zero.
      {DirectionChangeRule{0, 0, 0, 0, 0, {}}, "", "45", "", "", ""},
      {kSlalomYouth, "", "", "", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE((c.drop + " / " + c.count).toStdString());
    const DirectionChangeResult r = CheckDirectionChanges(c.rule, c.drop, c.count);
    EXPECT_EQ(r.allowedChanges, c.allowed);
    EXPECT_EQ(r.dropRange, c.range);
    EXPECT_EQ(r.message, c.message);
  }
  EXPECT_EQ(PercentRangeText(kSlalomYouth), "32-38% +/- 3 Richtungsänderungen");
  EXPECT_EQ(PercentRangeText(kGiantYouth), "13-18%");
  EXPECT_EQ(DropRangeText(kSlalomYouth), "100-160m");
  EXPECT_EQ(SeasonRulesHeading(QDate(2025, 10, 1)), "Reglement 2025/26:");
  EXPECT_EQ(SeasonRulesHeading(QDate(2026, 9, 30)), "Reglement 2025/26:");
  EXPECT_EQ(SeasonRulesHeading(QDate(2009, 3, 1)), "Reglement 2008/9:");
  EXPECT_EQ(PreselectedDirectionChangeCategory(3, "    MSBS"), 2);
  EXPECT_EQ(PreselectedDirectionChangeCategory(2, "1234DRHR"), 3);
  EXPECT_EQ(PreselectedDirectionChangeCategory(0, "    MSBS"), 0);
  EXPECT_EQ(PreselectedDirectionChangeCategory(3, "MSB"), 0);
  EXPECT_EQ(DirectionChangeRuleRow(2), 0);
  EXPECT_FALSE(DirectionChangeRuleRow(0));
}

TEST(CompetitionType, RaceNumberRewrite) {
  using L = RaceNumberLetters;
  EXPECT_EQ(RaceNumberRewrite(0, 2), L::Adult);
  EXPECT_EQ(RaceNumberRewrite(2, 3), L::Keep);
  EXPECT_EQ(RaceNumberRewrite(3, 4), L::Youth);
  EXPECT_EQ(RaceNumberRewrite(5, 6), L::Keep);
  EXPECT_EQ(RaceNumberRewrite(4, 8), L::Keep);
  EXPECT_EQ(RewrittenRaceNumber(QString("1234MSBS"), L::Adult, 3), "1234DSHS");
  EXPECT_EQ(RewrittenRaceNumber(QString("1234x6y89"), L::Adult, 3), "1234D6H8");
  EXPECT_EQ(RewrittenRaceNumber(QString("1234x"), L::Adult, 3), "1234DH");
  EXPECT_EQ(RewrittenRaceNumber(std::nullopt, L::Adult, 0), "    DRHR");
  EXPECT_EQ(RewrittenRaceNumber(QString(""), L::Youth, 3), "    MSBS");
  // The giant slalom (2) is the last discipline with "R": adults "DRHR", youth "MRBR".
  EXPECT_EQ(RewrittenRaceNumber(std::nullopt, L::Adult, 2), "    DRHR");
  EXPECT_EQ(RewrittenRaceNumber(QString(""), L::Youth, 2), "    MRBR");
  EXPECT_EQ(kCompetitionTypes.size(), 13);
}

class AdminFiles : public ::testing::Test {
 protected:
  QString build(const QString& name, const db::CompetitionSpec& race) {
    const QString path = dir_.filePath(name);
    db::BuildCompetitionFile(path, race);
    return path;
  }
  static db::TeilnehmerSpec Person(int id, const char* sex, const char* name, int year,
                                   std::optional<int> bib) {
    db::TeilnehmerSpec t;
    t.id = id;
    t.sex = sex;
    t.nachname = name;
    t.vorname = "Vorname";
    t.jahrgang = year;
    t.verein = QString("SC Musterdorf");
    t.disziplinen[2] = {true, bib, 12.5, 9999.99};
    return t;
  }
  static db::CompetitionSpec Race() {
    db::CompetitionSpec race;
    race.disziplinen = {{2, true, QString("1234MRBR"), "Finale", std::nullopt, std::nullopt, 2},
                        {3, false, std::nullopt, "Slalom", std::nullopt, std::nullopt, 2}};
    return race;
  }
  // Two runs of `hundredths1` and `hundredths2` (stored as fractions of a day).
  static void Runs(db::CompetitionSpec& race, int id, int h1, int h2, int code2 = 0) {
    race.zeiten.push_back({id, 2, 1, 0, 0.4, {}, {}, db::HundredthsToDay(h1), {}});
    race.zeiten.push_back({id, 2, 2, code2, 0.5, {}, {}, db::HundredthsToDay(h2), {}});
  }
  QTemporaryDir dir_;
};

TEST_F(AdminFiles, TypeSaveRewritesEveryDisciplineInOneGo) {
  db::CompetitionSpec race = Race();
  race.bewerb.typ = 0;
  race.disziplinen[0].bewerbsnummer = QString("12'4MRBR");
  auto db = db::Connection::open(build("typ.mdb", race));
  SaveCompetitionType(*db, 0, 2);
  EXPECT_EQ(db->scalar("select bewerbsnummer from tblDisziplin where dtyp=2").toString(),
            "12'4DRHR");
  EXPECT_EQ(db->scalar("select bewerbsnummer from tblDisziplin where dtyp=3").toString(),
            "    DSHS");  // inactive row with Null
  EXPECT_EQ(db->scalar("select typ from tblBewerb").toInt(), 2);
}

TEST_F(AdminFiles, DeletionsKeepStrayTimeRowsAndRollBackWhole) {
  db::CompetitionSpec race = Race();
  race.mannschaften = {{1, "Team", 1, std::nullopt}};
  for (int id = 1; id <= 3; ++id) race.teilnehmer.push_back(Person(id, "W", "Abel", 2010, id));
  race.teilnehmer[0].mannschaft = 1;
  Runs(race, 1, 4000, 4100);
  Runs(race, 0, 4000, 4100);
  Runs(race, -2, 4000, 4100);
  auto db = db::Connection::open(build("del.mdb", race));

  // A trigger fails the second statement: both tables stay whole.
  db->execute(
      "create trigger stop before delete on tblTeilnehmer begin select raise(abort,'x'); end");
  EXPECT_THROW(DeleteAllParticipants(*db), db::Error);
  EXPECT_EQ(db->scalar("select count(*) from tblZeit").toInt(), 6);
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 3);
  db->execute("drop trigger stop");

  DeleteAllTeams(*db);
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer where mannschaft is not null").toInt(),
            0);
  EXPECT_EQ(db->scalar("select count(*) from tblMannschaft").toInt(), 0);
  DeleteAllParticipants(*db);
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 0);
  EXPECT_EQ(db->scalar("select count(*) from tblZeit").toInt(), 4);  // teilnehmer 0 and -2
}

TEST_F(AdminFiles, FinalsDrawKeepsTiesRefusesClashesAndInsertsSlowestFirst) {
  // Source A (class "40", no svid): women 40.01+40.05 s (sum 8005.999… hundredths) and two
  // tied, men one valid and one with a failed run 2.
  db::CompetitionSpec a = Race();
  a.version = 10;
  a.withSvid = false;
  a.teilnehmer = {Person(1, "W", "Abel", 2010, 7), Person(2, "W", "Bauer", 2011, 8),
                  Person(3, "W", "Czerny", 2010, 9), Person(4, "M", "Dorn", 2009, 10),
                  Person(5, "M", "Eder", 2009, 11)};
  Runs(a, 1, 4001, 4005);
  Runs(a, 2, 4100, 4100);
  Runs(a, 3, 4000, 4200);
  Runs(a, 4, 3900, 3900);
  Runs(a, 5, 3800, 3800, 2);
  const QString fileA = build("a.mdb", a);
  // Source B (class "55") carries bib 8 again and a man without year of birth.
  db::CompetitionSpec b = Race();
  b.teilnehmer = {Person(1, "M", "Fink", 2008, 8), Person(2, "M", "Gruber", 2008, 12)};
  b.teilnehmer[1].jahrgang = std::nullopt;
  Runs(b, 1, 3700, 3700);
  Runs(b, 2, 3600, 3600);
  const QString fileB = build("b.mdb", b);

  db::CompetitionSpec target = Race();
  target.klassen = {{1, "Schüler", "W", 2010, std::nullopt, 1},
                    {2, "Kinder", "W", 2012, std::nullopt, 2}};
  auto db = db::Connection::open(build("finale.mdb", target));
  const FinalsDiscipline gs{2, "gs"};
  CreateFinalsTable(*db);
  EXPECT_EQ(AddFinalsFile(*db, fileA, gs, true).added, 4);
  EXPECT_EQ(db->scalar("select zeit from XtblFinale where startnr=7").toDouble(), 8006.0);

  // Refusals leave the table as it was.
  const FinalsAddResult missingYear = AddFinalsFile(*db, fileB, gs, true);
  EXPECT_EQ(missingYear.message,
            "Der Teilnehmer Gruber Vorname hat keinen Jahrgang, der Bewerb kann nicht "
            "hinzugefügt werden");
  db::Connection::open(fileB)->execute("update tblTeilnehmer set jahrgang=2008");
  EXPECT_EQ(AddFinalsFile(*db, fileB, gs, true).message,
            "Die Startnummer 8 ist bereits enthalten, der Bewerb kann nicht hinzugefügt werden");
  EXPECT_EQ(db->scalar("select count(*) from XtblFinale").toInt(), 4);
  EXPECT_EQ(db->scalar("select count(*) from XtblFinale where kz<>' '").toInt(), 0);
  EXPECT_EQ(AddFinalsFile(*db, dir_.filePath("missing.mdb"), gs, true).message,
            "Die Datei '" + dir_.filePath("missing.mdb") + "' ist keine Kandor-Bewerbsdatei");
  {
    // A source another program holds is named as in use, not as no competition file.
    const test::HeldFile held(fileB);
    EXPECT_EQ(AddFinalsFile(*db, fileB, gs, true).message,
              "Die Datei '" + fileB +
                  "' wird gerade von einem anderen Programm verwendet.\nBitte später nochmals "
                  "versuchen.");
  }

  // A finalist drawn twice under one federation id refuses the save; nothing is cut.
  db->execute("update XtblFinale set svid=9 where startnr in (7,10)");
  EXPECT_EQ(SaveFinalists(*db, 2, 1, false, gs, true).message,
            "Der Teilnehmer Dorn Vorname ist mit der KSF-Id 9 mehrfach enthalten, die "
            "Finalteilnehmer können nicht gespeichert werden");
  EXPECT_EQ(db->scalar("select count(*) from XtblFinale").toInt(), 4);
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 0);
  db->execute("update XtblFinale set svid=0");

  // Two women asked for: the two tied at 8200 both stay with the fastest (8006).
  EXPECT_EQ(SaveFinalists(*db, 2, 1, false, gs, true).inserted, 4);
  const db::Recordset rows = db->query(
      "select id,startnrgs,sex,nachname,klasse,gsaktiv,slaktiv,pktegs,mannschaft,svid "
      "from tblTeilnehmer order by id");
  ASSERT_EQ(rows.count(), 4);
  const QStringList order{"Bauer", "Czerny", "Abel", "Dorn"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(rows.at(i, "nachname").toString(), order[i]);
    EXPECT_EQ(rows.at(i, "startnrgs").toInt(), i + 1);
    EXPECT_TRUE(rows.at(i, "gsaktiv").toBool());
    EXPECT_FALSE(rows.at(i, "slaktiv").toBool());
    EXPECT_TRUE(rows.at(i, "svid").isNull());
    EXPECT_EQ(rows.at(i, "mannschaft").toInt(), 0);
  }
  EXPECT_EQ(rows.at(0, "klasse").toInt(), 2);  // 2011: Kinder (up to 2012)
  EXPECT_EQ(rows.at(1, "klasse").toInt(), 1);  // 2010: Schüler
  EXPECT_EQ(rows.at(3, "klasse").toInt(), 0);  // no men's class
  EXPECT_DOUBLE_EQ(rows.at(0, "pktegs").toDouble(), 12.5);
}

// Without keeping bibs, the second file's finalists are numbered on after the first's,
// fastest first, whatever bibs they had.
TEST_F(AdminFiles, FinalsFromTwoFilesAreNumberedOnAfterTheHighestBib) {
  db::CompetitionSpec a = Race();
  a.teilnehmer = {Person(1, "W", "Abel", 2010, 31), Person(2, "W", "Bauer", 2010, 32)};
  Runs(a, 1, 4100, 4100);
  Runs(a, 2, 4000, 4000);
  db::CompetitionSpec b = Race();
  b.teilnehmer = {Person(1, "M", "Fink", 2009, 31), Person(2, "M", "Gruber", 2009, 45)};
  Runs(b, 1, 3900, 3900);
  Runs(b, 2, 3800, 3800);
  auto db = db::Connection::open(build("finale.mdb", Race()));
  CreateFinalsTable(*db);
  const FinalsDiscipline gs{2, "gs"};
  EXPECT_EQ(AddFinalsFile(*db, build("a.mdb", a), gs, false).message, "");
  EXPECT_EQ(AddFinalsFile(*db, build("b.mdb", b), gs, false).message, "");
  const db::Recordset rows = db->query("select nachname,startnr from XtblFinale order by startnr");
  QStringList numbered;
  for (int i = 0; i < rows.count(); ++i)
    numbered << rows.at(i, 0).toString() + " " + rows.at(i, 1).toString();
  EXPECT_EQ(numbered, (QStringList{"Bauer 1", "Abel 2", "Gruber 3", "Fink 4"}));
}

// A name longer than its column, or holding a NUL, keeps the file out with the candidate
// named; the table stays empty.
TEST_F(AdminFiles, FinalsDrawRefusesTextsTheColumnsCannotHold) {
  db::CompetitionSpec source = Race();
  source.teilnehmer = {Person(1, "W", "Abel", 2010, 7), Person(2, "W", "Bauer", 2011, 8)};
  Runs(source, 1, 4000, 4000);
  Runs(source, 2, 4100, 4100);
  const QString file = build("lang.mdb", source);
  auto db = db::Connection::open(build("finale.mdb", Race()));
  CreateFinalsTable(*db);
  const QString end = ", der Bewerb kann nicht hinzugefügt werden";
  db::Connection::open(file)->execute("update tblTeilnehmer set nachname=? where id=2",
                                      {QString(81, 'x')});
  EXPECT_EQ(AddFinalsFile(*db, file, {2, "gs"}, true).message,
            "Der Teilnehmer " + QString(80, 'x') +
                "… Vorname hat im Feld 'Nachname' mehr als 80 Zeichen" + end);
  db::Connection::open(file)->execute(
      "update tblTeilnehmer set nachname='Bauer', vorname=cast(x'4576610042' as text)");
  EXPECT_EQ(AddFinalsFile(*db, file, {2, "gs"}, true).message,
            "Der Teilnehmer Bauer Eva\uFFFDB hat im Feld 'Vorname' ein unzulässiges Zeichen" + end);
  EXPECT_EQ(db->scalar("select count(*) from XtblFinale").toInt(), 0);
}

TEST_F(AdminFiles, PointsTakeoverMatchesGermanCaseAndSkipsConflicts) {
  db::MasterDataSpec master;
  auto entry = [](const char* name, const char* club, qint64 id, double points) {
    db::KsfPunkteSpec e;
    e.ksfid = id;
    e.punkte = points;
    e.nachname = name;
    e.vorname = "Anna";
    e.geschlecht = "W";
    e.jahrgang = 2010;
    e.verein = club;
    return e;
  };
  master.ksfPunkte = {entry("Müller", "SC Au", 501, 23.45), entry("O'Brien", "SC Au", 502, 7.5),
                      entry("Zorn", "SC Au", 503, 1)};
  master.listenVersion = {{3, "2026/1"}, {4, "2026/2"}};
  const QString masterPath = dir_.filePath("STAMMDAT.mdb");
  db::BuildMasterDataFile(masterPath, master);
  auto masterDb = db::Connection::open(masterPath);
  const PointsListVersions versions = ReadPointsListVersions(*masterDb);
  EXPECT_EQ(versions.adult, "2026 vom 1");
  EXPECT_FALSE(versions.refusal);

  db::CompetitionSpec race = Race();
  auto person = [](int id, const char* name, const char* club) {
    db::TeilnehmerSpec t = Person(id, "W", name, 2010, id);
    t.vorname = "ANNA";
    t.verein = QString(club);
    t.disziplinen[5] = {false, std::nullopt, 77, 9999.99};
    return t;
  };
  race.teilnehmer = {person(1, "MÜLLER", "SC Au"), person(2, "O'Brien", "SC Au"),
                     person(3, "Zorn", "Ski-Club Au"), person(4, "müller", "sc au")};
  race.teilnehmer[2].svid = 502;  // holds O'Brien's id already
  auto db = db::Connection::open(build("punkte.mdb", race));
  const PointsTakeoverResult result = TakeOverPoints(*db, *masterDb, true);
  EXPECT_EQ(result.updated, 1);
  EXPECT_EQ(result.conflicts, (QStringList{"O'Brien ANNA", "müller ANNA"}));
  const db::Recordset rows =
      db->query("select pktedh,pkteks,pkteps,svid from tblTeilnehmer order by id");
  EXPECT_DOUBLE_EQ(rows.at(0, "pktedh").toDouble(), 23.45);
  EXPECT_DOUBLE_EQ(rows.at(0, "pkteks").toDouble(), 23.45);
  EXPECT_DOUBLE_EQ(rows.at(0, "pkteps").toDouble(), 77);
  EXPECT_EQ(rows.at(0, "svid").toInt(), 501);
  EXPECT_EQ(rows.at(2, "svid").toInt(), 502);  // club mismatch: untouched
  EXPECT_DOUBLE_EQ(rows.at(2, "pktedh").toDouble(), 9999.99);
}

// Without federation ids the five entry-points columns take the list's points (the
// parallel slalom's keeps its own); with them, a second takeover finds everybody holding his
// own id and updates him again.
TEST_F(AdminFiles, PointsTakeoverFillsEveryColumnAndRepeatsOverHeldIds) {
  db::MasterDataSpec master;
  db::KsfPunkteSpec huber;
  huber.ksfid = 601;
  huber.punkte = 41.2;
  huber.nachname = "Huber";
  huber.vorname = "Lena";
  huber.geschlecht = "W";
  huber.jahrgang = 2010;
  huber.verein = "SC Musterdorf";
  master.ksfPunkte = {huber};
  master.listenVersion = {{3, "2026/1"}, {4, "2026/2"}};
  db::BuildMasterDataFile(dir_.filePath("STAMMDAT.mdb"), master);
  auto masterDb = db::Connection::open(dir_.filePath("STAMMDAT.mdb"));
  db::CompetitionSpec race = Race();
  race.teilnehmer = {Person(1, "W", "Huber", 2010, 1)};
  race.teilnehmer[0].vorname = "Lena";
  race.teilnehmer[0].disziplinen[5] = {false, std::nullopt, 77, 9999.99};
  race.withSvid = false;
  auto plain = db::Connection::open(build("ohne.mdb", race));
  EXPECT_EQ(TakeOverPoints(*plain, *masterDb, false).updated, 1);
  const db::Recordset rows =
      plain->query("select pktedh,pktesg,pktegs,pktesl,pkteks,pkteps from tblTeilnehmer");
  ASSERT_EQ(rows.count(), 1);
  for (int column = 0; column < 5; ++column)
    EXPECT_DOUBLE_EQ(rows.at(0, column).toDouble(), 41.2) << column;
  EXPECT_DOUBLE_EQ(rows.at(0, 5).toDouble(), 77);

  race.withSvid = true;
  auto withIds = db::Connection::open(build("mit.mdb", race));
  EXPECT_EQ(TakeOverPoints(*withIds, *masterDb, true).updated, 1);
  masterDb->execute("update tblKSFPunkte set punkte=38.5");
  const PointsTakeoverResult again = TakeOverPoints(*withIds, *masterDb, true);
  EXPECT_EQ(again.updated, 1);
  EXPECT_EQ(again.conflicts, QStringList());
  EXPECT_DOUBLE_EQ(withIds->scalar("select pktesl from tblTeilnehmer").toDouble(), 38.5);
  EXPECT_EQ(withIds->scalar("select svid from tblTeilnehmer").toInt(), 601);
}

TEST_F(AdminFiles, BibTakeoverCopiesOnlyParticipantsEnteredInBoth) {
  db::CompetitionSpec race = Race();
  race.disziplinen[1].aktiv = true;
  race.teilnehmer = {Person(1, "W", "Abel", 2010, std::nullopt),
                     Person(2, "W", "Bauer", 2010, std::nullopt),
                     Person(3, "W", "Czerny", 2010, std::nullopt)};
  race.teilnehmer[0].disziplinen[3] = {true, 5, 1, 1};
  race.teilnehmer[1].disziplinen[3] = {true, 5, 1, 1};
  race.teilnehmer[2].disziplinen[3] = {true, std::nullopt, 1, 1};
  race.listenkopf = {{2, 94, "Riesenslalom"}, {3, 94, "Slalom"}};
  const QString path = build("bib.mdb", race);
  AppState state;
  OpenCompetitionFile(state, path);
  ASSERT_EQ(state.CurrentDisciplineCode, "gs");
  EXPECT_FALSE(DisciplineHasBibs(state.db(), "gs"));
  bool anyRow = false;
  const std::vector<BibSource> sources = BibSourceDisciplines(state.db(), state, anyRow);
  ASSERT_EQ(sources.size(), 1u);
  EXPECT_EQ(sources[0].code, "sl");
  EXPECT_EQ(sources[0].title, "Slalom");
  EXPECT_EQ(CopyBibs(state.db(), "gs", "sl"), 2);
  EXPECT_EQ(state.db().scalar("select count(*) from tblTeilnehmer where startnrgs=5").toInt(), 2);
  EXPECT_TRUE(DisciplineHasBibs(state.db(), "gs"));
}

}  // namespace
}  // namespace kx
