#include "certificates/certificaterenderer.h"

#include "pdf/pdfdocument.h"
#include "pdf/pdfpen.h"
#include "pdf/pdfpicture.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

namespace kx {

namespace {

int HalfEven(double value) {
  return static_cast<int>(std::nearbyint(value));
}

}  // namespace

std::optional<FontText> ParseFontText(const QString& font) {
  const qsizetype comma = font.indexOf(QLatin1Char(','));
  if (comma < 0) return std::nullopt;
  FontText f;
  f.family = font.left(comma);
  QString rest = font.mid(comma);
  if (rest.contains(QLatin1String(", fett"))) {
    f.bold = true;
    rest = rest.mid(6);
  }
  if (rest.contains(QLatin1String(", kursiv"))) {
    f.italic = true;
    rest = rest.mid(8);
  }
  const QString number = rest.mid(1).trimmed();
  bool ok = false;
  double size = QLocale(QLocale::German, QLocale::Germany).toDouble(number, &ok);
  if (!ok) size = number.toDouble(&ok);
  if (!ok || !(size > 0)) return std::nullopt;
  f.size = size;
  return f;
}

QString FormatFontText(const FontText& font) {
  QString text = font.family;
  if (font.bold) text += QStringLiteral(", fett");
  if (font.italic) text += QStringLiteral(", kursiv");
  return text + QStringLiteral(", ") +
         QLocale(QLocale::German, QLocale::Germany)
             .toString(font.size, 'g', QLocale::FloatingPointShortest);
}

const QImage& PictureCache::picture(const QString& name) {
  auto found = paths_.find(name);
  if (found == paths_.end()) found = paths_.insert(name, FindPictureFile(dir_, name));
  const QString& path = found.value();
  if (path.isEmpty()) return none_;
  auto image = images_.find(path);
  if (image == images_.end()) image = images_.insert(path, pdf::LoadPicture(path));
  return image.value();
}

void SetCertificatePageFormat(pdf::PdfDocument& doc, bool landscape) {
  pdf::PdfSetNumProp(doc, pdf::kPropLandscape, landscape ? 1 : 0);
}

std::optional<EntryBox> DrawCertificateEntry(pdf::PdfDocument& doc, const CertificateEntry& entry,
                                             bool landscape, PictureCache& pictures,
                                             int offsetVertical, int offsetHorizontal) {
  const auto vertical = ParseWhole16(entry.vertical);
  const auto horizontal = ParseWhole16(entry.horizontal);
  if (!vertical || !horizontal) return std::nullopt;
  EntryBox box;
  box.top = *vertical;
  if (entry.isPicture()) {
    const auto size = SplitPictureSize(entry.display);
    if (!size) return std::nullopt;
    const auto w = ParseWhole16(size->first);
    const auto h = ParseWhole16(size->second);
    if (!w || !h) return std::nullopt;
    double left = *horizontal;
    if (entry.align == QLatin1String("zentr.")) {
      left = *horizontal - *w / 2.0;
    } else if (entry.align != QLatin1String("links")) {
      left = *horizontal - *w;
    }
    box.left = HalfEven(left);
    box.right = HalfEven(left + *w);
    box.bottom = *vertical + *h;
    const QImage& image = pictures.picture(entry.text);
    if (image.isNull()) return std::nullopt;
    pdf::PdfCheck(doc, doc.StretchDraw(box.left, box.top, box.right, box.bottom, image));
    return box;
  }
  const auto font = ParseFontText(entry.display);
  if (!font) return std::nullopt;
  pdf::PdfSetStrProp(doc, pdf::kPropFontName, font->family);
  pdf::PdfSetNumProp(doc, pdf::kPropBold, font->bold ? 1 : 0);
  pdf::PdfSetNumProp(doc, pdf::kPropItalic, font->italic ? 1 : 0);
  pdf::PdfSetNumProp(doc, pdf::kPropFontSize, HalfEven(font->size));
  const double pageWidth = landscape ? 2970 : 2100;
  const bool centred = entry.align == QLatin1String("zentr.");
  const bool leftAligned = entry.align == QLatin1String("links");
  // One line that stays on the page: a text longer than the room its alignment leaves it
  // there is cut with "…".
  QString text = entry.text;
  const double room = centred ? 2 * std::min<double>(*horizontal, pageWidth - *horizontal) - 10
                      : leftAligned ? pageWidth - *horizontal
                                    : *horizontal;
  if (room > 0 && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
    text = pdf::PdfPen(doc).cut(text, static_cast<int>(room));
  double left = *horizontal;
  double right = pageWidth;
  box.align = pdf::kAlignLeft;
  if (centred) {
    const double w = doc.TextWidth(text) + 10;
    left = *horizontal - w / 2.0;
    right = left + w;
    box.align = pdf::kAlignCenter;
  } else if (!leftAligned) {
    left = 0;
    right = *horizontal;
    box.align = pdf::kAlignRight;
  }
  box.left = HalfEven(left + offsetHorizontal);
  box.right = HalfEven(right + offsetHorizontal);
  box.top = *vertical + offsetVertical;
  pdf::PdfCheck(doc, doc.DrawText(box.left, box.top, box.right, 0, box.align, 0, text));
  return box;
}

}  // namespace kx
