#include "import/participantimport.h"

#include "tests/import/importfixture.h"

namespace kx::test {
namespace {

class ParticipantImportTest : public ImportFixture {
 protected:
  // Imports `lines` (header first) with the rows assigned automatically, then `assign`.
  ImportResult import(const QStringList& lines,
                      const std::function<void(TargetRows&)>& assign = nullptr) {
    const QString file = WriteImportFile(path("teilnehmer.csv"), lines);
    TargetRows rows = ParticipantTargetRows(state_.Settings, state_.FileVersionClass,
                                            state_.RunCount, state_.CurrentDisciplineCode);
    const QStringList header = lines.first().split(';');
    for (TargetRow& row : rows) AutoAssign(row, header, header.contains("Lauf 1"));
    if (assign) assign(rows);
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
  open(TeamRace());
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
                "Zeit für Huber Anna nicht importiert, da für Duchgang 1 doppelt vorhanden\r\n");
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
  race.teilnehmer = {person(1, "MÜLLER", "Jürgen", 2010, "SC A", false),
                     person(2, "MÜLLER", "Jürgen", 2010, "SC A", true),
                     person(3, "OTT", "Emil", 2011, "SC B", true)};
  open(race);
  const ImportResult r = import({"Name;Vorname;Sex;Verein;Jg;StNr",
                                 "müller;JÜRGEN;m;sc a;2010;7",  // both rows match the bib? no
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

}  // namespace
}  // namespace kx::test
