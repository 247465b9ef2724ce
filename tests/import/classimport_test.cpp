#include "import/classimport.h"

#include "tests/import/importfixture.h"

namespace kx::test {
namespace {

class ClassImportTest : public ImportFixture {
 protected:
  void SetUp() override {
    db::CompetitionSpec race = ImportRace();
    race.kategorien.push_back({"D", "Diverse", 3});
    race.gruppen = {{7, "Alt", 1}};
    race.klassen = {{9, "Alt", "W", 2000, 7, 1}};
    const struct {
      const char* sex;
      int year;
    } people[] = {{"W", 2012}, {"W", 2007}, {"W", 2001}, {"M", 2010}, {"D", 2010}};
    int id = 0;
    for (const auto& p : people) {
      db::TeilnehmerSpec t;
      t.id = ++id;
      t.sex = p.sex;
      t.nachname = QString("P%1").arg(id);
      t.vorname = "x";
      t.jahrgang = p.year;
      t.klasse = 9;
      race.teilnehmer.push_back(t);
    }
    open(race);
    db().execute("update tblTeilnehmer set jahrgang=Null where id=5");
  }
  ImportResult import(const QStringList& lines, bool assignGroup = true) {
    const QString file = WriteImportFile(path("klassen.csv"), lines, true);
    TargetRows rows = ClassTargetRows();
    for (TargetRow& row : rows) AutoAssign(row, lines.first().split(';'), false);
    if (!assignGroup) rows.front().excel.clear();
    return ImportClasses(state_, file, u';', rows);
  }
  QString dump() {
    return (rows("select id,klname,geschlecht,bis_jahrgang,gruppe,sortpos from tblKlasse order by "
                 "id") +
            rows("select id,grpname,sortpos from tblGruppe order by id") +
            rows("select id,klasse from tblTeilnehmer order by id"))
        .join(' ');
  }
};

TEST_F(ClassImportTest, ReplacesClassesAndGroupsAndReassignsEveryone) {
  const ImportResult r =
      import({"Gruppe;Name;Kategorie;Jahrgang", "Kinder;U10 w; w ;2010", "Schüler;U14 w;W;2006",
              "Kinder;U12 w;W;2008", "kinder;O'Neil;D;2015", "Kinder;U10 x;X;2010", ";Lose;M;2009",
              "Kinder; ;W;2010", "Kinder;Leer;W;"});
  ASSERT_EQ(r.kind, ImportResult::Kind::Done);
  EXPECT_EQ(r.message, "5 von 6 Klassen importiert!\r\n" + QString(62, '_') +
                           "\r\n\r\nU10 x nicht importiert, da ungültige Kategorie\r\n");
  // Groups by first appearance and found again in any case; an empty group is Null. The
  // W participants: 2012 none, 2007 the 2008 class, 2001 the 2006 class; M 2010 none; a
  // participant without a birth year gets the smallest limit of his category.
  EXPECT_EQ(dump(),
            "1|U10 w|W|2010|1|1 2|U14 w|W|2006|2|2 3|U12 w|W|2008|1|3 4|O'Neil|D|2015|1|4 "
            "5|Lose|M|2009||5 1|Kinder|1 2|Schüler|2 1| 2|3 3|2 4| 5|4");
}

TEST_F(ClassImportTest, HeaderOnlyAndUnassignedGroup) {
  EXPECT_EQ(import({"Gruppe;Name;Kategorie;Jahrgang"}).message, "0 von 0 Klassen importiert!");
  EXPECT_EQ(dump(), "1| 2| 3| 4| 5|");
  import({"Gruppe;Name;Kategorie;Jahrgang", "Kinder;U10;W;2013"}, false);
  EXPECT_EQ(dump(), "1|U10|W|2013||1 1|1 2|1 3|1 4| 5|");
}

TEST_F(ClassImportTest, ABadLineChangesNothing) {
  const QString before = dump();
  const ImportResult r =
      import({"Gruppe;Name;Kategorie;Jahrgang", "Kinder;U10;W;2010", "Kinder;U12;W;2008/09"});
  EXPECT_EQ(r.kind, ImportResult::Kind::Aborted);
  EXPECT_EQ(r.message,
            "Die Klasse U12 kann nicht importiert werden (fehlerhafter Satz in der Import-Datei)"
            "\r\nImport nach 1 Klassen abgebrochen!\r\n(Zeile 3 der Import-Datei; es wurde nichts "
            "übernommen)");
  EXPECT_EQ(dump(), before);
  TargetRows rows = ClassTargetRows();
  EXPECT_EQ(ImportClasses(state_, path("klassen.csv"), u';', rows).message,
            "Der Kandor-Spalte 'Klasse' ist noch keine Excel-Spalte zugeordnet");
}

// Names longer than their 50-character columns are refused with the line and the field, as
// the participant import refuses them; nothing is kept. 50 characters fit.
TEST_F(ClassImportTest, ANameLongerThanItsColumnStopsTheImport) {
  const QString before = dump();
  const QString header = "Gruppe;Name;Kategorie;Jahrgang";
  const QString fits = "Kinder;" + QString(50, 'k') + ";W;2010";
  ImportResult r = import({header, fits, "Kinder;" + QString(81, 'K') + ";W;2008"});
  EXPECT_EQ(r.kind, ImportResult::Kind::Aborted);
  EXPECT_EQ(r.message, "Die Klasse " + QString(80, 'K') +
                           "… kann nicht importiert werden (fehlerhafter Satz in der "
                           "Import-Datei)\r\nDas Feld 'Klasse' (Spalte 'Name') ist länger als "
                           "die 50 Zeichen, die die Bewerbsdatei dafür vorsieht.\r\nImport nach "
                           "1 Klassen abgebrochen!\r\n(Zeile 3 der Import-Datei; es wurde nichts "
                           "übernommen)");
  EXPECT_EQ(dump(), before);
  r = import({header, fits, QString(100000, 'G') + ";U12;W;2008"});
  EXPECT_TRUE(r.message.contains("Das Feld 'Gruppe' (Spalte 'Gruppe') ist länger als die 50"));
  EXPECT_EQ(dump(), before);
}

}  // namespace
}  // namespace kx::test
