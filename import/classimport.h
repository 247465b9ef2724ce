#pragma once

// The class import: replaces the groups and classes of the competition file by those of
// an import file and gives every participant the class of his category and birth year,
// all in one transaction.

#include "import/columnassignment.h"
#include "import/participantimport.h"

namespace kx {

struct AppState;

// The save of the class import: the file at `path` read again with `separator`, `rows`
// as assigned in the panel (their column positions are set here).
ImportResult ImportClasses(AppState& state, const QString& path, QChar separator, TargetRows& rows);

}  // namespace kx
