#pragma once

// A font drawn at exactly its point size on a paint device. Qt sets a font's size in whole
// device pixels, which at the documents' 254 dpi misses most point sizes: 10 pt would be
// 35 px = 9.92 pt, 7 pt 7.09 pt. An ExactFont shapes a text as the painter's drawText does, in
// the font at its whole pixels (where the glyphs' measures are kept by the font engine), and
// places the glyphs from a raw font of the exact size (35.28 px) at the shaped places scaled
// by the two sizes' ratio. Its widths are measured the same way, so what a list measures is
// what it draws.

#include <QFont>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;

namespace kx::pdf {

// A text set on one line: its glyph runs at the exact size, placed from the start of its
// baseline, and its width. Without runs the text is drawn by the painter itself (see
// ExactFont::shape).
struct ExactText {
  std::vector<QGlyphRun> runs;
  qreal width = 0;
};

class ExactFont {
 public:
  // `font` is resolved on `device`, which must outlive the ExactFont.
  ExactFont(const QFont& font, QPaintDevice* device);
  ~ExactFont();
  ExactFont(ExactFont&&) noexcept;
  ExactFont& operator=(ExactFont&&) noexcept;

  const QFont& font() const { return font_; }
  qreal ascent() const { return ascent_; }
  qreal lineSpacing() const { return lineSpacing_; }
  // The width of `text` on one line, without shaping it into glyphs.
  qreal advance(const QString& text) const;

  // `text` on one line in the direction `direction`, as the painter's drawText sets it. A
  // text with a line separator (which would end the line) or a U+009C (up to which a width
  // is measured) gets no runs and the width advance() gives.
  ExactText shape(const QString& text, Qt::LayoutDirection direction) const;
  // Draws `text`, shaped as `shaped`, with its baseline starting at `baseline`.
  void draw(QPainter& painter, const QPointF& baseline, const QString& text,
            const ExactText& shaped) const;

 private:
  QPaintDevice* device_;
  QFont font_;  // resolved on the device
  QFontMetricsF metrics_;
  QRawFont shapedIn_;  // the font's own glyphs at its whole pixels, as shaping hands them out
  QRawFont exact_;     // the same at the exact size
  qreal scale_ = 1;    // exact size / whole pixels
  qreal ascent_ = 0;
  qreal lineSpacing_ = 0;
  mutable std::unique_ptr<QFont> large_;  // for the painter's own drawing (see draw())
};

}  // namespace kx::pdf
