#include "import/importfile.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

namespace kx {

namespace {

bool HasHighBytes(const QByteArray& bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// The text of the file, decided once for the whole file: UTF-8 after a byte-order mark,
// UTF-16 (a spreadsheet's "Unicode text") or UTF-32 after theirs, UTF-8 when every byte
// above 127 belongs to valid UTF-8, else Windows-1252.
QString Decode(QByteArray bytes, bool& utf8) {
  static const QByteArray bom("\xEF\xBB\xBF", 3);
  if (bytes.startsWith(bom)) {
    utf8 = true;
    bytes.remove(0, 3);
    return QString::fromUtf8(bytes);
  }
  if (const std::optional<QStringConverter::Encoding> unicode =
          QStringConverter::encodingForData(bytes)) {
    if (*unicode != QStringConverter::Utf8) {
      utf8 = false;
      // The decoder drops the byte-order mark.
      return QStringDecoder(*unicode).decode(bytes);
    }
  }
  if (HasHighBytes(bytes)) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    if (!decoder.hasError()) {
      utf8 = true;
      return text;
    }
  }
  utf8 = false;
  QStringDecoder cp1252("windows-1252");
  if (!cp1252.isValid()) return QString::fromLatin1(bytes);
  return cp1252.decode(bytes);
}

QStringList SplitLines(const QString& text) {
  QStringList lines;
  if (text.isEmpty()) return lines;
  const bool crEnds = text.contains(u'\r');
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (crEnds ? c == u'\r' : c == u'\n') {
      lines.append(text.mid(start, i - start));
      if (crEnds && i + 1 < n && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  if (start < n) lines.append(text.mid(start));
  return lines;
}

}  // namespace

bool ImportFile::runHeaderPresent() const {
  return header.contains(QStringLiteral("Lauf 1"));
}

std::optional<ImportFile> ReadImportFile(const QString& path, QString* error) {
  QFile file(path);
  QByteArray bytes;
  bool ok = file.open(QIODevice::ReadOnly);
  if (ok) {
    bytes = file.readAll();
    ok = file.error() == QFileDevice::NoError;
  }
  if (!ok) {
    if (error) {
      *error = QStringLiteral("Die Import-Datei '%1' kann nicht gelesen werden.")
                   .arg(QDir::toNativeSeparators(path));
    }
    return std::nullopt;
  }
  ImportFile result;
  result.path = path;
  result.lines = SplitLines(Decode(bytes, result.utf8));
  const QString headerLine = result.lines.isEmpty() ? QString() : result.lines.first();
  result.separator = u'\t';
  result.header = SplitImportLine(headerLine, result.separator);
  if (result.header.size() == 1) {
    result.separator = u';';
    result.header = SplitImportLine(headerLine, result.separator);
  }
  if (result.lines.isEmpty()) result.header.clear();
  return result;
}

QStringList SplitImportLine(const QString& line, QChar separator) {
  return line.split(separator, Qt::KeepEmptyParts);
}

QString TrimBlanks(QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == u' ') ++begin;
  while (end > begin && text[end - 1] == u' ') --end;
  if (begin > 0 || end < text.size()) text = text.mid(begin, end - begin);
  return text;
}

QString UpperKeepSharpS(const QString& text) {
  if (!text.contains(u'ß')) return text.toUpper();
  QStringList parts = text.split(u'ß');
  for (QString& part : parts) part = part.toUpper();
  return parts.join(u'ß');
}

}  // namespace kx
