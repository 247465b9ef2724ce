#include "pdf/exactfont.h"

#include <QPaintDevice>
#include <QPainter>
#include <QTextLayout>

namespace kx::pdf {

namespace {

// At 254 dpi every whole or half point size is a whole number of pixels at 72 times the
// size (10 pt: 2540 px).
constexpr int kLarge = 72;

}  // namespace

ExactFont::ExactFont(const QFont& font, QPaintDevice* device)
    : device_(device),
      font_(font, device),
      metrics_(font_, device),
      shapedIn_(QRawFont::fromFont(font_)),
      exact_(shapedIn_) {
  if (font_.pointSizeF() > 0 && shapedIn_.isValid() && shapedIn_.pixelSize() > 0) {
    const qreal pixels = font_.pointSizeF() * device->logicalDpiY() / 72.0;
    scale_ = pixels / shapedIn_.pixelSize();
    exact_.setPixelSize(pixels);
  }
  ascent_ = metrics_.ascent() * scale_;
  lineSpacing_ = metrics_.lineSpacing() * scale_;
}

ExactFont::~ExactFont() = default;
ExactFont::ExactFont(ExactFont&&) noexcept = default;
ExactFont& ExactFont::operator=(ExactFont&&) noexcept = default;

qreal ExactFont::advance(const QString& text) const {
  return metrics_.horizontalAdvance(text) * scale_;
}

ExactText ExactFont::shape(const QString& text, Qt::LayoutDirection direction) const {
  ExactText shaped;
  if (text.contains(QChar::LineSeparator) || text.contains(QChar(0x9c))) {
    shaped.width = advance(text);
    return shaped;
  }
  QTextLayout layout(text, font_, device_);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setTextDirection(direction);
  option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);  // the glyphs are read once the line is laid out
  layout.beginLayout();
  QTextLine line = layout.createLine();
  layout.endLayout();
  if (!line.isValid()) return shaped;
  shaped.width = line.horizontalAdvance() * scale_;
  const QPointF baseline(0, line.ascent());
  const QList<QGlyphRun> runs = line.glyphRuns();
  shaped.runs.reserve(static_cast<size_t>(runs.size()));
  for (QGlyphRun run : runs) {
    QList<QPointF> positions = run.positions();
    for (QPointF& p : positions) p = (p - baseline) * scale_;
    run.setPositions(positions);
    if (run.rawFont() == shapedIn_) {
      run.setRawFont(exact_);
    } else {
      // Glyphs of a fallback font, for a script the font lacks.
      QRawFont fallback = run.rawFont();
      fallback.setPixelSize(fallback.pixelSize() * scale_);
      run.setRawFont(fallback);
    }
    shaped.runs.push_back(std::move(run));
  }
  return shaped;
}

void ExactFont::draw(QPainter& painter, const QPointF& baseline, const QString& text,
                     const ExactText& shaped) const {
  for (const QGlyphRun& run : shaped.runs) painter.drawGlyphRun(baseline, run);
  if (!shaped.runs.empty() || text.isEmpty()) return;
  // The painter's own drawText, at the exact size under a painter scaled down.
  if (!large_) {
    large_ = std::make_unique<QFont>(font_);
    large_->setPointSizeF(font_.pointSizeF() * kLarge);
  }
  painter.save();
  painter.scale(1.0 / kLarge, 1.0 / kLarge);
  painter.setFont(*large_);
  painter.drawText(baseline * kLarge, text);
  painter.restore();
}

}  // namespace kx::pdf
