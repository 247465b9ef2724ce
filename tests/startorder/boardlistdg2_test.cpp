#include "startorder/boardlistdg2.h"

#include "tests/startorder/boardfixture.h"
#include "tests/support/pdfreader.h"

#include <QCheckBox>
#include <QLineEdit>

namespace kx::test {
namespace {

// A row of the grid as read back: its bib and its run-1 time.
struct ReadRow {
  PdfWord bibWord;
  QString time;
  std::optional<PdfWord> timeWord;
};

// The rows of all pages (or of one page), top to bottom: lines that begin with a number in
// the bib column.
QList<ReadRow> Rows(const PdfReader& pdf, int onlyPage = 0) {
  QList<ReadRow> rows;
  for (int page = 1; page <= pdf.pageCount(); ++page) {
    if (onlyPage && page != onlyPage) continue;
    for (const PdfLine& line : pdf.lines(page)) {
      const PdfWord& first = line.words.first();
      bool number = false;
      first.text.toInt(&number);
      if (!number || first.right() > 230) continue;
      ReadRow row{first, {}, {}};
      // The time column lies right of the club column's line (1320, landscape 1898).
      const double clubEnd = pdf.pageSize(page).width() > 2500 ? 1898 : 1320;
      for (const PdfWord& w : line.words) {
        if (w.left() > clubEnd) {
          row.time = w.text;
          row.timeWord = w;
        }
      }
      rows.append(row);
    }
  }
  return rows;
}

// "1:05,43" or "58,12" in hundredths; -1 for anything else.
int Hundredths(const QString& time) {
  const QStringList minutes = time.split(':');
  const QStringList seconds = minutes.last().split(',');
  if (seconds.size() != 2) return -1;
  const int m = minutes.size() == 2 ? minutes.first().toInt() : 0;
  return (m * 60 + seconds[0].toInt()) * 100 + seconds[1].toInt();
}

struct Choice {
  QString grouping = "Kategorie";
  QString reverse = "30";
  bool newPage = true;
  bool landscape = false;
  bool appendNonFinishers = false;
};

class BoardListDG2Test : public BoardFixture {
 protected:
  void setPanel(const Choice& c) {
    openPanel("BearbeitenTafellisteDG2", "TafellisteDG2", c.grouping);
    control<QLineEdit>("TafellisteDG2umkehren")->setText(c.reverse);
    control<QCheckBox>("TafelneueSeite")->setChecked(c.newPage);
    control<QComboBox>("TafelFormat")->setCurrentIndex(c.landscape ? 1 : 0);
    control<QCheckBox>("TafellisteDG2_mitallen")->setChecked(c.appendNonFinishers);
  }
  void writeList(const Choice& c, const QString& lookName) {
    setPanel(c);
    outputWithF2(outputPath(), lookName);
  }
};

TEST_F(BoardListDG2Test, PanelOffersItsOptionsWithTheirDefaults) {
  openCompetition(db::DemoCompetition());
  trigger("BearbeitenTafellisteDG2");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Liste für Schreibtafel - 2. Durchgang");
  auto* grouping = control<QComboBox>("TafelGruppe");
  EXPECT_EQ(grouping->count(), 4);
  EXPECT_EQ(grouping->currentText(), "Kategorie");
  EXPECT_TRUE(control<QCheckBox>("TafelneueSeite")->isChecked());
  EXPECT_EQ(control<QLineEdit>("TafellisteDG2umkehren")->text(), "30");
  EXPECT_FALSE(control<QCheckBox>("TafellisteDG2_mitallen")->isChecked());
  EXPECT_EQ(control<QLabel>("TafelDatumVeranst")->text(), "18.01.2025");
  QTest::keyClick(grouping, Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
}

TEST_F(BoardListDG2Test, PrintsTheRun2OrderWithRun1TimesAndAPagePerCategory) {
  openCompetition(db::DemoCompetition());
  writeList({.reverse = "3"}, "board2-demo.pdf");
  EXPECT_EQ(resultLabel()->text(), "Tafelliste gespeichert unter: " + outputPath());
  EXPECT_EQ(ui().saveRequests[0].fileName, "Cup-TafellisteDG2-Riesenslalom.pdf");
  EXPECT_EQ(ui().viewerOpened, QStringList{outputPath()});
  EXPECT_EQ(window().currentPanel(), "TafellisteDG2");

  PdfReader pdf(outputPath());
  EXPECT_EQ(pdf.title(), "TafellisteDG2 Cup Riesenslalom");
  const auto heading = pdf.findLine("Bezirkscup");
  ASSERT_TRUE(heading);
  EXPECT_EQ(heading->text(), "Bezirkscup Musterdorf Riesenslalom 2. Durchgang");
  EXPECT_NEAR(heading->top(), 110, 2);

  // The rows are the order just built, along its links.
  QStringList expected;
  for (const int i : state().StartOrder.order()) expected << state().StartOrder[i].startnr;
  QStringList printed;
  for (const ReadRow& r : Rows(pdf)) printed << r.bibWord.text;
  ASSERT_EQ(printed, expected);

  // Damen on page 1 under the heading, Herren at the top of a page of their own.
  const auto damen = pdf.findLine("Damen");
  const auto herren = pdf.findLine("Herren");
  ASSERT_TRUE(damen && herren);
  EXPECT_EQ(damen->words[0].page, 1);
  EXPECT_NEAR(damen->top(), 221, 2);
  EXPECT_GT(herren->words[0].page, 1);
  EXPECT_NEAR(herren->top(), 81, 2);

  // The first three finishers of each category start in reverse order of their times.
  const QList<ReadRow> first = Rows(pdf, 1);
  EXPECT_GT(Hundredths(first[0].time), Hundredths(first[1].time));
  EXPECT_GT(Hundredths(first[1].time), Hundredths(first[2].time));
  EXPECT_LT(Hundredths(first[2].time), Hundredths(first[3].time));
  EXPECT_LT(Hundredths(first[3].time), Hundredths(first[4].time));

  // The run-1 time right-aligned at 1525, not bold, in the row's text line.
  for (const ReadRow& r : first) {
    ASSERT_TRUE(r.timeWord) << r.bibWord.text.toStdString();
    EXPECT_NEAR(r.timeWord->right(), 1525, 2);
    EXPECT_NEAR(r.timeWord->top(), r.bibWord.top(), 2);
    EXPECT_FALSE(r.timeWord->bold());
  }
  EXPECT_NEAR(first[0].bibWord.top(), 291, 2);

  // The credit line on the last page only.
  for (int page = 1; page < pdf.pageCount(); ++page) EXPECT_FALSE(pdf.findLine("erstellt", page));
  const auto credit = pdf.findLine("erstellt mit Kandrix (Kandor Zusatzprogramm)");
  ASSERT_TRUE(credit);
  EXPECT_EQ(credit->words[0].page, pdf.pageCount());
  EXPECT_NEAR(credit->top(), 2900, 2);
}

TEST_F(BoardListDG2Test, LandscapeUsesTheLargerGrid) {
  openCompetition(db::DemoCompetition());
  writeList({.grouping = "keine Unterteilung", .landscape = true}, "board2-landscape.pdf");
  PdfReader pdf(outputPath());
  EXPECT_NEAR(pdf.pageSize(1).width(), 2970, 2);
  EXPECT_EQ(Rows(pdf, 1).size(), 17);
  EXPECT_EQ(Rows(pdf, 2).size(), 19);
  const ReadRow row = Rows(pdf, 2).first();
  EXPECT_NEAR(row.bibWord.top(), 86, 2);
  ASSERT_TRUE(row.timeWord);
  EXPECT_NEAR(row.timeWord->right(), 2202, 2);
  EXPECT_NEAR(row.timeWord->size, 17, 0.2);
}

TEST_F(BoardListDG2Test, NonFinishersOfRun1AreAppendedWhenTicked) {
  openCompetition(db::DemoCompetition());
  writeList({.reverse = "10", .appendNonFinishers = true}, "board2-all.pdf");
  QStringList texts;
  for (const ReadRow& r : Rows(PdfReader(outputPath()))) texts << r.time;
  EXPECT_TRUE(texts.contains("NiZ"));
  EXPECT_TRUE(texts.contains("Dis"));
}

TEST_F(BoardListDG2Test, ReversalCountMustBeNumeric) {
  openCompetition(db::DemoCompetition());
  setPanel({.reverse = "abc"});
  QTest::keyClick(&window(), Qt::Key_F2);
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text,
            "Die Anzahl für die Umkehrung der ersten Läufer pro Gruppierung ist nicht numerisch");
  EXPECT_EQ(ui().messages[0].icon, MsgIcon::None);
  EXPECT_TRUE(ui().saveRequests.isEmpty());
  EXPECT_EQ(window().currentPanel(), "TafellisteDG2");

  // Out of the range of a count: the same message.
  control<QLineEdit>("TafellisteDG2umkehren")->setText("99999999999");
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(ui().messages.size(), 2);
  EXPECT_TRUE(ui().saveRequests.isEmpty());

  // An empty box counts as 0: no reversal, the best run-1 time starts first.
  control<QLineEdit>("TafellisteDG2umkehren")->setText("");
  ui().chooseSaveFile(outputPath());
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(control<QLineEdit>("TafellisteDG2umkehren")->text(), "0");
  EXPECT_EQ(ui().messages.size(), 2);
  PdfReader pdf(outputPath());
  const QList<ReadRow> first = Rows(pdf, 1);
  ASSERT_GE(first.size(), 3);
  EXPECT_LT(Hundredths(first[0].time), Hundredths(first[1].time));
  EXPECT_LT(Hundredths(first[1].time), Hundredths(first[2].time));
}

TEST_F(BoardListDG2Test, FisTypesOfferNoGroupingAndStillPrintTheClub) {
  auto race = db::DemoCompetition();
  race.bewerb.typ = 0;
  for (auto& t : race.teilnehmer) t.verein = QString("SKI-CLUB MUENCHEN E.V.");
  openCompetition(race);
  trigger("BearbeitenTafellisteDG2");
  EXPECT_EQ(control<QComboBox>("TafelGruppe")->count(), 1);
  writeList({.grouping = "keine Unterteilung"}, "board2-fis.pdf");
  PdfReader pdf(outputPath());
  const auto club = pdf.findWord("Ski-Club");
  ASSERT_TRUE(club);
  EXPECT_NEAR(club->left(), 870, 2);
  EXPECT_NEAR(club->top(), 221 + 4, 2);
  EXPECT_NEAR(club->size, 10, 0.2);
}

TEST_F(BoardListDG2Test, CancelAndUnwritableFileLeaveThePanelOpen) {
  openCompetition(db::DemoCompetition());
  expectCancelAndUnwritableFile("BearbeitenTafellisteDG2", "TafellisteDG2");
}

TEST_F(BoardListDG2Test, WithoutFinishersNothingIsWritten) {
  auto race = db::DemoCompetition();
  for (auto& z : race.zeiten) {
    if (z.disziplin == 2 && z.durchgang == 1) {
      z.ergcode = 2;
      z.netto.reset();
      z.ziel.reset();
    }
  }
  openCompetition(race);
  writeList({}, "board2-empty.pdf");
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text, "Keine Daten gefunden!");
  EXPECT_EQ(resultLabel()->text(), " ");
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(outputPath()));
}

}  // namespace
}  // namespace kx::test
