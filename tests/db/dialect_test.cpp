// The main program's SQL as it is written, run on SQLite.
#include "db/database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx::db {
namespace {

TEST(TranslateJetSql, TextColumnsGetTheCollationAndIndexOptionsGo) {
  EXPECT_EQ(TranslateJetSql("create index i on t (a) with disallow null"),
            "create index i on t (a)");
  EXPECT_EQ(TranslateJetSql("CREATE INDEX pk ON t (a) WITH PRIMARY"), "CREATE INDEX pk ON t (a)");
  EXPECT_EQ(TranslateJetSql("create table tblStali (durchgang short not null, reihenfolge "
                            "char(50) not null, primary key(durchgang))"),
            "create table tblStali (durchgang short not null, reihenfolge char(50) COLLATE "
            "GERMAN_CI not null, primary key(durchgang))");
  EXPECT_EQ(TranslateJetSql("CREATE TABLE x (a TEXT, b memo, c varchar (20), d text(5), e long)"),
            "CREATE TABLE x (a TEXT COLLATE GERMAN_CI, b memo COLLATE GERMAN_CI, c varchar (20) "
            "COLLATE GERMAN_CI, d text(5) COLLATE GERMAN_CI, e long)");
  EXPECT_EQ(TranslateJetSql("alter table tblTeilnehmer add column code char(9)"),
            "alter table tblTeilnehmer add column code char(9) COLLATE GERMAN_CI");
  // A column called like a type, and a collation already named, stay as written.
  EXPECT_EQ(TranslateJetSql("create table y (text long, memo char(3) collate nocase)"),
            "create table y (text long, memo char(3) collate nocase)");
  EXPECT_EQ(TranslateJetSql("alter table tblTeilnehmer add svid long null"),
            "alter table tblTeilnehmer add svid long null");
}

TEST(TranslateJetSql, EverythingElsePassesUnchanged) {
  for (const char* sql : {"select * from tblTeilnehmer where nachname like '%WITH IGNORE NULL%'",
                          "insert into t (a) values ('create table x (a text)')",
                          "update tblZeit set netto = 0.000721643518519 where teilnehmer = 3",
                          "drop table XtblFinale"}) {
    EXPECT_EQ(TranslateJetSql(sql), sql);
  }
}

// A small race: five racers, two of them in another class, run 1 of the giant slalom.
class DialectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = Connection::create(dir_.filePath("d.mdb"));
    db_->execute(
        "create table tblTeilnehmer (id long not null, nachname varchar(80), verein varchar(80), "
        "klasse long, gsaktiv bit, startnrgs short, pktegs double, primary key(id))");
    db_->execute(
        "create table tblZeit (teilnehmer long, disziplin short, durchgang short, ergcode short, "
        "netto double, disqualtext varchar(50))");
    db_->execute("create table tblKlasse (id long, klname varchar(50), sortpos short)");
    db_->execute("insert into tblKlasse values (1, 'Kinder', 2)");
    db_->execute("insert into tblKlasse values (2, 'Schüler', 1)");
    struct Row {
      int id;
      const char* name;
      const char* club;
      int klasse;
      bool aktiv;
      int bib;
      int ergcode;
      int hundredths;
    };
    for (const Row& r : {Row{1, "Huber", "SC Musterdorf", 1, true, 1, 0, 6235},
                         Row{2, "Öhler", "SC MUSTERDORF", 1, true, 2, 2, 0},
                         Row{3, "Ott", "tsv 1860 muenchen", 2, true, 3, 0, 6235},
                         Row{4, "Abel", "WSV Öblarn", 2, true, 4, 1, 0},
                         Row{5, "Gruber", "Platzhirsch <Platz> Club", 2, false, 5, 3, 5900}}) {
      db_->execute("insert into tblTeilnehmer values (?, ?, ?, ?, ?, ?, 9999.99)",
                   {r.id, r.name, r.club, r.klasse, r.aktiv, r.bib});
      db_->execute("insert into tblZeit values (?, 2, 1, ?, ?, ?)",
                   {r.id, r.ergcode, r.hundredths / 8640000.0,
                    r.ergcode == 3 ? QVariant("Tor 7") : QVariant()});
    }
  }
  QStringList column(const QString& sql, int col = 0) {
    QStringList out;
    const Recordset rs = db_->query(sql);
    for (int i = 0; i < rs.count(); ++i) out << rs.at(i, col).toString();
    return out;
  }
  QTemporaryDir dir_;
  std::unique_ptr<Connection> db_;
};

TEST_F(DialectTest, RunTwoOrderQueryWithSwitchAndPositionalSort) {
  // Finishers by time, the highest bib first on equal times; non-finishers at the end.
  const Recordset rs = db_->query(
      "select t.id,switch(z.ergcode=0,z.netto*8640000,z.ergcode<>0,9000000) As Zeit,"
      "t.startnrgs as startnr from tblTeilnehmer t,tblZeit z where t.id=z.teilnehmer "
      "and t.gsaktiv = true and t.startnrgs is not null and z.disziplin=2 and z.durchgang=1 "
      "and not z.ergcode=1 order by 2,3 desc");
  ASSERT_EQ(rs.count(), 3);
  EXPECT_EQ(rs.at(0, "startnr").toInt(), 3);
  EXPECT_EQ(rs.at(1, "startnr").toInt(), 1);
  EXPECT_EQ(rs.at(2, "startnr").toInt(), 2);
  EXPECT_EQ(rs.at(0, "Zeit").toInt(), 6235);  // 1:02.35 back as hundredths
  EXPECT_EQ(rs.at(2, "zeit").toInt(), 9000000);
}

TEST_F(DialectTest, SwitchGivesFirstTrueValueOrNull) {
  EXPECT_EQ(db_->scalar("select switch(1=2,'a',2=2,'b',3=3,'c')").toString(), "b");
  EXPECT_TRUE(db_->scalar("select switch(1=2,'a',Null,'b')").isNull());
  EXPECT_EQ(db_->scalar("select switch(true,5)").toInt(), 5);
  EXPECT_THROW(db_->scalar("select switch(true,5,false)"), Error);
}

TEST_F(DialectTest, BooleansCompareWithTrueAndFalse) {
  EXPECT_EQ(column("select nachname from tblTeilnehmer where gsaktiv = false"),
            QStringList{"Gruber"});
  db_->execute("update tblTeilnehmer set gsaktiv = true where id = 5");
  EXPECT_EQ(db_->scalar("select count(*) from tblTeilnehmer where gsaktiv = true").toInt(), 5);
  EXPECT_EQ(db_->scalar("select gsaktiv from tblTeilnehmer where id = 5").toString(), "True");
}

TEST_F(DialectTest, SubqueriesGroupingAndAggregates) {
  EXPECT_EQ(column("select nachname from tblTeilnehmer where id in (select teilnehmer from "
                   "tblZeit where ergcode = 0) order by 1"),
            QStringList({"Huber", "Ott"}));
  EXPECT_EQ(column("select k.klname, count(*) from tblTeilnehmer t, tblKlasse k where "
                   "t.klasse = k.id group by k.klname, k.sortpos having count(*) > 1 "
                   "order by k.sortpos"),
            QStringList({"Schüler", "Kinder"}));
  EXPECT_EQ(db_->scalar("select max(id) as maxid from tblTeilnehmer").toInt(), 5);
  EXPECT_EQ(db_->scalar("select sum(netto)*8640000 from tblZeit where ergcode = 0").toInt(), 12470);
}

TEST_F(DialectTest, LikeIsCaseInsensitiveInGerman) {
  EXPECT_EQ(column("select nachname from tblTeilnehmer where verein like '%<Platz>%'"),
            QStringList{"Gruber"});
  EXPECT_EQ(column("select nachname from tblTeilnehmer where nachname like 'öh%'"),
            QStringList{"Öhler"});
  EXPECT_EQ(column("select nachname from tblTeilnehmer where verein like '%öblarn'"),
            QStringList{"Abel"});
  EXPECT_EQ(column("select nachname from tblTeilnehmer where nachname like 'O_t'"),
            QStringList{"Ott"});
  EXPECT_EQ(db_->scalar("select 'Ä' like 'ä'").toInt(), 1);
  EXPECT_EQ(db_->scalar("select 'Oehler' like 'Öhler'").toInt(), 0);
  EXPECT_EQ(db_->scalar("select '50%' like '50!%' escape '!'").toInt(), 1);
  EXPECT_EQ(db_->scalar("select '500' like '50!%' escape '!'").toInt(), 0);
  EXPECT_TRUE(db_->scalar("select Null like 'a'").isNull());
}

TEST_F(DialectTest, TextColumnsCompareAndGroupWithoutCase) {
  // "SC Musterdorf" and "SC MUSTERDORF" are one club, as in the main program.
  EXPECT_EQ(column("select distinct verein from tblTeilnehmer order by 1").size(), 4);
  EXPECT_EQ(
      db_->scalar("select count(*) from tblTeilnehmer where verein = 'sc musterdorf'").toInt(), 2);
  EXPECT_EQ(db_->scalar("select count(*) from tblTeilnehmer where nachname = 'ÖHLER'").toInt(), 1);
  EXPECT_EQ(db_->scalar("select count(*) from tblTeilnehmer where nachname = 'Ohler'").toInt(), 0);
}

}  // namespace
}  // namespace kx::db
