#include "officials/gatejudgecard.h"

#include "common/appstate.h"
#include "officials/officialdocframe.h"
#include "pdf/pdfpen.h"

namespace kx {

namespace {

// The right half of the landscape page starts here.
constexpr int kHalf = 1485;
constexpr int kEntryRows = 22;
constexpr int kFirstEntryRow = 435;
constexpr int kEntryRowHeight = 70;

// A fault column: its label, where the label stands, and the x of its guide line.
struct FaultColumn {
  const char* label;
  int labelX, labelY, lineX, lineTop;
};
constexpr FaultColumn kFaultColumns[] = {
    {"- eingefädelt", 545, 304, 546, 322},
    {"- am Tor vorbei", 590, 334, 591, 352},
    {"- Weiterfahrt nach Stillstand", 635, 364, 636, 382},
    {"- Hilfe durch fremde Person", 680, 394, 681, 412},
};
constexpr int kGuideBottom = 428;
constexpr int kCheckY = 405;

void DrawCard(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event, int X) {
  pen.setFont(QStringLiteral("Arial"));
  pen.setItalic(false);
  pen.setLineWidth(1);
  pen.setSize(12);
  pen.setBold(false);
  pen.textOut(X + 80, 90, QStringLiteral("Torrichterkarte"));
  pen.setBold(true);
  // Both lines end with the card's frame.
  pen.textOut(X + 450, 90, pen.cut(event.name, 950));
  pen.textOut(X + 450, 145,
              pen.cut(event.date + QStringLiteral("  ") + state.currentListTitle(), 950));

  pen.setSize(10);
  pen.setBold(false);
  pen.rectangle(X + 80, 225, X + 1400, 295);
  pen.textOut(X + 100, 241, QStringLiteral("Torrichter Name:"));
  pen.textOut(X + 870, 241, QStringLiteral("Handy-Nr:"));
  pen.rectangle(X + 80, 295, X + 520, 365);
  pen.textOut(X + 100, 311, QStringLiteral("Tore von:          bis:"));
  pen.rectangle(X + 520, 295, X + 1400, 435);

  pen.setSize(8);
  pen.setLineWidth(2);
  for (const FaultColumn& f : kFaultColumns) {
    pen.textOut(X + f.labelX, f.labelY, QString::fromUtf8(f.label));
    pen.line(X + f.lineX, f.lineTop, X + f.lineX, kGuideBottom);
    pen.textOut(X + f.lineX - 7, kCheckY, QStringLiteral("v"));
  }

  pen.setSize(10);
  pen.rectangle(X + 1060, 295, X + 1400, 365);
  pen.textOut(X + 1080, 311, QStringLiteral("Durchgang:"));
  pen.setLineWidth(1);
  pen.rectangle(X + 80, 365, X + 300, 435);
  pen.setBold(true);
  pen.textOut(X + 120, 381, QStringLiteral("Start-Nr."));
  pen.setBold(false);
  pen.rectangle(X + 300, 365, X + 520, 435);
  pen.textOut(X + 355, 381, QStringLiteral("Tor Nr."));
  pen.textOut(X + 1190, 381, QStringLiteral("Kommentar"));

  pen.setLineWidth(1);
  for (int i = 0; i < kEntryRows; ++i) {
    const int t = kFirstEntryRow + kEntryRowHeight * i;
    pen.rectangle(X + 80, t, X + 300, t + kEntryRowHeight);
    pen.rectangle(X + 300, t, X + 520, t + kEntryRowHeight);
    pen.rectangle(X + 520, t, X + 1400, t + kEntryRowHeight);
    for (const FaultColumn& f : kFaultColumns) {
      pen.rectangle(X + f.lineX - 10, t + 25, X + f.lineX + 10, t + 45);
    }
  }

  pen.setSize(6);
  pen.centered(X, X + 1480, 2020, state.CreditLine);
}

void DrawInstructions(pdf::PdfPen& pen) {
  const int X = kHalf;
  pen.setSize(12);
  pen.setBold(true);
  pen.textOut(X + 80, 110, QStringLiteral("Anweisungen für Torrichter"));
  int y = 225;
  pen.setSize(9);
  const std::vector<InstructionSection>& sections = GateJudgeInstructions();
  for (size_t s = 0; s < sections.size(); ++s) {
    pen.setBold(true);
    pen.textOut(X + 80, y, sections[s].heading);
    pen.setBold(false);
    y += 50;
    const QStringList& bullets = sections[s].bullets;
    for (qsizetype b = 0; b < bullets.size(); ++b) {
      pen.textOut(X + 130, y, QStringLiteral("•"));
      pen.drawText(X + 170, y, X + 1350, pdf::kAlignLeft, bullets[b]);
      const bool lastOfSection = b + 1 == bullets.size();
      if (lastOfSection && s + 1 == sections.size()) break;
      y = pen.textBottom() + (lastOfSection ? 55 : 10);
    }
  }
}

}  // namespace

CardLayout CardLayoutOfIndex(int index) {
  switch (index) {
    case 0:
      return CardLayout::CardAndInstructions;
    case 1:
      return CardLayout::TwoCards;
    default:
      return CardLayout::CardOnly;
  }
}

const std::vector<InstructionSection>& GateJudgeInstructions() {
  static const std::vector<InstructionSection> sections{
      {QStringLiteral("Ausfüllen der Torrichterkarte vor dem Rennen/Durchgang"),
       {QStringLiteral("Name und Handy-Nr des Torrichters"),
        QStringLiteral("Nummern der Tore, die zu überwachen sind"),
        QStringLiteral("Bezeichnung des Laufes (1. oder 2. Durchgang)")}},
      {QStringLiteral("Wann und wie ist ein Läufer einzutragen"),
       {QStringLiteral(
            "Nur Läufer eintragen, die tatsächlich einen Fehler gemacht haben oder ausgeschieden "
            "sind."),
        QStringLiteral("Startnummer des Läufers und (erste) Tornummer, wo der Läufer den Fehler "
                       "gemacht hat, aufschreiben."),
        QStringLiteral("Die Art des Fehlers ankreuzen."),
        QStringLiteral("Bei eventuellen Unklarheiten einen Kommentar dazuschreiben."),
        QStringLiteral("Läufer, die ein Tor trotz Fahrfehler richtig passiert haben, sind nicht "
                       "aufzuschreiben."),
        QStringLiteral("Eine eventuelle unrichtige Eintragung ist deutlich durchzustreichen.")}},
      {QStringLiteral("Wenn man sich nicht sicher ist …"),
       {QStringLiteral("Wenn man sich nicht sicher ist, ob ein Läufer einen Fehler gemacht hat, "
                       "im Zweifel für den Läufer entscheiden. Es ist besser, ein Fehler bleibt "
                       "unbestraft als der Läufer wird unrichtig bestraft."),
        QStringLiteral("Man kann auch einen benachbarten Torrichter befragen, ob dieser gesehen "
                       "hat, ob der Läufer das Tor richtig passiert hat."),
        QStringLiteral("Die Meinung von Zuschauern, Trainern und anderen Aktiven ist nicht "
                       "relevant und sollte die eigene Entscheidung nicht beeinflussen.")}},
      {QStringLiteral("Kommunikation mit dem Läufer"),
       {QStringLiteral("Der Torrichter muss dem Läufer auf Nachfrage Auskunft geben, ob er ein "
                       "Tor richtig passiert hat."),
        QStringLiteral("„Gut“, wenn kein Fehler vorliegt."),
        QStringLiteral("„Fehler“, wenn der Läufer das Tor nicht richtig passiert hat.")}},
      {QStringLiteral("Behinderung des Läufers"),
       {QStringLiteral("Wurde ein Läufer behindert und unterbricht dieser daraufhin seinen "
                       "Lauf, ist dies auf der Torrichterkarte zu vermerken."),
        QStringLiteral("Fährt der Läufer weiter, ist nichts aufzuschreiben.")}},
      {QStringLiteral("Nach Beendigung eines Durchgangs, bzw. des Rennens"),
       {QStringLiteral("Nach Abgabe der Torrichterkarte bitte im Zielraum aufhalten um "
                       "eventuelle Rückfragen der Rennleitung zu beantworten.")}},
  };
  return sections;
}

void DrawGateJudgeCard(pdf::PdfPen& pen, const AppState& state, const OfficialEvent& event,
                       CardLayout layout) {
  const int cards = layout == CardLayout::TwoCards ? 2 : 1;
  for (int k = 0; k < cards; ++k) DrawCard(pen, state, event, kHalf * k);
  if (layout == CardLayout::CardAndInstructions) DrawInstructions(pen);
}

void WriteGateJudgeCard(const AppState& state, CardLayout layout, bool openAfterOutput,
                        ResultLine& result) {
  OfficialDocFrame frame(
      state, {QStringLiteral("Torrichterkarte"), QString(), true, openAfterOutput}, result);
  if (!frame.Open()) return;
  DrawGateJudgeCard(frame.pen(), state, frame.event(), layout);
  frame.Finish();
}

}  // namespace kx
