#include "db/database.h"

#include "db/germantext.h"
#include "db/storedtime.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <sqlite3.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kx::db {

namespace {

QString ErrorText(sqlite3* db) {
  return QString::fromUtf8(sqlite3_errmsg(db));
}

int gBusyTimeout = 2000;

QString FileOf(sqlite3* db) {
  const char* name = sqlite3_db_filename(db, "main");
  return name != nullptr ? QString::fromUtf8(name) : QString();
}

// The system error behind a failed write of the database file. SQLite's own record of it
// is mostly lost (errno is overwritten before it is kept), so the file is looked at: a disk
// without room for another write, a file-size limit the file has reached, missing write
// rights. 0 when none of them explains the failure.
int WriteFailureErrno(sqlite3* db, const QString& file) {
  const int recorded = sqlite3_system_errno(db);
  if (recorded != 0 || file.isEmpty()) return recorded;
  constexpr qint64 kRoomForAWrite = 1 << 20;
  const QByteArray name = QFile::encodeName(file);
  const QByteArray folder = QFile::encodeName(QFileInfo(file).absolutePath());
  struct statvfs disk {};
  if (::statvfs(folder.constData(), &disk) == 0) {
    const auto blocks = ::geteuid() == 0 ? disk.f_bfree : disk.f_bavail;
    if (static_cast<qint64>(blocks * disk.f_frsize) < kRoomForAWrite) return ENOSPC;
  }
  rlimit limit{};
  struct stat st {};
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      ::stat(name.constData(), &st) == 0 &&
      st.st_size + kRoomForAWrite > static_cast<qint64>(limit.rlim_cur)) {
    return EFBIG;
  }
  if (::access(name.constData(), W_OK) != 0 || ::access(folder.constData(), W_OK) != 0)
    return errno == EROFS ? EROFS : EACCES;
  return 0;
}

[[noreturn]] void ThrowStatementError(sqlite3* db, const QString& sql) {
  const int code = sqlite3_extended_errcode(db);
  const QString file = FileOf(db);
  int systemError = sqlite3_system_errno(db);
  if (code == SQLITE_FULL || code == SQLITE_IOERR_WRITE || code == SQLITE_IOERR_FSYNC ||
      code == SQLITE_IOERR_TRUNCATE || (code & 0xff) == SQLITE_CANTOPEN) {
    systemError = WriteFailureErrno(db, file);
  }
  throw Error(ErrorText(db) + QStringLiteral("\nSQL: ") + sql, code, file, systemError);
}

bool DeclaredTypeIs(const char* declared, std::initializer_list<const char*> names) {
  if (declared == nullptr) return false;
  for (const char* name : names) {
    if (sqlite3_stricmp(declared, name) == 0) return true;
  }
  return false;
}

// Jet's switch(cond1, value1, cond2, value2, ...): the value of the first true condition,
// Null when none holds.
void SwitchFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (argc == 0 || argc % 2 != 0) {
    sqlite3_result_error(ctx, "switch() erwartet Paare aus Bedingung und Wert", -1);
    return;
  }
  for (int i = 0; i < argc; i += 2) {
    sqlite3_value* cond = argv[i];
    if (sqlite3_value_type(cond) == SQLITE_NULL) continue;
    if (sqlite3_value_double(cond) != 0.0) {
      sqlite3_result_value(ctx, argv[i + 1]);
      return;
    }
  }
  sqlite3_result_null(ctx);
}

// laufzeit(netto): the stored run time in hundredths, Null when it is no run time.
void RunTimeFunction(sqlite3_context* ctx, int /*argc*/, sqlite3_value** argv) {
  const std::optional<double> day = StoredRunTime(argv[0]);
  if (day) {
    sqlite3_result_double(ctx, *day * kHundredthsPerDay);
  } else {
    sqlite3_result_null(ctx);
  }
}

// laufzeitsumme(netto): the sum of the group's run times in hundredths; Null for an empty
// group and for one in which any value is no run time.
struct RunTimeSum {
  double day;
  bool any;
  bool broken;
};

void RunTimeSumStep(sqlite3_context* ctx, int /*argc*/, sqlite3_value** argv) {
  auto* sum = static_cast<RunTimeSum*>(sqlite3_aggregate_context(ctx, sizeof(RunTimeSum)));
  if (sum == nullptr) {
    sqlite3_result_error_nomem(ctx);
    return;
  }
  sum->any = true;
  const std::optional<double> day = StoredRunTime(argv[0]);
  if (day) {
    sum->day += *day;
  } else {
    sum->broken = true;
  }
}

void RunTimeSumFinal(sqlite3_context* ctx) {
  // Without a stepped row SQLite has no context to give (null).
  const auto* sum = static_cast<RunTimeSum*>(sqlite3_aggregate_context(ctx, 0));
  if (sum == nullptr || !sum->any || sum->broken) {
    sqlite3_result_null(ctx);
    return;
  }
  sqlite3_result_double(ctx, sum->day * kHundredthsPerDay);
}

QByteArrayView ValueText(sqlite3_value* v) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
  return QByteArrayView(text, sqlite3_value_bytes(v));
}

// `x like pattern` and `like(pattern, x, escape)`: German, case-insensitive.
void LikeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i) {
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
      sqlite3_result_null(ctx);
      return;
    }
  }
  char32_t escape = 0;
  if (argc == 3) {
    const QString esc = QString::fromUtf8(ValueText(argv[2]));
    if (esc.toUcs4().size() != 1) {
      sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
      return;
    }
    escape = esc.toUcs4().front();
  }
  // SQLite passes the pattern first.
  const QByteArrayView pattern = ValueText(argv[0]);
  const QByteArrayView text = ValueText(argv[1]);
  sqlite3_result_int(ctx, LikeGerman(text, pattern, escape) ? 1 : 0);
}

int GermanCollation(void*, int lenA, const void* a, int lenB, const void* b) {
  return CompareGermanUtf8(QByteArrayView(static_cast<const char*>(a), lenA),
                           QByteArrayView(static_cast<const char*>(b), lenB));
}

void Bind(sqlite3* db, sqlite3_stmt* stmt, int index, const QVariant& value, const QString& sql) {
  int rc = SQLITE_OK;
  if (value.isNull() || !value.isValid()) {
    rc = sqlite3_bind_null(stmt, index);
  } else {
    switch (value.typeId()) {
      case QMetaType::Bool:
        rc = sqlite3_bind_int(stmt, index, value.toBool() ? 1 : 0);
        break;
      case QMetaType::Int:
      case QMetaType::UInt:
      case QMetaType::Short:
      case QMetaType::UShort:
      case QMetaType::Long:
      case QMetaType::LongLong:
      case QMetaType::ULong:
      case QMetaType::ULongLong:
        rc = sqlite3_bind_int64(stmt, index, value.toLongLong());
        break;
      case QMetaType::Double:
      case QMetaType::Float:
        rc = sqlite3_bind_double(stmt, index, value.toDouble());
        break;
      case QMetaType::QDate:
        rc = sqlite3_bind_text(stmt, index,
                               value.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                               SQLITE_TRANSIENT);
        break;
      case QMetaType::QDateTime:
        rc = sqlite3_bind_text(
            stmt, index,
            value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8().constData(),
            -1, SQLITE_TRANSIENT);
        break;
      case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        rc = sqlite3_bind_blob(stmt, index, bytes.constData(), static_cast<int>(bytes.size()),
                               SQLITE_TRANSIENT);
        break;
      }
      default: {
        const QByteArray text = value.toString().toUtf8();
        rc = sqlite3_bind_text(stmt, index, text.constData(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT);
        break;
      }
    }
  }
  if (rc != SQLITE_OK) ThrowStatementError(db, sql);
}

QVariant ColumnValue(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
      return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
      return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
      return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)));
    }
    case SQLITE_BLOB: {
      const auto* data = static_cast<const char*>(sqlite3_column_blob(stmt, column));
      return QVariant(QByteArray(data, sqlite3_column_bytes(stmt, column)));
    }
    default:
      return QVariant();
  }
}

// The SQLite handle of a file; `failure` gets the file and SQLite's reason.
sqlite3* OpenHandle(const QString& path, int flags, const QString& failure) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    const QString reason = db != nullptr ? ErrorText(db) : QStringLiteral("kein Speicher");
    sqlite3_close_v2(db);
    throw Error(failure.arg(QDir::toNativeSeparators(path), reason));
  }
  return db;
}

// A prepared statement that is finalized whatever happens.
class Statement {
 public:
  Statement(sqlite3* db, const QString& sql, const QVariantList& params) : db_(db), sql_(sql) {
    const QString translated = TranslateJetSql(sql);
    const QByteArray utf8 = translated.toUtf8();
    const char* tail = nullptr;
    sqlite3_stmt* prepared = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, utf8.constData(), static_cast<int>(utf8.size()), &prepared, &tail);
    stmt_.reset(prepared);  // finalized also when a check below throws
    if (rc != SQLITE_OK) {
      ThrowStatementError(db, sql);
    }
    if (!stmt_) throw Error(QStringLiteral("Leere SQL-Anweisung"));
    // One statement per call: a second one behind a ';' is refused rather than run.
    for (const char* p = tail; p != nullptr && *p != '\0'; ++p) {
      if (*p != ';' && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') {
        throw Error(QStringLiteral("Nur eine SQL-Anweisung je Aufruf erlaubt\nSQL: ") + sql);
      }
    }
    const int expected = sqlite3_bind_parameter_count(stmt_.get());
    if (expected != params.size()) {
      throw Error(QStringLiteral("Die Anweisung erwartet %1 Parameter, übergeben wurden %2\nSQL: ")
                      .arg(expected)
                      .arg(params.size()) +
                  sql);
    }
    for (int i = 0; i < expected; ++i) Bind(db, stmt_.get(), i + 1, params[i], sql);
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // True while a row is available; throws on an error.
  bool step() {
    const int rc = sqlite3_step(stmt_.get());
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    ThrowStatementError(db_, sql_);
  }
  sqlite3_stmt* get() const { return stmt_.get(); }

 private:
  sqlite3* db_;
  const QString& sql_;
  struct Finalize {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
  };
  std::unique_ptr<sqlite3_stmt, Finalize> stmt_;
};

}  // namespace

// ---------------------------------------------------------------------------------------
// Error

bool Error::locked() const {
  const int primary = code_ & 0xff;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

Error::Fault Error::fault() const {
  const bool noRights = systemError_ == EACCES || systemError_ == EPERM || systemError_ == EROFS;
  const bool noRoom = systemError_ == ENOSPC || systemError_ == EDQUOT || systemError_ == EFBIG;
  switch (code_ & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return Fault::Locked;
    case SQLITE_FULL:
      return Fault::DiskFull;
    case SQLITE_READONLY:
      return code_ == SQLITE_READONLY_DBMOVED ? Fault::Moved : Fault::ReadOnly;
    case SQLITE_PERM:
      return Fault::ReadOnly;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      return Fault::Damaged;
    case SQLITE_CANTOPEN:
    case SQLITE_IOERR:
      return noRoom ? Fault::DiskFull : noRights ? Fault::ReadOnly : Fault::Io;
    default:
      return Fault::Other;
  }
}

QString MovedFileText(const QString& path) {
  return QStringLiteral(
             "Die Bewerbsdatei '%1' wurde inzwischen ersetzt oder gelöscht.\n"
             "Bitte die Bewerbsdatei neu öffnen.")
      .arg(QDir::toNativeSeparators(path));
}

Error DamagedFileError(const QString& file, const QString& technical) {
  return Error(technical, SQLITE_CORRUPT, file);
}

void SetBusyTimeout(int milliseconds) {
  gBusyTimeout = milliseconds;
}

// ---------------------------------------------------------------------------------------
// Field

QString Field::toString() const {
  if (isNull()) return QString();
  const int type = value_.typeId();
  if (boolean_) {
    if (type == QMetaType::QString) {
      const QString text = value_.toString();
      if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("True");
      if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("False");
    }
    return toBool() ? QStringLiteral("True") : QStringLiteral("False");
  }
  if (date_ && type == QMetaType::QString) {
    const QString text = value_.toString();
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    if (date.isValid()) {
      QString out = date.toString(QStringLiteral("dd.MM.yyyy"));
      if (text.size() > 10) {
        const QTime time = QTime::fromString(text.mid(11, 8), Qt::ISODate);
        if (time.isValid() && time != QTime(0, 0))
          out += u' ' + time.toString(QStringLiteral("HH:mm:ss"));
      }
      return out;
    }
    return text;
  }
  if (type == QMetaType::Double) {
    const double d = value_.toDouble();
    if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
      return QString::number(static_cast<qint64>(d));
    // Decimals as the German program printed them: comma, up to 15 significant digits.
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(d, 'g', 15);
  }
  return value_.toString();
}

double Field::toDouble() const {
  if (isNull()) return 0;
  if (value_.typeId() == QMetaType::QString) {
    QString text = value_.toString().trimmed();
    bool ok = false;
    double d = text.toDouble(&ok);
    if (!ok) d = text.replace(u',', u'.').toDouble(&ok);
    if (!ok && boolean_) return toBool() ? 1 : 0;
    return ok ? d : 0;
  }
  return value_.toDouble();
}

qint64 Field::toLongLong() const {
  if (isNull()) return 0;
  if (value_.typeId() == QMetaType::LongLong) return value_.toLongLong();
  // Like the original's conversion: to the nearest whole number, halves to the even one.
  const double d = std::nearbyint(toDouble());
  if (!std::isfinite(d)) return 0;
  if (d >= 9.2e18) return std::numeric_limits<qint64>::max();
  if (d <= -9.2e18) return std::numeric_limits<qint64>::min();
  return static_cast<qint64>(d);
}

int Field::toInt() const {
  const qint64 v = toLongLong();
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

bool Field::toBool() const {
  if (isNull()) return false;
  if (value_.typeId() == QMetaType::QString) {
    const QString text = value_.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double d = QString(text).replace(u',', u'.').toDouble(&ok);
    return ok && d != 0;
  }
  return value_.toDouble() != 0;
}

// ---------------------------------------------------------------------------------------
// Recordset

int Recordset::columnIndex(const QString& name) const {
  // Callers mostly spell the name as the query does: try that first, it is much cheaper.
  for (int i = 0; i < columns_.size(); ++i) {
    if (columns_[i] == name) return i;
  }
  for (int i = 0; i < columns_.size(); ++i) {
    if (columns_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

const Field& Recordset::at(int row, const QString& column) const {
  const int index = columnIndex(column);
  if (index < 0)
    throw Error(QStringLiteral("Das Feld '%1' ist in der Abfrage nicht enthalten").arg(column));
  return at(row, index);
}

const Field& Recordset::at(int row, int column) const {
  if (row < 0 || row >= count()) throw Error(QStringLiteral("Kein aktueller Datensatz"));
  if (column < 0 || column >= columns_.size())
    throw Error(QStringLiteral("Die Abfrage hat kein Feld Nummer %1").arg(column));
  return cells_[static_cast<size_t>(row) * static_cast<size_t>(columns_.size()) +
                static_cast<size_t>(column)];
}

// ---------------------------------------------------------------------------------------
// Connection

Connection::Connection(sqlite3* db, QString path) : db_(db), path_(std::move(path)) {}

Connection::~Connection() {
  sqlite3_close_v2(db_);
}

std::unique_ptr<Connection> Connection::open(const QString& path) {
  const QString display = QDir::toNativeSeparators(path);
  if (QFileInfo(path).isDir())
    throw Error(QStringLiteral("'%1' ist ein Verzeichnis und keine Datenbankdatei").arg(display));
  sqlite3* db = OpenHandle(path, SQLITE_OPEN_READWRITE,
                           QStringLiteral("Die Datei '%1' kann nicht geöffnet werden: %2"));
  std::unique_ptr<Connection> connection(new Connection(db, path));
  // SQLite reads the file only on the first statement: read the schema now, so that a
  // file of another kind is refused here and not in the middle of some later action.
  try {
    connection->prepareConnection();
    connection->scalar(QStringLiteral("select count(*) from sqlite_master"));
  } catch (const Error& e) {
    if (e.locked()) {
      throw Error(QStringLiteral("Die Datei '%1' wird von einem anderen Programm verwendet: %2")
                      .arg(display, QString::fromUtf8(sqlite3_errmsg(db))),
                  e.code(), path, e.systemError());
    }
    throw Error(QStringLiteral("Die Datei '%1' ist keine lesbare Datenbank: %2")
                    .arg(display, QString::fromUtf8(sqlite3_errmsg(db))),
                e.code(), path, e.systemError());
  }
  return connection;
}

std::unique_ptr<Connection> Connection::create(const QString& path) {
  for (const QString& file : {path, path + QStringLiteral("-journal"),
                              path + QStringLiteral("-wal"), path + QStringLiteral("-shm")}) {
    if (QFileInfo::exists(file) && !QFile::remove(file))
      throw Error(QStringLiteral("Die Datei '%1' kann nicht ersetzt werden")
                      .arg(QDir::toNativeSeparators(file)));
  }
  sqlite3* db = OpenHandle(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                           QStringLiteral("Die Datei '%1' kann nicht angelegt werden: %2"));
  std::unique_ptr<Connection> connection(new Connection(db, path));
  connection->prepareConnection();
  // Writes the file header now, so that the new file is a database even before any table.
  connection->execute(QStringLiteral("pragma user_version = 0"));
  return connection;
}

void Connection::prepareConnection() {
  sqlite3_extended_result_codes(db_, 1);
  sqlite3_busy_timeout(db_, gBusyTimeout);
  const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
  if (sqlite3_create_collation_v2(db_, kGermanCollation, SQLITE_UTF8, nullptr, GermanCollation,
                                  nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db_, "switch", -1, flags, nullptr, SwitchFunction, nullptr,
                                 nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db_, "like", 2, flags, nullptr, LikeFunction, nullptr, nullptr,
                                 nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db_, "like", 3, flags, nullptr, LikeFunction, nullptr, nullptr,
                                 nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db_, "laufzeit", 1, flags, nullptr, RunTimeFunction, nullptr,
                                 nullptr, nullptr) != SQLITE_OK ||
      sqlite3_create_function_v2(db_, "laufzeitsumme", 1, flags, nullptr, nullptr, RunTimeSumStep,
                                 RunTimeSumFinal, nullptr) != SQLITE_OK) {
    throw Error(QStringLiteral("Die Datenbankfunktionen können nicht angemeldet werden: ") +
                ErrorText(db_));
  }
}

Recordset Connection::query(const QString& sql, const QVariantList& params) {
  Statement stmt(db_, sql, params);
  Recordset rs;
  const int columns = sqlite3_column_count(stmt.get());
  std::vector<bool> boolean(static_cast<size_t>(columns));
  std::vector<bool> date(static_cast<size_t>(columns));
  for (int c = 0; c < columns; ++c) {
    rs.columns_.append(QString::fromUtf8(sqlite3_column_name(stmt.get(), c)));
    const char* declared = sqlite3_column_decltype(stmt.get(), c);
    boolean[static_cast<size_t>(c)] =
        DeclaredTypeIs(declared, {"bit", "yesno", "boolean", "logical", "bool"});
    date[static_cast<size_t>(c)] = DeclaredTypeIs(declared, {"date", "datetime"});
  }
  while (stmt.step()) {
    for (int c = 0; c < columns; ++c) {
      rs.cells_.emplace_back(ColumnValue(stmt.get(), c), boolean[static_cast<size_t>(c)],
                             date[static_cast<size_t>(c)]);
    }
    ++rs.rowCount_;
  }
  return rs;
}

int Connection::execute(const QString& sql, const QVariantList& params) {
  Statement stmt(db_, sql, params);
  while (stmt.step()) {
  }
  return sqlite3_changes(db_);
}

Field Connection::scalar(const QString& sql, const QVariantList& params) {
  Statement stmt(db_, sql, params);
  if (!stmt.step() || sqlite3_column_count(stmt.get()) == 0) return Field();
  const char* declared = sqlite3_column_decltype(stmt.get(), 0);
  return Field(ColumnValue(stmt.get(), 0),
               DeclaredTypeIs(declared, {"bit", "yesno", "boolean", "logical", "bool"}),
               DeclaredTypeIs(declared, {"date", "datetime"}));
}

QStringList Connection::tables() {
  QStringList names;
  const Recordset rs = query(QStringLiteral(
      "select name from sqlite_master where type = 'table' and substr(name, 1, 7) <> 'sqlite_' "
      "order by name collate GERMAN_CI"));
  for (int i = 0; i < rs.count(); ++i) names.append(rs.at(i, 0).toString());
  return names;
}

std::vector<ColumnInfo> Connection::columns() {
  std::vector<ColumnInfo> result;
  const Recordset rs = query(QStringLiteral(
      "select m.name, p.name, p.type from sqlite_master m, pragma_table_info(m.name) p "
      "where m.type = 'table' and substr(m.name, 1, 7) <> 'sqlite_' "
      "order by m.name collate GERMAN_CI, p.cid"));
  result.reserve(static_cast<size_t>(rs.count()));
  for (int i = 0; i < rs.count(); ++i)
    result.push_back({rs.at(i, 0).toString(), rs.at(i, 1).toString(), rs.at(i, 2).toString()});
  return result;
}

bool Connection::hasTable(const QString& table) {
  return scalar(QStringLiteral("select count(*) from sqlite_master where type = 'table' and "
                               "name = ? collate nocase"),
                {table})
             .toInt() > 0;
}

QString Connection::objectType(const QString& name) {
  const Recordset rs =
      query(QStringLiteral("select type from sqlite_master where name = ? collate nocase"), {name});
  return rs.empty() ? QString() : rs.at(0, 0).toString();
}

std::map<QString, int> Connection::textWidths(const QString& table) {
  static const QRegularExpression width(QStringLiteral("(char|text)[a-z]*\\s*\\(\\s*(\\d+)"),
                                        QRegularExpression::CaseInsensitiveOption);
  std::map<QString, int> widths;
  const Recordset rs =
      query(QStringLiteral("select name, type from pragma_table_info(?)"), {table});
  for (int i = 0; i < rs.count(); ++i) {
    const QRegularExpressionMatch m = width.match(rs.at(i, 1).toString());
    if (m.hasMatch()) widths[rs.at(i, 0).toString().toLower()] = m.captured(2).toInt();
  }
  return widths;
}

bool Connection::hasColumn(const QString& table, const QString& column) {
  if (!hasTable(table)) return false;
  return scalar(QStringLiteral("select count(*) from pragma_table_info(?) where name = ? "
                               "collate nocase"),
                {table, column})
             .toInt() > 0;
}

QString Connection::integrityProblem() {
  // One reported problem is enough to refuse the file, and stops the check early.
  const Field first = scalar(QStringLiteral("pragma integrity_check(1)"));
  const QString text = first.toString();
  if (text == QLatin1String("ok")) return QString();
  return text.section(QLatin1Char('\n'), 0, 0);
}

bool Connection::hasMoved() {
  int moved = 0;
  if (sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK) return false;
  return moved != 0;
}

QString Connection::movedText() const {
  return MovedFileText(path_);
}

void Connection::ensureInPlace() {
  if (hasMoved()) throw Error(movedText(), SQLITE_READONLY_DBMOVED, path_);
}

Transaction Connection::transaction() {
  return Transaction(*this);
}

bool Connection::inTransaction() const {
  return sqlite3_get_autocommit(db_) == 0;
}

// ---------------------------------------------------------------------------------------
// RowReader

struct RowReader::Impl {
  Impl(sqlite3* db, const QString& text, const QVariantList& params)
      : sql(text), statement(db, sql, params) {}
  QString sql;
  Statement statement;
  QStringList names;
  std::vector<bool> boolean, date;

  // The texts repeatedText() gave, per column: texts by their bytes, whole numbers by value.
  struct BytesHash {
    using is_transparent = void;
    size_t operator()(std::string_view bytes) const { return std::hash<std::string_view>{}(bytes); }
  };
  struct TextCache {
    std::unordered_map<std::string, QString, BytesHash, std::equal_to<>> texts;
    std::unordered_map<qint64, QString> numbers;
  };
  std::vector<TextCache> caches;
};

RowReader::RowReader(Connection& connection, const QString& sql, const QVariantList& params)
    : d(std::make_unique<Impl>(connection.db_, sql, params)) {
  sqlite3_stmt* stmt = d->statement.get();
  const int columns = sqlite3_column_count(stmt);
  for (int c = 0; c < columns; ++c) {
    d->names.append(QString::fromUtf8(sqlite3_column_name(stmt, c)));
    const char* declared = sqlite3_column_decltype(stmt, c);
    d->boolean.push_back(DeclaredTypeIs(declared, {"bit", "yesno", "boolean", "logical", "bool"}));
    d->date.push_back(DeclaredTypeIs(declared, {"date", "datetime"}));
  }
}

RowReader::~RowReader() = default;

bool RowReader::next() {
  return d->statement.step();
}

int RowReader::column(const QString& name) const {
  qsizetype index = d->names.indexOf(name);
  if (index < 0) {
    for (qsizetype i = 0; i < d->names.size() && index < 0; ++i) {
      if (d->names[i].compare(name, Qt::CaseInsensitive) == 0) index = i;
    }
  }
  if (index < 0)
    throw Error(QStringLiteral("Das Feld '%1' ist in der Abfrage nicht enthalten").arg(name));
  return static_cast<int>(index);
}

Field RowReader::field(int column) const {
  const auto c = static_cast<size_t>(column);
  return Field(ColumnValue(d->statement.get(), column), d->boolean.at(c), d->date.at(c));
}

sqlite3_stmt* RowReader::handle() const {
  return d->statement.get();
}

// The readers below take a column's value once and read it with the sqlite3_value_*
// routines: each sqlite3_column_* call costs about as much again as the read itself. The
// value is one that SQLite calls unprotected; on our connections, opened without a mutex
// (SQLITE_OPEN_NOMUTEX), protected and unprotected values are the same.
namespace {

sqlite3_value* ValueOf(sqlite3_stmt* stmt, int column) {
  return sqlite3_column_value(stmt, column);
}

QString Utf8Text(sqlite3_value* value) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
  return QString::fromUtf8(text, sqlite3_value_bytes(value));
}

}  // namespace

bool RowReader::isNull(int column) const {
  return sqlite3_value_type(ValueOf(d->statement.get(), column)) == SQLITE_NULL;
}

QString RowReader::text(int column) const {
  const auto c = static_cast<size_t>(column);
  if (!d->boolean.at(c) && !d->date.at(c)) {
    sqlite3_value* value = ValueOf(d->statement.get(), column);
    switch (sqlite3_value_type(value)) {
      case SQLITE_NULL:
        return QString();
      case SQLITE_INTEGER:
        return QString::number(sqlite3_value_int64(value));
      case SQLITE_TEXT:
        return Utf8Text(value);
      default:
        break;
    }
  }
  return field(column).toString();
}

QString RowReader::repeatedText(int column) const {
  const auto c = static_cast<size_t>(column);
  if (d->boolean.at(c) || d->date.at(c)) return text(column);
  if (d->caches.size() <= c) d->caches.resize(d->boolean.size());
  Impl::TextCache& cache = d->caches[c];
  sqlite3_value* value = ValueOf(d->statement.get(), column);
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER: {
      const qint64 number = sqlite3_value_int64(value);
      auto found = cache.numbers.find(number);
      if (found == cache.numbers.end())
        found = cache.numbers.emplace(number, QString::number(number)).first;
      return found->second;
    }
    case SQLITE_TEXT: {
      const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
      const std::string_view bytes(text, static_cast<size_t>(sqlite3_value_bytes(value)));
      auto found = cache.texts.find(bytes);
      if (found == cache.texts.end()) {
        found = cache.texts
                    .emplace(std::string(bytes),
                             QString::fromUtf8(text, static_cast<qsizetype>(bytes.size())))
                    .first;
      }
      return found->second;
    }
    default:
      return text(column);
  }
}

std::optional<QByteArrayView> RowReader::textBytes(int column) const {
  const auto c = static_cast<size_t>(column);
  if (d->boolean.at(c) || d->date.at(c)) return std::nullopt;
  sqlite3_value* value = ValueOf(d->statement.get(), column);
  if (sqlite3_value_type(value) != SQLITE_TEXT) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
  return QByteArrayView(text, sqlite3_value_bytes(value));
}

qint64 RowReader::toLongLong(int column) const {
  sqlite3_value* value = ValueOf(d->statement.get(), column);
  if (sqlite3_value_type(value) == SQLITE_INTEGER) return sqlite3_value_int64(value);
  return field(column).toLongLong();
}

int RowReader::toInt(int column) const {
  const qint64 v = toLongLong(column);
  return static_cast<int>(
      std::clamp<qint64>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double RowReader::toDouble(int column) const {
  sqlite3_value* value = ValueOf(d->statement.get(), column);
  const int type = sqlite3_value_type(value);
  if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return sqlite3_value_double(value);
  return field(column).toDouble();
}

// ---------------------------------------------------------------------------------------
// Transaction

Transaction::Transaction(Connection& connection) : connection_(&connection) {
  // Nothing is written into a file that is no longer the one at its path.
  connection.ensureInPlace();
  connection.execute(QStringLiteral("begin immediate"));
}

Transaction::Transaction(Transaction&& other) noexcept : connection_(other.connection_) {
  other.connection_ = nullptr;
}

Transaction::~Transaction() {
  if (connection_ == nullptr || !connection_->inTransaction()) return;
  // A failed statement may already have ended the transaction; otherwise undo it all.
  sqlite3_exec(connection_->handle(), "rollback", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
  if (connection_ == nullptr) throw Error(QStringLiteral("Die Transaktion ist bereits beendet"));
  connection_->execute(QStringLiteral("commit"));
  connection_ = nullptr;
}

}  // namespace kx::db
