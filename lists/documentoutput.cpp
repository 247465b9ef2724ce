#include "lists/documentoutput.h"

#include "common/appstate.h"
#include "common/safefile.h"
#include "common/userinterface.h"
#include "db/database.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace kx {

OutputContext OutputContext::Of(const AppState& state) {
  OutputContext c;
  c.db = state.CompetitionDb.get();
  c.ui = state.Ui;
  c.competitionFileName = state.CompetitionFileName;
  c.competitionDir = state.CompetitionDir;
  c.disciplineType = state.CurrentDisciplineType;
  c.listTitle = state.currentListTitle();
  c.documentTitle = state.currentDocumentTitle();
  c.creditLine = state.CreditLine;
  return c;
}

DocumentOutput::DocumentOutput(OutputContext context, ListWords words)
    : context_(std::move(context)), words_(std::move(words)) {}

DocumentOutput::~DocumentOutput() = default;

QString DocumentOutput::defaultFileName() const {
  QString discipline = context_.listTitle;
  discipline.replace(QLatin1Char('/'), QLatin1Char('_'));
  return context_.competitionFileName + words_.fileStem + discipline + QStringLiteral(".pdf");
}

bool DocumentOutput::AskFileName() {
  file_ = context_.ui->saveFileName({QStringLiteral("Datei auswählen"), context_.competitionDir,
                                     QStringLiteral("PDF-Dateien|*.pdf"), defaultFileName()});
  if (file_.isEmpty()) {
    result_ = ResultLine::cancelled(words_.listWord + QStringLiteral(" nicht gespeichert"));
    return false;
  }
  return true;
}

void DocumentOutput::CreateDoc(bool openAfterOutput, bool landscape) {
  doc_ = std::make_unique<pdf::PdfDocument>(context_.ui);
  pen_ = std::make_unique<pdf::PdfPen>(*doc_);
  if (openAfterOutput) pdf::PdfSetNumProp(*doc_, pdf::kPropOpenViewer, 1);
  // A document of the whole competition (no discipline title) is named by the file alone.
  QString title = words_.titleWord + context_.competitionFileName;
  const QString& discipline = words_.titleDiscipline == TitleDiscipline::ListTitle
                                  ? context_.listTitle
                                  : context_.documentTitle;
  if (!discipline.isEmpty()) title += QStringLiteral(" ") + discipline;
  pdf::PdfSetStrProp(*doc_, pdf::kPropTitle, title);
  doc_->SetStrProp(pdf::kPropFileName, file_);
  if (landscape) pdf::PdfSetNumProp(*doc_, pdf::kPropLandscape, 1);
}

namespace {

// The system's error number of the write check of `path`; 0 when it can be written.
int WriteCheckError(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::stat(name.constData(), &st) == 0) {
    // Not emptied; a pipe without a reader must not block.
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno;
    ::close(fd);
  }
  QByteArray probe = QFile::encodeName(QFileInfo(path).absolutePath() + "/.kandrix-XXXXXX");
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return errno;
  ::close(fd);
  ::unlink(probe.constData());
  return 0;
}

}  // namespace

QString WriteCheckRefusal(const QString& path, const QString& unknownCause,
                          const QString& lineBreak) {
  const int error = WriteCheckError(path);
  if (error == 0) return QString();
  // Any other cause (a folder of that name, a file held on a network share) keeps the
  // caller's guess.
  const bool known =
      error == EACCES || error == EPERM || error == EROFS || error == ENOSPC || error == EDQUOT;
  return path + lineBreak + QStringLiteral("kann nicht ausgegeben werden") + lineBreak +
         QLatin1Char('(') + (known ? FileErrorCause(error) : unknownCause) + QLatin1Char(')');
}

void ReportNoData(UserInterface& ui) {
  ui.message(QStringLiteral("Keine Daten gefunden!"), MsgIcon::Exclamation,
             QStringLiteral("Achtung"));
}

bool DocumentOutput::ProbeFile() {
  const QString refusal = WriteCheckRefusal(file_);
  if (refusal.isEmpty()) return true;
  context_.ui->message(refusal);
  pen_.reset();
  doc_.reset();
  if (onProbeFailed) onProbeFailed();
  return false;
}

void DocumentOutput::BeginDoc() {
  pdf::PdfCheck(*doc_, doc_->BeginDoc());
}

bool DocumentOutput::OpenDoc(bool openAfterOutput, bool landscape) {
  // A list from a file that the main program has meanwhile replaced or removed would
  // show stale data.
  if (context_.db != nullptr && context_.db->hasMoved()) {
    context_.ui->message(context_.db->movedText(), MsgIcon::Exclamation, QStringLiteral("Achtung"));
    return false;
  }
  if (!AskFileName()) return false;
  CreateDoc(openAfterOutput, landscape);
  if (!ProbeFile()) return false;
  BeginDoc();
  return true;
}

void DocumentOutput::KeepFromViewer() {
  pdf::PdfSetNumProp(*doc_, pdf::kPropOpenViewer, 0);
}

void DocumentOutput::FinishDoc(int rows, bool keepEmpty,
                               const std::function<void()>& beforePlacing) {
  if (rows <= 0 && !keepEmpty) {
    // A list that found nothing leaves the chosen file as it was: dropping the document
    // removes its temporary file, and the result line stays blank.
    pen_.reset();
    doc_.reset();
    return;
  }
  if (rows <= 0) KeepFromViewer();
  pdf::PdfCheck(*doc_, doc_->EndDocAside());
  if (beforePlacing) beforePlacing();  // a throw drops the document with doc_
  pdf::PdfCheck(*doc_, doc_->PlaceDoc());
  const bool noViewer = doc_->viewerFailed();
  pen_.reset();
  doc_.reset();
  // Reported only once the file is really written.
  result_ = ResultLine::saved(words_.listWord + QStringLiteral(" gespeichert unter: ") + file_);
  saved_ = true;
  if (noViewer) {
    AddResultNote(QStringLiteral(
        "Die Datei wurde gespeichert, aber es konnte kein PDF-Anzeigeprogramm geöffnet "
        "werden."));
  }
}

void DocumentOutput::AddResultNote(const QString& line) {
  if (saved_ && !line.isEmpty()) result_.text += QLatin1Char('\n') + line;
}

}  // namespace kx
