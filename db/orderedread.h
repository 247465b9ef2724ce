#pragma once

// Reading a query with an ORDER BY whose sorting the program does itself. SQLite's sorter
// copies every column of every row into its own records, which for reads of thousands of
// rows costs about as much as the read; sorting the row positions by their keys here costs
// a fraction of it. The order is exactly the one the database gives, ties included.

#include <QString>

#include <functional>
#include <vector>

namespace kx::db {

class Connection;
class RowReader;

// Reads `<columns><from>order by <orderBy>`: `columns` is the statement up to the end of its
// column list ("select a,b,c "), `from` the rest up to the ORDER BY ("from t where x=1 "),
// `orderBy` its terms ("k.sortpos,2 desc"). `take` gets each row with the columns of
// `columns`; the result lists the taken rows (0 for the first taken) in the statement's
// order. The rows come in the order the database finds them and are sorted here when that
// gives the database's order for certain: every term a column number or a qualified column
// (`k.sortpos`) with numbers or Null as values, and the database would find the rows in the
// same order and then sort them all at once (its sort keeps the order of rows with equal
// keys). Otherwise the database sorts: `discard` drops the rows taken so far, `take` gets
// them again in the statement's order, and the result counts up.
std::vector<int> ReadInOrder(Connection& connection, const QString& columns, const QString& from,
                             const QString& orderBy,
                             const std::function<void(const RowReader&)>& take,
                             const std::function<void()>& discard);

}  // namespace kx::db
