#include "officials/gatejudgecard.h"

#include "tests/officials/officialsfixture.h"

namespace kx::test {
namespace {

class GateJudgeCardTest : public OfficialsFixture {
 protected:
  PdfReader drawCard(const QString& name, CardLayout layout) {
    open(SmallCompetition());
    return draw(name, true,
                [&](pdf::PdfPen& pen) { DrawGateJudgeCard(pen, state_, event_, layout); });
  }
};

TEST_F(GateJudgeCardTest, CardBesideTheInstructions) {
  const PdfReader pdf = drawCard("card-instructions.pdf", CardLayout::CardAndInstructions);
  ASSERT_EQ(pdf.pageCount(), 1);
  EXPECT_NEAR(pdf.pageSize(1).width(), 2970, 2);
  EXPECT_NEAR(pdf.pageSize(1).height(), 2100, 2);

  const auto title = pdf.findWord("Torrichterkarte");
  ASSERT_TRUE(title);
  EXPECT_NEAR(title->left(), 80, 1);
  EXPECT_NEAR(title->top(), 90, 1);
  EXPECT_NEAR(title->size, 12, 0.2);
  const auto date = pdf.findLine("16.01.2027 Riesenslalom");
  ASSERT_TRUE(date);
  EXPECT_NEAR(date->left(), 450, 1);
  EXPECT_NEAR(date->top(), 145, 1);
  EXPECT_TRUE(date->words.first().bold());
  const auto start = pdf.findWord("Start-Nr.");
  ASSERT_TRUE(start);
  EXPECT_TRUE(start->bold());
  EXPECT_NEAR(start->left(), 120, 1);
  const auto v = pdf.findWords("v");
  ASSERT_EQ(v.size(), 4);
  EXPECT_NEAR(v[3].left(), 674, 1);
  EXPECT_NEAR(v[3].top(), 405, 1);
  const auto credits = pdf.findWords("erstellt");
  ASSERT_EQ(credits.size(), 1);
  EXPECT_NEAR(credits[0].top(), 2020, 1);
  EXPECT_NEAR(credits[0].size, 6, 0.2);

  // 22 entry rows from 435, 70 high, the last ending at 1975, drawn in line width 1 like
  // the boxes above them.
  const std::vector<Stroke> strokes = StrokesOf(dir_.filePath("card-instructions.pdf"), 1);
  std::vector<int> rows;
  for (int i = 0; i <= 22; ++i) rows.push_back(435 + 70 * i);
  const std::vector<int> bibRules = RulesBetween(strokes, 80, 300);
  ASSERT_GE(bibRules.size(), 23u);
  EXPECT_EQ(std::vector<int>(bibRules.end() - 23, bibRules.end()), rows);
  for (const Stroke& s : strokes) {
    if (s.horizontal() && (std::abs(s.y1 - 1975) < 1 || std::abs(s.y1 - 225) < 1)) {
      EXPECT_NEAR(s.width, 1, 0.01);
    }
  }

  // The instructions: six headings in bold, bullets from 170 wrapped before 1350, each
  // bullet 10 below the end of the one before it.
  const auto heading = pdf.findLine("Anweisungen für Torrichter");
  ASSERT_TRUE(heading);
  EXPECT_NEAR(heading->left(), 1485 + 80, 1);
  EXPECT_NEAR(heading->top(), 110, 1);
  const auto first = pdf.findLine("Ausfüllen der Torrichterkarte vor dem Rennen/Durchgang");
  ASSERT_TRUE(first);
  EXPECT_NEAR(first->top(), 225, 1);
  EXPECT_EQ(pdf.findWords("•").size(), 18);
  const auto bullet1 = pdf.findLine("Name und Handy-Nr des Torrichters");
  const auto bullet2 = pdf.findLine("Nummern der Tore, die zu überwachen sind");
  ASSERT_TRUE(bullet1 && bullet2);
  EXPECT_NEAR(bullet1->top(), 275, 1);
  EXPECT_NEAR(bullet1->left(), 1485 + 130, 1);  // the bullet sign
  const double lineHeight = bullet2->top() - bullet1->top() - 10;
  EXPECT_NEAR(lineHeight, 9 * kUnitsPerPoint * 1.15, 3);
  EXPECT_TRUE(pdf.findLine("Wenn man sich nicht sicher ist …"));
  EXPECT_TRUE(pdf.findLine("„Gut“, wenn kein Fehler vorliegt."));
  for (const PdfWord& w : pdf.wordsOnPage(1)) {
    if (w.left() > 1485 + 170) {
      EXPECT_LT(w.right(), 1485 + 1350 + 1) << w.text.toStdString();
    }
  }
  // The long bullet wraps: the next section heading stands 55 below its last line.
  const auto doubt = pdf.findLine("Wenn man sich nicht sicher ist, ob ein Läufer");
  const auto after = pdf.findLine("Man kann auch einen benachbarten Torrichter");
  ASSERT_TRUE(doubt && after);
  EXPECT_NEAR(after->top() - doubt->top(), 3 * lineHeight + 10, 3);
}

TEST_F(GateJudgeCardTest, TwoCardsOrOneWithAnEmptyHalf) {
  const PdfReader two = drawCard("card-two.pdf", CardLayout::TwoCards);
  const auto titles = two.findWords("Torrichterkarte");
  ASSERT_EQ(titles.size(), 2);
  EXPECT_NEAR(titles[1].left(), 1485 + 80, 1);
  EXPECT_EQ(two.findWords("erstellt").size(), 2);
  EXPECT_FALSE(two.findLine("Anweisungen für Torrichter"));
  const std::vector<Stroke> strokes = StrokesOf(dir_.filePath("card-two.pdf"), 1);
  EXPECT_EQ(RulesBetween(strokes, 80, 1400), RulesBetween(strokes, 1485 + 80, 1485 + 1400));

  const PdfReader one = drawCard("card-one.pdf", CardLayout::CardOnly);
  for (const PdfWord& w : one.wordsOnPage(1)) EXPECT_LT(w.left(), 1485) << w.text.toStdString();
  EXPECT_EQ(CardLayoutOfIndex(-1), CardLayout::CardOnly);
  EXPECT_EQ(CardLayoutOfIndex(1), CardLayout::TwoCards);
}

}  // namespace
}  // namespace kx::test
