#pragma once

// The gate-judge card: an A4 landscape form with 22 entry rows on which a gate judge notes
// the racers who made a fault at his gates, printed with the instructions for gate judges
// beside it or as two cards side by side.

#include "common/resultline.h"
#include "officials/officialpage.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace kx::pdf {
class PdfPen;
}

namespace kx {

struct AppState;

// The items of the variant box, by list index.
inline const QStringList kGateJudgeCardVariants{
    QStringLiteral("Torrichterkarte + Anweisungen für Torrichter"),
    QStringLiteral("2 Torrichterkarten")};

// The card variant chosen in the box: its list index, or -1 for typed text that selects no
// item (one card, empty right half).
enum class CardLayout { CardAndInstructions, TwoCards, CardOnly };
CardLayout CardLayoutOfIndex(int index);

// One section of the instructions: its heading and its bullets.
struct InstructionSection {
  QString heading;
  QStringList bullets;
};
const std::vector<InstructionSection>& GateJudgeInstructions();

// Draws the card(s) and, for CardAndInstructions, the instructions on the landscape page.
void DrawGateJudgeCard(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                       CardLayout layout);

// Writes the card of the current discipline as a PDF file through the officials' frame;
// `result` is the panel's result line as the output leaves it.
void WriteGateJudgeCard(const AppState& state, CardLayout layout, bool openAfterOutput,
                        ResultLine& result);

}  // namespace kx
