#pragma once

// Reads a written PDF back for the tests: pages, their words with boxes in the program's
// own units, fonts and the document title.
//
// Units: tenths of a millimetre with the origin at the top left of the page, y growing
// downwards, as the documents are drawn (1 pt = 25.4 / 72 mm = 3.5278 units).
//
// The box of a word is the one the PDF text extraction reports: left and right are the
// start and the advance end of its glyphs; its top is the baseline less the font's ascent
// (the Ascent of the embedded font, 0.905 em for Liberation Sans) and its bottom the
// baseline less the descent. PdfDocument places text by exactly this top, so a TextOut at
// (x, y) reads back as a word with left() == x and top() == y (within rounding).
//
// Pages are numbered from 1.

#include "tests/support/qtprint.h"

#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace kx::test {

struct PdfWord {
  QString text;
  QRectF box;       // units, origin top left
  QString font;     // PostScript name without the subset tag, e.g. "LiberationSans-Bold"
  double size = 0;  // points
  int page = 0;     // 1-based

  double left() const { return box.left(); }
  double top() const { return box.top(); }
  double right() const { return box.right(); }
  double bottom() const { return box.bottom(); }
  double centerX() const { return box.center().x(); }
  bool bold() const { return font.contains(QLatin1String("Bold")); }
  bool italic() const {
    return font.contains(QLatin1String("Italic")) || font.contains(QLatin1String("Oblique"));
  }
};

// A line of text: the words whose tops agree, left to right.
struct PdfLine {
  QList<PdfWord> words;
  double top() const { return words.isEmpty() ? 0 : words.first().top(); }
  double left() const { return words.isEmpty() ? 0 : words.first().left(); }
  double right() const { return words.isEmpty() ? 0 : words.last().right(); }
  QString text() const;  // the words joined by one blank
};

// What findWord and findLine return: an optional whose -> on a missing value fails the
// test and gives an empty placeholder (one blank word at the origin), so one missing text
// reads as a failure, not as a crash that hides every later result.
template <class T>
class Found : public std::optional<T> {
 public:
  Found(std::optional<T> value, QString looked)
      : std::optional<T>(std::move(value)), looked_(std::move(looked)) {}
  const T* operator->() const { return &**this; }
  const T& operator*() const;

 private:
  QString looked_;
};

struct PdfFontInfo {
  QString name;  // with the subset tag removed
  bool embedded = false;
  bool subset = false;
};

class PdfReader {
 public:
  // Reads the whole file at once; isValid() tells whether that worked.
  explicit PdfReader(const QString& path);

  bool isValid() const { return valid_; }
  QString path() const { return path_; }
  int pageCount() const { return pages_.size(); }
  QString title() const { return title_; }
  QString creator() const { return creator_; }
  QSizeF pageSize(int page) const;  // units; A4 portrait is about 2100 x 2970

  const QList<PdfWord>& wordsOnPage(int page) const;
  QList<PdfWord> words() const;  // of all pages, page by page

  // The first word with exactly this text (on `page`, or on any page when page is 0).
  Found<PdfWord> findWord(const QString& text, int page = 0) const;
  QList<PdfWord> findWords(const QString& text, int page = 0) const;

  // Words grouped into lines by their top (tops within `tolerance` units belong to one
  // line), lines from top to bottom, words left to right.
  QList<PdfLine> lines(int page, double tolerance = 5) const;
  // The lines as texts, words joined by one blank.
  QStringList lineTexts(int page) const;
  // The first line whose text contains `part` (on any page when page is 0).
  Found<PdfLine> findLine(const QString& part, int page = 0) const;

  QList<PdfFontInfo> fonts() const { return fonts_; }

  // Renders the page to a PNG file (see RenderPdfPage).
  bool renderPage(int page, const QString& pngPath, int dpi = 60) const;

 private:
  QString path_;
  bool valid_ = false;
  QString title_;
  QString creator_;
  QList<QSizeF> sizes_;
  QList<QList<PdfWord>> pages_;
  QList<PdfFontInfo> fonts_;
};

// Renders one page (1-based) of a PDF file to `pngPath` with pdftoppm, for looking at an
// output (`pngPath` ends in ".png"). True when the PNG was written.
bool RenderPdfPage(const QString& pdfPath, int page, const QString& pngPath, int dpi = 60);

// Units per point.
inline constexpr double kUnitsPerPoint = 254.0 / 72.0;

}  // namespace kx::test
