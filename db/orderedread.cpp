#include "db/orderedread.h"

#include "db/database.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringList>

#include <sqlite3.h>

#include <algorithm>
#include <numeric>
#include <optional>

namespace kx::db {

namespace {

// One term of the ORDER BY.
struct Term {
  int column = -1;     // result column of a column number (0 for the first)
  QString expression;  // a qualified column that is no result column: read from an added one
  bool descending = false;
};

// The terms, or nothing when one of them is of a kind sorted here only by guessing: a
// collation, NULLS FIRST/LAST, an expression or a bare name (which may be an alias).
std::optional<std::vector<Term>> ParseTerms(const QString& orderBy) {
  static const QRegularExpression kTerm(
      QStringLiteral("^\\s*(?:([0-9]+)|([A-Za-z_][A-Za-z0-9_]*\\.[A-Za-z_][A-Za-z0-9_]*))"
                     "(?:\\s+(asc|desc))?\\s*$"),
      QRegularExpression::CaseInsensitiveOption);
  std::vector<Term> terms;
  for (const QString& part : orderBy.split(u',')) {
    const QRegularExpressionMatch m = kTerm.match(part);
    if (!m.hasMatch()) return std::nullopt;
    Term t;
    if (m.capturedLength(1) > 0) {
      bool ok = false;
      t.column = m.captured(1).toInt(&ok) - 1;
      if (!ok || t.column < 0) return std::nullopt;
    } else {
      t.expression = m.captured(2);
    }
    t.descending = m.captured(3).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0;
    terms.push_back(std::move(t));
  }
  return terms;
}

// The steps of a statement's query plan, each with its depth in the plan.
QStringList PlanOf(Connection& connection, const QString& sql) {
  QStringList steps;
  QHash<qint64, int> depthOf;
  RowReader plan(connection, QStringLiteral("explain query plan ") + sql);
  while (plan.next()) {
    const int depth = depthOf.value(plan.toLongLong(1), -1) + 1;
    depthOf.insert(plan.toLongLong(0), depth);
    steps << QString::number(depth) + u' ' + plan.text(3);
  }
  return steps;
}

// True when the database finds the rows of `ordered` exactly as those of `unordered` and then
// sorts them all at once. Its sorter keeps rows with equal keys in the order it got them
// when it runs in one thread, whether it sorts in memory or merges runs from temporary
// files; and unordered reads run their loops forwards unless told otherwise.
bool SortsWhatItReads(Connection& connection, const QString& ordered, const QString& unordered) {
  if (sqlite3_limit(connection.handle(), SQLITE_LIMIT_WORKER_THREADS, -1) != 0) return false;
  if (connection.scalar(QStringLiteral("pragma reverse_unordered_selects")).toInt() != 0)
    return false;
  QStringList steps = PlanOf(connection, ordered);
  if (steps.removeAll(QStringLiteral("0 USE TEMP B-TREE FOR ORDER BY")) != 1) return false;
  return steps == PlanOf(connection, unordered);
}

// A sort key: Null before every number; numbers compare by value, whole numbers and
// fractions alike, as in the database's own comparison. A double holds every value read
// exactly (whole numbers beyond 2^53 are left to the database).
struct Key {
  double value = 0;
  bool null = true;
};

constexpr qint64 kExactWhole = qint64(1) << 53;

int CompareKeys(const Key& a, const Key& b) {
  if (a.null || b.null) return (a.null ? 0 : 1) - (b.null ? 0 : 1);
  if (a.value < b.value) return -1;
  return b.value < a.value ? 1 : 0;
}

// Reads the rows of `sql` with their keys and sorts their positions; nothing when a key is
// a text, a blob or a huge whole number (then the rows taken so far are of no use).
std::optional<std::vector<int>> ReadAndSort(Connection& connection, const QString& sql,
                                            std::vector<Term> terms, int added,
                                            const std::function<void(const RowReader&)>& take) {
  RowReader row(connection, sql);
  sqlite3_stmt* stmt = row.handle();
  const int shown = sqlite3_column_count(stmt) - added;
  int next = shown;
  for (Term& t : terms) {
    if (!t.expression.isEmpty()) {
      t.column = next++;
    } else if (t.column >= shown) {
      // A column number beyond the list: the database's own statement reports it.
      return std::nullopt;
    }
  }

  std::vector<Key> keys;
  int rows = 0;
  while (row.next()) {
    for (const Term& t : terms) {
      // Read as RowReader reads its values (see there).
      sqlite3_value* value = sqlite3_column_value(stmt, t.column);
      switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
          keys.push_back(Key{});
          break;
        case SQLITE_INTEGER: {
          const qint64 whole = sqlite3_value_int64(value);
          if (whole > kExactWhole || whole < -kExactWhole) return std::nullopt;
          keys.push_back({static_cast<double>(whole), false});
          break;
        }
        case SQLITE_FLOAT:
          keys.push_back({sqlite3_value_double(value), false});
          break;
        default:
          return std::nullopt;
      }
    }
    take(row);
    ++rows;
  }

  std::vector<int> order(static_cast<size_t>(rows));
  std::iota(order.begin(), order.end(), 0);
  const size_t n = terms.size();
  if (std::any_of(keys.begin(), keys.end(), [](const Key& k) { return k.null; })) {
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      const Key* ka = &keys[static_cast<size_t>(a) * n];
      const Key* kb = &keys[static_cast<size_t>(b) * n];
      for (size_t i = 0; i < n; ++i) {
        const int c = CompareKeys(ka[i], kb[i]);
        if (c != 0) return terms[i].descending ? c > 0 : c < 0;
      }
      return false;
    });
    return order;
  }
  // Numbers only (the usual case): descending terms negated, then plain comparisons.
  std::vector<double> values(keys.size());
  for (size_t i = 0; i < keys.size(); ++i)
    values[i] = terms[i % n].descending ? -keys[i].value : keys[i].value;
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    const double* va = &values[static_cast<size_t>(a) * n];
    const double* vb = &values[static_cast<size_t>(b) * n];
    for (size_t i = 0; i < n; ++i) {
      if (va[i] < vb[i]) return true;
      if (vb[i] < va[i]) return false;
    }
    return false;
  });
  return order;
}

}  // namespace

std::vector<int> ReadInOrder(Connection& connection, const QString& columns, const QString& from,
                             const QString& orderBy,
                             const std::function<void(const RowReader&)>& take,
                             const std::function<void()>& discard) {
  const QString ordered = columns + from + QStringLiteral("order by ") + orderBy;
  if (const std::optional<std::vector<Term>> terms = ParseTerms(orderBy)) {
    // The added key columns get names no caller asks for.
    QString keyColumns;
    int added = 0;
    for (const Term& t : *terms) {
      if (t.expression.isEmpty()) continue;
      keyColumns +=
          u',' + t.expression + QStringLiteral(" as kx_orderkey") + QString::number(++added);
    }
    const QString unordered = columns + keyColumns + u' ' + from;
    if (SortsWhatItReads(connection, ordered, unordered)) {
      if (std::optional<std::vector<int>> order =
              ReadAndSort(connection, unordered, *terms, added, take))
        return std::move(*order);
      discard();
    }
  }

  std::vector<int> order;
  RowReader row(connection, ordered);
  while (row.next()) {
    take(row);
    order.push_back(static_cast<int>(order.size()));
  }
  return order;
}

}  // namespace kx::db
