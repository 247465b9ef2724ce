#pragma once

// The two import files of the demo program directory: participants of the demo race (new
// ones, ones already entered and ones the import refuses) and a class list.

#include <QString>

namespace kx {

// Writes "Teilnehmer-Import.csv" and "Klassen-Import.csv" (Windows-1252, ";") into `dir`.
// Throws std::runtime_error when a file cannot be written.
void WriteDemoImportFiles(const QString& dir);

}  // namespace kx
