#pragma once

// The competition database: a competition file or the master data, kept as an SQLite
// database with the main program's tables and columns. Statements are written in the
// main program's SQL dialect (Jet SQL) and translated where SQLite differs.

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace kx::db {

// Any failure of the database: opening, a statement the database refuses, a missing column.
class Error : public std::runtime_error {
 public:
  explicit Error(const QString& message, int code = 0, QString file = QString(),
                 int systemError = 0)
      : std::runtime_error(message.toStdString()),
        code_(code),
        systemError_(systemError),
        file_(std::move(file)) {}
  QString text() const { return QString::fromStdString(what()); }
  // SQLite's (extended) result code; 0 when the failure is not SQLite's.
  int code() const { return code_; }
  // Another program holds a lock on the file for longer than the busy wait.
  bool locked() const;

  // The faults of the file itself that a race office meets, apart from everything a
  // statement or a value can get wrong (Other).
  enum class Fault {
    Other,
    Locked,    // another program holds the file longer than the busy wait
    DiskFull,  // no room left on the disk, or a size limit
    ReadOnly,  // no write rights on the file or its folder
    Moved,     // the file was replaced or deleted since it was opened
    Damaged,   // not a sound database
    Io,        // the disk failed to read or write
  };
  Fault fault() const;
  // The database file; empty when not known.
  const QString& file() const { return file_; }
  // The system's error number behind a failed read or write (errno); 0 when none.
  int systemError() const { return systemError_; }

 private:
  int code_ = 0;
  int systemError_ = 0;
  QString file_;
};

// The message for the user about a file that was replaced or deleted after it was opened.
QString MovedFileText(const QString& path);

// The failure of a file whose table is not of the shape the program writes (a view in its
// place, a column missing): a damaged file (Fault::Damaged) to the person at the screen;
// `technical` (SQLite's text with the statement) is for the log.
Error DamagedFileError(const QString& file, const QString& technical);

// One value of a row. Null is kept apart from every value.
class Field {
 public:
  Field() = default;
  Field(QVariant value, bool boolean, bool date)
      : value_(std::move(value)),
        null_(value_.isNull() || !value_.isValid()),
        boolean_(boolean),
        date_(date) {}

  bool isNull() const { return null_; }
  // The value as the original program printed it: Booleans as "True"/"False", dates as
  // "dd.MM.yyyy", whole numbers without decimals, Null as an empty text.
  QString toString() const;
  int toInt() const;          // Null gives 0
  qint64 toLongLong() const;  // Null gives 0
  double toDouble() const;    // Null gives 0
  bool toBool() const;        // Null gives false; any non-zero number is true
  const QVariant& value() const { return value_; }

 private:
  QVariant value_;
  bool null_ = true;
  bool boolean_ = false;  // the column is a Yes/No column
  bool date_ = false;     // the column is a date column
};

// A static recordset: every row of a query, read at once. The row count is known before
// the first row is read.
class Recordset {
 public:
  Recordset() = default;

  int count() const { return rowCount_; }
  bool empty() const { return rowCount_ == 0; }
  const QStringList& columns() const { return columns_; }
  int columnIndex(const QString& name) const;  // case-insensitive; -1 when missing

  // Row access by position and column name (case-insensitive; throws Error when missing).
  const Field& at(int row, const QString& column) const;
  const Field& at(int row, int column) const;

  // Cursor-style reading, as the original loops do it.
  bool eof() const { return pos_ >= count(); }
  void moveFirst() { pos_ = 0; }
  void moveNext() { ++pos_; }
  int position() const { return pos_; }
  const Field& operator[](const QString& column) const { return at(pos_, column); }
  const Field& operator[](int column) const { return at(pos_, column); }

 private:
  friend class Connection;
  QStringList columns_;
  std::vector<Field> cells_;  // row by row
  int rowCount_ = 0;
  int pos_ = 0;
};

class Connection;

// The rows of a query read one at a time straight from the statement, for reads of
// thousands of rows that fill rows of their own: no recordset in between. Values convert as
// Field does. The connection must outlive the reader.
class RowReader {
 public:
  RowReader(Connection& connection, const QString& sql, const QVariantList& params = {});
  ~RowReader();
  RowReader(const RowReader&) = delete;
  RowReader& operator=(const RowReader&) = delete;

  // Steps to the next row: false after the last one. Throws Error like a query.
  bool next();
  // The position of a column (exact name first, then without regard to case); throws
  // Error when the query has no such column.
  int column(const QString& name) const;

  bool isNull(int column) const;
  QString text(int column) const;  // Field::toString
  // text() for a column whose values repeat from row to row (clubs, nations, years, group
  // names): equal values give one shared text, converted once per reader.
  QString repeatedText(int column) const;
  // The bytes of a text value as stored (UTF-8); nothing when the value is no text or the
  // column is a Yes/No or date column.
  std::optional<QByteArrayView> textBytes(int column) const;
  qint64 toLongLong(int column) const;
  int toInt(int column) const;
  double toDouble(int column) const;
  Field field(int column) const;
  sqlite3_stmt* handle() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};

// A column of the schema (what the original read from the column schema query).
struct ColumnInfo {
  QString table;
  QString column;
  QString type;  // declared type
};

class Transaction;
class RowReader;

// One open database file. Not copyable; closing happens in the destructor.
class Connection {
 public:
  // Opens an existing file for reading and writing. A missing file, a file that is not
  // an SQLite database, or an unreadable file throws Error. Never creates a file.
  static std::unique_ptr<Connection> open(const QString& path);
  // Creates a new, empty database file (the file-builder uses it); an existing file is
  // replaced.
  static std::unique_ptr<Connection> create(const QString& path);

  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  const QString& path() const { return path_; }

  // Runs a query and returns all its rows.
  Recordset query(const QString& sql, const QVariantList& params = {});
  // Runs a statement without rows (create, alter, insert, update, delete, drop) and
  // returns the number of rows changed.
  int execute(const QString& sql, const QVariantList& params = {});
  // The first column of the first row of a query (count, max); Null when there is no row.
  Field scalar(const QString& sql, const QVariantList& params = {});

  // Schema: the names of the user tables (the rows of TABLE_TYPE "TABLE") and the columns.
  QStringList tables();
  std::vector<ColumnInfo> columns();
  bool hasTable(const QString& table);  // case-insensitive
  // The kind of the schema object of that name ("table", "view", "index", "trigger"),
  // found as SQLite finds names (without regard to case); empty when there is none.
  QString objectType(const QString& name);
  // The widths that a table's text columns declare ("varchar(80)", "char(1)"), by column
  // name in lower case. Columns without a width (memo, numbers) are not listed. SQLite
  // does not hold values to them: every value from outside is checked against them.
  std::map<QString, int> textWidths(const QString& table);
  bool hasColumn(const QString& table, const QString& column);

  // The first problem `pragma integrity_check` reports (an index that misses rows, a
  // damaged page), or an empty text for a sound file.
  QString integrityProblem();
  // True when the file that was opened is no longer at its path: renamed over by another
  // file, or deleted. Reading it then reads a stale copy.
  bool hasMoved();
  // Throws Error with a message for the user when the file has moved. Every write
  // (Transaction) checks it; outputs call it before they read.
  void ensureInPlace();
  // The message for the user about a moved file.
  QString movedText() const;

  // Starts a transaction; see Transaction. Transactions do not nest.
  Transaction transaction();
  bool inTransaction() const;

  sqlite3* handle() const { return db_; }

 private:
  friend class RowReader;
  Connection(sqlite3* db, QString path);
  void prepareConnection();
  sqlite3* db_ = nullptr;
  QString path_;
};

// Rolls back on destruction unless committed: a write of several statements is all or
// nothing.
class Transaction {
 public:
  explicit Transaction(Connection& connection);
  ~Transaction();
  Transaction(Transaction&& other) noexcept;
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;
  Transaction& operator=(Transaction&&) = delete;
  void commit();

 private:
  Connection* connection_;
};

// How long a statement waits for a lock another program holds before it fails as locked
// (2000 ms unless set; tests shorten it). Applies to connections opened afterwards.
void SetBusyTimeout(int milliseconds);

// Translates a statement of the main program's SQL dialect into SQLite's: strips the index
// options "WITH IGNORE NULL" and the like, gives text columns of created tables the
// German collation, and keeps everything else as written.
QString TranslateJetSql(const QString& sql);

// Name of the collation of every text column: case-insensitive, German order with umlauts
// beside their base letters.
inline constexpr const char* kGermanCollation = "GERMAN_CI";

// Compares two texts in that order: <0, 0, >0.
int CompareGerman(const QString& a, const QString& b);

}  // namespace kx::db
