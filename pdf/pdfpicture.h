#pragma once

// Reads the picture files that documents draw: BMP, JPG/JPEG and ICO (its largest size)
// through QImage; WMF and EMF turned into SVG and drawn at about 300 dpi.
// A file that cannot be decoded gives a null image; the caller skips it.

#include <QImage>
#include <QString>

namespace kx::pdf {

QImage LoadPicture(const QString& path);

}  // namespace kx::pdf
