#include "pdf/pdfdocument.h"

#include "common/userinterface.h"
#include "pdf/exactfont.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImageReader>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>
#include <vector>

namespace kx::pdf {

namespace {

// 254 dots per inch: one device unit is a tenth of a millimetre.
constexpr int kResolution = 254;
constexpr int kA4Width = 2100;
constexpr int kA4Height = 2970;
constexpr int kMaxFontSize = 200;
constexpr int kMaxLineWidth = 1000;

// Splits a text into its paragraphs at CR LF, LF or a lone CR.
QStringList paragraphs(const QString& text) {
  QString normalised = text;
  normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  normalised.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return normalised.split(QLatin1Char('\n'));
}

// Length of `line` without its trailing blanks: the part that is seen at a line break.
qsizetype visibleLength(const QString& line) {
  qsizetype n = line.size();
  while (n > 0 && line.at(n - 1).isSpace()) --n;
  return n;
}

std::vector<DrawnText>* gTrace = nullptr;

}  // namespace

void TraceDrawnTexts(std::vector<DrawnText>* trace) {
  gTrace = trace;
}

struct PdfDocument::Impl {
  enum class State { Created, Open, Finished };

  UserInterface* ui = nullptr;
  State state = State::Created;
  QString error;

  // Properties.
  QString fileName;
  QString fontName = QStringLiteral("Arial");
  QString title;
  bool bold = false;
  bool italic = false;
  bool landscape = false;
  bool openViewer = false;
  bool viewerFailed = false;  // the viewer was asked for and could not be started
  int fontSize = 10;
  int lineWidth = 1;
  int textBottom = 0;
  int paragraphSpacing = 0;  // property 48: stored for the callers, not used

  // The document being written: painter on writer on a temporary file beside the target.
  std::unique_ptr<SafeFile> file;
  std::unique_ptr<QPdfWriter> writer;
  std::unique_ptr<QPainter> painter;
  int pages = 0;
  QPointF current;

  // A text met in one variant: its width and the glyphs that draw it. Lists measure a text
  // before they draw it and repeat many texts (clubs, nations, years): each is shaped once
  // per document, and drawn from its glyphs as often as it occurs.
  struct Shaped {
    bool done = false;  // `text` is set
    ExactText text;
  };

  // The fonts of the document, one per variant, built on first use.
  struct Variant {
    ExactFont font;
    mutable std::unordered_map<QString, Shaped> texts;
  };
  struct VariantKey {
    QString name;
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool operator==(const VariantKey&) const = default;
  };
  struct VariantHash {
    size_t operator()(const VariantKey& k) const {
      return qHash(k.name) ^
             (static_cast<size_t>(k.size) << 2 | (k.bold ? 2 : 0) | (k.italic ? 1 : 0));
    }
  };
  std::unordered_map<VariantKey, Variant, VariantHash> variants;  // nodes stay where they are
  bool fontDirty = true;
  const Variant* variant = nullptr;

  int fail(const QString& message) {
    error = message;
    return -1;
  }

  // A failure while the document is written: what went wrong with its file when something
  // did (a full disk, a size limit), else `message` with the file's name for its "%1". The
  // document is abandoned.
  int failWriting(const QString& message) {
    const int result = file && !file->cause().isEmpty()
                           ? fail(file->failureText())
                           : fail(message.arg(QDir::toNativeSeparators(fileName)));
    discard();
    state = State::Finished;
    return result;
  }

  // Guard of every drawing operation: only between BeginDoc and EndDoc.
  bool ready() {
    if (state == State::Created) {
      fail(QStringLiteral("Das PDF-Dokument wurde noch nicht begonnen."));
      return false;
    }
    if (state == State::Finished) {
      fail(QStringLiteral("Das PDF-Dokument ist bereits abgeschlossen."));
      return false;
    }
    return true;
  }

  void useFont() {
    if (!fontDirty) return;
    VariantKey key{fontName, fontSize, bold, italic};
    auto it = variants.find(key);
    if (it == variants.end()) {
      QFont font(fontName);
      font.setPointSize(fontSize);
      font.setBold(bold);
      font.setItalic(italic);
      // Design metrics: a document's widths do not depend on screen hinting.
      font.setHintingPreference(QFont::PreferNoHinting);
      it = variants.emplace(std::move(key), Variant{ExactFont(font, writer.get()), {}}).first;
    }
    variant = &it->second;
    fontDirty = false;
  }

  // The text looked up last, and in which variant: a list measures a text, then cuts or
  // aligns it by that width and draws it.
  mutable const Variant* lastVariant = nullptr;
  mutable QString lastText;
  mutable Shaped* lastShaped = nullptr;

  // A text in the current font, shaped on the writer as the painter's drawText shapes it
  // (one line in the painter's direction), kept with its glyphs.
  const ExactText& shaped(const QString& text) const {
    if (lastVariant == variant && text == lastText) return lastShaped->text;
    Shaped& s = variant->texts[text];
    lastVariant = variant;
    lastText = text;
    lastShaped = &s;
    if (!s.done) {
      s.done = true;
      s.text = variant->font.shape(text, painter->layoutDirection());
    }
    return s.text;
  }

  // The width of a text in the current font.
  qreal advance(const QString& text) const { return shaped(text).width; }

  int appliedLineWidth = -1;  // the width of the painter's pen; -1: none set yet

  void applyPen() {
    if (appliedLineWidth == lineWidth) return;
    appliedLineWidth = lineWidth;
    QPen pen(Qt::black);
    pen.setWidth(lineWidth);
    // Rules end exactly at their end points, and box corners are closed.
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
  }

  // Draws one line of text with the top of the line at `top`.
  void drawLine(qreal x, qreal top, const QString& text) {
    const QPointF baseline(x, top + variant->font.ascent());
    variant->font.draw(*painter, baseline, text, shaped(text));
    if (gTrace != nullptr) gTrace->push_back({pages, variant->font.font(), baseline, text});
  }

  // One line of set text: what is seen of it (no trailing blanks) and its width.
  struct Line {
    QString text;
    qreal width = 0;
  };

  // Breaks one paragraph into lines no wider than `width` (no limit when width <= 0):
  // at blanks where possible, inside a word only when the word alone is too wide. A text
  // whose visible part fits is set as given, trailing blanks included (they set a
  // right-aligned text in); lines broken at blanks lose the blanks of the break.
  std::vector<Line> wrap(const QString& text, qreal width) const {
    auto visible = [&](qsizetype from, qsizetype to) {
      QString part = text.mid(from, to - from);
      part.truncate(visibleLength(part));
      return Line{part, variant->font.advance(part)};  // pieces: not kept
    };
    const qsizetype n = text.size();
    const qsizetype seen = visibleLength(text);
    if (seen == n || seen == 0) {
      Line whole{text, advance(text)};
      if (width <= 0 || whole.width <= width) return {whole};
    } else {
      const qreal seenWidth = advance(text.left(seen));
      if (width <= 0 || seenWidth <= width) return {Line{text, advance(text)}};
    }

    // Whether text[from, to) is wider than the column. A long piece is measured in
    // prefixes of growing length, `known` characters of it known to fit, so that a line
    // never costs more than a few times its own length, however long the piece.
    auto tooWide = [&](qsizetype from, qsizetype to, qsizetype known) {
      for (qsizetype probe = std::max<qsizetype>(64, 2 * known); from + probe < to; probe *= 2) {
        if (visible(from, from + probe).width > width) return true;
      }
      return visible(from, to).width > width;
    };

    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < n) {
      qsizetype end = -1;  // end of the last word that still fits
      qsizetype pos = start;
      while (pos < n) {
        while (pos < n && text.at(pos).isSpace()) ++pos;
        while (pos < n && !text.at(pos).isSpace()) ++pos;
        if (tooWide(start, pos, end < 0 ? 0 : end - start)) break;
        end = pos;
      }
      if (end < 0) {
        // A single word wider than the column: as many characters as fit, at least one,
        // found by doubling and then halving the piece.
        qsizetype fits = start + 1;
        qsizetype wide = n + 1;
        while (fits < n) {
          const qsizetype next = std::min(n, start + 2 * (fits - start));
          if (visible(start, next).width > width) {
            wide = next;
            break;
          }
          fits = next;
        }
        while (wide - fits > 1 && fits < n) {
          const qsizetype middle = fits + (wide - fits) / 2;
          (visible(start, middle).width > width ? wide : fits) = middle;
        }
        end = fits;
      }
      lines.push_back(visible(start, end));
      start = end;
      // A wrapped line starts at its first word, not with the blanks of the break.
      while (start < n && text.at(start).isSpace()) ++start;
    }
    return lines;
  }

  // The lines of a text set between two edges: its paragraphs, each wrapped at the width.
  std::vector<Line> layout(const QString& text, int left, int right) const {
    // Most texts of a list are one short line.
    if (!text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
      return wrap(text, right - left);
    std::vector<Line> lines;
    for (const QString& paragraph : paragraphs(text)) {
      for (Line& line : wrap(paragraph, right - left)) lines.push_back(std::move(line));
    }
    return lines;
  }

  void discard() {
    if (painter && painter->isActive()) painter->end();
    painter.reset();
    writer.reset();
    if (file) file->discard();
    file.reset();
  }
};

PdfDocument::PdfDocument(UserInterface* ui) : d(std::make_unique<Impl>()) {
  d->ui = ui;
}

PdfDocument::~PdfDocument() {
  d->discard();
}

int PdfDocument::SetNumProp(int property, int value) {
  const bool flag = value != 0;
  switch (property) {
    case kPropBold:
      if (d->bold == flag) return 0;
      d->bold = flag;
      break;
    case kPropItalic:
      if (d->italic == flag) return 0;
      d->italic = flag;
      break;
    case kPropFontSize:
      if (value < 1 || value > kMaxFontSize) {
        return d->fail(QStringLiteral("Ungültige Schriftgröße: %1").arg(value));
      }
      if (d->fontSize == value) return 0;
      d->fontSize = value;
      break;
    case kPropLandscape:
      if (d->state != Impl::State::Created) {
        return d->fail(
            QStringLiteral("Die Seitenausrichtung kann nur vor Beginn des Dokuments gesetzt "
                           "werden."));
      }
      d->landscape = flag;
      return 0;
    case kPropLineWidth:
      if (value < 0 || value > kMaxLineWidth) {
        return d->fail(QStringLiteral("Ungültige Linienstärke: %1").arg(value));
      }
      d->lineWidth = value;
      return 0;
    case kPropOpenViewer:
      d->openViewer = flag;
      return 0;
    case kPropParagraph:
      if (value < 0) return d->fail(QStringLiteral("Ungültiger Absatzabstand: %1").arg(value));
      d->paragraphSpacing = value;
      return 0;
    case kPropTextBottom:
      return d->fail(QStringLiteral("Die Eigenschaft %1 kann nur gelesen werden.").arg(property));
    default:
      return d->fail(QStringLiteral("Unbekannte Eigenschaft %1.").arg(property));
  }
  d->fontDirty = true;
  return 0;
}

int PdfDocument::SetStrProp(int property, const QString& value) {
  switch (property) {
    case kPropFileName:
      if (d->state != Impl::State::Created) {
        return d->fail(
            QStringLiteral("Die Ausgabedatei kann nur vor Beginn des Dokuments gesetzt werden."));
      }
      d->fileName = value;
      return 0;
    case kPropTitle:
      // The title is part of the document header, which BeginDoc writes.
      if (d->state != Impl::State::Created) {
        return d->fail(
            QStringLiteral("Der Dokumenttitel kann nur vor Beginn des Dokuments gesetzt werden."));
      }
      d->title = value;
      return 0;
    case kPropFontName:
      if (value.trimmed().isEmpty()) return d->fail(QStringLiteral("Kein Schriftname angegeben."));
      if (d->fontName == value) return 0;
      d->fontName = value;
      d->fontDirty = true;
      return 0;
    default:
      return d->fail(QStringLiteral("Unbekannte Text-Eigenschaft %1.").arg(property));
  }
}

int PdfDocument::GetNumProp(int property) {
  switch (property) {
    case kPropBold:
      return d->bold ? 1 : 0;
    case kPropItalic:
      return d->italic ? 1 : 0;
    case kPropFontSize:
      return d->fontSize;
    case kPropLandscape:
      return d->landscape ? 1 : 0;
    case kPropLineWidth:
      return d->lineWidth;
    case kPropTextBottom:
      return d->textBottom;
    case kPropOpenViewer:
      return d->openViewer ? 1 : 0;
    case kPropParagraph:
      return d->paragraphSpacing;
    default:
      return d->fail(QStringLiteral("Unbekannte Eigenschaft %1.").arg(property));
  }
}

QString PdfDocument::GetStrProp(int property) const {
  switch (property) {
    case kPropFileName:
      return d->fileName;
    case kPropFontName:
      return d->fontName;
    case kPropTitle:
      return d->title;
    default:
      return QString();
  }
}

int PdfDocument::BeginDoc() {
  if (d->state == Impl::State::Open) {
    return d->fail(QStringLiteral("Das PDF-Dokument wurde bereits begonnen."));
  }
  if (d->state == Impl::State::Finished) {
    return d->fail(QStringLiteral("Das PDF-Dokument ist bereits abgeschlossen."));
  }
  if (d->fileName.trimmed().isEmpty()) {
    return d->fail(QStringLiteral("Es wurde keine Ausgabedatei angegeben."));
  }

  auto file = std::make_unique<SafeFile>(d->fileName);
  if (!file->create()) return d->fail(file->failureText());
  auto writer = std::make_unique<QPdfWriter>(file.get());
  writer->setResolution(kResolution);
  writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                    d->landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                    QMarginsF(0, 0, 0, 0)));
  writer->setTitle(d->title);
  writer->setCreator(QStringLiteral("Kandrix"));

  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(writer.get())) {
    file->discard();
    return d->fail(QStringLiteral("Das PDF-Dokument %1 kann nicht begonnen werden.")
                       .arg(QDir::toNativeSeparators(d->fileName)));
  }
  painter->setRenderHint(QPainter::LosslessImageRendering);

  d->file = std::move(file);
  d->writer = std::move(writer);
  d->painter = std::move(painter);
  d->state = Impl::State::Open;
  d->pages = 1;
  d->current = QPointF();
  d->variants.clear();
  d->variant = nullptr;
  d->lastVariant = nullptr;
  d->appliedLineWidth = -1;
  d->fontDirty = true;
  return 0;
}

int PdfDocument::NewPage() {
  if (!d->ready()) return -1;
  if (!d->writer->newPage()) {
    return d->failWriting(
        QStringLiteral("Eine neue Seite des PDF-Dokuments %1 kann nicht "
                       "begonnen werden."));
  }
  ++d->pages;
  d->current = QPointF();
  return 0;
}

int PdfDocument::TextOut(int x, int y, const QString& text) {
  if (!d->ready()) return -1;
  d->useFont();
  d->drawLine(x, y, text);
  return 0;
}

int PdfDocument::DrawText(int left, int top, int right, int /*unused1*/, int align, int /*unused2*/,
                          const QString& text) {
  if (!d->ready()) return -1;
  if (align != kAlignLeft && align != kAlignRight && align != kAlignCenter) {
    return d->fail(QStringLiteral("Ungültige Textausrichtung: %1").arg(align));
  }
  d->useFont();
  const qreal lineHeight = d->variant->font.lineSpacing();
  qreal y = top;
  for (const Impl::Line& line : d->layout(text, left, right)) {
    qreal x = left;
    if (align == kAlignRight) {
      x = right - line.width;
    } else if (align == kAlignCenter) {
      x = (left + right - line.width) / 2.0;
    }
    d->drawLine(x, y, line.text);
    y += lineHeight;
  }
  d->textBottom = static_cast<int>(std::lround(y));
  return 0;
}

int PdfDocument::TextHeight(int left, int right, const QString& text) {
  if (!d->ready()) return -1;
  d->useFont();
  const qreal lineHeight = d->variant->font.lineSpacing();
  const auto lines = d->layout(text, left, right);
  return static_cast<int>(std::lround(static_cast<qreal>(lines.size()) * lineHeight));
}

int PdfDocument::WrapText(int left, int right, const QString& text, QStringList& lines) {
  lines.clear();
  if (!d->ready()) return -1;
  d->useFont();
  for (Impl::Line& line : d->layout(text, left, right)) lines.append(std::move(line.text));
  return static_cast<int>(lines.size());
}

int PdfDocument::TextWidth(const QString& text) {
  if (!d->ready()) return -1;
  d->useFont();
  return static_cast<int>(std::lround(d->advance(text)));
}

int PdfDocument::MoveTo(int x, int y) {
  if (!d->ready()) return -1;
  d->current = QPointF(x, y);
  return 0;
}

int PdfDocument::LineTo(int x, int y) {
  if (!d->ready()) return -1;
  d->applyPen();
  const QPointF to(x, y);
  d->painter->drawLine(d->current, to);
  d->current = to;
  return 0;
}

int PdfDocument::Rectangle(int x1, int y1, int x2, int y2) {
  if (!d->ready()) return -1;
  d->applyPen();
  d->painter->drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
  return 0;
}

int PdfDocument::StretchDraw(int x1, int y1, int x2, int y2, const QImage& image) {
  if (!d->ready()) return -1;
  if (image.isNull()) return d->fail(QStringLiteral("Das Bild ist leer."));
  d->painter->drawImage(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized(), image);
  return 0;
}

int PdfDocument::StretchDrawFromFile(int x1, int y1, int x2, int y2, const QString& fileName) {
  if (!d->ready()) return -1;
  const QString shown = QDir::toNativeSeparators(fileName);
  if (!QFileInfo(fileName).isFile()) {
    return d->fail(QStringLiteral("Die Bilddatei %1 wurde nicht gefunden.").arg(shown));
  }
  QImageReader reader(fileName);
  QImage image = reader.read();
  if (image.isNull()) {
    return d->fail(QStringLiteral("Die Bilddatei %1 kann nicht gelesen werden.").arg(shown));
  }
  return StretchDraw(x1, y1, x2, y2, image);
}

int PdfDocument::EndDoc() {
  const int ended = EndDocAside();
  return ended == -1 ? ended : PlaceDoc();
}

int PdfDocument::EndDocAside() {
  if (!d->ready()) return -1;
  d->state = Impl::State::Finished;
  const bool ended = d->painter->end();
  d->painter.reset();
  d->writer.reset();
  if (!ended) {
    return d->failWriting(QStringLiteral("Das PDF-Dokument %1 kann nicht abgeschlossen werden."));
  }
  if (!d->file->finish()) return d->failWriting(QString());
  return 0;
}

int PdfDocument::PlaceDoc() {
  if (d->state != Impl::State::Finished || !d->file) {
    return d->fail(QStringLiteral("Das PDF-Dokument ist noch nicht abgeschlossen."));
  }
  if (!d->file->place()) return d->failWriting(QString());
  d->file.reset();
  if (d->openViewer && d->ui)
    d->viewerFailed = !d->ui->openViewer(QFileInfo(d->fileName).absoluteFilePath());
  return 0;
}

bool PdfDocument::viewerFailed() const {
  return d->viewerFailed;
}

QString PdfDocument::GetErrorMsg() const {
  return d->error;
}

int PdfDocument::pageWidth() const {
  return d->landscape ? kA4Height : kA4Width;
}

int PdfDocument::pageHeight() const {
  return d->landscape ? kA4Width : kA4Height;
}

int PdfDocument::pageCount() const {
  return d->pages;
}

UserInterface* PdfDocument::ui() const {
  return d->ui;
}

void PdfCheck(PdfDocument& doc, int result) {
  if (result != -1) return;
  if (UserInterface* ui = doc.ui()) {
    ui->message(doc.GetErrorMsg(), MsgIcon::Critical, QString::fromLatin1(kPdfErrorCaption));
  }
  throw PdfAbort();
}

int PdfGetNumProp(PdfDocument& doc, int property) {
  const int value = doc.GetNumProp(property);
  PdfCheck(doc, value);
  return value;
}

void PdfSetNumProp(PdfDocument& doc, int property, int value) {
  PdfCheck(doc, doc.SetNumProp(property, value));
}

void PdfSetStrProp(PdfDocument& doc, int property, const QString& value) {
  PdfCheck(doc, doc.SetStrProp(property, value));
}

}  // namespace kx::pdf
