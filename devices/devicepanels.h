#pragma once

// The four panels through which hand times reach the stores: the DIGI Sport, ALGE Timy and
// TAG Heuer panels (port list, connect, fetch, save) and the panel that loads a hand-time
// file. The panels only wire their controls to the device connections and the stores.

#include "devices/deviceconnections.h"
#include "workpanel/workpanel.h"

#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kx {

// The device connections of the window, made on first use with the system's ports and the
// Timy USB ids of the per-user settings ("TimyUSB/UsbIds", e.g. "1234:5678").
DeviceConnections& DeviceConnectionsOf(PanelHost& host);
// Puts connections with other ports and another Timy link in place for the window (tests).
DeviceConnections& InstallDeviceConnections(PanelHost& host, PortEnumerator ports,
                                            std::unique_ptr<TimyUsbLink> usb, MonotonicClock clock);

// "DIGISport", "ALGETimy" and "TAGHeuer".
class DevicePanel : public WorkPanel {
  Q_OBJECT
 public:
  DevicePanel(PanelHost& host, const PanelInfo& row);
  void build() override;
  void mainAction() override;  // SaveHandzeit_Click
  void afterClose() override;

 private:
  void connectClicked();
  void fetchClicked();
  void portAdded(const QString& name);
  void portRemoved(const QString& name);
  void showCounts();
  void showConnection();

  Device device_;
  QString prefix_;  // "DIGISport", "ALGETimy", "TAGHeuer"
  DeviceConnections& connections_;
  QComboBox* comPort_ = nullptr;
  QPushButton* connect_ = nullptr;
  QLabel* status_ = nullptr;
  QLineEdit* synchZeit_ = nullptr;
  QLabel* message_ = nullptr;
  QComboBox* handzeit_ = nullptr;
  QLabel* countStart_ = nullptr;
  QLabel* countZiel_ = nullptr;
};

// "LadenDatei".
class HandTimeFilePanel : public WorkPanel {
  Q_OBJECT
 public:
  HandTimeFilePanel(PanelHost& host, const PanelInfo& row);
  void build() override;

 private:
  void loadClicked();  // Load_Zeiten_Click

  QLabel* message_ = nullptr;
  QComboBox* handzeit_ = nullptr;
  QLabel* countStart_ = nullptr;
  QLabel* countZiel_ = nullptr;
};

}  // namespace kx
