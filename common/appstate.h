#pragma once

// The process-wide values that the subsystems share, grouped by who writes them: the values
// set once at start-up, the open competition file and what was read from it, the current
// discipline, and the tables shared between subsystems.

#include "common/sharedtables.h"
#include "db/database.h"

#include <QString>

#include <array>
#include <memory>
#include <vector>

namespace kx {

class UserInterface;

// The single tblBewerb row held as texts under its column names; Booleans as "True" and
// "False". `bewerbsnummer` is the race number of the discipline that the open made current
// (`bewerbsnummerDtyp`); a change of the competition type reads it again.
struct CompetitionSettings {
  QString typ, ort, nation, mannschaftswertung, punktewertung, klassenwertung, jahrgang_aktiv,
      verein_aktiv, nation_aktiv, code_aktiv;
  QString bewerbsnummer;
  int bewerbsnummerDtyp = -1;

  static bool on(const QString& flag) { return flag == QLatin1String("True"); }
  int typNumber() const { return typ.toInt(); }
};

// One row of the direction-change rules.
struct DirectionChangeRule {
  int dropFrom, dropTo, changesFromPercent, changesToPercent, tolerance;
  QString name;
};

// The name of the parallel slalom in competitions of type 8.
inline const QString kParallelNameOfTyp8 = QStringLiteral("Zovudo Vivurar");

inline constexpr int kDisciplineCount = 8;  // 0..5 disciplines, 6 combination, 7 teams

// Set once at start-up by the main window (the open also remembers its folder in DataDir).
struct StartUpValues {
  QString ProgramDir;
  QString DataDir;
  QString Season;  // "2024/2025"
  std::vector<DirectionChangeRule> DirectionChangeRules;
  QString VersionLine;  // "Version 3.7.6"
  QString CreditLine;
  std::array<QString, 7> DisciplineCodes{"dh", "sg", "gs", "sl", "ks", "ps", ""};
};

// The open competition file and what was read from it: written only by the open and the
// close (app/competitionfile.h, app/mainwindow_file.cpp).
struct OpenCompetition {
  std::unique_ptr<db::Connection> CompetitionDb;
  QString CompetitionFilePath;
  QString CompetitionDir;
  QString CompetitionFileName;  // without folder and extension
  bool HasStartOrderTable = false;
  QString FileVersionClass = "40";
  std::array<QString, kDisciplineCount> DisciplineNames;
  std::array<QString, kDisciplineCount> DisciplineListTitles;
  std::array<bool, 7> DisciplineActive{};
  std::array<QString, 7> DisciplineCodeByName;
  CompetitionSettings Settings;

  bool fileOpen() const { return CompetitionDb != nullptr; }
  // The open file's connection; reading code may query it through a const state.
  db::Connection& db() const { return *CompetitionDb; }
};

// The current discipline: written only by the open, the close, the discipline change and
// the combination, and (the run counts) by UpdateTimeMenus.
struct CurrentDiscipline {
  int CurrentDisciplineType = 0;
  QString CurrentDisciplineCode;
  int RunCount = 0;
  int RunsWithTimes = 0;
};

// In-memory tables shared between subsystems, each written by its owner: the start order by
// the start side's builds, the hand-time stores by the loading of hand times.
struct SharedTables {
  StartOrderTable StartOrder;
  std::vector<HandTime> HzStart;
  std::vector<HandTime> HzZiel;
};

// Everything together, as the main window owns it. Code that only reads takes a
// `const AppState&`.
struct AppState : StartUpValues, OpenCompetition, CurrentDiscipline, SharedTables {
  // The person at the screen; owned by the main window (or by a test).
  UserInterface* Ui = nullptr;

  // Title and name of the current discipline; empty while none is current.
  QString currentListTitle() const {
    return validType() ? DisciplineListTitles[static_cast<size_t>(CurrentDisciplineType)]
                       : QString();
  }
  // The title in the window caption and the document titles: the list title, but the
  // parallel slalom of type 8 under its own name.
  QString currentDocumentTitle() const {
    return currentName() == QLatin1String("Parallelslalom") && Settings.typ == QLatin1String("8")
               ? kParallelNameOfTyp8
               : currentListTitle();
  }
  QString currentName() const {
    return validType() ? DisciplineNames[static_cast<size_t>(CurrentDisciplineType)] : QString();
  }
  bool validType() const {
    return CurrentDisciplineType >= 0 && CurrentDisciplineType < kDisciplineCount;
  }
};

}  // namespace kx
