#include "officials/refereeprotocol.h"

#include "tests/officials/officialsfixture.h"

namespace kx::test {
namespace {

class RefereeTest : public OfficialsTest {
 protected:
  // `nas` non-starters, `niz` non-finishers and `dis` disqualified racers in run 1, bibs
  // from 1 in that order; the disqualified with "Tor <n>".
  void openRun(int nas, int niz, int dis) {
    db::CompetitionSpec race = SmallCompetition();
    race.teilnehmer.clear();
    for (int id = 1; id <= nas + niz + dis; ++id) {
      race.teilnehmer.push_back(Racer(id, "W", id));
      const int code = id <= nas ? 1 : id <= nas + niz ? 2 : 3;
      race.zeiten.push_back(Time(id, 1, code, std::nullopt, QString("Tor %1").arg(id)));
    }
    openRace(race);
  }
};

TEST(RefereeRules, GateOrRemarkAndGridRows) {
  QStringList notes;
  for (const char* text :
       {"Tor 12", "TOR 7a", "tOr 3 links", "12", "tor", "Tor-12 ab", "Torlauf", ""}) {
    const DisqualNote note = SplitDisqualText(QString::fromUtf8(text));
    notes << note.gate + "|" + note.remark;
  }
  EXPECT_EQ(notes,
            QStringList({"12|", "7a|", "3 links|", "12|", "tor|", "|Tor-12 ab", "|Torlauf", "|"}));
  QList<int> rows;
  for (const auto& [bibs, least] :
       {std::pair{0, 2}, {13, 2}, {26, 2}, {40, 2}, {0, 3}, {40, 3}, {300, 2}})
    rows << BibGridRows(bibs, least);
  EXPECT_EQ(rows, QList<int>({2, 2, 3, 4, 3, 4, 24}));
}

TEST_F(RefereeTest, TwoRunPagesWithTheLeastGrids) {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer[1].disziplinen[2].aktiv = false;  // not entered: left out
  race.teilnehmer[4].verein.reset();
  race.zeiten = {Time(1, 1, 1, {}),
                 Time(2, 1, 1, {}),
                 Time(3, 1, 1, {}),
                 Time(4, 1, 3, {}, QString("tor 9")),
                 Time(5, 1, 3, {}, QString("Stangenbruch im Steilhang")),
                 Time(6, 1, 3, {}, QString("TOR 12 ausgelassen")),
                 Time(6, 2, 2, {})};
  openRace(race);
  const PdfReader pdf = write("BearbeitenSchiedsrichterprotokoll", "sr.pdf");
  ASSERT_EQ(pdf.pageCount(), 2);
  EXPECT_TRUE(pdf.findLine("DG 2 16.01.2027 Riesenslalom", 2));
  for (const auto& [text, top] : {std::pair{"Nicht am Start:", 290},
                                  {"Nicht im Ziel:", 570},
                                  {"Die folgenden Wettkämpfer", 940}})
    EXPECT_NEAR(pdf.findLine(text, 1)->top(), top, 1) << text;
  EXPECT_EQ(pdf.lines(1).value(3).text(), "1 3");
  EXPECT_NEAR(pdf.findWords("3", 1).first().centerX(), 275 + 72.5, 1);
  EXPECT_NEAR(pdf.findWord("9", 1)->centerX(), (875 + 1020) / 2.0, 1);
  EXPECT_NEAR(pdf.findWord("9", 1)->top(), 1070, 1);
  EXPECT_TRUE(pdf.findLine("de Boer David, SC Musterdorf", 1));
  const auto remark = pdf.findWord("Stangenbruch", 1);
  EXPECT_NEAR(remark->left(), 1535, 1);
  EXPECT_NEAR(remark->top(), 1168, 1);
  EXPECT_TRUE(pdf.findLine("Ott Emil Stangenbruch im Steilhang", 1));
  EXPECT_NEAR(pdf.findWord("6", 2)->top(), 640, 1);
  const auto longGate = pdf.findWord("ausgelassen", 1);  // kept in its column
  EXPECT_TRUE(longGate && longGate->left() > 875 && longGate->right() < 1020);

  // Grids 340-520 and 620-890, 18 table rows from 1050 to 2670, signature lines at 2800.
  const std::vector<Stroke> strokes = StrokesOf(out("sr.pdf"), 1);
  std::vector<int> rules{340, 430, 520, 620, 710, 800, 890, 990, 1050};
  for (int k = 1; k <= 18; ++k) rules.push_back(1050 + 90 * k);
  EXPECT_EQ(RulesBetween(strokes, 130, 2015), rules);
  EXPECT_EQ(RulesBetween(strokes, 1450, 2015), std::vector<int>{2800});
  EXPECT_NEAR(pdf.findLine("Schiedsrichter / Nat. TD", 1)->top(), 2805, 1);
}

TEST_F(RefereeTest, GateTextsBreakOntoTwoLinesBeforeTheyShrink) {
  openRun(0, 0, 2);
  state().db().execute("update tblZeit set disqualtext='Tor 21 nicht passiert' where teilnehmer=1");
  state().db().execute("update tblZeit set disqualtext=? where teilnehmer=2",
                       {"Tor 5 links vom Kurs ausgelassen und nicht zurückgestiegen"});
  const PdfReader pdf = write("BearbeitenSchiedsrichterprotokoll", "tore.pdf");
  // Two lines in the cell (875 to 1020) of the first row (1050 to 1140), and a cut text.
  const PdfWord nicht = *pdf.findWord("nicht", 1), passiert = *pdf.findWord("passiert", 1);
  EXPECT_GT(passiert.size, 9);
  EXPECT_GT(passiert.top(), nicht.bottom() - 2);
  EXPECT_TRUE(nicht.left() > 875 && passiert.right() < 1020 && passiert.bottom() < 1140);
  const auto cut = pdf.findLine(QString(QChar(0x2026)), 1);
  ASSERT_TRUE(cut);
  EXPECT_TRUE(cut->words[0].size > 5.9 && cut->right() < 1020 && cut->top() < 1230);
}

TEST_F(RefereeTest, NineteenthDisqualifiedStartsAContinuationPage) {
  openRun(0, 0, 19);
  const PdfReader pdf = write("BearbeitenSchiedsrichterprotokoll", "sr19.pdf");
  ASSERT_EQ(pdf.pageCount(), 3);  // two runs; run 2 has nobody
  EXPECT_NEAR(pdf.findWords("18", 1).first().top(), 1050 + 17 * 90 + 20, 1);
  EXPECT_FALSE(pdf.findLine("Anschlagzeit", 1));
  EXPECT_NEAR(pdf.findLine("Die folgenden Wettkämpfer", 2)->top(), 290, 1);
  EXPECT_NEAR(pdf.findWords("19", 2).first().top(), 420, 1);
  const std::vector<Stroke> strokes = StrokesOf(out("sr19.pdf"), 2);
  const std::vector<int> rules = RulesBetween(strokes, 130, 2015);
  ASSERT_EQ(rules.size(), 27u);  // top, head line and 25 rows
  EXPECT_EQ(rules.back(), 2650);
}

TEST_F(RefereeTest, ManyBibsContinueAboveThePageFoot) {
  openRun(340, 14, 1);
  const PdfReader pdf = write("BearbeitenSchiedsrichterprotokoll", "sr400.pdf");
  // 27 rows of non-starters: 25 on the first page, 2 under the heading again on the second.
  EXPECT_NEAR(pdf.findLine("Nicht am Start:", 2)->top(), 290, 1);
  EXPECT_NEAR(pdf.findLine("Nicht im Ziel:", 2)->top(), 290 + 50 + 2 * 90 + 50, 1);
  int bibs = 0;
  for (int p = 1; p <= 2; ++p) {
    for (const PdfWord& w : pdf.wordsOnPage(p)) {
      if (w.size > 13 && w.top() > 280) ++bibs;
      EXPECT_TRUE(w.top() >= 2880 || w.bottom() < 2880) << w.text.toStdString();
    }
    for (const Stroke& s : StrokesOf(out("sr400.pdf"), p)) EXPECT_LE(std::max(s.y1, s.y2), 2801);
  }
  EXPECT_EQ(bibs, 340 + 14 + 1 + 1);  // and the gate of the disqualified
}

TEST_F(RefereeTest, WithoutEventRowNoRunPages) {
  openRun(1, 0, 0);
  state().db().execute("delete from tblDisziplin where dtyp = 2");
  const PdfReader pdf = write("BearbeitenSchiedsrichterprotokoll", "sr.pdf");
  EXPECT_EQ(ui().messageTexts(), QStringList{"Keine Daten gefunden!"});
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_EQ(label("Schiedsrichterprotokoll_Meldung")->text(),
            "Schiedsrichterprotokoll gespeichert unter: " + out("sr.pdf"));
  EXPECT_TRUE(pdf.words().isEmpty());
}

}  // namespace
}  // namespace kx::test
