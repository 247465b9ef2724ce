#include "startorder/depositlist.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "pdf/pdfdocument.h"
#include "pdf/pdfpen.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <numeric>

namespace kx::test {
namespace {

constexpr int kBibsLeft = 770;
constexpr int kBibsRight = 2000;
constexpr int kCreditTop = 2900;

db::TeilnehmerSpec Racer(int id, std::optional<QString> verein, std::optional<int> bib,
                         std::optional<QString> nation = QString("AUT")) {
  db::TeilnehmerSpec t;
  t.id = id;
  t.nachname = QString("Racer%1").arg(id);
  t.vorname = "Test";
  t.verein = std::move(verein);
  t.nation = std::move(nation);
  t.disziplinen[2] = {true, bib, 9999.99, 9999.99};
  return t;
}

// Clubs with the cases that matter: no club, a club stored in capitals, a quote in the
// name, a participant without bib, a club whose bibs take two lines, and a participant
// entered only in the slalom.
db::CompetitionSpec Clubs() {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer = {Racer(1, QString("SC Musterdorf"), 1),
                     Racer(2, std::nullopt, 2),
                     Racer(3, QString("SKI-CLUB MUENCHEN E.V."), 3),
                     Racer(4, QString("SC D'Orf"), 4),
                     Racer(5, QString("SC Musterdorf"), 5),
                     Racer(6, QString("SKI-CLUB MUENCHEN E.V."), std::nullopt)};
  for (int i = 0; i < 30; ++i) race.teilnehmer.push_back(Racer(100 + i, "Großer SC", 100 + i));
  db::TeilnehmerSpec slalomOnly = Racer(7, QString("Nur Slalom"), 7);
  slalomOnly.disziplinen.clear();
  slalomOnly.disziplinen[3] = {true, 7, 9999.99, 9999.99};
  race.teilnehmer.push_back(slalomOnly);
  return race;
}

class DepositListTest : public AppFixture {
 protected:
  void openCompetition(const db::CompetitionSpec& race) {
    openThroughMenu(writeCompetition("Cup.mdb", race));
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  }
  QString outputPath() { return QDir(dataDir()).filePath("kaution.pdf"); }
  void writeList(const QString& lookName) {
    trigger("BearbeitenKautionsliste");
    ASSERT_EQ(window().currentPanel(), "Kautionsliste");
    ui().chooseSaveFile(outputPath());
    QTest::keyClick(window().findChild<QCheckBox*>("Kautionsliste_anzeigen"), Qt::Key_F2);
    if (QFileInfo(outputPath()).isFile()) KeepForLooking(outputPath(), lookName);
  }
  QLabel* result() { return window().findChild<QLabel*>("Kautionsliste_Meldung"); }
  // The group lines of a page: everything between the column heads and the credit line.
  static QStringList groupLines(const PdfReader& pdf, int page) {
    QStringList texts;
    for (const PdfLine& line : pdf.lines(page)) {
      if (line.top() > 330 && line.top() < kCreditTop - 10) texts << line.text();
    }
    return texts;
  }
  // The bibs as printed, page by page, in reading order.
  static QList<int> printedBibs(const PdfReader& pdf) {
    QList<int> bibs;
    for (int p = 1; p <= pdf.pageCount(); ++p) {
      for (const PdfLine& line : pdf.lines(p)) {
        for (const PdfWord& w : line.words) {
          if (w.left() >= kBibsLeft - 1 && w.top() > 330 && w.top() < kCreditTop - 10)
            bibs << w.text.toInt();
        }
      }
    }
    return bibs;
  }
};

TEST_F(DepositListTest, PanelShowsTheEventAndTheResultListDate) {
  db::CompetitionSpec race = SmallCompetition();
  race.disziplinen[0].datum_rangliste = QDate(2027, 1, 18);
  openCompetition(race);
  trigger("BearbeitenKautionsliste");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Kautionsliste");
  EXPECT_EQ(window().findChild<QLabel*>("KautionBezVeranst")->text(), "Bezirkscup\r\nKinder");
  EXPECT_EQ(window().findChild<QLabel*>("KautionDatumVeranst")->text(), "18.01.2027");
  EXPECT_TRUE(window().findChild<QCheckBox*>("Kautionsliste_anzeigen")->isChecked());
  for (const char* name : {"Label01", "Label02", "Kautionslisteausgeben",
                           "Kautionsliste_schliessen", "Kautionsliste_Meldung"})
    EXPECT_TRUE(window().findChild<QWidget*>(name)) << name;
  QTest::keyClick(&window(), Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
}

TEST_F(DepositListTest, ClubsWithTheirBibsBoxesAndPageFrame) {
  db::CompetitionSpec race = Clubs();
  race.disziplinen[0].datum_rangliste = QDate(2027, 1, 18);
  openCompetition(race);
  writeList("deposit-clubs.pdf");
  EXPECT_EQ(result()->text(), "Kautionsliste gespeichert unter: " + outputPath());
  EXPECT_EQ(result()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  EXPECT_EQ(ui().saveRequests.value(0).fileName, "Cup-Kautionsliste-Riesenslalom.pdf");
  EXPECT_EQ(ui().viewerOpened, QStringList{outputPath()});
  EXPECT_TRUE(ui().messages.isEmpty());

  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  EXPECT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.title(), "Kautionsliste Cup Riesenslalom");

  // No club first; clubs recapitalised but found by their stored name (quote included);
  // a participant without bib adds only blanks.
  const QStringList lines = groupLines(pdf, 1);
  ASSERT_EQ(lines.size(), 6) << lines.join("\n").toStdString();
  EXPECT_EQ(lines[0], "ohne Verein 2");
  EXPECT_TRUE(lines[1].startsWith("Großer SC 100 101 102"));
  EXPECT_EQ(lines[3], CapitalizeClubName("SC D'Orf") + " 4");
  EXPECT_EQ(lines[4], "SC Musterdorf 1 5");
  EXPECT_EQ(lines[5], "Ski-Club München e.V. 3");
  EXPECT_FALSE(pdf.findWord("7"));  // entered in the slalom only
  EXPECT_EQ(printedBibs(pdf).size(), 35);

  // The page frame.
  auto title = pdf.findWord("Kaution");
  ASSERT_TRUE(title);
  EXPECT_NEAR(title->left(), 130, 2);
  EXPECT_NEAR(title->top(), 130, 2);
  EXPECT_NEAR(title->size, 14, 0.2);
  EXPECT_FALSE(title->bold());
  auto event = pdf.findWord("Bezirkscup");
  ASSERT_TRUE(event);
  EXPECT_NEAR(event->left(), 760, 2);
  EXPECT_NEAR(event->top(), 130, 2);
  EXPECT_TRUE(event->bold());
  EXPECT_FALSE(pdf.findWord("Kinder"));  // only the event name's first line
  auto date = pdf.findLine("18.01.2027");
  ASSERT_TRUE(date);
  EXPECT_EQ(date->text(), "18.01.2027 Riesenslalom");
  EXPECT_NEAR(date->left(), 760, 2);
  EXPECT_NEAR(date->top(), 190, 2);
  auto heads = pdf.findLine("Verein");
  ASSERT_TRUE(heads);
  EXPECT_EQ(heads->text(), "Verein Kaution Startnummern");
  EXPECT_NEAR(heads->top(), 290, 2);
  EXPECT_NEAR(heads->words[0].left(), 130, 2);
  EXPECT_NEAR(heads->words[1].centerX(), 660, 2);
  EXPECT_NEAR(heads->words[2].left(), 760, 2);
  EXPECT_TRUE(heads->words[0].bold());
  auto credit = pdf.findLine("erstellt mit Kandrix (Kandor Zusatzprogramm) - Version");
  ASSERT_TRUE(credit);
  EXPECT_NEAR(credit->top(), kCreditTop, 2);
  EXPECT_NEAR((credit->left() + credit->right()) / 2, 1050, 3);

  // Groups: the first one 15 below the heads, the name at 130 in Arial 10, the bibs from
  // 770; the wrapped club's second line stays in the column, and the next group starts
  // 15 below its last line.
  auto none = pdf.findWord("ohne");
  ASSERT_TRUE(none);
  EXPECT_NEAR(none->top(), 365, 2);
  // One-line groups follow at the height of their box (65), so that the boxes close on
  // each other without overlapping.
  EXPECT_NEAR(pdf.findWord("Großer")->top(), 365 + 65, 2);
  EXPECT_NEAR(none->left(), 130, 2);
  EXPECT_NEAR(none->size, 10, 0.2);
  EXPECT_FALSE(none->bold());
  EXPECT_NEAR(pdf.findWord("2")->left(), kBibsLeft, 2);
  const QList<PdfLine> all = pdf.lines(1);
  const auto big = std::find_if(all.begin(), all.end(),
                                [](const PdfLine& l) { return l.text().startsWith("Großer"); });
  ASSERT_NE(big, all.end());
  const PdfLine& wrapped = *(big + 1);
  const PdfLine& next = *(big + 2);
  ASSERT_GE(wrapped.words.size(), 1);
  EXPECT_NEAR(wrapped.left(), kBibsLeft, 2);
  EXPECT_LE(big->right(), kBibsRight);
  const double pitch = wrapped.top() - big->top();
  EXPECT_NEAR(pitch, 41, 3);  // one line of Arial 10
  EXPECT_NEAR(next.top(), wrapped.top() + pitch + 15, 2);
}

TEST_F(DepositListTest, ClubsWithANulByteOrStoredAsBytesKeepTheirBibs) {
  db::CompetitionSpec race = Clubs();
  const QString path = writeCompetition("Cup.mdb", race);
  {
    auto db = db::Connection::open(path);
    db->execute("update tblTeilnehmer set verein = cast(x'534300414243' as text) where id = 1");
    db->execute("update tblTeilnehmer set verein = x'534320426c6f62' where id = 5");
  }
  openThroughMenu(path);
  writeList("deposit-odd-clubs.pdf");
  EXPECT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  EXPECT_EQ(result()->text(), "Kautionsliste gespeichert unter: " + outputPath());
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  const QList<int> bibs = printedBibs(pdf);
  EXPECT_EQ(bibs.size(), 35);
  EXPECT_TRUE(bibs.contains(1));
  EXPECT_TRUE(bibs.contains(5));
  EXPECT_TRUE(pdf.findLine("SC Blob 5"));
}

TEST_F(DepositListTest, FisCompetitionsListNations) {
  db::CompetitionSpec race = Clubs();
  race.bewerb.typ = 1;
  race.bewerb.nation_aktiv = false;  // the grouping follows the type alone
  race.teilnehmer[0].nation = "GER";
  race.teilnehmer[1].nation.reset();
  race.teilnehmer[3].nation = "IT'A";
  openCompetition(race);
  writeList("deposit-nations.pdf");
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  const QStringList lines = groupLines(pdf, 1);
  ASSERT_GE(lines.size(), 4) << lines.join("\n").toStdString();
  EXPECT_EQ(lines[0], "ohne Nation 2");
  EXPECT_TRUE(lines[1].startsWith("AUT 3 5 100 101"));
  EXPECT_EQ(lines.at(lines.size() - 2), "GER 1");
  EXPECT_EQ(lines.last(), "IT'A 4");
  EXPECT_EQ(pdf.findLine("Kaution Startnummern")->words.first().text, "Nation");
}

TEST_F(DepositListTest, LongGroupsMoveToANewPageAndOverlongOnesContinue) {
  // Thirty one-line clubs fill most of the first page; a club of 300 bibs would run into
  // the credit line there and starts page 2; a club of 1100 bibs, more than a page holds,
  // starts page 3 and continues on page 4 under its name.
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer.clear();
  int id = 0;
  for (int i = 1; i <= 30; ++i) {
    ++id;
    race.teilnehmer.push_back(Racer(id, QString("Club %1").arg(i, 2, 10, QChar('0')), id));
  }
  for (int i = 0; i < 300; ++i, ++id) race.teilnehmer.push_back(Racer(id + 1, "Zebra SC", id + 1));
  for (int i = 0; i < 1100; ++i, ++id)
    race.teilnehmer.push_back(Racer(id + 1, "Zz Großverein", id + 1));
  openCompetition(race);
  writeList("deposit-pages.pdf");
  EXPECT_EQ(result()->text(), "Kautionsliste gespeichert unter: " + outputPath());
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  ASSERT_EQ(pdf.pageCount(), 4);

  // Every bib once, in order, and nothing reaches the credit line.
  QList<int> expected(id);
  std::iota(expected.begin(), expected.end(), 1);
  EXPECT_EQ(printedBibs(pdf), expected);
  for (int p = 1; p <= 4; ++p) {
    for (const PdfWord& w : pdf.wordsOnPage(p)) {
      if (w.top() > 330 && w.top() < kCreditTop - 10) {
        EXPECT_LE(w.bottom(), kCreditTop - 20) << p << " " << w.text.toStdString();
        EXPECT_LE(w.right(), kBibsRight + 1);
      }
    }
    EXPECT_TRUE(pdf.findLine("Verein Kaution Startnummern", p)) << p;
    EXPECT_TRUE(pdf.findLine("erstellt mit", p)) << p;
  }

  // Page 1 ends with Club 30 well above 2800, where a group used to be started regardless
  // of its length.
  const QStringList first = groupLines(pdf, 1);
  ASSERT_EQ(first.size(), 30);
  EXPECT_EQ(first.last(), "Club 30 30");
  EXPECT_LT(pdf.findLine("Club 30", 1)->top() + 50, 2800);
  auto zebra = pdf.findWord("Zebra", 2);
  ASSERT_TRUE(zebra);
  EXPECT_NEAR(zebra->top(), 365, 2);
  EXPECT_FALSE(pdf.findWord("Zebra", 3));

  auto big3 = pdf.findWord("Großverein", 3);
  auto big4 = pdf.findWord("Großverein", 4);
  ASSERT_TRUE(big3 && big4);
  EXPECT_NEAR(big3->top(), 365, 2);
  EXPECT_NEAR(big4->top(), 365, 2);
  EXPECT_GT(groupLines(pdf, 3).size(), 55);  // page 3 is full
}

TEST_F(DepositListTest, WithoutParticipantsNothingIsWrittenWithoutAnEventTheFileIs) {
  db::CompetitionSpec race = SmallCompetition();
  for (auto& t : race.teilnehmer) t.disziplinen[2].aktiv = false;
  openCompetition(race);
  writeList("deposit-empty.pdf");
  EXPECT_EQ(ui().messageTexts(), QStringList{"Keine Daten gefunden!"});
  EXPECT_EQ(ui().messages.value(0).icon, MsgIcon::Exclamation);
  EXPECT_EQ(ui().messages.value(0).title, "Achtung");
  EXPECT_EQ(result()->text(), " ");
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(outputPath()));

  // Participants but no event row: the list is written with an empty event name.
  window().closePanel("Kautionsliste");
  ui().clear();
  state().db().execute("update tblTeilnehmer set gsaktiv = true");
  state().db().execute("delete from tblDisziplin where dtyp = 2");
  writeList("deposit-noevent.pdf");
  EXPECT_EQ(ui().messageTexts(), QStringList{"Keine Daten gefunden!"});
  EXPECT_EQ(result()->text(), "Kautionsliste gespeichert unter: " + outputPath());
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  PdfReader again(outputPath());
  EXPECT_EQ(groupLines(again, 1), QStringList{"SC Musterdorf 1 2 3 4 5 6"});
  EXPECT_FALSE(again.findWord("Bezirkscup"));
}

TEST_F(DepositListTest, CancelAndAnUnwritableFileKeepThePanelOpen) {
  openCompetition(SmallCompetition());
  trigger("BearbeitenKautionsliste");
  expectCancelAndUnwritableFile("Kautionsliste_Meldung", "Kautionsliste", outputPath(), true);
}

// The measuring that the page breaks rely on agrees with what is drawn.
TEST(PdfTextMeasure, HeightAndLinesAreThoseOfTheDrawnText) {
  QTemporaryDir dir;
  pdf::PdfDocument doc(nullptr);
  doc.SetStrProp(pdf::kPropFileName, dir.filePath("m.pdf"));
  ASSERT_EQ(doc.BeginDoc(), 0);
  pdf::PdfPen pen(doc);
  pen.setSize(10);
  QString bibs;
  for (int i = 1; i <= 200; ++i) bibs += QString::number(i) + "  ";
  for (const QString& text : {QString("12  "), bibs, QString("a\r\nb\nc"), QString()}) {
    const QStringList lines = pen.wrapText(kBibsLeft, kBibsRight, text);
    const int height = pen.textHeight(kBibsLeft, kBibsRight, text);
    pen.drawText(kBibsLeft, 1001, kBibsRight, pdf::kAlignLeft, text);
    EXPECT_EQ(pen.textBottom(), 1001 + height);
    // Drawing the measured lines one below the other gives the same bottom.
    pen.drawText(kBibsLeft, 1001, kBibsRight, pdf::kAlignLeft, lines.join('\n'));
    EXPECT_EQ(pen.textBottom(), 1001 + height);
    for (const QString& line : lines) EXPECT_LE(pen.textWidth(line), kBibsRight - kBibsLeft);
  }
  EXPECT_EQ(pen.wrapText(kBibsLeft, kBibsRight, "12  "), QStringList{"12  "});
  EXPECT_GT(pen.wrapText(kBibsLeft, kBibsRight, bibs).size(), 10);
  pdf::PdfDocument unopened(nullptr);
  QStringList lines;
  EXPECT_EQ(unopened.TextHeight(0, 100, "x"), -1);
  EXPECT_EQ(unopened.WrapText(0, 100, "x", lines), -1);
}

}  // namespace
}  // namespace kx::test
