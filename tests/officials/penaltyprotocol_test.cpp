#include "officials/penaltyprotocol.h"

#include "tests/officials/officialsfixture.h"

namespace kx::test {
namespace {

class PenaltyTest : public OfficialsFixture {};

// The women's group of the worked example: best time 45,65 by a "D", so the surcharge is
// 13,695 -> 13,70 and P is R(5934.5) = 59,34 (halves to the even neighbour).
db::CompetitionSpec Example() {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer.clear();
  race.zeiten.clear();
  const struct {
    int id;
    const char* sex;
    int bib;
    int ergcode;
    std::optional<qint64> time;
    std::optional<QString> note;
  } rows[] = {
      {1, "D", 7, 0, 4565, {}},      // best time
      {2, "W", 3, 0, 5934, {}},      // equal to P: not listed
      {3, "W", 9, 0, 5935, {}},      // one hundredth more: listed
      {4, "W", 2, 2, {}, {}},        // did not finish
      {5, "D", 5, 3, {}, "Tor 12"},  // disqualified
      {6, "W", 4, 1, {}, {}},        // did not start: never
      {7, "W", 1, 0, {}, {}},        // valid without run time: neither best nor listed
      {8, "X", 8, 0, 9000, {}},      // no group
      {9, "M", 6, 2, {}, {}},        // men without a finisher: nobody listed
  };
  for (const auto& r : rows) {
    race.teilnehmer.push_back(Racer(r.id, r.sex, r.bib));
    race.zeiten.push_back(Time(r.id, 1, r.ergcode, r.time, r.note));
    race.zeiten.push_back(Time(r.id, 2, 0, 4000));  // run 2 is not this protocol's
  }
  db::TeilnehmerSpec notEntered = Racer(10, "W", 10);
  notEntered.disziplinen[2].aktiv = false;
  race.teilnehmer.push_back(notEntered);
  race.zeiten.push_back(Time(10, 1, 0, 4000));
  return race;
}

QStringList Bibs(const std::vector<PenaltyRow>& rows) {
  QStringList bibs;
  for (const PenaltyRow& r : rows) bibs << r.bib;
  return bibs;
}

TEST_F(PenaltyTest, RoundsExactHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHundredths(4566.5), 4566);
  EXPECT_EQ(RoundHundredths(4567.5), 4568);
  const PenaltyGroup a = PenaltyFromBest(4575);  // 1372.5 and 5947.5
  EXPECT_EQ(a.surcharge, 1372);
  EXPECT_EQ(a.penalty, 5948);
  const PenaltyGroup b = PenaltyFromBest(4567);
  EXPECT_EQ(b.surcharge, 1370);
  EXPECT_EQ(b.penalty, 5937);
  EXPECT_EQ(PenaltyTimeText(4567), "0:45,67");
  EXPECT_EQ(PenaltyTimeText(11999), "1:59,99");
  EXPECT_EQ(PenaltyTimeText(23999), "3:59,99");
}

TEST_F(PenaltyTest, GroupsBestTimesAndListedRacers) {
  open(Example());
  const PenaltyData data = ReadPenaltyData(state_, 1);
  const PenaltyGroup& women = data.groups[0];
  ASSERT_TRUE(women.hasBest);
  EXPECT_EQ(women.best, 4565);
  EXPECT_EQ(women.surcharge, 1370);
  EXPECT_EQ(women.penalty, 5934);
  EXPECT_EQ(women.fastestCode, "D");
  EXPECT_EQ(women.heading, "Mädchen");
  EXPECT_EQ(Bibs(data.listed[0]), QStringList({"2", "5", "9"}));
  EXPECT_FALSE(data.groups[1].hasBest);
  EXPECT_TRUE(data.groups[1].heading.isEmpty());
  EXPECT_TRUE(data.listed[1].empty());

  // Write-back: the listed rows become valid times P, start and finish emptied.
  {
    db::Transaction t = state_.db().transaction();
    EXPECT_EQ(WritePenaltyTimes(state_.db(), 2, data), 3);
    t.commit();
  }
  const db::Recordset rs = state_.db().query(
      "select teilnehmer,ergcode,start,ziel,netto*8640000 as zeit,disqualtext from tblZeit "
      "where disziplin=2 and durchgang=1 order by teilnehmer");
  for (int i = 0; i < rs.count(); ++i) {
    const int id = rs.at(i, "teilnehmer").toInt();
    const int time = RoundHundredths(rs.at(i, "zeit").toDouble());
    if (id == 3 || id == 4 || id == 5) {
      EXPECT_TRUE(rs.at(i, "start").isNull() && rs.at(i, "ziel").isNull()) << id;
      EXPECT_EQ(rs.at(i, "ergcode").toInt(), 0) << id;
      EXPECT_EQ(time, 5934) << id;
    } else {
      EXPECT_FALSE(rs.at(i, "start").isNull() && time == 5934) << id;
    }
  }
  EXPECT_EQ(state_.db().scalar("select ergcode from tblZeit where teilnehmer=6").toInt(), 1);
  EXPECT_EQ(state_.db().scalar("select disqualtext from tblZeit where teilnehmer=5").toString(),
            "Tor 12");
  // After one write-back nobody is slower than P any more.
  EXPECT_EQ(ReadPenaltyData(state_, 1).listedCount(), 0);
}

TEST_F(PenaltyTest, PageOfTheWorkedExample) {
  open(Example());
  const PenaltyData data = ReadPenaltyData(state_, 1);
  const PdfReader pdf = draw("penalty-example.pdf", false, [&](pdf::PdfPen& pen) {
    DrawPenaltyProtocol(pen, state_, event_, data);
  });
  ASSERT_TRUE(pdf.isValid());
  EXPECT_EQ(pdf.pageCount(), 1);
  const auto title = pdf.findWord("Penalty");
  ASSERT_TRUE(title);
  EXPECT_NEAR(title->left(), 130, 1);
  EXPECT_NEAR(title->top(), 130, 1);
  EXPECT_NEAR(title->size, 14, 0.2);
  EXPECT_FALSE(title->bold());
  const auto number = pdf.findWord("1234");
  ASSERT_TRUE(number);
  EXPECT_NEAR(number->right(), 2015, 1);
  EXPECT_TRUE(number->bold());
  EXPECT_TRUE(pdf.findLine("DG 1"));
  EXPECT_TRUE(pdf.findLine("16.01.2027 Riesenslalom"));

  // The table of best times: one row, the women's.
  const auto rule = pdf.findLine("PENALTY-REGEL plus 30% Zeitzuschlag auf die Bestzeit:");
  ASSERT_TRUE(rule);
  EXPECT_NEAR(rule->top(), 290, 1);
  const auto penalty = pdf.findWord("0:59,34");
  ASSERT_TRUE(penalty);
  EXPECT_NEAR(penalty->centerX(), (1680 + 2015) / 2.0, 1);
  EXPECT_NEAR(penalty->top(), 340 + 30 + 60 + 20, 1);
  EXPECT_TRUE(pdf.findWord("0:45,65"));
  EXPECT_TRUE(pdf.findWord("0:13,70"));

  // The list part: heading underlined at 38 below it, rows by bib 43 apart.
  const auto heading = pdf.findWord("Mädchen");
  ASSERT_TRUE(heading);
  EXPECT_NEAR(heading->left(), 290, 1);
  EXPECT_TRUE(heading->bold());
  EXPECT_FALSE(pdf.findWord("Buben"));
  const auto nif = pdf.findWord("NiZ");
  const auto dis = pdf.findWord("Dis");
  const auto slow = pdf.findWord("0:59,35");
  ASSERT_TRUE(nif && dis && slow);
  EXPECT_NEAR(nif->right(), 1480, 1);
  EXPECT_NEAR(nif->top(), heading->top() + 53, 1);
  EXPECT_NEAR(dis->top(), nif->top() + 43, 1);
  EXPECT_NEAR(slow->top(), dis->top() + 43, 1);
  EXPECT_NEAR(nif->size, 9, 0.2);
  const auto note = pdf.findWord("12");
  ASSERT_TRUE(note);
  EXPECT_NEAR(note->top(), dis->top(), 1);
  EXPECT_GT(note->left(), 1505);
  const auto year = pdf.findLine("Racer4 Test");
  ASSERT_TRUE(year);
  EXPECT_TRUE(year->text().endsWith("10 SC Musterdorf NiZ")) << year->text().toStdString();
  EXPECT_FALSE(pdf.findLine("Racer2 Test"));
  EXPECT_FALSE(pdf.findLine("Racer8 Test"));
  const auto credit = pdf.findLine("erstellt mit Kandrix");
  ASSERT_TRUE(credit);
  EXPECT_NEAR(credit->top(), 2900, 1);
}

}  // namespace
}  // namespace kx::test
