#include "startorder/startlist.h"

#include "startorder/boardlist.h"
#include "startorder/namelist.h"

#include "common/textroutines.h"
#include "lists/listframe.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

namespace kx::test {
namespace {

class StartListTest : public AppFixture {
 protected:
  void openCompetition(const db::CompetitionSpec& race) {
    openThroughMenu(writeCompetition("Cup.mdb", race));
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  }
  QString outputPath(const QString& name = "liste.pdf") { return QDir(dataDir()).filePath(name); }
  // Opens the panel, picks the grouping and writes the list with F2.
  void writeList(const QString& grouping = QString(), bool descending = false) {
    trigger("BearbeitenStartliste");
    ASSERT_EQ(window().currentPanel(), "Startliste");
    auto* combo = window().findChild<QComboBox*>("StartGruppe");
    if (!grouping.isEmpty()) combo->setCurrentIndex(combo->findText(grouping));
    window().findChild<QCheckBox*>("Startliste_StNr_absteigend")->setChecked(descending);
    ui().chooseSaveFile(outputPath());
    QTest::keyClick(combo, Qt::Key_F2);
  }
  QString resultText() { return window().findChild<QLabel*>("Startliste_Meldung")->text(); }
};

TEST_F(StartListTest, PanelOffersTheGroupingsOfTheCompetition) {
  openCompetition(SmallCompetition());
  trigger("BearbeitenStartliste");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Startliste");
  auto* combo = window().findChild<QComboBox*>("StartGruppe");
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  EXPECT_EQ(items, (QStringList{"keine Unterteilung", "Klasse", "Gruppe", "Kategorie / StartNr",
                                "Kategorie / IdNr"}));
  EXPECT_EQ(combo->currentText(), "Klasse");
  EXPECT_EQ(window().findChild<QLabel*>("StartlisteBezVeranst")->text(), "Bezirkscup\r\nKinder");
  EXPECT_EQ(window().findChild<QLabel*>("StartlisteDatumVeranst")->text(), "16.01.2027");
  EXPECT_TRUE(window().findChild<QCheckBox*>("Startliste_anzeigen")->isChecked());
  GrabForLooking(window(), "startlist-panel");
}

TEST_F(StartListTest, WritesTheListGroupedByClassWithHeadsAndFoot) {
  openCompetition(SmallCompetition());
  writeList("Klasse");
  EXPECT_EQ(resultText(), "Startliste gespeichert unter: " + outputPath());
  EXPECT_EQ(ui().saveRequests.size(), 1);
  EXPECT_EQ(ui().saveRequests[0].fileName, "Cup-Startliste-Riesenslalom.pdf");
  EXPECT_EQ(ui().saveRequests[0].directory, dataDir());
  EXPECT_EQ(ui().viewerOpened, QStringList{outputPath()});

  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  EXPECT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.title(), "Startliste Cup Riesenslalom");
  KeepForLooking(outputPath(), "startlist-small.pdf");
  const QStringList lines = pdf.lineTexts(1);
  EXPECT_TRUE(lines.contains("STARTLISTE 1. Durchgang")) << lines.join("\n").toStdString();
  EXPECT_TRUE(lines.contains("Kinder weiblich"));
  auto heading = pdf.findWord("Bezirkscup");
  ASSERT_TRUE(heading);
  EXPECT_NEAR(heading->top(), 110, 2);
  auto stnr = pdf.findWord("Stnr");
  ASSERT_TRUE(stnr);
  EXPECT_NEAR(stnr->right(), 285, 2);
  EXPECT_NEAR(stnr->top(), 450, 2);
  EXPECT_TRUE(stnr->bold());
  auto lzeit = pdf.findWord("L-Zeit");
  ASSERT_TRUE(lzeit);
  EXPECT_NEAR(lzeit->right(), 2005, 2);
  auto vb = pdf.findWord("VB");
  ASSERT_TRUE(vb);
  EXPECT_NEAR(vb->left(), 1000, 2);
  auto verein = pdf.findWord("Verein");
  ASSERT_TRUE(verein);
  EXPECT_NEAR(verein->left(), 1160, 2);
  // Classes in their order, bibs ascending within each.
  auto huber = pdf.findLine("Huber Anna");
  auto ott = pdf.findLine("Ott Emil");
  auto oehler = pdf.findLine("Öhler Ben");
  ASSERT_TRUE(huber && ott && oehler);
  EXPECT_LT(huber->top(), oehler->top());  // Kinder weiblich before Kinder männlich
  EXPECT_LT(oehler->top(), ott->top());    // bib 2 before bib 5
  EXPECT_NEAR(pdf.findWord("Huber")->left(), 475, 2);
  EXPECT_EQ(huber->text(), "1 Huber Anna 15 AUT SC Musterdorf ---");
  // Foot block.
  EXPECT_TRUE(pdf.findLine("16.01.2027 / Musterdorf (AUT)"));
  EXPECT_TRUE(pdf.findLine("Bewerbsnummer 1234, Seite 1"));
  EXPECT_TRUE(pdf.findLine("erstellt mit Dizezizar Ivezodovuzorov - Version 3.7.6"));
  EXPECT_TRUE(pdf.findLine("Ausdruck: 07.12.2026 / 10:30"));
  EXPECT_NEAR(pdf.findWord("Ausdruck:")->top(), 2800, 2);
}

// Late entries without a class drop out of the lists grouped by class: the result line
// says so.
TEST_F(StartListTest, RacersLeftOutOfTheClassListsAreCounted) {
  auto race = SmallCompetition();
  race.teilnehmer[1].klasse.reset();
  race.teilnehmer[4].klasse = 99;  // a class that does not exist
  openCompetition(race);
  const QString note = "\n2 gemeldete Teilnehmer ohne Klasse nicht in der Liste";
  writeList("Klasse");  // through the panel: its result line shows both lines
  EXPECT_EQ(resultText(), "Startliste gespeichert unter: " + outputPath() + note);
  GrabForLooking(window(), "startlist-left-out");
  writeList("keine Unterteilung");  // nobody left out
  EXPECT_EQ(resultText(), "Startliste gespeichert unter: " + outputPath());
  ui().chooseSaveFile(outputPath("namen.pdf"));
  EXPECT_EQ(WriteNameList(state(), {false}).text,
            "Namensliste gespeichert unter: " + outputPath("namen.pdf") + note);
  ui().chooseSaveFile(outputPath("tafel.pdf"));
  BoardListOptions board;
  board.grouping = "Klasse";
  EXPECT_EQ(WriteBoardList(state(), board).text,
            "Tafelliste gespeichert unter: " + outputPath("tafel.pdf") + note);
}

TEST_F(StartListTest, MissingBibsStopTheListBeforeTheDialog) {
  auto race = SmallCompetition();
  race.teilnehmer[2].disziplinen[2].startnr.reset();
  openCompetition(race);
  writeList();
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text,
            "Startliste kann nicht erstellt werden, da Startnummern nicht vollständig vergeben");
  EXPECT_TRUE(ui().saveRequests.isEmpty());
  EXPECT_FALSE(QFile::exists(outputPath()));
}

TEST_F(StartListTest, CancelAndAnUnwritableFileWhichClosesThePanel) {
  openCompetition(SmallCompetition());
  trigger("BearbeitenStartliste");
  expectCancelAndUnwritableFile("Startliste_Meldung", "Startliste", outputPath(), false);
}

TEST_F(StartListTest, MarksMovedBibsAndGapsAndBreaksPagesBeforeGroups) {
  db::CompetitionSpec race = db::DemoCompetition();
  openCompetition(race);
  writeList("Klasse");
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  KeepForLooking(outputPath(), "startlist-demo.pdf");
  for (int p = 1; p <= pdf.pageCount(); ++p) {
    // No row below the limit, every page has its foot.
    for (const PdfLine& line : pdf.lines(p)) {
      if (line.top() > 600 && line.top() < 2600) {
        EXPECT_LE(line.top(), 2610 + 43);
      }
    }
    EXPECT_TRUE(pdf.findLine(QString("Seite %1").arg(p), p)) << p;
  }
  EXPECT_GE(pdf.pageCount(), 3);
}

TEST(StartListPoints, PrintsTwoDecimalsOrDashes) {
  EXPECT_EQ(StartListPoints(9999.99), "---   ");
  EXPECT_EQ(StartListPoints(12.5), "12,50");
  EXPECT_EQ(StartListPoints(1234.5), "1234,50");
  EXPECT_EQ(StartListPoints(0), "0,00");
}

TEST(SexWord, FollowsTheCapitalLettersOfTheRaceNumber) {
  EXPECT_EQ(SexWord("W", ""), "Damen");
  EXPECT_EQ(SexWord("M", ""), "Herren");
  EXPECT_EQ(SexWord("W", "MB12"), "Mädchen");
  EXPECT_EQ(SexWord("M", "MB12"), "Buben");
  EXPECT_EQ(SexWord("W", "m12b"), "Damen");
  EXPECT_EQ(SexWord("M", "M12"), "Herren");
  EXPECT_EQ(SexWord("Kinder", "MB"), "Kinder");
}

}  // namespace
}  // namespace kx::test
