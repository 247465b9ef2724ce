#include "tests/support/pdfreader.h"

#include <QFileInfo>
#include <QProcess>

#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-font.h>
#include <poppler/cpp/poppler-page.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <type_traits>

namespace kx::test {

namespace {

QString fromUstring(const poppler::ustring& text) {
  const poppler::byte_array utf8 = text.to_utf8();
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// "ABCDEF+LiberationSans" -> "LiberationSans": the tag differs per embedded subset.
QString withoutSubsetTag(const std::string& name) {
  QString font = QString::fromStdString(name);
  const qsizetype plus = font.indexOf(QLatin1Char('+'));
  if (plus == 6) font.remove(0, 7);
  return font;
}

QRectF toUnits(const poppler::rectf& r) {
  return QRectF(r.x() * kUnitsPerPoint, r.y() * kUnitsPerPoint, r.width() * kUnitsPerPoint,
                r.height() * kUnitsPerPoint);
}

const QList<PdfWord> kNoWords;

}  // namespace

QString PdfLine::text() const {
  QStringList parts;
  for (const PdfWord& word : words) parts.append(word.text);
  return parts.join(QLatin1Char(' '));
}

PdfReader::PdfReader(const QString& path) : path_(path) {
  std::unique_ptr<poppler::document> doc(
      poppler::document::load_from_file(QFile::encodeName(path).toStdString()));
  if (!doc || doc->is_locked()) return;
  title_ = fromUstring(doc->info_key("Title"));
  creator_ = fromUstring(doc->info_key("Creator"));
  for (int i = 0; i < doc->pages(); ++i) {
    std::unique_ptr<poppler::page> page(doc->create_page(i));
    QList<PdfWord> words;
    if (page) {
      sizes_.append(toUnits(page->page_rect(poppler::media_box)).size());
      for (const poppler::text_box& box : page->text_list(poppler::page::text_list_include_font)) {
        PdfWord word;
        word.text = fromUstring(box.text());
        word.box = toUnits(box.bbox());
        word.font = withoutSubsetTag(box.get_font_name());
        word.size = box.get_font_size();
        word.page = i + 1;
        words.append(word);
      }
    } else {
      sizes_.append(QSizeF());
    }
    pages_.append(words);
  }
  for (const poppler::font_info& font : doc->fonts()) {
    fonts_.append({withoutSubsetTag(font.name()), font.is_embedded(), font.is_subset()});
  }
  valid_ = true;
}

QSizeF PdfReader::pageSize(int page) const {
  return page >= 1 && page <= sizes_.size() ? sizes_.at(page - 1) : QSizeF();
}

const QList<PdfWord>& PdfReader::wordsOnPage(int page) const {
  return page >= 1 && page <= pages_.size() ? pages_.at(page - 1) : kNoWords;
}

QList<PdfWord> PdfReader::words() const {
  QList<PdfWord> all;
  for (const auto& page : pages_) all.append(page);
  return all;
}

QList<PdfWord> PdfReader::findWords(const QString& text, int page) const {
  QList<PdfWord> found;
  for (const PdfWord& word : page == 0 ? words() : wordsOnPage(page)) {
    if (word.text == text) found.append(word);
  }
  return found;
}

template <class T>
const T& Found<T>::operator*() const {
  if (this->has_value()) return this->value();
  ADD_FAILURE() << "Nicht im PDF: \"" << looked_.toStdString() << '"';
  static const T placeholder = [] {
    if constexpr (std::is_same_v<T, PdfLine>) {
      return PdfLine{{PdfWord{}}};
    } else {
      return PdfWord{};
    }
  }();
  return placeholder;
}
template class Found<PdfWord>;
template class Found<PdfLine>;

Found<PdfWord> PdfReader::findWord(const QString& text, int page) const {
  const QList<PdfWord> found = findWords(text, page);
  if (found.isEmpty()) return {std::nullopt, text};
  return {found.first(), text};
}

QList<PdfLine> PdfReader::lines(int page, double tolerance) const {
  QList<PdfWord> sorted = wordsOnPage(page);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const PdfWord& a, const PdfWord& b) { return a.top() < b.top(); });
  QList<PdfLine> result;
  for (const PdfWord& word : sorted) {
    if (result.isEmpty() || word.top() - result.last().words.first().top() > tolerance) {
      result.append(PdfLine());
    }
    result.last().words.append(word);
  }
  for (PdfLine& line : result) {
    std::stable_sort(line.words.begin(), line.words.end(),
                     [](const PdfWord& a, const PdfWord& b) { return a.left() < b.left(); });
  }
  return result;
}

QStringList PdfReader::lineTexts(int page) const {
  QStringList texts;
  for (const PdfLine& line : lines(page)) texts.append(line.text());
  return texts;
}

Found<PdfLine> PdfReader::findLine(const QString& part, int page) const {
  const int first = page == 0 ? 1 : page;
  const int last = page == 0 ? pageCount() : page;
  for (int p = first; p <= last; ++p) {
    for (const PdfLine& line : lines(p)) {
      if (line.text().contains(part)) return {line, part};
    }
  }
  return {std::nullopt, part};
}

bool PdfReader::renderPage(int page, const QString& pngPath, int dpi) const {
  return RenderPdfPage(path_, page, pngPath, dpi);
}

bool RenderPdfPage(const QString& pdfPath, int page, const QString& pngPath, int dpi) {
  // pdftoppm appends ".png" to the prefix it is given.
  QString prefix = pngPath;
  if (prefix.endsWith(QLatin1String(".png"), Qt::CaseInsensitive)) prefix.chop(4);
  QProcess process;
  process.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                 QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                 QString::number(page), QStringLiteral("-singlefile"), pdfPath, prefix});
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    return false;
  }
  return QFileInfo::exists(prefix + QStringLiteral(".png"));
}

}  // namespace kx::test
