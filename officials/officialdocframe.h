#pragma once

// The frame of the officials' documents: the save dialog with the proposed file name, the
// document with its title, the write check, the event row of the current discipline, the
// end of the document and the result line. It runs on the shared output steps of the
// lists (lists/), without the lists' page frame; the documents draw their own pages in
// between:
//
//   ResultLine line;
//   OfficialDocFrame frame(state, {"Schiedsrichterprotokoll", "", false, show}, line);
//   if (!frame.Open()) return;          // cancelled or not writable: `line` says so
//   ... draw on frame.pen() with frame.event() ...
//   frame.Finish();                     // file in place, `line` reports it
//
// Between Open and Finish the result line reads "<key> nicht gespeichert" in red, so an
// output abandoned by an error of the document or of the database reports itself.

#include "common/resultline.h"
#include "officials/officialpage.h"

#include <QString>

#include <functional>
#include <memory>

namespace kx::pdf {
class PdfPen;
}

namespace kx {

struct AppState;
class PdfListFrame;

struct OfficialDocParams {
  QString key;         // "Torrichterkarte": file-name stem, title and result texts
  QString fileSuffix;  // put before ".pdf" ("-DG2")
  bool landscape = false;
  bool openAfterOutput = true;
};

class OfficialDocFrame {
 public:
  OfficialDocFrame(const AppState& state, OfficialDocParams params, ResultLine& result);
  ~OfficialDocFrame();

  // Save dialog, document, write check, first page and event row. False when the user
  // cancelled or the file cannot be written.
  bool Open();
  const OfficialEvent& event() const { return event_; }
  bool eventFound() const { return eventFound_; }
  pdf::PdfPen& pen();
  const QString& file() const;

  // Ends the document without opening it, then runs `commit` (the write-back of a
  // document that changes the competition file) before the document replaces an earlier
  // file of its name. When `commit` throws, the new document is dropped, the earlier file
  // stays and the error goes on to the caller. Otherwise the result line reports the file
  // and the viewer opens when it was asked for and the event row exists.
  void Finish(const std::function<void()>& commit = {});

 private:
  const AppState& state_;
  OfficialDocParams params_;
  ResultLine& result_;
  std::unique_ptr<PdfListFrame> output_;
  OfficialEvent event_;
  bool eventFound_ = false;
};

}  // namespace kx
