#include "handtime/runtimetakeover.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "db/storedtime.h"
#include "devices/handtimetext.h"
#include "handtime/handtimenumbers.h"
#include "handtime/handtimeprotocol.h"

#include <QHash>

#include <cmath>

namespace kx {

namespace {

const QString kDash = QStringLiteral("-");
const QString kRnd = QStringLiteral("rnd");
// A refused comparison: another row's difference above 5,00 s.
constexpr qint64 kLargestDifference = 500;

double Parsed(const QString& text) {
  return ParseHandTime(text).value_or(0.0);
}

std::vector<HandColumn> HandListColumns(bool withId) {
  std::vector<HandColumn> columns{
      {QStringLiteral("St-Nr"), QStringLiteral("St-Nr"), 600, HandAlign::Left},
      {QStringLiteral("Handzeit"), QStringLiteral("Handzeit"), 1050, HandAlign::Center}};
  if (withId) columns.push_back({QStringLiteral("Id"), QStringLiteral("Id"), 1, HandAlign::Center});
  return columns;
}

std::vector<HandColumn> ComparisonColumns() {
  return {{QStringLiteral("St-Nr"), QStringLiteral("St-Nr"), 600, HandAlign::Left},
          {QStringLiteral("el.Zeit"), QStringLiteral("el.Zeit"), 1050, HandAlign::Center},
          {QStringLiteral("Handzeit"), QStringLiteral("Handzeit"), 1050, HandAlign::Center},
          {QStringLiteral("Differenz"), QStringLiteral("Diff."), 600, HandAlign::Right}};
}

// Thrown by the store when the racer is no longer in the competition file.
struct RacerGone {};

// Moves the selection of a list one row on, unless it is on the last row.
void SelectNext(HandRowModel& list, int selected) {
  if (selected < list.count() - 1) list.select(selected + 1);
}

}  // namespace

RunTimeTakeover::RunTimeTakeover(AppState& state) : state_(state) {
  writeProtocol = [this](const ProtocolEvent& event, const std::function<void()>& store) {
    return WriteRunTimeProtocol(state_, *this, event, store);
  };
}

void RunTimeTakeover::message(const QString& text) {
  state_.Ui->message(text);
}

void RunTimeTakeover::ColourSelection(HandRowModel& list) {
  const int selected = list.selected();
  for (int i = 0; i < list.count(); ++i) {
    const bool on = i == selected;
    const HandCell& cell = list.cell(i, rtcol::kHand);
    if (cell.bold != on) list.setMarked(i, rtcol::kHand, on);
  }
}

void RunTimeTakeover::fill(HandRowModel& list, bool start) {
  const std::vector<HandTime>& store = start ? state_.HzStart : state_.HzZiel;
  const bool assigned = start ? startAssigned_ : finishAssigned_;
  if (!list.hasColumns()) list.setColumns(HandListColumns(start));
  const int size = static_cast<int>(store.size());
  int first = 0;
  if (assigned) {
    // The rows keep their bibs; only the times are read again. Entries that came after
    // the list was built are added as rows without a bib.
    first = std::min(size, list.count());
    for (int i = 0; i < first; ++i) {
      list.setText(i, rtcol::kHand, FormatHandTime(store[static_cast<size_t>(i)].dayTime, kRnd));
    }
  } else {
    list.clear();
  }
  for (int i = first; i < size; ++i) {
    QStringList texts{kDash, FormatHandTime(store[static_cast<size_t>(i)].dayTime, kRnd)};
    if (start) texts << QStringLiteral("0");
    list.addRow(QStringLiteral("N") + QString::number(i + 1), texts);
  }
  ColourSelection(list);
}

void RunTimeTakeover::Open(int run) {
  startAssigned_ = false;
  finishAssigned_ = false;
  Compare(run);
}

void RunTimeTakeover::Compare(int run) {
  builtRun_ = run;
  fill(starts_, true);
  fill(finishes_, false);
  if (!comparison_.hasColumns()) comparison_.setColumns(ComparisonColumns());
  comparison_.clear();
  replacementRow_ = -1;

  // The run's electronic run times by bib, read once.
  const db::Recordset rs = state_.db().query(
      QStringLiteral("select t.startnr") + state_.CurrentDisciplineCode +
      QStringLiteral(" as bib,z.netto as netto from tblZeit z,tblTeilnehmer t "
                     "where z.teilnehmer=t.id and z.disziplin=") +
      QString::number(state_.CurrentDisciplineType) + QStringLiteral(" and z.durchgang=") +
      QString::number(run) + QStringLiteral(" and z.netto is not null order by z.teilnehmer"));
  QHash<QString, double> netto;
  for (int i = 0; i < rs.count(); ++i) {
    if (rs.at(i, 0).isNull()) continue;
    if (const std::optional<double> day = db::StoredRunTime(rs.at(i, 1)))
      netto.insert(rs.at(i, 0).toString(), *day);
  }
  // The finish hand time of each bib: the last row that carries it.
  QHash<QString, QString> finishOf;
  for (int j = 0; j < finishes_.count(); ++j) {
    const QString& bib = finishes_.text(j, rtcol::kBib);
    if (bib != kDash) finishOf.insert(bib, finishes_.text(j, rtcol::kHand));
  }

  for (int i = 0; i < starts_.count(); ++i) {
    const QString& bib = starts_.text(i, rtcol::kBib);
    if (bib == kDash) continue;
    const double start = Parsed(starts_.text(i, rtcol::kHand));
    const double finish = Parsed(finishOf.value(bib));
    if (finish <= 0) continue;
    const auto found = netto.constFind(bib);
    const double electronic = found == netto.constEnd() ? 0.0 : found.value();
    if (found == netto.constEnd()) replacementRow_ = comparison_.count();
    const int n = comparison_.count() + 1;
    comparison_.addRow(
        QStringLiteral("N") + QString::number(n),
        {bib, FormatHandTime(electronic, kRnd), FormatHandTime(finish - start, kRnd),
         HundredthsText(static_cast<double>(DayToHundredths(finish - start - electronic)))});
  }
  if (replacementRow_ < 0) return;

  // The mean difference of the other rows; one above 5,00 s refuses the calculation.
  qint64 sum = 0;
  int used = 0;
  for (int k = 0; k < comparison_.count(); ++k) {
    if (k == replacementRow_) continue;
    const qint64 d = ReadHundredths(comparison_.text(k, cmpcol::kDiff));
    if (d > kLargestDifference) {
      replacementRow_ = -1;
      return;
    }
    sum += d;
    ++used;
  }
  const double meanHundredths = used > 0 ? static_cast<double>(sum) / used : 0.0;
  const double replacement =
      Parsed(comparison_.text(replacementRow_, cmpcol::kHand)) - meanHundredths / kHundredthsPerDay;
  if (DayToHundredths(replacement) <= 0) {
    replacementRow_ = -1;
    return;
  }
  comparison_.setText(replacementRow_, cmpcol::kDiff, HundredthsText(meanHundredths));
  comparison_.setMarked(replacementRow_, cmpcol::kDiff, true);
  comparison_.setText(replacementRow_, cmpcol::kElectronic, FormatHandTime(replacement, kRnd));
  comparison_.setMarked(replacementRow_, cmpcol::kElectronic, true);
}

int RunTimeTakeover::participantOf(int bib) {
  const db::Recordset rs =
      state_.db().query(QStringLiteral("select id from tblTeilnehmer where startnr") +
                            state_.CurrentDisciplineCode + QStringLiteral("=?"),
                        {bib});
  int id = 0;
  for (int i = 0; i < rs.count(); ++i) id = rs.at(i, 0).toInt();
  return id;
}

bool RunTimeTakeover::AssignStart(const QString& bibText) {
  return assign(starts_, true, bibText);
}

bool RunTimeTakeover::AssignFinish(const QString& bibText) {
  return assign(finishes_, false, bibText);
}

bool RunTimeTakeover::assign(HandRowModel& list, bool start, const QString& typed) {
  if (typed.isEmpty()) {
    message(start ? QStringLiteral("Bitte die Startnummer für die Start-Handzeit eingeben")
                  : QStringLiteral("Bitte die Startnummer für die Ziel-Handzeit eingeben"));
    return false;
  }
  const std::optional<int> bib = DigitsBib(typed);
  if (!bib) {
    message(QStringLiteral("Die Startnummer bitte als Zahl eingeben"));
    return false;
  }
  // The bib as the competition file writes it ("012" is bib 12).
  const QString bibText = QString::number(*bib);
  const int id = participantOf(*bib);
  if (id == 0) {
    message(QStringLiteral("Die Startnummer ") + bibText + QStringLiteral(" war nicht am Start"));
    return false;
  }
  const int sel = list.selected();
  if (sel < 0) {
    message(QStringLiteral("Bitte eine Zeile mit einer Handzeit selektieren"));
    return false;
  }
  if (list.text(sel, rtcol::kBib) != kDash) {
    message(QStringLiteral("Dieser Handzeit ist bereits die Startnummer ") +
            list.text(sel, rtcol::kBib) + QStringLiteral(" zugeordnet"));
    return false;
  }
  // A finish hand time must lie after the start hand time of the same bib.
  const double selected = Parsed(list.text(sel, rtcol::kHand));
  const HandRowModel& other = start ? finishes_ : starts_;
  for (int j = 0; j < other.count(); ++j) {
    if (other.text(j, rtcol::kBib) != bibText) continue;
    const double otherTime = Parsed(other.text(j, rtcol::kHand));
    if (DayToHundredths(start ? otherTime - selected : selected - otherTime) <= 0) {
      message(QStringLiteral("Die Ziel-Handzeit der Startnummer ") + bibText +
              QStringLiteral(" liegt nicht nach ihrer Start-Handzeit!"));
      return false;
    }
  }

  for (int i = 0; i < list.count(); ++i) {
    if (list.text(i, rtcol::kBib) == bibText) list.setText(i, rtcol::kBib, kDash);
  }
  list.setText(sel, rtcol::kBib, bibText);
  if (start) {
    list.setText(sel, rtcol::kId, QString::number(id));
    startAssigned_ = true;
  } else {
    finishAssigned_ = true;
  }
  SelectNext(list, sel);
  ColourSelection(list);

  if (start) {
    bool hasFinish = false;
    for (int j = 0; j < finishes_.count() && !hasFinish; ++j) {
      hasFinish = finishes_.text(j, rtcol::kBib) == bibText;
    }
    if (!hasFinish) {
      // The racer has an electronic run time: the finish hand time nearest to where he
      // should have finished, strictly inside 2 s, gets his bib.
      const db::Recordset rs = state_.db().query(
          QStringLiteral("select netto from tblZeit where teilnehmer=? and disziplin=? and "
                         "durchgang=? and netto is not null"),
          {id, state_.CurrentDisciplineType, builtRun_});
      double netto = 0;
      for (int i = 0; i < rs.count(); ++i) netto = db::StoredRunTime(rs.at(i, 0)).value_or(0);
      if (netto > 0) {
        const double expected = selected + netto;
        int best = -1;
        double bestDistance = 2.0 - 1e-6;
        for (int j = 0; j < finishes_.count(); ++j) {
          if (finishes_.text(j, rtcol::kBib) != kDash) continue;
          const double t = Parsed(finishes_.text(j, rtcol::kHand));
          const double distance = std::abs(t - expected) * 86400.0;
          if (distance < bestDistance && DayToHundredths(t - selected) > 0) {
            best = j;
            bestDistance = distance;
          }
        }
        if (best >= 0) {
          finishes_.setText(best, rtcol::kBib, bibText);
          finishAssigned_ = true;
        }
      }
    }
  }
  Compare(builtRun_);
  return true;
}

bool RunTimeTakeover::RemoveStart() {
  return remove(starts_, true);
}

bool RunTimeTakeover::RemoveFinish() {
  return remove(finishes_, false);
}

bool RunTimeTakeover::remove(HandRowModel& list, bool start) {
  const int sel = list.selected();
  if (sel < 0 || list.text(sel, rtcol::kBib) == kDash) {
    message(QStringLiteral("Dieser Handzeit ist keine Startnummer zugeordnet"));
    return false;
  }
  list.setText(sel, rtcol::kBib, kDash);
  bool any = false;
  for (int i = 0; i < list.count() && !any; ++i) any = list.text(i, rtcol::kBib) != kDash;
  (start ? startAssigned_ : finishAssigned_) = any;
  SelectNext(list, sel);
  Compare(builtRun_);
  return true;
}

bool RunTimeTakeover::Takeover() {
  if (replacementRow_ < 0) {
    message(QStringLiteral("Es ist noch keine gültige Handzeit berechnet!"));
    return false;
  }
  const ProtocolEvent event = ReadProtocolEvent(state_);
  if (!event.found || !writeProtocol) return false;
  bool stored = false;
  try {
    const auto store = [&] {
      storeRunTime();
      stored = true;
    };
    if (writeProtocol(event, store) != ProtocolOutcome::Written) return false;
    if (!stored) store();
  } catch (const db::Error& e) {
    message(QStringLiteral("Die Laufzeit konnte nicht übernommen werden, das "
                           "Berechnungsprotokoll wurde nicht gespeichert.\n") +
            DatabaseErrorText(e));
    return false;
  } catch (const RacerGone&) {
    message(RacerGoneText(comparison_.text(replacementRow_, cmpcol::kBib)) +
            QStringLiteral(" Die Laufzeit wurde nicht übernommen, das Berechnungsprotokoll "
                           "nicht gespeichert."));
    return false;
  }
  startAssigned_ = false;
  finishAssigned_ = false;
  return true;
}

void RunTimeTakeover::storeRunTime() {
  const QString bib = comparison_.text(replacementRow_, cmpcol::kBib);
  int id = 0;
  for (int i = 0; i < starts_.count(); ++i) {
    if (starts_.text(i, rtcol::kBib) == bib) {
      id = starts_.text(i, rtcol::kId).toInt();
      break;
    }
  }
  const QString v = SqlTime(Parsed(comparison_.text(replacementRow_, cmpcol::kElectronic)));
  const QString type = QString::number(state_.CurrentDisciplineType);
  const QString run = QString::number(builtRun_);
  const QString key = QString::number(id);
  db::Transaction transaction = state_.db().transaction();
  // Deleted meanwhile (by another copy of the program): no row for a racer who is gone.
  if (participantOf(bib.toInt()) != id) throw RacerGone{};
  const int rows = state_.db()
                       .scalar(QStringLiteral("select count(*) as Anzahl from tblZeit where "
                                              "teilnehmer=") +
                               key + QStringLiteral(" and disziplin=") + type +
                               QStringLiteral(" and durchgang=") + run)
                       .toInt();
  if (rows > 0) {
    // A stored disqualification stays.
    state_.db().execute(QStringLiteral("update tblZeit set ergcode=iif(ergcode=3,3,0),"
                                       "start=null,ziel=") +
                        v + QStringLiteral(",netto=") + v + QStringLiteral(" where teilnehmer=") +
                        key + QStringLiteral(" and disziplin=") + type +
                        QStringLiteral(" and durchgang=") + run);
  } else {
    state_.db().execute(
        QStringLiteral("insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode,ziel,netto) "
                       "values(") +
        key + QLatin1Char(',') + type + QLatin1Char(',') + run + QStringLiteral(",0,") + v +
        QLatin1Char(',') + v + QLatin1Char(')'));
  }
  transaction.commit();
}

}  // namespace kx
