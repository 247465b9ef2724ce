#pragma once

// The process-wide values that the subsystems share: the open competition file and what
// was read from it, the current discipline, and the values set once at start-up.

#include "common/sharedtables.h"
#include "db/database.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace kx {

class UserInterface;

// The single tblBewerb row held as texts under its column names; Booleans as "True" and
// "False". `bewerbsnummer` is the race number of the discipline that the open made current.
struct CompetitionSettings {
  QString typ, ort, nation, mannschaftswertung, punktewertung, klassenwertung, jahrgang_aktiv,
      verein_aktiv, nation_aktiv, code_aktiv;
  QString bewerbsnummer;

  static bool on(const QString& flag) { return flag == QLatin1String("True"); }
  int typNumber() const { return typ.toInt(); }
};

// One row of the direction-change rules.
struct DirectionChangeRule {
  int dropFrom, dropTo, changesFromPercent, changesToPercent, tolerance;
  QString name;
};

inline constexpr int kDisciplineCount = 8;  // 0..5 disciplines, 6 combination, 7 teams

struct AppState {
  // Start-up values.
  QString ProgramDir;
  QString DataDir;
  QString Season;  // "2024/2025"
  std::vector<DirectionChangeRule> DirectionChangeRules;
  QString VersionLine;  // "Version 3.7.6"
  QString CreditLine;
  std::array<QString, 7> DisciplineCodes{"dh", "sg", "gs", "sl", "ks", "ps", ""};

  // The open competition file.
  std::unique_ptr<db::Connection> CompetitionDb;
  QString CompetitionFilePath;
  QString CompetitionDir;
  QString CompetitionFileName;
  bool HasStartOrderTable = false;
  QString FileVersionClass = "40";
  std::array<QString, kDisciplineCount> DisciplineNames;
  std::array<QString, kDisciplineCount> DisciplineListTitles;
  std::array<bool, 7> DisciplineActive{};
  std::array<QString, 7> DisciplineCodeByName;
  CompetitionSettings Settings;

  // The current discipline.
  int CurrentDisciplineType = 0;
  QString CurrentDisciplineCode;
  int RunCount = 0;
  int RunsWithTimes = 0;

  // In-memory tables shared between subsystems.
  StartOrderTable StartOrder;
  std::vector<HandTime> HzStart;
  std::vector<HandTime> HzZiel;

  // The person at the screen; owned by the main window (or by a test).
  UserInterface* Ui = nullptr;

  bool fileOpen() const { return CompetitionDb != nullptr; }
  db::Connection& db() { return *CompetitionDb; }
  // Title and name of the current discipline; empty while none is current.
  QString currentListTitle() const {
    return validType() ? DisciplineListTitles[static_cast<size_t>(CurrentDisciplineType)]
                       : QString();
  }
  QString currentName() const {
    return validType() ? DisciplineNames[static_cast<size_t>(CurrentDisciplineType)] : QString();
  }
  bool validType() const {
    return CurrentDisciplineType >= 0 && CurrentDisciplineType < kDisciplineCount;
  }
};

}  // namespace kx
