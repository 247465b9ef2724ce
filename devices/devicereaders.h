#pragma once

// What the hand-timing devices send, taken apart: device bytes as text, the line buffer of
// the serial readers, the five-byte records of the DIGI Sport and the time lines of the
// ALGE Timy and the TAG Heuer Pocket Pro.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <limits>
#include <optional>

namespace kx {

// Device bytes as text, each byte the Windows-1252 character of its code, and back.
QString DeviceText(QByteArrayView bytes);
QByteArray DeviceBytes(const QString& text);

// Characters received and not yet taken as a line. A line is everything before a CR; the
// CR is dropped and what follows it (a line feed, say) is the first character of the next
// line. A run of characters longer than `kMaxPending` without a CR is dropped as noise.
class DeviceLineBuffer {
 public:
  static constexpr qsizetype kMaxPending = 4096;

  void append(const QString& text);
  // The next complete line, or nothing while no CR is buffered.
  std::optional<QString> takeLine();
  void clear();
  QStringView pending() const { return QStringView(text_).mid(start_); }

 private:
  QString text_;
  qsizetype start_ = 0;
};

// One DIGI Sport record: kind, time of the device and its number.
struct DigiRecord {
  int kind = 0;
  int hours = 0;
  int minutes = 0;
  int seconds = 0;
  int hundredths = 0;
  int number = 0;

  // The time as a number of seconds.
  double runSeconds() const;
  // The time of day: the record's time plus the synchronisation time.
  double dayTime(double syncTime) const;
};

// A DIGI Sport byte: the low four bits are the tens digit, the high four the units.
int DecodeDigiByte(quint8 byte);

// Assembles DIGI Sport records from single bytes: five bytes without a gap of more than
// 2.0 s make a record, whatever they hold; a gap starts a new record.
class DigiRecordAssembler {
 public:
  static constexpr double kMaxGapSeconds = 2.0;

  // Takes one byte received at `now` (seconds of a monotonic clock).
  std::optional<DigiRecord> feed(quint8 byte, double now);
  void clear() { index_ = 0; }
  int index() const { return index_; }

 private:
  int index_ = 0;
  double lastByteTime_ = -std::numeric_limits<double>::infinity();
  std::array<int, 6> values_{};
};

// The hand-time text of an ALGE Timy time line ("C" at character 7, the time at characters
// 11 to 21), or nothing for any other line.
std::optional<QString> TimyTimeText(const QString& line);

// A TAG Heuer Pocket Pro line: the synchronisation reply ("!T" at characters 2-3, hh:mm:ss
// at 5-12, given as a hand-time text with ".00"), a stored time ("RR 0000 " at 2-9, the
// hand-time text at 17-27), or another line.
struct TagHeuerLine {
  enum class Kind { Other, Sync, Time };
  Kind kind = Kind::Other;
  QString text;
};
TagHeuerLine ClassifyTagHeuerLine(const QString& line);

}  // namespace kx
