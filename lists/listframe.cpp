#include "lists/listframe.h"

#include "common/appstate.h"
#include "common/userinterface.h"
#include "db/database.h"

#include <QDir>
#include <QDirIterator>
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

// The heading block: centred between these edges with its first line's top at 110, and no
// higher than this, so that it stays above the list title.
constexpr int kHeadingLeft = 130;
constexpr int kHeadingRight = 1970;
constexpr int kHeadingRoom = 205;
// A longer event name is measured in beginnings of this many characters, then twice as
// many and so on: once a beginning is too high for the block, the whole name is too. The
// block holds a few thousand characters at the smallest size.
constexpr qsizetype kFirstProbe = 2048;
// The edges of the foot's lines.
constexpr int kFootLeft = 100;
constexpr int kFootRight = 2020;

// The first `length` characters of `text`, without half a line break or half a character
// at the end.
QString Beginning(const QString& text, qsizetype length) {
  QString part = text.left(length);
  if (part.size() < text.size() && !part.isEmpty() &&
      (part.back() == QLatin1Char('\r') || part.back().isHighSurrogate()))
    part.chop(1);
  return part;
}

}  // namespace

QString ListEvent::firstLine() const {
  const qsizetype cut = bewerbsbezeichnung.indexOf(QLatin1String("\r\n"));
  return cut < 0 ? bewerbsbezeichnung : bewerbsbezeichnung.left(cut);
}

const QImage& ProgramLogo() {
  static const QImage logo = [] {
    InitProgramResources();
    QSvgRenderer renderer(QStringLiteral(":/kandrix/logo.svg"));
    // As many pixels as the logo's 31 mm take at the document's 254 dpi, on white without
    // an alpha channel: each document compresses it once.
    QImage image(310, 310, QImage::Format_RGB32);
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

void PdfListFrame::FindPictures(const QStringList& names, QStringList& found) const {
  // Beside the chosen file first, then beside the competition file; the name's case
  // does not matter (pictures copied from other systems). The exact names are tried before
  // a folder is listed, and a folder is listed once for all of them: output folders may
  // hold thousands of files.
  found = QStringList(names.size(), QString());
  for (const QString& dirPath : {QFileInfo(file()).absolutePath(), context().competitionDir}) {
    if (dirPath.isEmpty()) continue;
    const QDir dir(dirPath);
    bool missing = false;
    for (qsizetype i = 0; i < names.size(); ++i) {
      if (found[i].isEmpty() && QFileInfo(dir.filePath(names[i])).isFile())
        found[i] = dir.filePath(names[i]);
      missing = missing || found[i].isEmpty();
    }
    if (!missing) return;
    QDirIterator it(dirPath, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
      it.next();
      for (qsizetype i = 0; i < names.size(); ++i) {
        if (found[i].isEmpty() && it.fileName().compare(names[i], Qt::CaseInsensitive) == 0)
          found[i] = it.filePath();
      }
    }
  }
}

void PdfListFrame::Picture::draw(pdf::PdfDocument& doc, int x1, int y1, int x2, int y2) const {
  // A picture that cannot be read is reported by the file-drawing step.
  if (image.isNull()) {
    pdf::PdfCheck(doc, doc.StretchDrawFromFile(x1, y1, x2, y2, path));
  } else {
    pdf::PdfCheck(doc, doc.StretchDraw(x1, y1, x2, y2, image));
  }
}

void PdfListFrame::FindLogos() {
  if (logosFound_) return;
  logosFound_ = true;
  QStringList found;
  QStringList names{QStringLiteral("logo2.bmp"), QStringLiteral("logo3.bmp")};
  if (logo1File_) names << QStringLiteral("logo1.bmp");
  FindPictures(names, found);
  logo2_.path = found[0];
  logo3_.path = found[1];
  if (logo1File_) logo1_.path = found[2];
  for (Picture* picture : {&logo1_, &logo2_, &logo3_}) {
    if (!picture->path.isEmpty()) picture->image = QImage(picture->path);
  }
}

const PdfListFrame::FittedHeading& PdfListFrame::FitHeading(const QString& name,
                                                            const QString& title) {
  constexpr int kSmallest = pdf::PdfPen::kSmallestSize;
  const int width = kHeadingRight - kHeadingLeft;
  if (heading_.width == width && heading_.name == name && heading_.title == title) return heading_;
  pdf::PdfPen& pen = this->pen();
  const QString lineBreak = QStringLiteral("\r\n");
  auto height = [&](const QString& heading) {
    return pen.textHeight(kHeadingLeft, kHeadingRight, heading);
  };
  // Whether `text`, set after `above` and before `below`, makes the heading too high for the
  // block in the current font. `lines` become the text's lines as far as it was measured:
  // the whole text, or the beginning that was found too high (`whole` tells which).
  QStringList lines;
  bool whole = false;
  auto tooHigh = [&](const QString& above, const QString& text, const QString& below) {
    for (qsizetype probe = kFirstProbe;; probe *= 2) {
      whole = probe >= text.size();
      lines = pen.wrapText(kHeadingLeft, kHeadingRight, whole ? text : Beginning(text, probe));
      if (height(above + lines.join(lineBreak) + below) > kHeadingRoom) return true;
      if (whole) return false;
    }
  };

  // A title that would fill the block under one line of the name, even at the smallest size,
  // is cut to its first line at that size: the rest of the block is the name's.
  pen.setSize(kSmallest);
  QString below = lineBreak + title;
  if (tooHigh(lineBreak, title, QString()))
    below = lineBreak + pen.cut(lines.first() + QChar(0x2026), width);

  int size = 16;
  bool cut = false;
  if (name.size() > kFirstProbe) {
    // A name too high even at the smallest size is set at that size right away.
    cut = tooHigh(QString(), name, below);
    if (cut) size = kSmallest;
  }
  if (!cut) {
    pen.setSize(size);
    while (size > kSmallest && tooHigh(QString(), name, below)) pen.setSize(--size);
    cut = size == kSmallest && tooHigh(QString(), name, below);
  }
  QString shown = name;
  if (cut) {
    // The name's lines that fit above the title, the last of them cut with "…" like a name
    // in its column. The lines are kept apart by line breaks, so that no page has to wrap
    // them again.
    qsizetype kept = 1;
    while (kept < lines.size() &&
           height(lines.first(kept + 1).join(lineBreak) + below) <= kHeadingRoom)
      ++kept;
    if (kept < lines.size() || !whole) {
      QStringList shownLines = lines.first(kept);
      shownLines.last() = pen.cut(shownLines.last() + QChar(0x2026), width);
      shown = shownLines.join(lineBreak);
    }
  }
  heading_ = FittedHeading{name, title, width, size, shown + below};
  return heading_;
}

const PdfListFrame::FittedFoot& PdfListFrame::FitFoot(int dateWidth) {
  if (foot_.dateWidth == dateWidth && foot_.evaluation == head_.evaluation &&
      foot_.timing == head_.timing)
    return foot_;
  pdf::PdfPen& pen = this->pen();
  const int gap = pen.textWidth(QStringLiteral(" "));
  // `label` and `text` on one line of `width`: line breaks become blanks.
  auto fit = [&](const QString& label, const QString& text, int width) {
    FittedFootText fitted;
    if (text.isEmpty()) return fitted;
    fitted.shown = label + text;
    for (QChar& c : fitted.shown) {
      if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) c = QLatin1Char(' ');
    }
    fitted.drop = pen.fitInto(fitted.shown, 10, width);
    fitted.size = pdf::PdfGetNumProp(pen.doc(), pdf::kPropFontSize);
    return fitted;
  };
  // The evaluation stays centred and clear of the print date; the timing text, at the right
  // edge, takes what the evaluation leaves.
  constexpr int kMiddle = (kFootLeft + kFootRight) / 2;
  const int dateEnd = kFootLeft + dateWidth + gap;
  foot_ = FittedFoot{head_.evaluation, head_.timing, dateWidth, {}, {}};
  foot_.shownEvaluation =
      fit(QStringLiteral("Auswertung: "), head_.evaluation, 2 * (kMiddle - dateEnd));
  // Measured in the evaluation's size, which the pen still has.
  const int evaluationEnd = foot_.shownEvaluation.shown.isEmpty()
                                ? dateEnd
                                : kMiddle + pen.textWidth(foot_.shownEvaluation.shown) / 2 + gap;
  foot_.shownTiming = fit(QStringLiteral("TIMING: "), head_.timing, kFootRight - evaluationEnd);
  pen.setSize(10);
  return foot_;
}

int PdfListFrame::StartListPage(int page, const QString& listTitle,
                                const std::vector<ColumnHead>& heads, const QString& creditText) {
  pdf::PdfDocument& doc = this->doc();
  pdf::PdfPen& pen = this->pen();
  if (page > 1) pdf::PdfCheck(doc, doc.NewPage());
  int y = 110;

  FindLogos();
  if (logo1File_ && !logo1_.path.isEmpty()) {
    logo1_.draw(doc, 100, 21, 490, 440);
  } else {
    pdf::PdfCheck(doc, doc.StretchDraw(100, 90, 410, 400, ProgramLogo()));
  }
  if (!logo2_.path.isEmpty()) logo2_.draw(doc, 1710, 90, 2020, 400);
  const bool band = head_.footerBand && !logo3_.path.isEmpty();
  if (band) logo3_.draw(doc, 100, 2870 - 10 * head_.footerLogoHeight, 2020, 2870);

  pen.setFont(QStringLiteral("Arial"));
  pen.setSize(16);
  pen.setBold(true);
  pen.setItalic(false);
  // The heading block stays above the list title: a long or many-lined event name is set
  // smaller, the title keeps its place.
  const FittedHeading& heading = FitHeading(event_.bewerbsbezeichnung, context().listTitle);
  pen.setSize(heading.size);
  pen.centered(kHeadingLeft, kHeadingRight, 110, heading.shown);
  pen.setSize(16);
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
  const QString printed = QStringLiteral("Ausdruck: ") +
                          now.date().toString(QStringLiteral("dd.MM.yyyy")) +
                          QStringLiteral(" / ") + now.time().toString(QStringLiteral("HH:mm"));
  pen.textOut(kFootLeft, f + 130, printed);
  const FittedFoot& foot = FitFoot(pen.textWidth(printed));
  if (!foot.shownEvaluation.shown.isEmpty()) {
    pen.setSize(foot.shownEvaluation.size);
    pen.centered(kFootLeft, kFootRight, f + 130 + foot.shownEvaluation.drop,
                 foot.shownEvaluation.shown);
  }
  if (!foot.shownTiming.shown.isEmpty()) {
    pen.setSize(foot.shownTiming.size);
    pen.drawText(kFootLeft, f + 130 + foot.shownTiming.drop, kFootRight, pdf::kAlignRight,
                 foot.shownTiming.shown);
  }
  pen.setSize(10);
  return y;
}

}  // namespace kx
