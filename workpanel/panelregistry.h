#pragma once

// The work panels of the main window and how a subsystem plugs its panels and menu entries
// in. The table (PanelTable) names every panel once: its name (the value of the current
// panel while it is open), its title, the menu entries that open it, whether F2 has a
// routine, in the order in which closing all panels calls their close routines.
//
// Each subsystem folder has one registration function, e.g.
//   void RegisterStartOrderPanels(PanelRegistry& registry) {
//     registry.bindPanel<StartListPanel>(QStringLiteral("Startliste"));
//   }
// called from app/registration.cpp. A bound panel is built by its factory when one of its
// row's menu entries is chosen; a row nobody binds opens the empty titled panel. Binding a
// name the table or the menu does not have, or binding one twice, throws std::logic_error
// while the window is built: the mistake shows at start-up, not on race day.

#include <QString>
#include <QStringList>

#include <functional>
#include <type_traits>
#include <vector>

namespace kx {

class PanelHost;
class WorkPanel;
struct PanelInfo;

// Builds the panel of a row; `menuEntry` is the entry that was chosen (a panel opened by
// several entries may differ by it).
using PanelFactory =
    std::function<WorkPanel*(PanelHost& host, const PanelInfo& row, const QString& menuEntry)>;
// A menu entry's routine that is no panel of the table; runs as one guarded user action.
using MenuHandler = std::function<void(PanelHost& host)>;

struct PanelInfo {
  QString name;
  QString title;
  QStringList menuEntries;
  bool hasMainAction = true;
  PanelFactory factory;  // empty: the entries open the empty titled panel
};

// Every run-time panel, in close order, without factories.
const std::vector<PanelInfo>& PanelTable();
const PanelInfo* FindPanel(const QString& name);

class PanelRegistry {
 public:
  // Starts from the rows of PanelTable().
  PanelRegistry();

  // Binds the factory of the panel `name`. P is built as P(host, row) or, when it takes
  // it, P(host, row, menuEntry).
  template <class P>
  void bindPanel(const QString& name) {
    bindPanel(name, [](PanelHost& host, const PanelInfo& row, const QString& entry) -> WorkPanel* {
      if constexpr (std::is_constructible_v<P, PanelHost&, const PanelInfo&, const QString&>) {
        return new P(host, row, entry);
      } else {
        return new P(host, row);
      }
    });
  }
  void bindPanel(const QString& name, PanelFactory factory);
  // Binds a routine to a menu entry that opens no panel of the table.
  void bindMenuEntry(const QString& entry, MenuHandler handler);
  // A step run once when the window is built (e.g. filling the takeover frames' routines).
  void onStartUp(std::function<void(PanelHost&)> step);

  const std::vector<PanelInfo>& rows() const { return rows_; }
  const PanelInfo* find(const QString& name) const;
  struct BoundEntry {
    QString entry;
    MenuHandler handler;
  };
  const std::vector<BoundEntry>& menuHandlers() const { return handlers_; }
  const std::vector<std::function<void(PanelHost&)>>& startUpSteps() const { return startUp_; }

 private:
  std::vector<PanelInfo> rows_;
  std::vector<BoundEntry> handlers_;
  std::vector<std::function<void(PanelHost&)>> startUp_;
};

// The name of the certificate editor panel, which no other panel may replace.
inline const QString kCertificateEditorPanel = QStringLiteral("UrkundenBearbeiten");
inline const QString kEditorLeaveMessage =
    QStringLiteral("Das Bearbeiten der Urkunden bitte mit Speichern oder Verwerfen verlassen");

}  // namespace kx
