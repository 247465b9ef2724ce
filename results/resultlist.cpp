#include "results/resultlist.h"

#include "common/appstate.h"
#include "common/resultcodes.h"
#include "common/textroutines.h"
#include "common/timetext.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "lists/listframe.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_set>

namespace kx {

namespace {

const QString kGesamtliste = QStringLiteral("Gesamtliste");

struct Division {
  bool found = false;
  std::optional<int> sortpos;
  QString name;
};

// A racer of the selection with what he is ranked by.
struct Candidate {
  const Racer* racer = nullptr;
  Division division;
  qint64 time = 0;
  qint64 intermediate = 0;
};

// Where a racer of the selection stands: not selected, selected without a valid time, or
// ranked with his time.
enum class Selection { Out, NotRanked, Ranked };

QString SectionTitle(int code, int run, bool perRun) {
  static const QString words[] = {QStringLiteral("Nicht am Start"), QStringLiteral("Nicht im Ziel"),
                                  QStringLiteral("Disqualifiziert")};
  const QString& word = words[code - 1];
  return perRun ? word + QStringLiteral("  %1. Durchgang").arg(run) : word;
}

int CompareSortpos(const std::optional<int>& a, const std::optional<int>& b) {
  if (a.has_value() != b.has_value()) return a.has_value() ? 1 : -1;
  if (!a) return 0;
  return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

bool BibLess(const Racer& a, const Racer& b) {
  if (a.bib != b.bib) return a.bib < b.bib;  // no bib first
  const int byName = db::CompareGerman(a.nachname, b.nachname);
  if (byName != 0) return byName < 0;
  const int byFirst = db::CompareGerman(a.vorname, b.vorname);
  if (byFirst != 0) return byFirst < 0;
  return a.id < b.id;
}

QString RunCell(const Racer& r, int run) {
  const RunRecord* rec = r.record(run);
  if (!rec) return QString();
  if (rec->code == 0) return rec->netto ? FormatRunTime(*rec->netto) : QString();
  return ResultWord(rec->code);
}

}  // namespace

QString ResultWord(int code) {
  switch (code) {
    case 1:
      return QStringLiteral("NaS");
    case 2:
      return QStringLiteral("NiZ");
    case 3:
      return QStringLiteral("Dis");
    default:
      return QString();
  }
}

bool BestRunType(int typ) {
  return typ == 6 || typ == 7 || typ == 12;
}

ResultColumns ResultColumnsFor(ResultLayout layout, bool nations, bool clubs) {
  ResultColumns c;
  c.layout = layout;
  if (layout != ResultLayout::Plain) {
    c.nameLimit = 570;
    c.yearRight = 1175;
    c.nationX = 1220;
    c.noteX = 1430;
    return c;
  }
  c.clubX = nations ? 1280 : 1200;
  c.clubLimit = nations ? 460 : 530;
  c.noteX = nations ? (clubs ? 1700 : 1280) : (clubs ? 1620 : 1200);
  return c;
}

namespace {

bool AllHaveResults(const RaceData& data, const ResultListRequest& req, bool sum) {
  return std::all_of(data.racers.begin(), data.racers.end(),
                     [&](const Racer& r) { return HasResult(r, req.run, req.totalList, sum); });
}

// The division a racer is listed under, by the list's grouping.
class Divisions {
 public:
  Divisions(const RaceData& data, const QString& grouping)
      : data_(data),
        kind_(grouping == QLatin1String("Klasse")      ? Kind::Class
              : grouping == QLatin1String("Gruppe")    ? Kind::Group
              : grouping == QLatin1String("Kategorie") ? Kind::Category
                                                       : Kind::None),
        classMode_(data.anyClass()) {}

  Division of(const Racer& r) const {
    switch (kind_) {
      case Kind::Class:
        if (const ClassRow* k = data_.classOf(r)) return {true, k->sortpos, k->name};
        return {};
      case Kind::Group:
        if (const NamedRow* g = data_.groupOf(r)) return {true, g->sortpos, g->name};
        return {};
      case Kind::Category:
        return classMode_ ? categoryOfClass(r) : ownCategory(r);
      case Kind::None:
        break;
    }
    return {true, std::nullopt, QString()};
  }

 private:
  enum class Kind { None, Class, Group, Category };

  Division categoryOfClass(const Racer& r) const {
    const ClassRow* k = data_.classOf(r);
    if (!k || !k->geschlecht) return {};
    const auto cat = data_.categories.find(*k->geschlecht);
    if (cat == data_.categories.end()) return {};
    return {true, cat->second.sortpos, cat->second.name};
  }

  // While nobody has a class, the category is the racer's own letter.
  Division ownCategory(const Racer& r) const {
    const QString sex = r.sex.value_or(QString());
    const auto cat = data_.categories.find(sex);
    if (cat == data_.categories.end()) return {true, std::nullopt, sex};
    return {true, cat->second.sortpos, cat->second.name};
  }

  const RaceData& data_;
  Kind kind_;
  bool classMode_;
};

// A split passed before (or at) the start is no intermediate time.
bool SplitBeforeStart(const RunRecord& rec) {
  return rec.split && rec.start && *rec.split <= *rec.start;
}

// Run mode: the time of the list's run, with the intermediate time where there is one.
Selection RunTime(const Racer& r, int n, Candidate& cand) {
  const RunRecord* rec = r.record(n);
  if (!rec || rec->code != 0 || !rec->netto) return Selection::Out;
  cand.time = std::llround(*rec->netto);
  if (rec->split && rec->start && !SplitBeforeStart(*rec))
    cand.intermediate = std::llround(*rec->split - *rec->start);
  return Selection::Ranked;
}

// Best-run mode: the fastest valid run up to the last.
Selection BestRunTime(const Racer& r, int n, Candidate& cand) {
  std::optional<double> best;
  for (const RunRecord& rec : r.runs) {
    if (rec.run <= n && rec.code == 0 && rec.netto && (!best || *rec.netto < *best))
      best = rec.netto;
  }
  if (!best) return Selection::Out;
  cand.time = std::llround(*best);
  return Selection::Ranked;
}

// Sum mode: every run up to the last added; a failure in any of them leaves the racer
// selected but not ranked.
Selection SumTime(const Racer& r, int n, Candidate& cand) {
  bool any = false;
  bool failed = false;
  double total = 0;
  for (const RunRecord& rec : r.runs) {
    if (rec.run > n) continue;
    any = true;
    if (rec.code != 0) failed = true;
    total += rec.netto.value_or(0);
  }
  if (!any) return Selection::Out;
  if (failed) return Selection::NotRanked;
  cand.time = std::llround(total);
  return Selection::Ranked;
}

// Whether a valid record of the list's run carries an intermediate time.
bool HasSplit(const Racer& r, int n) {
  const RunRecord* rec = r.record(n);
  return rec && rec->code == 0 && rec->split && !SplitBeforeStart(*rec);
}

// The racers of the list with their divisions and times, in the order of the racers.
std::vector<Candidate> SelectCandidates(const RaceData& data, const ResultListRequest& req,
                                        bool bestRun, bool& anySplit) {
  const Divisions divisions(data, req.grouping);
  const int n = req.run;
  std::vector<Candidate> candidates;
  candidates.reserve(data.racers.size());
  for (const Racer& r : data.racers) {
    if (!req.totalList && HasSplit(r, n)) anySplit = true;
    Candidate cand{&r, divisions.of(r), 0, 0};
    if (!cand.division.found) continue;
    const Selection selection = !req.totalList ? RunTime(r, n, cand)
                                : bestRun      ? BestRunTime(r, n, cand)
                                               : SumTime(r, n, cand);
    if (selection == Selection::Ranked) candidates.push_back(std::move(cand));
  }
  return candidates;
}

// The order of the list: divisions by sort position (Null first) and name, then time,
// surname and first name.
bool ListOrder(const Candidate& a, const Candidate& b) {
  if (int c = CompareSortpos(a.division.sortpos, b.division.sortpos)) return c < 0;
  if (int c = db::CompareGerman(a.division.name, b.division.name)) return c < 0;
  if (a.time != b.time) return a.time < b.time;
  if (int c = db::CompareGerman(a.racer->nachname, b.racer->nachname)) return c < 0;
  if (int c = db::CompareGerman(a.racer->vorname, b.racer->vorname)) return c < 0;
  return a.racer->id < b.racer->id;
}

ResultLayout LayoutOf(const ResultListRequest& req, bool anySplit) {
  if (!req.totalList && anySplit) return ResultLayout::Intermediate;
  if (req.totalList && req.run > 1) return ResultLayout::PerRun;
  return ResultLayout::Plain;
}

// A ranked racer's row without its rank and gap.
RankedRow RankedRowOf(const Candidate& cand, const ResultListRequest& req, ResultLayout layout) {
  const Racer& r = *cand.racer;
  RankedRow row;
  row.id = r.id;
  row.time = cand.time;
  row.intermediate = cand.intermediate;
  row.bib = r.bibText();
  if (req.codes) row.idText = r.idText();
  row.name = r.fullName();
  if (req.years) row.year = r.shortYear();
  row.club = req.clubs && r.verein ? *r.verein : kNoClub;
  if (req.nations && r.nation) row.nation = *r.nation;
  row.division = cand.division.name;
  if (layout == ResultLayout::PerRun) {
    row.run1 = RunCell(r, 1);
    row.run2 = RunCell(r, 2);
  }
  return row;
}

// Ranks each division from its leader: equal times share the rank of the first of them,
// the gap is measured to the division's first time.
void RankDivisions(const std::vector<Candidate>& candidates, const ResultListRequest& req,
                   ResultLayout layout, std::vector<RankedRow>& ranked) {
  ranked.reserve(candidates.size());
  int position = 0;
  qint64 previous = 0;
  qint64 leader = 0;
  const QString* division = nullptr;
  for (const Candidate& cand : candidates) {
    if (!division || cand.division.name != *division) {
      division = &cand.division.name;
      position = 0;
      leader = cand.time;
    }
    ++position;
    RankedRow row = RankedRowOf(cand, req, layout);
    if (position == 1 || previous != cand.time) row.rank = QString::number(position) + '.';
    previous = cand.time;
    row.diff = cand.time - leader;
    ranked.push_back(std::move(row));
  }
}

// The runs whose sections are printed, each with whether its titles name the run: one set
// of untitled sections where the type ranks by the best run or the discipline has one run.
std::vector<std::pair<int, bool>> SectionRuns(const ResultListRequest& req) {
  const bool perRunForm = !BestRunType(req.typ) && req.runCount != 1;
  std::vector<std::pair<int, bool>> runs;  // run, per-run title
  if (!perRunForm) {
    runs.push_back({1, false});
  } else if (req.totalList) {
    for (int k = 1; k <= std::max(req.runCount, 1); ++k) runs.push_back({k, true});
  } else {
    runs.push_back({req.run, true});
  }
  return runs;
}

std::vector<const Racer*> InBibOrder(const RaceData& data) {
  std::vector<const Racer*> byBib;
  byBib.reserve(data.racers.size());
  for (const Racer& r : data.racers) byBib.push_back(&r);
  std::sort(byBib.begin(), byBib.end(),
            [](const Racer* a, const Racer* b) { return BibLess(*a, *b); });
  return byBib;
}

bool HasValidRun(const Racer& r) {
  return std::any_of(r.runs.begin(), r.runs.end(), [](const RunRecord& x) { return x.code == 0; });
}

SectionRow SectionRowOf(const Racer& r, const RunRecord& rec, const ResultListRequest& req,
                        bool bestRunType) {
  SectionRow row;
  row.id = r.id;
  row.bib = r.bibText();
  if (req.codes) row.idText = r.idText();
  row.name = r.fullName();
  if (req.years) row.year = r.shortYear();
  if (req.nations && r.nation) row.nation = *r.nation;
  if (req.clubs && r.verein) row.club = *r.verein;
  if (rec.code == 3 && rec.disqualtext && !bestRunType) row.note = *rec.disqualtext;
  return row;
}

// The sections of the racers without a valid time, run by run: did not start (unless
// suppressed), did not finish, disqualified, each in bib order. Where the type ranks by
// the best run, a racer with any valid run is in none of them.
void NotRankedSections(const RaceData& data, const ResultListRequest& req, ResultListModel& model) {
  const bool bestRunType = BestRunType(req.typ);
  const std::vector<const Racer*> byBib = InBibOrder(data);
  std::unordered_set<int> notRanked;
  for (const auto& [run, perRun] : SectionRuns(req)) {
    for (int code = 1; code <= 3; ++code) {
      if (code == 1 && req.suppressNotStarted) continue;
      NotRankedSection section{run, code, SectionTitle(code, run, perRun), {}};
      for (const Racer* r : byBib) {
        const RunRecord* rec = r->record(run);
        if (!rec || rec->code != code) continue;
        if (bestRunType && HasValidRun(*r)) continue;
        notRanked.insert(r->id);
        section.rows.push_back(SectionRowOf(*r, *rec, req, bestRunType));
      }
      model.sections.push_back(std::move(section));
    }
  }
  model.notRankedCount = static_cast<int>(notRanked.size());
}

}  // namespace

ResultListModel ComputeResultList(const RaceData& data, const ResultListRequest& req) {
  ResultListModel model;
  const bool bestRun = req.totalList && BestRunType(req.typ);
  if (!AllHaveResults(data, req, req.totalList && !bestRun)) {
    model.complete = false;
    return model;
  }
  bool anySplit = false;
  std::vector<Candidate> candidates = SelectCandidates(data, req, bestRun, anySplit);
  std::sort(candidates.begin(), candidates.end(), ListOrder);
  const ResultLayout layout = LayoutOf(req, anySplit);
  model.columns = ResultColumnsFor(layout, req.nations, req.clubs);
  RankDivisions(candidates, req, layout, model.ranked);
  NotRankedSections(data, req, model);
  return model;
}

namespace {

// The right end of the list's columns (under "Diff").
constexpr int kRightEnd = 2005;

// The pages of one result list on the frame's document.
class ResultListPages {
 public:
  ResultListPages(const AppState& state, PdfListFrame& frame, const ResultListModel& model,
                  const ResultListRequest& req)
      : frame_(frame), pen_(frame.pen()), model_(model), req_(req), col_(model.columns) {
    title_ = req.totalList ? QStringLiteral("ERGEBNISLISTE")
                           : QStringLiteral("ERGEBNISLISTE  %1. Durchgang").arg(req.run);
    credit_ = StartListCreditLine(state.CreditLine);
    heads_ = {HeadRightAt(QStringLiteral("Rang"), 235, 100),
              HeadRightAt(QStringLiteral("Stnr"), 365), HeadRightAt(QStringLiteral("Code"), 540)};
    const bool plain = col_.layout == ResultLayout::Plain;
    heads_.push_back(HeadAt(
        !plain && req.clubs ? QStringLiteral("Teilnehmer + Verein") : QStringLiteral("Teilnehmer"),
        560));
    if (req.years) heads_.push_back(HeadRightAt(QStringLiteral("JG"), col_.yearRight));
    if (req.nations) heads_.push_back(HeadAt(QStringLiteral("VB"), plain ? 1078 : col_.nationX));
    if (plain && req.clubs) heads_.push_back(HeadAt(QStringLiteral("Verein"), col_.clubX));
    if (col_.layout == ResultLayout::Intermediate) {
      heads_.push_back(HeadRightAt(QStringLiteral("Zw.Zeit"), 1625));
    } else if (col_.layout == ResultLayout::PerRun) {
      heads_.push_back(HeadRightAt(QStringLiteral("Zeit-1"), 1500));
      heads_.push_back(HeadRightAt(QStringLiteral("Zeit-2"), 1675));
    }
    heads_.push_back(HeadRightAt(
        plain && !req.totalList ? QStringLiteral("Laufzeit") : QStringLiteral("Total"), 1840));
    heads_.push_back(HeadRightAt(QStringLiteral("Diff"), 2005));
  }

  void rankedRows() {
    for (const RankedRow& row : model_.ranked) {
      const bool same = row.division == last_;
      if (y_ > frame_.limit(2610) || (!same && y_ > frame_.limit(2420))) {
        if (!same) last_.clear();
        rankedPage();
      }
      if (row.division != last_) {
        if (!last_.isEmpty()) y_ += 30;
        underlined(row.division);
        last_ = row.division;
        y_ += 53;
      }
      rankedRow(row);
    }
  }

  void sections() {
    for (const NotRankedSection& section : model_.sections) {
      for (const SectionRow& row : section.rows) {
        if (y_ > frame_.limit(2610) || (section.title != last_ && y_ > frame_.limit(2420)))
          sectionPage();
        if (section.title != last_) {
          y_ += 30;
          underlined(section.title);
          last_ = section.title;
          y_ += 63;
        }
        sectionRow(row, section.code);
      }
    }
  }

  void statistics() {
    if (y_ > frame_.limit(2410)) sectionPage();
    const int ranked = static_cast<int>(model_.ranked.size());
    y_ += 80;
    size(10);
    bold(true);
    pen_.textOut(100, y_, QStringLiteral("Bewerbsstatistik"));
    y_ += 53;
    bold(false);
    const std::pair<QString, int> lines[] = {
        {QStringLiteral("Gemeldete Teilnehmer:"), ranked + model_.notRankedCount},
        {QStringLiteral("Gewertete Teilnehmer:"), ranked},
        {QStringLiteral("Ausgeschiedene Teilnehmer:"), model_.notRankedCount}};
    bool first = true;
    for (const auto& [label, count] : lines) {
      if (!first) y_ += 43;
      first = false;
      pen_.textOut(100, y_, label);
      pen_.rightAt(690, y_, QString::number(count));
    }
  }

 private:
  void rankedPage() {
    frame_.useLogo1File(true);
    y_ = frame_.StartListPage(++page_, title_, heads_, credit_);
    size_ = 0;
    bold_ = -1;
  }

  // A new page for the sections and the statistics: the page head without column heads.
  void sectionPage() {
    frame_.useLogo1File(false);
    frame_.StartListPage(++page_, title_, {}, credit_);
    size_ = 0;
    bold_ = -1;
    y_ = 450;
  }

  // The font as the rows need it; each change makes the writer set up its font again, so
  // only real changes are passed on. A page start leaves the font unknown (0 and -1).
  void size(int points) {
    if (size_ == points) return;
    pen_.setSize(points);
    size_ = points;
  }
  void bold(bool on) {
    if (bold_ == (on ? 1 : 0)) return;
    pen_.setBold(on);
    bold_ = on ? 1 : 0;
  }

  // A division or section title, up to the right end of the list.
  void underlined(const QString& title) {
    size(10);
    bold(true);
    const QString text = pen_.cut(title, kRightEnd - 560);
    pen_.textOut(560, y_, text);
    pen_.setLineWidth(3);
    pen_.line(560, y_ + 38, 560 + pen_.textWidth(text), y_ + 38);
  }

  // Name at 560, shrunk to the column; returns its drop.
  int name(const QString& text) {
    size(9);
    if (pen_.textWidth(text) < col_.nameLimit) {
      pen_.textOut(560, y_, text);
      return 0;
    }
    const int drop = pen_.fit(text, 9, col_.nameLimit);
    pen_.textOut(560, y_ + drop, pen_.cut(text, col_.nameLimit));
    size_ = 0;
    size(9);
    return drop;
  }

  // The nation's column ends where the row goes on: at the club column or the note in the
  // plain layout, else at the note or before the widest time of run 1's column.
  int nationRoom() {
    if (col_.layout == ResultLayout::Plain) return std::min(col_.clubX, col_.noteX) - col_.nationX;
    int end = col_.noteX;
    if (col_.layout == ResultLayout::PerRun)
      end = std::min(end, 1500 - pen_.textWidth(QStringLiteral("00:00,00")) - 15);
    return end - col_.nationX;
  }

  // The club in the plain layout's club column, shrunk to `limit`.
  void plainClub(const QString& club, int limit) {
    size(9);
    if (pen_.textWidth(club) < limit) {
      pen_.textOut(col_.clubX, y_, club);
      return;
    }
    const int drop = pen_.fit(club, 9, limit);
    pen_.textOut(col_.clubX, y_ + drop, pen_.cut(club, limit));
    size_ = 0;
    size(9);
  }

  // The club on its own line under the name, within the name's column.
  void clubLine(const QString& club, int drop) {
    size(8);
    pen_.textOut(560, y_ + drop, pen_.cut(club, col_.nameLimit));
    size(9);
  }

  void rankedRow(const RankedRow& row) {
    size(9);
    bold(false);
    if (!row.rank.isEmpty()) pen_.rightAt(235, y_, row.rank, 100);
    pen_.rightAt(365, y_, row.bib);
    if (req_.codes && !row.idText.isEmpty()) pen_.rightAt(540, y_, row.idText);
    const int drop = name(row.name);
    if (!row.year.isEmpty()) pen_.rightAt(col_.yearRight, y_, row.year);
    if (!row.nation.isEmpty()) pen_.textOut(col_.nationX, y_, pen_.cut(row.nation, nationRoom()));
    switch (col_.layout) {
      case ResultLayout::Intermediate:
        if (row.intermediate != 0) pen_.rightAt(1625, y_, FormatRunTime(row.intermediate));
        break;
      case ResultLayout::PerRun:
        if (!row.run1.isEmpty()) pen_.rightAt(1500, y_, row.run1);
        if (!row.run2.isEmpty()) pen_.rightAt(1675, y_, row.run2);
        break;
      case ResultLayout::Plain:
        if (req_.clubs) plainClub(row.club, col_.clubLimit);
        break;
    }
    pen_.rightAt(1840, y_, FormatRunTime(row.time));
    if (row.diff != 0) pen_.rightAt(2005, y_, FormatRunTime(row.diff));
    if (col_.layout != ResultLayout::Plain && req_.clubs) {
      y_ += 40;
      if (row.club != kNoClub) {
        clubLine(row.club, drop);
      }
    }
    y_ += 43;
  }

  void sectionRow(const SectionRow& row, int code) {
    size(9);
    bold(false);
    pen_.rightAt(365, y_, row.bib);
    if (req_.codes && !row.idText.isEmpty()) pen_.rightAt(540, y_, row.idText);
    const int drop = name(row.name);
    if (!row.year.isEmpty()) pen_.rightAt(col_.yearRight, y_, row.year);
    if (!row.nation.isEmpty()) pen_.textOut(col_.nationX, y_, pen_.cut(row.nation, nationRoom()));
    const bool note = code == 3 && !row.note.isEmpty();
    if (note) pen_.textOut(col_.noteX, y_, pen_.cut(row.note, kRightEnd - col_.noteX));
    if (!row.club.isEmpty()) {
      if (col_.layout != ResultLayout::Plain) {
        y_ += 40;
        clubLine(row.club, drop);
      } else {
        // Where the note follows the club on its line, the club ends before it.
        plainClub(row.club, note && col_.noteX > col_.clubX
                                ? std::min(col_.clubLimit, col_.noteX - col_.clubX - 15)
                                : col_.clubLimit);
      }
    }
    y_ += 43;
  }

  PdfListFrame& frame_;
  pdf::PdfPen& pen_;
  const ResultListModel& model_;
  const ResultListRequest& req_;
  const ResultColumns& col_;
  QString title_, credit_;
  std::vector<ColumnHead> heads_;
  QString last_;  // division or section title printed last
  int y_ = 3000;
  int page_ = 0;
  int size_ = 0;
  int bold_ = -1;
};

}  // namespace

ResultLine WriteResultList(const AppState& state, const ResultListOptions& options) {
  const int d = state.CurrentDisciplineType;
  const CompetitionSettings& s = state.Settings;
  ResultListRequest req;
  req.totalList = options.run == kGesamtliste;
  req.grouping = options.grouping;
  req.typ = s.typNumber();
  req.suppressNotStarted = options.suppressNotStarted;
  req.codes = CompetitionSettings::on(s.code_aktiv);
  req.years = CompetitionSettings::on(s.jahrgang_aktiv);
  req.clubs = CompetitionSettings::on(s.verein_aktiv);
  req.nations = CompetitionSettings::on(s.nation_aktiv);
  // Without an event row the runs of the discipline as the program knows them.
  const db::Field runs = state.db().scalar(
      QStringLiteral("select durchgaenge from tblDisziplin where dtyp = ") + QString::number(d));
  req.runCount = runs.isNull() ? state.RunCount : runs.toInt();
  req.run = req.totalList ? std::max(req.runCount, 1) : options.run.toInt();
  if (req.run < 1) return ResultLine{};

  const RaceData data = ReadRaceData(state.db(), d, state.CurrentDisciplineCode);
  const ResultListModel model = ComputeResultList(data, req);
  if (!model.complete) {
    state.Ui->message(
        QStringLiteral("Ergebnisliste kann nicht erstellt werden, da nicht für "
                       "alle Teilnehmer ein Ergebnis vorliegt"));
    return ResultLine{};
  }

  PdfListFrame frame(state, {QStringLiteral("Ergebnisliste"), QStringLiteral("-Ergebnisliste-"),
                             QStringLiteral("Ergebnisliste ")});
  if (!frame.OpenDoc(options.openAfterOutput)) return frame.result();
  WarnUnknownCodes(state, QStringLiteral("Ergebnisliste"), req.totalList ? 0 : req.run,
                   req.totalList && BestRunType(req.typ));
  frame.ReadListEvent();
  // The foot of the result list carries the result date.
  frame.event().listDate = frame.event().datum_rangliste;
  frame.ReadListHeadTexts();
  if (model.ranked.empty()) {
    // Nobody ranked: no list, whatever its not-ranked sections hold.
    ReportNoData(*state.Ui);
    frame.FinishDoc(0);
    return frame.result();
  }

  ResultListPages pages(state, frame, model, req);
  pages.rankedRows();
  pages.sections();
  pages.statistics();
  frame.FinishDoc(static_cast<int>(model.ranked.size()));
  return frame.result();
}

}  // namespace kx
