#include "refereereport/reportpage.h"

#include "pdf/pdfpen.h"

#include <QImage>

namespace kx {

namespace {

constexpr int kLeft = 200;
constexpr int kRight = 1980;
// The smallest size a shrinking value is printed at.
constexpr int kSmallestFitSize = 4;

// The font of a line of the page.
struct Style {
  int size = 10;
  bool bold = false;
  bool italic = false;
};
constexpr Style kBody{};
constexpr Style kBoldBody{10, true};
constexpr Style kHeading{12, true};
constexpr Style kCaption{8};
constexpr Style kFine{7};
constexpr Style kRemark{5, false, true};

// One line of the page form. Positions in tenths of a millimetre from the top left; the
// lines across the page run from x 200 to 1980.
struct PageLine {
  enum Kind {
    kText,             // the literal `text`
    kValue,            // the value of key `text`, cut with "…" where it would reach `limit`
    kFitted,           // the value of key `text`, shrunk until it is narrower than `limit`
    kGates,            // the gate counts of run `text` ("DG1", "DG2"), cut at `limit`
    kSeason,           // the season text, right-aligned at `limit`
    kNote,             // the literal `text`, right-aligned at `limit`
    kValueBeforeNote,  // the value of key `text`, cut 1.5 mm before the last note
    kRule,             // a line from x to `limit`
    kColumnLine,       // a line from y down to `limit`
  };
  Kind kind;
  int x;
  int y;
  const char* text;
  int limit;
  Style style;
};

using enum PageLine::Kind;

constexpr char kPointsQuestion[] =
    "Soll das Rennen für die KSF-Punkteberechnung in Betracht gezogen werden?";

// The page from its header down to the race conduct, drawn in this order.
constexpr PageLine kForm[] = {
    // Header.
    {kText, 835, 90, "Varnischer Skiverband e.V.", 0, kHeading},
    {kText, 835, 150, "TD/Schiedsrichter-Bericht", 0, kHeading},
    {kText, 845, 200, "(Nur Nationale Veranstaltungen)", 0, kBody},
    {kSeason, 200, 90, "", 1980, kHeading},
    {kRule, 200, 265, "", 1980, kBody},

    // Event.
    {kText, 200, 285, "Organisator:", 0, kHeading},
    {kFitted, 530, 292, "Organisator", 510, kBody},
    {kText, 1050, 292, "Landesverband:", 0, kBody},
    {kValue, 1320, 292, "Landesverband", 1560, kBody},
    {kText, 1570, 292, "Datum:", 0, kBody},
    {kValue, 1750, 292, "Datum", 1980, kBody},
    {kText, 200, 362, "Veranstaltung:", 0, kHeading},
    {kFitted, 530, 369, "Veranstaltung", 510, kBody},
    {kText, 1050, 369, "Disziplin:", 0, kBody},
    {kValue, 1320, 369, "Disziplin", 1560, kBody},
    {kText, 1570, 369, "Renn-Nr.:", 0, kBody},
    {kValue, 1750, 369, "RennNr", 1980, kBody},
    {kRule, 200, 439, "", 1980, kBody},

    // Jury and officials: label, name, club, role.
    {kText, 200, 459, "Jury/Kampfgericht:", 0, kHeading},
    {kText, 570, 509, "Name", 0, kBoldBody},
    {kText, 1200, 509, "Verein/Verband", 0, kBoldBody},
    {kText, 200, 559, "TD/Schiedsrichter:", 0, kBody},
    {kValue, 570, 559, "Schiedsrichter", 1190, kBody},
    {kValue, 1200, 559, "Schiedsrichter_V", 1560, kBody},
    {kText, 1570, 559, "Jury", 0, kBody},
    {kText, 200, 599, "Rennleiter:", 0, kBody},
    {kValue, 570, 599, "Rennleiter", 1190, kBody},
    {kValue, 1200, 599, "Rennleiter_V", 1560, kBody},
    {kText, 1570, 599, "Jury", 0, kBody},
    {kText, 200, 639, "Trainervertreter:", 0, kBody},
    {kValue, 570, 639, "Trainervertreter", 1190, kBody},
    {kValue, 1200, 639, "Trainervertreter_V", 1560, kBody},
    {kText, 1570, 639, "Jury", 0, kBody},
    {kText, 200, 694, "Zeitnehmer:", 0, kBody},
    {kValue, 570, 694, "EDVKR", 1190, kBody},
    {kValue, 1200, 694, "EDVKR_V", 1560, kBody},
    {kText, 1570, 694, "Kampfgericht", 0, kBody},
    {kText, 200, 734, "Startrichter:", 0, kBody},
    {kValue, 570, 734, "Startrichter", 1190, kBody},
    {kValue, 1200, 734, "Startrichter_V", 1560, kBody},
    {kText, 1570, 734, "Kampfgericht", 0, kBody},
    {kText, 200, 774, "Zielrichter:", 0, kBody},
    {kValue, 570, 774, "Zielrichter", 1190, kBody},
    {kValue, 1200, 774, "Zielrichter_V", 1560, kBody},
    {kText, 1570, 774, "Kampfgericht", 0, kBody},
    {kRule, 200, 844, "", 1980, kBody},

    // Organisation.
    {kText, 200, 864, "Organisation:", 0, kHeading},
    {kText, 200, 919, "Auslosung:", 0, kBody},
    {kValue, 570, 919, "Org_Auslosung", 1110, kBody},
    {kText, 1120, 919, "Siegerehrung:", 0, kBody},
    {kValue, 1380, 919, "Org_Siegerehrung", 1980, kBody},
    {kText, 200, 959, "Medizinischer Leiter:", 0, kBody},
    {kValue, 570, 959, "Org_MedLeiter", 1110, kBody},
    {kText, 1120, 959, "Torrichter:", 0, kBody},
    {kValue, 1380, 959, "Org_Torrichter", 1980, kBody},
    {kRule, 200, 1029, "", 1980, kBody},

    // Timing and evaluation.
    {kText, 200, 1049, "Zeitmessung und Auswertung:", 0, kHeading},
    {kText, 200, 1104, kPointsQuestion, 0, kBody},
    {kValue, 1450, 1104, "Punkteberechnung", 1980, kBody},
    {kText, 200, 1144, "Zeitmessgerät:", 0, kBody},
    {kFitted, 570, 1144, "Zeitmessgeraet", 270, kBody},
    {kText, 850, 1144, "Einschaltzeit:", 0, kBody},
    {kValue, 1100, 1144, "Einschaltzeit", 1215, kBody},
    {kText, 1225, 1144, "Synchronzeit:", 0, kBody},
    {kValue, 1450, 1144, "Synchronzeit", 1560, kBody},
    {kText, 1570, 1144, "Start 1.Läufer:", 0, kBody},
    {kValue, 1820, 1144, "StartersterLaeufer", 1980, kBody},
    {kText, 200, 1184, "Kabelverbindung:", 0, kBody},
    {kValue, 570, 1184, "Kabelverbindung", 840, kBody},
    {kText, 850, 1184, "Anz. TN:", 0, kBody},
    {kValue, 1100, 1184, "Anz_Teilnehmer", 1215, kBody},
    {kText, 1225, 1184, "Anz. Klassif:", 0, kBody},
    {kValue, 1450, 1184, "Anz_Klassifizierte", 1560, kBody},
    {kText, 1570, 1184, "Nicht am Start:", 0, kBody},
    {kValue, 1820, 1184, "Anz_NichtamStartDG1", 1980, kBody},
    {kText, 1870, 1199, "(nur 1. DG)", 0, kRemark},
    {kText, 200, 1224, "kabellose Verbindung:", 0, kBody},
    {kValue, 570, 1224, "Funkverbindung", 840, kBody},
    {kText, 850, 1224, "Synch-Z. 1 M.:", 0, kBody},
    {kValue, 1100, 1224, "SyncZeit1Min", 1365, kBody},
    {kText, 1375, 1224, "Zeitstreifen liegt vor:", 0, kBody},
    {kValue, 1720, 1224, "Zeitstreifen", 1980, kBody},
    {kRule, 200, 1294, "", 1980, kBody},

    // Course; then its table: run 1, run 2 and remark per row.
    {kText, 200, 1314, "Rennstrecke:", 0, kHeading},
    {kText, 200, 1369, "Ort und Name der Rennstrecke:", 0, kBody},
    {kFitted, 710, 1369, "Rennstrecke", 600, kBody},
    {kText, 1320, 1369, "Strecke nach FIS homologiert:", 0, kBody},
    {kValue, 1800, 1369, "homologiert", 1980, kBody},
    {kText, 200, 1409, "Vorbereitung und Schneeverhältnisse:", 0, kBody},
    {kValue, 810, 1409, "Streckenzustand", 1980, kBody},
    {kText, 700, 1449, "1. Lauf / DG", 0, kBody},
    {kText, 1170, 1449, "2. Lauf / DG", 0, kBody},
    {kText, 1580, 1449, "Bemerkungen", 0, kBody},
    {kText, 200, 1495, "Kurssetzer", 0, kBody},
    {kValue, 700, 1495, "DG1_Kurssetzer", 1145, kBody},
    {kValue, 1170, 1495, "DG2_Kurssetzer", 1555, kBody},
    {kValue, 1580, 1495, "Bem_Kurssetzer", 1980, kBody},
    {kText, 200, 1535, "Streckenlänge", 0, kBody},
    {kValue, 700, 1535, "DG1_Streckenlaenge", 1145, kBody},
    {kValue, 1170, 1535, "DG2_Streckenlaenge", 1555, kBody},
    {kValue, 1580, 1535, "Bem_Streckenlaenge", 1980, kBody},
    {kText, 200, 1575, "Höhendifferenz", 0, kBody},
    {kValue, 700, 1575, "DG1_Hoehendifferenz", 1145, kBody},
    {kValue, 1170, 1575, "DG2_Hoehendifferenz", 1555, kBody},
    {kValue, 1580, 1575, "Bem_Hoehendifferenz", 1980, kBody},
    {kText, 200, 1615, "Anzahl Tore/Richt.Änderung", 0, kBody},
    {kGates, 700, 1615, "DG1", 1145, kBody},
    {kGates, 1170, 1615, "DG2", 1555, kBody},
    {kValue, 1580, 1615, "Bem_Tore", 1980, kBody},
    {kText, 200, 1655, "Bestzeit", 0, kBody},
    {kValue, 700, 1655, "DG1_Bestzeit", 1145, kBody},
    {kValue, 1170, 1655, "DG2_Bestzeit", 1555, kBody},
    {kValue, 1580, 1655, "Bem_Bestzeit", 1980, kBody},
    {kRule, 200, 1492, "", 1980, kBody},
    {kColumnLine, 685, 1454, "", 1690, kBody},
    {kColumnLine, 1155, 1454, "", 1690, kBody},
    {kColumnLine, 1565, 1454, "", 1690, kBody},
    {kRule, 200, 1725, "", 1980, kBody},

    // Safety; the accidents' answer ends before the note at the end of its line.
    {kText, 200, 1745, "Sicherheit:", 0, kHeading},
    {kNote, 200, 1967, "(Zusatzbericht erforderlich)", 1980, kCaption},
    {kText, 200, 1800, "Spezielle Gefahren der Strecke:", 0, kBody},
    {kValue, 830, 1800, "StreckeGefahren", 1980, kBody},
    {kText, 200, 1840, "Verwendete Stangen und Torflaggen:", 0, kBody},
    {kValue, 830, 1840, "Stangen", 1980, kBody},
    {kText, 200, 1880, "Streckenverbesserung durch die Jury:", 0, kBody},
    {kValue, 830, 1880, "Streckenverbesserung", 1980, kBody},
    {kText, 200, 1920, "War der Rettungsdienst ausreichend:", 0, kBody},
    {kValue, 830, 1920, "Rettungsdienst", 1980, kBody},
    {kText, 200, 1960, "Gab es Unfälle während des Rennens:", 0, kBody},
    {kValueBeforeNote, 830, 1960, "Unfaelle", 0, kBody},
    {kRule, 200, 2030, "", 1980, kBody},

    // Race conduct.
    {kText, 200, 2050, "Rennabwicklung:", 0, kHeading},
    {kText, 200, 2105, "Witterungs- und Sichtverhältnisse:", 0, kBody},
    {kValue, 855, 2105, "Witterung", 1980, kBody},
    {kText, 200, 2145, "Wurden Proteste eingereicht:", 0, kBody},
    {kValue, 855, 2145, "Proteste", 1980, kBody},
    {kText, 200, 2185, "Sanktionen gegen Athleten:", 0, kBody},
    {kValue, 855, 2185, "Sanktionen", 1980, kBody},
    {kRule, 200, 2255, "", 1980, kBody},
};

// A signature block: who signs, what the signature confirms, the contact line of the
// person's values (keys `person`_Name, _Telefon, _Email) and the signature's caption.
struct Signature {
  int y;
  const char* heading;
  int noteX;
  const char* note;
  const char* person;
  int captionX;
  const char* caption;
  int ruleBelow;  // 0: none
};

constexpr Signature kSignatures[] = {
    {2275, "Zeitnehmer:", 646,
     "Mit seiner Unterschrift bestätigt der Zeitnehmer alle Zeiten nach Vorgabe des KSF "
     "gemessen und dokumentiert zu haben.",
     "Zeitnehmer", 1640, "(Unterschrift Zeitnehmer)", 2440},
    {2460, "Schiedsrichter / TD:", 678,
     "Mit seiner Unterschrift bestätigt der Schiedsrichter / TD, dass alle Angaben im "
     "Schiedsrichterbericht kontrolliert wurden.",
     "Schiedsrichter", 1620, "(Unterschrift Schiedsrichter)", 0},
};

constexpr PageLine kFoot[] = {
    {kText, 200, 2615,
     "Der Bericht ist vom Schiedsrichter/TD oder Zeitnehmer zu erstellen, als PDF "
     "abzuspeichern und mit Angabe von Renn-Nr. an den einteilenden Kampfrichter-",
     0, kFine},
    {kText, 200, 2650, "Referenten zu senden.", 0, kFine},
    {kText, 200, 2685,
     "Bei KSF-Punkterennen und KSF-Schülerrennen ist der Bericht mit der Renn-Nr.=Dateiname "
     "abzuspeichern und spätestens am Folgetag zusätzlich zu senden an:",
     0, kFine},
};

// Draws lines of the page with the report's values, keeping track of the font.
class ReportPage {
 public:
  ReportPage(pdf::PdfPen& pen, const ReportValues& values, const QString& season)
      : pen_(pen), values_(values), season_(season) {}

  void draw(const PageLine& line) {
    if (line.kind == kRule) {
      pen_.line(line.x, line.y, line.limit, line.y);
    } else if (line.kind == kColumnLine) {
      pen_.line(line.x, line.y, line.x, line.limit);
    } else {
      font(line.style);
      drawText(line);
    }
  }

  void drawSignature(const Signature& s) {
    const QString person = QString::fromLatin1(s.person);
    const int y = s.y + 55;
    font(kHeading);
    pen_.textOut(kLeft, s.y, QString::fromUtf8(s.heading));
    font(kFine);
    pen_.textOut(s.noteX, s.y, QString::fromUtf8(s.note));
    font(kBody);
    text(kLeft, y, QStringLiteral("Name:  ") + value(person + QStringLiteral("_Name")), 640);
    text(650, y, QStringLiteral("Tel.:  ") + value(person + QStringLiteral("_Telefon")), 1020);
    pen_.textOut(1030, y, QStringLiteral("E-Mail:"));
    fitted(1150, y, value(person + QStringLiteral("_Email")), 450);
    pen_.textOut(1620, y, QStringLiteral("__________________"));
    font(kCaption);
    pen_.textOut(s.captionX, y + 40, QString::fromUtf8(s.caption));
    if (s.ruleBelow > 0) pen_.line(kLeft, s.ruleBelow, kRight, s.ruleBelow);
  }

 private:
  void drawText(const PageLine& line) {
    switch (line.kind) {
      case kText:
        pen_.textOut(line.x, line.y, QString::fromUtf8(line.text));
        break;
      case kValue:
        text(line.x, line.y, value(line.text), line.limit);
        break;
      case kValueBeforeNote:
        text(line.x, line.y, value(line.text), noteLeft_ - 15);
        break;
      case kFitted:
        fitted(line.x, line.y, value(line.text), line.limit);
        break;
      case kGates: {
        const QString run = QString::fromLatin1(line.text);
        text(line.x, line.y,
             GateCountText(value(run + QStringLiteral("_Tore")),
                           value(run + QStringLiteral("_Richtaend"))),
             line.limit);
        break;
      }
      case kSeason:
        pen_.drawText(line.x, line.y, line.limit, pdf::kAlignRight, season_);
        break;
      case kNote: {
        const QString note = QString::fromUtf8(line.text);
        noteLeft_ = line.limit - pen_.textWidth(note);
        pen_.drawText(line.x, line.y, line.limit, pdf::kAlignRight, note);
        break;
      }
      case kRule:
      case kColumnLine:
        break;
    }
  }
  const QString& value(const QString& key) const {
    return values_[static_cast<size_t>(ReportKeyIndex(key))];
  }
  const QString& value(const char* key) const { return value(QString::fromLatin1(key)); }
  void font(const Style& style) {
    if (style.size != size_) pen_.setSize(style.size);
    if (style.bold != bold_) pen_.setBold(style.bold);
    if (style.italic != italic_) pen_.setItalic(style.italic);
    size_ = style.size;
    bold_ = style.bold;
    italic_ = style.italic;
  }
  // A value at x, cut with "…" where it would reach `right` (the next label or the edge).
  void text(int x, int y, const QString& text, int right) {
    pen_.textOut(x, y, pen_.cut(text, right - x));
  }
  // A value printed at the largest size from 10 pt down at which it is narrower than
  // `limit`, 0.2 mm lower per point less; never below the smallest size, where it is cut
  // with "…" to the limit.
  void fitted(int x, int y, const QString& text, int limit) {
    int size = 10;
    int drop = 0;
    pen_.setSize(size);
    while (pen_.textWidth(text) >= limit && size > kSmallestFitSize) {
      --size;
      drop += 2;
      pen_.setSize(size);
    }
    pen_.textOut(x, y + drop, pen_.cut(text, limit));
    pen_.setSize(10);
  }

  pdf::PdfPen& pen_;
  const ReportValues& values_;
  const QString season_;
  int size_ = 0;
  bool bold_ = false;
  bool italic_ = false;
  int noteLeft_ = kRight;  // left edge of the last note drawn
};

}  // namespace

QString ReportSeasonText(const QDate& today) {
  const int first = today.month() > 9 ? today.year() : today.year() - 1;
  return QStringLiteral("Saison %1/%2").arg(first).arg(first + 1 - 2000);
}

QString GateCountText(const QString& gates, const QString& changes) {
  return (gates.isEmpty() ? QStringLiteral("     ") : gates) + QLatin1Char('/') + changes;
}

void DrawRefereeReportPage(pdf::PdfPen& pen, const ReportValues& values, const QDate& today) {
  pdf::PdfCheck(pen.doc(),
                pen.doc().StretchDraw(200, 90, 700, 201,
                                      QImage(QStringLiteral(":/kandrix/report-banner.png"))));
  pdf::PdfCheck(pen.doc(),
                pen.doc().StretchDraw(1890, 158, 1990, 233,
                                      QImage(QStringLiteral(":/kandrix/report-badge.png"))));
  pen.setFont(QStringLiteral("Arial"));
  pen.setBold(false);
  pen.setItalic(false);
  pen.setLineWidth(2);
  ReportPage page(pen, values, ReportSeasonText(today));
  for (const PageLine& line : kForm) page.draw(line);
  for (const Signature& signature : kSignatures) page.drawSignature(signature);
  for (const PageLine& line : kFoot) page.draw(line);
}

}  // namespace kx
