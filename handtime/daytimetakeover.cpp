#include "handtime/daytimetakeover.h"

#include "common/appstate.h"
#include "common/guarded.h"
#include "common/userinterface.h"
#include "db/database.h"
#include "db/storedtime.h"
#include "devices/handtimetext.h"
#include "handtime/handtimenumbers.h"
#include "handtime/handtimeprotocol.h"

#include <algorithm>
#include <optional>

namespace kx {

namespace {

const QString kDash = QStringLiteral("-");
const QString kBlank = QStringLiteral(" ");
const QString kRnd = QStringLiteral("rnd");
const QString kCut = QStringLiteral("cut");

// The window around an electronic time, in seconds; values closer than a microsecond to
// its edge count as on it (stored times carry noise below the hundredth).
constexpr double kWindow = 2.0;
constexpr double kEdge = 1e-6;

double Parsed(const QString& text) {
  return ParseHandTime(text).value_or(0.0);
}

struct Electronic {
  double start = 0, finish = 0, netto = 0;
  QString bib;
  int id = 0;
  double e = 0;  // the time of the mode
};

// Hand minus electronic time as shown: the difference of the two texts, in seconds.
QString DifferenceText(const QString& handText, const QString& electronicText) {
  const double d = Parsed(handText) - Parsed(electronicText);
  return HundredthsText(static_cast<double>(DayToHundredths(d)));
}

// The working copy of a hand-time store, in time order (stable: equal times keep the order
// in which they arrived).
std::vector<double> HandTimesInOrder(const std::vector<HandTime>& store) {
  std::vector<double> hand;
  hand.reserve(store.size());
  for (const HandTime& entry : store) hand.push_back(entry.dayTime);
  std::stable_sort(hand.begin(), hand.end());
  return hand;
}

// The time rows of the entered racers of the current discipline in `run`.
QString RunCondition(const AppState& state, int run) {
  return QStringLiteral("where t.id=z.teilnehmer and t.") + state.CurrentDisciplineCode +
         QStringLiteral("aktiv=true and z.disziplin=") +
         QString::number(state.CurrentDisciplineType) + QStringLiteral(" and z.durchgang=") +
         QString::number(run);
}

// The mean run time of the valid results among `where`; none while there is no valid result.
// A valid result whose stored time is no run time counts as 0, as one without a time does.
std::optional<double> MeanRunTime(const AppState& state, const QString& where) {
  const db::Recordset rs =
      state.db().query(QStringLiteral("select z.netto as netto from tblZeit z,tblTeilnehmer t ") +
                       where + QStringLiteral(" and z.ergcode=0 order by 1"));
  if (rs.count() == 0) return std::nullopt;
  double sum = 0;
  for (int i = 0; i < rs.count(); ++i) sum += db::StoredRunTime(rs.at(i, 0)).value_or(0);
  return sum / rs.count();
}

// The electronic times of the rows of `where`, in the order of the mode's time, so that a
// racer overtaken on course keeps his hand time; the shown order comes from the sort text.
std::vector<Electronic> ElectronicTimes(const AppState& state, const QString& where,
                                        bool startMode) {
  const db::Recordset rs = state.db().query(
      QStringLiteral("select z.start as start,z.ziel as ziel,z.netto as netto,t.startnr") +
      state.CurrentDisciplineCode +
      QStringLiteral(" as bib,z.teilnehmer as teilnehmer from tblZeit z,tblTeilnehmer t ") + where +
      QStringLiteral(" order by 1"));
  std::vector<Electronic> racers(static_cast<size_t>(rs.count()));
  for (int i = 0; i < rs.count(); ++i) {
    Electronic& r = racers[static_cast<size_t>(i)];
    // A stored value that is no time of day is no electronic time, as Null and 0 are.
    r.start = db::StoredDayTime(rs.at(i, 0)).value_or(0);
    r.finish = db::StoredDayTime(rs.at(i, 1)).value_or(0);
    r.netto = db::StoredRunTime(rs.at(i, 2)).value_or(0);
    r.bib = rs.at(i, 3).toString();
    r.id = rs.at(i, 4).toInt();
    r.e = startMode ? r.start : r.finish;
  }
  std::stable_sort(racers.begin(), racers.end(),
                   [](const Electronic& a, const Electronic& b) { return a.e < b.e; });
  return racers;
}

// The cells of a racer's row with the hand time paired with him, if any. A racer with a
// start and no finish sorts at his expected finish (start plus `mean`) where there is a mean.
QStringList ElectronicCells(const Electronic& r, bool startMode, std::optional<double> mean,
                            std::optional<double> hand) {
  const QString startText = r.start > 0 ? FormatHandTime(r.start, kCut) : kDash;
  const QString finishText = r.finish > 0 ? FormatHandTime(r.finish, kCut) : kDash;
  const QString runText = r.finish > 0 && r.netto > 0 ? FormatHandTime(r.netto, kRnd) : kDash;

  QString sortText = kDash;
  if (r.start > 0 && (startMode || r.finish <= 0) && mean) {
    sortText = FormatHandTime(r.start + *mean, kCut);
  }
  if (r.finish > 0 && (!startMode || r.start <= 0)) sortText = finishText;

  QString handText = kDash;
  QString diffText = kBlank;
  if (hand) {
    handText = FormatHandTime(*hand, kRnd);
    diffText = DifferenceText(handText, startMode ? startText : finishText);
  }
  return {r.bib,    startText, finishText, runText,
          handText, diffText,  sortText,   QString::number(r.id)};
}

// The measured differences next to the bib's row: the nearest above, then, up to ten in
// all, the nearest below. Blank differences and computed (bold) ones are passed over.
struct Neighbours {
  int count = 0;
  qint64 sum = 0;  // hundredths
  int firstUsed = 0;
  int lastUsed = 0;
};
Neighbours NeighbourDifferences(const HandRowModel& list, int row) {
  Neighbours n;
  n.lastUsed = list.count() - 1;
  auto use = [&](int i) {
    const HandCell& diff = list.cell(i, dtcol::kDiff);
    if (diff.text == kBlank || diff.bold) return false;
    n.sum += ReadHundredths(diff.text);
    ++n.count;
    return true;
  };
  for (int up = row - 1; n.count < 10 && up >= 0; --up) {
    if (use(up)) n.firstUsed = up;
  }
  for (int down = row + 1; n.count < 10 && down < list.count(); ++down) {
    if (use(down)) n.lastUsed = down;
  }
  return n;
}

// The first refusal of a typed bib and the selected row, in the order of the checks; empty
// when both pass.
QString InputRefusal(const HandRowModel& list, const QString& n, int sel) {
  if (n.isEmpty()) return QStringLiteral("Bitte die Startnummer eingeben");
  if (!IsNumericText(n)) return QStringLiteral("Die Startnummer bitte als Zahl eingeben");
  if (sel < 0 || list.text(sel, dtcol::kHand) == kDash) {
    return QStringLiteral("Bitte eine Zeile mit einer Handzeit selektieren");
  }
  if (list.text(sel, dtcol::kBib) != kDash) {
    return QStringLiteral("Diese Handzeit ist bereits der Startnummer ") +
           list.text(sel, dtcol::kBib) + QStringLiteral(" zugeordnet");
  }
  return QString();
}

// The first row whose bib is `n` as typed; -1 when there is none.
int RowOfBib(const HandRowModel& list, const QString& n) {
  for (int i = 0; i < list.count(); ++i) {
    if (list.text(i, dtcol::kBib) == n) return i;
  }
  return -1;
}

}  // namespace

std::vector<HandColumn> DayTimeColumns() {
  return {{QStringLiteral("St-Nr"), QStringLiteral("St-Nr"), 600, HandAlign::Left},
          {QStringLiteral("Startzeit"), QStringLiteral("Startzeit"), 1050, HandAlign::Center},
          {QStringLiteral("Zielzeit"), QStringLiteral("Zielzeit"), 1050, HandAlign::Center},
          {QStringLiteral("Laufzeit"), QStringLiteral("Laufzeit"), 1050, HandAlign::Center},
          {QStringLiteral("Handzeit"), QStringLiteral("Handzeit"), 1050, HandAlign::Center},
          {QStringLiteral("Differenz"), QStringLiteral("Diff."), 600, HandAlign::Right},
          {QStringLiteral("Sortfeld"), QStringLiteral("Sortierung"), 1, HandAlign::Center},
          {QStringLiteral("Id"), QStringLiteral("Id"), 1, HandAlign::Center}};
}

DayTimeTakeover::DayTimeTakeover(AppState& state) : state_(state) {
  writeProtocol = [this](const DayTimeProtocolRequest& request) {
    return WriteDayTimeProtocol(state_, list_, request);
  };
}

void DayTimeTakeover::message(const QString& text) {
  state_.Ui->message(text);
}

void DayTimeTakeover::addHandRow(int k, const QString& handText) {
  list_.addRow(QString::number(k) + QLatin1Char('N'),
               {kDash, kDash, kDash, kDash, handText, kBlank, handText, QStringLiteral("0")});
}

bool DayTimeTakeover::Build(HandMode mode, int run) {
  if (assignmentsMade_ &&
      state_.Ui->message(QStringLiteral("Achtung: es sind bereits Handzeiten Startnummern "
                                        "zugeordnet! Wirklich Anzeige neu laden?"),
                         MsgIcon::None, QString(), MsgButtons::YesNoDefaultNo) != MsgAnswer::Yes) {
    return false;
  }
  assignmentsMade_ = false;
  builtMode_ = mode;
  builtRun_ = run;
  const bool startMode = mode == HandMode::Start;
  const std::vector<double> hand = HandTimesInOrder(startMode ? state_.HzStart : state_.HzZiel);
  list_.setColumns(DayTimeColumns());
  const QString where = RunCondition(state_, run);
  // In the start mode the sort text is the start time itself.
  const std::optional<double> mean = startMode ? 0.0 : MeanRunTime(state_, where);
  const std::vector<Electronic> racers = ElectronicTimes(state_, where, startMode);

  // Every hand time goes on exactly one row, in time order: its own row before a racer, the
  // racer's row when within the window around his time, or its own row after the last.
  list_.reserve(static_cast<int>(racers.size() + hand.size()));
  int k = 0;
  size_t j = 0;
  for (const Electronic& r : racers) {
    const bool timed = r.e > 0;
    if (timed) {
      while (j < hand.size() && (hand[j] - r.e) * 86400.0 < -kWindow - kEdge) {
        addHandRow(++k, FormatHandTime(hand[j++], kRnd));
      }
    }
    const bool paired = timed && j < hand.size() && (hand[j] - r.e) * 86400.0 < kWindow - kEdge;
    const std::optional<double> pairedHand = paired ? std::optional(hand[j++]) : std::nullopt;
    list_.addRow(QString::number(++k) + QLatin1Char('N'),
                 ElectronicCells(r, startMode, mean, pairedHand));
  }
  while (j < hand.size()) addHandRow(++k, FormatHandTime(hand[j++], kRnd));

  list_.sortBy(dtcol::kSort);
  lastKey_ = k;
  return true;
}

void DayTimeTakeover::AssignBib(const QString& bibText) {
  const QString& n = bibText;
  const int sel = list_.selected();
  if (const QString refusal = InputRefusal(list_, n, sel); !refusal.isEmpty()) {
    return message(refusal);
  }
  const int bibRow = RowOfBib(list_, n);
  if (bibRow < 0) {
    return message(QStringLiteral("Startnummer ") + n +
                   QStringLiteral(" nicht vorhanden (evtl. zuerst Ausscheidungen bearbeiten)"));
  }
  if (builtMode_ != HandMode::Start) {
    if (list_.text(bibRow, dtcol::kStart) == kDash) {
      return message(QStringLiteral("Bitte der Startnummer ") + n +
                     QStringLiteral(" zuerst die Startzeit zuordnen!"));
    }
    if (QString::compare(list_.text(bibRow, dtcol::kStart), list_.text(sel, dtcol::kHand)) > 0) {
      return message(QStringLiteral("Die Handzeit liegt vor der Startzeit!"));
    }
  }
  const QString selKey = list_.key(sel);
  const QString handText = list_.text(sel, dtcol::kHand);

  // The bib's row already holds the mode's electronic time: a plain pairing.
  if (list_.text(bibRow, modeColumn()) != kDash) {
    list_.setText(bibRow, dtcol::kHand, handText);
    list_.setText(bibRow, dtcol::kDiff, DifferenceText(handText, list_.text(bibRow, modeColumn())));
    list_.removeKey(selKey);
    return;
  }
  if (assignReplacement(n, bibRow, handText)) list_.removeKey(selKey);
}

bool DayTimeTakeover::assignReplacement(const QString& n, int bibRow, const QString& handText) {
  const QString bibKey = list_.key(bibRow);
  // Whatever refuses it below puts the list back as it was.
  HandRowModel::Snapshot before = list_.snapshot();
  list_.setText(bibRow, dtcol::kSort, handText);
  list_.sortBy(dtcol::kSort);
  const int row = list_.indexOf(bibKey);
  const Neighbours used = NeighbourDifferences(list_, row);
  if (used.count == 0) {
    message(
        QStringLiteral("keine Übereinstimmungen zwischen elektr. Zeit und Handzeit vorhanden!"));
    return false;
  }

  const bool startMode = builtMode_ == HandMode::Start;
  const double mean = static_cast<double>(used.sum) / used.count;
  const double h = Parsed(handText);
  const double replacement = h - mean / kHundredthsPerDay;
  const QString replacementText = FormatHandTime(replacement, kRnd);
  double runTime = 0;
  if (startMode) {
    const QString& finish = list_.text(row, dtcol::kZiel);
    if (finish != kDash) runTime = Parsed(finish) - replacement;
  } else {
    runTime = replacement - Parsed(list_.text(row, dtcol::kStart));
  }
  const bool hasBoth = !startMode || list_.text(row, dtcol::kZiel) != kDash;
  if (hasBoth && DayToHundredths(runTime) <= 0) {
    list_.restore(std::move(before));
    message(startMode ? QStringLiteral("Die berechnete Startzeit ") + replacementText +
                            QStringLiteral(" liegt nicht vor der Zielzeit!")
                      : QStringLiteral("Die berechnete Zielzeit ") + replacementText +
                            QStringLiteral(" liegt nicht nach der Startzeit!"));
    return false;
  }

  list_.setText(row, dtcol::kDiff, HundredthsText(mean));
  list_.setMarked(row, dtcol::kDiff, true);
  list_.setText(row, dtcol::kHand, FormatHandTime(h, kRnd));
  list_.setText(row, modeColumn(), replacementText);
  list_.setMarked(row, modeColumn(), true);
  if (runTime != 0) {
    list_.setText(row, dtcol::kRun, FormatHandTime(runTime, kRnd));
    list_.setMarked(row, dtcol::kRun, true);
  }

  const ProtocolOutcome outcome =
      writeProtocol ? writeProtocol({builtMode_, n, row, used.firstUsed, used.lastUsed})
                    : ProtocolOutcome::Cancelled;
  if (outcome == ProtocolOutcome::NotWritable) {
    list_.restore(std::move(before));
    return false;
  }
  assignmentsMade_ = true;
  return true;
}

void DayTimeTakeover::Undo() {
  const bool startMode = builtMode_ == HandMode::Start;
  const QString selectMessage = startMode
                                    ? QStringLiteral(
                                          "Bitte eine Zeile mit einer Startzeit und einer Handzeit "
                                          "selektieren!")
                                    : QStringLiteral(
                                          "Bitte eine Zeile mit einer Zielzeit und einer Handzeit "
                                          "selektieren!");
  const int sel = list_.selected();
  if (sel < 0 || list_.text(sel, modeColumn()) == kDash || list_.text(sel, dtcol::kHand) == kDash) {
    return message(selectMessage);
  }
  if (!list_.cell(sel, dtcol::kDiff).bold) {
    return message(
        QStringLiteral("Diese Zuordnung kann nicht aufgehoben werden, da sie nicht "
                       "aktuell zugeordnet wurde!"));
  }
  const QString hand = list_.text(sel, dtcol::kHand);
  const QString sortText = list_.text(sel, dtcol::kSort);
  list_.setText(sel, dtcol::kHand, kDash);
  for (int column : {modeColumn(), dtcol::kRun}) {
    list_.setText(sel, column, kDash);
    list_.setMarked(sel, column, false);
  }
  list_.setText(sel, dtcol::kDiff, kBlank);
  list_.setMarked(sel, dtcol::kDiff, false);
  ++lastKey_;
  list_.addRow(QString::number(lastKey_) + QLatin1Char('N'),
               {kDash, kDash, kDash, kDash, hand, kBlank, sortText, QStringLiteral("0")});
  list_.sortBy(dtcol::kSort);
}

bool DayTimeTakeover::holdsReplacements() const {
  if (!assignmentsMade_) return false;
  for (int i = 0; i < list_.count(); ++i) {
    if (list_.cell(i, modeColumn()).bold) return true;
  }
  return false;
}

bool DayTimeTakeover::Takeover() {
  if (!assignmentsMade_) {
    message(QStringLiteral("Es ist keiner Startnummer eine Handzeit zugeordnet!"));
    return false;
  }
  const bool startMode = builtMode_ == HandMode::Start;
  // A stored disqualification stays.
  auto code = [](int value) { return QStringLiteral("ergcode=iif(ergcode=3,3,%1)").arg(value); };
  try {
    db::Transaction transaction = state_.db().transaction();
    for (int i = 0; i < list_.count(); ++i) {
      if (!list_.cell(i, modeColumn()).bold) continue;
      const QString run = SqlTime(Parsed(list_.text(i, dtcol::kRun)));
      QString clause;
      if (startMode) {
        clause = QStringLiteral("set start=") + SqlTime(Parsed(list_.text(i, dtcol::kStart)));
        clause += list_.text(i, dtcol::kZiel) == kDash
                      ? QStringLiteral(",") + code(2)
                      : QStringLiteral(",") + code(0) + QStringLiteral(",netto=") + run;
      } else {
        clause = QStringLiteral("set ") + code(0) + QStringLiteral(",ziel=start+") + run +
                 QStringLiteral(",netto=") + run;
      }
      const int changed = state_.db().execute(
          QStringLiteral("update tblZeit ") + clause + QStringLiteral(" where teilnehmer=") +
          QString::number(list_.text(i, dtcol::kId).toInt()) + QStringLiteral(" and disziplin=") +
          QString::number(state_.CurrentDisciplineType) + QStringLiteral(" and durchgang=") +
          QString::number(builtRun_));
      // Deleted meanwhile (by another copy of the program): nothing is written, the list
      // keeps its assignments.
      if (changed == 0) {
        message(RacerGoneText(list_.text(i, dtcol::kBib)) +
                QStringLiteral(" Es wurden keine Zeiten übernommen."));
        return false;
      }
    }
    transaction.commit();
  } catch (const db::Error& e) {
    message(QStringLiteral("Die Zeiten konnten nicht übernommen werden.\n") + DatabaseErrorText(e));
    return false;
  }
  assignmentsMade_ = false;
  Build(builtMode_, builtRun_);
  return true;
}

}  // namespace kx
