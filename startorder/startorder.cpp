#include "startorder/startorder.h"

#include "common/appstate.h"
#include "common/resultcodes.h"
#include "common/sharedtables.h"
#include "common/timetext.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "db/orderedread.h"

#include <QHash>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <unordered_set>
#include <vector>

namespace kx {

namespace {

const QString kNoDataText = QStringLiteral("Keine Daten gefunden!");
const QString kNoDataTitle = QStringLiteral("Achtung");

// The value of a points column that stands for "no points".
constexpr double kNoPoints = 9999.99;

// Run-1 results of run-2 participants that are not valid times sort behind every finisher
// with this value (25 hours in hundredths).
constexpr double kNonFinisherTime = 9000000.0;

const QString kTextNiZ = QStringLiteral("NiZ  ");
const QString kTextDis = QStringLiteral("Dis  ");
const QString kTextNoTime = QStringLiteral("---  ");

// How the participants are grouped.
enum class GroupKey { None, Klasse, Gruppe, Kategorie, KategorieId, Startnummer };

// ---------------------------------------------------------------------------------------
// Reading the rows

double PointsOf(const db::RowReader& row, int column) {
  return row.isNull(column) ? kNoPoints : row.toDouble(column);
}

// The columns both builds read, by position.
struct CommonColumns {
  int id, startnr, svid, code, nachname, vorname, jahrgang, nation, verein, punkte, klasse;

  explicit CommonColumns(const db::RowReader& row)
      : id(row.column(QStringLiteral("id"))),
        startnr(row.column(QStringLiteral("startnr"))),
        svid(row.column(QStringLiteral("svid"))),
        code(row.column(QStringLiteral("code"))),
        nachname(row.column(QStringLiteral("nachname"))),
        vorname(row.column(QStringLiteral("vorname"))),
        jahrgang(row.column(QStringLiteral("jahrgang"))),
        nation(row.column(QStringLiteral("nation"))),
        verein(row.column(QStringLiteral("verein"))),
        punkte(row.column(QStringLiteral("punkte"))),
        klasse(row.column(QStringLiteral("klasse"))) {}
};

// The display flags of the competition, read once per build.
struct ShownColumns {
  bool code, jahrgang, verein, nation;

  explicit ShownColumns(const CompetitionSettings& s)
      : code(CompetitionSettings::on(s.code_aktiv)),
        jahrgang(CompetitionSettings::on(s.jahrgang_aktiv)),
        verein(CompetitionSettings::on(s.verein_aktiv)),
        nation(CompetitionSettings::on(s.nation_aktiv)) {}
};

// Whether every byte is a 7-bit ASCII character.
bool IsAscii(QByteArrayView bytes) {
  return std::all_of(bytes.begin(), bytes.end(),
                     [](char b) { return static_cast<unsigned char>(b) < 0x80; });
}

// "nachname vorname"; names in plain ASCII (most of them) are put together in one piece.
QString NameText(const db::RowReader& row, int nachname, int vorname) {
  const std::optional<QByteArrayView> last = row.textBytes(nachname);
  const std::optional<QByteArrayView> first = row.textBytes(vorname);
  if (last && first && IsAscii(*last) && IsAscii(*first)) {
    QString name;
    name.reserve(last->size() + 1 + first->size());
    name.append(QLatin1String(*last)).append(QLatin1Char(' ')).append(QLatin1String(*first));
    return name;
  }
  return row.text(nachname) + QLatin1Char(' ') + row.text(vorname);
}

// Fills the fields both runs fill alike (everything but code, points and the group texts).
// A Null field reads as an empty text; a missing name part counts as empty. Years, clubs
// and nations repeat from racer to racer: the entries share their texts.
void FillPerson(StartOrderEntry& e, const db::RowReader& row, const CommonColumns& c,
                const ShownColumns& shown, const QString& clubDefault) {
  e.id = row.toInt(c.id);
  e.startnr = row.text(c.startnr);
  e.name = NameText(row, c.nachname, c.vorname);
  if (shown.jahrgang) e.jahrgang = row.repeatedText(c.jahrgang);
  e.verein = shown.verein && !row.isNull(c.verein) ? row.repeatedText(c.verein) : clubDefault;
  if (shown.nation) e.nation = row.repeatedText(c.nation);
}

// The federation code column of a participant; `zeroIsNone` is the run-2 rule that a
// federation id of 0 shows nothing (run 1 prints it).
QString CodeText(const db::RowReader& row, const CommonColumns& c, bool zeroIsNone) {
  if (!row.isNull(c.svid)) {
    if (zeroIsNone && row.toLongLong(c.svid) == 0) return QString();
    return row.text(c.svid);
  }
  return row.text(c.code);
}

// Older competition files have no federation-id column; their participants are read as if
// it were empty instead of failing on the missing column.
bool HasSvidColumn(db::Connection& connection) {
  return connection.hasColumn(QStringLiteral("tblTeilnehmer"), QStringLiteral("svid"));
}

QString SvidColumn(bool hasSvid, const QString& written) {
  return hasSvid ? written : QStringLiteral("null as svid");
}

int ReportNoData(AppState& state, bool showMessage) {
  state.StartOrder.markEmpty();
  if (showMessage && state.Ui) state.Ui->message(kNoDataText, MsgIcon::Exclamation, kNoDataTitle);
  return -1;
}

// ---------------------------------------------------------------------------------------
// Run 1

GroupKey Run1Key(const QString& mode) {
  if (mode == u"keine Unterteilung" || mode == u"FIS-Reglement") return GroupKey::None;
  if (mode == u"Kategorie" || mode == u"KSF-Reglement" || mode == u"Kategorie / StartNr")
    return GroupKey::Kategorie;
  if (mode == u"Gruppe") return GroupKey::Gruppe;
  if (mode == u"Klasse" || mode == u"Klasse / Start-Nr") return GroupKey::Klasse;
  if (mode == u"Kategorie / IdNr") return GroupKey::KategorieId;
  return GroupKey::Startnummer;
}

// A statement of the orders in three parts, as db::ReadInOrder takes it: the column list,
// the rest up to the ORDER BY, the terms of the ORDER BY.
struct OrderStatement {
  QString columns, from, orderBy;
};

OrderStatement Run1Statement(GroupKey key, const QString& c, bool descending, bool klassenwertung,
                             bool hasSvid) {
  QString head = QStringLiteral("select t.id,t.startnr");
  QString middle =
      QStringLiteral(" as startnr,") + SvidColumn(hasSvid, QStringLiteral("t.svid")) +
      QStringLiteral(",t.code,t.nachname,t.vorname,t.jahrgang,t.nation,t.verein,t.pkte");
  QString group = QStringLiteral(" as punkte,k.klname as klasse,k.klname as klasse_nm ");
  QString from = QStringLiteral("from tblTeilnehmer t,tblKlasse k ");
  QString condition = QStringLiteral(" is not null and t.klasse=k.id ");
  QString order;

  const QString kategorieGroup =
      QStringLiteral(" as punkte,kt.kname as klasse,kt.kname as klasse_nm ");
  const QString kategorieFrom = QStringLiteral("from tblTeilnehmer t,tblKlasse k,tblKategorie kt ");
  const QString kategorieCondition =
      QStringLiteral(" is not null and t.klasse=k.id and k.geschlecht=kt.kat ");

  switch (key) {
    case GroupKey::None:
      head = QStringLiteral("select t.id,startnr");
      middle = QStringLiteral(" as startnr,") + SvidColumn(hasSvid, QStringLiteral("svid")) +
               QStringLiteral(",code,nachname,vorname,jahrgang,nation,verein,pkte");
      group = QStringLiteral(" as punkte,'-' as klasse,'-' as klasse_nm ");
      from = QStringLiteral("from tblTeilnehmer t ");
      condition = QStringLiteral(" is not null ");
      order = QStringLiteral("2");
      break;
    case GroupKey::Klasse:
      order = QStringLiteral("k.sortpos,2");
      break;
    case GroupKey::Startnummer:
      order = QStringLiteral("2");
      break;
    case GroupKey::Gruppe:
      // The club comes after the points here; the columns are read by name.
      middle = QStringLiteral(" as startnr,") + SvidColumn(hasSvid, QStringLiteral("t.svid")) +
               QStringLiteral(",t.code,t.nachname,t.vorname,t.jahrgang,t.nation,t.pkte");
      group = QStringLiteral(" as punkte,t.verein,g.grpname as klasse,g.grpname as klasse_nm ");
      from = QStringLiteral("from tblTeilnehmer t,tblKlasse k,tblGruppe g ");
      condition = QStringLiteral(" is not null and t.klasse=k.id and k.gruppe=g.id ");
      order = QStringLiteral("g.sortpos,2");
      break;
    case GroupKey::Kategorie:
      group = kategorieGroup;
      from = kategorieFrom;
      condition = kategorieCondition;
      order = QStringLiteral("kt.sortpos,2");
      break;
    case GroupKey::KategorieId:
      group = kategorieGroup;
      if (klassenwertung) {
        from = kategorieFrom;
        condition = kategorieCondition;
        order = QStringLiteral("k.sortpos,t.id");
      } else {
        from = QStringLiteral("from tblTeilnehmer t,tblKategorie kt ");
        condition = QStringLiteral(" is not null and t.sex=kt.kat ");
        order = QStringLiteral("kt.sortpos,t.id");
      }
      break;
  }

  OrderStatement sql{head + c + middle + c + group,
                     from + QStringLiteral("where ") + c +
                         QStringLiteral("aktiv = true and t.startnr") + c + condition,
                     order};
  // Within a category ordered by participant id the bib direction has no meaning.
  if (descending && key != GroupKey::KategorieId) sql.orderBy += QStringLiteral(" desc");
  return sql;
}

// The season's first year minus 12: the birth year of the youngest pupils, whose groups
// keep their bib order.
bool YoungestBirthYear(const QString& season, int* year) {
  bool ok = false;
  const int first = season.left(4).toInt(&ok);
  if (ok) *year = first - 12;
  return ok;
}

// ---------------------------------------------------------------------------------------
// Run 2

struct Run2Plan {
  GroupKey key;
  bool withNonFinishers;  // time column that sorts run-1 non-finishers behind the finishers
  const char* filter;
  const char* order;  // the terms of the ORDER BY
  int reverse;
};

Run2Plan PlanRun2(const QString& mode, int reverseCount, bool appendNonFinishers) {
  static const char* kFinishers = "and z.ergcode=0 ";
  static const char* kStarters = "and not z.ergcode=1 ";
  if (mode == u"FIS-Reglement") return {GroupKey::None, false, kFinishers, "2,3 desc", 30};
  if (mode == u"keine Unterteilung")
    return {GroupKey::None, false, kFinishers, "2,3 desc", reverseCount};
  if (mode == u"KSF-Reglement" || (mode == u"Kategorie" && reverseCount == 30))
    return {GroupKey::Kategorie, false, kFinishers, "kt.sortpos,2,3 desc", 30};
  if (appendNonFinishers || mode == u"U12 (SVQ)")
    return {GroupKey::Kategorie, true, kStarters, "kt.sortpos,2,3 desc", 30};
  if (mode == u"KSF-Schülerreglement")
    return {GroupKey::Kategorie, false, kFinishers, "kt.sortpos,2,3 desc", 30};
  if (mode == u"Kategorie")
    return {GroupKey::Kategorie, false, kFinishers, "kt.sortpos,2,3 desc", reverseCount};
  if (mode == u"St-Nr pro Klasse drehen")
    return {GroupKey::Klasse, false, kStarters, "k.sortpos,3 desc", 0};
  if (mode == u"St-Nr pro Gruppe drehen")
    return {GroupKey::Gruppe, false, kStarters, "g.sortpos,3 desc", 0};
  if (mode == u"Klasse" && reverseCount == 0)
    return {GroupKey::Klasse, false, kStarters, "k.sortpos,3", 0};
  if (mode == u"Klasse" && reverseCount > 0)
    return {GroupKey::Klasse, false, kFinishers, "k.sortpos,2,3 desc", reverseCount};
  if (mode == u"Nach Zeiten pro Klasse")
    return {GroupKey::Klasse, false, kFinishers, "k.sortpos,2 desc,3 desc", 0};
  if (mode == u"Nach Zeiten pro Gruppe" || (mode == u"Gruppe" && reverseCount > 30))
    return {GroupKey::Gruppe, false, kFinishers, "g.sortpos,2 desc,3 desc", 0};
  if (mode == u"Nach Zeiten pro Kategorie")
    return {GroupKey::Kategorie, false, kFinishers, "kt.sortpos,2 desc,3 desc", 0};
  return {GroupKey::Klasse, false, kStarters, "3", 0};
}

OrderStatement Run2Statement(const Run2Plan& plan, const QString& c, int d, bool hasSvid) {
  const QString timeColumn =
      plan.withNonFinishers
          ? QStringLiteral("switch(z.ergcode=0,laufzeit(z.netto),z.ergcode<>0,9000000) As Zeit")
          : QStringLiteral("laufzeit(z.netto) As Zeit");
  const QString person =
      QStringLiteral(" as punkte,") + SvidColumn(hasSvid, QStringLiteral("t.svid")) +
      QStringLiteral(",t.code,t.nachname,t.vorname,t.jahrgang,t.nation,t.verein,z.ergcode,");
  QString groupColumn, from, join;
  switch (plan.key) {
    case GroupKey::None:
      groupColumn = QStringLiteral("'-' as klasse ");
      from = QStringLiteral("from tblTeilnehmer t,tblZeit z ");
      break;
    case GroupKey::Gruppe:
      groupColumn = QStringLiteral("g.grpname as klasse ");
      from = QStringLiteral("from tblTeilnehmer t,tblKlasse k,tblGruppe g,tblZeit z ");
      join = QStringLiteral("and t.klasse=k.id and k.gruppe=g.id ");
      break;
    case GroupKey::Kategorie:
      groupColumn = QStringLiteral("kt.kname as klasse ");
      from = QStringLiteral("from tblTeilnehmer t,tblKlasse k,tblKategorie kt,tblZeit z ");
      join = QStringLiteral("and t.klasse=k.id and k.geschlecht=kt.kat ");
      break;
    default:
      groupColumn = QStringLiteral("k.klname as klasse ");
      from = QStringLiteral("from tblTeilnehmer t,tblKlasse k,tblZeit z ");
      join = QStringLiteral("and t.klasse=k.id ");
      break;
  }
  return {QStringLiteral("select t.id,") + timeColumn + QStringLiteral(",t.startnr") + c +
              QStringLiteral(" as startnr,t.pkte") + c + person + groupColumn,
          from + QStringLiteral("where t.id=z.teilnehmer ") + QStringLiteral("and t.") + c +
              QStringLiteral("aktiv = true ") + QStringLiteral("and t.startnr") + c +
              QStringLiteral(" is not null ") + join + QStringLiteral("and z.disziplin=") +
              QString::number(d) + QStringLiteral(" ") + QStringLiteral("and z.durchgang=1 ") +
              QLatin1String(plan.filter),
          QLatin1String(plan.order)};
}

// The run-1 result as the run-2 lists print it. A valid result without a usable stored
// time is damaged data: it shows as no time rather than as 00,00 or a negative time.
QString Run1ResultText(const db::RowReader& row, int ergcode, int time) {
  const int code = StoredResultCode(row.field(ergcode));
  const bool hasTime = !row.isNull(time);
  const double value = hasTime ? row.toDouble(time) : 0.0;
  if (code != 0 || value >= kNonFinisherTime) {
    if (code == 2) return kTextNiZ;
    if (code == 3) return kTextDis;
    return kTextNoTime;
  }
  // Not a number, infinite, negative or nothing at all: damaged, not a run time.
  if (!hasTime || !std::isfinite(value) || std::nearbyint(value) <= 0) return kTextNoTime;
  return RunTimeText(value);
}

}  // namespace

// ---------------------------------------------------------------------------------------

bool IsFinisherTimeText(const QString& zeit) {
  return zeit != kTextNiZ && zeit != kTextDis && zeit != kTextNoTime;
}

int BuildStartOrderRun1(AppState& state, const QString& mode, bool descending, int topCount,
                        const QString& clubDefault, bool showMessage) {
  if (!state.CompetitionDb) return ReportNoData(state, showMessage);
  db::Connection& connection = *state.CompetitionDb;
  const CompetitionSettings& settings = state.Settings;
  const GroupKey key = Run1Key(mode);
  const QString& c = state.CurrentDisciplineCode;

  const OrderStatement sql =
      Run1Statement(key, c, descending, CompetitionSettings::on(settings.klassenwertung),
                    HasSvidColumn(connection));
  const ShownColumns shown(settings);
  const bool punktewertung = CompetitionSettings::on(settings.punktewertung);

  // The rows go straight from the statement into the entries.
  StartOrderTable& table = state.StartOrder;
  table.beginLoad(static_cast<size_t>(std::max(table.count(), 0)));
  std::optional<CommonColumns> col;
  const std::vector<int> order = db::ReadInOrder(
      connection, sql.columns, sql.from, sql.orderBy,
      [&](const db::RowReader& row) {
        if (!col) col.emplace(row);
        StartOrderEntry& e = table.append();
        FillPerson(e, row, *col, shown, clubDefault);
        if (shown.code) e.code = CodeText(row, *col, false);
        if (punktewertung) e.punkte = PointsOf(row, col->punkte);
        e.klasse = row.repeatedText(col->klasse);
        // klasse_nm is the same column of the statement as klasse.
        e.klasse_nm = e.klasse;
      },
      [&] { table.beginLoad(); });
  const int count = table.endLoad(order);
  if (count == 0) return ReportNoData(state, showMessage);

  // Points races of the federation: pupils by class, the general class by category.
  const int typ = settings.typNumber();
  if (punktewertung &&
      ((key == GroupKey::Klasse && typ == 4) || (key == GroupKey::Kategorie && typ == 2))) {
    CorrectStartOrderByPoints(table, topCount, state.Season);
  }
  return count;
}

namespace {

// The points correction as one walk over the start order: each entry opens a group, joins a
// group opened earlier, stays in its group's place, or is moved forward in its group.
class PointsCorrection {
 public:
  PointsCorrection(StartOrderTable& table, int topCount, const QString& season)
      : table_(table),
        count_(table.count()),
        haveSeason_(YoungestBirthYear(season, &youngestYear_)),
        // A negative top block would let the opening entry of a group be moved before the
        // group has any place to receive it.
        top_(std::max(topCount, 0)),
        n_(top_),
        pred_(static_cast<size_t>(count_) + 2, 0) {
    for (int i = table.head().next, p = 0; i >= 1 && i <= count_; p = i, i = table[i].next)
      pred_[static_cast<size_t>(i)] = p;
  }

  void run() {
    for (int cur = table_.head().next; cur >= 1 && cur <= count_;) {
      const int nxt = table_[cur].next;
      const StartOrderEntry& e = table_[cur];
      // A group without a name (a class without a name) is a group like any other; the
      // first entry always opens one.
      const bool joined = (current_ < 0 || e.klasse_nm != currentName_) && enterGroup(cur, nxt);
      if (!joined) keepOrMove(cur, nxt);
      cur = nxt;
    }
  }

 private:
  static constexpr int kWholeGroup = std::numeric_limits<int>::max();

  // A group's chain from its first to its last kept entry, in start order: the entries it
  // kept and those moved into it. Kept as arrays so that a move scans contiguous points
  // instead of following links through the table.
  struct Group {
    std::vector<int> chain;
    std::vector<double> points;  // points of the chain's entries
    double maximum = 0;
  };

  // An entry of another group than the current one: it joins the group of its name opened
  // earlier (true: it was moved there), or opens a new group that becomes the current one.
  bool enterGroup(int cur, int nxt) {
    const StartOrderEntry& e = table_[cur];
    const auto found = groupByName_.constFind(e.klasse_nm);
    if (found != groupByName_.cend()) {
      moveInto(cur, nxt, groups_[static_cast<size_t>(found.value())]);
      return true;
    }
    current_ = static_cast<int>(groups_.size());
    groups_.emplace_back();
    groupByName_.insert(e.klasse_nm, current_);
    currentName_ = e.klasse_nm;
    kept_ = 0;
    // Only a known birth year can exempt a group; a group opened by an entry without one
    // is corrected like any other.
    bool haveYear = false;
    const int year = e.jahrgang.toInt(&haveYear);
    n_ = haveSeason_ && haveYear && year == youngestYear_ ? kWholeGroup : top_;
    return false;
  }

  // After the top block, an entry better than the one kept before it is moved forward;
  // every other entry stays and sets the threshold for the next.
  void keepOrMove(int cur, int nxt) {
    const StartOrderEntry& e = table_[cur];
    Group& g = groups_[static_cast<size_t>(current_)];
    if (e.punkte < threshold_ && kept_ > n_) {
      moveInto(cur, nxt, g);
      return;
    }
    g.chain.push_back(cur);
    g.points.push_back(e.punkte);
    ++kept_;
    if (e.punkte > g.maximum && kept_ <= n_) g.maximum = e.punkte;
    threshold_ = kept_ <= n_ ? g.maximum : e.punkte;
    prev_ = cur;
  }

  // Before the first entry after the top block that is worse than both the block's
  // maximum and the moved entry, else before the group's last kept entry.
  void moveInto(int cur, int nxt, Group& g) {
    const double curPoints = table_[cur].punkte;
    const size_t last = g.chain.size() - 1;
    size_t at = last;
    for (size_t i = static_cast<size_t>(std::min<qint64>(n_, static_cast<qint64>(last))); i < last;
         ++i) {
      if (g.points[i] > g.maximum && g.points[i] > curPoints) {
        at = i;
        break;
      }
    }
    relinkBefore(cur, nxt, g.chain[at]);
    // Placed before the group's first entry, it is no longer part of the group's chain.
    if (at > 0) {
      g.chain.insert(g.chain.begin() + static_cast<std::ptrdiff_t>(at), cur);
      g.points.insert(g.points.begin() + static_cast<std::ptrdiff_t>(at), curPoints);
    }
  }

  // Takes `cur` out after the last entry that stayed and links it in before `stop`.
  void relinkBefore(int cur, int nxt, int stop) {
    const int before = pred_[static_cast<size_t>(stop)];
    table_[before].next = cur;
    pred_[static_cast<size_t>(cur)] = before;
    table_[cur].next = stop;
    pred_[static_cast<size_t>(stop)] = cur;
    table_[prev_].next = nxt;
    if (nxt <= count_) pred_[static_cast<size_t>(nxt)] = prev_;
    table_[cur].moved = true;
  }

  StartOrderTable& table_;
  const int count_;
  int youngestYear_ = 0;
  const bool haveSeason_;
  const int top_;
  std::vector<Group> groups_;
  QHash<QString, int> groupByName_;
  int current_ = -1;  // index into groups_
  QString currentName_;
  int n_;         // top size in force
  int kept_ = 0;  // kept entries of the current group
  double threshold_ = 0;
  int prev_ = 0;  // the last entry that stayed in place
  // pred_[i]: the entry (or the head, 0) that links to entry i.
  std::vector<int> pred_;
};

}  // namespace

void CorrectStartOrderByPoints(StartOrderTable& table, int topCount, const QString& season) {
  if (table.count() <= 0) return;
  PointsCorrection(table, topCount, season).run();
}

int BuildStartOrderRun2(AppState& state, const QString& mode, int reverseCount,
                        bool appendNonFinishers, int maxPerGroup, const QString& clubDefault,
                        bool showMessage) {
  if (!state.CompetitionDb) return ReportNoData(state, showMessage);
  db::Connection& connection = *state.CompetitionDb;
  const Run2Plan plan = PlanRun2(mode, reverseCount, appendNonFinishers);

  const OrderStatement sql = Run2Statement(plan, state.CurrentDisciplineCode,
                                           state.CurrentDisciplineType, HasSvidColumn(connection));
  const ShownColumns shown(state.Settings);

  // The rows go straight from the statement into the entries.
  StartOrderTable& table = state.StartOrder;
  table.beginLoad(static_cast<size_t>(std::max(table.count(), 0)));
  std::optional<CommonColumns> col;
  int zeit = 0, ergcode = 0;
  const std::vector<int> order = db::ReadInOrder(
      connection, sql.columns, sql.from, sql.orderBy,
      [&](const db::RowReader& row) {
        if (!col) {
          col.emplace(row);
          zeit = row.column(QStringLiteral("Zeit"));
          ergcode = row.column(QStringLiteral("ergcode"));
        }
        StartOrderEntry& e = table.append();
        FillPerson(e, row, *col, shown, clubDefault);
        if (shown.code) e.code = CodeText(row, *col, true);
        e.punkte = PointsOf(row, col->punkte);
        e.klasse = row.repeatedText(col->klasse);
        e.zeit = Run1ResultText(row, ergcode, zeit);
      },
      [&] { table.beginLoad(); });

  // Only the first maxPerGroup entries of each group in the statement's order are taken.
  std::vector<int> taken;
  taken.reserve(order.size());
  QString group;
  int inGroup = 0;
  for (const int i : order) {
    const QString& klasse = table[i + 1].klasse;
    if (klasse != group) {
      group = klasse;
      inGroup = 0;
    }
    if (++inGroup <= maxPerGroup) taken.push_back(i);
  }
  const int count = table.endLoad(taken);
  if (order.empty()) return ReportNoData(state, showMessage);

  ReverseLeadingFinishers(table, plan.reverse);
  return count;
}

namespace {

QString LeftOutText(int noBib, int noClass, int rest) {
  auto racers = [](int n, const QString& why) {
    return (n == 1 ? QStringLiteral("1 gemeldeter Teilnehmer")
                   : QStringLiteral("%1 gemeldete Teilnehmer").arg(n)) +
           why;
  };
  QStringList parts;
  if (noBib > 0) parts << racers(noBib, QStringLiteral(" ohne Startnummer"));
  if (noClass > 0) parts << racers(noClass, QStringLiteral(" ohne Klasse"));
  if (rest > 0) parts << racers(rest, QStringLiteral(" ohne Gruppe oder Kategorie der Klasse"));
  if (parts.isEmpty()) return QString();
  return parts.join(QStringLiteral(" und ")) + QStringLiteral(" nicht in der Liste");
}

// A participant whose class number names no class.
const QString kWithoutClass = QStringLiteral(
    " and (t.klasse is null or not exists (select 1 from tblKlasse k where k.id = t.klasse))");

}  // namespace

QString LeftOutLine(const AppState& state, int listed, bool bibsNeeded) {
  if (!state.CompetitionDb) return QString();
  db::Connection& db = *state.CompetitionDb;
  const QString c = state.CurrentDisciplineCode;
  const QString entered = QStringLiteral("select count(*) from tblTeilnehmer t where ") + c +
                          QStringLiteral("aktiv = true");
  const int left = db.scalar(entered).toInt() - std::max(listed, 0);
  if (left <= 0) return QString();
  const QString withBib = QStringLiteral(" and t.startnr") + c + QStringLiteral(" is not null");
  const int noBib = bibsNeeded
                        ? std::min(left, db.scalar(entered + QStringLiteral(" and t.startnr") + c +
                                                   QStringLiteral(" is null"))
                                             .toInt())
                        : 0;
  const int noClass =
      std::min(left - noBib,
               db.scalar(entered + (bibsNeeded ? withBib : QString()) + kWithoutClass).toInt());
  return LeftOutText(noBib, noClass, left - noBib - noClass);
}

QString LeftOutLineRun2(const AppState& state, const QString& mode, int reverseCount,
                        bool appendNonFinishers) {
  const Run2Plan plan = PlanRun2(mode, reverseCount, appendNonFinishers);
  if (!state.CompetitionDb || plan.key == GroupKey::None) return QString();
  db::Connection& db = *state.CompetitionDb;
  const QString c = state.CurrentDisciplineCode;
  // Everybody the run-2 order would take if every class had its group and category.
  const QString candidates =
      QStringLiteral(
          "select count(*) from tblTeilnehmer t,tblZeit z where t.id=z.teilnehmer "
          "and t.") +
      c + QStringLiteral("aktiv = true and t.startnr") + c +
      QStringLiteral(" is not null and z.disziplin=") +
      QString::number(state.CurrentDisciplineType) + QStringLiteral(" and z.durchgang=1 ") +
      QLatin1String(plan.filter);
  const int noClass = db.scalar(candidates + kWithoutClass).toInt();
  int rest = 0;
  if (plan.key == GroupKey::Gruppe || plan.key == GroupKey::Kategorie) {
    const QString partner =
        plan.key == GroupKey::Gruppe
            ? QStringLiteral("select 1 from tblGruppe g where g.id = k.gruppe")
            : QStringLiteral("select 1 from tblKategorie kt where kt.kat = k.geschlecht");
    rest = db.scalar(candidates +
                     QStringLiteral(" and exists (select 1 from tblKlasse k where k.id = "
                                    "t.klasse and not exists (") +
                     partner + QStringLiteral("))"))
               .toInt();
  }
  return LeftOutText(0, noClass, rest);
}

void WarnUnknownRun1Codes(const AppState& state, const QString& output) {
  std::vector<UnknownCode> found =
      FindUnknownCodes(state.db(), state.CurrentDisciplineType, state.CurrentDisciplineCode, 1);
  std::unordered_set<int> listed;
  for (const int i : state.StartOrder.order()) listed.insert(state.StartOrder[i].id);
  std::erase_if(found, [&](const UnknownCode& u) { return listed.count(u.id) > 0; });
  ShowUnknownCodes(state, found, output);
}

void ReverseLeadingFinishers(StartOrderTable& table, int reverseCount) {
  const int count = table.count();
  if (reverseCount <= 0 || count <= 0) return;

  // linker[i]: the entry (or the head, 0) that links to entry i. Reversing a block changes
  // the link into the entry after it, so the entry before a later group's block is not
  // always the one loaded before it.
  std::vector<int> linker(static_cast<size_t>(count) + 2);
  for (int i = 1; i <= count + 1; ++i) linker[static_cast<size_t>(i)] = i - 1;

  for (int groupStart = 1; groupStart <= count;) {
    int groupEnd = groupStart;
    while (groupEnd <= count && table[groupEnd].klasse == table[groupStart].klasse) ++groupEnd;

    // The block starts at the group's first finisher: a damaged row without a time that the
    // database sorted to the top of the group never takes a finisher's place in the block.
    int blockStart = groupStart;
    while (blockStart < groupEnd && !IsFinisherTimeText(table[blockStart].zeit)) ++blockStart;

    int limit = reverseCount;
    int position = 0;
    for (int cur = blockStart; cur < groupEnd; ++cur) {
      ++position;
      const int nxt = cur + 1;
      const bool nxtInGroup = nxt < groupEnd;
      const bool nxtFinisher = nxtInGroup && IsFinisherTimeText(table[nxt].zeit);
      // Everybody tied with the last place of the block on the printed time joins it.
      if (position > 1 && position == limit && nxtFinisher && table[nxt].zeit == table[cur].zeit)
        ++limit;
      if (position == limit || !nxtFinisher) {
        const int before = linker[static_cast<size_t>(blockStart)];
        table[before].next = cur;
        for (int j = blockStart + 1; j <= cur; ++j) table[j].next = j - 1;
        table[blockStart].next = nxt;
        linker[static_cast<size_t>(nxt)] = blockStart;
        break;
      }
    }
    groupStart = groupEnd;
  }
}

}  // namespace kx
