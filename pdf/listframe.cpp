#include "pdf/listframe.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "db/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryFile>

// Resources of a static library are registered by hand.
static void InitProgramResources() {
  Q_INIT_RESOURCE(kandrix);
}

namespace kx {

namespace {

const QString kProgramTitle = QStringLiteral("Kandrix (Kandor Zusatzprogramm)");
const QString kToolName = QStringLiteral("Dizezizar Ivezodovuzorov");
const QString kNoEventData = QStringLiteral("Keine Bewerbs-Daten gefunden!");
// A footer band higher than this would leave no room for rows.
constexpr int kLargestFooterLogo = 100;

}  // namespace

QString ListEvent::firstLine() const {
  const qsizetype cut = bewerbsbezeichnung.indexOf(QLatin1String("\r\n"));
  return cut < 0 ? bewerbsbezeichnung : bewerbsbezeichnung.left(cut);
}

QString SexWord(const QString& code, const QString& raceNumber) {
  if (code == QLatin1String("W")) {
    return raceNumber.contains(QLatin1Char('M')) ? QStringLiteral("Mädchen")
                                                 : QStringLiteral("Damen");
  }
  if (code == QLatin1String("M")) {
    return raceNumber.contains(QLatin1Char('B')) ? QStringLiteral("Buben")
                                                 : QStringLiteral("Herren");
  }
  return code;
}

QString StartListCreditLine(const QString& creditLine) {
  QString credit = creditLine;
  const qsizetype at = credit.indexOf(kProgramTitle);
  if (at >= 0) credit.replace(at, kProgramTitle.size(), kToolName);
  return credit;
}

const QImage& ProgramLogo() {
  static const QImage logo = [] {
    InitProgramResources();
    QSvgRenderer renderer(QStringLiteral(":/kandrix/logo.svg"));
    QImage image(620, 620, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
  }();
  return logo;
}

PdfListFrame::PdfListFrame(AppState& state, ListWords words)
    : state_(state), words_(std::move(words)) {}

PdfListFrame::~PdfListFrame() = default;

QString PdfListFrame::defaultFileName() const {
  QString discipline = state_.currentListTitle();
  discipline.replace(QLatin1Char('/'), QLatin1Char('_'));
  return state_.CompetitionFileName + words_.fileStem + discipline + QStringLiteral(".pdf");
}

bool PdfListFrame::AskListFileName() {
  defaultName_ = defaultFileName();
  file_ = state_.Ui->saveFileName({QStringLiteral("Datei auswählen"), state_.CompetitionDir,
                                   QStringLiteral("PDF-Dateien|*.pdf"), defaultName_});
  if (file_.isEmpty()) {
    result_ = ResultLine::cancelled(words_.listWord + QStringLiteral(" nicht gespeichert"));
    return false;
  }
  return true;
}

QString PdfListFrame::documentTitleTail() const {
  if (state_.currentName() == QLatin1String("Parallelslalom") &&
      state_.Settings.typ == QLatin1String("8")) {
    return QStringLiteral(" Zovudo Vivurar");
  }
  return QStringLiteral(" ") + state_.currentListTitle();
}

void PdfListFrame::CreateListDoc(bool openAfterOutput, bool landscape) {
  doc_ = std::make_unique<pdf::PdfDocument>(state_.Ui);
  pen_ = std::make_unique<pdf::PdfPen>(*doc_);
  if (openAfterOutput) pdf::PdfSetNumProp(*doc_, pdf::kPropOpenViewer, 1);
  pdf::PdfSetStrProp(*doc_, pdf::kPropTitle,
                     words_.titleWord + state_.CompetitionFileName + documentTitleTail());
  doc_->SetStrProp(pdf::kPropFileName, file_);
  if (landscape) pdf::PdfSetNumProp(*doc_, pdf::kPropLandscape, 1);
}

bool PdfListFrame::ProbeListFile() {
  // The file itself is not touched: an existing file must open for writing without being
  // emptied, and its directory must take the new document beside it.
  bool writable = true;
  QFile file(file_);
  if (file.exists()) {
    writable = file.open(QIODevice::ReadWrite);
    file.close();
  }
  if (writable) {
    QTemporaryFile probe(QFileInfo(file_).absolutePath() + QStringLiteral("/.kandrix-XXXXXX"));
    writable = probe.open();
  }
  if (writable) return true;
  state_.Ui->message(
      file_ + QStringLiteral("\nkann nicht ausgegeben werden\n(ist vermutlich noch geöffnet)"));
  pen_.reset();
  doc_.reset();
  if (onProbeFailed) onProbeFailed();
  return false;
}

void PdfListFrame::BeginListDoc() {
  pdf::PdfCheck(*doc_, doc_->BeginDoc());
}

bool PdfListFrame::OpenListDoc(bool openAfterOutput, bool landscape) {
  if (!AskListFileName()) return false;
  CreateListDoc(openAfterOutput, landscape);
  if (!ProbeListFile()) return false;
  BeginListDoc();
  return true;
}

const ListEvent& PdfListFrame::ReadListEvent(const QString& missingMessage) {
  event_ = ListEvent{};
  db::Recordset rs = state_.db().query(
      QStringLiteral("select bewerbsnummer,bewerbsbezeichnung,datum_startliste,datum_rangliste,"
                     "durchgaenge from tblDisziplin where dtyp = ") +
      QString::number(state_.CurrentDisciplineType));
  if (rs.empty()) {
    state_.Ui->message(missingMessage.isEmpty() ? kNoEventData : missingMessage,
                       MsgIcon::Exclamation, QStringLiteral("Achtung"));
    pdf::PdfSetNumProp(*doc_, pdf::kPropOpenViewer, 0);
    return event_;
  }
  event_.found = true;
  event_.bewerbsnummer = rs.at(0, "bewerbsnummer").toString();
  event_.bewerbsbezeichnung = rs.at(0, "bewerbsbezeichnung").toString();
  event_.datum_startliste = rs.at(0, "datum_startliste").toString();
  event_.datum_rangliste = rs.at(0, "datum_rangliste").toString();
  event_.listDate = !rs.at(0, "datum_startliste").isNull()  ? event_.datum_startliste
                    : !rs.at(0, "datum_rangliste").isNull() ? event_.datum_rangliste
                                                            : QString();
  event_.durchgaenge = rs.at(0, "durchgaenge").toInt();
  return event_;
}

const ListHeadTexts& PdfListFrame::ReadListHeadTexts() {
  head_ = ListHeadTexts{};
  const QString d = QString::number(state_.CurrentDisciplineType);
  db::Recordset rs =
      state_.db().query(QStringLiteral("select id,value from tblListenkopf where (disziplin = ") +
                        d + QStringLiteral(" and id in (0,1)) or (disziplin=0 and id=92)"));
  for (int i = 0; i < rs.count(); ++i) {
    const int id = rs.at(i, "id").toInt();
    const QString value = rs.at(i, "value").toString();
    if (id == 0) head_.evaluation = value;
    if (id == 1) head_.timing = value;
    if (id == 92) {
      // "1;12": band on, 12 mm high. A setting without a height leaves the band off.
      head_.footerBand = false;
      head_.footerLogoHeight = 0;
      if (value.startsWith(QLatin1Char('1'))) {
        QString digits;
        for (const QChar c : value.mid(2)) {
          if (!c.isDigit()) break;
          digits.append(c);
        }
        const int height = qMin(digits.toInt(), kLargestFooterLogo);
        if (height > 0) {
          head_.footerBand = true;
          head_.footerLogoHeight = height;
        }
      }
    }
  }
  return head_;
}

QString PdfListFrame::findPicture(const QString& name) const {
  // Beside the chosen file first, then beside the competition file; the name's case
  // does not matter (pictures copied from other systems).
  for (const QString& dirPath : {QFileInfo(file_).absolutePath(), state_.CompetitionDir}) {
    if (dirPath.isEmpty()) continue;
    const QDir dir(dirPath);
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
      if (entry.compare(name, Qt::CaseInsensitive) == 0) return dir.filePath(entry);
    }
  }
  return QString();
}

int PdfListFrame::StartListPage(int page, const QString& listTitle,
                                const std::vector<ColumnHead>& heads, const QString& creditText) {
  pdf::PdfDocument& doc = *doc_;
  pdf::PdfPen& pen = *pen_;
  if (page > 1) pdf::PdfCheck(doc, doc.NewPage());
  int y = 110;

  pdf::PdfCheck(doc, doc.StretchDraw(100, 90, 410, 400, ProgramLogo()));
  const QString logo2 = findPicture(QStringLiteral("logo2.bmp"));
  if (!logo2.isEmpty()) pdf::PdfCheck(doc, doc.StretchDrawFromFile(1710, 90, 2020, 400, logo2));
  const QString logo3 = findPicture(QStringLiteral("logo3.bmp"));
  const bool band = head_.footerBand && !logo3.isEmpty();
  if (band) {
    pdf::PdfCheck(
        doc, doc.StretchDrawFromFile(100, 2870 - 10 * head_.footerLogoHeight, 2020, 2870, logo3));
  }

  pen.setFont(QStringLiteral("Arial"));
  pen.setSize(16);
  pen.setBold(true);
  pen.setItalic(false);
  pen.centered(130, 1970, 110,
               event_.bewerbsbezeichnung + QStringLiteral("\r\n") + state_.currentListTitle());
  y += 215;
  pen.centered(130, 1970, y, listTitle);
  y += 70;

  pen.setLineWidth(1);
  pen.line(100, y, 2020, y);
  y += 5;
  pen.line(100, y, 2020, y);
  y += 50;

  pen.setSize(10);
  for (const ColumnHead& head : heads) {
    if (head.rightAligned) {
      pen.rightAt(head.x, y, head.text);
    } else {
      pen.textOut(head.x, y, head.text);
    }
  }
  y += 85;

  // Foot block.
  const int f = band ? 2670 - 10 * head_.footerLogoHeight : 2670;
  pen.setSize(10);
  pen.setBold(true);
  pen.textOut(100, f,
              event_.listDate + QStringLiteral(" / ") + state_.Settings.ort + QStringLiteral(" (") +
                  state_.Settings.nation + QStringLiteral(")"));
  const QString pageText =
      event_.bewerbsnummer.isEmpty()
          ? QStringLiteral("Seite %1").arg(page)
          : QStringLiteral("Bewerbsnummer %1,  Seite %2").arg(event_.bewerbsnummer).arg(page);
  pen.drawText(100, f, 2020, pdf::kAlignRight, pageText);
  pen.setLineWidth(1);
  pen.line(100, f + 45, 2020, f + 45);
  pen.line(100, f + 50, 2020, f + 50);
  pen.setSize(8);
  pen.setBold(false);
  pen.centered(100, 2020, f + 65, creditText);
  pen.line(100, f + 110, 2020, f + 110);
  pen.line(100, f + 115, 2020, f + 115);
  pen.setSize(10);
  pen.setBold(true);
  const QDateTime now = state_.Ui->now();
  pen.textOut(100, f + 130,
              QStringLiteral("Ausdruck: ") + now.date().toString(QStringLiteral("dd.MM.yyyy")) +
                  QStringLiteral(" / ") + now.time().toString(QStringLiteral("HH:mm")));
  if (!head_.evaluation.isEmpty()) {
    pen.centered(100, 2020, f + 130, QStringLiteral("Auswertung: ") + head_.evaluation);
  }
  if (!head_.timing.isEmpty()) {
    pen.drawText(100, f + 130, 2020, pdf::kAlignRight, QStringLiteral("TIMING: ") + head_.timing);
  }
  return y;
}

void PdfListFrame::FinishListDoc(int rows, bool reportAlways) {
  const bool report = rows > 0 || reportAlways;
  if (rows <= 0) pdf::PdfSetNumProp(*doc_, pdf::kPropOpenViewer, 0);
  pdf::PdfCheck(*doc_, doc_->EndDoc());
  pen_.reset();
  doc_.reset();
  // Reported only once the file is really written.
  if (report)
    result_ = ResultLine::saved(words_.listWord + QStringLiteral(" gespeichert unter: ") + file_);
}

}  // namespace kx
