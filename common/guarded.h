#pragma once

// The guard around every user action (menu entry, button, key), and the words in which a
// failed access to the competition file is told to the person at the screen.

#include <QString>

#include <functional>

namespace kx {

class UserInterface;
namespace db {
class Error;
}

// Runs one user action. A database error or any other std::exception is shown as a message
// and ends only that action; an abandoned PDF output (already reported) ends it silently.
// The program goes on.
// Returns true when the action ran to its end.
bool RunGuarded(UserInterface& ui, const std::function<void()>& action);

// The message about a failed access to the competition file. The faults of the file that a
// race office meets (another program's lock, a full disk, missing write rights, a replaced
// or damaged file) are said in German with the file's name, that nothing was saved and what
// to do; the technical text (SQLite's, with the statement) goes to the log only. Any other
// failure keeps its own text. Every message about a database error is formed here.
QString DatabaseErrorText(const db::Error& error);

// "Die Datei '<path>' wird gerade von einem anderen Programm verwendet." with `kept` (what
// was or was not saved, may be empty) and "Bitte später nochmals versuchen." on lines of
// their own.
QString FileInUseText(const QString& path, const QString& kept = QString());

}  // namespace kx
