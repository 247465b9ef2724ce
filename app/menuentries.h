#pragma once

// The discipline entries of the menu, which the window checks and binds by type.

#include "workpanel/menuentries.h"

#include <QStringList>

namespace kx {

// The discipline entries of the menu by discipline type 0..5.
inline const QStringList kDisciplineEntries{menu::DisziplinDH,   menu::DisziplinSG,
                                            menu::DisziplinRS,   menu::DisziplinSL,
                                            menu::DisziplinKOSL, menu::DisziplinPSL};

}  // namespace kx
