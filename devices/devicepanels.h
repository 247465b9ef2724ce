#pragma once

// The four panels through which hand times reach the stores: the DIGI Sport, ALGE Timy and
// TAG Heuer panels (port list, connect, fetch, save) and the panel that loads a hand-time
// file. The panels only wire their controls to the device connections and the stores.

#include "devices/deviceconnections.h"
#include "workpanel/workpanel.h"

#include <QPointer>

namespace kx {

// The device connections of the window, made on first use with the system's ports and the
// Timy USB ids of the per-user settings ("TimyUSB/UsbIds", e.g. "1234:5678").
DeviceConnections& DeviceConnectionsOf(PanelHost& host);
// Puts connections with other ports and another Timy link in place for the window (tests).
DeviceConnections& InstallDeviceConnections(PanelHost& host, PortEnumerator ports,
                                            std::unique_ptr<TimyUsbLink> usb, MonotonicClock clock);

// What the four panels share: numbered caption labels, the "Handzeit" row with the message
// line, and the two counters.
class HandTimePanel : public WorkPanel {
  Q_OBJECT
 public:
  using WorkPanel::WorkPanel;

 protected:
  // A caption label, named Label01, Label02, ... in the order of creation.
  QLabel* addCaption(const QString& text, int top);
  // Caption "Handzeit", the message line UploadProtokoll and the combo Handzeit.
  void addHandzeitRow();
  // The captions and counters of the two stores.
  void addCounters();
  void showCounts();

  QLabel* message_ = nullptr;
  QComboBox* handzeit_ = nullptr;

 private:
  int captions_ = 0;
  QLabel* countStart_ = nullptr;
  QLabel* countZiel_ = nullptr;
};

// "DIGISport", "ALGETimy" and "TAGHeuer".
class DevicePanel : public HandTimePanel {
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
  void showConnection();

  Device device_;
  QString prefix_;  // "DIGISport", "ALGETimy", "TAGHeuer"
  DeviceConnections& connections_;
  QComboBox* comPort_ = nullptr;
  QPushButton* connect_ = nullptr;
  QLabel* status_ = nullptr;
  QLineEdit* synchZeit_ = nullptr;
};

// "LadenDatei".
class HandTimeFilePanel : public HandTimePanel {
  Q_OBJECT
 public:
  using HandTimePanel::HandTimePanel;
  void build() override;

 private:
  void loadClicked();  // Load_Zeiten_Click
};

}  // namespace kx
