#pragma once

// The output steps that every document of the program goes through, and the narrow context
// they need. A new document (an officials' document, a hand-time protocol, a certificate,
// the referee report) is written like this:
//
//   DocumentOutput out(OutputContext::Of(state), {"Protokoll", "-Protokoll-", "Protokoll "});
//   if (!out.OpenDoc(openAfterOutput)) return out.result();  // cancelled or not writable
//   pdf::PdfPen& pen = out.pen();                             // draw the pages
//   ...
//   out.FinishDoc(rows);                                      // file in place, result line
//   return out.result();
//
// OpenDoc asks for the file (save dialog with the proposed name "<file><stem><discipline>.pdf"
// in the competition's folder), creates the document (title, viewer flag, orientation),
// checks that the chosen file can be written without touching it, and opens the first
// page. The document is written to a temporary file beside the chosen one that EndDoc
// renames into place, so an abandoned output never damages an earlier file. FinishDoc
// reports "<word> gespeichert unter: <file>" in black; a list without rows writes nothing;
// a cancelled dialog leaves "<word> nicht gespeichert" in red. A failing PDF step throws
// pdf::PdfAbort after its message, which RunGuarded ends silently.
//
// The lists of the start and result side draw on the list page frame built on these steps
// (lists/listframe.h).

#include "common/resultline.h"
#include "pdf/pdfdocument.h"
#include "pdf/pdfpen.h"

#include <QString>

#include <functional>
#include <memory>

namespace kx {

struct AppState;
class UserInterface;
namespace db {
class Connection;
}

// Whether `path` can be written without touching it (an existing file must open for
// writing without being emptied, and its folder must take a new file beside it): empty when
// it can, else the person's message: the file, "kann nicht ausgegeben werden" and, in
// brackets, the cause where it is known (no write rights, a read-only medium, a full disk),
// else `unknownCause`; the three parts separated by `lineBreak`.
QString WriteCheckRefusal(
    const QString& path,
    const QString& unknownCause = QStringLiteral("ist vermutlich noch geöffnet"),
    const QString& lineBreak = QStringLiteral("\n"));

// Tells the person that an output found nothing to write: "Keine Daten gefunden!" with the
// exclamation icon and the caption "Achtung". The output then writes no file, and an
// earlier file at the chosen path stays as it was.
void ReportNoData(UserInterface& ui);

// What an output needs to know of the open competition and the current discipline.
struct OutputContext {
  db::Connection* db = nullptr;
  UserInterface* ui = nullptr;
  QString competitionFileName;  // without folder and extension
  QString competitionDir;
  int disciplineType = 0;
  QString listTitle;      // the current discipline's list title ("Riesenslalom")
  QString documentTitle;  // the same in most document titles ("Zovudo Vivurar" for type 8's
                          // parallel slalom; see TitleDiscipline)
  QString creditLine;

  static OutputContext Of(const AppState& state);
  db::Connection& connection() const { return *db; }
};

// How a document title names the current discipline.
enum class TitleDiscipline {
  DocumentName,  // as the window caption does: the parallel slalom of type 8 by its own name
  ListTitle,     // by its list title, whatever the type
};

// What a document calls itself.
struct ListWords {
  QString listWord;   // "Startliste": "Startliste gespeichert unter: " / "... nicht gespeichert"
  QString fileStem;   // "-Startliste-": middle of the proposed file name
  QString titleWord;  // "Startliste ": first word of the document title
  TitleDiscipline titleDiscipline = TitleDiscipline::DocumentName;
};

class DocumentOutput {
 public:
  DocumentOutput(OutputContext context, ListWords words);
  virtual ~DocumentOutput();

  // Called when the write check fails (the start lists close their panel then).
  std::function<void()> onProbeFailed;

  const OutputContext& context() const { return context_; }
  // The result line as the output leaves it.
  const ResultLine& result() const { return result_; }
  const QString& file() const { return file_; }
  pdf::PdfDocument& doc() { return *doc_; }
  pdf::PdfPen& pen() { return *pen_; }

  // The proposed file name: competition file name, stem, discipline title ("/" as "_").
  // A document with a name of another form overrides it.
  virtual QString defaultFileName() const;
  // Save dialog. False when the user cancelled: the result line turns red.
  bool AskFileName();
  // Creates the document: viewer flag, title (title word, competition file name and the
  // discipline as the words say), output file, orientation.
  void CreateDoc(bool openAfterOutput, bool landscape = false);
  // Checks that the chosen file can be written, without changing it. False: the message
  // was shown, the document released and `onProbeFailed` called.
  bool ProbeFile();
  void BeginDoc();
  // The four steps above in their order: false when the user cancelled or the file cannot
  // be written (the result line then says what happened).
  bool OpenDoc(bool openAfterOutput, bool landscape = false);
  // Keeps the finished file from being opened in the viewer.
  void KeepFromViewer();
  // Ends the document and reports the file in black in the result line. Without rows the
  // document is dropped: nothing is written, a file at the chosen path stays as it was and
  // the result line stays blank; only a document that is meant to be written empty (a form:
  // `keepEmpty`) is written then, and not opened in the viewer.
  // `beforePlacing` runs once the document is complete beside its target and before it
  // replaces the earlier file (a database commit, a second file): when it throws, the new
  // document is dropped, the earlier file stays as it was and the exception goes on to the
  // caller.
  void FinishDoc(int rows, bool keepEmpty = false, const std::function<void()>& beforePlacing = {});
  // Adds a line to a result line that reports the file (nothing for an empty text).
  void AddResultNote(const QString& line);

 private:
  OutputContext context_;
  ListWords words_;
  ResultLine result_;
  bool saved_ = false;  // the result line reports the written file
  QString file_;
  std::unique_ptr<pdf::PdfDocument> doc_;
  std::unique_ptr<pdf::PdfPen> pen_;
};

}  // namespace kx
