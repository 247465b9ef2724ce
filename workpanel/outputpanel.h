#pragma once

// An output panel: a work panel whose main routine (F2) writes one output (a list, a
// protocol, an export file) and reports it in the panel's result line. Below its own fields
// such a panel has the same foot, which the base builds and serves:
//
//   void NameListPanel::build() {
//     ...the panel's own fields...
//     addShowBox(QStringLiteral("Namensliste_anzeigen"), QStringLiteral("Namensliste anzeigen"),
//                2300);
//     addOutputButtons(QStringLiteral("Namensliste_ausgeben"),
//                      QStringLiteral("Ausgabe Namensliste (F2)"), SansSerif(8, true), 2900,
//                      QStringLiteral("Namensliste_schliessen"));
//     addResultLine(QStringLiteral("Namensliste_Meldung"), 3500);
//   }
//   void NameListPanel::writeOutput(ResultLine& line) {
//     line = WriteNameList(state(), {showAfterOutput()}, [this] { closeSelf(); });
//   }
//
// Names, captions and places are the panel's own; the base adds the controls in the order
// shown (which is their tab order) and binds the buttons to F2 and Esc.

#include "common/resultline.h"
#include "workpanel/workpanel.h"

class QCheckBox;
class QLabel;

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
