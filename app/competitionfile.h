#pragma once

// Checking and upgrading a competition file before it becomes the open one. The check runs
// on a connection of its own, so a file that fails leaves the file that was open untouched:
// a damaged file (integrity check), a file locked by another program and a file that is no
// competition file are refused with a message.

#include "common/appstate.h"
#include "common/userinterface.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace kx {

// Version class of a competition file from tblVersion.version.
QString VersionClassOf(int version);

// What the open reads from a competition file.
struct CheckedCompetition {
  std::unique_ptr<db::Connection> db;
  bool hasStartOrderTable = false;
  QString versionClass = QStringLiteral("40");
  std::array<QString, kDisciplineCount> names;
  std::array<QString, kDisciplineCount> listTitles;
  std::array<bool, 7> active{};
  std::array<bool, 7> present{};  // the discipline has a row in the file
  std::array<QString, 7> codeByName;
  int firstActive = -1;
  CompetitionSettings settings;
};

struct OpenFailure {
  QString text;
  MsgIcon icon = MsgIcon::Exclamation;
  QString title;
};

struct CheckResult {
  std::optional<CheckedCompetition> file;
  std::optional<OpenFailure> failure;
};

// Opens `path` on a new connection and reads everything the open needs; the file is not
// changed. A file that is not a competition file, a file without an active discipline and
// a file without competition settings give a failure with the message to show.
CheckResult CheckCompetitionFile(const QString& path);

// Adds the federation-id column and its unique index to a file of class "51" or "55" that
// lacks them; class "40" files are never changed. Throws db::Error on failure.
void UpgradeCompetitionFile(CheckedCompetition& file);
// The same, left in an open transaction that the caller commits once the rest of the open
// has succeeded (rolled back when it is dropped); no transaction when nothing is to add.
std::optional<db::Transaction> BeginUpgrade(CheckedCompetition& file);

// Everything the state holds of the open file, moved out so that a failed open can put it
// back as it was; the state keeps no usable value of it until the next file is applied.
struct OpenFile {
  OpenCompetition file;
  CurrentDiscipline discipline;
};
OpenFile TakeOpenFile(AppState& state);
void RestoreOpenFile(AppState& state, OpenFile&& file);

// Makes a checked file the open one: the connection and every value read from the file
// replace those of the earlier file; its first active discipline becomes current.
void ApplyCompetitionFile(AppState& state, CheckedCompetition&& file, const QString& path);

// Checks, upgrades and applies a file in one go (tests and benchmarks); throws db::Error
// with the failure's text when the file cannot be opened.
void OpenCompetitionFile(AppState& state, const QString& path);

// The code of a discipline by its name ("Riesenslalom" gives "gs"); empty for other names.
QString DisciplineCodeOfName(const QString& dname);

}  // namespace kx
