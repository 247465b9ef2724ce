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
  const CompetitionSettings& s = state.Settings;
  const QString credit = StartListCreditLine(state.CreditLine);
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

  const int typ = s.typNumber();
  // The regional association ("VB") moves the club column right.
  const bool regionalColumn = CompetitionSettings::on(s.nation_aktiv) && typ != 0 && typ != 1;
  const int clubX = regionalColumn ? 1160 : 1125;
  const int clubWidth = regionalColumn ? 465 : 500;
  const std::vector<ColumnHead> heads =
      bibsOnly ? std::vector<ColumnHead>{} : StartListHeads(s, clubX);
  const QString title = bibsOnly ? QStringLiteral("STARTNUMMERN  2. Durchgang")
                                 : QStringLiteral("STARTLISTE  2. Durchgang");
  const int headingX = bibsOnly ? 110 : 475;
  const int spaceBeforeHeading = bibsOnly ? 93 : 30;
  const int spaceAfterHeading = bibsOnly ? 73 : 53;

  pdf::PdfPen& pen = frame.pen();
  int y = 3000;
  QString previousGroup = kNoGroup;
  int runningNumber = 0;
  int bibX = kFirstBibX;
  int page = 0;
  for (const int i : state.StartOrder.order()) {
    const StartOrderEntry& e = state.StartOrder[i];
    const bool groupChange = e.klasse != previousGroup;
    if (y > frame.limit(2570) || (groupChange && y > frame.limit(2420))) {
      if (groupChange) previousGroup = kNoGroup;
      ++page;
      y = frame.StartListPage(page, title, heads, credit);
      // The bib list has no column heads: its rows begin on the heads line.
      if (bibsOnly) y = 450;
    }
    if (groupChange) {
      if (previousGroup != kNoGroup) y += spaceBeforeHeading;
      if (e.klasse != QLatin1String("-")) {
        pen.setSize(10);
        pen.setBold(true);
        pen.textOut(headingX, y, e.klasse);
        pen.setLineWidth(3);
        pen.line(headingX, y + 38, headingX + pen.textWidth(e.klasse), y + 38);
        y += spaceAfterHeading;
      }
      previousGroup = e.klasse;
      runningNumber = 0;
      bibX = kFirstBibX;
    }
    pen.setBold(false);

    if (bibsOnly) {
      pen.setSize(10);
      // Each bib in its own cell: a long one shrinks rather than running into its neighbour.
      pen.numberIn(bibX - kBibStep + 15, bibX, y, pdf::kAlignRight, e.startnr, 10);
      bibX += kBibStep;
      if (bibX > kLastBibX) {
        bibX = kFirstBibX;
        y += kBibRowStep;
      }
      continue;
    }

    pen.setSize(9);
    ++runningNumber;
    pen.rightAt(275, y, QString::number(runningNumber));
    pen.numberIn(285, 425, y, pdf::kAlignRight, e.startnr, 9);
    // The full birth year stands right-aligned at 980: a name must end before it.
    const int nameRoom = std::min(470, 980 - pen.textWidth(QStringLiteral("0000")) - 15 - 475);
    int drop = pen.fit(e.name, 9, nameRoom);
    pen.textOut(475, y + drop, pen.cut(e.name, nameRoom));
    pen.setSize(9);
    pen.rightAt(980, y, e.jahrgang);
    pen.textOut(1000, y, e.nation);
    drop = pen.fit(e.verein, 9, clubWidth);
    pen.textOut(clubX, y + drop, pen.cut(e.verein, clubWidth));
    pen.setSize(9);
    pen.rightAt(1730, y, e.zeit);
    // Lines to write the run-2 time and the total on.
    pen.setLineWidth(1);
    pen.line(1755, y + 30, 1865, y + 30);
    pen.line(1895, y + 30, 2005, y + 30);
    y += 43;
  }

  frame.FinishDoc(count);
  frame.AddResultNote(
      LeftOutLineRun2(state, options.grouping, options.reverseCount, options.appendNonFinishers));
  return frame.result();
}

}  // namespace kx
