#pragma once

// Reading of the import files of participants and classes: the whole file decoded once
// (UTF-8, UTF-16 or UTF-32 after a byte-order mark, or Windows-1252), split into lines and
// the header line into column texts.

#include <QString>
#include <QStringList>

#include <optional>

namespace kx {

// An import file as read from disk.
struct ImportFile {
  QString path;
  bool utf8 = false;        // decoded as UTF-8 (byte-order mark or valid UTF-8 text)
  QChar separator = u'\t';  // Tab or ";", found on the header line
  QStringList lines;        // every line without its line end; the header line first
  QStringList header;       // the header line's fields, exactly as they stand

  // Some header text is exactly "Lauf 1" (case-sensitive).
  bool runHeaderPresent() const;
};

// Reads and decodes the whole file. Lines end at CR LF or a lone CR, and a lone LF stays
// in its field; a file without any CR ends its lines at LF. The separator is Tab unless
// the header line splits into exactly one piece at Tab, then ";". Returns nothing when
// the file cannot be read; `error` then holds the German message naming the file.
std::optional<ImportFile> ReadImportFile(const QString& path, QString* error);

// The fields of one line: every text between two separators, the text before the first
// and after the last (possibly empty). Quotes have no meaning.
QStringList SplitImportLine(const QString& line, QChar separator);

// The field at `position` of a split line; empty when the line is shorter or the
// position is negative.
inline QString FieldAt(const QStringList& fields, int position) {
  return position >= 0 && position < fields.size() ? fields[position] : QString();
}

// Removes leading and trailing blanks (the character " " only) in place and returns the
// result.
QString TrimBlanks(QString& text);
inline QString TrimmedBlanks(QString text) {
  return TrimBlanks(text);
}

// Upper case character by character: "ß" stays "ß" (QString::toUpper would write "SS").
QString UpperKeepSharpS(const QString& text);

// Fewer header fields than this refuse the file.
inline constexpr int kMinimumHeaderFields = 3;
inline const QString kNoColumnsMessage = QStringLiteral(
    "keine Spalten gefunden, das Trennzeichen für die Spalten muss Semikolon oder Tabstopp "
    "sein");

}  // namespace kx
