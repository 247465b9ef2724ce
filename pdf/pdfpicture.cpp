#include "pdf/pdfpicture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QStringDecoder>
#include <QSvgRenderer>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <locale.h>
#include <cstdlib>
#include <cstring>

namespace kx::pdf {

namespace {

// The metafile converters print the SVG's numbers with the C library, which follows the
// numeric locale the process took from the environment: a German one writes decimal
// commas that no SVG reader takes. While one lives, this thread converts numbers in the C
// locale; the other categories stay as they were.
class CNumericLocale {
 public:
  CNumericLocale() {
    locale_t base = duplocale(uselocale(static_cast<locale_t>(nullptr)));
    if (!base) return;
    locale_ = newlocale(LC_NUMERIC_MASK, "C", base);
    if (!locale_) {
      freelocale(base);
      return;
    }
    previous_ = uselocale(locale_);
  }
  ~CNumericLocale() {
    if (!locale_) return;
    uselocale(previous_);
    freelocale(locale_);
  }
  CNumericLocale(const CNumericLocale&) = delete;
  CNumericLocale& operator=(const CNumericLocale&) = delete;

 private:
  locale_t locale_ = nullptr;
  locale_t previous_ = nullptr;
};

// Metafiles are drawn at this many pixels per unit of their own size (about 300 dpi).
constexpr double kMetafileScale = 4.0;

QImage RenderSvg(const QByteArray& svg) {
  QSvgRenderer renderer(svg);
  if (!renderer.isValid()) return {};
  QSizeF size = renderer.defaultSize();
  if (size.isEmpty()) size = renderer.viewBoxF().size();
  if (size.isEmpty()) return {};
  QImage image((size * kMetafileScale).toSize(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  return image;
}

// WMF: the library's SVG output into memory. Its texts are Windows-1252.
QByteArray WmfToSvg(QByteArray data) {
  wmfAPI* api = nullptr;
  wmfAPI_Options options;
  std::memset(&options, 0, sizeof options);
  options.function = wmf_svg_function;
  const unsigned long flags =
      WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    return {};
  }
  QByteArray svg;
  wmfD_Rect bbox;
  if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(data.data()), data.size()) == wmf_E_None &&
      wmf_scan(api, 0, &bbox) == wmf_E_None) {
    wmf_svg_t* device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, nullptr);
    device->Description = const_cast<char*>("Bild");
    device->bbox = bbox;
    unsigned int width = 0, height = 0;
    wmf_display_size(api, &width, &height, 72, 72);
    device->width = width;
    device->height = height;
    const bool played = wmf_play(api, 0, &bbox) == wmf_E_None;
    char* buffer = nullptr;
    unsigned long length = 0;
    wmf_stream_destroy(api, device->out, &buffer, &length);
    if (played && buffer) {
      QStringDecoder cp1252("windows-1252");
      const QByteArray raw(buffer, static_cast<qsizetype>(length));
      svg = cp1252.isValid() ? QString(cp1252.decode(raw)).toUtf8() : raw;
    }
    // The buffer belongs to the library's allocator and goes with the API.
    wmf_mem_close(api);
  }
  wmf_api_destroy(api);
  return svg;
}

QByteArray EmfToSvg(QByteArray data) {
  generatorOptions options;
  std::memset(&options, 0, sizeof options);
  // Without a namespace prefix: plain SVG elements, and the library keeps no copy of it.
  options.svgDelimiter = true;
  char* out = nullptr;
  size_t length = 0;
  const int ok = emf2svg(data.data(), static_cast<size_t>(data.size()), &out, &length, &options);
  QByteArray svg;
  if (ok && out) svg = QByteArray(out, static_cast<qsizetype>(length));
  std::free(out);
  return svg;
}

}  // namespace

QImage LoadPicture(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("wmf") || suffix == QLatin1String("emf")) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = file.readAll();
    if (data.isEmpty()) return {};
    QByteArray svg;
    {
      const CNumericLocale numbers;
      svg = suffix == QLatin1String("wmf") ? WmfToSvg(data) : EmfToSvg(data);
    }
    return RenderSvg(svg);
  }
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
