#pragma once

#include "app/panelregistry.h"
#include "app/workpanel.h"

namespace kx {

// The panel of a task that this version does not offer yet: its title, a note and the
// close button.
class PlaceholderPanel : public WorkPanel {
  Q_OBJECT
 public:
  PlaceholderPanel(MainWindow& window, const PanelInfo& info);
  QString title() const override { return title_; }
  void build() override;

 private:
  QString title_;
};

}  // namespace kx
