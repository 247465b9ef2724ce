#include "startorder/boardlistdg2.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "lists/listframe.h"
#include "startorder/boardlist.h"
#include "startorder/startorder.h"

namespace kx {

ResultLine WriteBoardListDG2(AppState& state, const BoardListDG2Options& options) {
  PdfListFrame frame(state, {QStringLiteral("Tafelliste"), QStringLiteral("-TafellisteDG2-"),
                             QStringLiteral("TafellisteDG2 ")});
  if (!frame.OpenDoc(options.openAfterOutput, options.landscape)) return frame.result();
  const ListEvent& event = frame.ReadListEvent(QStringLiteral("Keine Daten gefunden!"));

  // Run 2 always has three time columns: the run-1 time and two to write on.
  BoardGeometry geometry = BoardLayout(options.landscape, 3);
  geometry.timeRight = options.landscape ? 2202 : 1525;
  BoardGrid grid(frame.pen(), geometry, event.bewerbsnummer, options.newPagePerGroup, 0);
  grid.begin(event.firstLine(), QStringLiteral("    ") + state.currentListTitle() +
                                    QStringLiteral("    2. Durchgang"));

  const int count = BuildStartOrderRun2(state, options.grouping, options.reverseCount,
                                        options.appendNonFinishers, 999, QString(), true);
  WarnUnknownRun1Codes(state, QStringLiteral("Tafelliste 2. Durchgang"));
  for (const int i : state.StartOrder.order()) {
    const StartOrderEntry& e = state.StartOrder[i];
    grid.add(e.klasse, {e.startnr, e.name, e.jahrgang, CapitalizeClubName(e.verein), e.zeit});
  }
  grid.finish(state.CreditLine);

  frame.FinishDoc(count);
  frame.AddResultNote(
      LeftOutLineRun2(state, options.grouping, options.reverseCount, options.appendNonFinishers));
  return frame.result();
}

}  // namespace kx
