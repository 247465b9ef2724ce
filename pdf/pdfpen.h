#pragma once

// Checked drawing on a PDF document: every operation goes through PdfCheck, so a failing
// operation reports its error and abandons the output (PdfAbort).

#include "pdf/pdfdocument.h"

#include <QString>

namespace kx::pdf {

class PdfPen {
 public:
  explicit PdfPen(PdfDocument& doc) : doc_(doc) {}
  PdfDocument& doc() { return doc_; }

  void setFont(const QString& family);
  void setSize(int points);
  void setBold(bool on);
  void setItalic(bool on);
  void setLineWidth(int width);

  void textOut(int x, int y, const QString& text);
  // Text between left and right at top: kAlignLeft, kAlignRight (at right), kAlignCenter.
  void drawText(int left, int top, int right, int align, const QString& text);
  // Right-aligned at x in the box from `left` (the lists' columns start at 150).
  void rightAt(int x, int y, const QString& text, int left = 150) {
    drawText(left, y, x, kAlignRight, text);
  }
  void centered(int left, int right, int y, const QString& text) {
    drawText(left, y, right, kAlignCenter, text);
  }
  int textWidth(const QString& text) { return doc_.TextWidth(text); }
  // Height and lines of a drawText between left and right, measured without drawing.
  int textHeight(int left, int right, const QString& text);
  QStringList wrapText(int left, int right, const QString& text);
  void line(int x1, int y1, int x2, int y2);
  void rectangle(int x1, int y1, int x2, int y2);
  // y reached by the last drawText.
  int textBottom() { return PdfGetNumProp(doc_, kPropTextBottom); }

  // Shrinks the font one point at a time until `text` fits: while its width is at least
  // `limit` (or, with `strictlyWider`, greater than `limit`). Each point smaller lowers the
  // text by `dropStep` units. Stops at the smallest size (5 pt). Returns the drop; the font
  // keeps the size reached.
  int fit(const QString& text, int startSize, int limit, bool strictlyWider = false,
          int dropStep = 2, int startDrop = 0);

  // fit() for a text that must not cross into the next column: a text still wider than
  // `width` at the smallest size is cut to it with "…". Returns the drop; `text` becomes
  // what is to be drawn.
  int fitInto(QString& text, int startSize, int width, int dropStep = 2, int startDrop = 0);
  // `text` unchanged when it fits `width` in the current font; else cut with "…" to end a
  // blank's width before that, clear of whatever stands next to the column.
  QString cut(const QString& text, int width);
  // `text` and `tail` on one line of `width`: `text` cut as above where it would push `tail`
  // beyond the width; the whole cut where `tail` alone is too wide.
  QString cutBefore(const QString& text, const QString& tail, int width);
  // A number (a bib) on one line in the box from left to right, aligned there: never
  // wrapped and never cut, shrunk from `size` as far as needed (not below the smallest
  // size). The font is at `size` again afterwards.
  void numberIn(int left, int right, int top, int align, const QString& text, int size);

  static constexpr int kSmallestSize = 5;

 private:
  PdfDocument& doc_;
};

}  // namespace kx::pdf
