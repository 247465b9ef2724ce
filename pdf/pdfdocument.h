#pragma once

// The PDF writer that every document of the program is drawn with: boxes, text, lines and
// pictures on A4 pages, in tenths of a millimetre with the origin at the top left of the
// page and y growing downwards. Text is placed by the top of its line.
//
// Every operation returns -1 on failure (the text of the error is then GetErrorMsg()) and
// any other value on success. A document is written to a temporary file beside the chosen
// one (common/safefile.h) and moved into place by EndDoc once it is completely on the disk,
// so an unfinished document or a full disk never damages a file; the error then names the
// file and the cause.

#include "common/pdfabort.h"
#include "common/safefile.h"

#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace kx {
class UserInterface;
}

namespace kx::pdf {

// Document properties, by number.
enum Property : int {
  kPropFileName = 10,    // output file (text)
  kPropFontName = 11,    // font name (text), "Arial" by default
  kPropTitle = 14,       // document title (text)
  kPropBold = 24,        // 0, 1
  kPropItalic = 27,      // 0, 1
  kPropFontSize = 28,    // points
  kPropLandscape = 33,   // 0, 1; set before BeginDoc
  kPropLineWidth = 39,   // line width of MoveTo/LineTo and Rectangle, in tenths of a mm
  kPropTextBottom = 43,  // read only: y reached by the last DrawText
  kPropOpenViewer = 44,  // 1: open the finished file in the viewer after EndDoc
  kPropParagraph = 48,   // spacing property of the deposit list
};

// DrawText alignments.
enum Align : int { kAlignLeft = 0, kAlignRight = 1, kAlignCenter = 2 };

class PdfDocument {
 public:
  // CreateBox. `ui` opens the viewer after EndDoc when property 44 is 1 (may be null).
  explicit PdfDocument(UserInterface* ui);
  // FreeBox: a document that was not finished by EndDoc leaves no file behind.
  ~PdfDocument();
  PdfDocument(const PdfDocument&) = delete;
  PdfDocument& operator=(const PdfDocument&) = delete;

  int SetNumProp(int property, int value);
  int SetStrProp(int property, const QString& value);
  int GetNumProp(int property);  // -1 for an unknown property
  QString GetStrProp(int property) const;

  int BeginDoc();  // opens the first page
  int NewPage();
  int TextOut(int x, int y, const QString& text);
  // Text between left and right with its first line's top at `top`; wraps at the right
  // edge and on line breaks (CR LF or LF). Property 43 then holds the bottom of its last
  // line. `unused1` and `unused2` are accepted for the callers' sake.
  int DrawText(int left, int top, int right, int unused1, int align, int unused2,
               const QString& text);
  int TextWidth(const QString& text);  // in the current font, measured on the writer
  // What DrawText would do with the text between left and right, without drawing: the
  // height it would take (its bottom less its top), and the lines it would set.
  int TextHeight(int left, int right, const QString& text);
  int WrapText(int left, int right, const QString& text, QStringList& lines);  // line count
  int MoveTo(int x, int y);
  int LineTo(int x, int y);
  int Rectangle(int x1, int y1, int x2, int y2);
  int StretchDraw(int x1, int y1, int x2, int y2, const QImage& image);
  int StretchDrawFromFile(int x1, int y1, int x2, int y2, const QString& fileName);
  int EndDoc();  // writes the file; opens the viewer when property 44 is 1
  // EndDoc in two steps, for a document that may only replace the earlier file once
  // something else has succeeded (a second file, a database commit): EndDocAside completes
  // the temporary file beside the target and keeps it there; PlaceDoc moves it over the
  // target and opens the viewer as EndDoc does. A document released in between leaves the
  // target as it was.
  int EndDocAside();
  int PlaceDoc();

  QString GetErrorMsg() const;
  // True after an EndDoc that wrote the file but could not start the viewer it was asked
  // to open.
  bool viewerFailed() const;

  // Page size of the document in its orientation (2100 x 2970 portrait).
  int pageWidth() const;
  int pageHeight() const;
  int pageCount() const;
  UserInterface* ui() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

// One text as a document drew it: its page (1-based), font, baseline start and text. The
// document draws it at exactly the font's point size (see pdf/exactfont.h).
struct DrawnText {
  int page = 0;
  QFont font;
  QPointF baseline;
  QString text;
};
// From now on every text that a document draws is also appended to `trace` (nullptr ends
// that). The benchmarks replay a real list's texts on a bare painter with it.
void TraceDrawnTexts(std::vector<DrawnText>* trace);

// The caption of the PDF error message.
inline const char* const kPdfErrorCaption = "PDF-Ausgabe";

// Checks the result of an operation: for -1 shows the error text (critical icon, caption
// "PDF-Ausgabe") and throws PdfAbort; any other value does nothing.
void PdfCheck(PdfDocument& doc, int result);
// GetNumProp, with -1 handled like PdfCheck.
int PdfGetNumProp(PdfDocument& doc, int property);
// SetNumProp / SetStrProp followed by PdfCheck.
void PdfSetNumProp(PdfDocument& doc, int property, int value);
void PdfSetStrProp(PdfDocument& doc, int property, const QString& value);

}  // namespace kx::pdf
