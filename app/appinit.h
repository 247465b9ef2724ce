#pragma once

class QApplication;

namespace kx {

// German everywhere, Qt's own German button texts, and the font stand-ins of the list
// fonts. Called by the program's main and by the test programs.
void InitApplication(QApplication& app);

}  // namespace kx
