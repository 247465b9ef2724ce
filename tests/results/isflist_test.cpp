#include "results/isflist.h"

#include "tests/results/resultsfixture.h"

namespace kx::test {
namespace {

class IsfListTest : public ResultsTest {
 protected:
  void SetUp() override {
    db::CompetitionSpec race = EmptyRace();
    // Two team groups with the same sort position: ranked apart, by id.
    race.grpMannschaften = {{2, "Zweite", 1}, {1, "Erste", 1}};
    race.mannschaften = {{1, "T1", 1, 1}, {2, "T2", 2, 1}, {3, "T3", 3, 2}};
    const struct {
      const char* name;
      int team;
      double run1;
      int code1;
      std::optional<double> run2;
      int code2;
    } racers[] = {{"A", 1, 4000, 0, 4100, 0}, {"B", 1, 4200, 0, 4300, 0},
                  {"C", 1, 4400, 0, 4500, 0}, {"D", 1, 0, 2, 4000, 0},
                  {"E", 2, 4100, 0, 4200, 0}, {"F", 2, 4300, 0, 4400, 0},
                  {"H", 3, 0, 1, 4000, 0},    {"I", 3, 0, 1, std::nullopt, 0}};
    int id = 0;
    for (const auto& r : racers) {
      AddRacer(race, ++id, "M", 2, r.name).mannschaft = r.team;
      AddRun(race, id, 1, r.run1, r.code1);
      if (r.run2) AddRun(race, id, 2, *r.run2, r.code2);
    }
    open(race);
  }
  PdfReader write(bool rankAll) {
    ui.chooseSaveFile(outputPath("isf.pdf"));
    const ResultLine line = WriteIsfList(state, {rankAll, true});
    EXPECT_EQ(line.text, "ISFErgebnisliste gespeichert unter: " + outputPath("isf.pdf"));
    KeepForLooking(outputPath("isf.pdf"), rankAll ? "isf-alle.pdf" : "isf.pdf");
    return PdfReader(outputPath("isf.pdf"));
  }
};

TEST_F(IsfListTest, ShortTeamsRankOnlyWhenAllTeamsAreRankedWithTheirReplacements) {
  state.Settings.typ = "8";  // its parallel slalom keeps the list title here too
  state.DisciplineNames[2] = "Parallelslalom";
  PdfReader pdf = write(false);
  EXPECT_EQ(pdf.title(), "ISFErgebnisliste Cup1 Riesenslalom");
  ASSERT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.findLine("T1")->text(), "1. Erste / T1 4:10,00");
  EXPECT_FALSE(pdf.findLine("T2"));
  EXPECT_FALSE(pdf.findLine("T3"));

  pdf = write(true);
  ASSERT_EQ(pdf.pageCount(), 2);
  EXPECT_TRUE(pdf.findLine("ERGEBNISLISTE MANNSCHAFTSWERTUNG", 1));
  // Two missing finishers of T2: 1.5 × 44,00 in run 1 and 1.5 × 45,00 in run 2.
  EXPECT_EQ(pdf.findLine("T2", 1)->text(), "2. Erste / T2 5:03,50 53,50");
  EXPECT_EQ(pdf.findLine("D Vorname")->text(), "4 D Vorname 12 AUT NIZ 40,00");
  EXPECT_TRUE(pdf.findLine("(1:06,00)"));
  // The counted times are bold.
  const QList<PdfWord> counted = pdf.findWords("40,00", 1);  // A in run 1, D in run 2
  ASSERT_EQ(counted.size(), 2);
  EXPECT_TRUE(counted[0].bold() && counted[1].bold());
  EXPECT_FALSE(pdf.findWord("45,00", 1)->bold());
  // The run-2-only team leads its own group on its own page; NAS in run 1 shows twice.
  EXPECT_EQ(pdf.findLine("T3", 2)->text(), "1. Zweite / T3 2:40,00");
  EXPECT_EQ(pdf.findLine("I Vorname", 2)->text(), "8 I Vorname 12 AUT NAS NAS");
}

TEST_F(IsfListTest, AShrunkNameTakesItsRunOneTimeAlongButNotRunTwo) {
  state.db().execute("update tblTeilnehmer set nachname=? where id=1",
                     {"Oberhinterbergmüller-Unterwieser-Lindenstrauch"});
  const PdfReader pdf = write(false);
  const PdfWord name = *pdf.findWord("Oberhinterbergmüller-Unterwieser-Lindenstrauch");
  ASSERT_LT(name.size, 8.5);
  EXPECT_DOUBLE_EQ(pdf.findWords("40,00").first().size, name.size);  // A's run 1
  EXPECT_GT(pdf.findWord("41,00")->size, 8.5);                       // his run 2
}

TEST_F(IsfListTest, ATeamWithoutGroupStopsBeforeTheDialog) {
  state.db().execute("update tblMannschaft set gruppe=null where id=2");
  EXPECT_EQ(WriteIsfList(state, {false, true}).text, " ");
  EXPECT_EQ(ui.messageTexts(), QStringList(kTeamsWithoutGroup));
  EXPECT_TRUE(ui.saveRequests.isEmpty());
}

}  // namespace
}  // namespace kx::test
