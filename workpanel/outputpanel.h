#pragma once

// An output panel: a work panel whose main routine (F2) writes one output (a list, a
// protocol, an export file) and reports it in the panel's result line. Below its own fields
// every such panel has the same foot, which the base adds and serves: the show box, the
// output button (F2), the close button (Esc) and the result line. A panel keeps only its
// fields and its output (startorder/namelistpanel.cpp):
//
//   void NameListPanel::build() {
//     const EventLabels event = addEventHeader(...);                  // the panel's own fields
//     addShowBox(QStringLiteral("Namensliste_anzeigen"), QStringLiteral("Namensliste anzeigen"),
//                2300);
//     addOutputButtons(QStringLiteral("Namensliste_ausgeben"),
//                      QStringLiteral("Ausgabe Namensliste (F2)"), SansSerif(8, true), 2900,
//                      QStringLiteral("Namensliste_schliessen"));
//     addResultLine(QStringLiteral("Namensliste_Meldung"), 3500);
//     FillEventLabels(state(), event.name, event.date, false);
//   }
//   void NameListPanel::writeOutput(ResultLine& line) {
//     NameListOptions options;
//     options.openAfterOutput = showAfterOutput();
//     line = WriteNameList(state(), options, [this] { closeSelf(); });
//   }
//
// The controls keep the names, captions and places the panel gives; they are added in the
// order of the calls, which is their tab order.

#include "common/resultline.h"
#include "workpanel/workpanel.h"

namespace kx {

class OutputPanel : public WorkPanel {
  Q_OBJECT
 public:
  using WorkPanel::WorkPanel;

  // F2: blanks the result line, writes the output and shows the line it reports. An output
  // that ends in an error shows the line as far as the output had set it.
  void mainAction() override;

 protected:
  // Writes the output from the panel's fields and sets `line` to report it. A field the
  // output refuses (its message shown) returns with the line left blank. Runs guarded.
  virtual void writeOutput(ResultLine& line) = 0;

  // The show box `name`, ticked, at the left edge `top` twips down: whether the written
  // document opens in the viewer.
  void addShowBox(const QString& name, const QString& caption, int top, int width = 2295);
  // The output button `name` (F2) at the left edge `top` twips down in `font`, and beside it
  // the close button `closeName` "Schließen (Esc)".
  void addOutputButtons(const QString& name, const QString& caption, const PanelFont& font, int top,
                        const QString& closeName, int width = 2535);
  // The result line `name`, one blank until the first output.
  void addResultLine(const QString& name, int top);

  // Whether the show box is ticked (false on a panel without one).
  bool showAfterOutput() const;

 private:
  QCheckBox* show_ = nullptr;
  QLabel* result_ = nullptr;
};

}  // namespace kx
