// The competition files that tests and the demo are built from, read back.
#include "db/competitionbuilder.h"
#include "db/database.h"

#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace kx::db {
namespace {

class BuilderTest : public ::testing::Test {
 protected:
  QString file(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

qint64 Hundredths(const Field& f) {
  return std::llround(f.toDouble() * 8640000.0);
}

TEST_F(BuilderTest, DemoCompetitionHasEveryTableAndColumn) {
  BuildCompetitionFile(file("demo.mdb"), DemoCompetition());
  auto db = Connection::open(file("demo.mdb"));
  for (const char* table : {"tblBewerb", "tblVersion", "tblDisziplin", "tblDisziplinTypen",
                            "tblListenkopf", "tblTeilnehmer", "tblZeit", "tblKlasse", "tblGruppe",
                            "tblKategorie", "tblMannschaft", "tblGrpMannschaft"}) {
    EXPECT_TRUE(db->hasTable(table)) << table;
  }
  for (const char* code : {"dh", "sg", "gs", "sl", "ks", "ps"}) {
    for (const QString& column :
         {QString("%1aktiv"), QString("startnr%1"), QString("pkte%1"), QString("rpkte%1")}) {
      EXPECT_TRUE(db->hasColumn("tblTeilnehmer", column.arg(code))) << column.toStdString();
    }
  }
  EXPECT_TRUE(db->hasColumn("tblTeilnehmer", "svid"));
  EXPECT_EQ(db->scalar("select count(*) from sqlite_master where type = 'index' and name = "
                       "'tblTeilnehmersvid'")
                .toInt(),
            1);

  // The queries of the open read what they expect.
  const Recordset d = db->query(
      "select d.aktiv,d.bewerbsnummer,t.dtyp,t.dname from tblDisziplin d, tblDisziplinTypen t "
      "where d.dtyp = t.dtyp order by t.dtyp");
  ASSERT_EQ(d.count(), 6);
  EXPECT_EQ(d.at(0, "dname").toString(), "Abfahrt");
  EXPECT_EQ(d.at(4, "dname").toString(), "K.O.-Slalom");
  EXPECT_EQ(d.at(2, "aktiv").toString(), "True");
  EXPECT_EQ(d.at(2, "bewerbsnummer").toString(), "1234");
  EXPECT_EQ(d.at(3, "bewerbsnummer").toString(), "MB123");
  EXPECT_EQ(d.at(0, "aktiv").toString(), "False");
  EXPECT_TRUE(d.at(0, "bewerbsnummer").isNull());

  const Recordset b = db->query(
      "select typ,ort,nation,mannschaftswertung,punktewertung,klassenwertung,jahrgang_aktiv,"
      "verein_aktiv,nation_aktiv,code_aktiv from tblBewerb");
  ASSERT_EQ(b.count(), 1);
  EXPECT_EQ(b.at(0, "typ").toString(), "4");
  EXPECT_EQ(b.at(0, "code_aktiv").toString(), "True");
  EXPECT_EQ(db->scalar("select version from tblVersion").toInt(), 20);
  EXPECT_EQ(
      db->scalar("select value from tblListenkopf where id = 94 and disziplin = 3").toString(),
      "Slalom");
  EXPECT_EQ(
      db->scalar("select value from tblListenkopf where id = 92 and disziplin = 0").toString(),
      "0;0");
  EXPECT_EQ(db->scalar("select bewerbsbezeichnung from tblDisziplin where dtyp = 2").toString(),
            "Bezirkscup Musterdorf\r\nKinder und Schüler");
  EXPECT_EQ(db->scalar("select datum_startliste from tblDisziplin where dtyp = 2").toString(),
            "18.01.2025");
}

TEST_F(BuilderTest, DemoRacersAndTimesAreConsistent) {
  const CompetitionSpec race = DemoCompetition();
  BuildCompetitionFile(file("demo.mdb"), race);
  auto db = Connection::open(file("demo.mdb"));
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(),
            static_cast<int>(race.teilnehmer.size()));
  EXPECT_GE(race.teilnehmer.size(), 140u);

  // Bibs 1..n in each active discipline, without gaps or doubles.
  for (const char* code : {"gs", "sl"}) {
    const Recordset bibs = db->query(
        QString("select count(*), min(startnr%1), max(startnr%1), count(distinct startnr%1) "
                "from tblTeilnehmer where %1aktiv = true")
            .arg(code));
    EXPECT_EQ(bibs.at(0, 1).toInt(), 1);
    EXPECT_EQ(bibs.at(0, 2).toInt(), bibs.at(0, 0).toInt());
    EXPECT_EQ(bibs.at(0, 3).toInt(), bibs.at(0, 0).toInt());
  }

  // The participant with the apostrophe, as the start list reads him.
  const Recordset p = db->query("select * from tblTeilnehmer where nachname = 'O''Brien'");
  ASSERT_EQ(p.count(), 1);
  EXPECT_EQ(p.at(0, "vorname").toString(), "Patrick");
  EXPECT_EQ(p.at(0, "zugewiesen").toString(), "True");
  EXPECT_EQ(p.at(0, "pktesc").toDouble(), 9999.99);
  EXPECT_EQ(p.at(0, "dhaktiv").toString(), "False");
  EXPECT_EQ(p.at(0, "pktedh").toDouble(), 9999.99);
  EXPECT_TRUE(p.at(0, "startnrdh").isNull());
  EXPECT_FALSE(p.at(0, "klasse").isNull());

  // Entry points: some without (9999.99), the others real points.
  EXPECT_GT(db->scalar("select count(*) from tblTeilnehmer where pktegs = 9999.99").toInt(), 5);
  EXPECT_GT(db->scalar("select count(*) from tblTeilnehmer where pktegs < 9999").toInt(), 50);
  // Every class the racers name exists, and each racer's class fits sex and birth year.
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer t, tblKlasse k where t.klasse = k.id "
                       "and t.sex = k.geschlecht and t.jahrgang <= k.bis_jahrgang")
                .toInt(),
            static_cast<int>(race.teilnehmer.size()));
  EXPECT_GE(db->scalar("select count(*) from tblTeilnehmer where verein = 'SKI-CLUB MUENCHEN "
                       "E.V.'")
                .toInt(),
            1);

  // Result codes of every kind; finish = start + run time to the hundredth.
  for (int code = 0; code <= 3; ++code) {
    EXPECT_GT(db->scalar("select count(*) from tblZeit where ergcode = ?", {code}).toInt(), 0)
        << code;
  }
  const Recordset z = db->query("select start, ziel, netto, ergcode, disqualtext from tblZeit");
  int checked = 0;
  for (int i = 0; i < z.count(); ++i) {
    const int code = z.at(i, "ergcode").toInt();
    if (code == 1) {
      EXPECT_TRUE(z.at(i, "start").isNull());
      continue;
    }
    EXPECT_EQ(z.at(i, "disqualtext").isNull(), code != 3);
    if (code == 2) {
      EXPECT_TRUE(z.at(i, "netto").isNull());
      continue;
    }
    EXPECT_EQ(Hundredths(z.at(i, "ziel")) - Hundredths(z.at(i, "start")),
              Hundredths(z.at(i, "netto")));
    EXPECT_GT(Hundredths(z.at(i, "netto")), 3000);
    ++checked;
  }
  EXPECT_GT(checked, 400);
}

TEST_F(BuilderTest, VariantsOfTheFile) {
  CompetitionSpec race;
  race.version = 14;
  race.withSvid = false;
  race.typNull = true;
  race.teilnehmer.push_back({});
  race.teilnehmer.back().id = 1;
  race.teilnehmer.back().nachname = "Huber";
  BuildCompetitionFile(file("old.mdb"), race);
  auto db = Connection::open(file("old.mdb"));
  EXPECT_FALSE(db->hasColumn("tblTeilnehmer", "svid"));
  EXPECT_TRUE(db->scalar("select typ from tblBewerb").isNull());
  EXPECT_EQ(db->scalar("select count(*) from tblDisziplinTypen").toInt(), 6);
  EXPECT_EQ(db->scalar("select gsaktiv from tblTeilnehmer").toString(), "False");
  EXPECT_EQ(db->scalar("select pktegs from tblTeilnehmer").toDouble(), 9999.99);

  race.withBewerbRow = false;
  BuildCompetitionFile(file("old.mdb"), race);  // replaces the file
  db = Connection::open(file("old.mdb"));
  EXPECT_EQ(db->scalar("select count(*) from tblBewerb").toInt(), 0);
}

TEST_F(BuilderTest, FailedBuildLeavesNoFile) {
  CompetitionSpec race;
  race.teilnehmer.resize(2);
  race.teilnehmer[0].id = 7;
  race.teilnehmer[1].id = 7;
  EXPECT_THROW(BuildCompetitionFile(file("bad.mdb"), race), Error);
  EXPECT_FALSE(QFileInfo::exists(file("bad.mdb")));
}

TEST_F(BuilderTest, MasterData) {
  BuildMasterDataFile(file("STAMMDAT.mdb"), DemoMasterData());
  auto db = Connection::open(file("STAMMDAT.mdb"));
  EXPECT_GT(db->scalar("select count(*) from tblKSFPunkte").toInt(), 5);
  EXPECT_EQ(db->scalar("select count(*) from tblListenVersion where typ in (3, 4)").toInt(), 2);
  const Recordset p = db->query("select rang, punkte from tblPunkte order by rang");
  ASSERT_EQ(p.count(), 50);
  EXPECT_EQ(p.at(0, "rang").toInt(), 1);
  EXPECT_GT(p.at(0, "punkte").toDouble(), p.at(49, "punkte").toDouble());
  // The list knows racers of the demo race by their code.
  BuildCompetitionFile(file("demo.mdb"), DemoCompetition());
  db->execute("attach database ? as race", {file("demo.mdb")});
  EXPECT_GT(db->scalar("select count(*) from tblKSFPunkte k, race.tblTeilnehmer t where "
                       "k.code = t.code")
                .toInt(),
            5);
}

TEST_F(BuilderTest, LargeCompetitionOfFiveThousandBuilds) {
  BuildCompetitionFile(file("large.mdb"), LargeCompetition(5000));
  auto db = Connection::open(file("large.mdb"));
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 5000);
  EXPECT_EQ(db->scalar("select max(startnrgs) from tblTeilnehmer").toInt(),
            db->scalar("select count(*) from tblTeilnehmer where gsaktiv = true").toInt());
  EXPECT_GT(
      db->scalar("select count(*) from tblZeit where disziplin = 3 and durchgang = 2").toInt(),
      4000);
}

}  // namespace
}  // namespace kx::db
