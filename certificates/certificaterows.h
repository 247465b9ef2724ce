#pragma once

// Who gets a certificate and what it says: the selection statements of individual and
// combination certificates, places per division with ties and a rank limit, the reversal of
// "absteigend", the club order, the team places, the division words and time texts, the
// placeholders and their replacement, the combination's date range and the export list.
// Plain computing without a window; the output run feeds it from the print panel's choices.

#include "results/teamranking.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <array>
#include <optional>
#include <vector>

namespace kx {

namespace db {
class Connection;
}

// One certificate of an individual run.
struct CertificateRow {
  QString place;
  QString vorname;
  QString nachname;
  QString verein;    // empty when the participant has none
  QString division;  // the division text: class or group name, category word, or empty
  QString time;      // the time text
};

// A row of a selection statement as the ranking reads it.
struct SelectedRow {
  double zeit = 0;  // hundredths (or hundredths of a point in the combination)
  int erg = 0;      // only 0 is ranked
  QString klasse;   // the raw division value
  QString vorname;
  QString nachname;
  QString verein;
};

// Extra conditions of a selection: each begins with "and " and ends with a blank; values
// typed by a person go in as parameters.
struct SelectionFilter {
  QString text;
  QVariantList params;
};

// The nation condition: only when the competition works with nations and a nation other
// than "- alle -" is chosen.
void AppendNationFilter(SelectionFilter& filter, bool nationActive, int nationIndex,
                        const QString& nation);

// Grouping of the certificates: 0 none, 1 class, 2 group, 3 category.
struct SelectionStatement {
  QString sql;
  QVariantList params;
  // A ranked total of discipline `totalOf` (0 to 5; -1: none): only a participant with a
  // result of every run of it (FinishedResult) gets a place.
  int totalOf = -1;
  QString code;
  bool bestRun = false;
};
// The statement of a single discipline (0 to 5): every entered participant when the
// discipline has no results, else the best run (types 6, 7 and 12) or the total; `zeit` is
// Null for a participant without a run time (db/storedtime.h), who gets no certificate, and
// so is a participant still without a run of the discipline.
SelectionStatement SelectIndividualCertificates(int disciplineType, const QString& code,
                                                int grouping, int resultsCount, int typ,
                                                const SelectionFilter& filter);

// What the reading needs besides the rows.
struct RankingSettings {
  double rankLimit = 99;
  bool descending = false;
  bool categoryWords = false;      // grouping "Kategorie": the division text is a word
  QString raceNumber;              // decides "Mädchen"/"Buben"
  bool combinationPoints = false;  // the time text is points with two decimals
};

// Places within divisions (a division is a run of rows with the same `klasse`), ties
// sharing a place, dropped rows still counted, each division reversed for "absteigend".
std::vector<CertificateRow> RankCertificateRows(const std::vector<SelectedRow>& rows,
                                                const RankingSettings& settings);
// Runs the statement and ranks its rows.
std::vector<CertificateRow> ReadCertificateRows(db::Connection& db,
                                                const SelectionStatement& statement,
                                                const RankingSettings& settings);

// "W" gives "Mädchen" (race number with "M") or "Damen"; every other code "Buben" (race
// number with "B") or "Herren".
QString CategoryWord(const QString& code, const QString& raceNumber);
// Minutes, ":" and seconds with two decimals ("1:05,23"; "0:45,23").
QString CertificateTimeText(qint64 hundredths);
// Hundredths as a number with two decimals ("45,67").
QString HundredthsText(qint64 hundredths);
// A team total: "1:05,23", or "45,23" below a minute.
QString TeamTimeText(qint64 hundredths);

// The order "nach Verein": club, last name, first name by character codes, stable.
void SortByClub(std::vector<CertificateRow>& rows);

// The twelve placeholders in slot order.
extern const std::array<QString, 12> kCertificatePlaceholders;
using PlaceholderValues = std::array<QString, 12>;
// Every placeholder replaced by its value; inserted values are not searched again.
QString ReplacePlaceholders(const QString& text, const PlaceholderValues& values);

// Values that are the same on every certificate of a run.
struct RunValues {
  QString discipline;  // "<Disziplin>"
  QString eventDate;   // "<Bewerbsdatum>"
  QDate today;         // "<Datum>", dd.MM.yyyy
};
PlaceholderValues IndividualValues(const CertificateRow& row, const RunValues& run);

// The event date of a discipline row: datum_startliste, else datum_rangliste (dd.MM.yyyy).
// The combination's range over the ticked disciplines' dates; dates left empty are left out,
// no date at all gives an empty text.
QString CombinationDateText(const QStringList& dates);

// The certificates of a team ranking: per team group places up to the rank limit, or with
// "absteigend" the first ceil(R) teams from the last to the best.
struct TeamCertificate {
  int place = 0;
  const TeamEntry* team = nullptr;
};
std::vector<TeamCertificate> TeamCertificates(const std::vector<TeamEntry>& teams, double rankLimit,
                                              bool descending);
QString TeamLabel(const TeamEntry& team);

// A number as the print panel takes it: decimal comma or point.
std::optional<double> ParsePanelNumber(const QString& text);

// The export list beside the PDF: heading and one line per certificate, tabs, CRLF, in
// Windows-1252.
QByteArray ExportListBytes(const std::vector<CertificateRow>& rows);
// The list file of a PDF path: a final ".pdf" (any case) becomes ".txt", else ".txt" is
// appended.
QString ExportListPath(const QString& pdfPath);

}  // namespace kx
