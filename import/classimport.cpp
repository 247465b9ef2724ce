#include "import/classimport.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "import/importfile.h"
#include "import/importsupport.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace kx {

using namespace importsupport;

namespace {

// Gives every participant the class of his category and birth year (Null when none).
void ReassignClasses(db::Connection& db) {
  std::vector<ClassLimit> classes;
  const db::Recordset c = db.query(QStringLiteral(
      "select id,geschlecht,bis_jahrgang from tblKlasse order by geschlecht,bis_jahrgang desc"));
  classes.reserve(static_cast<size_t>(c.count()));
  for (int i = 0; i < c.count(); ++i) {
    classes.push_back({c.at(i, 0).toLongLong(), c.at(i, 1).toString(), c.at(i, 2).toString()});
  }
  // Participants by their new class (0 for Null), written a block of ids at a time.
  std::map<qint64, std::vector<qint64>> byClass;
  const db::Recordset p =
      db.query(QStringLiteral("select id,sex,jahrgang,klasse from tblTeilnehmer"));
  for (int i = 0; i < p.count(); ++i) {
    const qint64 id = ClassOfBirthYear(classes, p.at(i, 1).toString(), p.at(i, 2).toString());
    const db::Field& old = p.at(i, 3);
    if (id == 0 ? old.isNull() : (!old.isNull() && old.toLongLong() == id)) continue;
    byClass[id].push_back(p.at(i, 0).toLongLong());
  }
  constexpr size_t kBlock = 500;
  for (const auto& [klasse, ids] : byClass) {
    for (size_t from = 0; from < ids.size(); from += kBlock) {
      const size_t n = std::min(kBlock, ids.size() - from);
      QVariantList values{klasse == 0 ? QVariant() : QVariant(klasse)};
      QString marks;
      for (size_t i = 0; i < n; ++i) {
        values << ids[from + i];
        marks += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
      }
      db.execute(QStringLiteral("update tblTeilnehmer set klasse=? where id in (") + marks + u')',
                 values);
    }
  }
}

// The category codes of the competition.
std::vector<QString> ReadCategories(db::Connection& db) {
  std::vector<QString> categories;
  const db::Recordset k = db.query(QStringLiteral("select kat from tblKategorie"));
  for (int i = 0; i < k.count(); ++i) categories.push_back(k.at(i, 0).toString());
  return categories;
}

bool HasCategory(const std::vector<QString>& categories, const QString& kat) {
  for (const QString& c : categories) {
    if (GermanEqual(c, kat)) return true;
  }
  return false;
}

// The positions of the targets' columns in the file's header line; the group's is -1 when
// its target has no column assigned.
struct ClassColumns {
  int klasse = -1, kategorie = -1, jahrgang = -1, gruppe = -1;
};
ClassColumns LocateClassColumns(TargetRows& rows, const ImportFile& file, QChar separator) {
  LocateColumns(
      rows, file.lines.isEmpty() ? QStringList() : SplitImportLine(file.lines.first(), separator));
  const TargetRow* gruppe = FindTarget(rows, ImportTarget::Gruppe);
  return {FindTarget(rows, ImportTarget::Klasse)->col,
          FindTarget(rows, ImportTarget::Geschlecht)->col,
          FindTarget(rows, ImportTarget::Jahrgang)->col,
          gruppe && gruppe->assigned() ? gruppe->col : -1};
}

// One line of the class file: the class name, the category in capitals and the year limit,
// each without surrounding blanks, and the group name as it stands.
struct ClassLine {
  QString name, category, limit, group;
};
ClassLine ReadClassLine(const QString& text, QChar separator, const ClassColumns& columns) {
  const QStringList fields = SplitImportLine(text, separator);
  return {TrimmedBlanks(FieldAt(fields, columns.klasse)),
          TrimmedBlanks(UpperKeepSharpS(FieldAt(fields, columns.kategorie))),
          TrimmedBlanks(FieldAt(fields, columns.jahrgang)), FieldAt(fields, columns.gruppe)};
}

// Writes the classes of the file one by one, with their groups: each group at the first
// line that names it, found again by name on later lines.
class ClassWriter {
 public:
  explicit ClassWriter(db::Connection& db) : db_(db) {}
  int written() const { return written_; }

  // Writes the class of `line`; false when it cannot be written (a year limit that is no
  // whole number, or an insert the database refuses).
  bool write(const ClassLine& line) {
    const std::optional<qint64> year = WholeNumber(line.limit);
    if (!year) return false;
    try {
      const QVariant group = groupOf(line.group);
      ++lastClassId_;
      db_.execute(QStringLiteral("insert into tblKlasse (id,klname,geschlecht,bis_Jahrgang,gruppe,"
                                 "sortpos,nenngeld) values(?,?,?,?,?,?,Null)"),
                  {lastClassId_, line.name, line.category, *year, group, lastClassId_});
    } catch (const db::Error&) {
      return false;
    }
    ++written_;
    return true;
  }

 private:
  // The group's id, the group created when it is new; Null without a name.
  QVariant groupOf(const QString& groupName) {
    if (groupName.isEmpty()) return QVariant();
    if (const auto it = groups_.find(groupName); it != groups_.end()) return it->second;
    ++lastGroupId_;
    db_.execute(QStringLiteral("insert into tblGruppe (id,grpname,sortpos) values(?,?,?)"),
                {lastGroupId_, groupName, lastGroupId_});
    groups_.emplace(groupName, lastGroupId_);
    return lastGroupId_;
  }

  db::Connection& db_;
  int written_ = 0;
  qint64 lastClassId_ = 0;
  qint64 lastGroupId_ = 0;
  std::map<QString, qint64, GermanLess> groups_;
};

// The names of a class line that do not fit their columns: the note on the first, or empty.
QString OverlongName(ColumnWidths& widths, const TargetRows& rows, const ClassLine& line) {
  const TargetRow* klasse = FindTarget(rows, ImportTarget::Klasse);
  QString note = widths.overflow(line.name, QStringLiteral("tblKlasse"), QStringLiteral("klname"),
                                 klasse->label, klasse->excel);
  if (note.isEmpty() && !line.group.isEmpty()) {
    const TargetRow* gruppe = FindTarget(rows, ImportTarget::Gruppe);
    note = widths.overflow(line.group, QStringLiteral("tblGruppe"), QStringLiteral("grpname"),
                           gruppe->label, gruppe->excel);
  }
  return note;
}

// `note`, when not empty, says what was wrong with the line.
ImportResult Aborted(const QString& name, int written, int lineNumber,
                     const QString& note = QString()) {
  return {
      ImportResult::Kind::Aborted,
      QStringLiteral("Die Klasse ") + ShownText(name) +
          QStringLiteral(" kann nicht importiert werden (fehlerhafter Satz in der Import-Datei)") +
          kCrLf + (note.isEmpty() ? QString() : note + kCrLf) +
          QStringLiteral("Import nach %1 Klassen abgebrochen!").arg(written) + kCrLf +
          NothingTakenOverNote(lineNumber)};
}

}  // namespace

ImportResult ImportClasses(AppState& state, const QString& path, QChar separator,
                           TargetRows& rows) {
  for (const TargetRow& row : rows) {
    if (row.target != ImportTarget::Gruppe && !row.assigned()) {
      return {ImportResult::Kind::Stopped,
              QStringLiteral("Der Kandor-Spalte '") + row.label +
                  QStringLiteral("' ist noch keine Excel-Spalte zugeordnet")};
    }
  }
  QString error;
  const std::optional<ImportFile> file = ReadImportFile(path, &error);
  if (!file) return {ImportResult::Kind::Stopped, error};

  db::Connection& db = state.db();
  db::Transaction transaction(db);
  db.execute(QStringLiteral("delete from tblKlasse"));
  db.execute(QStringLiteral("delete from tblGruppe"));
  const std::vector<QString> categories = ReadCategories(db);
  const ClassColumns columns = LocateClassColumns(rows, *file, separator);

  // Lines without a class name, category or year limit are passed over and not counted.
  int counted = 0;
  QString rejects;
  ClassWriter writer(db);
  ColumnWidths widths(db);
  for (int i = 1; i < file->lines.size(); ++i) {
    const ClassLine line = ReadClassLine(file->lines[i], separator, columns);
    if (line.name.isEmpty() || line.category.isEmpty() || line.limit.isEmpty()) continue;
    ++counted;
    if (!HasCategory(categories, line.category)) {
      rejects += ShownText(line.name) +
                 QStringLiteral(" nicht importiert, da ungültige Kategorie") + kCrLf;
      continue;
    }
    if (const QString note = OverlongName(widths, rows, line); !note.isEmpty()) {
      return Aborted(line.name, writer.written(), i + 1, note);
    }
    if (!writer.write(line)) return Aborted(line.name, writer.written(), i + 1);
  }
  ReassignClasses(db);
  transaction.commit();

  QString summary =
      QStringLiteral("%1 von %2 Klassen importiert!").arg(writer.written()).arg(counted);
  if (!rejects.isEmpty()) summary += kCrLf + kRejectRule + kCrLf + kCrLf + rejects;
  return {ImportResult::Kind::Done, summary};
}

}  // namespace kx
