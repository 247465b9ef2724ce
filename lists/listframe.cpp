#include "lists/listframe.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "db/database.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library are registered by hand.
static void InitProgramResources() {
  Q_INIT_RESOURCE(kandrix);
}

namespace kx {

namespace {

const QString kNoEventData = QStringLiteral("Keine Bewerbs-Daten gefunden!");
// A footer band higher than this would leave no room for rows.
constexpr int kLargestFooterLogo = 100;

}  // namespace

QString ListEvent::firstLine() const {
  const qsizetype cut = bewerbsbezeichnung.indexOf(QLatin1String("\r\n"));
  return cut < 0 ? bewerbsbezeichnung : bewerbsbezeichnung.left(cut);
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

PdfListFrame::PdfListFrame(const AppState& state, ListWords words)
    : DocumentOutput(OutputContext::Of(state), std::move(words)),
      place_(state.Settings.ort),
      nation_(state.Settings.nation) {}

PdfListFrame::~PdfListFrame() = default;

const ListEvent& PdfListFrame::ReadListEvent(const QString& missingMessage) {
  event_ = ListEvent{};
  db::Recordset rs = context().connection().query(
      QStringLiteral("select bewerbsnummer,bewerbsbezeichnung,datum_startliste,datum_rangliste,"
                     "durchgaenge from tblDisziplin where dtyp = ") +
      QString::number(context().disciplineType));
  if (rs.empty()) {
    context().ui->message(missingMessage.isEmpty() ? kNoEventData : missingMessage,
                          MsgIcon::Exclamation, QStringLiteral("Achtung"));
    KeepFromViewer();
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
  const QString d = QString::number(context().disciplineType);
  db::Recordset rs = context().connection().query(
      QStringLiteral("select id,value from tblListenkopf where (disziplin = ") + d +
      QStringLiteral(" and id in (0,1)) or (disziplin=0 and id=92)"));
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
  for (const QString& dirPath : {QFileInfo(file()).absolutePath(), context().competitionDir}) {
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
  pdf::PdfDocument& doc = this->doc();
  pdf::PdfPen& pen = this->pen();
  if (page > 1) pdf::PdfCheck(doc, doc.NewPage());
  int y = 110;

  const QString logo1 = logo1File_ ? findPicture(QStringLiteral("logo1.bmp")) : QString();
  if (!logo1.isEmpty()) {
    pdf::PdfCheck(doc, doc.StretchDrawFromFile(100, 21, 490, 440, logo1));
  } else {
    pdf::PdfCheck(doc, doc.StretchDraw(100, 90, 410, 400, ProgramLogo()));
  }
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
               event_.bewerbsbezeichnung + QStringLiteral("\r\n") + context().listTitle);
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
      pen.rightAt(head.x, y, head.text, head.left);
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
              event_.listDate + QStringLiteral(" / ") + place_ + QStringLiteral(" (") + nation_ +
                  QStringLiteral(")"));
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
  const QDateTime now = context().ui->now();
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

}  // namespace kx
