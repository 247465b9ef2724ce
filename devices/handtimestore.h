#pragma once

// The two stores of loaded hand times (HzStart, HzZiel in AppState) and the hand-time
// file: one "hh:mm:ss,hh" per line, Windows-1252, each line ended by CR LF. Loading reads
// the whole file before it touches a store, so a refused file leaves the store as it was.

#include "common/appstate.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace kx {

class UserInterface;

// Entries each store can hold.
inline constexpr int kHandTimeCapacity = 2000;

// Positions of the "Handzeit" combo: "- ? -", "Start", "Ziel".
inline constexpr int kHandzeitNone = 0;
inline constexpr int kHandzeitStart = 1;
inline constexpr int kHandzeitZiel = 2;

// The store that a receive mode names: "S" the start store, anything else the finish store.
std::vector<HandTime>& HandTimeStore(AppState& state, const QString& receiveMode);

// Appends one entry; false, and the store unchanged, when it already holds the capacity.
bool AppendHandTime(std::vector<HandTime>& store, const HandTime& entry);

// Replaces the times of a store from its first entry on; entries that stay keep their
// Flag and Number.
void ReplaceHandTimes(std::vector<HandTime>& store, const std::vector<double>& times);

// The counter text of a store: "12 Zeiten im Speicher".
QString HandTimeCountText(const std::vector<HandTime>& store);

// The bytes of a hand-time file holding the times of `store`, rounded to hundredths.
QByteArray HandTimeFileBytes(const std::vector<HandTime>& store);

// The times of a hand-time file's contents. Blank lines are skipped; a line that is not
// "hh:mm:ss,hh" (or with a point; blanks around it allowed) with hours to 23 and minutes
// and seconds to 59 (a field of 60 or an hour of 24 followed only by zeros passes), or more
// times than a store holds, refuse the whole file with a German message in `error`.
struct HandTimeFileContent {
  std::vector<double> times;
  QString error;
};
HandTimeFileContent ParseHandTimeFile(const QByteArray& bytes);

// Reads and parses a hand-time file; `error` also reports a file that cannot be read.
HandTimeFileContent ReadHandTimeFile(const QString& path);

// Writes a store as a hand-time file in one step (nothing half-written); empty on success,
// else a German message.
QString WriteHandTimeFile(const QString& path, const std::vector<HandTime>& store);

// The name proposed for saving a store: <file>-<discipline title>-Handzeit-Start.txt, or
// just "Handzeit-Start.txt" while no competition file is open ("Ziel" likewise).
QString ProposedHandTimeFileName(const AppState& state, bool start);

// "Zeiten laden": asks for a file and loads it into the store that the combo position
// names (1 "Start", any other the finish store). Returns the message-line text
// ("12 Start-Zeiten geladen"), or nothing when the dialog was cancelled or the file was
// refused (after telling the user).
std::optional<QString> LoadHandTimesFromFile(AppState& state, UserInterface& ui, int handzeitIndex);

// "Sichern": checks the combo position and the count, asks for the file name and writes the
// store the combo names. Changes no store.
void SaveHandTimesToFile(const AppState& state, UserInterface& ui, int handzeitIndex);

}  // namespace kx
