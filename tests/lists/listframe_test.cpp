#include "lists/listframe.h"

#include "startorder/startlist.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QDir>
#include <QImage>

namespace kx::test {
namespace {

// The start list is the list that uses the whole frame; these tests look at the frame.
class ListFrameTest : public AppFixture {
 protected:
  void writePicture(const QString& path, const QColor& color) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path, "BMP"));
  }
  QString write(const db::CompetitionSpec& race, const QString& outDir) {
    openThroughMenu(writeCompetition("Cup.mdb", race));
    const QString out = QDir(outDir).filePath("frame.pdf");
    ui().chooseSaveFile(out);
    StartListOptions options;
    options.openAfterOutput = false;
    last = WriteStartList(state(), options);
    return out;
  }
  // The colour at a point of the rendered page, in the program's units.
  QColor colourAt(const QString& pdf, int x, int y) {
    const QString png = QDir(programDir()).filePath("page.png");
    EXPECT_TRUE(RenderPdfPage(pdf, 1, png, 100));
    QImage image(png);
    const double scale = image.width() / 2100.0;
    return image.pixelColor(static_cast<int>(x * scale), static_cast<int>(y * scale));
  }
  ResultLine last;
};

TEST_F(ListFrameTest, LogosBesideTheChosenFileAndTheFooterBandMoveTheFoot) {
  QDir(dataDir()).mkpath("Ausgabe");
  const QString outDir = QDir(dataDir()).filePath("Ausgabe");
  writePicture(QDir(outDir).filePath("logo2.bmp"), QColor(200, 0, 0));
  writePicture(QDir(dataDir()).filePath("LOGO3.BMP"), QColor(0, 0, 200));
  auto race = SmallCompetition();
  race.listenkopf.push_back({0, 92, "1;12"});
  race.listenkopf.erase(race.listenkopf.begin() + 2);  // the "0;0" setting
  const QString pdf = write(race, outDir);
  ASSERT_EQ(last.text, "Startliste gespeichert unter: " + pdf);
  KeepForLooking(pdf, "frame-logos.pdf");

  EXPECT_EQ(colourAt(pdf, 1865, 245), QColor(200, 0, 0));   // logo2.bmp, right
  EXPECT_EQ(colourAt(pdf, 1000, 2810), QColor(0, 0, 200));  // logo3.bmp, the band
  PdfReader reader(pdf);
  EXPECT_NEAR(reader.findWord("Ausdruck:")->top(), 2550 + 130, 2);
  EXPECT_NEAR(reader.findLine("16.01.2027 / Musterdorf (AUT)")->top(), 2550, 2);
}

TEST_F(ListFrameTest, WithoutTheBandPictureTheFootStaysButRowsEndEarlier) {
  auto race = SmallCompetition();
  race.listenkopf = {
      {2, 94, "Riesen/Slalom"}, {0, 92, "1;12"}, {2, 0, "SC Musterdorf"}, {2, 1, "ZT Musterdorf"}};
  const QString pdf = write(race, dataDir());
  PdfReader reader(pdf);
  EXPECT_NEAR(reader.findWord("Ausdruck:")->top(), 2670 + 130, 2);
  EXPECT_TRUE(reader.findLine("Auswertung: SC Musterdorf"));
  EXPECT_NEAR(reader.findWord("TIMING:")->top(), 2800, 2);
  EXPECT_NEAR(reader.findLine("TIMING: ZT Musterdorf")->right(), 2020, 2);
  // A slash of the discipline title becomes "_" in the proposed name only.
  EXPECT_EQ(ui().saveRequests.last().fileName, "Cup-Startliste-Riesen_Slalom.pdf");
  EXPECT_EQ(reader.title(), "Startliste Cup Riesen/Slalom");
  EXPECT_TRUE(reader.findLine("Riesen/Slalom"));
  PdfListFrame frame(state(), {"Startliste", "-Startliste-", "Startliste "});
  frame.CreateDoc(false);
  frame.ReadListHeadTexts();
  EXPECT_EQ(frame.footerLogoHeight(), 12);
  EXPECT_EQ(frame.limit(2610), 2490);
}

TEST_F(ListFrameTest, ABandSettingWithoutHeightLeavesTheBandOff) {
  auto race = SmallCompetition();
  race.listenkopf = {{2, 94, "Riesenslalom"}, {0, 92, "1;"}};
  openThroughMenu(writeCompetition("Cup.mdb", race));
  PdfListFrame frame(state(), {"Startliste", "-Startliste-", "Startliste "});
  frame.CreateDoc(false);
  const ListHeadTexts& head = frame.ReadListHeadTexts();
  EXPECT_FALSE(head.footerBand);
  EXPECT_EQ(head.footerLogoHeight, 0);
}

TEST_F(ListFrameTest, AMissingEventRowIsReportedAndTheFileNotOpened) {
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  state().db().execute("delete from tblDisziplin where dtyp = 2");
  const QString out = QDir(dataDir()).filePath("ohne.pdf");
  ui().chooseSaveFile(out);
  ui().clear();
  StartListOptions options;
  last = WriteStartList(state(), options);
  ASSERT_FALSE(ui().messages.isEmpty());
  EXPECT_EQ(ui().messages[0].text, "Keine Bewerbs-Daten gefunden!");
  EXPECT_EQ(ui().messages[0].title, "Achtung");
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_EQ(last.text, "Startliste gespeichert unter: " + out);
  PdfReader reader(out);
  EXPECT_TRUE(reader.findLine("Seite 1"));  // no race number
}

TEST_F(ListFrameTest, AnEarlierFileSurvivesAnAbandonedOutput) {
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  const QString out = QDir(dataDir()).filePath("alt.pdf");
  QFile old(out);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("alte Liste");
  old.close();
  // A database error in the middle of the output abandons it.
  state().db().execute("drop table tblKlasse");
  ui().chooseSaveFile(out);
  StartListOptions options;
  options.grouping = "Klasse";
  EXPECT_THROW(WriteStartList(state(), options), db::Error);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "alte Liste");
  EXPECT_EQ(QDir(dataDir()).entryList(QDir::Files | QDir::Hidden).filter("alt").size(), 1);
}

}  // namespace
}  // namespace kx::test
