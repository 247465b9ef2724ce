#include "admin/finals.h"

#include "common/guarded.h"
#include "common/textroutines.h"
#include "db/database.h"
#include "results/racedata.h"

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace kx {

namespace {

const QString kTable = QStringLiteral("XtblFinale");
const QString kRefusalEnd = QStringLiteral(", der Bewerb kann nicht hinzugefügt werden");

QString VersionClassOfFile(db::Connection& source) {
  QString versionClass = QStringLiteral("40");
  const db::Recordset rows = source.query(QStringLiteral("select version from tblVersion"));
  for (int i = 0; i < rows.count(); ++i) {
    const int version = rows.at(i, 0).toInt();
    versionClass = version < 15   ? QStringLiteral("40")
                   : version < 18 ? QStringLiteral("51")
                                  : QStringLiteral("55");
  }
  return versionClass;
}

bool IsCompetitionFile(db::Connection& source) {
  for (const char* table : {"tblVersion", "tblTeilnehmer", "tblZeit", "tblBewerb"}) {
    if (!source.hasTable(QString::fromLatin1(table))) return false;
  }
  return true;
}

// One candidate as read from a source file.
struct Candidate {
  qint64 zeit = 0;
  db::Field code, sex, nachname, vorname, verein, nation, jahrgang, startnr, punkte, svid;
};

// The order of the code column's collation: German, case-insensitive.
struct GermanLess {
  bool operator()(const QString& a, const QString& b) const { return db::CompareGerman(a, b) < 0; }
};

// Inserts rows of one table many at a time: one statement per batch instead of per row.
class BatchInsert {
 public:
  BatchInsert(db::Connection& db, QString head, int columns)
      : db_(db), head_(std::move(head)), columns_(columns) {}
  void add(QVariantList row) {
    values_ << row;
    if (++rows_ == kRows) flush();
  }
  void flush() {
    if (rows_ == 0) return;
    QString marks =
        QStringLiteral("(?") + QStringLiteral(",?").repeated(columns_ - 1) + QLatin1Char(')');
    QString sql = head_ + QStringLiteral(" values") + marks;
    for (int i = 1; i < rows_; ++i) sql += QLatin1Char(',') + marks;
    db_.execute(sql, values_);
    values_.clear();
    rows_ = 0;
  }

 private:
  static constexpr int kRows = 20;
  db::Connection& db_;
  QString head_;
  int columns_;
  QVariantList values_;
  int rows_ = 0;
};

// What keeps a candidate's texts out of the file: a value longer than its column, or a
// NUL character (which would end the text for the main program); empty when they fit.
QString UnfitText(const Candidate& c, const std::map<QString, int>& widths) {
  const struct {
    const char* column;
    const char* label;
    const db::Field& field;
  } fields[] = {{"nachname", "Nachname", c.nachname}, {"vorname", "Vorname", c.vorname},
                {"verein", "Verein", c.verein},       {"code", "Code", c.code},
                {"nation", "Nation", c.nation},       {"sex", "Geschlecht", c.sex}};
  for (const auto& f : fields) {
    const QString text = f.field.toString();
    if (text.contains(QChar(0))) {
      return QStringLiteral("hat im Feld '%1' ein unzulässiges Zeichen").arg(f.label);
    }
    const auto width = widths.find(QString::fromLatin1(f.column));
    if (width != widths.end() && text.size() > width->second) {
      return QStringLiteral("hat im Feld '%1' mehr als %2 Zeichen").arg(f.label).arg(width->second);
    }
  }
  return QString();
}

QVariant Value(const db::Field& field) {
  return field.isNull() ? QVariant() : field.value();
}

// The other competition file, opened; null with the message in `refusal` when another
// program holds it, or when it cannot be opened or is no competition file.
std::unique_ptr<db::Connection> OpenSource(const QString& path, QString& refusal) {
  try {
    std::unique_ptr<db::Connection> source = db::Connection::open(path);
    if (IsCompetitionFile(*source)) return source;
  } catch (const db::Error& e) {
    if (e.locked()) {
      refusal = FileInUseText(path);
      return nullptr;
    }
  }
  refusal = QStringLiteral("Die Datei '%1' ist keine Kandor-Bewerbsdatei").arg(path);
  return nullptr;
}

// One row per participant of the source with his id, the total of his run times in the
// discipline (hundredths; Null when one of them is no run time) and the sum of their result
// codes, fastest first.
db::Recordset ReadTotals(db::Connection& source, const FinalsDiscipline& discipline) {
  const bool sourceSvid = VersionClassOfFile(source) != QLatin1String("40") &&
                          source.hasColumn(QStringLiteral("tblTeilnehmer"), QStringLiteral("svid"));
  return source.query(
      QStringLiteral("select laufzeitsumme(z.netto) as zeit,sum(z.ergcode) as erg,t.code,t.sex,"
                     "t.nachname,t.vorname,t.verein,t.nation,t.jahrgang,t.startnr%1 as startnr,"
                     "t.pkte%1 as punkte,%2 as svid,t.id from tblTeilnehmer t,tblZeit z where "
                     "t.id = z.teilnehmer and z.disziplin=? and %3 group by t.id order by 1")
          .arg(discipline.code, sourceSvid ? QStringLiteral("t.svid") : QStringLiteral("0"),
               QLatin1String(kWithinDisciplineRuns)),
      {discipline.type});
}

// The widths a candidate's texts must keep: those of the work table and of the participants.
std::map<QString, int> CandidateTextWidths(db::Connection& db) {
  std::map<QString, int> widths = db.textWidths(kTable);
  for (const auto& [column, width] : db.textWidths(QStringLiteral("tblTeilnehmer"))) {
    if (const auto it = widths.find(column); it != widths.end() && width < it->second)
      it->second = width;
  }
  return widths;
}

// Why a candidate cannot be taken: no name, no bib where bibs are kept, no year of birth, no
// sex, or a text that does not fit; empty when he can.
QString Unfit(const Candidate& c, bool keepBibs, const std::map<QString, int>& widths) {
  if (c.nachname.isNull() || c.vorname.isNull() || c.nachname.toString().trimmed().isEmpty() ||
      c.vorname.toString().trimmed().isEmpty()) {
    return QStringLiteral("hat keinen Namen");
  }
  if (keepBibs && c.startnr.isNull()) return QStringLiteral("hat keine Startnummer");
  if (c.jahrgang.isNull()) return QStringLiteral("hat keinen Jahrgang");
  if (c.sex.isNull() || c.sex.toString().isEmpty()) return QStringLiteral("hat kein Geschlecht");
  return UnfitText(c, widths);
}

// The candidates of the source rows whose runs are all valid and who have every run of the
// discipline (`finished`), each checked before anything is written. The first that cannot be
// taken stops the collection with the refusal in `refusal`.
std::vector<Candidate> CollectCandidates(const db::Recordset& rows,
                                         const std::unordered_set<int>& finished,
                                         const std::map<QString, int>& widths, bool keepBibs,
                                         QString& refusal) {
  std::vector<Candidate> candidates;
  for (int i = 0; i < rows.count(); ++i) {
    if (!finished.contains(rows.at(i, "id").toInt())) continue;
    if (rows.at(i, "erg").isNull() || rows.at(i, "erg").toLongLong() != 0) continue;
    if (rows.at(i, "zeit").isNull()) continue;  // a valid result without a run time
    const auto f = [&](const char* column) { return rows.at(i, column); };
    Candidate candidate{std::llround(f("zeit").toDouble()),
                        f("code"),
                        f("sex"),
                        f("nachname"),
                        f("vorname"),
                        f("verein"),
                        f("nation"),
                        f("jahrgang"),
                        f("startnr"),
                        f("punkte"),
                        f("svid")};
    if (const QString unfit = Unfit(candidate, keepBibs, widths); !unfit.isEmpty()) {
      refusal = QStringLiteral("Der Teilnehmer %1 %2 ")
                    .arg(ShownText(candidate.nachname.toString()),
                         ShownText(candidate.vorname.toString())) +
                unfit + kRefusalEnd;
      return {};
    }
    candidates.push_back(std::move(candidate));
  }
  return candidates;
}

// The bibs and codes already in the work table, to refuse a clash before it is written.
struct TakenKeys {
  std::set<qint64> bibs;
  std::set<QString, GermanLess> codes;
};
TakenKeys ReadTakenKeys(db::Connection& db) {
  TakenKeys taken;
  const db::Recordset rows = db.query(QStringLiteral("select startnr,code from XtblFinale"));
  for (int i = 0; i < rows.count(); ++i) {
    taken.bibs.insert(rows.at(i, 0).toLongLong());
    if (!rows.at(i, 1).isNull()) taken.codes.insert(rows.at(i, 1).toString());
  }
  return taken;
}

// Inserts the candidates into the work table marked "N", each under his own bib or the next
// one after the highest taken, counting them in `added`. The refusal of the first bib or
// code already taken, or empty; the caller's transaction then rolls the rows back.
QString InsertCandidates(db::Connection& db, const std::vector<Candidate>& candidates,
                         TakenKeys& taken, bool keepBibs, int& added) {
  qint64 bib = taken.bibs.empty() || keepBibs ? 0 : *taken.bibs.rbegin();
  BatchInsert insert(db,
                     QStringLiteral("insert into XtblFinale (startnr,kz,zeit,code,sex,nachname,"
                                    "vorname,verein,nation,jahrgang,punkte,svid)"),
                     12);
  for (const Candidate& candidate : candidates) {
    const qint64 number = keepBibs ? candidate.startnr.toLongLong() : ++bib;
    if (!taken.bibs.insert(number).second) {
      return QStringLiteral("Die Startnummer %1 ist bereits enthalten").arg(number) + kRefusalEnd;
    }
    if (!candidate.code.isNull() && !taken.codes.insert(candidate.code.toString()).second) {
      return QStringLiteral(
                 "Der Teilnehmer mit der CodeNr '%1' (%2 %3) ist bereits "
                 "enthalten")
                 .arg(candidate.code.toString(), candidate.nachname.toString(),
                      candidate.vorname.toString()) +
             kRefusalEnd;
    }
    insert.add({number, QStringLiteral("N"), candidate.zeit, Value(candidate.code),
                candidate.sex.toString(), candidate.nachname.toString(),
                candidate.vorname.toString(),
                candidate.verein.isNull() ? QString() : candidate.verein.toString(),
                Value(candidate.nation), candidate.jahrgang.toLongLong(),
                candidate.punkte.isNull() ? 9999.99 : candidate.punkte.toDouble(),
                candidate.svid.toLongLong()});
    ++added;
  }
  insert.flush();
  return QString();
}

// The column codes of the disciplines in the participants' table.
const QStringList kDisciplineColumnCodes{"dh", "sg", "gs", "sl", "ks", "ps"};

// The classes of the open file by sex, within each from the latest year limit down.
struct ClassLimit {
  qint64 id;
  QString geschlecht;
  qint64 bisJahrgang;
};
std::vector<ClassLimit> ReadClasses(db::Connection& db) {
  std::vector<ClassLimit> classes;
  const db::Recordset rows = db.query(QStringLiteral(
      "select id,geschlecht,bis_jahrgang from tblKlasse order by geschlecht,bis_jahrgang desc"));
  for (int i = 0; i < rows.count(); ++i) {
    classes.push_back(
        {rows.at(i, 0).toLongLong(), rows.at(i, 1).toString(), rows.at(i, 2).toLongLong()});
  }
  return classes;
}

// The class of the same sex with the smallest year limit not below `year`; 0 when none.
qint64 ClassOf(const std::vector<ClassLimit>& classes, const QString& sex, qint64 year) {
  qint64 klasse = 0;
  for (const ClassLimit& row : classes) {
    if (row.geschlecht != sex) continue;
    if (year > row.bisJahrgang) break;
    klasse = row.id;
  }
  return klasse;
}

// The cut-off times of women and men: the time of the last one kept of each (0 when a
// count is 0 or nobody of that sex is in the table).
std::pair<double, double> CutOffTimes(db::Connection& db, double women, double men) {
  double cutWomen = 0, cutMen = 0;
  double countWomen = 0, countMen = 0;
  const db::Recordset rows =
      db.query(QStringLiteral("select zeit,sex from XtblFinale order by sex desc,zeit"));
  for (int i = 0; i < rows.count(); ++i) {
    const bool woman = rows.at(i, 1).toString() == QLatin1String("W");
    const bool man = rows.at(i, 1).toString() == QLatin1String("M");
    if (woman)
      countWomen += 1;
    else
      countMen += 1;
    if (woman && women >= countWomen) cutWomen = rows.at(i, 0).toDouble();
    if (man && men >= countMen) cutMen = rows.at(i, 0).toDouble();
  }
  return {cutWomen, cutMen};
}

// The columns a finalist is inserted with into the participants' table.
QString ParticipantColumns(const QString& code, bool withSvid) {
  QString columns =
      QStringLiteral("id,zugewiesen,sex,nachname,vorname,verein,nation,jahrgang,klasse,mannschaft");
  for (const QString& c : kDisciplineColumnCodes) {
    columns += QStringLiteral(",%1aktiv,pkte%1").arg(c);
  }
  columns +=
      QStringLiteral(",startnr%1,rpktedh,rpktesg,rpktegs,rpktesl,rpkteks,rpkteps,pktesc,code")
          .arg(code);
  if (withSvid) columns += QStringLiteral(",svid");
  return columns;
}

// The values of finalist `i` of the cut table under the participants' columns, up to and
// without the federation id: entered only in the discipline `code`, id `number`.
QVariantList ParticipantValues(const db::Recordset& rows, int i, qint64 number, qint64 klasse,
                               bool keepBibs, const QString& code) {
  const QString verein = rows.at(i, "verein").toString().trimmed();
  const double points = rows.at(i, "punkte").toDouble();
  QVariantList values{number,
                      true,
                      rows.at(i, "sex").toString(),
                      rows.at(i, "nachname").toString().trimmed(),
                      rows.at(i, "vorname").toString().trimmed(),
                      verein.isEmpty() ? QVariant() : QVariant(verein),
                      rows.at(i, "nation").isNull()
                          ? QVariant()
                          : QVariant(rows.at(i, "nation").toString().trimmed()),
                      rows.at(i, "jahrgang").toLongLong(),
                      klasse,
                      0};
  for (const QString& c : kDisciplineColumnCodes) values << (c == code) << points;
  values << (keepBibs ? rows.at(i, "startnr").toLongLong() : number);
  for (int k = 0; k < 7; ++k) values << 9999.99;
  values << Value(rows.at(i, "code"));
  return values;
}

}  // namespace

void CreateFinalsTable(db::Connection& db) {
  db::Transaction transaction = db.transaction();
  DropFinalsTable(db);
  try {
    db.execute(QStringLiteral(
        "create table XtblFinale (startnr long not null, kz char(1) not null, zeit double not "
        "null, code char(9), sex char(1) not null, nachname char(80) not null, vorname "
        "char(80) not null, verein char(80) not null, nation char(10), jahrgang short not "
        "null, punkte double not null, svid long not null, primary key(startnr))"));
    db.execute(QStringLiteral(
        "CREATE UNIQUE INDEX XtblFinaleInd ON XtblFinale (code ASC) WITH IGNORE NULL"));
  } catch (const db::Error& e) {
    // The statements are fixed: a refusal other than a fault of the file (a lock, a full
    // disk) means another object of that name (a view) is in the table's place.
    if (e.fault() != db::Error::Fault::Other) throw;
    throw db::DamagedFileError(db.path(), e.text());
  }
  transaction.commit();
}

void DropFinalsTable(db::Connection& db) {
  if (db.hasTable(kTable)) db.execute(QStringLiteral("drop table XtblFinale"));
}

FinalsAddResult AddFinalsFile(db::Connection& db, const QString& path,
                              const FinalsDiscipline& discipline, bool keepBibs) {
  FinalsAddResult result;
  const std::unique_ptr<db::Connection> source = OpenSource(path, result.message);
  if (!source) return result;
  const db::Recordset rows = ReadTotals(*source, discipline);
  const std::vector<Candidate> candidates = CollectCandidates(
      rows, FinishedRacers(*source, discipline.type, discipline.code, false, false),
      CandidateTextWidths(db), keepBibs, result.message);
  if (!result.message.isEmpty()) return result;
  if (candidates.empty()) {
    result.message = QStringLiteral("Keine Teilnehmer mit Zeiten in diesem Bewerb vorhanden");
    return result;
  }
  result.unknownCodes = FindUnknownCodes(*source, discipline.type, discipline.code, 0, false);
  TakenKeys taken = ReadTakenKeys(db);
  db::Transaction transaction = db.transaction();
  result.message = InsertCandidates(db, candidates, taken, keepBibs, result.added);
  if (!result.message.isEmpty()) return result;  // the transaction rolls the file's rows back
  db.execute(QStringLiteral("update XtblFinale set kz=' '"));
  transaction.commit();
  return result;
}

FinalsSaveResult SaveFinalists(db::Connection& db, double women, double men, bool keepBibs,
                               const FinalsDiscipline& discipline, bool withSvid) {
  FinalsSaveResult result;
  const std::vector<ClassLimit> classes = ReadClasses(db);
  db::Transaction transaction = db.transaction();
  const auto [cutWomen, cutMen] = CutOffTimes(db, women, men);
  db.execute(
      QStringLiteral("delete from XtblFinale where (sex='W' and zeit>?) or (sex='M' and zeit>?)"),
      {cutWomen, cutMen});

  const QString columns = ParticipantColumns(discipline.code, withSvid);
  const int valueCount = static_cast<int>(columns.count(QLatin1Char(','))) + 1;
  BatchInsert insert(db, QStringLiteral("insert into tblTeilnehmer (%1)").arg(columns), valueCount);
  const db::Recordset rows = db.query(QStringLiteral(
      "select startnr,code,sex,nachname,vorname,verein,nation,jahrgang,punkte,svid from "
      "XtblFinale order by sex desc,zeit desc"));
  std::set<qint64> svids;
  for (int i = 0; i < rows.count(); ++i) {
    const qint64 klasse =
        ClassOf(classes, rows.at(i, "sex").toString(), rows.at(i, "jahrgang").toLongLong());
    QVariantList values = ParticipantValues(rows, i, i + 1, klasse, keepBibs, discipline.code);
    if (withSvid) {
      const qint64 svid = rows.at(i, "svid").toLongLong();
      if (svid != 0 && !svids.insert(svid).second) {
        result.message = QStringLiteral(
                             "Der Teilnehmer %1 %2 ist mit der KSF-Id %3 mehrfach enthalten, die "
                             "Finalteilnehmer können nicht gespeichert werden")
                             .arg(rows.at(i, "nachname").toString().trimmed(),
                                  rows.at(i, "vorname").toString().trimmed())
                             .arg(svid);
        return result;  // the transaction rolls the cut back
      }
      values << (svid == 0 ? QVariant() : QVariant(svid));
    }
    insert.add(std::move(values));
  }
  insert.flush();
  transaction.commit();
  result.inserted = rows.count();
  return result;
}

}  // namespace kx
