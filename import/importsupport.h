#pragma once

// Small pieces shared by the participant and the class import: number checks, the
// German text order as a comparator, and the abort message's line note.

#include "db/database.h"

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace kx::importsupport {

inline const QString kCrLf = QStringLiteral("\r\n");
// The line under the counts of a summary, before the list of what was not imported.
inline const QString kRejectRule = QString(62, u'_');

// A whole number written with the digits 0-9 only (at most 9 of them).
std::optional<qint64> WholeNumber(const QString& text);
// A decimal number with "," or "." as decimal sign, optionally signed.
std::optional<double> DecimalNumber(const QString& text);

// Equality and order of texts as the competition file compares them (case-insensitive,
// German).
struct GermanLess {
  bool operator()(const QString& a, const QString& b) const { return db::CompareGerman(a, b) < 0; }
};
inline bool GermanEqual(const QString& a, const QString& b) {
  return db::CompareGerman(a, b) == 0;
}

// A class as the class by birth year sees it.
struct ClassLimit {
  qint64 id = 0;
  QString geschlecht;
  QString bisJahrgang;  // empty for Null
};
// The class of a participant: of the classes in the order "geschlecht, bis_jahrgang
// descending", the last one of his category whose limit is not below his birth year (both
// compared as texts), so the one with the smallest limit not below it; 0 when none.
qint64 ClassOfBirthYear(const std::vector<ClassLimit>& classes, const QString& sex,
                        const QString& birthYear);

// The text widths the competition file declares for its columns, read once per table: a
// value longer than its column is refused, not stored.
class ColumnWidths {
 public:
  explicit ColumnWidths(db::Connection& db) : db_(db) {}
  // Empty when `value` fits the column `column` (lower case) of `table`, or the column
  // declares no width; else the note "Das Feld '<label>' (Spalte '<header>') ist länger als
  // die 50 Zeichen, die die Bewerbsdatei dafür vorsieht." (`label` names the target field,
  // `header` the file's column).
  QString overflow(const QString& value, const QString& table, const QString& column,
                   const QString& label, const QString& header);

 private:
  db::Connection& db_;
  std::map<QString, std::map<QString, int>> widths_;  // by table
};

// "(Zeile 17 der Import-Datei; es wurde nichts übernommen)"
QString NothingTakenOverNote(int lineNumber);

}  // namespace kx::importsupport
