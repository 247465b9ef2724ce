#include "officials/officialdocframe.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "lists/listframe.h"

#include <QFileInfo>

namespace kx {

namespace {

// The output steps and event row of the lists, with the document's suffix at the end of the
// proposed file name ("Cup-PenaltyProtokoll-Slalom_RS-DG2.pdf").
class OfficialOutput : public PdfListFrame {
 public:
  OfficialOutput(const AppState& state, const OfficialDocParams& params)
      : PdfListFrame(state, {params.key, QStringLiteral("-") + params.key + QStringLiteral("-"),
                             params.key + QStringLiteral(" ")}),
        suffix_(params.fileSuffix) {}

  QString defaultFileName() const override {
    QString name = PdfListFrame::defaultFileName();
    return name.insert(name.size() - 4, suffix_);  // before ".pdf"
  }

 private:
  QString suffix_;
};

}  // namespace

OfficialDocFrame::OfficialDocFrame(const AppState& state, OfficialDocParams params,
                                   ResultLine& result)
    : state_(state), params_(std::move(params)), result_(result) {
  output_ = std::make_unique<OfficialOutput>(state_, params_);
}

OfficialDocFrame::~OfficialDocFrame() = default;

pdf::PdfPen& OfficialDocFrame::pen() {
  return output_->pen();
}

const QString& OfficialDocFrame::file() const {
  return output_->file();
}

bool OfficialDocFrame::Open() {
  result_ = ResultLine{};
  if (!output_->OpenDoc(params_.openAfterOutput, params_.landscape)) {
    result_ = output_->result();
    return false;
  }
  result_ = ResultLine::cancelled(params_.key + QStringLiteral(" nicht gespeichert"));
  const ListEvent& row = output_->ReadListEvent(QStringLiteral("Keine Daten gefunden!"));
  eventFound_ = row.found;
  event_.name = row.firstLine();
  event_.date = row.datum_rangliste;
  event_.raceNumber = row.bewerbsnummer;
  event_.runs = row.durchgaenge;
  return true;
}

void OfficialDocFrame::Finish(const std::function<void()>& commit) {
  // The viewer waits until the competition file agrees with the document.
  output_->KeepFromViewer();
  const QString path = output_->file();
  output_->FinishDoc(1, true, commit);
  result_ = output_->result();
  if (params_.openAfterOutput && eventFound_) {
    state_.Ui->openViewer(QFileInfo(path).absoluteFilePath());
  }
}

}  // namespace kx
