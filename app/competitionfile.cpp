#include "app/competitionfile.h"

#include "common/guarded.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace kx {

namespace {

const QString kNotACompetitionFile = QStringLiteral("Die Datei '%1' ist keine Kandor-Bewerbsdatei");
const QString kNoData = QStringLiteral("Keine Daten gefunden!");

OpenFailure NotACompetitionFile(const QString& path) {
  return {kNotACompetitionFile.arg(path), MsgIcon::Exclamation, QStringLiteral("Datei öffnen")};
}

OpenFailure Damaged(const QString& path, const QString& problem) {
  return {QStringLiteral("Die Datei '%1' ist beschädigt und wird nicht geöffnet.\n"
                         "Bitte die Datei im Programm Kandor reparieren.\n\n%2")
              .arg(path, problem),
          MsgIcon::Exclamation, QStringLiteral("Datei öffnen")};
}

OpenFailure Locked(const QString& path) {
  return {FileInUseText(path), MsgIcon::Exclamation, QStringLiteral("Datei öffnen")};
}

// The message for a database failure during the check.
OpenFailure FailureOf(const db::Error& e, const QString& path) {
  if (e.locked()) return Locked(path);
  if ((e.code() & 0xff) == 11 /* SQLITE_CORRUPT */) return Damaged(path, e.text());
  // A file that lacks the main program's tables is no competition file we can work on.
  return NotACompetitionFile(path);
}

OpenFailure NoData() {
  return {kNoData, MsgIcon::Exclamation, QStringLiteral("Achtung")};
}

// The table scan: whether the file is a competition file (it has tblBewerb); notes whether
// it has a start-order table.
bool ScanTables(db::Connection& db, CheckedCompetition& file) {
  bool isCompetition = false;
  for (const QString& table : db.tables()) {
    if (table.compare(QLatin1String("tblBewerb"), Qt::CaseInsensitive) == 0) isCompetition = true;
    if (table.compare(QLatin1String("tblStali"), Qt::CaseInsensitive) == 0) {
      file.hasStartOrderTable = true;
    }
  }
  return isCompetition;
}

// The version class: the last row of tblVersion decides.
void ReadVersionClass(db::Connection& db, CheckedCompetition& file) {
  db::Recordset versions = db.query(QStringLiteral("select version from tblVersion"));
  for (int i = 0; i < versions.count(); ++i) {
    file.versionClass = VersionClassOf(versions.at(i, "version").toInt());
  }
}

// The display titles of the disciplines; rows outside the table or without a text are
// passed over.
void ReadListTitles(db::Connection& db, CheckedCompetition& file) {
  db::Recordset titles =
      db.query(QStringLiteral("select disziplin,value from tblListenkopf where id = 94"));
  for (int i = 0; i < titles.count(); ++i) {
    const int d = titles.at(i, "disziplin").toInt();
    if (d >= 0 && d < kDisciplineCount && !titles.at(i, "value").isNull()) {
      file.listTitles[static_cast<size_t>(d)] = titles.at(i, "value").toString();
    }
  }
}

// The disciplines of the file, the first active one with its race number, the combination
// when two or more are active, and the team entry. False when none is active.
bool ReadDisciplines(db::Connection& db, CheckedCompetition& file) {
  db::Recordset disciplines = db.query(QStringLiteral(
      "select d.aktiv,d.bewerbsnummer,t.dtyp,t.dname from tblDisziplin d, tblDisziplinTypen t "
      "where d.dtyp = t.dtyp"));
  int activeCount = 0;
  for (int i = 0; i < disciplines.count(); ++i) {
    const int t = disciplines.at(i, "dtyp").toInt();
    if (t < 0 || t > 5) continue;  // no such discipline type
    const auto ti = static_cast<size_t>(t);
    file.present[ti] = true;
    file.names[ti] = disciplines.at(i, "dname").toString();
    file.active[ti] = disciplines.at(i, "aktiv").toBool();
    file.codeByName[ti] = DisciplineCodeOfName(file.names[ti]);
    if (file.active[ti]) {
      if (file.firstActive < 0) {
        file.firstActive = t;
        file.settings.bewerbsnummer = disciplines.at(i, "bewerbsnummer").toString();
        file.settings.bewerbsnummerDtyp = t;
      }
      ++activeCount;
    }
  }
  if (file.firstActive < 0) return false;
  if (activeCount >= 2) {
    file.listTitles[6] = file.names[6] = QStringLiteral("Kombination");
    file.codeByName[6] = QStringLiteral("ko");
    file.active[6] = true;
  }
  file.listTitles[7] = file.names[7] = QStringLiteral("Mannschaft");
  return true;
}

// The competition settings: the last row of tblBewerb decides. False when the table is
// empty or a row has no competition type.
bool ReadSettings(db::Connection& db, CompetitionSettings& s) {
  db::Recordset bewerb = db.query(QStringLiteral(
      "select typ,ort,nation,mannschaftswertung,punktewertung,klassenwertung,jahrgang_aktiv,"
      "verein_aktiv,nation_aktiv,code_aktiv from tblBewerb"));
  if (bewerb.empty()) return false;
  for (int i = 0; i < bewerb.count(); ++i) {
    if (bewerb.at(i, "typ").isNull()) return false;
    s.typ = bewerb.at(i, "typ").toString();
    s.ort = bewerb.at(i, "ort").toString();
    s.nation = bewerb.at(i, "nation").toString();
    s.mannschaftswertung = bewerb.at(i, "mannschaftswertung").toString();
    s.punktewertung = bewerb.at(i, "punktewertung").toString();
    s.klassenwertung = bewerb.at(i, "klassenwertung").toString();
    s.jahrgang_aktiv = bewerb.at(i, "jahrgang_aktiv").toString();
    s.verein_aktiv = bewerb.at(i, "verein_aktiv").toString();
    s.nation_aktiv = bewerb.at(i, "nation_aktiv").toString();
    s.code_aktiv = bewerb.at(i, "code_aktiv").toString();
  }
  return true;
}

// Reads everything the open needs from the file on `file.db`, in the order of the checks;
// the failure to show, or none. A database error passes to the caller.
std::optional<OpenFailure> ReadCompetition(CheckedCompetition& file, const QString& path) {
  db::Connection& db = *file.db;
  if (!ScanTables(db, file)) return NotACompetitionFile(path);
  // An index that misses rows reads fine but makes every list that uses it miss racers.
  const QString problem = db.integrityProblem();
  if (!problem.isEmpty()) return Damaged(path, problem);
  ReadVersionClass(db, file);
  ReadListTitles(db, file);
  if (!ReadDisciplines(db, file)) return NoData();
  if (!ReadSettings(db, file.settings)) return NoData();
  return std::nullopt;
}

}  // namespace

QString VersionClassOf(int version) {
  if (version < 15) return QStringLiteral("40");
  if (version <= 17) return QStringLiteral("51");
  return QStringLiteral("55");
}

QString DisciplineCodeOfName(const QString& dname) {
  static const QStringList names{"Abfahrt", "Super-G",     "Riesenslalom",
                                 "Slalom",  "K.O.-Slalom", "Parallelslalom"};
  static const QStringList codes{"dh", "sg", "gs", "sl", "ks", "ps"};
  const qsizetype i = names.indexOf(dname);
  return i < 0 ? QString() : codes[i];
}

CheckResult CheckCompetitionFile(const QString& path) {
  CheckResult result;
  CheckedCompetition file;
  try {
    file.db = db::Connection::open(path);
    result.failure = ReadCompetition(file, path);
  } catch (const db::Error& e) {
    result.failure = FailureOf(e, path);
  }
  if (!result.failure) result.file = std::move(file);
  return result;
}

std::optional<db::Transaction> BeginUpgrade(CheckedCompetition& file) {
  if (file.versionClass <= QLatin1String("50")) return std::nullopt;
  db::Connection& db = *file.db;
  if (db.hasColumn(QStringLiteral("tblTeilnehmer"), QStringLiteral("svid"))) return std::nullopt;
  std::optional<db::Transaction> transaction(std::in_place, db);
  db.execute(QStringLiteral("alter table tblTeilnehmer add svid long null"));
  db.execute(QStringLiteral(
      "CREATE UNIQUE INDEX tblTeilnehmersvid ON tblTeilnehmer (svid ASC) WITH IGNORE NULL"));
  return transaction;
}

void UpgradeCompetitionFile(CheckedCompetition& file) {
  if (std::optional<db::Transaction> upgrade = BeginUpgrade(file)) upgrade->commit();
}

OpenFile TakeOpenFile(AppState& state) {
  return {std::move(static_cast<OpenCompetition&>(state)),
          std::move(static_cast<CurrentDiscipline&>(state))};
}

void RestoreOpenFile(AppState& state, OpenFile&& f) {
  static_cast<OpenCompetition&>(state) = std::move(f.file);
  static_cast<CurrentDiscipline&>(state) = std::move(f.discipline);
}

void ApplyCompetitionFile(AppState& state, CheckedCompetition&& file, const QString& path) {
  const QFileInfo info(path);
  state.CompetitionDb = std::move(file.db);
  state.CompetitionFilePath = path;
  state.CompetitionDir = QDir::toNativeSeparators(info.absolutePath());
  // The name without directory and extension (the last "." starts the extension).
  const QString fileName = info.fileName();
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  state.CompetitionFileName = dot < 0 ? fileName : fileName.left(dot);
  state.HasStartOrderTable = file.hasStartOrderTable;
  state.FileVersionClass = file.versionClass;
  state.DisciplineNames = file.names;
  state.DisciplineListTitles = file.listTitles;
  state.DisciplineActive = file.active;
  state.DisciplineCodeByName = file.codeByName;
  state.Settings = file.settings;
  state.CurrentDisciplineType = file.firstActive;
  state.CurrentDisciplineCode = state.DisciplineCodes[static_cast<size_t>(file.firstActive)];
  state.RunCount = 0;
  state.RunsWithTimes = 0;
}

void OpenCompetitionFile(AppState& state, const QString& path) {
  CheckResult checked = CheckCompetitionFile(path);
  if (checked.failure) throw db::Error(checked.failure->text);
  UpgradeCompetitionFile(*checked.file);
  ApplyCompetitionFile(state, std::move(*checked.file), path);
}

}  // namespace kx
