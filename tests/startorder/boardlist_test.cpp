#include "startorder/boardlist.h"

#include "tests/startorder/boardfixture.h"
#include "tests/support/pdfreader.h"

#include <QCheckBox>
#include <QImage>
#include <QTemporaryDir>

namespace kx::test {
namespace {

// Racers in classes of the given sizes ("Klasse A", "Klasse B", ...), bibs in class order.
db::CompetitionSpec RacersInClasses(const std::vector<int>& sizes) {
  db::CompetitionSpec race = SmallCompetition();
  race.klassen.clear();
  race.teilnehmer.clear();
  int id = 0;
  for (int k = 1; k <= static_cast<int>(sizes.size()); ++k) {
    race.klassen.push_back({k, QString("Klasse %1").arg(QChar('A' + k - 1)), "W", 2016, 1, k});
    for (int i = 0; i < sizes[static_cast<size_t>(k - 1)]; ++i) {
      db::TeilnehmerSpec t;
      t.id = ++id;
      t.sex = "W";
      t.nachname = QString("Läufer%1").arg(id, 3, 10, QChar('0'));
      t.vorname = "Vroni";
      t.jahrgang = 2012;
      t.klasse = k;
      t.verein = QString("SC Musterdorf");
      t.disziplinen[2] = {true, id, 9999.99, 9999.99};
      race.teilnehmer.push_back(t);
    }
  }
  return race;
}

struct Choice {
  QString grouping = "keine Unterteilung";
  bool newPage = false;
  bool landscape = false;
  int timeColumns = 2;
  int emptyRows = 2;
};

// The bibs of a page: the numbers in the bib column.
QList<PdfWord> Bibs(const PdfReader& pdf, int page) {
  QList<PdfWord> bibs;
  for (const PdfWord& w : pdf.wordsOnPage(page)) {
    bool number = false;
    w.text.toInt(&number);
    if (number && w.right() < 230) bibs.append(w);
  }
  return bibs;
}

// A page rendered at one pixel per unit, to find the lines of the grid.
class PageImage {
 public:
  PageImage(const QString& pdf, int page) {
    const QString png = dir_.filePath("page.png");
    EXPECT_TRUE(RenderPdfPage(pdf, page, png, 254) && image_.load(png));
  }
  // Ink within two units of (x, y).
  bool ink(int x, int y) const {
    for (int dx = -2; dx <= 2; ++dx)
      for (int dy = -2; dy <= 2; ++dy) {
        const QPoint p(x + dx, y + dy);
        if (image_.valid(p) && qGray(image_.pixel(p)) < 128) return true;
      }
    return false;
  }
  // A rule across the portrait grid at y.
  bool rule(int y) const {
    for (int x = 100; x <= 1950; x += 50)
      if (!ink(x, y)) return false;
    return true;
  }
  // A vertical line at x from y1 to y2.
  bool column(int x, int y1, int y2) const {
    for (int y = y1; y <= y2; y += 10)
      if (!ink(x, y)) return false;
    return true;
  }

 private:
  QTemporaryDir dir_;
  QImage image_;
};

class BoardListTest : public BoardFixture {
 protected:
  // Writes the list through the panel and F2 into `path` (the default output path when
  // empty).
  void writeList(const Choice& c, const QString& lookName, const QString& path = QString()) {
    openPanel("BearbeitenTafelliste", "Tafelliste", c.grouping);
    control<QCheckBox>("TafelneueSeite")->setChecked(c.newPage);
    control<QComboBox>("TafelFormat")->setCurrentIndex(c.landscape ? 1 : 0);
    control<QComboBox>("TafelZeitspalten")->setCurrentIndex(c.timeColumns - 2);
    control<QComboBox>("TafelLeerzeilen")->setCurrentIndex(c.emptyRows);
    outputWithF2(path.isEmpty() ? outputPath() : path, lookName);
  }
};

TEST_F(BoardListTest, PanelDefaultsAndTheRowOfARacer) {
  auto race = SmallCompetition();
  race.teilnehmer[0].nachname = "Oberhollenzer-Wildschönau";
  race.teilnehmer[0].vorname = "Anna-Katharina Maximiliane";
  race.teilnehmer[1].verein = QString("SKI-CLUB MUENCHEN E.V.");
  openCompetition(race);
  trigger("BearbeitenTafelliste");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Liste für Schreibtafel");
  EXPECT_FALSE(control<QCheckBox>("TafelneueSeite")->isChecked());
  EXPECT_EQ(control<QComboBox>("TafelFormat")->currentText(), "Hochformat");
  EXPECT_EQ(control<QComboBox>("TafelZeitspalten")->currentText(), "2");
  EXPECT_EQ(control<QComboBox>("TafelLeerzeilen")->currentText(), "2");
  EXPECT_EQ(control<QLabel>("TafelBezVeranst")->text(), "Bezirkscup\r\nKinder");

  writeList({}, "board-row.pdf");
  EXPECT_EQ(resultLabel()->text(), "Tafelliste gespeichert unter: " + outputPath());
  EXPECT_EQ(ui().saveRequests[0].fileName, "Cup-Tafelliste-Riesenslalom.pdf");
  EXPECT_EQ(ui().viewerOpened, QStringList{outputPath()});
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.title(), "Tafelliste Cup Riesenslalom");
  // Heading: the first line of the event name, four blanks, the discipline.
  const auto heading = pdf.findLine("Bezirkscup");
  ASSERT_TRUE(heading);
  EXPECT_EQ(heading->text(), "Bezirkscup Riesenslalom");
  EXPECT_NEAR(heading->top(), 110, 2);
  EXPECT_NEAR((heading->left() + heading->right()) / 2, 1035, 3);
  EXPECT_NEAR(heading->words[0].size, 14, 0.2);

  // Bib 2 in the second row: top 210 + 70, text 11 below; the club 4 lower.
  EXPECT_TRUE(pdf.findLine("2 Öhler Ben 2014 Ski-Club München e.V."));
  EXPECT_NEAR(pdf.findWord("2")->centerX(), 120, 3);
  EXPECT_TRUE(pdf.findWord("2")->bold());
  EXPECT_NEAR(pdf.findWord("Öhler")->left(), 180, 2);
  EXPECT_NEAR(pdf.findWord("Öhler")->top(), 291, 2);
  EXPECT_NEAR(pdf.findWord("2014")->centerX(), 885, 3);
  const auto club = pdf.findWord("Ski-Club");
  EXPECT_NEAR(club->left(), 960, 2);
  EXPECT_NEAR(club->top(), 295, 2);
  EXPECT_NEAR(club->size, 10, 0.2);
  // A name too wide for its column: smaller by whole points, 2 units lower per point.
  const auto longName = pdf.findWord("Oberhollenzer-Wildschönau");
  ASSERT_TRUE(longName);
  EXPECT_NEAR(longName->top(), 221 + 2 * (12 - longName->size), 2);
  EXPECT_LE(pdf.findWord("Maximiliane")->right(), 820);
  // The credit line, unchanged.
  const auto credit = pdf.findLine("erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6");
  ASSERT_TRUE(credit);
  EXPECT_NEAR(credit->top(), 2900, 2);
}

TEST_F(BoardListTest, PortraitHolds38RowsOnTheFirstPageAnd40OnTheOthers) {
  openCompetition(RacersInClasses({100}));
  writeList({}, "board-portrait.pdf");
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 3);
  const int rows[] = {38, 40, 22};
  for (int page = 1; page <= 3; ++page) {
    const QList<PdfWord> bibs = Bibs(pdf, page);
    ASSERT_EQ(bibs.size(), rows[page - 1]) << page;
    EXPECT_NEAR(bibs.first().top(), page == 1 ? 221 : 81, 2) << page;
    EXPECT_EQ(pdf.findLine("erstellt mit", page).has_value(), page == 3) << page;
  }
  EXPECT_NEAR(Bibs(pdf, 2).last().top(), 2811, 2);
  EXPECT_FALSE(pdf.findWord("Klasse"));

  PageImage first(outputPath(), 1);
  EXPECT_TRUE(first.rule(70) && first.rule(210) && first.rule(2870));
  EXPECT_TRUE(first.column(70, 80, 2860));
  EXPECT_TRUE(first.column(170, 220, 2860));
  EXPECT_FALSE(first.ink(170, 150));  // the heading box has no column lines
  // The empty rows come after the last racer (his row ends at 70 + 22 * 70 = 1610), the
  // column lines run through them.
  PageImage last(outputPath(), 3);
  EXPECT_TRUE(last.rule(1610) && last.rule(1680) && last.rule(1750));
  EXPECT_FALSE(last.ink(600, 1820));
  EXPECT_TRUE(last.column(820, 80, 1740) && last.column(2000, 80, 1740));
  EXPECT_FALSE(last.ink(70, 1780));

  // Without groups a page per group changes nothing.
  const QString again = outputPath("again.pdf");
  writeList({.newPage = true}, "board-portrait-newpage.pdf", again);
  PdfReader same(again);
  ASSERT_EQ(same.pageCount(), 3);
  for (int page = 1; page <= 3; ++page) EXPECT_EQ(same.lineTexts(page), pdf.lineTexts(page));
}

TEST_F(BoardListTest, LandscapeHolds17RowsOnTheFirstPageAnd19OnTheOthers) {
  openCompetition(RacersInClasses({40}));
  writeList({.landscape = true, .emptyRows = 0}, "board-landscape.pdf");
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 3);
  EXPECT_NEAR(pdf.pageSize(1).width(), 2970, 2);
  const int rows[] = {17, 19, 4};
  for (int page = 1; page <= 3; ++page) {
    const QList<PdfWord> bibs = Bibs(pdf, page);
    ASSERT_EQ(bibs.size(), rows[page - 1]) << page;
    EXPECT_NEAR(bibs.first().top(), page == 1 ? 286 : 86, 2);
    EXPECT_NEAR(bibs.first().size, 17, 0.2);
  }
  EXPECT_NEAR(Bibs(pdf, 1).last().top(), 1886, 2);
  EXPECT_NEAR(pdf.findWord("Bezirkscup")->size, 20, 0.2);
  EXPECT_NEAR(pdf.findWord("Läufer001")->left(), 230, 2);
  EXPECT_NEAR(pdf.findWord("Musterdorf")->top(), 286 + 6, 2);
  EXPECT_NEAR(pdf.findWord("Musterdorf")->size, 14, 0.2);
  EXPECT_NEAR(pdf.findLine("erstellt mit", 3)->top(), 2030, 2);
  PageImage last(outputPath(), 3);
  EXPECT_TRUE(last.column(2870, 80, 460) && last.column(2485, 80, 460));
  EXPECT_FALSE(last.ink(2870, 500));  // four rows end at 470
}

TEST_F(BoardListTest, NewGroupNeedsRoomForItsHeadingRow) {
  // Klasse A ends at 280 + 35 * 70 = 2730: B's heading still fits (at most 2760), and
  // its second racer moves on. Klasse C ends at 2800 on page 2: D moves to page 3 though
  // a row of C would still fit there.
  openCompetition(RacersInClasses({35, 3, 36, 1}));
  writeList({.grouping = "Klasse", .emptyRows = 0}, "board-groups.pdf");
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 3);
  const auto b = pdf.findLine("Klasse B");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->words[0].page, 1);
  EXPECT_NEAR(b->top(), 2741, 2);
  EXPECT_TRUE(b->words[0].bold());
  EXPECT_NEAR((b->left() + b->right()) / 2, 1035, 3);
  // The page break inside B repeats no heading.
  EXPECT_EQ(pdf.lines(2).first().text(), "37 Läufer037 Vroni 2012 SC Musterdorf");
  EXPECT_NEAR(pdf.lines(2).first().top(), 81, 2);
  EXPECT_NEAR(pdf.findWord("Läufer074", 2)->top(), 2741, 2);
  const auto d = pdf.findLine("Klasse D");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->words[0].page, 3);
  EXPECT_NEAR(d->top(), 81, 2);
}

TEST_F(BoardListTest, PagePerGroupWithEmptyRowsAfterEachGroup) {
  openCompetition(RacersInClasses({3, 2, 39}));
  writeList({.grouping = "Klasse", .newPage = true, .emptyRows = 2}, "board-pergroup.pdf");
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 4);
  EXPECT_NEAR(pdf.findLine("Klasse A", 1)->top(), 221, 2);
  EXPECT_NEAR(pdf.findLine("Klasse B", 2)->top(), 81, 2);
  EXPECT_NEAR(pdf.findLine("Klasse C", 3)->top(), 81, 2);
  EXPECT_EQ(Bibs(pdf, 3).size(), 39);

  // Page 1: A's rows end at 490, its empty rows at 560 and 630, and the grid with them.
  PageImage one(outputPath(), 1);
  EXPECT_TRUE(one.rule(280) && one.rule(490) && one.rule(560) && one.rule(630));
  EXPECT_FALSE(one.ink(600, 700));
  EXPECT_TRUE(one.column(820, 290, 620));
  EXPECT_FALSE(one.ink(820, 250));  // the group's heading row spans the page
  // C fills page 3 down to 2870: its empty rows start a page of their own.
  PageImage four(outputPath(), 4);
  EXPECT_TRUE(four.rule(70) && four.rule(140) && four.rule(210));
  EXPECT_FALSE(four.ink(600, 280));
  EXPECT_TRUE(four.column(1470, 80, 200));
  EXPECT_TRUE(pdf.findLine("erstellt mit", 4));
}

TEST_F(BoardListTest, ThreeTimeColumnsAddTheLineBetweenTheLastTwo) {
  openCompetition(RacersInClasses({5}));
  writeList({.timeColumns = 3}, "board-three.pdf");
  PdfReader three(outputPath());
  EXPECT_NEAR(three.findWord("SC")->left(), 870, 2);
  EXPECT_NEAR(three.findWord("2012")->centerX(), 800, 3);
  PageImage threeImage(outputPath(), 1);
  for (int x : {170, 740, 860, 1320, 1545, 1770, 2000})
    EXPECT_TRUE(threeImage.column(x, 220, 620)) << x;

  const QString two = outputPath("two.pdf");
  writeList({.timeColumns = 2}, "board-two.pdf", two);
  EXPECT_NEAR(PdfReader(two).findWord("SC")->left(), 960, 2);
  PageImage twoImage(two, 1);
  for (int x : {170, 820, 950, 1470, 1735, 2000}) EXPECT_TRUE(twoImage.column(x, 220, 620)) << x;
  EXPECT_FALSE(twoImage.ink(1770, 400));
}

TEST_F(BoardListTest, SexGroupsPrintTheWordsOfTheRaceNumber) {
  auto race = SmallCompetition();
  race.kategorien = {{"W", "W", 1}, {"M", "M", 2}};
  race.disziplinen[0].bewerbsnummer = QString("MB12");
  openCompetition(race);
  writeList({.grouping = "Kategorie / StartNr"}, "board-sex.pdf");
  PdfReader pdf(outputPath());
  const auto girls = pdf.findWord("Mädchen");
  const auto boys = pdf.findWord("Buben");
  ASSERT_TRUE(girls && boys);
  EXPECT_LT(girls->top(), boys->top());
  EXPECT_FALSE(pdf.findWord("W"));
}

TEST_F(BoardListTest, FisTypesOfferNoGroupingAndPrintTheNation) {
  auto race = SmallCompetition();
  race.bewerb.typ = 1;
  race.teilnehmer[0].nation = QString("ITA");
  openCompetition(race);
  trigger("BearbeitenTafelliste");
  EXPECT_EQ(control<QComboBox>("TafelGruppe")->count(), 1);
  writeList({}, "board-fis.pdf");
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.findWord("ITA"));
  EXPECT_NEAR(pdf.findWord("ITA")->left(), 960, 2);
  EXPECT_FALSE(pdf.findWord("Musterdorf"));
}

TEST_F(BoardListTest, CancelAndUnwritableFileLeaveThePanelOpen) {
  openCompetition(SmallCompetition());
  expectCancelAndUnwritableFile("BearbeitenTafelliste", "Tafelliste");
}

TEST_F(BoardListTest, WithoutRacersNothingIsWritten) {
  auto race = SmallCompetition();
  for (auto& t : race.teilnehmer) t.disziplinen[2].startnr.reset();
  openCompetition(race);
  writeList({}, "board-empty.pdf");
  ASSERT_EQ(ui().messageTexts(), QStringList{"Keine Daten gefunden!"});
  EXPECT_EQ(resultLabel()->text(), " ");
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(outputPath()));
}

}  // namespace
}  // namespace kx::test
