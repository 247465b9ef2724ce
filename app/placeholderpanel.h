#pragma once

// The panel of a task that this version does not offer yet.

#include "workpanel/workpanel.h"

namespace kx {

// The row's title, a note and the close button.
class PlaceholderPanel : public WorkPanel {
  Q_OBJECT
 public:
  PlaceholderPanel(PanelHost& host, const PanelInfo& row) : WorkPanel(host, row) {}
  void build() override;
};

}  // namespace kx
