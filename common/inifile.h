#pragma once

#include <QString>

namespace kx {

// Reads one value of a Windows-style settings file ("[Section]" headers, "key=value"
// lines) the way the main program's settings are read: section and key compared without
// regard to case, the first matching key of the first matching section wins, blanks around
// the value are dropped and one pair of enclosing quotes is removed; `defaultValue` when the
// file, the section or the key is missing. The file is read as Windows-1252 unless it is
// valid UTF-8.
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, const QString& fileName);

}  // namespace kx
