// The save checks of templates, the ranking of certificates, the field values and the
// export list.

#include "certificates/certificaterows.h"
#include "tests/certificates/certificatefixture.h"

namespace kx::test {
namespace {

TEST_F(CertificateTest, RefusalsNameTheFirstFailingEntry) {
  openRace({{"Huber", 0}});
  const QString dir = state.CompetitionDir;
  auto check = [&](const CertificateEntry& e) {
    return CheckTemplateEntries({TextEntry("ok", "Arial, 10", "links", 0, 0), e}, dir, true)
        .value_or(QString());
  };
  EXPECT_EQ(check({"A", "Arial, 10", "links", "1,5", "0"}),
            "Vertikale Position von 'A' ist nicht numerisch");
  EXPECT_EQ(check({"A", "Arial, 10", "links", "0", "40000"}),
            "Horizontale Position von 'A' ist nicht numerisch");
  EXPECT_EQ(check({"nix.jpg", "Bild 1x1", "links", "0", "0"}), "Bild 'nix.jpg' nicht vorhanden!");
  QFile gif(QDir(dir).filePath("Logo.GIF"));
  ASSERT_TRUE(gif.open(QIODevice::WriteOnly));
  gif.close();
  EXPECT_EQ(check({"logo.gif", "Bild 1x1", "links", "0", "0"}),
            "Nur folgende Bild-Dateitypen zugelassen: BMP, JPG, ICO, WMF oder EMF");
  QFile jpg(QDir(dir).filePath("Logo.JPEG"));
  ASSERT_TRUE(jpg.open(QIODevice::WriteOnly));
  jpg.close();
  EXPECT_EQ(check({"logo.jpeg", "Bild x1", "links", "0", "0"}),
            "Bild Breite von 'logo.jpeg' ist nicht numerisch");
  EXPECT_EQ(check({"logo.jpeg", "Bild 5x", "links", "0", "0"}),
            "Bild Höhe von 'logo.jpeg' ist nicht numerisch");
  EXPECT_EQ(check({"logo.jpeg", "Bild 5x5", "links", "0", "0"}), "");
  EXPECT_FALSE(check({QString(151, 'x'), "Arial, 10", "links", "0", "0"}).isEmpty());
}

TEST_F(CertificateTest, PlacesTiesRankLimitAndReversalPerDivision) {
  // Class 1 only: 61.23, 61.23, 62.00, 40.65, and one disqualified.
  db::CompetitionSpec race = OneRunRace();
  AddRacer(race, 1, "W", 1, "Abel");
  AddRacer(race, 2, "W", 1, "Berg");
  AddRacer(race, 3, "W", 1, "Cerny");
  AddRacer(race, 4, "M", 2, "Dorn");
  AddRacer(race, 5, "M", 2, "Egger");
  AddRacer(race, 6, "M", 2, "Fink");
  AddRun(race, 1, 1, 6123);
  AddRun(race, 2, 1, 6123);
  AddRun(race, 3, 1, 6200);
  AddRun(race, 4, 1, 4065);
  AddRun(race, 5, 1, 0, 3);
  AddRun(race, 6, 1, 4100);
  open(race);
  const int count = state.db().scalar("select count(*) from tblZeit where disziplin=2").toInt();
  const SelectionStatement s =
      SelectIndividualCertificates(2, "gs", 1, count, state.Settings.typNumber(), {});
  RankingSettings settings;
  settings.rankLimit = 2.5;
  auto rows = ReadCertificateRows(state.db(), s, settings);
  ASSERT_EQ(rows.size(), 4U);  // places 1, 1 (3 dropped), then 1, 2
  EXPECT_EQ(rows[0].place, "1");
  EXPECT_EQ(rows[1].place, "1");
  EXPECT_EQ(rows[2].nachname, "Dorn");
  EXPECT_EQ(rows[2].time, "0:40,65");
  EXPECT_EQ(rows[3].place, "2");
  EXPECT_EQ(rows[0].division, "Kinder weiblich");

  settings.descending = true;
  settings.rankLimit = 99;
  rows = ReadCertificateRows(state.db(), s, settings);
  ASSERT_EQ(rows.size(), 5U);
  EXPECT_EQ(rows[0].nachname, "Cerny");
  EXPECT_EQ(rows[0].place, "3");
  EXPECT_EQ(rows[2].place, "1");
  EXPECT_EQ(rows[3].nachname, "Fink");
  EXPECT_EQ(rows[4].nachname, "Dorn");

  // The category words by the race number; a quoted nation is bound.
  SelectionFilter filter;
  AppendNationFilter(filter, true, 1, "O'Land");
  const SelectionStatement none = SelectIndividualCertificates(2, "gs", 3, count, 4, filter);
  EXPECT_TRUE(ReadCertificateRows(state.db(), none, settings).empty());
  settings.categoryWords = true;
  settings.raceNumber = "MRBR";
  rows = ReadCertificateRows(state.db(), SelectIndividualCertificates(2, "gs", 3, count, 4, {}),
                             settings);
  ASSERT_EQ(rows.size(), 5U);
  EXPECT_EQ(rows.front().division, "Mädchen");
  EXPECT_EQ(rows.back().division, "Buben");
}

TEST_F(CertificateTest, WithoutResultsEveryEnteredRacerHasPlaceOneAndANullClubIsEmpty) {
  db::CompetitionSpec race = EmptyRace();
  AddRacer(race, 1, "W", 1, "Zach");
  AddRacer(race, 2, "W", 1, "Amman").verein.reset();
  open(race);
  const auto rows = ReadCertificateRows(
      state.db(), SelectIndividualCertificates(2, "gs", 0, 0, 4, {}), RankingSettings{});
  ASSERT_EQ(rows.size(), 2U);
  EXPECT_EQ(rows[0].nachname, "Amman");
  EXPECT_EQ(rows[0].verein, "");
  EXPECT_EQ(rows[1].place, "1");
  EXPECT_EQ(rows[1].time, "0:00,00");
}

TEST(CertificateValues, TimeTextsPlaceholdersClubOrderAndDates) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  EXPECT_EQ(CertificateTimeText(6523), "1:05,23");
  EXPECT_EQ(CertificateTimeText(5999), "0:59,99");
  EXPECT_EQ(CertificateTimeText(11999), "1:59,99");
  EXPECT_EQ(HundredthsText(4567), "45,67");
  EXPECT_EQ(HundredthsText(126969), "1269,69");  // combination points: no digit groups
  EXPECT_EQ(TeamTimeText(4523), "45,23");
  EXPECT_EQ(TeamTimeText(6523), "1:05,23");
  EXPECT_EQ(CategoryWord("w", "MB"), "Buben");
  EXPECT_EQ(CategoryWord("W", "DRHR"), "Damen");

  PlaceholderValues v;
  v[0] = "3";
  v[1] = "<Platz>";  // a value holding a placeholder is not searched again
  v[8] = "Anna Berg";
  EXPECT_EQ(ReplacePlaceholders("<Platz>. <Vorname Name> <Vorname> <Platz> <Unbekannt>", v),
            "3. Anna Berg <Platz> 3 <Unbekannt>");

  std::vector<CertificateRow> rows{{"1", "A", "Zett", "Öko", "", ""},
                                   {"2", "B", "Maier", "", "", ""},
                                   {"3", "C", "Berg", "SC Zug", "", ""},
                                   {"4", "D", "Berg", "SC Zug", "", ""},
                                   {"5", "E", "Abel", "sc Alt", "", ""}};
  SortByClub(rows);
  QStringList order;
  for (const auto& r : rows) order << r.place;
  EXPECT_EQ(order.join(","), "2,3,4,5,1");

  EXPECT_EQ(CombinationDateText({"12.01.2025", "12.01.2025"}), "12.01.2025");
  EXPECT_EQ(CombinationDateText({"12.01.2025", "11.01.2025"}), "11.-12.01.2025");
  EXPECT_EQ(CombinationDateText({"30.01.2025", "02.02.2025"}), "30.01.-02.02.2025");
  EXPECT_EQ(CombinationDateText({"31.12.2024", "", "02.01.2025"}), "31.12.2024-02.01.2025");
  EXPECT_EQ(CombinationDateText({"", ""}), "");

  EXPECT_EQ(ExportListPath("/a.pdf/Urkunde.PDF"), "/a.pdf/Urkunde.txt");
  EXPECT_EQ(ExportListPath("/a/Urkunde"), "/a/Urkunde.txt");
  const QByteArray bytes = ExportListBytes({{"1", "Jörg", "Öd", "---", "Herren", ""}});
  EXPECT_EQ(bytes, QByteArray("Seite\tPlatz\tVorname\tNachname\tVerein\tKlasse\r\n"
                              "1\t1\tJ\xF6rg\t\xD6"
                              "d\t---\tHerren\r\n"));
}

TEST(CertificateValues, TeamPlacesBothOrders) {
  std::vector<TeamEntry> teams(6);
  for (size_t i = 0; i < teams.size(); ++i) {
    teams[i].groupId = i < 4 ? 1 : 2;
    teams[i].teamName = QString::number(i + 1);
  }
  auto text = [&](double r, bool desc) {
    QStringList out;
    for (const auto& c : TeamCertificates(teams, r, desc))
      out << c.team->teamName + ":" + QString::number(c.place);
    return out.join(" ");
  };
  EXPECT_EQ(text(3, false), "1:1 2:2 3:3 5:1 6:2");
  EXPECT_EQ(text(3, true), "3:3 2:2 1:1 6:2 5:1");
  EXPECT_EQ(text(0, false), "");
  EXPECT_EQ(text(0, true), "1:1 5:1");
  EXPECT_EQ(text(2.5, true), "3:3 2:2 1:1 6:2 5:1");
  teams[0].groupName = "Nord";
  EXPECT_EQ(TeamLabel(teams[0]), "Nord / 1");
}

}  // namespace
}  // namespace kx::test
