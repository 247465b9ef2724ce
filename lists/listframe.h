#pragma once

// The page frame of the printed lists, on top of the output steps (lists/documentoutput.h):
// the event data and list header texts of the current discipline, and each page's frame
// (logos, heading, list title, double rules, column heads, foot block). A list gives the
// frame its words, title, heads and rows and draws its rows itself:
//
//   PdfListFrame frame(state, {"Startliste", "-Startliste-", "Startliste "});
//   if (!frame.OpenDoc(openAfterOutput)) return frame.result();
//   frame.ReadListEvent();
//   frame.ReadListHeadTexts();
//   int y = frame.StartListPage(1, title, heads, credit);
//   ... rows, a new StartListPage when y passes frame.limit(...) ...
//   frame.FinishDoc(rows);
//   return frame.result();

#include "lists/documentoutput.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace kx {

struct AppState;

// The event row of the current discipline.
struct ListEvent {
  bool found = false;
  QString bewerbsnummer;       // race number; empty when Null
  QString bewerbsbezeichnung;  // event name; may hold line breaks
  QString datum_startliste;
  QString datum_rangliste;
  QString listDate;  // datum_startliste, else datum_rangliste, else empty
  int durchgaenge = 0;

  // The event name up to its first line break.
  QString firstLine() const;
};

// Texts of the list header and foot, and the footer-logo band.
struct ListHeadTexts {
  QString evaluation;  // printed after "Auswertung: "
  QString timing;      // printed after "TIMING: "
  bool footerBand = false;
  int footerLogoHeight = 0;  // whole millimetres; 0 when the band is off
};

// A column head: "right at x" (right-aligned in the box from `left`, normally 150, to x)
// or "at x".
struct ColumnHead {
  QString text;
  int x = 0;
  bool rightAligned = false;
  int left = 150;
};
inline ColumnHead HeadAt(const QString& text, int x) {
  return {text, x, false};
}
inline ColumnHead HeadRightAt(const QString& text, int x, int left = 150) {
  return {text, x, true, left};
}

// The program's own picture, drawn as the left logo of the lists.
const QImage& ProgramLogo();

class PdfListFrame : public DocumentOutput {
 public:
  PdfListFrame(const AppState& state, ListWords words);
  ~PdfListFrame() override;

  ListEvent& event() { return event_; }
  const ListHeadTexts& headTexts() const { return head_; }
  int footerLogoHeight() const { return head_.footerLogoHeight; }

  // Reads the event row; without one shows `missingMessage` ("Keine Bewerbs-Daten
  // gefunden!" by default) and keeps the file from being opened in the viewer.
  const ListEvent& ReadListEvent(const QString& missingMessage = QString());
  const ListHeadTexts& ReadListHeadTexts();
  // Starts page `page` (1 for the page BeginDoc opened) with logos, heading, list title,
  // rules, column heads and foot block; returns the y of the first row (535).
  int StartListPage(int page, const QString& listTitle, const std::vector<ColumnHead>& heads,
                    const QString& creditText);
  // Pages started from now on take "logo1.bmp" (where found) as their left logo, larger
  // than the program's own picture that stands there otherwise (the ranked result pages).
  void useLogo1File(bool on) { logo1File_ = on; }
  // The row limit of the lists: `limit` less the footer band (whether or not the band's
  // picture exists).
  int limit(int base) const { return base - 10 * head_.footerLogoHeight; }

 private:
  // The paths of the pictures `names` (empty where there is none).
  void FindPictures(const QStringList& names, QStringList& found) const;
  // The logos beside the chosen or the competition file, found and read once per document.
  struct Picture {
    QString path;  // empty when there is none
    QImage image;  // null when it cannot be read
    void draw(pdf::PdfDocument& doc, int x1, int y1, int x2, int y2) const;
  };
  void FindLogos();
  bool logosFound_ = false;
  // The heading (event name, line break, discipline title) fitted into its block above the
  // list title, once per document: the size it is drawn at and what is drawn of it (a name
  // or title too long even at the smallest size cut with "…"). Fitted again when the text or
  // the block's width differs from the one it was fitted for.
  struct FittedHeading {
    QString name, title;
    int width = -1;
    int size = 16;
    QString shown;
  };
  const FittedHeading& FitHeading(const QString& name, const QString& title);
  FittedHeading heading_;
  // The evaluation and timing texts of the foot's last line, with their words, each kept on
  // that line clear of its neighbours: shrunk and cut like the heading, once per document.
  // Fitted again when the texts or the width of the print date before them differ.
  struct FittedFootText {
    QString shown;  // empty when there is no text
    int size = 10;
    int drop = 0;
  };
  struct FittedFoot {
    QString evaluation, timing;
    int dateWidth = -1;
    FittedFootText shownEvaluation, shownTiming;
  };
  const FittedFoot& FitFoot(int dateWidth);
  FittedFoot foot_;
  Picture logo1_, logo2_, logo3_;

  QString place_;  // the competition's place and nation, printed in the foot
  QString nation_;
  ListEvent event_;
  ListHeadTexts head_;
  bool logo1File_ = false;
};

}  // namespace kx
