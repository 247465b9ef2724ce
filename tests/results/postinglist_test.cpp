#include "results/postinglist.h"
#include "results/racedata.h"

#include "tests/results/resultsfixture.h"
#include "workpanel/menuentries.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace kx::test {
namespace {

class PostingListTest : public ResultsTest {
 protected:
  // `count` racers of class 2 with two valid runs.
  void openRacers(int count, int typ = 4) {
    db::CompetitionSpec race = EmptyRace();
    race.bewerb.typ = typ;
    for (int i = 1; i <= count; ++i) {
      AddRacer(race, i, "M", 2, QString("Name%1").arg(i, 2, 10, QChar('0')));
      AddRun(race, i, 1, 2600 + i);
      AddRun(race, i, 2, 2600);
    }
    open(race);
  }
  PdfReader write(bool landscape, const QString& look) {
    ui.chooseSaveFile(outputPath("aushang.pdf"));
    const ResultLine line = WritePostingList(state, {"Klasse", "Kinder männlich", landscape, true});
    EXPECT_EQ(line.text, "Aushangliste gespeichert unter: " + outputPath("aushang.pdf"));
    KeepForLooking(outputPath("aushang.pdf"), look);
    return PdfReader(outputPath("aushang.pdf"));
  }
  static int rowsOn(const PdfReader& pdf, int page) {
    int n = 0;
    for (const QString& line : pdf.lineTexts(page)) n += line.contains("Name") ? 1 : 0;
    return n;
  }
};

TEST_F(PostingListTest, RowsPerPageInBothOrientations) {
  openRacers(39);
  PdfReader pdf = write(false, "aushangliste-hoch.pdf");
  ASSERT_EQ(pdf.pageCount(), 2);
  EXPECT_EQ(rowsOn(pdf, 1), 38);
  EXPECT_EQ(rowsOn(pdf, 2), 1);
  EXPECT_EQ(pdf.findLine("Name01")->text(), "1 Name01, Vorname 2012 SC Verein1 26,01 26,00 52,01");
  EXPECT_EQ(pdf.findLine("Bezirkscup")->text(), "Bezirkscup Riesenslalom - Kinder männlich");
  EXPECT_TRUE(pdf.findLine("erstellt mit Kandrix", 2));
  EXPECT_FALSE(pdf.findLine("erstellt mit Kandrix", 1));

  pdf = write(true, "aushangliste-quer.pdf");
  EXPECT_GT(pdf.pageSize(1).width(), pdf.pageSize(1).height());
  EXPECT_EQ(rowsOn(pdf, 1), 17);
  EXPECT_EQ(rowsOn(pdf, 2), 19);
  EXPECT_EQ(rowsOn(pdf, 3), 3);
}

TEST_F(PostingListTest, TwoTimeColumnsForBestRunTypesAndNoTotalWithoutTwoValidRuns) {
  openRacers(2, 6);
  state.db().execute("update tblZeit set ergcode=2,netto=null where teilnehmer=2 and durchgang=2");
  const PdfReader pdf = write(false, "aushangliste-zwei.pdf");
  EXPECT_EQ(pdf.findLine("Name01")->text(), "1 Name01, Vorname 2012 SC Verein1 26,01 26,00");
  EXPECT_EQ(pdf.findLine("Name02")->text(), "2 Name02, Vorname 2012 SC Verein2 26,02 NiZ");

  state.Settings.typ = "4";
  const RaceData data = ReadRaceData(state.db(), 2, "gs");
  const std::vector<PostingRow> rows =
      PostingRows(data, {"Klasse", "kinder MÄNNLICH", false, true}, 4, false);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].total, "52,01");
  EXPECT_TRUE(rows[1].total.isEmpty());
  EXPECT_TRUE(rows[1].year.isEmpty());
}

class PostingListPanelTest : public AppFixture {};

TEST_F(PostingListPanelTest, DivisionsFollowTheGroupingAndAQuoteInANameIsJustText) {
  db::CompetitionSpec race = SmallCompetition();
  race.klassen[0].klname = "Kinder's";
  for (int id = 1; id <= 6; ++id) {
    AddRun(race, id, 1, 4000 + id);
    AddRun(race, id, 2, 4000);
  }
  openThroughMenu(writeCompetition("Cup.mdb", race));
  trigger(menu::BearbeitenAushangliste);
  ASSERT_EQ(window().currentPanel(), "Aushangliste");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Aushangliste für eine Klasse");
  auto* division = window().findChild<QComboBox*>("AushanglisteKlName");
  EXPECT_EQ(division->currentText(), "Kinder's");
  EXPECT_EQ(division->count(), 4);
  auto* grouping = window().findChild<QComboBox*>("AushanglisteGruppe");
  grouping->setCurrentIndex(grouping->findText("Kategorie"));
  EXPECT_EQ(window().findChild<QLabel*>("Label04")->text(), "Kategorie");
  EXPECT_EQ(division->itemText(0), "Damen");
  grouping->setCurrentIndex(grouping->findText("Klasse"));
  auto* format = window().findChild<QComboBox*>("AushanglisteFormat");
  format->lineEdit()->selectAll();
  QTest::keyClicks(format->lineEdit(), "q");
  EXPECT_EQ(format->currentText(), "Querformat");
  GrabForLooking(window(), "aushangliste-panel");

  const QString out = QDir(dataDir()).filePath("aushang.pdf");
  ui().chooseSaveFile(out);
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(window().findChild<QLabel*>("Aushangliste_Meldung")->text(),
            "Aushangliste gespeichert unter: " + out);
  PdfReader pdf(out);
  EXPECT_TRUE(pdf.findLine("Kinder's"));
  EXPECT_TRUE(pdf.findLine("Huber, Anna"));
  EXPECT_FALSE(pdf.findLine("Abel"));
}

}  // namespace
}  // namespace kx::test
