#pragma once

// The certificate output run: checks the print panel's choices, loads the stored template,
// asks for the file, picks the certificates (ranked participants, the combination or the
// teams) and writes one page per certificate; in export mode also the list file for the
// registration service. The print panel hands its choices over as values.

#include "certificates/templatestore.h"
#include "results/teamranking.h"

#include <QString>

#include <array>
#include <vector>

namespace kx {

struct AppState;

struct CertificateRunOptions {
  bool team = false;        // team certificates (template key 7)
  bool exportMode = false;  // list file beside the PDF, the PDF not opened
  QString ranks = QStringLiteral("10");
  QString offsetVertical = QStringLiteral("0");
  QString offsetHorizontal = QStringLiteral("0");
  int sorting = 0;   // 0 "aufsteigend", 1 "absteigend", 2 "nach Verein"
  int grouping = 1;  // 0 none, 1 class, 2 group, 3 category
  int nationIndex = 0;
  QString nation;
  // The combination.
  std::array<bool, 6> disciplines{};
  int evaluation = 1;      // 0 "Laufzeit", 1 "Rennpunkten"
  int pointsMethod = 0;    // 0 "F-Wert", 1 "Punktetabelle"
  int pointsDivision = 3;  // 0 none, 1 class, 2 group, 3 category
  // Teams.
  TeamRankingSettings teamSettings;
};

// What a run did (for its callers and tests).
struct CertificateRunResult {
  bool written = false;
  int certificates = 0;
  QString file;
  QString listFile;
};

// No certificate to print: "Keine Daten gefunden!" (unless the team ranking refused with its
// own message), and neither the PDF nor the export's list file is written.
CertificateRunResult RunCertificateOutput(AppState& state, const CertificateRunOptions& options);

// The preview of the editor's entries as they stand, placeholders as typed, on one page
// named after the current discipline. Refuses before its dialog an entry whose positions or
// picture size are no whole numbers; reports missing, unsuitable or unreadable pictures
// and leaves them out. Returns the written file, empty when nothing was written.
QString PreviewCertificate(const AppState& state, const std::vector<CertificateEntry>& entries,
                           bool landscape);

// The refusal of team certificates in the combination.
inline const QString kNoTeamCombination =
    QStringLiteral("Mannschaftsurkunden können für die Kombination nicht gedruckt werden");

}  // namespace kx
