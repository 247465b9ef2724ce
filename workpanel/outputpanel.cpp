#include "workpanel/outputpanel.h"

#include <QCheckBox>
#include <QLabel>

namespace kx {

namespace {

void ShowResult(QLabel* label, const ResultLine& line) {
  if (!label) return;
  label->setText(line.text);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, line.color);
  label->setPalette(palette);
}

}  // namespace

void OutputPanel::mainAction() {
  ResultLine line;
  ShowResult(result_, line);
  guarded([&] { writeOutput(line); });
  ShowResult(result_, line);
}

void OutputPanel::addShowBox(const QString& name, const QString& caption, int top, int width) {
  show_ = addCheckBox(name, caption, true, SansSerif(8), {600, top, width, 375});
}

void OutputPanel::addOutputButtons(const QString& name, const QString& caption,
                                   const PanelFont& font, int top, const QString& closeName,
                                   int width) {
  addButton(name, caption, font, {600, top, width, 375}, [this] { mainAction(); });
  addButton(closeName, QStringLiteral("Schließen (Esc)"), SansSerif(8), {4080, top, 2055, 375},
            [this] { closeAction(); });
}

void OutputPanel::addResultLine(const QString& name, int top) {
  result_ = addLabel(name, QStringLiteral(" "), Arial(10), {600, top, 6735, 975});
}

bool OutputPanel::showAfterOutput() const {
  return show_ && show_->isChecked();
}

}  // namespace kx
