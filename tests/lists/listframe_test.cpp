#include "lists/listframe.h"

#include "startorder/startlist.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cstdio>

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

// An event name far too long for the heading block, even at the smallest size, is cut with
// "…" inside the block's edges, above the discipline and list titles, on every page; a name
// changed between pages is fitted again. 2,000 characters are still shrunk step by step,
// longer names are measured in beginnings.
TEST_F(ListFrameTest, AnEventNameTooLongForTheHeadingIsCut) {
  QString words;
  while (words.size() < 100000) words += "Bezirkscup Musterdorf Kinder und Schüler ";
  const QString lines = QString("Lauf\r\n").repeated(2000);
  const QString oneWord(100000, QChar('W'));
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  const QChar ellipsis(0x2026);
  int n = 0;
  for (const QString& name : {words.left(2000), words, lines, oneWord}) {
    const QString out = QDir(dataDir()).filePath("lang.pdf");
    ui().chooseSaveFile(out);
    PdfListFrame frame(state(), {"Startliste", "-Startliste-", "Startliste "});
    ASSERT_TRUE(frame.OpenDoc(false));
    frame.ReadListEvent();
    frame.ReadListHeadTexts();
    frame.event().bewerbsbezeichnung = name;
    frame.StartListPage(1, "STARTLISTE", {}, "Kredit");
    frame.StartListPage(2, "STARTLISTE", {}, "Kredit");
    frame.event().bewerbsbezeichnung = "Kurz";
    frame.StartListPage(3, "STARTLISTE", {}, "Kredit");
    frame.FinishDoc(1);
    KeepForLooking(out, QString("frame-long-name%1.pdf").arg(++n));

    PdfReader pdf(out);
    for (const int page : {1, 2}) {
      SCOPED_TRACE(QString("Name %1, Seite %2").arg(n).arg(page).toStdString());
      const double titleTop = pdf.findWord("STARTLISTE", page)->top();
      EXPECT_NEAR(titleTop, 325, 2);
      QList<PdfLine> heading;
      for (const PdfLine& line : pdf.lines(page)) {
        if (line.top() < titleTop - 5) heading.append(line);
      }
      ASSERT_GE(heading.size(), 3);
      EXPECT_EQ(heading.last().text(), "Riesenslalom");
      const QString cut = heading[heading.size() - 2].text();
      EXPECT_TRUE(cut.endsWith(ellipsis)) << cut.toStdString();
      EXPECT_TRUE(name.startsWith(heading.first().words.first().text));
      for (const PdfLine& line : heading) {
        EXPECT_GE(line.left(), 129);
        EXPECT_LE(line.right(), 1971);
        EXPECT_LT(line.words.first().bottom(), titleTop);
        EXPECT_NEAR(line.words.first().size, 5, 0.15);
      }
    }
    EXPECT_NEAR(pdf.findWord("Kurz", 3)->size, 16, 0.15);
    EXPECT_NEAR(pdf.findWord("Kurz", 3)->top(), 110, 2);
  }
}

// A list title and head texts far too long for their places are cut with "…" there: the
// title to one line under the event name, the evaluation and timing texts on the foot's last
// line, clear of the print date and of each other. Line breaks in them do not move the foot.
TEST_F(ListFrameTest, AListTitleAndHeadTextsTooLongForTheirPlacesAreCut) {
  QString words;
  while (words.size() < 100000) words += "Riesenslalom Damen und Herren ";
  const QChar ellipsis(0x2026);
  int n = 0;
  for (const QString& text : {words, QString("Lauf\r\n").repeated(20000)}) {
    SCOPED_TRACE(++n);
    auto race = SmallCompetition();
    race.listenkopf = {{2, 94, text}, {2, 0, text}, {2, 1, text}, {0, 92, "0;0"}};
    const QString out = write(race, dataDir());
    KeepForLooking(out, QString("frame-long-title%1.pdf").arg(n));

    PdfReader pdf(out);
    const double titleTop = pdf.findWord("STARTLISTE", 1)->top();
    QList<PdfLine> heading = pdf.lines(1);
    while (heading.last().top() >= titleTop - 5) heading.removeLast();
    EXPECT_EQ(heading.first().text(), "Bezirkscup");
    EXPECT_TRUE(heading.last().text().endsWith(ellipsis)) << heading.last().text().toStdString();
    for (const PdfLine& line : heading)
      EXPECT_TRUE(line.left() >= 129 && line.right() <= 1971) << line.text().toStdString();

    // The foot's last line, nothing below it: the print date, the evaluation centred, the
    // timing text at the right edge, each ending before the next begins.
    const QList<PdfWord> foot = pdf.lines(1, 30).last().words;
    const auto at = [&](const char* word) {
      return std::find_if(foot.begin(), foot.end(), [&](auto& w) { return w.text == word; });
    };
    const auto evaluation = at("Auswertung:"), timing = at("TIMING:");
    ASSERT_TRUE(foot.first().text == "Ausdruck:" && evaluation != foot.end() &&
                timing != foot.end());
    EXPECT_LT((evaluation - 1)->right(), evaluation->left());
    EXPECT_LT((timing - 1)->right(), timing->left());
    EXPECT_NEAR((evaluation->left() + (timing - 1)->right()) / 2, 1060, 3);
    EXPECT_TRUE((timing - 1)->text.endsWith(ellipsis) && foot.last().text.endsWith(ellipsis));
  }
}

TEST_F(ListFrameTest, AViewerThatCannotBeStartedIsNamedInTheResultLine) {
  ui().viewerStarts = false;
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  const QString out = QDir(dataDir()).filePath("liste.pdf");
  ui().chooseSaveFile(out);
  last = WriteStartList(state(), StartListOptions{});
  EXPECT_EQ(last.text, "Startliste gespeichert unter: " + out +
                           "\nDie Datei wurde gespeichert, aber es konnte kein "
                           "PDF-Anzeigeprogramm geöffnet werden.");
  EXPECT_TRUE(QFileInfo(out).isFile());
}

// The main program replaced the file (a new one renamed over it) or it was deleted: no
// list from the stale file, and nothing written into it.
TEST_F(ListFrameTest, NoListFromACompetitionFileThatWasReplacedOrRemoved) {
  for (const bool removed : {false, true}) {
    const QString path = writeCompetition("Cup.mdb", SmallCompetition());
    openThroughMenu(path);
    if (removed) {
      ASSERT_TRUE(QFile::remove(path));
    } else {
      const QString newer = writeCompetition("Neu.mdb", SmallCompetition());
      ASSERT_EQ(
          std::rename(QFile::encodeName(newer).constData(), QFile::encodeName(path).constData()),
          0);
    }
    ui().clear();
    const QString out = QDir(dataDir()).filePath("liste.pdf");
    ui().chooseSaveFile(out);
    last = WriteStartList(state(), StartListOptions{});
    ASSERT_EQ(ui().messages.size(), 1);
    EXPECT_EQ(ui().messages[0].text, "Die Bewerbsdatei '" + path +
                                         "' wurde inzwischen ersetzt oder gelöscht.\nBitte die "
                                         "Bewerbsdatei neu öffnen.");
    EXPECT_TRUE(ui().saveRequests.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(last.text.contains("gespeichert"));
    EXPECT_THROW(state().db().transaction(), db::Error);  // nor any write
  }
}

}  // namespace
}  // namespace kx::test
