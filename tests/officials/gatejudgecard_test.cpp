#include "officials/gatejudgecard.h"

#include "tests/officials/officialsfixture.h"

#include <QComboBox>

namespace kx::test {
namespace {

class GateJudgeCardTest : public OfficialsTest {};

TEST_F(GateJudgeCardTest, CardBesideTheInstructions) {
  openRace(SmallCompetition());
  const PdfReader pdf = write("BearbeitenTorrichterkarte", "card.pdf");
  EXPECT_NEAR(pdf.pageSize(1).width(), 2970, 2);
  EXPECT_NEAR(pdf.findWord("Torrichterkarte")->top(), 90, 1);
  const auto date = pdf.findLine("16.01.2027 Riesenslalom");
  EXPECT_NEAR(date->left(), 450, 1);
  EXPECT_NEAR(date->top(), 145, 1);
  EXPECT_FALSE(pdf.findWord("Kinder"));  // the event name's second line
  EXPECT_NEAR(pdf.findWords("v").value(3).left(), 674, 1);
  EXPECT_EQ(pdf.findWords("erstellt").size(), 1);
  EXPECT_NEAR(pdf.findWord("erstellt")->top(), 2020, 1);

  // 22 entry rows from 435, 70 high, the last ending at 1975, in line width 1 like the
  // boxes above them.
  const std::vector<Stroke> strokes = StrokesOf(out("card.pdf"), 1);
  const std::vector<int> rules = RulesBetween(strokes, 80, 300);
  ASSERT_EQ(rules.size(), 24u);  // the heads' box from 365, then 435, 505, ..., 1975
  EXPECT_EQ(rules[1], 435);
  EXPECT_EQ(rules.back(), 1975);
  for (const Stroke& s : strokes)
    EXPECT_TRUE((std::abs(s.y1 - 1975) >= 1 && std::abs(s.y1 - 225) >= 1) || s.width == 1);

  // The instructions: each bullet 10 below the end of the one before, 55 after a section,
  // wrapped between 170 and 1350.
  EXPECT_NEAR(pdf.findLine("Ausfüllen der Torrichterkarte vor dem Rennen/Durchgang")->top(), 225,
              1);
  EXPECT_EQ(pdf.findWords("•").size(), 18);
  const double line =
      pdf.findLine("Nummern der Tore")->top() - pdf.findLine("Name und Handy")->top() - 10;
  const auto doubt = pdf.findLine("Wenn man sich nicht sicher ist, ob");
  EXPECT_NEAR(pdf.findLine("Man kann auch")->top() - doubt->top(), 3 * line + 10, 2);
  EXPECT_NEAR(pdf.findLine("Kommunikation mit dem Läufer")->top() -
                  pdf.findLine("sollte die eigene Entscheidung")->top(),
              line + 55, 2);
  EXPECT_TRUE(pdf.findLine("„Gut“, wenn kein Fehler vorliegt."));
  for (const PdfWord& w : pdf.wordsOnPage(1))
    EXPECT_TRUE(w.left() <= 1485 + 170 || w.right() < 1485 + 1351) << w.text.toStdString();
}

TEST_F(GateJudgeCardTest, TwoCardsOrTypedTextForOne) {
  openRace(SmallCompetition());
  trigger("BearbeitenTorrichterkarte");
  auto* variant = window().findChild<QComboBox*>("Torrichterkarteart");
  variant->setCurrentIndex(1);
  const PdfReader two = write("", "two.pdf");
  EXPECT_NEAR(two.findWords("Torrichterkarte").value(1).left(), 1485 + 80, 1);
  EXPECT_EQ(two.findWords("erstellt").size(), 2);
  const std::vector<Stroke> strokes = StrokesOf(out("two.pdf"), 1);
  EXPECT_EQ(RulesBetween(strokes, 80, 1400), RulesBetween(strokes, 1485 + 80, 1485 + 1400));

  variant->setEditText("eine Karte");
  const PdfReader one = write("", "one.pdf");
  for (const PdfWord& w : one.wordsOnPage(1)) EXPECT_LT(w.left(), 1485) << w.text.toStdString();
}

}  // namespace
}  // namespace kx::test
