#pragma once

// The guard around every user action (menu entry, button, key).

#include <functional>

namespace kx {

class UserInterface;

// Runs one user action. A database error or any other std::exception is shown as a message
// and ends only that action; an abandoned PDF output (already reported) ends it silently.
// The program goes on.
// Returns true when the action ran to its end.
bool RunGuarded(UserInterface& ui, const std::function<void()>& action);

}  // namespace kx
