#include "import/participantimport.h"

#include "tests/import/importfixture.h"
#include "tests/support/faults.h"

namespace kx::test {
namespace {

class ParticipantImportTest : public ImportFixture {
 protected:
  // Imports `lines` (header first) with the rows assigned automatically.
  ImportResult import(const QStringList& lines) {
    const QString file = WriteImportFile(path("teilnehmer.csv"), lines);
    TargetRows rows = ParticipantTargetRows(state_.Settings, state_.FileVersionClass,
                                            state_.RunCount, state_.CurrentDisciplineCode);
    const QStringList header = lines.first().split(';');
    for (TargetRow& row : rows) AutoAssign(row, header, header.contains("Lauf 1"));
    return ImportParticipants(state_, file, u';', rows);
  }
  QStringList participants() {
    return rows(
        "select id,sex,nachname,vorname,verein,jahrgang,klasse,mannschaft,gsaktiv,startnrgs,"
        "pktegs,pktesl,rpktegs from tblTeilnehmer order by id");
  }
};

db::CompetitionSpec TeamRace() {
  db::CompetitionSpec race = ImportRace();
  race.bewerb.mannschaftswertung = true;
  race.bewerb.punktewertung = true;
  return race;
}

TEST_F(ParticipantImportTest, WorkedExampleWithClassesTeamsTimesAndRejects) {
  db::CompetitionSpec race = TeamRace();
  race.bewerb.verein_aktiv = true;
  open(race);
  const ImportResult r = import({
      "Name;Vorname;Geschlecht;Verein;JG;Mannschaft;Listenpkt;Startnr;Klasse;Lauf 1;Lauf 2",
      " Huber ;Anna;w;SC A;2012;Team X;12,5;1; U12 ;1:23,45;DNS",
      "\"Öhler\";Ben;männlich;SC B;2011;team x;---;2;U12;83.4;",
      "Weiß;Cleo;Damen;;2013;;0;;Kinder;abc;1:02:03,40",
      ";;;;;;;;;;",
      "Falsch;Sex;x;SC A;2012;;0;4;U12;;",
      "Falsch;Jahr;m;SC A;12;;0;5;U12;;",
      "Huber;Anna;W;SC A;2012;Team Y;1;1;U12;1:00,00;",
  });
  ASSERT_EQ(r.kind, ImportResult::Kind::Done);
  EXPECT_EQ(r.message,
            "3 von 6 Teilnehmer importiert! (1 Teilnehmer bereits vorhanden)\r\n"
            "3 Mannschaftsverknüpfungen importiert\r\n" +
                QString(62, '_') +
                "\r\n\r\n"
                "Zeit für Weiß Cleo nicht importiert, da ungültige Zeit\r\n"
                "Falsch Sex nicht importiert, da ungültiges Geschlecht\r\n"
                "Falsch Jahr nicht importiert, da ungültiger Jahrgang\r\n"
                "Zeit für Huber Anna nicht importiert, da für Durchgang 1 doppelt vorhanden\r\n");
  // Surnames upper case with "ß" kept, quotes gone; the points in all six columns.
  EXPECT_EQ(participants(),
            QStringList({"1|W|HUBER|Anna|SC A|2012|1|2|True|1|12,5|12,5|9999,99",
                         "2|M|ÖHLER|Ben|SC B|2011|1|1|True|2|9999,99|9999,99|9999,99",
                         "3|W|WEIß|Cleo||2013|2||True||0|0|9999,99"}));
  // A new class name: a class and a category of its own, from A on.
  EXPECT_EQ(rows("select id,klname,geschlecht,bis_jahrgang,sortpos from tblKlasse order by id"),
            QStringList({"1|U12|A||1", "2|Kinder|B||2"}));
  EXPECT_EQ(rows("select kat,kname,sortpos from tblKategorie order by sortpos"),
            QStringList({"W|Damen|1", "M|Herren|2", "A|U12|3", "B|Kinder|4"}));
  EXPECT_EQ(rows("select id,mname,sortpos from tblMannschaft order by id"),
            QStringList({"1|Team X|1", "2|Team Y|2"}));
  EXPECT_EQ(
      rows("select teilnehmer,durchgang,ergcode,round(netto*8640000) from tblZeit order by 1,2"),
      QStringList({"1|1|0|8345", "1|2|1|", "2|1|0|8340", "3|2|0|372340"}));
}

TEST_F(ParticipantImportTest, MatchesExistingParticipantsAsTheFileCompares) {
  db::CompetitionSpec race = ImportRace();
  auto person = [](int id, QString name, QString first, int year, QString club, bool entered) {
    db::TeilnehmerSpec t;
    t.id = id;
    t.nachname = name;
    t.vorname = first;
    t.jahrgang = year;
    t.verein = club;
    if (entered) t.disziplinen[2] = {true, id, 9999.99, 9999.99};
    t.disziplinen[3] = {true, 40 + id, 9999.99, 9999.99};
    return t;
  };
  race.bewerb.verein_aktiv = true;
  race.teilnehmer = {person(1, "MÜLLER", "Jürgen", 2010, "SC A", false),
                     person(2, "MÜLLER", "Jürgen", 2010, "SC A", true),
                     person(3, "OTT", "Emil", 2011, "SC B", true)};
  open(race);
  const ImportResult r = import({"Name;Vorname;Sex;Verein;Jg;StNr",
                                 "müller;JÜRGEN;m;sc a;2010;7",  // the bib matches nobody: new
                                 "Mueller;Jürgen;m;SC A;2010;",  // ue is not ü: new
                                 "Ott;Emil;m;SC B;2011;",        // entered: present
                                 "Ott;Emil;m;SC C;2011;",        // other club: new
                                 "Ott;Emil;m;SC B;2012;",        // other year: new
                                 "Ott;Emil;m;SC B;2011;"});      // repeated: present
  ASSERT_EQ(r.kind, ImportResult::Kind::Done) << r.message.toStdString();
  EXPECT_EQ(r.message, "4 von 6 Teilnehmer importiert! (2 Teilnehmer bereits vorhanden)");
  EXPECT_EQ(
      rows("select id,nachname,jahrgang,verein,gsaktiv,startnrgs from tblTeilnehmer order by id"),
      QStringList({"1|MÜLLER|2010|SC A|False|", "2|MÜLLER|2010|SC A|True|2",
                   "3|OTT|2011|SC B|True|3", "4|MÜLLER|2010|sc a|True|7",
                   "5|MUELLER|2010|SC A|True|", "6|OTT|2011|SC C|True|", "7|OTT|2012|SC B|True|"}));
  // Without a bib, a participant not yet entered is entered (every match, the last decides).
  EXPECT_EQ(import({"Name;Vorname;Sex;Verein;Jg", "Müller;Jürgen;m;SC A;2010"}).message,
            "0 von 1 Teilnehmer importiert! (1 Teilnehmer bereits vorhanden)");
  db().execute("update tblTeilnehmer set gsaktiv=0 where id in (1,2,4)");
  EXPECT_EQ(import({"Name;Vorname;Sex;Verein;Jg", "Müller;Jürgen;m;SC A;2010"}).message,
            "1 von 1 Teilnehmer importiert!");
  EXPECT_EQ(rows("select id,gsaktiv from tblTeilnehmer where id in (1,2,4) order by id"),
            QStringList({"1|True", "2|True", "4|True"}));
}

// Federation race of type 4: the points, federation ids and association codes come from
// the points list of the master data; a second import of the same file matches everyone.
class FederationImportTest : public ParticipantImportTest,
                             public ::testing::WithParamInterface<const char*> {};

TEST_P(FederationImportTest, PointsListAndRepeatedImport) {
  const QString version = GetParam();
  db::CompetitionSpec race = ImportRace();
  race.bewerb.typ = 4;
  race.bewerb.code_aktiv = race.bewerb.nation_aktiv = race.bewerb.punktewertung = true;
  race.withSvid = version != "40";
  open(race, version);
  db::MasterDataSpec master;
  master.ksfPunkte = {{"812", 5012, 20.5, "TIR"}, {"A13", 5013, 33.25, "SBG"}};
  db::BuildMasterDataFile(path("STAMMDAT.mdb"), master);
  // "40" and "51" look the code up, "55" the federation id, which must be a number; "51"
  // wants numeric codes as well.
  const QStringList lines{
      "Code;Name;Vorname;Sex;Jg;Nation;Listenpkt",
      (version == "55" ? "5012" : "812") + QString(";Huber;Anna;w;2012;AUT;1,5"),
      "X99;Ott;Emil;m;2011;AUT;1", "A13;Abel;Ida;w;2012;AUT;1"};
  const QString ott = version == "55" ? "numerisch" : "vorhanden";
  QString rejects = "Ott Emil nicht importiert, da Code-Nummer nicht " + ott + "\r\n";
  if (version != "40") rejects += "Abel Ida nicht importiert, da Code-Nummer nicht numerisch\r\n";
  const QString n = version == "40" ? "2" : "1";
  const QString block = "\r\n" + QString(62, '_') + "\r\n\r\n" + rejects;
  EXPECT_EQ(import(lines).message, n + " von 3 Teilnehmer importiert!" + block);
  EXPECT_EQ(import(lines).message,
            "0 von 3 Teilnehmer importiert! (" + n + " Teilnehmer bereits vorhanden)" + block);
  EXPECT_EQ(rows("select nachname,nation,code,pktegs" + QString(version == "40" ? "" : ",svid") +
                 " from tblTeilnehmer where id=1"),
            QStringList{version == "40"   ? "HUBER|AUT|812|20,5"
                        : version == "51" ? "HUBER|AUT||20,5|5012"
                                          : "HUBER|TIR||20,5|5012"});
}

INSTANTIATE_TEST_SUITE_P(VersionClasses, FederationImportTest, ::testing::Values("40", "51", "55"));

TEST_F(ParticipantImportTest, MissingMasterDataAndAssignmentStopBeforeReading) {
  db::CompetitionSpec race = ImportRace();
  race.bewerb.typ = 4;
  open(race);
  EXPECT_EQ(import({"Name;Vorname;Sex;Jg", "Huber;Anna;w;2012"}).message,
            "Im Programmverzeichnis des Kandrix fehlt die Datei STAMMDAT.mdb");
  db::BuildMasterDataFile(path("STAMMDAT.mdb"), {});
  {
    const test::HeldFile held(path("STAMMDAT.mdb"));
    EXPECT_EQ(import({"Name;Vorname;Sex;Jg", "Huber;Anna;w;2012"}).message,
              "Die Datei '" + path("STAMMDAT.mdb") +
                  "' wird gerade von einem anderen Programm verwendet.\nBitte später nochmals "
                  "versuchen.");
  }
  state_.Settings.typ = "9";
  EXPECT_EQ(import({"Name;Vorname;Kat;Jg", "Huber;Anna;w;2012"}).message,
            "Der Kandor-Spalte 'Geschlecht' ist noch keine Excel-Spalte zugeordnet");
  db().execute("insert into tblZeit (teilnehmer,disziplin,durchgang) values (9,2,1)");
  const ImportResult r = import({"Name;Vorname;Sex;Jg;Lauf 1", "Huber;Anna;w;2012;1:00,00"});
  EXPECT_EQ(r.kind, ImportResult::Kind::Stopped);
  EXPECT_TRUE(r.message.startsWith("In dieser Disziplin sind bereits Zeiten vorhanden"));
  EXPECT_TRUE(rows("select id from tblTeilnehmer").isEmpty());
}

TEST_F(ParticipantImportTest, ALateBadLineLeavesEveryTableAsBefore) {
  open(TeamRace());
  const QString tables =
      "select (select count(*) from tblTeilnehmer)||'/'||(select count(*) from tblKlasse)||'/'||"
      "(select count(*) from tblKategorie)||'/'||(select count(*) from tblMannschaft)||'/'||"
      "(select count(*) from tblZeit)";
  const QStringList before = rows(tables);
  const QString header = "Name;Vorname;Sex;Jg;Team;Listenpkt;StNr;Klasse;Lauf 1";
  const QString good = "Huber;Anna;w;2012;T1;1,5;1;Neu;1:00,00";
  ImportResult r = import({header, good, good, "Ott;Emil;m;2011;T2;2;x3;U14;59,00"});
  EXPECT_EQ(r.kind, ImportResult::Kind::Aborted);
  EXPECT_EQ(r.message,
            "Der Teilnehmer Ott Emil kann nicht importiert werden (fehlerhafter Satz in der "
            "Import-Datei)\r\nImport nach 1 Teilnehmern abgebrochen!\r\n(Zeile 4 der "
            "Import-Datei; es wurde nichts übernommen)");
  EXPECT_EQ(rows(tables), before);
  // Points that are no number stop the import at the insert as well.
  r = import({header, good, "Ott;Emil;m;2011;T2;zwei;3;U14;59,00"});
  EXPECT_TRUE(r.message.endsWith("(Zeile 3 der Import-Datei; es wurde nichts übernommen)"));
  EXPECT_EQ(rows(tables), before);
}

// A club of 100,000 characters does not fit its column: the record is refused with its line
// and field, as other bad values are, and nothing is kept; 80 characters fit.
TEST_F(ParticipantImportTest, AValueLongerThanItsColumnStopsTheImport) {
  db::CompetitionSpec race = ImportRace();
  race.bewerb.verein_aktiv = true;
  open(race);
  const QString header = "Name;Vorname;Geschlecht;Verein;JG";
  const ImportResult r =
      import({header, "Huber;Anna;w;SC A;2012", "Ott;Emil;m;" + QString(100000, 'V') + ";2011"});
  EXPECT_EQ(r.kind, ImportResult::Kind::Aborted);
  EXPECT_EQ(
      r.message,
      "Der Teilnehmer Ott Emil kann nicht importiert werden (fehlerhafter Satz in der "
      "Import-Datei)\r\nDas Feld 'Verein' (Spalte 'Verein') ist länger als die 80 Zeichen, die "
      "die Bewerbsdatei dafür vorsieht.\r\nImport nach 1 Teilnehmern abgebrochen!\r\n(Zeile "
      "3 der Import-Datei; es wurde nichts übernommen)");
  EXPECT_TRUE(participants().isEmpty());
  EXPECT_EQ(import({header, "Ott;Emil;m;" + QString(80, 'V') + ";2011"}).kind,
            ImportResult::Kind::Done);
}

TEST_F(ParticipantImportTest, ClassByBirthYearAndCategoriesUpToZ) {
  db::CompetitionSpec race = ImportRace();
  race.bewerb.klassenwertung = false;
  race.klassen = {{1, "W14", "W", 2014, std::nullopt, 1},
                  {2, "W12", "W", 2012, std::nullopt, 2},
                  {3, "W10", "W", 2010, std::nullopt, 3},
                  {4, "Wohne", "W", 0, std::nullopt, 4}};
  open(race);
  db().execute("update tblKlasse set bis_jahrgang=Null where id=4");
  import({"Name;Vorname;Sex;Jg", "A;a;w;2012", "B;b;w;2011", "C;c;w;2005", "D;d;w;2015",
          "E;e;m;2012"});
  EXPECT_EQ(rows("select nachname,klasse from tblTeilnehmer order by id"),
            QStringList({"A|2", "B|2", "C|3", "D|0", "E|0"}));
  // Without a birth-year column no class follows from it.
  state_.Settings.jahrgang_aktiv = "False";
  import({"Name;Vorname;Sex;X", "F;f;w;2012"});
  EXPECT_EQ(rows("select klasse,jahrgang from tblTeilnehmer where nachname='F'"),
            QStringList{"0|"});

  // Every letter a category: a new class name joins "Z" and adds no category.
  state_.Settings.typ = "9";
  state_.Settings.klassenwertung = "True";
  for (char c = 'A'; c <= 'Z'; ++c) {
    if (c != 'W' && c != 'M')
      db().execute("insert into tblKategorie (kat) values (?)", {QString(c)});
  }
  import({"Name;Vorname;Sex;Klasse;Lauf 1", "G;g;w;Neu;"});
  EXPECT_EQ(rows("select id,klname,geschlecht,sortpos from tblKlasse where klname='Neu'"),
            QStringList{"5|Neu|Z|5"});
  EXPECT_EQ(rows("select count(*) from tblKategorie"), QStringList{"26"});
}

TEST_F(ParticipantImportTest, OneColumnForBothNamesIsSplit) {
  open(ImportRace());
  import(
      {"Name;Sex;Jg;x", "\"Huber, Anna\";w;2012;", "\"de Boer\nDavid \";m;2011;", "Ott;m;2011;"});
  EXPECT_EQ(rows("select nachname,vorname from tblTeilnehmer order by id"),
            QStringList({"HUBER|Anna", "DE BOER|David", "OTT|Ott"}));
}

TEST(ParseRunTimeTest, FormsAndWords) {
  const std::pair<const char*, qint64> times[] = {
      {"1:23,45", 8345}, {"1:23,4", 8340},     {"1:23,456", 8345}, {"1:02:03,40", 372340},
      {"83,45", 8345},   {"83.45", 8345},      {" 83 ", 8300},     {"1:23", 8300},
      {"400,00", 40000}, {"5,1234567890", 512}};
  for (const auto& [text, hundredths] : times) {
    const auto v = ParseRunTime(text);
    EXPECT_TRUE(v && v->ergcode == 0 && v->hundredths == hundredths) << text;
  }
  const std::pair<const char*, int> words[] = {{"DNS", 1}, {"NaS", 1}, {"dnf", 2},
                                               {"NiZ", 2}, {"Dsq", 3}, {"Dis.", 3}};
  for (const auto& [text, code] : words) EXPECT_EQ(ParseRunTime(text)->ergcode, code) << text;
  for (const char* bad : {"abc", "   ", "1:2:3:4", "1,2,3", "1:x", "-5"}) {
    EXPECT_FALSE(ParseRunTime(bad)) << bad;
  }
}

}  // namespace
}  // namespace kx::test
