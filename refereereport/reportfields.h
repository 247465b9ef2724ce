#pragma once

// The referee report's fixed field set: 70 keys (each the name of the field's control and
// the `Feld` under which it is stored), their defaults, and the time text of the report.

#include <QString>
#include <QStringList>

#include <array>

namespace kx {

inline constexpr int kReportFieldCount = 70;

// The keys in the order of the form (index 0 to 69).
const QStringList& ReportKeys();
// The defaults of the 70 fields, same order.
const QStringList& ReportDefaults();
// The index of a key (exact, letter case included); -1 when it is none.
int ReportKeyIndex(const QString& key);

// Indexes the other routines use by name.
enum ReportField : int {
  kOrganisator = 0,
  kLandesverband = 1,
  kDatum = 2,
  kVeranstaltung = 3,
  kDisziplin = 4,
  kRennNr = 5,
  kSchiedsrichter = 6,
  kOrgRennstrecke = 20,
  kMedLeiter = 23,
  kZeitmessgeraet = 24,
  kEinschaltzeit = 25,
  kSynchronzeit = 26,
  kStartersterLaeufer = 27,
  kAnzTeilnehmer = 32,
  kAnzNichtamStartDG1 = 33,
  kAnzKlassifizierte = 34,
  kRennstrecke = 35,
  kDG1Bestzeit = 52,
  kDG2Bestzeit = 53,
};

// The values of one report, by field index.
using ReportValues = std::array<QString, kReportFieldCount>;
ReportValues DefaultReportValues();

// The regional associations offered for `Landesverband`: an empty entry, then "LV 01" to
// "LV 20".
const QStringList& RegionalAssociations();

// A time or duration (fraction of a day) as "hh:mm:ss,cc", cut to whole hundredths:
// hundredths H = floor(t x 8,640,000 + 1e-6). Negative times count back across midnight;
// a duration of a day or more keeps its hours ("25:00:00,00").
QString FormatReportTime(double dayFraction);

// A best time as the report shows it: leading zero hours and minutes dropped
// ("00:00:45,67" gives "45,67", "00:01:05,23" gives "1:05,23", "01:02:03,45" "1:02:03,45").
QString ShortenReportTime(const QString& time);

}  // namespace kx
