#include "pdf/pdfpen.h"

namespace kx::pdf {

void PdfPen::setFont(const QString& family) {
  PdfSetStrProp(doc_, kPropFontName, family);
}
void PdfPen::setSize(int points) {
  PdfSetNumProp(doc_, kPropFontSize, points);
}
void PdfPen::setBold(bool on) {
  PdfSetNumProp(doc_, kPropBold, on ? 1 : 0);
}
void PdfPen::setItalic(bool on) {
  PdfSetNumProp(doc_, kPropItalic, on ? 1 : 0);
}
void PdfPen::setLineWidth(int width) {
  PdfSetNumProp(doc_, kPropLineWidth, width);
}

void PdfPen::textOut(int x, int y, const QString& text) {
  PdfCheck(doc_, doc_.TextOut(x, y, text));
}

void PdfPen::drawText(int left, int top, int right, int align, const QString& text) {
  PdfCheck(doc_, doc_.DrawText(left, top, right, 0, align, 0, text));
}

int PdfPen::textHeight(int left, int right, const QString& text) {
  const int height = doc_.TextHeight(left, right, text);
  PdfCheck(doc_, height);
  return height;
}

QStringList PdfPen::wrapText(int left, int right, const QString& text) {
  QStringList lines;
  PdfCheck(doc_, doc_.WrapText(left, right, text, lines));
  return lines;
}

void PdfPen::line(int x1, int y1, int x2, int y2) {
  PdfCheck(doc_, doc_.MoveTo(x1, y1));
  PdfCheck(doc_, doc_.LineTo(x2, y2));
}

void PdfPen::rectangle(int x1, int y1, int x2, int y2) {
  PdfCheck(doc_, doc_.Rectangle(x1, y1, x2, y2));
}

int PdfPen::fit(const QString& text, int startSize, int limit, bool strictlyWider, int dropStep,
                int startDrop) {
  int size = startSize;
  int drop = startDrop;
  setSize(size);
  auto tooWide = [&] {
    // A long text is measured in growing beginnings first, as cut() does: one already too
    // wide decides without the whole text.
    for (qsizetype probe = 256; probe < text.size(); probe *= 2) {
      if (textWidth(text.left(probe)) > limit) return true;
    }
    const int w = textWidth(text);
    return strictlyWider ? w > limit : w >= limit;
  };
  while (size > kSmallestSize && tooWide()) {
    --size;
    drop += dropStep;
    setSize(size);
  }
  return drop;
}

int PdfPen::fitInto(QString& text, int startSize, int width, int dropStep, int startDrop) {
  const int drop = fit(text, startSize, width, true, dropStep, startDrop);
  text = cut(text, width);
  return drop;
}

QString PdfPen::cut(const QString& text, int width) {
  // A long text is measured in growing beginnings first: one already too wide decides and
  // bounds the search, so that cutting costs what fits rather than the whole text.
  qsizetype high = text.size();
  for (qsizetype probe = 256; probe < text.size(); probe *= 2) {
    if (textWidth(text.left(probe)) > width) {
      high = probe;
      break;
    }
  }
  if (high == text.size() && textWidth(text) <= width) return text;
  const QString ellipsis(QChar(0x2026));
  width -= textWidth(QStringLiteral(" "));
  // The longest beginning that still fits with the ellipsis behind it.
  qsizetype low = 0;
  while (low < high) {
    const qsizetype mid = (low + high + 1) / 2;
    if (textWidth(text.left(mid).trimmed() + ellipsis) <= width) {
      low = mid;
    } else {
      high = mid - 1;
    }
  }
  return low == 0 ? QString() : text.left(low).trimmed() + ellipsis;
}

QString PdfPen::cutBefore(const QString& text, const QString& tail, int width) {
  const int tailWidth = textWidth(tail);
  const QString head = tailWidth < width ? cut(text, width - tailWidth) : text;
  return cut(head + tail, width);
}

void PdfPen::numberIn(int left, int right, int top, int align, const QString& text, int size) {
  const int drop = fit(text, size, right - left, true, 1);
  const int width = textWidth(text);
  int x = left;
  if (align == kAlignRight) x = right - width;
  if (align == kAlignCenter) x = (left + right - width) / 2;
  textOut(x, top + drop, text);
  setSize(size);
}

}  // namespace kx::pdf
