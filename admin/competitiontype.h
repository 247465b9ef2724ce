#pragma once

// The competition type of the open file and the rewrite of the disciplines' race numbers
// that a move into the adult or the youth types brings: women's letter at character 5,
// men's letter at character 7 ("D"/"H" adults, "M"/"B" youth).

#include <QString>
#include <QStringList>

#include <optional>

namespace kx::db {
class Connection;
}

namespace kx {

// The 13 competition types; the position is the value of tblBewerb.typ.
extern const QStringList kCompetitionTypes;

enum class RaceNumberLetters { Keep, Adult, Youth };

// The rewrite a change from `oldType` to `newType` brings: Adult into 2 or 3 from outside
// them, Youth into 4 to 7 from outside them, else none.
RaceNumberLetters RaceNumberRewrite(int oldType, int newType);

// The race number of discipline `dtyp` after the rewrite: characters 1 to 4, 6 and 8 of
// the old number kept, the two letters set, nothing past character 8; Null or empty gives
// the whole template ("    DRHR" for dtyp 0 to 2, "    DSHS" otherwise, youth alike).
QString RewrittenRaceNumber(const std::optional<QString>& old, RaceNumberLetters letters, int dtyp);

// Writes the new type and, where it calls for it, every discipline's race number (active
// or not) in one transaction. Throws db::Error; nothing is written then.
void SaveCompetitionType(db::Connection& db, int oldType, int newType);

}  // namespace kx
