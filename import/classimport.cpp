#include "import/classimport.h"

#include "common/appstate.h"
#include "import/importfile.h"
#include "import/importsupport.h"

#include <algorithm>
#include <map>
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

  std::vector<QString> categories;
  const db::Recordset k = db.query(QStringLiteral("select kat from tblKategorie"));
  for (int i = 0; i < k.count(); ++i) categories.push_back(k.at(i, 0).toString());
  auto categoryExists = [&categories](const QString& kat) {
    for (const QString& c : categories) {
      if (GermanEqual(c, kat)) return true;
    }
    return false;
  };

  LocateColumns(rows, file->lines.isEmpty() ? QStringList()
                                            : SplitImportLine(file->lines.first(), separator));
  const TargetRow* gruppe = FindTarget(rows, ImportTarget::Gruppe);
  if (gruppe && !gruppe->assigned()) gruppe = nullptr;
  const int klasseCol = FindTarget(rows, ImportTarget::Klasse)->col;
  const int kategorieCol = FindTarget(rows, ImportTarget::Geschlecht)->col;
  const int jahrgangCol = FindTarget(rows, ImportTarget::Jahrgang)->col;

  int counted = 0;
  int written = 0;
  qint64 lastClassId = 0;
  qint64 lastGroupId = 0;
  QString rejects;
  std::map<QString, qint64, GermanLess> groups;
  for (int i = 1; i < file->lines.size(); ++i) {
    ++counted;
    const QStringList fields = SplitImportLine(file->lines[i], separator);
    const QString name = TrimmedBlanks(FieldAt(fields, klasseCol));
    const QString category = TrimmedBlanks(UpperKeepSharpS(FieldAt(fields, kategorieCol)));
    const QString limit = TrimmedBlanks(FieldAt(fields, jahrgangCol));
    if (name.isEmpty() || category.isEmpty() || limit.isEmpty()) {
      --counted;
      continue;
    }
    if (!categoryExists(category)) {
      rejects += name + QStringLiteral(" nicht importiert, da ungültige Kategorie") + kCrLf;
      continue;
    }
    const auto abort = [&] {
      return ImportResult{
          ImportResult::Kind::Aborted,
          QStringLiteral("Die Klasse ") + name +
              QStringLiteral(
                  " kann nicht importiert werden (fehlerhafter Satz in der Import-Datei)") +
              kCrLf + QStringLiteral("Import nach %1 Klassen abgebrochen!").arg(written) + kCrLf +
              NothingTakenOverNote(i + 1)};
    };
    const std::optional<qint64> year = WholeNumber(limit);
    if (!year) return abort();
    try {
      QVariant group;
      const QString groupName = gruppe ? FieldAt(fields, gruppe->col) : QString();
      if (!groupName.isEmpty()) {
        if (const auto it = groups.find(groupName); it != groups.end()) {
          group = it->second;
        } else {
          ++lastGroupId;
          db.execute(QStringLiteral("insert into tblGruppe (id,grpname,sortpos) values(?,?,?)"),
                     {lastGroupId, groupName, lastGroupId});
          groups.emplace(groupName, lastGroupId);
          group = lastGroupId;
        }
      }
      ++lastClassId;
      db.execute(QStringLiteral("insert into tblKlasse (id,klname,geschlecht,bis_Jahrgang,gruppe,"
                                "sortpos,nenngeld) values(?,?,?,?,?,?,Null)"),
                 {lastClassId, name, category, *year, group, lastClassId});
    } catch (const db::Error&) {
      return abort();
    }
    ++written;
  }
  ReassignClasses(db);
  transaction.commit();

  QString summary = QStringLiteral("%1 von %2 Klassen importiert!").arg(written).arg(counted);
  if (!rejects.isEmpty()) summary += kCrLf + kRejectRule + kCrLf + kCrLf + rejects;
  return {ImportResult::Kind::Done, summary};
}

}  // namespace kx
