#include "pdf/pdfpicture.h"

#include <QImageReader>

namespace kx::pdf {

QImage LoadPicture(const QString& path) {
  QImageReader reader(path);
  reader.setDecideFormatFromContent(true);
  QImage best;
  // An icon holds several sizes: take the largest.
  const int count = std::max(1, reader.imageCount());
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !reader.jumpToImage(i)) break;
    QImage image = reader.read();
    if (image.isNull()) continue;
    if (best.isNull() || image.width() * image.height() > best.width() * best.height()) {
      best = image;
    }
  }
  return best;
}

}  // namespace kx::pdf
