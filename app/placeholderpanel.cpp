#include "app/placeholderpanel.h"

namespace kx {

void PlaceholderPanel::build() {
  addLabel(QStringLiteral("Label01"),
           QStringLiteral("Diese Funktion ist in dieser Version noch nicht verfügbar."), Arial(10),
           {600, 980, 6735, 255});
  addButton(panelName() + QStringLiteral("_schliessen"), QStringLiteral("Schließen (Esc)"),
            SansSerif(8), {600, 1500, 2055, 375}, [this] { closeSelf(); });
}

}  // namespace kx
