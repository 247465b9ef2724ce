// The contents of the uploaded files, read from competition files.
#include "db/database.h"
#include "livefixture.h"
#include "livetiming/livefiles.h"

namespace kx::test {
namespace {

using LiveFiles = LiveFixture;

TEST_F(LiveFiles, StartFilesWithClassesGroupsAndFederationIds) {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer[0].svid = 4711;
  race.teilnehmer[0].code = QString("A1");
  race.teilnehmer[1].code = QString("B2");
  race.teilnehmer[2].klasse = 99;  // a class that does not exist
  race.teilnehmer[3].disziplinen[2].pkte = 12.5;
  race.teilnehmer[4].verein.reset();
  race.teilnehmer[4].jahrgang.reset();
  race.teilnehmer[5].disziplinen[2].aktiv = false;
  openRace(race);
  ASSERT_EQ(state().FileVersionClass, "55");

  EXPECT_EQ(KlassenFileContent(state().db(), {"Klasse", "Gruppe", "Kategorie", "Sonst"}),
            "Klasse|1|Kinder weiblich|1°Klasse|2|Kinder männlich|2°Klasse|3|Schüler weiblich|3°"
            "Klasse|4|Schüler männlich|4°Gruppe|1|Kinder|1°Gruppe|2|Schüler|2°"
            "Kategorie|W|Damen|1°Kategorie|M|Herren|2°");
  EXPECT_EQ(TeilnehmerFileContent(state(), true),
            "W|1|1|1|1|4711|Huber Anna|2015|AUT|SC Musterdorf|9999,99°"
            "M|1|2|2|2|B2|Öhler Ben|2014|AUT|SC Musterdorf|9999,99°"
            "M|2|4|4|4||de Boer David|2012|AUT|SC Musterdorf|12,50°"
            "M|1|2|5|5||Ott Emil||AUT||9999,99°");
  EXPECT_EQ(BewerbFileContent(2, 12, "Klasse", "", "a&b=c"), "2|best|Klasse||a&b=c");
  EXPECT_EQ(BewerbFileContent(1, 0, "Kategorie", "", ""), "1|add|Kategorie||");

  StartOrderTable table;
  table.reset(3);
  table.head().next = 2;
  table[2].next = 1;
  table[1].next = 3;
  table[3].next = 4;
  table[1].id = 7;
  table[2].id = 12;
  table[3].id = 30;
  EXPECT_EQ(StaliFileContent(1, table), "1!12°7°30°");
}

TEST_F(LiveFiles, ParticipantsWithoutClassesInAnOldFile) {
  db::CompetitionSpec race = SmallCompetition();
  race.version = 10;
  race.withSvid = false;
  race.bewerb.punktewertung = false;
  race.bewerb.jahrgang_aktiv = false;
  race.teilnehmer.resize(2);
  race.teilnehmer[0].code = QString("A1");
  race.teilnehmer[1].klasse.reset();
  openRace(race);
  ASSERT_EQ(state().FileVersionClass, "40");
  EXPECT_EQ(TeilnehmerFileContent(state(), false),
            "W|||1|1|A1|Huber Anna||AUT|SC Musterdorf|°M|||2|2||Öhler Ben||AUT|SC Musterdorf|°");
}

TEST_F(LiveFiles, TimesFileLinesOfOneRun) {
  db::CompetitionSpec race = SmallCompetition();
  const double now = 10 * 3600 + 30 * 60;  // 10:30:00
  auto day = [](double seconds) { return seconds / 86400.0; };
  race.zeiten = {
      {7, 2, 1, 0, day(now - 200), std::nullopt, std::nullopt, day(62.34), std::nullopt},
      {8, 2, 1, 0, std::nullopt, std::nullopt, std::nullopt, day(3599.996), std::nullopt},
      {9, 2, 1, 2, day(now - 30), std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {10, 2, 1, 2, day(now - 120), std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {11, 2, 1, 2, day(now + 1), std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {12, 2, 1, 3, std::nullopt, std::nullopt, std::nullopt, std::nullopt, QString("tor 5")},
      {13, 2, 1, 0, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {14, 2, 1, 1, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {15, 2, 1, 3, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {1000, 2, 1, 0, std::nullopt, std::nullopt, std::nullopt, day(59.996), std::nullopt},
      {16, 2, 2, 2, day(86390), std::nullopt, std::nullopt, std::nullopt, std::nullopt},
      {17, 3, 1, 0, std::nullopt, std::nullopt, std::nullopt, day(1), std::nullopt}};
  const QString path = writeCompetition("Zeiten.mdb", race);
  auto connection = db::Connection::open(path);
  connection->execute("update tblZeit set ergcode=null where teilnehmer=14");

  EXPECT_EQ(TimesFileContent(*connection, 2, 1, static_cast<int>(now)),
            "0070000102,34°0080010000,00°0099000000,01°0102999999,99°0112999999,99°"
            "0123999999,99tor 5°0153999999,99°10000000100,00°");
  // Just after midnight a start shortly before it is not on the course.
  EXPECT_EQ(TimesFileContent(*connection, 2, 2, 86395), "0169000000,01°");
  EXPECT_EQ(TimesFileContent(*connection, 2, 2, 10), "0162999999,99°");
  EXPECT_EQ(LiveRunTime(day(59.994)), "000059,99");
  EXPECT_EQ(TimesFileContent(*connection, 2, 3, 0), "");
}

}  // namespace
}  // namespace kx::test
