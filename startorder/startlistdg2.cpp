#include "startorder/startlistdg2.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "lists/listframe.h"
#include "lists/listpanelsupport.h"
#include "startorder/startlist.h"
#include "startorder/startorder.h"

#include <algorithm>
#include <vector>

namespace kx {

namespace {

// No group yet on this page: the first heading of a page gets no space before it.
const QString kNoGroup = QStringLiteral("?");

// The bib list: up to 19 bibs in a row, right-aligned at 190, 290, ... 1990.
constexpr int kFirstBibX = 190;
constexpr int kBibStep = 100;
constexpr int kLastBibX = 2020;
constexpr int kBibRowStep = 70;

std::vector<ColumnHead> StartListHeads(const CompetitionSettings& s, int clubX) {
  const int typ = s.typNumber();
  std::vector<ColumnHead> heads{HeadRightAt(QStringLiteral("Lfnr"), 275),
                                HeadRightAt(QStringLiteral("Stnr"), 425),
                                HeadAt(QStringLiteral("Teilnehmer"), 475)};
  if (CompetitionSettings::on(s.jahrgang_aktiv)) {
    heads.push_back(HeadRightAt(QStringLiteral("JG"), 980));
  }
  if (CompetitionSettings::on(s.nation_aktiv)) {
    heads.push_back(
        HeadAt(typ == 0 || typ == 1 ? QStringLiteral("NAT") : QStringLiteral("VB"), 1000));
  }
  if (CompetitionSettings::on(s.verein_aktiv))
    heads.push_back(HeadAt(QStringLiteral("Verein"), clubX));
  heads.push_back(HeadRightAt(QStringLiteral("Zeit-1"), 1730));
  heads.push_back(HeadRightAt(QStringLiteral("Zeit-2"), 1865));
  heads.push_back(HeadRightAt(QStringLiteral("Total"), 2005));
  return heads;
}

// The pages of the run-2 start list on the frame's document: each group under its heading,
// either a row per racer with his run-1 time and lines to write on, or its bibs side by side.
class StartListDG2Pages {
 public:
  StartListDG2Pages(const AppState& state, PdfListFrame& frame, bool bibsOnly)
      : frame_(frame),
        pen_(frame.pen()),
        bibsOnly_(bibsOnly),
        credit_(StartListCreditLine(state.CreditLine)) {
    const CompetitionSettings& s = state.Settings;
    const int typ = s.typNumber();
    // The regional association ("VB") moves the club column right.
    const bool regionalColumn = CompetitionSettings::on(s.nation_aktiv) && typ != 0 && typ != 1;
    clubX_ = regionalColumn ? 1160 : 1125;
    clubWidth_ = regionalColumn ? 465 : 500;
    if (!bibsOnly) heads_ = StartListHeads(s, clubX_);
    title_ = bibsOnly ? QStringLiteral("STARTNUMMERN  2. Durchgang")
                      : QStringLiteral("STARTLISTE  2. Durchgang");
  }

  void draw(const StartOrderTable& order) {
    for (const int i : order.order()) {
      const StartOrderEntry& e = order[i];
      const bool groupChange = e.klasse != previousGroup_;
      if (y_ > frame_.limit(2570) || (groupChange && y_ > frame_.limit(2420))) {
        if (groupChange) previousGroup_ = kNoGroup;
        ++page_;
        y_ = frame_.StartListPage(page_, title_, heads_, credit_);
        // The bib list has no column heads: its rows begin on the heads line.
        if (bibsOnly_) y_ = 450;
      }
      if (groupChange) groupHeading(e.klasse);
      pen_.setBold(false);
      if (bibsOnly_) {
        bibCell(e);
      } else {
        row(e);
      }
    }
  }

 private:
  // A group's heading, underlined; the group "-" has none. The bib list's headings stand
  // further left with more room around them.
  void groupHeading(const QString& group) {
    const int x = bibsOnly_ ? 110 : 475;
    if (previousGroup_ != kNoGroup) y_ += bibsOnly_ ? 93 : 30;
    if (group != QLatin1String("-")) {
      pen_.setSize(10);
      pen_.setBold(true);
      // Up to the end of the rows.
      const QString shown = pen_.cut(group, (bibsOnly_ ? kLastBibX : 2005) - x);
      pen_.textOut(x, y_, shown);
      pen_.setLineWidth(3);
      pen_.line(x, y_ + 38, x + pen_.textWidth(shown), y_ + 38);
      y_ += bibsOnly_ ? 73 : 53;
    }
    previousGroup_ = group;
    runningNumber_ = 0;
    bibX_ = kFirstBibX;
  }

  // A bib of the bib list, in its own cell: a long one shrinks rather than running into its
  // neighbour.
  void bibCell(const StartOrderEntry& e) {
    pen_.setSize(10);
    pen_.numberIn(bibX_ - kBibStep + 15, bibX_, y_, pdf::kAlignRight, e.startnr, 10);
    bibX_ += kBibStep;
    if (bibX_ > kLastBibX) {
      bibX_ = kFirstBibX;
      y_ += kBibRowStep;
    }
  }

  void row(const StartOrderEntry& e) {
    pen_.setSize(9);
    ++runningNumber_;
    pen_.rightAt(275, y_, QString::number(runningNumber_));
    pen_.numberIn(285, 425, y_, pdf::kAlignRight, e.startnr, 9);
    // The full birth year stands right-aligned at 980: a name must end before it.
    const int nameRoom = std::min(470, 980 - pen_.textWidth(QStringLiteral("0000")) - 15 - 475);
    int drop = pen_.fit(e.name, 9, nameRoom);
    pen_.textOut(475, y_ + drop, pen_.cut(e.name, nameRoom));
    pen_.setSize(9);
    pen_.rightAt(980, y_, e.jahrgang);
    pen_.textOut(1000, y_, pen_.cut(e.nation, clubX_ - 1000));
    drop = pen_.fit(e.verein, 9, clubWidth_);
    pen_.textOut(clubX_, y_ + drop, pen_.cut(e.verein, clubWidth_));
    pen_.setSize(9);
    pen_.rightAt(1730, y_, e.zeit);
    // Lines to write the run-2 time and the total on.
    pen_.setLineWidth(1);
    pen_.line(1755, y_ + 30, 1865, y_ + 30);
    pen_.line(1895, y_ + 30, 2005, y_ + 30);
    y_ += 43;
  }

  PdfListFrame& frame_;
  pdf::PdfPen& pen_;
  const bool bibsOnly_;
  const QString credit_;
  QString title_;
  int clubX_, clubWidth_;
  std::vector<ColumnHead> heads_;
  int y_ = 3000;
  int page_ = 0;
  QString previousGroup_ = kNoGroup;
  int runningNumber_ = 0;
  int bibX_ = kFirstBibX;
};

}  // namespace

bool ReadStartListDG2Boxes(UserInterface& ui, QString& reverseText, const QString& maxText,
                           StartListDG2Options& options) {
  const std::optional<int> reverse = ReadReversalCount(ui, reverseText);
  if (!reverse) return false;
  std::optional<int> maximum = 999;
  if (!maxText.isEmpty()) maximum = ParseBoxNumber(maxText);
  if (!maximum) {
    ui.message(
        QStringLiteral("Die max. Anzahl Teilnehmer pro Gruppierung ist weder leer noch numerisch"));
    return false;
  }
  options.reverseCount = *reverse;
  options.maxPerGroup = *maximum;
  return true;
}

ResultLine WriteStartListDG2(AppState& state, const StartListDG2Options& options,
                             const std::function<void()>& closePanel) {
  const bool bibsOnly = options.bibsOnly;
  PdfListFrame frame(
      state, {QStringLiteral("StartListeDG2"),
              bibsOnly ? QStringLiteral("-StartNummernDG2-") : QStringLiteral("-StartListeDG2-"),
              bibsOnly ? QStringLiteral("StartNummernDG2 ") : QStringLiteral("StartListeDG2 ")});
  frame.onProbeFailed = closePanel;
  if (!frame.OpenDoc(options.openAfterOutput)) return frame.result();
  frame.ReadListEvent();
  frame.ReadListHeadTexts();

  const int count =
      BuildStartOrderRun2(state, options.grouping, options.reverseCount, options.appendNonFinishers,
                          options.maxPerGroup, kClubLine, true);
  WarnUnknownRun1Codes(state, QStringLiteral("Startliste 2. Durchgang"));
  StartListDG2Pages pages(state, frame, bibsOnly);
  pages.draw(state.StartOrder);
  frame.FinishDoc(count);
  frame.AddResultNote(
      LeftOutLineRun2(state, options.grouping, options.reverseCount, options.appendNonFinishers));
  return frame.result();
}

}  // namespace kx
