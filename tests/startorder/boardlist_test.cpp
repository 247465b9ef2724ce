#include "startorder/boardlist.h"

#include "tests/startorder/boardfixture.h"
#include "tests/support/pdfreader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace kx::test {
namespace {

// Racers in classes of the given sizes ("Klasse A", "Klasse B", ...), bibs in class order.
db::CompetitionSpec RacersInClasses(const std::vector<int>& sizes) {
  db::CompetitionSpec spec = SmallCompetition();
  spec.klassen.clear();
  spec.teilnehmer.clear();
  int id = 0;
  for (size_t k = 0; k < sizes.size(); ++k) {
    const int klasse = static_cast<int>(k) + 1;
    spec.klassen.push_back({klasse, QString("Klasse %1").arg(QChar('A' + klasse - 1)),
                            k % 2 ? "M" : "W", 2016, 1, klasse});
    for (int i = 0; i < sizes[k]; ++i) {
      ++id;
      db::TeilnehmerSpec t;
      t.id = id;
      t.sex = k % 2 ? "M" : "W";
      t.nachname = QString("Läufer%1").arg(id, 3, 10, QChar('0'));
      t.vorname = "Vroni";
      t.jahrgang = 2012;
      t.klasse = klasse;
      t.verein = QString("SC Musterdorf");
      t.nation = QString("AUT");
      t.disziplinen[2] = {true, id, 9999.99, 9999.99};
      spec.teilnehmer.push_back(t);
    }
  }
  return spec;
}

// What the panel is set to before F2.
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

// A page rendered at one pixel per unit, to look for the rules of the grid.
class PageImage {
 public:
  PageImage(const QString& pdf, int page) {
    const QString png = dir_.filePath(QString("page-%1.png").arg(page));
    if (RenderPdfPage(pdf, page, png, 254)) image_.load(png);
  }
  bool isValid() const { return !image_.isNull(); }
  // Ink within two units of (x, y).
  bool inkNear(int x, int y) const {
    for (int dx = -2; dx <= 2; ++dx)
      for (int dy = -2; dy <= 2; ++dy) {
        const QPoint p(x + dx, y + dy);
        if (image_.valid(p) && qGray(image_.pixel(p)) < 128) return true;
      }
    return false;
  }
  // A horizontal rule at y: ink at every 50 units along x from x1 to x2.
  bool ruleAt(int y, int x1, int x2) const {
    for (int x = x1; x <= x2; x += 50)
      if (!inkNear(x, y)) return false;
    return true;
  }
  // A vertical line at x: ink at every 10 units along y from y1 to y2 (text-free spots).
  bool lineAt(int x, int y1, int y2) const {
    for (int y = y1; y <= y2; y += 10)
      if (!inkNear(x, y)) return false;
    return true;
  }

 private:
  QTemporaryDir dir_;
  QImage image_;
};

class BoardListTest : public BoardFixture {
 protected:
  void setPanel(const Choice& c) {
    openPanel("BearbeitenTafelliste", "Tafelliste", c.grouping);
    control<QCheckBox>("TafelneueSeite")->setChecked(c.newPage);
    control<QComboBox>("TafelFormat")->setCurrentIndex(c.landscape ? 1 : 0);
    control<QComboBox>("TafelZeitspalten")->setCurrentIndex(c.timeColumns - 2);
    control<QComboBox>("TafelLeerzeilen")->setCurrentIndex(c.emptyRows);
  }
  // Writes the list through the panel and F2 into `path` (the default output path when
  // empty).
  void writeList(const Choice& c, const QString& lookName, const QString& path = QString()) {
    setPanel(c);
    outputWithF2(path.isEmpty() ? outputPath() : path, lookName);
  }
};

TEST_F(BoardListTest, PanelOffersItsOptionsWithTheirDefaults) {
  openCompetition(SmallCompetition());
  trigger("BearbeitenTafelliste");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Liste für Schreibtafel");
  auto items = [](QComboBox* combo) {
    QStringList list;
    for (int i = 0; i < combo->count(); ++i) list << combo->itemText(i);
    return list;
  };
  auto* grouping = control<QComboBox>("TafelGruppe");
  EXPECT_EQ(items(grouping), (QStringList{"keine Unterteilung", "Klasse", "Gruppe",
                                          "Kategorie / StartNr", "Kategorie / IdNr"}));
  EXPECT_EQ(grouping->currentText(), "Klasse");
  EXPECT_EQ(items(control<QComboBox>("TafelFormat")), (QStringList{"Hochformat", "Querformat"}));
  EXPECT_EQ(control<QComboBox>("TafelFormat")->currentText(), "Hochformat");
  EXPECT_EQ(control<QComboBox>("TafelZeitspalten")->currentText(), "2");
  EXPECT_EQ(items(control<QComboBox>("TafelLeerzeilen")),
            (QStringList{"0", "1", "2", "3", "4", "5"}));
  EXPECT_EQ(control<QComboBox>("TafelLeerzeilen")->currentText(), "2");
  EXPECT_FALSE(control<QCheckBox>("TafelneueSeite")->isChecked());
  EXPECT_EQ(control<QCheckBox>("TafelneueSeite")->text(), "mit Seitenwechsel");
  EXPECT_TRUE(control<QCheckBox>("Tafelliste_anzeigen")->isChecked());
  EXPECT_EQ(control<QLabel>("TafelBezVeranst")->text(), "Bezirkscup\r\nKinder");
  EXPECT_EQ(control<QLabel>("TafelDatumVeranst")->text(), "16.01.2027");
  for (const char* name : {"Label01", "Label02", "Label03", "Label04", "Label05", "Label06",
                           "Tafelliste_ausgeben", "Tafelliste_schliessen"}) {
    EXPECT_NE(window().findChild<QWidget*>(name), nullptr) << name;
  }
  QTest::keyClick(grouping, Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_EQ(window().findChild<QComboBox*>("TafelGruppe"), nullptr);
}

TEST_F(BoardListTest, RowShowsBibNameYearAndClubInTheirColumns) {
  auto spec = SmallCompetition();
  spec.teilnehmer[0].nachname = "Oberhollenzer-Wildschönau";
  spec.teilnehmer[0].vorname = "Anna-Katharina Maximiliane";
  spec.teilnehmer[1].verein = QString("SKI-CLUB MUENCHEN E.V.");
  openCompetition(spec);
  writeList({}, "board-row.pdf");

  EXPECT_EQ(resultLabel()->text(), "Tafelliste gespeichert unter: " + outputPath());
  EXPECT_EQ(resultLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  EXPECT_EQ(ui().saveRequests[0].fileName, "Cup-Tafelliste-Riesenslalom.pdf");
  EXPECT_EQ(ui().viewerOpened, QStringList{outputPath()});
  EXPECT_EQ(window().currentPanel(), "Tafelliste");

  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  EXPECT_EQ(pdf.title(), "Tafelliste Cup Riesenslalom");
  EXPECT_EQ(pdf.pageCount(), 1);
  EXPECT_NEAR(pdf.pageSize(1).width(), 2100, 2);
  // Heading: the first line of the event name, four blanks, the discipline.
  const auto heading = pdf.findLine("Bezirkscup");
  ASSERT_TRUE(heading);
  EXPECT_EQ(heading->text(), "Bezirkscup Riesenslalom");
  EXPECT_NEAR(heading->top(), 110, 2);
  EXPECT_NEAR((heading->left() + heading->right()) / 2, 1035, 3);
  EXPECT_TRUE(heading->words[0].bold());
  EXPECT_NEAR(heading->words[0].size, 14, 0.2);
  EXPECT_FALSE(pdf.findWord("Kinder"));

  // Second row (bib 2): top 210 + 70, text 11 below.
  const auto bib = pdf.findWord("2");
  ASSERT_TRUE(bib);
  EXPECT_NEAR(bib->top(), 291, 2);
  EXPECT_NEAR(bib->centerX(), 120, 3);
  EXPECT_TRUE(bib->bold());
  const auto name = pdf.findWord("Öhler");
  ASSERT_TRUE(name);
  EXPECT_NEAR(name->left(), 180, 2);
  EXPECT_NEAR(name->top(), 291, 2);
  EXPECT_FALSE(name->bold());
  EXPECT_NEAR(name->size, 12, 0.2);
  const auto year = pdf.findWord("2014");
  ASSERT_TRUE(year);
  EXPECT_NEAR(year->centerX(), 885, 3);
  EXPECT_TRUE(pdf.findLine("2 Öhler Ben 2014 Ski-Club München e.V."));
  const auto club = pdf.findWord("Ski-Club");
  ASSERT_TRUE(club);
  EXPECT_NEAR(club->left(), 960, 2);
  EXPECT_NEAR(club->top(), 295, 2);  // 4 below the row text
  EXPECT_NEAR(club->size, 10, 0.2);

  // A name too wide for its column: smaller by whole points, 2 units lower per point.
  const auto longName = pdf.findWord("Oberhollenzer-Wildschönau");
  ASSERT_TRUE(longName);
  EXPECT_LT(longName->size, 12);
  const int steps = qRound(12 - longName->size);
  EXPECT_NEAR(longName->top(), 221 + 2 * steps, 2);
  EXPECT_LE(pdf.findWord("Maximiliane")->right(), 820);

  // The credit line, unchanged, at the foot of the (last) page.
  const auto credit = pdf.findLine("erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6");
  ASSERT_TRUE(credit);
  EXPECT_NEAR(credit->top(), 2900, 2);
  EXPECT_NEAR((credit->left() + credit->right()) / 2, 1050, 3);
  EXPECT_NEAR(credit->words[0].size, 8, 0.2);
}

TEST_F(BoardListTest, PortraitHolds38RowsOnTheFirstPageAnd40OnTheOthers) {
  openCompetition(RacersInClasses({100}));
  writeList({}, "board-portrait.pdf");
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 3);
  const QList<int> expected{38, 40, 22};
  const QList<int> firstTop{221, 81, 81};
  for (int page = 1; page <= 3; ++page) {
    const QList<PdfWord> bibs = Bibs(pdf, page);
    ASSERT_EQ(bibs.size(), expected[page - 1]) << page;
    EXPECT_NEAR(bibs.first().top(), firstTop[page - 1], 2) << page;
    if (page < 3) {
      EXPECT_NEAR(bibs.last().top(), 2811, 2) << page;
    }
  }
  // No group headings without grouping; the credit line only on the last page.
  EXPECT_FALSE(pdf.findWord("Klasse"));
  EXPECT_FALSE(pdf.findLine("erstellt mit", 1));
  EXPECT_FALSE(pdf.findLine("erstellt mit", 2));
  EXPECT_TRUE(pdf.findLine("erstellt mit", 3));

  // The two empty rows come after the last racer: its row ends at 70 + 22 * 70 = 1610.
  PageImage last(outputPath(), 3);
  ASSERT_TRUE(last.isValid());
  EXPECT_TRUE(last.ruleAt(1610, 100, 1950));
  EXPECT_TRUE(last.ruleAt(1680, 100, 1950));
  EXPECT_TRUE(last.ruleAt(1750, 100, 1950));
  EXPECT_FALSE(last.inkNear(600, 1820));
  EXPECT_TRUE(last.lineAt(70, 80, 1740));    // left border from the top rule
  EXPECT_TRUE(last.lineAt(2000, 80, 1740));  // right border
  EXPECT_TRUE(last.lineAt(820, 80, 1740));   // column lines through the empty rows
  EXPECT_FALSE(last.inkNear(70, 1780));
  PageImage first(outputPath(), 1);
  EXPECT_TRUE(first.ruleAt(70, 100, 1950));
  EXPECT_TRUE(first.ruleAt(210, 100, 1950));
  EXPECT_TRUE(first.lineAt(70, 80, 2860));
  EXPECT_TRUE(first.lineAt(170, 220, 2860));
  EXPECT_FALSE(first.inkNear(170, 150));  // the heading box has no column lines

  // Without groups a page per group changes nothing.
  const QString again = outputPath("tafel2.pdf");
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
  EXPECT_NEAR(pdf.pageSize(1).height(), 2100, 2);
  const QList<int> expected{17, 19, 4};
  for (int page = 1; page <= 3; ++page) {
    const QList<PdfWord> bibs = Bibs(pdf, page);
    ASSERT_EQ(bibs.size(), expected[page - 1]) << page;
    EXPECT_NEAR(bibs.first().top(), page == 1 ? 286 : 86, 2);
    if (page < 3) {
      EXPECT_NEAR(bibs.last().top(), 1886, 2);
    }
    EXPECT_NEAR(bibs.first().centerX(), 145, 3);
    EXPECT_NEAR(bibs.first().size, 17, 0.2);
  }
  const auto heading = pdf.findWord("Bezirkscup");
  ASSERT_TRUE(heading);
  EXPECT_NEAR(heading->top(), 126, 2);
  EXPECT_NEAR(heading->size, 20, 0.2);
  const auto name = pdf.findWord("Läufer001");
  ASSERT_TRUE(name);
  EXPECT_NEAR(name->left(), 230, 2);
  const auto club = pdf.findWord("Musterdorf");
  ASSERT_TRUE(club);
  EXPECT_NEAR(club->size, 14, 0.2);
  EXPECT_NEAR(club->top(), 286 + 6, 2);
  const auto credit = pdf.findLine("erstellt mit", 3);
  ASSERT_TRUE(credit);
  EXPECT_NEAR(credit->top(), 2030, 2);
  EXPECT_NEAR((credit->left() + credit->right()) / 2, 1485, 3);
  PageImage page(outputPath(), 3);
  EXPECT_TRUE(page.ruleAt(70, 100, 2850));
  EXPECT_TRUE(page.lineAt(2870, 80, 460));
  EXPECT_TRUE(page.lineAt(2485, 80, 460));
  EXPECT_FALSE(page.inkNear(2870, 500));  // four rows end at 470
}

TEST_F(BoardListTest, NewGroupNeedsRoomForItsHeadingRow) {
  // Klasse A ends at 280 + 35 * 70 = 2730: B's heading still fits (at most 2760), and its
  // second racer moves on. Klasse C ends at 2800 on page 2: D moves to page 3 though a
  // row of C would still fit there.
  openCompetition(RacersInClasses({35, 3, 36, 1}));
  writeList({.grouping = "Klasse", .emptyRows = 0}, "board-groups.pdf");
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 3);
  const auto a = pdf.findWord("A", 1);
  ASSERT_TRUE(a);
  EXPECT_NEAR(a->top(), 221, 2);
  const auto b = pdf.findLine("Klasse B");
  ASSERT_TRUE(b);
  EXPECT_EQ(b->words[0].page, 1);
  EXPECT_NEAR(b->top(), 2741, 2);
  EXPECT_TRUE(b->words[0].bold());
  EXPECT_NEAR((b->left() + b->right()) / 2, 1035, 3);
  EXPECT_NEAR(pdf.findWord("Läufer036")->top(), 2811, 2);
  // The page break inside B repeats no heading.
  EXPECT_EQ(pdf.lines(2).first().text(), "37 Läufer037 Vroni 2012 SC Musterdorf");
  EXPECT_NEAR(pdf.lines(2).first().top(), 81, 2);
  EXPECT_EQ(pdf.findWord("Läufer074")->page, 2);
  EXPECT_NEAR(pdf.findWord("Läufer074")->top(), 2741, 2);
  const auto d = pdf.findLine("Klasse D");
  ASSERT_TRUE(d);
  EXPECT_EQ(d->words[0].page, 3);
  EXPECT_NEAR(d->top(), 81, 2);
  EXPECT_NEAR(pdf.findWord("Läufer075", 3)->top(), 151, 2);
}

TEST_F(BoardListTest, PagePerGroupWithEmptyRowsAfterEachGroup) {
  openCompetition(RacersInClasses({3, 2, 39}));
  writeList({.grouping = "Klasse", .newPage = true, .emptyRows = 2}, "board-pergroup.pdf");
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 4);
  EXPECT_NEAR(pdf.findLine("Klasse A")->top(), 221, 2);
  for (const char* group : {"Klasse B", "Klasse C"}) {
    const auto line = pdf.findLine(group);
    ASSERT_TRUE(line) << group;
    EXPECT_NEAR(line->top(), 81, 2) << group;
  }
  EXPECT_EQ(pdf.findLine("Klasse B")->words[0].page, 2);
  EXPECT_EQ(pdf.findLine("Klasse C")->words[0].page, 3);
  EXPECT_EQ(Bibs(pdf, 3).size(), 39);
  EXPECT_TRUE(Bibs(pdf, 4).isEmpty());

  // Page 1: A's rows end at 490, its empty rows at 560 and 630; the grid ends there.
  PageImage one(outputPath(), 1);
  ASSERT_TRUE(one.isValid());
  for (int y : {280, 490, 560, 630}) EXPECT_TRUE(one.ruleAt(y, 100, 1950)) << y;
  EXPECT_FALSE(one.inkNear(600, 700));
  EXPECT_TRUE(one.lineAt(820, 290, 620));
  EXPECT_FALSE(one.inkNear(820, 250));  // the group heading row spans the page
  EXPECT_FALSE(one.inkNear(820, 680));
  // C fills page 3 down to 2870: its empty rows start a page of their own.
  PageImage four(outputPath(), 4);
  for (int y : {70, 140, 210}) EXPECT_TRUE(four.ruleAt(y, 100, 1950)) << y;
  EXPECT_FALSE(four.inkNear(600, 280));
  EXPECT_TRUE(four.lineAt(1470, 80, 200));
  EXPECT_TRUE(pdf.findLine("erstellt mit", 4));
}

TEST_F(BoardListTest, ThreeTimeColumnsAddTheLineBetweenTheLastTwo) {
  openCompetition(RacersInClasses({5}));
  writeList({.timeColumns = 3}, "board-three.pdf");
  PdfReader pdf(outputPath());
  EXPECT_NEAR(pdf.findWord("Läufer001")->left(), 180, 2);
  EXPECT_NEAR(pdf.findWord("SC")->left(), 870, 2);
  EXPECT_NEAR(pdf.findWord("2012")->centerX(), 800, 3);
  PageImage three(outputPath(), 1);
  for (int x : {170, 740, 860, 1320, 1545, 1770, 2000}) EXPECT_TRUE(three.lineAt(x, 220, 620)) << x;
  EXPECT_FALSE(three.inkNear(1658, 400));

  const QString two = outputPath("zwei.pdf");
  writeList({.timeColumns = 2}, "board-two.pdf", two);
  EXPECT_NEAR(PdfReader(two).findWord("SC")->left(), 960, 2);
  PageImage twoColumns(two, 1);
  for (int x : {170, 820, 950, 1470, 1735, 2000}) EXPECT_TRUE(twoColumns.lineAt(x, 220, 620)) << x;
  EXPECT_FALSE(twoColumns.inkNear(1770, 400));
  EXPECT_FALSE(twoColumns.inkNear(1545, 400));
}

TEST_F(BoardListTest, SexGroupsPrintTheWordsOfTheRaceNumber) {
  auto spec = SmallCompetition();
  spec.kategorien = {{"W", "W", 1}, {"M", "M", 2}};
  spec.disziplinen[0].bewerbsnummer = QString("MB12");
  openCompetition(spec);
  writeList({.grouping = "Kategorie / StartNr"}, "board-sex.pdf");
  PdfReader pdf(outputPath());
  const auto girls = pdf.findWord("Mädchen");
  const auto boys = pdf.findWord("Buben");
  ASSERT_TRUE(girls && boys);
  EXPECT_LT(girls->top(), boys->top());
  EXPECT_FALSE(pdf.findWord("W"));
  EXPECT_FALSE(pdf.findWord("Damen"));
}

TEST_F(BoardListTest, FisTypesOfferNoGroupingAndPrintTheNation) {
  auto spec = SmallCompetition();
  spec.bewerb.typ = 1;
  spec.teilnehmer[0].nation = QString("ITA");
  openCompetition(spec);
  trigger("BearbeitenTafelliste");
  EXPECT_EQ(control<QComboBox>("TafelGruppe")->count(), 1);
  writeList({}, "board-fis.pdf");
  PdfReader pdf(outputPath());
  const auto nation = pdf.findWord("ITA");
  ASSERT_TRUE(nation);
  EXPECT_NEAR(nation->left(), 960, 2);
  EXPECT_NEAR(nation->top(), 225, 2);
  EXPECT_FALSE(pdf.findWord("Musterdorf"));
}

TEST_F(BoardListTest, CancelAndUnwritableFileLeaveThePanelOpen) {
  openCompetition(SmallCompetition());
  expectCancelAndUnwritableFile("BearbeitenTafelliste", "Tafelliste");
}

TEST_F(BoardListTest, WithoutRacersTheEmptyFormIsWrittenButNotOpened) {
  auto spec = SmallCompetition();
  for (auto& t : spec.teilnehmer) t.disziplinen[2].startnr.reset();
  openCompetition(spec);
  writeList({}, "board-empty.pdf");
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text, "Keine Daten gefunden!");
  EXPECT_EQ(ui().messages[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(resultLabel()->text(), " ");
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  PdfReader pdf(outputPath());
  ASSERT_EQ(pdf.pageCount(), 1);
  EXPECT_TRUE(pdf.findLine("Bezirkscup Riesenslalom"));
  EXPECT_TRUE(pdf.findLine("erstellt mit"));
  PageImage page(outputPath(), 1);
  EXPECT_TRUE(page.ruleAt(280, 100, 1950));
  EXPECT_TRUE(page.ruleAt(350, 100, 1950));
  EXPECT_FALSE(page.inkNear(600, 420));
}

TEST(BoardLayout, NameAndClubWidthsFollowTheColumns) {
  EXPECT_EQ(BoardLayout(false, 2).nameWidth(), 640);
  EXPECT_EQ(BoardLayout(false, 2).clubWidth(), 510);
  EXPECT_EQ(BoardLayout(false, 3).nameWidth(), 560);
  EXPECT_EQ(BoardLayout(false, 3).clubWidth(), 450);
  EXPECT_EQ(BoardLayout(true, 3).nameWidth(), 840);
  EXPECT_EQ(BoardLayout(true, 3).clubWidth(), 648);
  EXPECT_EQ(BoardLayout(true, 2).columnLines.back(), 2485);
}

}  // namespace
}  // namespace kx::test
