#include "startorder/boardlistdg2panel.h"

#include "common/userinterface.h"
#include "startorder/boardlistdg2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace kx {

void BoardListDG2Panel::build() {
  addHead(2700, true, GroupingChoices::Run2Board);
  addLabel(QStringLiteral("Label04"), QStringLiteral("Umkehrung der ersten"), Arial(9),
           {600, 2610, 1875, 255});
  reverse_ = addTextBox(QStringLiteral("TafellisteDG2umkehren"), QStringLiteral("30"), Arial(9),
                        {2700, 2580, 735, 285});
  addFormat(QStringLiteral("Label05"), 3080, 2700);
  appendNonFinishers_ =
      addCheckBox(QStringLiteral("TafellisteDG2_mitallen"),
                  QStringLiteral("NiZ/Dis vom 1. Durchgang zusätzlich hinten anfügen"), false,
                  SansSerif(8), {600, 3680, 4600, 375});
  addFoot(QStringLiteral("TafellisteDG2"), 4110, 4890, 5490);
}

void BoardListDG2Panel::writeOutput(ResultLine& line) {
  BoardListDG2Options options;
  options.newPagePerGroup = newPage_->isChecked();
  options.appendNonFinishers = appendNonFinishers_->isChecked();
  options.openAfterOutput = showAfterOutput();
  QString reverseText = reverse_->text();
  const std::optional<int> reverseCount = ReadReversalCount(ui(), reverseText);
  reverse_->setText(reverseText);
  if (!reverseCount) return;
  options.reverseCount = *reverseCount;
  options.grouping = grouping_->itemText(grouping_->currentIndex());
  options.landscape = format_->currentIndex() == 1;
  line = WriteBoardListDG2(state(), options);
}

}  // namespace kx
