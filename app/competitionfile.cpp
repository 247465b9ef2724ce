#include "app/competitionfile.h"

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

OpenFailure NoData() {
  return {kNoData, MsgIcon::Exclamation, QStringLiteral("Achtung")};
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
  } catch (const db::Error&) {
    result.failure = NotACompetitionFile(path);
    return result;
  }

  try {
    db::Connection& db = *file.db;
    bool isCompetition = false;
    for (const QString& table : db.tables()) {
      if (table.compare(QLatin1String("tblBewerb"), Qt::CaseInsensitive) == 0) isCompetition = true;
      if (table.compare(QLatin1String("tblStali"), Qt::CaseInsensitive) == 0) {
        file.hasStartOrderTable = true;
      }
    }
    if (!isCompetition) {
      result.failure = NotACompetitionFile(path);
      return result;
    }

    db::Recordset versions = db.query(QStringLiteral("select version from tblVersion"));
    for (int i = 0; i < versions.count(); ++i) {
      file.versionClass = VersionClassOf(versions.at(i, "version").toInt());
    }

    db::Recordset titles =
        db.query(QStringLiteral("select disziplin,value from tblListenkopf where id = 94"));
    for (int i = 0; i < titles.count(); ++i) {
      const int d = titles.at(i, "disziplin").toInt();
      if (d >= 0 && d < kDisciplineCount && !titles.at(i, "value").isNull()) {
        file.listTitles[static_cast<size_t>(d)] = titles.at(i, "value").toString();
      }
    }

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
        }
        ++activeCount;
      }
    }
    if (file.firstActive < 0) {
      result.failure = NoData();
      return result;
    }
    if (activeCount >= 2) {
      file.listTitles[6] = file.names[6] = QStringLiteral("Kombination");
      file.codeByName[6] = QStringLiteral("ko");
      file.active[6] = true;
    }
    file.listTitles[7] = file.names[7] = QStringLiteral("Mannschaft");

    db::Recordset bewerb = db.query(QStringLiteral(
        "select typ,ort,nation,mannschaftswertung,punktewertung,klassenwertung,jahrgang_aktiv,"
        "verein_aktiv,nation_aktiv,code_aktiv from tblBewerb"));
    if (bewerb.empty()) {
      result.failure = NoData();
      return result;
    }
    for (int i = 0; i < bewerb.count(); ++i) {
      if (bewerb.at(i, "typ").isNull()) {
        result.failure = NoData();
        return result;
      }
      CompetitionSettings& s = file.settings;
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
  } catch (const db::Error&) {
    // A damaged file or one that lacks the main program's tables is no competition file
    // we can work on.
    result.failure = NotACompetitionFile(path);
    return result;
  }
  result.file = std::move(file);
  return result;
}

void UpgradeCompetitionFile(CheckedCompetition& file) {
  if (file.versionClass <= QLatin1String("50")) return;
  db::Connection& db = *file.db;
  if (db.hasColumn(QStringLiteral("tblTeilnehmer"), QStringLiteral("svid"))) return;
  db::Transaction transaction = db.transaction();
  db.execute(QStringLiteral("alter table tblTeilnehmer add svid long null"));
  db.execute(QStringLiteral(
      "CREATE UNIQUE INDEX tblTeilnehmersvid ON tblTeilnehmer (svid ASC) WITH IGNORE NULL"));
  transaction.commit();
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
