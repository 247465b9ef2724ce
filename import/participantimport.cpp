#include "import/participantimport.h"

#include "common/appstate.h"
#include "common/masterdata.h"
#include "common/textroutines.h"
#include "import/importfile.h"
#include "import/importsupport.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <utility>

namespace kx {

using namespace importsupport;

namespace {

constexpr std::array<const char*, 6> kCodes{"dh", "sg", "gs", "sl", "ks", "ps"};
constexpr double kNoPoints = 9999.99;
const QString kCategoryLetters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");

// "23", "23,4", "23,456" (decimal sign `sep`): hundredths; missing decimals are 0, further
// decimals are cut.
std::optional<qint64> SecondsPart(const QString& text, QChar sep) {
  const qsizetype q = text.indexOf(sep);
  if (q < 0) {
    const auto whole = WholeNumber(text);
    if (!whole) return std::nullopt;
    return *whole * 100;
  }
  const auto whole = WholeNumber(text.left(q));
  const QString decimals = text.mid(q + 1);
  if (!whole) return std::nullopt;
  for (const QChar c : decimals) {
    if (c < u'0' || c > u'9') return std::nullopt;
  }
  const QString two = (decimals + QStringLiteral("00")).left(2);
  return *whole * 100 + two.toInt();
}

// A participant of the competition file as the match sees it.
struct Known {
  qint64 id = 0;
  QString nachname, vorname;
  std::optional<qint64> jahrgang;
  std::optional<QString> verein;
  std::optional<QString> code;
  std::optional<qint64> startnr;
  std::optional<qint64> svid;
  bool aktiv = false;
  qint64 mannschaft = 0;
};

struct NameKey {
  QString nachname, vorname;
};
struct NameKeyLess {
  bool operator()(const NameKey& a, const NameKey& b) const {
    const int c = db::CompareGerman(a.nachname, b.nachname);
    if (c != 0) return c < 0;
    return db::CompareGerman(a.vorname, b.vorname) < 0;
  }
};

// A record that cannot be written: the import stops and nothing is kept.
struct RecordAbort {};

class ParticipantImporter {
 public:
  ParticipantImporter(AppState& state, TargetRows& rows)
      : state_(state), db_(state.db()), rows_(rows), settings_(state.Settings) {}

  ImportResult run(const QString& path, QChar separator);

 private:
  // Checks before anything is read: steps 1 to 3.
  QString check();
  void loadCompetition();
  void handleRecord(QStringList& fields);

  const TargetRow* row(ImportTarget t) const { return FindTarget(rows_, t); }
  const TargetRow* assignedRow(ImportTarget t) const {
    const TargetRow* r = row(t);
    return r && r->assigned() ? r : nullptr;
  }
  QString value(ImportTarget t) const {
    const TargetRow* r = assignedRow(t);
    return r ? FieldAt(*fields_, r->col) : QString();
  }
  void reject(const QString& text) { rejects_ += text + kCrLf; }

  bool readPoints(const QString& surname, const QString& firstName);
  QString sexOf(const QString& surname, const QString& firstName, bool& ok);
  bool categoryExists(const QString& kat) const;
  std::vector<size_t> matches(const QString& surname, const QString& firstName,
                              const std::optional<qint64>& bib, bool& rejected);
  size_t insertParticipant(const QString& surname, const QString& firstName, const QString& sex,
                           const std::optional<qint64>& bib);
  qint64 lineClass(const QString& sex);
  qint64 classByBirthYear(const QString& sex) const;
  qint64 createClassAndCategory(const QString& name);
  // The team of the record's team field, created when new; 0 for an empty field.
  qint64 teamOfRecord();
  void linkTeam(size_t index);
  void importRunTimes(size_t index);
  void index(size_t i);
  // Stops the import at this record (nothing is kept) when `value`, read for target `t`, is
  // longer than the column `column` of `table` declares.
  void checkWidth(ImportTarget t, const QString& value, const QString& table,
                  const QString& column);

  AppState& state_;
  db::Connection& db_;
  TargetRows& rows_;
  const CompetitionSettings& settings_;
  std::unique_ptr<db::Connection> master_;

  bool federation_ = false;
  bool jahrgangAktiv_ = false;
  bool codeAktiv_ = false;
  bool teams_ = false;
  bool pointsAssigned_ = false;
  bool v51_ = false;  // version class "51" or higher: the file stores svid
  bool v55_ = false;
  QString code_;  // current discipline code

  int importedCount_ = 0;
  int presentCount_ = 0;
  int dataLineCount_ = 0;
  int teamLinkCount_ = 0;
  QString rejects_;

  // The competition file in memory.
  qint64 maxParticipantId_ = 0;
  std::vector<Known> known_;
  std::multimap<NameKey, size_t, NameKeyLess> byName_;
  std::multimap<QString, size_t, GermanLess> byCode_;
  std::multimap<qint64, size_t> bySvid_;
  std::vector<ClassLimit> classes_;
  std::vector<QString> classNames_;  // klname beside each class
  qint64 maxClassId_ = 0;
  qint64 maxClassSortpos_ = 0;
  std::vector<QString> categories_;
  qint64 maxCategorySortpos_ = 0;
  std::map<QString, qint64, GermanLess> teamsByName_;
  qint64 maxTeamId_ = 0;
  qint64 maxTeamSortpos_ = 0;
  std::set<std::pair<qint64, int>> timesWritten_;
  ColumnWidths widths_{db_};

  // The record being read.
  QStringList* fields_ = nullptr;
  std::optional<double> points_;  // from the points list
  QString pointsText_;            // from the file; validated at the insert
  std::optional<qint64> svid_;
  QString associationCode_;
  QString abortSurname_, abortFirstName_;
  QString abortNote_;  // what was wrong with the record, when known
};

QString ParticipantImporter::check() {
  QStringList optional{"Klasse",    "Laufzeit", "Laufzeit1", "Laufzeit2",
                       "Laufzeit3", "Punkte",   "Start-Nr"};
  if (!CompetitionSettings::on(settings_.verein_aktiv)) optional << QStringLiteral("Verein");
  if (!jahrgangAktiv_) optional << QStringLiteral("Jahrgang");
  const QString missing = MissingColumnMessage(rows_, optional);
  if (!missing.isEmpty()) return missing;
  pointsAssigned_ = assignedRow(ImportTarget::Punkte) != nullptr;

  const bool timesAssigned = assignedRow(ImportTarget::Lauf1) || assignedRow(ImportTarget::Lauf2) ||
                             assignedRow(ImportTarget::Lauf3);
  if (timesAssigned &&
      db_.scalar(QStringLiteral("select count(*) as vorhanden from tblZeit where disziplin=?"),
                 {state_.CurrentDisciplineType})
              .toInt() > 0) {
    return QStringLiteral(
        "In dieser Disziplin sind bereits Zeiten vorhanden, deshalb können keine weiteren Zeiten "
        "importiert werden (evtl. vorhandene Zeiten zuerst löschen).");
  }
  if (federation_) {
    try {
      master_ = OpenMasterData(state_.ProgramDir);
    } catch (const db::Error& e) {
      return MasterDataFailureText(
          state_.ProgramDir, e,
          QStringLiteral("Im Programmverzeichnis des Kandrix fehlt die Datei STAMMDAT.mdb"));
    }
  }
  return QString();
}

void ParticipantImporter::index(size_t i) {
  const Known& k = known_[i];
  byName_.emplace(NameKey{k.nachname, k.vorname}, i);
  if (k.code) byCode_.emplace(*k.code, i);
  if (k.svid) bySvid_.emplace(*k.svid, i);
}

void ParticipantImporter::checkWidth(ImportTarget t, const QString& value, const QString& table,
                                     const QString& column) {
  const TargetRow* r = row(t);
  QString note =
      widths_.overflow(value, table, column, r ? r->label : column, r ? r->excel : QString());
  if (note.isEmpty()) return;
  abortNote_ = std::move(note);
  throw RecordAbort{};
}

void ParticipantImporter::loadCompetition() {
  maxParticipantId_ =
      db_.scalar(QStringLiteral("select max(id) as maxid from tblTeilnehmer")).toLongLong();
  if (teams_) {
    maxTeamId_ =
        db_.scalar(QStringLiteral("select max(id) as maxmsid from tblMannschaft")).toLongLong();
    maxTeamSortpos_ =
        db_.scalar(QStringLiteral("select max(sortpos) as maxmssortpos from tblMannschaft"))
            .toLongLong();
    const db::Recordset t = db_.query(QStringLiteral("select id,mname from tblMannschaft"));
    for (int i = 0; i < t.count(); ++i) {
      teamsByName_.emplace(t.at(i, 1).toString(), t.at(i, 0).toLongLong());
    }
  }

  const db::Recordset c = db_.query(
      QStringLiteral("select id,klname,geschlecht,bis_jahrgang,sortpos from tblKlasse order by "
                     "geschlecht,bis_jahrgang desc"));
  for (int i = 0; i < c.count(); ++i) {
    ClassLimit k{c.at(i, 0).toLongLong(), c.at(i, 2).toString(), c.at(i, 3).toString()};
    maxClassId_ = std::max(maxClassId_, k.id);
    if (!c.at(i, 4).isNull())
      maxClassSortpos_ = std::max(maxClassSortpos_, c.at(i, 4).toLongLong());
    classes_.push_back(std::move(k));
    classNames_.push_back(c.at(i, 1).toString());
  }

  const db::Recordset k = db_.query(QStringLiteral("select kat,sortpos from tblKategorie"));
  for (int i = 0; i < k.count(); ++i) {
    categories_.push_back(k.at(i, 0).toString());
    maxCategorySortpos_ = std::max(maxCategorySortpos_, k.at(i, 1).toLongLong());
  }

  QString sql =
      QStringLiteral("select id,nachname,vorname,jahrgang,verein,code,startnr%1,%1aktiv,mannschaft")
          .arg(code_);
  if (v51_) sql += QStringLiteral(",svid");
  sql += QStringLiteral(" from tblTeilnehmer");
  const db::Recordset p = db_.query(sql);
  known_.reserve(static_cast<size_t>(p.count()) + 1024);
  for (int i = 0; i < p.count(); ++i) {
    Known n;
    n.id = p.at(i, 0).toLongLong();
    n.nachname = p.at(i, 1).toString();
    n.vorname = p.at(i, 2).toString();
    if (!p.at(i, 3).isNull()) n.jahrgang = p.at(i, 3).toLongLong();
    if (!p.at(i, 4).isNull()) n.verein = p.at(i, 4).toString();
    if (!p.at(i, 5).isNull()) n.code = p.at(i, 5).toString();
    if (!p.at(i, 6).isNull()) n.startnr = p.at(i, 6).toLongLong();
    n.aktiv = p.at(i, 7).toBool();
    n.mannschaft = p.at(i, 8).toLongLong();
    if (v51_ && !p.at(i, 9).isNull()) n.svid = p.at(i, 9).toLongLong();
    known_.push_back(std::move(n));
    index(known_.size() - 1);
  }
}

ImportResult ParticipantImporter::run(const QString& path, QChar separator) {
  const int typ = settings_.typNumber();
  federation_ = IsFederationType(typ);
  jahrgangAktiv_ = CompetitionSettings::on(settings_.jahrgang_aktiv);
  codeAktiv_ = CompetitionSettings::on(settings_.code_aktiv);
  teams_ = CompetitionSettings::on(settings_.mannschaftswertung);
  v51_ = state_.FileVersionClass >= QLatin1String("51");
  v55_ = state_.FileVersionClass >= QLatin1String("55");
  code_ = state_.CurrentDisciplineCode;
  if (std::find(kCodes.begin(), kCodes.end(), code_) == kCodes.end()) {
    return {
        ImportResult::Kind::Stopped,
        QStringLiteral("Für die gewählte Disziplin können keine Teilnehmer importiert werden.")};
  }

  if (const QString message = check(); !message.isEmpty()) {
    return {ImportResult::Kind::Stopped, message};
  }
  QString error;
  const std::optional<ImportFile> file = ReadImportFile(path, &error);
  if (!file) return {ImportResult::Kind::Stopped, error};

  db::Transaction transaction(db_);
  loadCompetition();
  if (file->lines.isEmpty()) {
    LocateColumns(rows_, {});
  } else {
    LocateColumns(rows_, SplitImportLine(file->lines.first(), separator));
  }

  for (int i = 1; i < file->lines.size(); ++i) {
    QStringList fields = SplitImportLine(file->lines[i], separator);
    const int importedBefore = importedCount_;
    bool aborted = false;
    try {
      handleRecord(fields);
    } catch (const RecordAbort&) {
      aborted = true;
    } catch (const db::Error& e) {
      // A fault of the file (a lock, a full disk) is no fault of the record.
      if (e.fault() != db::Error::Fault::Other) throw;
      aborted = true;
    }
    fields_ = nullptr;
    if (!aborted) continue;
    return {ImportResult::Kind::Aborted,
            QStringLiteral("Der Teilnehmer ") + ShownText(abortSurname_) + u' ' +
                ShownText(abortFirstName_) +
                QStringLiteral(" kann nicht importiert werden (fehlerhafter Satz in der "
                               "Import-Datei)") +
                kCrLf + (abortNote_.isEmpty() ? QString() : abortNote_ + kCrLf) +
                QStringLiteral("Import nach %1 Teilnehmern abgebrochen!").arg(importedBefore) +
                kCrLf + NothingTakenOverNote(i + 1)};
  }
  transaction.commit();

  QString summary = presentCount_ > 0
                        ? QStringLiteral(
                              "%1 von %2 Teilnehmer importiert! (%3 Teilnehmer bereits "
                              "vorhanden)")
                              .arg(importedCount_)
                              .arg(dataLineCount_)
                              .arg(presentCount_)
                        : QStringLiteral("%1 von %2 Teilnehmer importiert!")
                              .arg(importedCount_)
                              .arg(dataLineCount_);
  if (teamLinkCount_ > 0) {
    summary += kCrLf + QStringLiteral("%1 Mannschaftsverknüpfungen importiert").arg(teamLinkCount_);
  }
  if (!rejects_.isEmpty()) summary += kCrLf + kRejectRule + kCrLf + kCrLf + rejects_;
  return {ImportResult::Kind::Done, summary};
}

bool ParticipantImporter::readPoints(const QString& surname, const QString& firstName) {
  points_ = kNoPoints;
  pointsText_.clear();
  svid_.reset();
  associationCode_.clear();
  if (codeAktiv_ && federation_) {
    const QString code = value(ImportTarget::Code);
    db::Recordset rs;
    if (v55_) {
      const auto number = WholeNumber(TrimmedBlanks(code));
      if (!number) {
        reject(surname + u' ' + firstName +
               QStringLiteral(" nicht importiert, da Code-Nummer nicht numerisch"));
        return false;
      }
      rs = master_->query(
          QStringLiteral("select punkte,verbandscode from tblKSFPunkte where ksfid=?"), {*number});
      svid_ = number;
    } else if (v51_) {
      rs = master_->query(QStringLiteral("select punkte,ksfid from tblKSFPunkte where code=?"),
                          {code});
    } else {
      rs = master_->query(QStringLiteral("select punkte from tblKSFPunkte where code=?"), {code});
    }
    if (rs.empty()) {
      svid_.reset();
      reject(surname + u' ' + firstName +
             QStringLiteral(" nicht importiert, da Code-Nummer nicht vorhanden"));
      return false;
    }
    for (int i = 0; i < rs.count(); ++i) {  // the last row decides
      points_ = rs.at(i, 0).isNull() ? kNoPoints : rs.at(i, 0).toDouble();
      if (v55_) {
        associationCode_ = rs.at(i, 1).toString();
      } else if (v51_) {
        svid_ =
            rs.at(i, 1).isNull() ? std::nullopt : std::optional<qint64>(rs.at(i, 1).toLongLong());
      }
    }
    return true;
  }
  if (pointsAssigned_) {
    const QString text = value(ImportTarget::Punkte);
    if (text != QLatin1String("---")) {
      points_.reset();
      pointsText_ = text;
    }
  }
  return true;
}

bool ParticipantImporter::categoryExists(const QString& kat) const {
  for (const QString& k : categories_) {
    if (GermanEqual(k, kat)) return true;
  }
  return false;
}

QString ParticipantImporter::sexOf(const QString& surname, const QString& firstName, bool& ok) {
  static const QStringList womenWords{"damen", "dame", "mädchen", "maedchen", "female"};
  const QString text = value(ImportTarget::Geschlecht);
  const QString lower = text.toLower();
  ok = true;
  if (lower.contains(u'w') || womenWords.contains(lower)) return QStringLiteral("W");
  if (lower.contains(u'm')) return QStringLiteral("M");
  if (!categoryExists(text)) {
    ok = false;
    reject(surname + u' ' + firstName +
           QStringLiteral(" nicht importiert, da ungültiges Geschlecht"));
  }
  return text;
}

std::vector<size_t> ParticipantImporter::matches(const QString& surname, const QString& firstName,
                                                 const std::optional<qint64>& bib, bool& rejected) {
  std::vector<size_t> found;
  rejected = false;
  if (federation_ && row(ImportTarget::Code)) {
    const QString code = value(ImportTarget::Code);
    if (v51_) {
      const auto number = WholeNumber(TrimmedBlanks(code));
      if (!number) {
        rejected = true;
        return found;
      }
      // "55": the code is the federation id; "51": the federation id found by the code.
      const std::optional<qint64> svid = v55_ ? number : svid_;
      if (svid) {
        for (auto [it, end] = bySvid_.equal_range(*svid); it != end; ++it)
          found.push_back(it->second);
      }
    } else {
      for (auto [it, end] = byCode_.equal_range(code); it != end; ++it) found.push_back(it->second);
    }
    return found;
  }
  const QString birth = value(ImportTarget::Jahrgang);
  const TargetRow* verein = row(ImportTarget::Verein);
  const QString club = value(ImportTarget::Verein);
  for (auto [it, end] = byName_.equal_range(NameKey{surname, firstName}); it != end; ++it) {
    const Known& k = known_[it->second];
    if (jahrgangAktiv_ && k.jahrgang != birth.toLongLong()) continue;
    if (verein) {
      if (club.isEmpty() ? k.verein.has_value() : (!k.verein || !GermanEqual(*k.verein, club)))
        continue;
    }
    if (bib && k.startnr != bib) continue;
    found.push_back(it->second);
  }
  return found;
}

void ParticipantImporter::handleRecord(QStringList& fields) {
  fields_ = &fields;
  abortNote_.clear();
  ++dataLineCount_;
  // D2: the names and the birth year without the blanks around them.
  for (ImportTarget t : {ImportTarget::Nachname, ImportTarget::Vorname, ImportTarget::Jahrgang}) {
    const TargetRow* r = assignedRow(t);
    if (r && r->col >= 0 && r->col < fields.size()) TrimBlanks(fields[r->col]);
  }
  const QString surnameField = value(ImportTarget::Nachname);
  const QString firstNameField = value(ImportTarget::Vorname);
  const QString birth = value(ImportTarget::Jahrgang);
  abortSurname_ = surnameField;
  abortFirstName_ = firstNameField;
  // D3: blank records are skipped silently.
  if (surnameField.isEmpty() || firstNameField.isEmpty() || (jahrgangAktiv_ && birth.isEmpty())) {
    --dataLineCount_;
    return;
  }
  bool valid = readPoints(surnameField, firstNameField);
  QString sex;
  if (valid) sex = sexOf(surnameField, firstNameField, valid);
  if (valid && jahrgangAktiv_ && (birth.size() != 4 || !WholeNumber(birth))) {
    valid = false;
    reject(surnameField + u' ' + firstNameField +
           QStringLiteral(" nicht importiert, da ungültiger Jahrgang"));
  }
  if (!valid) return;

  // D7: names without quotes; one column for both names is split at "," or a line feed.
  QString surname = QString(surnameField).remove(u'"');
  QString firstName = QString(firstNameField).remove(u'"');
  if (surname == firstName) {
    qsizetype cut = surname.indexOf(u',');
    if (cut < 0) cut = surname.indexOf(u'\n');
    if (cut >= 0) {
      firstName = surname.mid(cut + 1);
      surname = surname.left(cut);
    }
    TrimBlanks(surname);
    TrimBlanks(firstName);
  }
  abortSurname_ = surname;
  abortFirstName_ = firstName;

  std::optional<qint64> bib;
  if (assignedRow(ImportTarget::StartNr)) {
    const QString bibText = value(ImportTarget::StartNr);
    if (!bibText.isEmpty()) {
      bib = WholeNumber(TrimmedBlanks(bibText));
      if (!bib) throw RecordAbort{};
    }
  }

  // D8, D9: an existing participant is entered in the discipline.
  bool rejected = false;
  const std::vector<size_t> found = matches(UpperKeepSharpS(surname), firstName, bib, rejected);
  if (rejected) {
    reject(surname + u' ' + firstName +
           QStringLiteral(" nicht importiert, da Code-Nummer nicht numerisch"));
    return;
  }
  size_t participant = 0;
  if (!found.empty()) {
    participant = found.back();
    if (!known_[participant].aktiv) {
      const QString sql =
          bib ? QStringLiteral("update tblTeilnehmer set %1aktiv=1,startnr%1=? where id=?")
                    .arg(code_)
              : QStringLiteral("update tblTeilnehmer set %1aktiv=1 where id=?").arg(code_);
      for (size_t i : found) {
        Known& k = known_[i];
        db_.execute(sql, bib ? QVariantList{*bib, k.id} : QVariantList{k.id});
        k.aktiv = true;
        if (bib) k.startnr = bib;
      }
      ++importedCount_;
    } else {
      ++presentCount_;
    }
  } else {
    // D10, D11: a new participant.
    participant = insertParticipant(UpperKeepSharpS(surname), firstName, sex, bib);
    ++importedCount_;
  }
  // D12; a new participant got his team with the insert.
  if (teams_ && !found.empty()) linkTeam(participant);
  importRunTimes(participant);
}

size_t ParticipantImporter::insertParticipant(const QString& surname, const QString& firstName,
                                              const QString& sex,
                                              const std::optional<qint64>& bib) {
  double points = kNoPoints;
  if (points_) {
    points = *points_;
  } else {
    const auto number = DecimalNumber(TrimmedBlanks(pointsText_));
    if (!number) throw RecordAbort{};
    points = *number;
  }
  Known k;
  k.id = ++maxParticipantId_;
  k.nachname = surname;
  k.vorname = firstName;
  k.aktiv = true;
  k.startnr = bib;
  const qint64 klasse = lineClass(sex);
  if (teams_) {
    k.mannschaft = teamOfRecord();
    if (k.mannschaft != 0) ++teamLinkCount_;
  }

  const QString club = value(ImportTarget::Verein);
  if (row(ImportTarget::Verein) && !club.isEmpty()) k.verein = club;
  QVariant nation;
  if (!associationCode_.isEmpty()) {
    nation = associationCode_;
  } else if (const QString n = value(ImportTarget::Nation); !n.isEmpty()) {
    nation = n.left(10);
  }
  if (jahrgangAktiv_) k.jahrgang = value(ImportTarget::Jahrgang).toLongLong();
  const QString code = value(ImportTarget::Code);
  if (row(ImportTarget::Code) && !code.isEmpty() && codeAktiv_ &&
      (!federation_ || state_.FileVersionClass < QLatin1String("51"))) {
    k.code = code;
  }

  const QString table = QStringLiteral("tblTeilnehmer");
  checkWidth(ImportTarget::Nachname, k.nachname, table, QStringLiteral("nachname"));
  checkWidth(ImportTarget::Vorname, k.vorname, table, QStringLiteral("vorname"));
  if (k.verein) checkWidth(ImportTarget::Verein, *k.verein, table, QStringLiteral("verein"));
  if (k.code) checkWidth(ImportTarget::Code, *k.code, table, QStringLiteral("code"));
  QString columns = QStringLiteral(
      "insert into tblTeilnehmer (id,zugewiesen,sex,nachname,vorname,verein,nation,jahrgang,klasse,"
      "dhaktiv,pktedh,sgaktiv,pktesg,gsaktiv,pktegs,slaktiv,pktesl,ksaktiv,pkteks,psaktiv,pkteps,"
      "rpktedh,rpktesg,rpktegs,rpktesl,rpkteks,rpkteps,pktesc,code");
  QVariantList values{k.id,      true,
                      sex,       k.nachname,
                      k.vorname, k.verein ? QVariant(*k.verein) : QVariant(),
                      nation,    k.jahrgang ? QVariant(*k.jahrgang) : QVariant(),
                      klasse};
  for (const char* c : kCodes) values << (code_ == QLatin1String(c)) << points;
  for (int i = 0; i < 7; ++i) values << kNoPoints;
  values << (k.code ? QVariant(*k.code) : QVariant());
  if (v51_) {
    columns += QStringLiteral(",svid");
    values << (svid_ ? QVariant(*svid_) : QVariant());
    k.svid = svid_;
  }
  if (k.mannschaft != 0) {
    columns += QStringLiteral(",mannschaft");
    values << k.mannschaft;
  }
  if (assignedRow(ImportTarget::StartNr)) {
    columns += QStringLiteral(",startnr") + code_;
    values << (bib ? QVariant(*bib) : QVariant());
  }
  QString marks;
  for (int i = 0; i < values.size(); ++i)
    marks += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
  db_.execute(columns + QStringLiteral(") values(") + marks + u')', values);
  known_.push_back(std::move(k));
  index(known_.size() - 1);
  return known_.size() - 1;
}

qint64 ParticipantImporter::lineClass(const QString& sex) {
  const TargetRow* klasse = assignedRow(ImportTarget::Klasse);
  if (!klasse) return classByBirthYear(sex);
  if (klasse->col < 0 || klasse->col >= fields_->size()) return 0;
  const QString name = TrimBlanks((*fields_)[klasse->col]);
  if (name.isEmpty()) return 0;
  for (size_t i = 0; i < classes_.size(); ++i) {
    if (classNames_[i] == name) return classes_[i].id;
  }
  return createClassAndCategory(name);
}

qint64 ParticipantImporter::classByBirthYear(const QString& sex) const {
  const TargetRow* jahrgang = assignedRow(ImportTarget::Jahrgang);
  if (!jahrgang || jahrgang->col < 0) return 0;  // no birth year to go by
  return ClassOfBirthYear(classes_, sex, value(ImportTarget::Jahrgang));
}

qint64 ParticipantImporter::createClassAndCategory(const QString& name) {
  checkWidth(ImportTarget::Klasse, name, QStringLiteral("tblKlasse"), QStringLiteral("klname"));
  checkWidth(ImportTarget::Klasse, name, QStringLiteral("tblKategorie"), QStringLiteral("kname"));
  const qint64 id = ++maxClassId_;
  const qint64 sortpos = ++maxClassSortpos_;
  classes_.push_back({id, QString(), QString()});
  classNames_.push_back(name);
  QString letter;
  for (const QChar c : kCategoryLetters) {
    if (!categoryExists(QString(c))) {
      letter = QString(c);
      break;
    }
  }
  if (letter.isEmpty()) {
    letter = QStringLiteral("Z");  // every letter in use: the class joins "Z"
  } else {
    const qint64 categorySortpos = ++maxCategorySortpos_;
    db_.execute(QStringLiteral("insert into tblKategorie (kat,kname,sortpos) values(?,?,?)"),
                {letter, name, categorySortpos});
    categories_.push_back(letter);
  }
  db_.execute(QStringLiteral("insert into tblKlasse (id,klname,geschlecht,bis_jahrgang,gruppe,"
                             "sortpos,nenngeld) values(?,?,?,Null,Null,?,Null)"),
              {id, name, letter, sortpos});
  return id;
}

qint64 ParticipantImporter::teamOfRecord() {
  const QString name = value(ImportTarget::Mannschaft);
  if (name.isEmpty()) return 0;
  if (const auto it = teamsByName_.find(name); it != teamsByName_.end()) return it->second;
  checkWidth(ImportTarget::Mannschaft, name, QStringLiteral("tblMannschaft"),
             QStringLiteral("mname"));
  const qint64 team = ++maxTeamId_;
  const qint64 sortpos = ++maxTeamSortpos_;
  db_.execute(QStringLiteral("insert into tblMannschaft (id,mname,sortpos) values(?,?,?)"),
              {team, name, sortpos});
  teamsByName_.emplace(name, team);
  return team;
}

void ParticipantImporter::linkTeam(size_t index) {
  const qint64 team = teamOfRecord();
  Known& k = known_[index];
  if (team == 0 || k.mannschaft == team) return;
  ++teamLinkCount_;
  db_.execute(QStringLiteral("update tblTeilnehmer set mannschaft=? where id=?"), {team, k.id});
  k.mannschaft = team;
}

void ParticipantImporter::importRunTimes(size_t index) {
  const qint64 id = known_[index].id;
  const ImportTarget runs[] = {ImportTarget::Lauf1, ImportTarget::Lauf2, ImportTarget::Lauf3};
  for (int r = 1; r <= 3; ++r) {
    if (!assignedRow(runs[r - 1])) continue;
    const QString text = value(runs[r - 1]);
    if (text.isEmpty()) continue;
    const QString who = QStringLiteral("Zeit für ") + value(ImportTarget::Nachname) + u' ' +
                        value(ImportTarget::Vorname);
    if (timesWritten_.count({id, r}) > 0) {
      reject(who +
             QStringLiteral(" nicht importiert, da für Durchgang %1 doppelt vorhanden").arg(r));
      continue;
    }
    const std::optional<RunTimeValue> time = ParseRunTime(text);
    if (!time) {
      reject(who + QStringLiteral(" nicht importiert, da ungültige Zeit"));
      continue;
    }
    db_.execute(QStringLiteral("insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode,netto) "
                               "values(?,?,?,?,?)"),
                {id, state_.CurrentDisciplineType, r, time->ergcode,
                 time->hundredths ? QVariant(static_cast<double>(*time->hundredths) / 8640000.0)
                                  : QVariant()});
    timesWritten_.insert({id, r});
  }
}

}  // namespace

std::optional<RunTimeValue> ParseRunTime(const QString& text) {
  const QString t = TrimmedBlanks(text);
  if (t.isEmpty()) return std::nullopt;
  const QChar sep = t.contains(u',') ? u',' : u'.';
  const bool timeLike = [&t] {
    for (const QChar c : t) {
      if (!(c.isDigit() || c == u':' || c == u',' || c == u'.')) return false;
    }
    return true;
  }();
  if (timeLike) {
    const QStringList parts = t.split(u':');
    if (parts.size() > 3) return std::nullopt;
    qint64 hours = 0;
    qint64 minutes = 0;
    if (parts.size() == 3) {
      const auto h = WholeNumber(parts[0]);
      if (!h) return std::nullopt;
      hours = *h;
    }
    if (parts.size() >= 2) {
      const auto m = WholeNumber(parts[parts.size() - 2]);
      if (!m) return std::nullopt;
      minutes = *m;
    }
    const auto seconds = SecondsPart(parts.last(), sep);
    if (!seconds) return std::nullopt;
    return RunTimeValue{0, hours * 360000 + minutes * 6000 + *seconds};
  }
  const QString lower = t.toLower();
  if (lower.contains(QLatin1String("nas")) || lower.contains(QLatin1String("dns")))
    return RunTimeValue{1, {}};
  if (lower.contains(QLatin1String("niz")) || lower.contains(QLatin1String("dnf")))
    return RunTimeValue{2, {}};
  if (lower.contains(QLatin1String("dis")) || lower.contains(QLatin1String("dsq")))
    return RunTimeValue{3, {}};
  return std::nullopt;
}

ImportResult ImportParticipants(AppState& state, const QString& path, QChar separator,
                                TargetRows& rows) {
  ParticipantImporter importer(state, rows);
  return importer.run(path, separator);
}

}  // namespace kx
