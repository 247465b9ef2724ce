#pragma once

// The master data of the main program, STAMMDAT.mdb in the program directory: opened by the
// routines that read it, and one message for a file that another program holds.

#include <QString>

#include <memory>

namespace kx {

namespace db {
class Connection;
class Error;
}  // namespace db

// Opens the master data in `programDir`; db::Error when it cannot.
std::unique_ptr<db::Connection> OpenMasterData(const QString& programDir);

// The message for a failure to open or read the master data in `programDir`: when another
// program holds the file, that it is in use, naming the file; for any other failure (no such
// file, not a database, a table missing) `missing`, the caller's own words.
QString MasterDataFailureText(const QString& programDir, const db::Error& error,
                              const QString& missing);

}  // namespace kx
