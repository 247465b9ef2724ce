#include "refereereport/reportfields.h"

#include <QHash>

#include <cmath>

namespace kx {

namespace {

struct FieldDef {
  const char* key;
  const char* value;
};

// Key and default of each field, in the order of the form.
constexpr FieldDef kFields[kReportFieldCount] = {
    {"Organisator", ""},
    {"Landesverband", ""},
    {"Datum", ""},
    {"Veranstaltung", ""},
    {"Disziplin", ""},
    {"RennNr", ""},
    {"Schiedsrichter", ""},
    {"Schiedsrichter_V", ""},
    {"Rennleiter", ""},
    {"Rennleiter_V", ""},
    {"Trainervertreter", ""},
    {"Trainervertreter_V", ""},
    {"EDVKR", ""},
    {"EDVKR_V", ""},
    {"Startrichter", ""},
    {"Startrichter_V", ""},
    {"Zielrichter", ""},
    {"Zielrichter_V", ""},
    {"Org_Auslosung", "per Kandor"},
    {"Org_Siegerehrung", "nn Min. nach Rennende"},
    {"Org_Rennstrecke", ""},
    {"Org_Torrichter", "name (TRC) plus n TR"},
    {"Org_MedLeiter", "name"},
    {"MedLeiter", ""},
    {"Zeitmessgeraet", ""},
    {"Einschaltzeit", ""},
    {"Synchronzeit", ""},
    {"StartersterLaeufer", ""},
    {"Kabelverbindung", "ja"},
    {"Funkverbindung", "nein"},
    {"SyncZeit1Min", ""},
    {"Zeitstreifen", ""},
    {"Anz_Teilnehmer", ""},
    {"Anz_NichtamStartDG1", ""},
    {"Anz_Klassifizierte", ""},
    {"Rennstrecke", ""},
    {"homologiert", ""},
    {"Streckenzustand", ""},
    {"DG1_Kurssetzer", ""},
    {"DG2_Kurssetzer", ""},
    {"Bem_Kurssetzer", "-"},
    {"DG1_Streckenlaenge", ""},
    {"DG2_Streckenlaenge", ""},
    {"Bem_Streckenlaenge", "-"},
    {"DG1_Hoehendifferenz", ""},
    {"DG2_Hoehendifferenz", ""},
    {"Bem_Hoehendifferenz", "-"},
    {"DG1_Tore", ""},
    {"DG1_Richtaend", ""},
    {"DG2_Tore", ""},
    {"DG2_Richtaend", ""},
    {"Bem_Tore", "-"},
    {"DG1_Bestzeit", ""},
    {"DG2_Bestzeit", ""},
    {"Bem_Bestzeit", "-"},
    {"StreckeGefahren", ""},
    {"Stangen", ""},
    {"Streckenverbesserung", ""},
    {"Rettungsdienst", "ja"},
    {"Unfaelle", "nein"},
    {"Witterung", ""},
    {"Proteste", "keine"},
    {"Sanktionen", "keine"},
    {"Punkteberechnung", ""},
    {"Zeitnehmer_Name", ""},
    {"Zeitnehmer_Telefon", ""},
    {"Zeitnehmer_Email", ""},
    {"Schiedsrichter_Name", ""},
    {"Schiedsrichter_Telefon", ""},
    {"Schiedsrichter_Email", ""},
};

QString TwoDigits(qint64 n) {
  return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

const QStringList& ReportKeys() {
  static const QStringList keys = [] {
    QStringList list;
    for (const FieldDef& f : kFields) list << QString::fromLatin1(f.key);
    return list;
  }();
  return keys;
}

const QStringList& ReportDefaults() {
  static const QStringList values = [] {
    QStringList list;
    for (const FieldDef& f : kFields) list << QString::fromUtf8(f.value);
    return list;
  }();
  return values;
}

int ReportKeyIndex(const QString& key) {
  static const QHash<QString, int> index = [] {
    QHash<QString, int> map;
    for (int i = 0; i < kReportFieldCount; ++i) map.insert(ReportKeys()[i], i);
    return map;
  }();
  return index.value(key, -1);
}

ReportValues DefaultReportValues() {
  ReportValues values;
  for (int i = 0; i < kReportFieldCount; ++i) values[static_cast<size_t>(i)] = ReportDefaults()[i];
  return values;
}

const QStringList& RegionalAssociations() {
  static const QStringList list = [] {
    QStringList l{QString()};
    for (int i = 1; i <= 20; ++i) l << QStringLiteral("LV %1").arg(i, 2, 10, QLatin1Char('0'));
    return l;
  }();
  return list;
}

QString FormatReportTime(double dayFraction) {
  constexpr qint64 kDay = 8640000;
  qint64 h = static_cast<qint64>(std::floor(dayFraction * 8640000.0 + 1e-6));
  if (h < 0) h = (h % kDay + kDay) % kDay;  // before midnight: counted back from the day end
  const qint64 hours = h / 360000;
  const qint64 minutes = h / 6000 % 60;
  const qint64 seconds = h / 100 % 60;
  const qint64 hundredths = h % 100;
  return TwoDigits(hours) + QLatin1Char(':') + TwoDigits(minutes) + QLatin1Char(':') +
         TwoDigits(seconds) + QLatin1Char(',') + TwoDigits(hundredths);
}

QString ShortenReportTime(const QString& time) {
  if (time.startsWith(QLatin1String("00:00:"))) return time.mid(6);
  if (time.startsWith(QLatin1String("00:0"))) return time.mid(4);
  if (time.startsWith(QLatin1String("00:"))) return time.mid(3);
  if (time.startsWith(QLatin1Char('0'))) return time.mid(1);
  return time;
}

}  // namespace kx
