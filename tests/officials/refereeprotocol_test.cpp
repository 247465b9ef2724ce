#include "officials/refereeprotocol.h"

#include "tests/officials/officialsfixture.h"

namespace kx::test {
namespace {

class RefereeTest : public OfficialsFixture {
 protected:
  // `nas` non-starters, `niz` non-finishers and `dis` disqualified racers in run 1.
  static db::CompetitionSpec Race(int nas, int niz, int dis) {
    db::CompetitionSpec race = SmallCompetition();
    race.teilnehmer.clear();
    int id = 0;
    auto add = [&](int ergcode, std::optional<QString> note = std::nullopt) {
      ++id;
      race.teilnehmer.push_back(Racer(id, "W", id));
      race.zeiten.push_back(Time(id, 1, ergcode, std::nullopt, std::move(note)));
    };
    for (int i = 0; i < nas; ++i) add(1);
    for (int i = 0; i < niz; ++i) add(2);
    for (int i = 0; i < dis; ++i) add(3, QString("Tor %1").arg(i + 1));
    return race;
  }
  PdfReader drawRun(const QString& name, const RefereeRun& run) {
    return draw(name, false,
                [&](pdf::PdfPen& pen) { DrawRefereeRun(pen, state_, event_, run, false); });
  }
  QString path(const QString& name) { return dir_.filePath(name); }
};

TEST_F(RefereeTest, DisqualificationTextGivesGateOrRemark) {
  const struct {
    const char* text;
    const char* gate;
    const char* remark;
  } cases[] = {
      {"Tor 12", "12", ""},
      {"TOR 7a", "7a", ""},
      {"tOr 3 links", "3 links", ""},
      {"12", "12", ""},
      {"tor", "tor", ""},
      {"Tor-12 eingefädelt", "", "Tor-12 eingefädelt"},
      {"Torlauf verpasst", "", "Torlauf verpasst"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    const DisqualNote note = SplitDisqualText(QString::fromUtf8(c.text));
    EXPECT_EQ(note.gate, QString::fromUtf8(c.gate)) << c.text;
    EXPECT_EQ(note.remark, QString::fromUtf8(c.remark)) << c.text;
  }
  for (const auto& [bibs, least, rows] : {std::tuple{0, 2, 2},
                                          {13, 2, 2},
                                          {26, 2, 3},
                                          {40, 2, 4},
                                          {0, 3, 3},
                                          {13, 3, 3},
                                          {40, 3, 4},
                                          {300, 2, 24}}) {
    EXPECT_EQ(BibGridRows(bibs, least), rows) << bibs << " " << least;
  }
}

TEST_F(RefereeTest, RunPageWithTheLeastGrids) {
  db::CompetitionSpec race = Race(3, 0, 2);
  race.teilnehmer[0].disziplinen[2].aktiv = false;  // not entered: left out
  race.teilnehmer[4].verein.reset();
  race.zeiten[4].disqualtext = "Stangenbruch im Steilhang";
  open(race);
  const RefereeRun run = ReadRefereeRun(state_, 1);
  EXPECT_EQ(run.notStarted, QStringList({"2", "3"}));
  ASSERT_EQ(run.disqualified.size(), 2u);
  EXPECT_EQ(run.disqualified[0].name, "Racer4 Test, SC Musterdorf");
  EXPECT_EQ(run.disqualified[1].name, "Racer5 Test");

  const PdfReader pdf = drawRun("referee-least.pdf", run);
  ASSERT_EQ(pdf.pageCount(), 1);
  for (const auto& [text, top] : {std::pair{"Nicht am Start:", 290},
                                  {"Nicht im Ziel:", 570},
                                  {"Die folgenden Wettkämpfer", 940}}) {
    const auto line = pdf.findLine(text);
    ASSERT_TRUE(line) << text;
    EXPECT_NEAR(line->top(), top, 1) << text;
    EXPECT_NEAR(line->left(), 130, 1) << text;
  }
  const auto bib = pdf.findWord("3");
  ASSERT_TRUE(bib);
  EXPECT_NEAR(bib->centerX(), 275 + 145 / 2.0, 1);
  EXPECT_NEAR(bib->top(), 360, 1);
  EXPECT_NEAR(bib->size, 14, 0.2);
  const auto gates = pdf.findWords("1");
  ASSERT_EQ(gates.size(), 2);  // "DG 1" and the gate
  const auto gate = gates.last();
  EXPECT_NEAR(gate.centerX(), (875 + 1020) / 2.0, 1);
  EXPECT_NEAR(gate.top(), 1070, 1);
  const auto remark = pdf.findWord("Stangenbruch");
  ASSERT_TRUE(remark);
  EXPECT_NEAR(remark->left(), 1535, 1);
  EXPECT_NEAR(remark->top(), 1160 + 8, 1);
  EXPECT_NEAR(pdf.findWord("Torrichter")->left(), 1035, 1);

  // Grids 340-520 and 620-890, the table's 18 rows from 1050 to 2670, the signature lines.
  const std::vector<Stroke> strokes = StrokesOf(path("referee-least.pdf"), 1);
  std::vector<int> expected{340, 430, 520, 620, 710, 800, 890, 990, 1050};
  for (int k = 1; k <= 18; ++k) expected.push_back(1050 + 90 * k);
  EXPECT_EQ(RulesBetween(strokes, 130, 2015), expected);
  EXPECT_EQ(RulesBetween(strokes, 1450, 2015), std::vector<int>{2800});
  const auto label = pdf.findLine("Schiedsrichter / Nat. TD");
  ASSERT_TRUE(label);
  EXPECT_NEAR(label->top(), 2805, 1);
}

TEST_F(RefereeTest, EighteenFillThePageAndTheNineteenthContinues) {
  open(Race(0, 0, 19));
  const PdfReader pdf = drawRun("referee-19.pdf", ReadRefereeRun(state_, 1));
  ASSERT_EQ(pdf.pageCount(), 2);
  EXPECT_NEAR(pdf.findWord("18", 1)->top(), 1050 + 17 * 90 + 20, 1);
  EXPECT_FALSE(pdf.findWord("19", 1));
  EXPECT_FALSE(pdf.findLine("Anschlagzeit", 1));
  const auto next = pdf.findLine("Die folgenden Wettkämpfer", 2);
  ASSERT_TRUE(next);
  EXPECT_NEAR(next->top(), 290, 1);
  EXPECT_TRUE(pdf.findLine("DG 1", 2));
  EXPECT_NEAR(pdf.findWord("19", 2)->top(), 420, 1);
  const std::vector<int> rules = RulesBetween(StrokesOf(path("referee-19.pdf"), 2), 130, 2015);
  ASSERT_EQ(rules.size(), 27u);  // top, head line and 25 rows
  EXPECT_EQ(rules.front(), 340);
  EXPECT_EQ(rules.back(), 2650);
  EXPECT_EQ(RulesBetween(StrokesOf(path("referee-19.pdf"), 2), 1450, 2015), std::vector<int>{2780});
}

TEST_F(RefereeTest, ManyBibsContinueOnNewPagesAboveTheFoot) {
  open(Race(400, 40, 1));
  const PdfReader pdf = drawRun("referee-400.pdf", ReadRefereeRun(state_, 1));
  ASSERT_GE(pdf.pageCount(), 2);
  QStringList bibs;
  for (int p = 1; p <= pdf.pageCount(); ++p) {
    for (const PdfWord& w : pdf.wordsOnPage(p)) {
      if (w.top() < 2880) {
        EXPECT_LT(w.bottom(), 2880) << w.text.toStdString() << " page " << p;
      }
      if (w.size > 13 && w.top() > 280 && w.left() < 2015 && w.text.toInt() > 0) bibs << w.text;
    }
    for (const Stroke& s : StrokesOf(path("referee-400.pdf"), p))
      EXPECT_LE(std::max(s.y1, s.y2), 2801);
  }
  EXPECT_EQ(bibs.size(), 400 + 40 + 1 + 1);  // and the gate of the disqualified
  // 31 rows of non-starters: 25 on the first page, 6 under the heading again on the second,
  // followed there by the non-finishers.
  EXPECT_TRUE(pdf.findLine("Nicht am Start:", 1));
  ASSERT_TRUE(pdf.findLine("Nicht am Start:", 2));
  EXPECT_NEAR(pdf.findLine("Nicht am Start:", 2)->top(), 290, 1);
  EXPECT_NEAR(pdf.findLine("Nicht im Ziel:", 2)->top(), 290 + 50 + 6 * 90 + 50, 1);
}

}  // namespace
}  // namespace kx::test
