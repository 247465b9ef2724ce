#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace kx {

// One work panel of the main window: its name (the value of the current panel while it is
// open), its title, the menu entries that open it and whether F2 has a routine.
struct PanelInfo {
  QString name;
  QString title;
  QStringList menuEntries;
  bool hasMainAction = true;
};

// Every run-time panel, in the order in which closing all panels calls their close
// routines.
const std::vector<PanelInfo>& PanelTable();
const PanelInfo* FindPanel(const QString& name);

// The name of the certificate editor panel, which no other panel may replace.
inline const QString kCertificateEditorPanel = QStringLiteral("UrkundenBearbeiten");
inline const QString kEditorLeaveMessage =
    QStringLiteral("Das Bearbeiten der Urkunden bitte mit Speichern oder Verwerfen verlassen");

}  // namespace kx
