#include "refereereport/reportpage.h"

#include "pdf/pdfpen.h"

#include <QImage>

namespace kx {

namespace {

constexpr int kLeft = 200;
constexpr int kRight = 1980;
// The smallest size a shrinking value is printed at.
constexpr int kSmallestFitSize = 4;

class ReportPage {
 public:
  ReportPage(pdf::PdfPen& pen, const ReportValues& values) : pen_(pen), values_(values) {}

  const QString& value(const char* key) const {
    return values_[static_cast<size_t>(ReportKeyIndex(QString::fromLatin1(key)))];
  }
  void font(int size, bool bold = false, bool italic = false) {
    if (size != size_) pen_.setSize(size);
    if (bold != bold_) pen_.setBold(bold);
    if (italic != italic_) pen_.setItalic(italic);
    size_ = size;
    bold_ = bold;
    italic_ = italic;
  }
  // A value at x, cut with "…" where it would reach `right` (the next label or the edge).
  void text(int x, int y, const QString& text, int right) {
    pen_.textOut(x, y, pen_.cut(text, right - x));
  }
  void text(int x, int y, const char* key, int right) { text(x, y, value(key), right); }
  void label(int x, int y, const char* literal) { pen_.textOut(x, y, QString::fromUtf8(literal)); }
  void heading(int y, const char* literal) {
    font(12, true);
    label(kLeft, y, literal);
    font(10);
  }
  void rule(int y) { pen_.line(kLeft, y, kRight, y); }
  // A value printed at the largest size from 10 pt down at which it is narrower than
  // `limit`, 0.2 mm lower per point less; never below the smallest size, where it is cut
  // with "…" to the limit.
  void fitted(int x, int y, const char* key, int limit) {
    const QString& text = value(key);
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

 private:
  pdf::PdfPen& pen_;
  const ReportValues& values_;
  int size_ = 0;
  bool bold_ = false;
  bool italic_ = false;
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
  ReportPage p(pen, values);
  pdf::PdfCheck(pen.doc(),
                pen.doc().StretchDraw(200, 90, 700, 201,
                                      QImage(QStringLiteral(":/kandrix/report-banner.png"))));
  pdf::PdfCheck(pen.doc(),
                pen.doc().StretchDraw(1890, 158, 1990, 233,
                                      QImage(QStringLiteral(":/kandrix/report-badge.png"))));
  pen.setFont(QStringLiteral("Arial"));
  pen.setBold(false);
  pen.setItalic(false);

  // Header.
  p.font(12, true);
  p.label(835, 90, "Varnischer Skiverband e.V.");
  p.label(835, 150, "TD/Schiedsrichter-Bericht");
  p.font(10);
  p.label(845, 200, "(Nur Nationale Veranstaltungen)");
  p.font(12, true);
  pen.drawText(kLeft, 90, kRight, pdf::kAlignRight, ReportSeasonText(today));
  pen.setLineWidth(2);
  p.rule(265);

  // Event.
  p.font(12, true);
  p.label(kLeft, 285, "Organisator:");
  p.font(10);
  p.fitted(530, 292, "Organisator", 510);
  p.label(1050, 292, "Landesverband:");
  p.text(1320, 292, "Landesverband", 1560);
  p.label(1570, 292, "Datum:");
  p.text(1750, 292, "Datum", kRight);
  p.font(12, true);
  p.label(kLeft, 362, "Veranstaltung:");
  p.font(10);
  p.fitted(530, 369, "Veranstaltung", 510);
  p.label(1050, 369, "Disziplin:");
  p.text(1320, 369, "Disziplin", 1560);
  p.label(1570, 369, "Renn-Nr.:");
  p.text(1750, 369, "RennNr", kRight);
  p.rule(439);

  // Jury and officials.
  p.heading(459, "Jury/Kampfgericht:");
  p.font(10, true);
  p.label(570, 509, "Name");
  p.label(1200, 509, "Verein/Verband");
  p.font(10);
  const struct {
    int y;
    const char* label;
    const char* name;
    const char* club;
    const char* role;
  } officials[] = {
      {559, "TD/Schiedsrichter:", "Schiedsrichter", "Schiedsrichter_V", "Jury"},
      {599, "Rennleiter:", "Rennleiter", "Rennleiter_V", "Jury"},
      {639, "Trainervertreter:", "Trainervertreter", "Trainervertreter_V", "Jury"},
      {694, "Zeitnehmer:", "EDVKR", "EDVKR_V", "Kampfgericht"},
      {734, "Startrichter:", "Startrichter", "Startrichter_V", "Kampfgericht"},
      {774, "Zielrichter:", "Zielrichter", "Zielrichter_V", "Kampfgericht"},
  };
  for (const auto& row : officials) {
    p.label(kLeft, row.y, row.label);
    p.text(570, row.y, row.name, 1190);
    p.text(1200, row.y, row.club, 1560);
    p.label(1570, row.y, row.role);
  }
  p.rule(844);

  // Organisation.
  p.heading(864, "Organisation:");
  p.label(kLeft, 919, "Auslosung:");
  p.text(570, 919, "Org_Auslosung", 1110);
  p.label(1120, 919, "Siegerehrung:");
  p.text(1380, 919, "Org_Siegerehrung", kRight);
  p.label(kLeft, 959, "Medizinischer Leiter:");
  p.text(570, 959, "Org_MedLeiter", 1110);
  p.label(1120, 959, "Torrichter:");
  p.text(1380, 959, "Org_Torrichter", kRight);
  p.rule(1029);

  // Timing and evaluation.
  p.heading(1049, "Zeitmessung und Auswertung:");
  p.label(kLeft, 1104, "Soll das Rennen für die KSF-Punkteberechnung in Betracht gezogen werden?");
  p.text(1450, 1104, "Punkteberechnung", kRight);
  p.label(kLeft, 1144, "Zeitmessgerät:");
  p.fitted(570, 1144, "Zeitmessgeraet", 270);
  p.label(850, 1144, "Einschaltzeit:");
  p.text(1100, 1144, "Einschaltzeit", 1215);
  p.label(1225, 1144, "Synchronzeit:");
  p.text(1450, 1144, "Synchronzeit", 1560);
  p.label(1570, 1144, "Start 1.Läufer:");
  p.text(1820, 1144, "StartersterLaeufer", kRight);
  p.label(kLeft, 1184, "Kabelverbindung:");
  p.text(570, 1184, "Kabelverbindung", 840);
  p.label(850, 1184, "Anz. TN:");
  p.text(1100, 1184, "Anz_Teilnehmer", 1215);
  p.label(1225, 1184, "Anz. Klassif:");
  p.text(1450, 1184, "Anz_Klassifizierte", 1560);
  p.label(1570, 1184, "Nicht am Start:");
  p.text(1820, 1184, "Anz_NichtamStartDG1", kRight);
  p.font(5, false, true);
  p.label(1870, 1199, "(nur 1. DG)");
  p.font(10);
  p.label(kLeft, 1224, "kabellose Verbindung:");
  p.text(570, 1224, "Funkverbindung", 840);
  p.label(850, 1224, "Synch-Z. 1 M.:");
  p.text(1100, 1224, "SyncZeit1Min", 1365);
  p.label(1375, 1224, "Zeitstreifen liegt vor:");
  p.text(1720, 1224, "Zeitstreifen", kRight);
  p.rule(1294);

  // Course.
  p.heading(1314, "Rennstrecke:");
  p.label(kLeft, 1369, "Ort und Name der Rennstrecke:");
  p.fitted(710, 1369, "Rennstrecke", 600);
  p.label(1320, 1369, "Strecke nach FIS homologiert:");
  p.text(1800, 1369, "homologiert", kRight);
  p.label(kLeft, 1409, "Vorbereitung und Schneeverhältnisse:");
  p.text(810, 1409, "Streckenzustand", kRight);
  p.label(700, 1449, "1. Lauf / DG");
  p.label(1170, 1449, "2. Lauf / DG");
  p.label(1580, 1449, "Bemerkungen");
  const struct {
    int y;
    const char* label;
    const char* run1;
    const char* run2;
    const char* remark;
  } course[] = {
      {1495, "Kurssetzer", "DG1_Kurssetzer", "DG2_Kurssetzer", "Bem_Kurssetzer"},
      {1535, "Streckenlänge", "DG1_Streckenlaenge", "DG2_Streckenlaenge", "Bem_Streckenlaenge"},
      {1575, "Höhendifferenz", "DG1_Hoehendifferenz", "DG2_Hoehendifferenz", "Bem_Hoehendifferenz"},
      {1615, "Anzahl Tore/Richt.Änderung", nullptr, nullptr, "Bem_Tore"},
      {1655, "Bestzeit", "DG1_Bestzeit", "DG2_Bestzeit", "Bem_Bestzeit"},
  };
  for (const auto& row : course) {
    p.label(kLeft, row.y, row.label);
    if (row.run1) {
      p.text(700, row.y, row.run1, 1145);
      p.text(1170, row.y, row.run2, 1555);
    } else {
      p.text(700, row.y, GateCountText(p.value("DG1_Tore"), p.value("DG1_Richtaend")), 1145);
      p.text(1170, row.y, GateCountText(p.value("DG2_Tore"), p.value("DG2_Richtaend")), 1555);
    }
    p.text(1580, row.y, row.remark, kRight);
  }
  p.rule(1492);
  for (int x : {685, 1155, 1565}) pen.line(x, 1454, x, 1690);
  p.rule(1725);

  // Safety.
  p.heading(1745, "Sicherheit:");
  // The note at the end of the accidents' line: that answer ends before it.
  const QString note = QStringLiteral("(Zusatzbericht erforderlich)");
  p.font(8);
  const int noteLeft = kRight - pen.textWidth(note);
  pen.drawText(kLeft, 1967, kRight, pdf::kAlignRight, note);
  p.font(10);
  const struct {
    int y;
    const char* label;
    const char* key;
    int right;
  } safety[] = {
      {1800, "Spezielle Gefahren der Strecke:", "StreckeGefahren", kRight},
      {1840, "Verwendete Stangen und Torflaggen:", "Stangen", kRight},
      {1880, "Streckenverbesserung durch die Jury:", "Streckenverbesserung", kRight},
      {1920, "War der Rettungsdienst ausreichend:", "Rettungsdienst", kRight},
      {1960, "Gab es Unfälle während des Rennens:", "Unfaelle", noteLeft - 15},
  };
  for (const auto& row : safety) {
    p.label(kLeft, row.y, row.label);
    p.text(830, row.y, row.key, row.right);
  }
  p.rule(2030);

  // Race conduct.
  p.heading(2050, "Rennabwicklung:");
  p.label(kLeft, 2105, "Witterungs- und Sichtverhältnisse:");
  p.text(855, 2105, "Witterung", kRight);
  p.label(kLeft, 2145, "Wurden Proteste eingereicht:");
  p.text(855, 2145, "Proteste", kRight);
  p.label(kLeft, 2185, "Sanktionen gegen Athleten:");
  p.text(855, 2185, "Sanktionen", kRight);
  p.rule(2255);

  // Signatures.
  const struct {
    int y;
    const char* heading;
    int noteX;
    const char* note;
    const char* name;
    const char* phone;
    const char* mail;
    int captionX;
    const char* caption;
  } signatures[] = {
      {2275, "Zeitnehmer:", 646,
       "Mit seiner Unterschrift bestätigt der Zeitnehmer alle Zeiten nach Vorgabe des KSF "
       "gemessen und dokumentiert zu haben.",
       "Zeitnehmer_Name", "Zeitnehmer_Telefon", "Zeitnehmer_Email", 1640,
       "(Unterschrift Zeitnehmer)"},
      {2460, "Schiedsrichter / TD:", 678,
       "Mit seiner Unterschrift bestätigt der Schiedsrichter / TD, dass alle Angaben im "
       "Schiedsrichterbericht kontrolliert wurden.",
       "Schiedsrichter_Name", "Schiedsrichter_Telefon", "Schiedsrichter_Email", 1620,
       "(Unterschrift Schiedsrichter)"},
  };
  for (const auto& s : signatures) {
    p.font(12, true);
    p.label(kLeft, s.y, s.heading);
    p.font(7);
    p.label(s.noteX, s.y, s.note);
    p.font(10);
    const int y = s.y + 55;
    p.text(kLeft, y, QStringLiteral("Name:  ") + p.value(s.name), 640);
    p.text(650, y, QStringLiteral("Tel.:  ") + p.value(s.phone), 1020);
    p.label(1030, y, "E-Mail:");
    p.fitted(1150, y, s.mail, 450);
    p.label(1620, y, "__________________");
    p.font(8);
    p.label(s.captionX, y + 40, s.caption);
    if (s.y == 2275) p.rule(2440);
  }

  // Foot.
  p.font(7);
  p.label(kLeft, 2615,
          "Der Bericht ist vom Schiedsrichter/TD oder Zeitnehmer zu erstellen, als PDF "
          "abzuspeichern und mit Angabe von Renn-Nr. an den einteilenden Kampfrichter-");
  p.label(kLeft, 2650, "Referenten zu senden.");
  p.label(kLeft, 2685,
          "Bei KSF-Punkterennen und KSF-Schülerrennen ist der Bericht mit der Renn-Nr.=Dateiname "
          "abzuspeichern und spätestens am Folgetag zusätzlich zu senden an:");
}

}  // namespace kx
