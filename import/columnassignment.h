#pragma once

// The column assignment of the imports as data: one target row per field of the
// competition file, with the header words that assign a file column to it automatically
// and the header text the user assigned.

#include <QString>
#include <QStringList>

#include <vector>

namespace kx {

struct CompetitionSettings;

// The fields an import can fill.
enum class ImportTarget {
  Code,
  Nachname,
  Vorname,
  Geschlecht,
  Verein,
  Jahrgang,
  Nation,
  Mannschaft,
  Punkte,
  StartNr,
  Lauf1,
  Lauf2,
  Lauf3,
  Klasse,
  Gruppe
};

struct TargetRow {
  ImportTarget target;
  QString label;               // the row's text: the name of the target field
  QStringList words;           // lower-case header words that assign a column
  QStringList runHeaderWords;  // further words, only while some header reads "Lauf 1"
  QStringList secondPass;      // words tried when no column matched the others
  QString excel;               // the assigned header text; empty = not assigned
  int col = -1;                // column position of `excel` in the header line (save)

  bool assigned() const { return !excel.isEmpty(); }
};

using TargetRows = std::vector<TargetRow>;

// The rows of the participant import under the competition's settings, the file's
// version class, the number of runs and the current discipline code.
TargetRows ParticipantTargetRows(const CompetitionSettings& settings, const QString& versionClass,
                                 int runCount, const QString& disciplineCode);
// The four rows of the class import.
TargetRows ClassTargetRows();

// Assigns the first header text (in file order) whose lower-case form equals one of the
// row's words; the second-pass words only when none did.
void AutoAssign(TargetRow& row, const QStringList& header, bool runHeaderPresent);

// The row of a target, null when the panel has no such row.
const TargetRow* FindTarget(const TargetRows& rows, ImportTarget target);
TargetRow* FindTarget(TargetRows& rows, ImportTarget target);

// Sets each row's column position from the header line: the position of the header text
// equal to the row's assigned text, the last one when several are equal; -1 when none.
void LocateColumns(TargetRows& rows, const QStringList& header);

// The first required row without a column (its message), or an empty text.
QString MissingColumnMessage(const TargetRows& rows, const QStringList& optionalLabels);

// The type of a federation race: 2 <= typ <= 7.
inline bool IsFederationType(int typ) {
  return typ >= 2 && typ <= 7;
}

}  // namespace kx
