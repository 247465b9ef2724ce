#pragma once

// Copying the bibs that the participants carry in another discipline into the current one,
// which has none yet.

#include <QString>

#include <vector>

namespace kx::db {
class Connection;
}

namespace kx {

struct AppState;

// A discipline to take bibs from: its title as listed and its column code.
struct BibSource {
  QString title;
  QString code;
};

// True when a participant entered in the discipline with column code `code` has a bib there.
bool DisciplineHasBibs(db::Connection& db, const QString& code);

// The active disciplines other than the current one in which an entered participant has a
// bib, in the database's order; disciplines without a column code are left out.
// `anyRow` tells whether the discipline table had any row at all.
std::vector<BibSource> BibSourceDisciplines(db::Connection& db, const AppState& state,
                                            bool& anyRow);

// Gives every participant entered in both disciplines who has a bib in `sourceCode` that
// bib in `currentCode`, in one transaction; returns the number of participants written.
int CopyBibs(db::Connection& db, const QString& currentCode, const QString& sourceCode);

}  // namespace kx
