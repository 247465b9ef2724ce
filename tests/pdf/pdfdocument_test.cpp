// The PDF writer, read back with the PDF reader of the tests: where text lands, how it
// wraps, fonts, pages, pictures, and that a failed or abandoned output damages no file.

#include "pdf/pdfdocument.h"
#include "pdf/pdfpen.h"

#include "tests/support/pdfreader.h"
#include "tests/support/scriptedui.h"

#include <QColor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <functional>

namespace kx::pdf {
namespace {

using test::PdfReader;
using test::PdfWord;
using test::ScriptedUi;

class PdfDocumentTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }

  // Writes one document to `name` with `draw` between BeginDoc and EndDoc.
  QString write(const QString& name, const std::function<void(PdfDocument&)>& draw,
                UserInterface* ui = nullptr) {
    const QString file = path(name);
    PdfDocument doc(ui);
    EXPECT_EQ(doc.SetStrProp(kPropFileName, file), 0);
    EXPECT_EQ(doc.BeginDoc(), 0) << doc.GetErrorMsg().toStdString();
    draw(doc);
    EXPECT_EQ(doc.EndDoc(), 0) << doc.GetErrorMsg().toStdString();
    return file;
  }

  QStringList filesInDir() const { return QDir(dir_.path()).entryList(QDir::Files); }

  QTemporaryDir dir_;
};

// The line height of DrawText in the current font: the distance between two wrapped lines.
double lineHeight(const PdfReader& pdf) {
  const auto first = pdf.findWord("eins");
  const auto second = pdf.findWord("zwei");
  return second->top() - first->top();
}

TEST_F(PdfDocumentTest, TextOutPlacesTheTopLeftOfTheTextAtThePointInEverySize) {
  // Every size is drawn as asked, not at the whole device pixels of 254 dpi (10 pt would be
  // 9.92 pt, 7 pt 7.09 pt), bold and italic alike, and measured as it is drawn.
  QList<int> widths;
  const QString file = write("sizes.pdf", [&](PdfDocument& doc) {
    for (int size = 5; size <= 16; ++size) {
      doc.SetNumProp(kPropFontSize, size);
      doc.SetNumProp(kPropBold, size % 2);
      doc.SetNumProp(kPropItalic, size % 3 == 0 ? 1 : 0);
      const QString text = QStringLiteral("Größe%1").arg(size);
      widths.append(doc.TextWidth(text));
      doc.TextOut(100 + size, 150 * size, text);
    }
  });
  PdfReader pdf(file);
  ASSERT_TRUE(pdf.isValid());
  for (int size = 5; size <= 16; ++size) {
    SCOPED_TRACE(size);
    const auto word = pdf.findWord(QStringLiteral("Größe%1").arg(size));
    ASSERT_TRUE(word);
    EXPECT_NEAR(word->left(), 100 + size, 1);
    EXPECT_NEAR(word->top(), 150 * size, 1);
    EXPECT_NEAR(word->size, size, 0.01);
    EXPECT_NEAR(word->right() - word->left(), widths[size - 5], 0.5);
    EXPECT_EQ(word->bold(), size % 2 == 1);
    EXPECT_EQ(word->italic(), size % 3 == 0);
  }
}

TEST_F(PdfDocumentTest, DrawTextAlignsLeftRightAndCentredAndTextWidthMatches) {
  int width = 0;
  const QString file = write("align.pdf", [&](PdfDocument& doc) {
    doc.SetNumProp(kPropFontSize, 10);
    doc.SetNumProp(kPropBold, 1);
    width = doc.TextWidth("Bewerbsnummer 123,  Seite 3");
    doc.DrawText(130, 100, 1970, 0, kAlignLeft, 0, "Links");
    doc.DrawText(130, 200, 2020, 0, kAlignRight, 0, "Bewerbsnummer 123,  Seite 3");
    doc.DrawText(130, 300, 1970, 0, kAlignCenter, 0, "STARTLISTE");
    doc.SetNumProp(kPropFontSize, 8);
    doc.SetNumProp(kPropBold, 0);
    doc.DrawText(550, 400, 770, 290, kAlignCenter, 0, "Kaution");
  });
  PdfReader pdf(file);
  EXPECT_NEAR(pdf.findWord("Links")->left(), 130, 1);
  EXPECT_NEAR(pdf.findWord("Links")->top(), 100, 1);

  const auto line = pdf.findLine("Bewerbsnummer");
  ASSERT_TRUE(line);
  EXPECT_NEAR(line->right(), 2020, 1);
  EXPECT_NEAR(line->right() - line->left(), width, 1);
  EXPECT_NEAR(line->top(), 200, 1);

  EXPECT_NEAR(pdf.findWord("STARTLISTE")->centerX(), 1050, 1);
  EXPECT_NEAR(pdf.findWord("Kaution")->centerX(), 660, 1);
  EXPECT_NEAR(pdf.findWord("Kaution")->top(), 400, 1);
}

TEST_F(PdfDocumentTest, DrawTextWrapsAtTheRightEdgeAndReportsTheBottomOfItsLastLine) {
  QString bibs;
  for (int bib = 1; bib <= 120; ++bib) bibs += QString::number(bib) + "  ";
  int bottom = 0;
  int bottomOfBreaks = 0;
  const QString file = write("wrap.pdf", [&](PdfDocument& doc) {
    doc.SetNumProp(kPropFontSize, 10);
    doc.SetNumProp(kPropParagraph, 20);
    EXPECT_EQ(doc.DrawText(770, 500, 2000, 0, kAlignLeft, 0, bibs), 0);
    bottom = doc.GetNumProp(kPropTextBottom);
    doc.DrawText(130, 1500, 1970, 0, kAlignCenter, 0, "eins\r\nzwei\ndrei");
    bottomOfBreaks = doc.GetNumProp(kPropTextBottom);
  });
  PdfReader pdf(file);
  const double height = lineHeight(pdf);
  EXPECT_NEAR(height, 40, 2);  // 10 pt with the font's own line gap

  // Every bib is there once, in order, and no line passes the right edge.
  QStringList read;
  QList<test::PdfLine> lines;
  for (const auto& line : pdf.lines(1)) {
    if (line.top() >= 1500 - 1) break;
    lines.append(line);
    EXPECT_NEAR(line.left(), 770, 1);
    EXPECT_LE(line.right(), 2000 + 1);
    for (const auto& word : line.words) read.append(word.text);
  }
  EXPECT_EQ(read, bibs.split("  ", Qt::SkipEmptyParts));
  ASSERT_GE(lines.size(), 3);
  for (int i = 0; i < lines.size(); ++i) EXPECT_NEAR(lines[i].top(), 500 + i * height, 1);
  // Property 43: the top plus the lines' height, just below the last line's descenders.
  EXPECT_NEAR(bottom, 500 + lines.size() * height, 1);
  EXPECT_GE(bottom, lines.last().words.first().bottom());
  EXPECT_LE(bottom - lines.last().words.first().bottom(), 2);

  // Line breaks: each line set under the one before, each centred on its own.
  EXPECT_NEAR(pdf.findWord("drei")->top(), 1500 + 2 * height, 1);
  for (const char* word : {"eins", "zwei", "drei"}) {
    EXPECT_NEAR(pdf.findWord(word)->centerX(), 1050, 1) << word;
  }
  EXPECT_NEAR(bottomOfBreaks, 1500 + 3 * height, 1);
}

TEST_F(PdfDocumentTest, AWordWiderThanTheColumnIsBrokenInsideAndRightAlignedLinesStayRight) {
  const QString file = write("narrow.pdf", [](PdfDocument& doc) {
    doc.DrawText(100, 100, 300, 0, kAlignLeft, 0, "Skiclub-Unterinntal-Oberland");
    doc.DrawText(1000, 500, 1400, 0, kAlignRight, 0, "Ausdruck am Renntag um zehn Uhr");
  });
  PdfReader pdf(file);
  QString joined;
  for (const auto& line : pdf.lines(1)) {
    if (line.top() >= 500 - 1) {
      EXPECT_NEAR(line.right(), 1400, 1);
      continue;
    }
    EXPECT_LE(line.right(), 301);
    joined += line.text();
  }
  EXPECT_EQ(joined, "Skiclub-Unterinntal-Oberland");
  EXPECT_GE(pdf.lines(1).size(), 4);
}

TEST_F(PdfDocumentTest, FontsAreLiberationSansEmbeddedWithBoldItalicAndUmlauts) {
  const QString file = write("fonts.pdf", [](PdfDocument& doc) {
    doc.SetStrProp(kPropFontName, "Arial");
    doc.TextOut(100, 100, "Normal");
    doc.SetNumProp(kPropBold, 1);
    doc.TextOut(100, 200, "Fett");
    doc.SetNumProp(kPropItalic, 1);
    doc.TextOut(100, 300, "Fettkursiv");
    doc.SetNumProp(kPropBold, 0);
    doc.TextOut(100, 400, "Kursiv");
    doc.SetNumProp(kPropItalic, 0);
    doc.TextOut(100, 500, "Müßiggänger ÄÖÜäöüß 5 €");
  });
  PdfReader pdf(file);
  EXPECT_EQ(pdf.findWord("Normal")->font, "LiberationSans");
  EXPECT_EQ(pdf.findWord("Fett")->font, "LiberationSans-Bold");
  EXPECT_EQ(pdf.findWord("Fettkursiv")->font, "LiberationSans-BoldItalic");
  EXPECT_EQ(pdf.findWord("Kursiv")->font, "LiberationSans-Italic");
  EXPECT_EQ(pdf.lineTexts(1).last(), "Müßiggänger ÄÖÜäöüß 5 €");
  ASSERT_FALSE(pdf.fonts().isEmpty());
  for (const auto& font : pdf.fonts()) {
    EXPECT_TRUE(font.name.startsWith("LiberationSans")) << font.name.toStdString();
    EXPECT_TRUE(font.embedded) << font.name.toStdString();
  }
}

TEST_F(PdfDocumentTest, PagesOrientationAndTitle) {
  {
    const QString file = path("pages.pdf");
    PdfDocument doc(nullptr);
    doc.SetStrProp(kPropTitle, "Startliste Hahnenkamm 2026 Riesentorlauf / Damen");
    doc.SetStrProp(kPropFileName, file);
    ASSERT_EQ(doc.BeginDoc(), 0);
    for (int page = 1; page <= 3; ++page) {
      if (page > 1) {
        ASSERT_EQ(doc.NewPage(), 0);
      }
      doc.TextOut(100, 2800, QStringLiteral("Seite%1").arg(page));
    }
    EXPECT_EQ(doc.pageCount(), 3);
    ASSERT_EQ(doc.EndDoc(), 0);
    PdfReader pdf(file);
    EXPECT_EQ(pdf.title(), "Startliste Hahnenkamm 2026 Riesentorlauf / Damen");
    ASSERT_EQ(pdf.pageCount(), 3);
    for (int page = 1; page <= 3; ++page) {
      EXPECT_EQ(pdf.lineTexts(page), QStringList{QStringLiteral("Seite%1").arg(page)});
    }
    EXPECT_NEAR(pdf.pageSize(1).width(), 2100, 2);
    EXPECT_NEAR(pdf.pageSize(1).height(), 2970, 2);
  }
  {
    const QString file = path("landscape.pdf");
    PdfDocument doc(nullptr);
    doc.SetNumProp(kPropLandscape, 1);
    doc.SetStrProp(kPropFileName, file);
    ASSERT_EQ(doc.BeginDoc(), 0);
    EXPECT_EQ(doc.pageWidth(), 2970);
    EXPECT_EQ(doc.pageHeight(), 2100);
    doc.DrawText(100, 2000, 2870, 0, kAlignRight, 0, "rechts unten");
    ASSERT_EQ(doc.EndDoc(), 0);
    PdfReader pdf(file);
    EXPECT_NEAR(pdf.pageSize(1).width(), 2970, 2);
    EXPECT_NEAR(pdf.pageSize(1).height(), 2100, 2);
    EXPECT_NEAR(pdf.findWord("unten")->right(), 2870, 1);
    EXPECT_NEAR(pdf.findWord("unten")->top(), 2000, 1);
  }
}

// Darkness (0 white .. 255 black) of a rendered page at a point given in units.
int darkness(const QImage& page, double x, double y) {
  const double scale = page.width() / 2100.0;
  return 255 - qGray(page.pixel(static_cast<int>(x * scale), static_cast<int>(y * scale)));
}

TEST_F(PdfDocumentTest, LinesAndRectanglesAreDrawnInTheLineWidth) {
  const QString file = write("lines.pdf", [](PdfDocument& doc) {
    doc.SetNumProp(kPropLineWidth, 1);
    doc.MoveTo(100, 395);
    doc.LineTo(2020, 395);
    doc.SetNumProp(kPropLineWidth, 20);
    doc.MoveTo(100, 1000);
    doc.LineTo(2000, 1000);
    doc.LineTo(2000, 2000);  // continues from the end of the last line
    doc.Rectangle(300, 1200, 900, 1800);
  });
  const QString png = path("lines.png");
  ASSERT_TRUE(test::RenderPdfPage(file, 1, png, 127));  // 1 pixel = 2 units
  const QImage page(png);
  ASSERT_FALSE(page.isNull());
  EXPECT_GT(darkness(page, 1000, 1000), 200);  // thick rule
  EXPECT_GT(darkness(page, 2000, 1500), 200);  // the line on from its end
  EXPECT_GT(darkness(page, 300, 1500), 200);   // box outline left
  EXPECT_GT(darkness(page, 600, 1800), 200);   // box outline bottom
  EXPECT_LT(darkness(page, 600, 1500), 10);    // box inside stays empty
  EXPECT_LT(darkness(page, 1000, 1030), 10);   // 2 mm rule ends 1 mm from its middle
  EXPECT_LT(darkness(page, 2040, 395), 10);    // thin rule ends at its end point
  EXPECT_GT(darkness(page, 1000, 395), 40);    // thin rule is visible
}

TEST_F(PdfDocumentTest, PicturesFromBmpJpgPngAndIcoFilesAreStretchedIntoTheirBoxes) {
  const QList<std::pair<QString, QColor>> pictures = {{"logo1.bmp", QColor(255, 0, 0)},
                                                      {"logo2.jpg", QColor(0, 0, 255)},
                                                      {"logo3.png", QColor(0, 160, 0)},
                                                      {"logo4.ico", QColor(255, 200, 0)}};
  for (const auto& [name, color] : pictures) {
    QImage image(32, 16, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path(name))) << name.toStdString();
  }
  QImage inMemory(8, 8, QImage::Format_RGB32);
  inMemory.fill(Qt::black);
  const QString file = write("pictures.pdf", [&](PdfDocument& doc) {
    int x = 100;
    for (const auto& picture : pictures) {
      EXPECT_EQ(doc.StretchDrawFromFile(x, 90, x + 310, 400, path(picture.first)), 0)
          << doc.GetErrorMsg().toStdString();
      x += 400;
    }
    EXPECT_EQ(doc.StretchDraw(100, 1000, 2000, 1100, inMemory), 0);
  });
  const QString png = path("pictures.png");
  ASSERT_TRUE(test::RenderPdfPage(file, 1, png, 60));
  const QImage page(png);
  const double scale = page.width() / 2100.0;
  int x = 100;
  for (const auto& [name, color] : pictures) {
    const QColor seen =
        page.pixelColor(static_cast<int>((x + 155) * scale), static_cast<int>(245 * scale));
    EXPECT_NEAR(seen.red(), color.red(), 12) << name.toStdString();
    EXPECT_NEAR(seen.green(), color.green(), 12) << name.toStdString();
    EXPECT_NEAR(seen.blue(), color.blue(), 12) << name.toStdString();
    EXPECT_LT(darkness(page, x + 155, 420), 10) << name.toStdString();  // nothing below
    x += 400;
  }
  EXPECT_GT(darkness(page, 1000, 1050), 240);
  // Logos keep their exact pixels: no lossy JPEG inside the document.
  QFile pdf(file);
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  EXPECT_FALSE(pdf.readAll().contains("DCTDecode"));
}

TEST_F(PdfDocumentTest, TheViewerOpensExactlyWhenAsked) {
  ScriptedUi ui;
  for (int open : {0, 1}) {
    const QString file = path(QStringLiteral("viewer%1.pdf").arg(open));
    PdfDocument doc(&ui);
    doc.SetNumProp(kPropOpenViewer, 1);
    doc.SetNumProp(kPropOpenViewer, open);  // the frame switches it off again for empty lists
    doc.SetStrProp(kPropFileName, file);
    ASSERT_EQ(doc.BeginDoc(), 0);
    ASSERT_EQ(doc.EndDoc(), 0);
  }
  EXPECT_EQ(ui.viewerOpened, QStringList{path("viewer1.pdf")});
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(PdfDocumentTest, AFailingOperationIsReportedAndAbandonsTheOutput) {
  ScriptedUi ui;
  const QString file = path("Startliste.pdf");
  bool aborted = false;
  try {
    PdfDocument doc(&ui);
    PdfSetStrProp(doc, kPropFileName, file);
    PdfCheck(doc, doc.BeginDoc());
    PdfCheck(doc, 0);
    PdfCheck(doc, 17);
    PdfCheck(doc, doc.TextOut(100, 110, "Kopf"));
    PdfCheck(doc, doc.StretchDrawFromFile(1710, 90, 2020, 400, path("logo2.bmp")));
    PdfCheck(doc, doc.EndDoc());
  } catch (const PdfAbort&) {
    aborted = true;
  }
  EXPECT_TRUE(aborted);
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].title, "PDF-Ausgabe");
  EXPECT_EQ(ui.messages[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(ui.messages[0].text.contains("logo2.bmp"));
  EXPECT_TRUE(ui.messages[0].text.contains("nicht gefunden"));
  EXPECT_TRUE(filesInDir().isEmpty()) << filesInDir().join(", ").toStdString();
}

TEST_F(PdfDocumentTest, UnreadablePicturesAndMisuseGiveGermanErrors) {
  QFile broken(path("kaputt.jpg"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("kein Bild");
  broken.close();

  PdfDocument doc(nullptr);
  EXPECT_EQ(doc.TextOut(100, 100, "zu früh"), -1);
  EXPECT_TRUE(doc.GetErrorMsg().contains("noch nicht begonnen"));
  EXPECT_EQ(doc.BeginDoc(), -1);  // no output file
  EXPECT_TRUE(doc.GetErrorMsg().contains("keine Ausgabedatei"));
  EXPECT_EQ(doc.SetNumProp(kPropTextBottom, 5), -1);
  EXPECT_EQ(doc.SetNumProp(kPropFontSize, 0), -1);
  EXPECT_EQ(doc.GetNumProp(99), -1);
  EXPECT_EQ(doc.GetNumProp(kPropTextBottom), 0);

  doc.SetStrProp(kPropFileName, path("misuse.pdf"));
  ASSERT_EQ(doc.BeginDoc(), 0);
  EXPECT_EQ(doc.BeginDoc(), -1);
  EXPECT_EQ(doc.SetNumProp(kPropLandscape, 1), -1);
  EXPECT_EQ(doc.SetStrProp(kPropTitle, "zu spät"), -1);
  EXPECT_EQ(doc.SetStrProp(kPropFileName, path("anders.pdf")), -1);
  EXPECT_EQ(doc.DrawText(100, 100, 200, 0, 3, 0, "x"), -1);
  EXPECT_EQ(doc.StretchDrawFromFile(0, 0, 10, 10, path("kaputt.jpg")), -1);
  EXPECT_TRUE(doc.GetErrorMsg().contains("kann nicht gelesen werden"));
  EXPECT_EQ(doc.StretchDraw(0, 0, 10, 10, QImage()), -1);
  ASSERT_EQ(doc.EndDoc(), 0);
  EXPECT_EQ(doc.NewPage(), -1);
  EXPECT_TRUE(doc.GetErrorMsg().contains("bereits abgeschlossen"));
  EXPECT_EQ(doc.EndDoc(), -1);

  bool aborted = false;
  try {
    PdfGetNumProp(doc, 99);  // without a user interface: only the abort
  } catch (const PdfAbort&) {
    aborted = true;
  }
  EXPECT_TRUE(aborted);
}

TEST_F(PdfDocumentTest, AnAbandonedDocumentLeavesTheEarlierFileUntouched) {
  const QString file = path("Startliste.pdf");
  {
    QFile earlier(file);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("die Liste von gestern");
  }
  {
    PdfDocument doc(nullptr);
    doc.SetStrProp(kPropFileName, file);
    ASSERT_EQ(doc.BeginDoc(), 0);
    doc.TextOut(100, 100, "halb fertig");
    doc.NewPage();
  }
  EXPECT_EQ(filesInDir(), QStringList{"Startliste.pdf"});
  QFile earlier(file);
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), "die Liste von gestern");
  earlier.close();

  // Finished, the new document replaces it.
  write("Startliste.pdf", [](PdfDocument& doc) { doc.TextOut(100, 100, "neu"); });
  EXPECT_EQ(filesInDir(), QStringList{"Startliste.pdf"});
  EXPECT_TRUE(PdfReader(file).findWord("neu"));
}

TEST_F(PdfDocumentTest, AnOutputDirectoryThatCannotBeWrittenFailsCleanly) {
  PdfDocument missing(nullptr);
  missing.SetStrProp(kPropFileName, path("fehlt/Startliste.pdf"));
  EXPECT_EQ(missing.BeginDoc(), -1);
  EXPECT_TRUE(missing.GetErrorMsg().contains("kann nicht geschrieben werden"));

  // The directory (a USB stick, say) vanishes while the list is written.
  ASSERT_TRUE(QDir(dir_.path()).mkdir("stick"));
  ScriptedUi ui;
  PdfDocument doc(&ui);
  doc.SetNumProp(kPropOpenViewer, 1);
  doc.SetStrProp(kPropFileName, path("stick/Startliste.pdf"));
  ASSERT_EQ(doc.BeginDoc(), 0);
  doc.TextOut(100, 100, "Liste");
  ASSERT_TRUE(QDir(path("stick")).removeRecursively());
  EXPECT_EQ(doc.EndDoc(), -1);
  EXPECT_TRUE(doc.GetErrorMsg().contains("kann nicht geschrieben werden"));
  EXPECT_TRUE(ui.viewerOpened.isEmpty());
  EXPECT_FALSE(QFile::exists(path("stick/Startliste.pdf")));
}

TEST_F(PdfDocumentTest, RightAlignedTextKeepsItsTrailingBlanks) {
  int blanks = 0;
  const QString file = write("blanks.pdf", [&](PdfDocument& doc) {
    doc.SetNumProp(kPropFontSize, 9);
    blanks = doc.TextWidth("NiZ  ") - doc.TextWidth("NiZ");
    doc.DrawText(150, 100, 1000, 0, kAlignRight, 0, "NiZ  ");
    doc.DrawText(150, 200, 1000, 0, kAlignRight, 0, "NiZ");
  });
  const auto words = PdfReader(file).words();
  ASSERT_EQ(words.size(), 2);
  EXPECT_GT(blanks, 10);
  EXPECT_NEAR(words[0].right(), 1000 - blanks, 1);
  EXPECT_NEAR(words[1].right(), 1000, 1);
}

// Texts are shaped once and drawn from their glyphs: a name in a right-to-left script, alone
// or beside Latin letters, one in a script the font lacks (drawn in a fallback font) and a
// text with a line separator in it still start at their point and end at their measured
// width, whole, at the size asked for.
TEST_F(PdfDocumentTest, RightToLeftNamesAndSeparatorsStayWholeInTheirPlace) {
  const QStringList names{
      QStringLiteral("\u05E9\u05DC\u05D5\u05DD"), QStringLiteral("Cohen \u05D0\u05D1\u05D9 12"),
      QStringLiteral("\u05D0\u05D1\u05D9 Cohen 12"),
      QStringLiteral("Haddad \u0645\u0631\u062D\u0628\u0627"), QStringLiteral("Eins\u2028Zwei")};
  const int n = static_cast<int>(names.size());
  QList<int> widths;
  const QString file = write("rtl.pdf", [&](PdfDocument& doc) {
    doc.SetNumProp(kPropFontSize, 9);
    for (int i = 0; i < n; ++i) {
      widths << doc.TextWidth(names[i]);
      doc.TextOut(500, 100 + 100 * i, names[i]);
      doc.DrawText(150, 1000 + 100 * i, 1000, 0, kAlignRight, 0, names[i]);
    }
  });
  const PdfReader pdf(file);
  const auto lines = pdf.lines(1);
  ASSERT_EQ(lines.size(), 2 * n);
  EXPECT_TRUE(lines[n - 1].text().contains(QLatin1String("Zwei")));
  // Left and right end of a line, whatever order its words were read in.
  auto extent = [](const test::PdfLine& line) {
    std::pair<double, double> e{1e9, -1e9};
    for (const PdfWord& w : line.words) {
      e.first = std::min(e.first, w.left());
      e.second = std::max(e.second, w.right());
    }
    return e;
  };
  for (int i = 0; i < n; ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(extent(lines[i]).first, 500, 1);
    EXPECT_NEAR(extent(lines[i]).second, 500 + widths[i], 1);
    EXPECT_NEAR(extent(lines[n + i]).first, 1000 - widths[i], 1);
    EXPECT_NEAR(extent(lines[n + i]).second, 1000, 1);
  }
  for (const PdfWord& word : pdf.wordsOnPage(1))
    EXPECT_NEAR(word.size, 9, 0.01) << word.font.toStdString();
}

// Shrinking decides at the size that is drawn: a club that fits its column at a true 7 pt
// is drawn at 7 pt, not at 6 pt because it would not fit at the 7.09 pt of whole pixels.
TEST_F(PdfDocumentTest, AClubThatFitsAtSevenPointsStaysAtSevenPoints) {
  const QString club = QStringLiteral("Skiclub Unterinntal");
  QRawFont font = QRawFont::fromFont(QFont(QStringLiteral("Liberation Sans")));
  font.setPixelSize(7 * 254.0 / 72);
  qreal width = 0;
  for (const QPointF advance :
       font.advancesForGlyphIndexes(font.glyphIndexesForString(club), QRawFont::UseDesignMetrics))
    width += advance.x();
  int drop = -1;
  const QString file = write("fit.pdf", [&](PdfDocument& doc) {
    PdfPen pen(doc);
    drop = pen.fit(club, 9, static_cast<int>(std::ceil(width)), true);
    pen.textOut(100, 100 + drop, club);
  });
  EXPECT_EQ(drop, 4);  // two points smaller, two units each
  EXPECT_NEAR(PdfReader(file).findWord(QStringLiteral("Skiclub"))->size, 7, 0.01);
}

// A text far wider than its room is cut as its beginning alone would be; cutBefore keeps a
// tail whole beside the cut text, and leaves a text that fits as it is.
TEST_F(PdfDocumentTest, ALongTextIsCutAsItsBeginningAndBeforeItsTail) {
  const QString text = QStringLiteral("Bezirkscup Musterdorf ").repeated(5000);
  const QString tail = QStringLiteral("    Riesenslalom");
  write("cut.pdf", [&](PdfDocument& doc) {
    PdfPen pen(doc);
    pen.setSize(10);
    const QString cut = pen.cut(text, 800);
    EXPECT_EQ(cut, pen.cut(text.left(200), 800));
    EXPECT_TRUE(cut.endsWith(QChar(0x2026)));
    EXPECT_LE(pen.textWidth(cut), 800 - pen.textWidth(QStringLiteral(" ")));
    const QString line = pen.cutBefore(text, tail, 800);
    EXPECT_TRUE(line.endsWith(QChar(0x2026) + tail));
    EXPECT_LE(pen.textWidth(line), 800);
    EXPECT_EQ(pen.cutBefore(QStringLiteral("Cup"), tail, 800), "Cup" + tail);
  });
}

// What an output killed half-way left behind goes on the next write of the same target
// once it is older than an hour; younger ones and those of other lists stay.
TEST_F(PdfDocumentTest, OldTemporaryFilesOfTheTargetAreCleared) {
  const QDateTime twoHoursAgo = QDateTime::currentDateTime().addSecs(-7200);
  for (const QString name :
       {"Startliste.pdf.kandrix-aB3dEf.tmp", "Startliste.pdf.kandrix-Xy12zz.tmp",
        "Namensliste.pdf.kandrix-aB3dEf.tmp"}) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("halb");
    f.flush();
    if (!name.contains("Xy12")) f.setFileTime(twoHoursAgo, QFileDevice::FileModificationTime);
  }
  write("Startliste.pdf", [](PdfDocument& doc) { doc.TextOut(100, 100, "neu"); });
  EXPECT_EQ(filesInDir(), (QStringList{"Namensliste.pdf.kandrix-aB3dEf.tmp", "Startliste.pdf",
                                       "Startliste.pdf.kandrix-Xy12zz.tmp"}));
}

// A disk that fills up while the document is written (here: a file-size limit in a child
// process) fails the output; the earlier list stays as it was and nothing is left behind.
TEST_F(PdfDocumentTest, AFullDiskFailsTheOutputAndKeepsTheEarlierFile) {
  const QString file = path("Startliste.pdf");
  const QByteArray earlier(4000, 'x');
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(earlier);
  }
  auto writeUnderLimit = [&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{20000, 20000};
    setrlimit(RLIMIT_FSIZE, &limit);
    PdfDocument doc(nullptr);
    doc.SetStrProp(kPropFileName, file);
    if (doc.BeginDoc() != 0) std::_Exit(2);
    for (int page = 0; page < 20; ++page) {
      if (page > 0) doc.NewPage();
      for (int row = 0; row < 60; ++row)
        doc.TextOut(100, 100 + row * 40, QStringLiteral("Läufer %1 %2").arg(page).arg(row));
    }
    const int result = doc.EndDoc();
    std::fprintf(stderr, "%s\n", qPrintable(doc.GetErrorMsg()));
    std::_Exit(result == -1 ? 3 : 0);
  };
  EXPECT_EXIT(writeUnderLimit(), ::testing::ExitedWithCode(3),
              "Startliste.pdf' kann nicht geschrieben werden: die Datei überschreitet die "
              "zulässige Dateigröße");
  EXPECT_EQ(filesInDir(), QStringList{"Startliste.pdf"});
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), earlier);
}

}  // namespace
}  // namespace kx::pdf
