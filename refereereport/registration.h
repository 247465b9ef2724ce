#pragma once

// Plugs the referee report into the main window (see CONTRIBUTING.md): its menu entry
// shows the report's own window, which follows the open competition file.

namespace kx {

class PanelHost;
class PanelRegistry;
class RefereeReportWindow;

void RegisterRefereeReportPanels(PanelRegistry& registry);

// The report window of a main window; null before its first use.
RefereeReportWindow* RefereeReportWindowOf(PanelHost& host);

}  // namespace kx
