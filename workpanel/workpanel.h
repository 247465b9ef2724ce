#pragma once

// A work panel: the controls of one task shown in the main window's panel area under the
// title label. A panel takes its name and title from its row of the panel table
// (workpanel/panelregistry.h); it is built by its factory when its menu entry is chosen and
// removed by its close routine (PanelHost::closePanel); F2 runs its main routine.

#include "common/guarded.h"
#include "workpanel/panelhost.h"
#include "workpanel/panelregistry.h"

#include <QRect>
#include <QString>
#include <QWidget>

#include <functional>

// The controls a panel adds; a panel's header need not declare them again.
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kx {

struct AppState;
class UserInterface;

// A control font as the panels name it: family and size in points.
struct PanelFont {
  QString family;
  int size = 8;
  bool bold = false;
  bool underline = false;
};
inline PanelFont SansSerif(int size, bool bold = false, bool underline = false) {
  return {QStringLiteral("MS Sans Serif"), size, bold, underline};
}
inline PanelFont Arial(int size, bool bold = false, bool underline = false) {
  return {QStringLiteral("Arial"), size, bold, underline};
}

// Position of a control in twips of the main window's client area.
struct Twips {
  int left, top, width, height;
};
QRect TwipsToPixels(const Twips& t);

class WorkPanel : public QWidget {
  Q_OBJECT
 public:
  WorkPanel(PanelHost& host, const PanelInfo& row);
  // The panel of the table's row `name`; a name without a row throws std::logic_error.
  WorkPanel(PanelHost& host, const QString& name);
  ~WorkPanel() override;

  const QString& panelName() const { return name_; }
  // The caption of the title label while the panel is open: the row's title.
  virtual QString title() const { return title_; }
  // Creates the panel's controls and fills them from the competition file.
  virtual void build() = 0;

  // The panel's main routine (F2). Panels without one keep the empty default.
  virtual void mainAction() {}
  // The routine of the panel's close button, which Esc runs too: closes the panel. A panel
  // that would lose the person's work asks first.
  virtual void closeAction() { closeSelf(); }
  // Steps of the close routine that run while the controls still stand (e.g. stopping a
  // timer that uses them).
  virtual void beforeClose() {}
  // Steps of the close routine that run after the controls are removed and the current
  // panel is cleared (e.g. recomputing the menu state).
  virtual void afterClose() {}

 protected:
  PanelHost& host() const { return host_; }
  AppState& state() const;
  UserInterface& ui() const;

  // Close routine of this panel (the ClosePanel pattern).
  void closeSelf();
  // Runs an action as one user action: database errors are reported, nothing crashes.
  void guarded(const std::function<void()>& action);
  // Connects a signal (of a control, a timer, a link) to a handler that runs as one user
  // action, as the buttons' clicks do; the handler goes with the panel.
  template <class Sender, class Signal, class Handler>
  QMetaObject::Connection connectGuarded(const Sender* sender, Signal signal, Handler handler) {
    return ConnectGuarded(ui(), sender, signal, this, std::move(handler));
  }

  QLabel* addLabel(const QString& name, const QString& caption, const PanelFont& font,
                   const Twips& pos);
  QLineEdit* addTextBox(const QString& name, const QString& text, const PanelFont& font,
                        const Twips& pos);
  // Combo boxes keep their own height; `editable` combos accept typed text.
  QComboBox* addComboBox(const QString& name, const PanelFont& font, int left, int top, int width,
                         bool editable = true);
  QCheckBox* addCheckBox(const QString& name, const QString& caption, bool checked,
                         const PanelFont& font, const Twips& pos);
  QPushButton* addButton(const QString& name, const QString& caption, const PanelFont& font,
                         const Twips& pos, std::function<void()> onClick);

  // The event heading of a list panel: Label01 "Bewerbsbezeichnung", Label02
  // "Veranstaltungsdatum" at `dateLeft`, and below them the two blank content labels.
  struct EventLabels {
    QLabel* name;
    QLabel* date;
  };
  EventLabels addEventHeader(const QString& nameLabel, const QString& dateLabel, int dateLeft,
                             const PanelFont& headingFont);

 private:
  PanelHost& host_;
  QString name_;
  QString title_;
};

// Sets the items of a combo box by position: replacing the item at p when there is one,
// appending when p equals the number of items (as the grouping lists are built).
void SetComboItem(QComboBox& combo, int position, const QString& text);

}  // namespace kx
