#pragma once

// German text comparison inside the database: the collation of every text column and the
// case-insensitive `like` that the statements of the program use.

#include <QByteArrayView>
#include <QString>

namespace kx::db {

// The collation on UTF-8 texts as SQLite hands them over (same order as CompareGerman).
int CompareGermanUtf8(QByteArrayView a, QByteArrayView b);

// `text like pattern`, case-insensitive in German: '%' matches any run of characters, '_'
// exactly one; `escape` (0 for none) makes the following wildcard literal.
bool LikeGerman(QByteArrayView text, QByteArrayView pattern, char32_t escape = 0);

}  // namespace kx::db
