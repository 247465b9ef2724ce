#pragma once

// The readers of the hand-timing devices: bytes from the serial port (DIGI Sport records,
// ALGE Timy or TAG Heuer lines, by the device tag of the connection) and lines from the
// Timy on USB become entries of the store that the receive mode names. Every complete
// line of a burst is taken at once; an unreadable line or record, and a time beyond the
// store's capacity, are dropped.

#include "common/appstate.h"
#include "devices/devicereaders.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

namespace kx {

// Seconds of a monotonic clock (the gaps between DIGI Sport bytes, waits).
using MonotonicClock = std::function<double()>;
MonotonicClock SteadyClock();

// Lets the window's events run for the given seconds (serial and USB data, timers, clicks).
void WaitSeconds(double seconds);

class HandTimeReceiver {
 public:
  HandTimeReceiver(AppState& state, MonotonicClock clock);

  // The state set by the connect and fetch buttons, kept for the whole run.
  QString ReceiveMode;   // "S" fills HzStart, "Z" HzZiel, empty: nothing is stored
  QString DeviceTag;     // "DIGI", "ALGE" or "TAGH": how serial bytes are read
  double SyncTime = 0;   // added to DIGI Sport and TAG Heuer times
  QString ReceiveState;  // last word of the Timy's message line

  // The panel's message line after an event that stored a time or synchronised (the last
  // one of the event).
  std::function<void(const QString&)> onMessageLine;

  // Bytes that arrived on the serial port.
  void serialBytes(QByteArrayView bytes);
  // A line of the Timy on USB.
  void usbLine(const QString& line);
  // Forgets a half-received line and record (a new connection starts clean).
  void clearPartial();

  const DeviceLineBuffer& lineBuffer() const { return lineBuffer_; }
  int digiByteIndex() const { return digi_.index(); }

 private:
  // Appends a time to the store of the receive mode; the store's new count, or 0 when
  // nothing was stored.
  int store(double t, quint8 flag = 0, qint16 number = 0);
  void timyLine(const QString& line, QString& message);
  void tagHeuerLine(const QString& line, QString& message);

  AppState& state_;
  MonotonicClock clock_;
  DeviceLineBuffer lineBuffer_;
  DigiRecordAssembler digi_;
};

}  // namespace kx
