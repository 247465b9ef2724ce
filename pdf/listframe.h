#pragma once

// The frame of the printed lists: the save dialog with its proposed file name, the
// document with its title, the write check of the chosen file, the event data and list
// header texts of the current discipline, the page frame (logos, heading, list title,
// double rules, column heads, foot block) and the panel's result line. A list gives the
// frame its words, stem, title, heads and rows; it draws its rows itself.

#include "common/resultline.h"
#include "pdf/pdfdocument.h"
#include "pdf/pdfpen.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace kx {

struct AppState;

// What a list calls itself.
struct ListWords {
  QString listWord;   // "Startliste": "Startliste gespeichert unter: " / "... nicht gespeichert"
  QString fileStem;   // "-Startliste-": middle of the proposed file name
  QString titleWord;  // "Startliste ": first word of the document title
};

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

// A column head: "right at x" (right-aligned in the box from 150 to x) or "at x".
struct ColumnHead {
  QString text;
  int x = 0;
  bool rightAligned = false;
};
inline ColumnHead HeadAt(const QString& text, int x) {
  return {text, x, false};
}
inline ColumnHead HeadRightAt(const QString& text, int x) {
  return {text, x, true};
}

// The women's and men's word of a group or sex code, by the letters of the race number:
// "W" is "Mädchen" when the race number holds a capital M, else "Damen"; "M" is "Buben"
// when it holds a capital B, else "Herren"; any other code is returned unchanged.
QString SexWord(const QString& code, const QString& raceNumber);

// The credit line of the start lists: the program title replaced by the tool's own name.
QString StartListCreditLine(const QString& creditLine);

// The program's own picture, drawn as the left logo of the lists.
const QImage& ProgramLogo();

class PdfListFrame {
 public:
  PdfListFrame(AppState& state, ListWords words);
  ~PdfListFrame();

  // Called when the write check fails (the start lists close their panel then).
  std::function<void()> onProbeFailed;

  // The result line as the output leaves it.
  const ResultLine& result() const { return result_; }
  const QString& file() const { return file_; }
  pdf::PdfDocument& doc() { return *doc_; }
  pdf::PdfPen& pen() { return *pen_; }
  ListEvent& event() { return event_; }
  const ListHeadTexts& headTexts() const { return head_; }
  int footerLogoHeight() const { return head_.footerLogoHeight; }

  // The proposed file name: competition file name, stem, discipline title ("/" as "_").
  QString defaultFileName() const;
  // Save dialog. False when the user cancelled: the result line turns red.
  bool AskListFileName();
  // Creates the document: viewer flag, title, output file, landscape page.
  void CreateListDoc(bool openAfterOutput, bool landscape = false);
  // Checks that the chosen file can be written, without changing it. False: the message
  // was shown, the document released and `onProbeFailed` called.
  bool ProbeListFile();
  void BeginListDoc();
  // The four steps above in their order: false when the user cancelled or the file cannot
  // be written (the result line then says what happened).
  bool OpenListDoc(bool openAfterOutput, bool landscape = false);
  // Reads the event row; without one shows `missingMessage` ("Keine Bewerbs-Daten
  // gefunden!" by default) and keeps the file from being opened in the viewer.
  const ListEvent& ReadListEvent(const QString& missingMessage = QString());
  const ListHeadTexts& ReadListHeadTexts();
  // Starts page `page` (1 for the page BeginDoc opened) with logos, heading, list title,
  // rules, column heads and foot block; returns the y of the first row (535).
  int StartListPage(int page, const QString& listTitle, const std::vector<ColumnHead>& heads,
                    const QString& creditText);
  // Ends the document. With rows (or `reportAlways`) the result line reports the file in
  // black; without rows the file is not opened in the viewer.
  void FinishListDoc(int rows, bool reportAlways = false);

  // The row limit of the lists: `limit` less the footer band (whether or not the band's
  // picture exists).
  int limit(int base) const { return base - 10 * head_.footerLogoHeight; }

  // The heading's discipline title: "Zovudo Vivurar" for the parallel slalom of type 8.
  QString documentTitleTail() const;

 private:
  QString findPicture(const QString& name) const;

  AppState& state_;
  ListWords words_;
  ResultLine result_;
  QString defaultName_;
  QString file_;
  std::unique_ptr<pdf::PdfDocument> doc_;
  std::unique_ptr<pdf::PdfPen> pen_;
  ListEvent event_;
  ListHeadTexts head_;
};

}  // namespace kx
