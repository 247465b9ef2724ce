// The run-2 start order read from the run-1 results of a competition file.

#include "common/timetext.h"
#include "startorderfixture.h"

#include <limits>

namespace kx::test {
namespace {

// Categories W "Damen" (first) and M "Herren"; groups "Kinder" and "Schüler"; four classes.
// Bibs do not follow the class order (bib 4 is in "Schüler m", bib 13 in "Kinder w").
db::CompetitionSpec Results() {
  db::CompetitionSpec race;
  race.bewerb.typ = 3;
  race.disziplinen.push_back({});
  race.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
  race.gruppen = {{1, "Kinder", 1}, {2, "Schüler", 2}};
  race.klassen = {{1, "Kinder w", "W", 2014, 1, 1},
                  {2, "Kinder m", "M", 2014, 1, 2},
                  {3, "Schüler w", "W", 2011, 2, 3},
                  {4, "Schüler m", "M", 2011, 2, 4}};
  struct R {
    int id, klasse, bib, ergcode;
    qint64 time;
  };
  const std::vector<R> rows = {{1, 1, 1, 0, 5000},   {2, 1, 2, 0, 4800},   {3, 1, 3, 2, -1},
                               {4, 1, 13, 1, -1},    {5, 2, 5, 0, 4500},   {6, 2, 6, 0, 4700},
                               {7, 2, 7, 3, 6100},   {8, 3, 8, 0, 4000},   {9, 3, 9, 0, 4200},
                               {10, 3, 10, 0, 4100}, {11, 4, 11, 0, 3900}, {12, 4, 12, 2, -1},
                               {13, 4, 4, 0, 3800}};
  for (const R& r : rows) {
    const QString sex = r.klasse % 2 == 1 ? "W" : "M";
    race.teilnehmer.push_back(Racer(r.id, sex, r.klasse, r.bib));
    race.zeiten.push_back(Run1(r.id, r.ergcode, r.time));
  }
  // Entered with a bib but without a run-1 result: never in the run-2 order.
  race.teilnehmer.push_back(Racer(14, "W", 1, 14));
  // Results of other runs and disciplines play no part.
  db::ZeitSpec run2 = Run1(1, 0, 100);
  run2.durchgang = 2;
  db::ZeitSpec slalom = Run1(2, 0, 100);
  slalom.disziplin = 3;
  race.zeiten.push_back(run2);
  race.zeiten.push_back(slalom);
  return race;
}

class Run2Order : public StartOrderTest {
 protected:
  int build(const QString& mode, int reverseCount, bool append = false, int max = 999) {
    return BuildStartOrderRun2(state, mode, reverseCount, append, max, QStringLiteral("...."),
                               true);
  }
};

TEST_F(Run2Order, ModesInTheirOrderOfPrecedence) {
  open(Results());
  const QStringList byCategory30{"1", "2", "9", "10", "8", "6", "5", "11", "4"};
  const QStringList categoryGroups{"Damen",  "Damen",  "Damen",  "Damen", "Damen",
                                   "Herren", "Herren", "Herren", "Herren"};
  const QStringList appended{"1", "2", "9", "10", "8", "3", "6", "5", "11", "4", "12", "7"};
  const QStringList byBib{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"};
  const QStringList byBibGroups{"Kinder w",  "Kinder w",  "Kinder w",  "Schüler m",
                                "Kinder m",  "Kinder m",  "Kinder m",  "Schüler w",
                                "Schüler w", "Schüler w", "Schüler m", "Schüler m"};
  struct Case {
    QString mode;
    int reverse;
    bool append;
    QStringList bibs;
    QStringList groups;  // empty: not checked
  };
  const std::vector<Case> cases = {
      // 1: the fastest 30 of all, whatever the count and the box.
      {"FIS-Reglement",
       2,
       true,
       {"1", "2", "6", "5", "9", "10", "8", "11", "4"},
       QStringList(9, "-")},
      // 2: the count as given; 0 keeps ascending times.
      {"keine Unterteilung", 3, true, {"8", "11", "4", "10", "9", "5", "6", "2", "1"}, {}},
      {"keine Unterteilung", 0, false, {"4", "11", "8", "10", "9", "5", "6", "2", "1"}, {}},
      // 3: 30 per category, the box has no effect.
      {"KSF-Reglement", 5, true, byCategory30, categoryGroups},
      {"Kategorie", 30, true, byCategory30, categoryGroups},
      // 4: the box (or U12) appends the non-finishers of each category, highest bib first.
      {"Klasse", 0, true, appended, {}},
      {"Gruppe", 40, true, appended, {}},
      {"Kategorie", 2, true, appended, {}},
      {"Nach Zeiten pro Klasse", 0, true, appended, {}},
      {"U12 (SVQ)", 0, false, appended, {}},
      // 5 and 6.
      {"KSF-Schülerreglement", 2, false, byCategory30, categoryGroups},
      {"Kategorie", 2, false, {"10", "8", "9", "2", "1", "11", "4", "5", "6"}, categoryGroups},
      {"Kategorie", 0, false, {"8", "10", "9", "2", "1", "4", "11", "5", "6"}, categoryGroups},
      // 7 and 8: every starter, bibs turned round per class or group.
      {"St-Nr pro Klasse drehen",
       5,
       false,
       {"3", "2", "1", "7", "6", "5", "10", "9", "8", "12", "11", "4"},
       {"Kinder w", "Kinder w", "Kinder w", "Kinder m", "Kinder m", "Kinder m", "Schüler w",
        "Schüler w", "Schüler w", "Schüler m", "Schüler m", "Schüler m"}},
      {"St-Nr pro Gruppe drehen",
       0,
       false,
       {"7", "6", "5", "3", "2", "1", "12", "11", "10", "9", "8", "4"},
       {"Kinder", "Kinder", "Kinder", "Kinder", "Kinder", "Kinder", "Schüler", "Schüler", "Schüler",
        "Schüler", "Schüler", "Schüler"}},
      // 9: every starter by bib within the class.
      {"Klasse", 0, false, {"1", "2", "3", "5", "6", "7", "8", "9", "10", "4", "11", "12"}, {}},
      // 10: finishers, the first N of each class reversed.
      {"Klasse", 2, false, {"1", "2", "6", "5", "10", "8", "9", "11", "4"}, {}},
      {"Klasse", 1, false, {"2", "1", "5", "6", "8", "10", "9", "4", "11"}, {}},
      // 11 to 13: finishers by descending times.
      {"Nach Zeiten pro Klasse", 3, false, {"1", "2", "6", "5", "9", "10", "8", "11", "4"}, {}},
      {"Nach Zeiten pro Gruppe",
       3,
       false,
       {"1", "2", "6", "5", "9", "10", "8", "11", "4"},
       {"Kinder", "Kinder", "Kinder", "Kinder", "Schüler", "Schüler", "Schüler", "Schüler",
        "Schüler"}},
      {"Gruppe", 31, false, {"1", "2", "6", "5", "9", "10", "8", "11", "4"}, {}},
      {"Nach Zeiten pro Kategorie", 0, false, byCategory30, categoryGroups},
      // 14: every starter by bib, headed by the class names.
      {"Gruppe", 30, false, byBib, byBibGroups},
      {"Klasse", -1, false, byBib, byBibGroups},
      {"Klasse / Start-Nr", 5, false, byBib, byBibGroups},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QStringLiteral("%1 %2 %3").arg(c.mode).arg(c.reverse).arg(c.append).toStdString());
    EXPECT_EQ(build(c.mode, c.reverse, c.append), c.bibs.size());
    EXPECT_EQ(bibs(), c.bibs);
    if (!c.groups.isEmpty()) {
      EXPECT_EQ(groups(), c.groups);
    }
  }
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(Run2Order, RunOneTimeTexts) {
  open(Results());
  build("Klasse", 0, true);
  EXPECT_EQ(times(), (QStringList{"50,00", "48,00", "42,00", "41,00", "40,00", "NiZ  ", "47,00",
                                  "45,00", "39,00", "38,00", "NiZ  ", "Dis  "}));

  db::CompetitionSpec race;
  race.bewerb.typ = 3;
  race.disziplinen.push_back({});
  const std::vector<qint64> hundredths{5999, 6000};
  for (int i = 0; i < 2; ++i) {
    race.teilnehmer.push_back(Racer(i + 1, "M", {}, i + 1));
    race.zeiten.push_back(Run1(i + 1, 0, hundredths[static_cast<size_t>(i)]));
  }
  race.teilnehmer.push_back(Racer(3, "M", {}, 3));
  race.zeiten.push_back(Run1(3, 0, -1));  // valid code, but the time is missing
  race.teilnehmer.push_back(Racer(4, "M", {}, 4));
  race.zeiten.push_back(Run1(4, 0, 9000000));  // not a run time
  open(race);
  EXPECT_EQ(build("keine Unterteilung", 0), 4);
  EXPECT_EQ(times(), (QStringList{"---  ", "59,99", "1:00,00", "---  "}));
  // The racer without a time does not take the place of the fastest in the reversal.
  build("keine Unterteilung", 2);
  EXPECT_EQ(bibs(), (QStringList{"3", "2", "1", "4"}));
}

TEST_F(Run2Order, TimesThatAreNoRunTimesPrintAsNoTime) {
  db::CompetitionSpec race;
  race.bewerb.typ = 3;
  race.disziplinen.push_back({});
  for (int i = 1; i <= 4; ++i) {
    race.teilnehmer.push_back(Racer(i, "M", {}, i));
    race.zeiten.push_back(Run1(i, 0, 4000 + i));
  }
  open(race);
  // Infinite, negative, text where a number belongs; the fourth is sound.
  state.db().execute("update tblZeit set netto = 9e999 where teilnehmer = 1");
  state.db().execute("update tblZeit set netto = -0.0021 where teilnehmer = 2");
  state.db().execute("update tblZeit set netto = 'NaN' where teilnehmer = 3");
  EXPECT_EQ(build("keine Unterteilung", 0), 4);
  QStringList sorted = times();
  sorted.sort();
  EXPECT_EQ(sorted, (QStringList{"---  ", "---  ", "---  ", "40,04"}));
  EXPECT_EQ(RunTimeText(std::numeric_limits<double>::quiet_NaN()), "");
  EXPECT_EQ(RunTimeText(-std::numeric_limits<double>::infinity()), "");
  EXPECT_EQ(RunTimeText(9.2e18), "");
}

TEST_F(Run2Order, TiedRacersJoinTheReversedBlock) {
  db::CompetitionSpec race;
  race.bewerb.typ = 3;
  race.disziplinen.push_back({});
  const std::vector<qint64> hundredths{5000, 5100, 5200, 5300, 5400, 5400, 5500, 5600};
  for (int i = 0; i < 8; ++i) {
    race.teilnehmer.push_back(Racer(i + 1, "M", {}, i + 1));
    race.zeiten.push_back(Run1(i + 1, 0, hundredths[static_cast<size_t>(i)]));
  }
  open(race);
  build("keine Unterteilung", 5);
  // Six reversed; of the two tied, the lower bib now starts first.
  EXPECT_EQ(bibs(), (QStringList{"5", "6", "4", "3", "2", "1", "7", "8"}));
}

TEST_F(Run2Order, FederationModesReverseThirtyAndTheMaximumPerGroupComesFirst) {
  db::CompetitionSpec race;
  race.bewerb.typ = 2;
  race.disziplinen.push_back({});
  race.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
  race.klassen = {{1, "Damen", "W", 2000, std::nullopt, 1},
                  {2, "Herren", "M", 2000, std::nullopt, 2}};
  for (int i = 1; i <= 70; ++i) {
    const bool woman = i <= 35;
    race.teilnehmer.push_back(Racer(i, woman ? "W" : "M", woman ? 1 : 2, i));
    race.zeiten.push_back(Run1(i, 0, 4000 + i * 10));
  }
  open(race);
  auto expected = [](int first, int reversed, int loaded) {
    QStringList result;
    for (int i = reversed; i >= 1; --i) result << QString::number(first + i - 1);
    for (int i = reversed + 1; i <= loaded; ++i) result << QString::number(first + i - 1);
    return result;
  };
  EXPECT_EQ(build("KSF-Reglement", 5), 70);
  EXPECT_EQ(bibs(), expected(1, 30, 35) + expected(36, 30, 35));
  EXPECT_EQ(build("Kategorie", 5), 70);
  EXPECT_EQ(bibs(), expected(1, 5, 35) + expected(36, 5, 35));
  EXPECT_EQ(build("FIS-Reglement", 0), 70);
  EXPECT_EQ(bibs(), expected(1, 30, 70));

  // Only the 20 fastest of each category, all of them reversed.
  EXPECT_EQ(build("Kategorie", 30, false, 20), 40);
  EXPECT_EQ(bibs(), expected(1, 20, 20) + expected(36, 20, 20));
  EXPECT_EQ(build("Kategorie", 30, false, 1), 2);
  EXPECT_EQ(bibs(), (QStringList{"1", "36"}));

  // A maximum of 0 leaves nobody: an empty order, and no message.
  EXPECT_EQ(build("Kategorie", 30, false, 0), 0);
  EXPECT_TRUE(bibs().isEmpty());
  EXPECT_EQ(build("Kategorie", 30, false, -5), 0);
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(Run2Order, EntryFields) {
  db::CompetitionSpec race;
  race.bewerb.typ = 3;
  race.bewerb.punktewertung = false;  // run 2 reads the points anyway
  race.disziplinen.push_back({});
  db::TeilnehmerSpec a = Racer(1, "M", {}, 1, 87.5);
  a.svid = 4711;
  db::TeilnehmerSpec zero = Racer(2, "M", {}, 2);
  zero.svid = 0;
  db::TeilnehmerSpec codeOnly = Racer(3, "M", {}, 3);
  db::TeilnehmerSpec bare = Racer(4, "M", {}, 4);
  bare.code.reset();
  bare.verein.reset();
  bare.jahrgang.reset();
  race.teilnehmer = {a, zero, codeOnly, bare};
  for (int i = 1; i <= 4; ++i) race.zeiten.push_back(Run1(i, 0, 4000 + i));
  open(race);
  state.db().execute("update tblTeilnehmer set pktegs=null where id=4");

  ASSERT_EQ(build("keine Unterteilung", 0), 4);
  EXPECT_EQ(byBib("1").code, "4711");
  EXPECT_EQ(byBib("2").code, "");  // a federation id of 0 is no id in run 2
  EXPECT_EQ(byBib("3").code, "C3");
  EXPECT_EQ(byBib("4").code, "");
  EXPECT_DOUBLE_EQ(byBib("1").punkte, 87.5);
  EXPECT_DOUBLE_EQ(byBib("4").punkte, 9999.99);
  EXPECT_EQ(byBib("1").name, "Name1 Vorname1");
  EXPECT_EQ(byBib("1").jahrgang, "2010");
  EXPECT_EQ(byBib("4").jahrgang, "");
  EXPECT_EQ(byBib("1").verein, "SC Verein1");
  EXPECT_EQ(byBib("4").verein, "....");
  EXPECT_EQ(byBib("1").id, 1);
  for (const StartOrderEntry* e : entries()) EXPECT_FALSE(e->moved);

  race.bewerb.code_aktiv = false;
  race.bewerb.verein_aktiv = false;
  open(race);
  build("keine Unterteilung", 0);
  EXPECT_EQ(byBib("1").code, "");
  EXPECT_EQ(byBib("1").verein, "....");

  // Older files without the federation-id column.
  race.version = 10;
  race.withSvid = false;
  race.bewerb.code_aktiv = true;
  open(race);
  EXPECT_EQ(build("Kategorie", 0), -1);  // no classes: nobody
  build("keine Unterteilung", 0);
  EXPECT_EQ(byBib("1").code, "C1");
}

TEST_F(Run2Order, NobodyToStart) {
  db::CompetitionSpec race = Results();
  race.zeiten.clear();
  open(race);
  EXPECT_EQ(BuildStartOrderRun2(state, "Kategorie", 30, false, 999, "", false), -1);
  EXPECT_TRUE(ui.messages.isEmpty());
  EXPECT_EQ(BuildStartOrderRun2(state, "Kategorie", 30, false, 999, "", true), -1);
  EXPECT_EQ(state.StartOrder.count(), -1);
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].text, "Keine Daten gefunden!");
  EXPECT_EQ(ui.messages[0].title, "Achtung");
  EXPECT_EQ(ui.messages[0].icon, MsgIcon::Exclamation);
}

// ---------------------------------------------------------------------------------------

TEST_F(StartOrderTest, FiveThousandParticipants) {
  db::CompetitionSpec race = db::LargeCompetition(5000);
  race.bewerb.typ = 4;
  race.bewerb.punktewertung = true;
  open(race);

  const int run1 = BuildStartOrderRun1(state, "Klasse", false, 15, "", false);
  EXPECT_GT(run1, 3000);
  ASSERT_EQ(static_cast<int>(state.StartOrder.order().size()), run1);

  const int all = BuildStartOrderRun1(state, "keine Unterteilung", false, 15, "", false);
  ASSERT_EQ(static_cast<int>(state.StartOrder.order().size()), all);
  int previous = 0;
  for (const StartOrderEntry* e : entries()) {
    EXPECT_GT(e->startnr.toInt(), previous);
    previous = e->startnr.toInt();
  }

  for (const QString mode : {"FIS-Reglement", "Kategorie", "Klasse"}) {
    const int run2 = BuildStartOrderRun2(state, mode, 30, true, 100000, "", false);
    EXPECT_GT(run2, 3000) << mode.toStdString();
    EXPECT_EQ(static_cast<int>(state.StartOrder.order().size()), run2);
  }
}

}  // namespace
}  // namespace kx::test
