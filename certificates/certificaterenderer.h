#pragma once

// Draws certificate pages: the page format of a template and one template entry on the
// current page of a PDF document. Texts are written in their own font at their position
// with their alignment; pictures are stretched into their box. The preview and every
// certificate output draw through here.

#include "certificates/templatestore.h"

#include <QHash>
#include <QImage>
#include <QString>

#include <optional>

namespace kx::pdf {
class PdfDocument;
}

namespace kx {

// The font text of a text entry taken apart: "Arial, fett, kursiv, 10,5".
struct FontText {
  QString family;
  bool bold = false;
  bool italic = false;
  double size = 10;
};
// Nothing when the text has no comma or no number after it.
std::optional<FontText> ParseFontText(const QString& font);
// The font text of a font: name, ", fett", ", kursiv", ", " and the size with a decimal
// comma when it has decimals ("Arial, 10,5").
QString FormatFontText(const FontText& font);

// Decoded pictures of one output by resolved path: each file is read once and the same
// image drawn on every page. An undecodable file is held as a null image.
class PictureCache {
 public:
  explicit PictureCache(QString competitionDir) : dir_(std::move(competitionDir)) {}
  // The picture of an entry's file name; a null image when it is missing or unreadable.
  const QImage& picture(const QString& name);
  const QString& competitionDir() const { return dir_; }

 private:
  QString dir_;
  QHash<QString, QString> paths_;  // name as written -> resolved path (empty: missing)
  QHash<QString, QImage> images_;  // resolved path -> image
  QImage none_;
};

// The box of an entry as it is drawn (tenths of a millimetre).
struct EntryBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int align = 0;  // text alignment code: 0 left, 1 right, 2 centred
};

// Sets the page format of a document before it begins.
void SetCertificatePageFormat(pdf::PdfDocument& doc, bool landscape);

// Draws one entry on the current page. Text entries are moved by the offsets (pictures
// are not); a text entry whose font text cannot be read, or an entry whose positions or
// picture size are no whole numbers, is skipped; so is a missing or undecodable picture.
// Returns the box drawn, nothing when the entry was skipped.
std::optional<EntryBox> DrawCertificateEntry(pdf::PdfDocument& doc, const CertificateEntry& entry,
                                             bool landscape, PictureCache& pictures,
                                             int offsetVertical = 0, int offsetHorizontal = 0);

}  // namespace kx
