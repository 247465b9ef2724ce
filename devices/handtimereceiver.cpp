#include "devices/handtimereceiver.h"

#include "devices/handtimestore.h"
#include "devices/handtimetext.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>

namespace kx {

namespace {

// The synchronisation time plus the device's time can pass midnight: a time of the next day,
// kept within the day as every other time of day is (and as a hand-time file holds it).
double WithinDay(double t) {
  return t >= 1.0 ? t - std::floor(t) : t;
}

}  // namespace

MonotonicClock SteadyClock() {
  return [] {
    static QElapsedTimer timer = [] {
      QElapsedTimer t;
      t.start();
      return t;
    }();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
  };
}

void WaitSeconds(double seconds) {
  QEventLoop loop;
  // No guard: only ends the wait.
  QTimer::singleShot(static_cast<int>(std::ceil(seconds * 1000)), &loop, &QEventLoop::quit);
  loop.exec();
}

HandTimeReceiver::HandTimeReceiver(AppState& state, MonotonicClock clock)
    : state_(state), clock_(std::move(clock)) {}

void HandTimeReceiver::clearPartial() {
  lineBuffer_.clear();
  digi_.clear();
}

int HandTimeReceiver::store(double t, quint8 flag, qint16 number) {
  if (ReceiveMode != QLatin1String("S") && ReceiveMode != QLatin1String("Z")) return 0;
  std::vector<HandTime>& target = HandTimeStore(state_, ReceiveMode);
  if (!AppendHandTime(target, HandTime{WithinDay(t), flag, number})) return 0;
  return static_cast<int>(target.size());
}

void HandTimeReceiver::serialBytes(QByteArrayView bytes) {
  QString message;
  if (DeviceTag == QLatin1String("DIGI")) {
    for (const char byte : bytes) {
      const std::optional<DigiRecord> record = digi_.feed(static_cast<quint8>(byte), clock_());
      if (!record || record->kind != 2) continue;
      // A digit above 9 makes a field no device time has: a garbled record.
      if (record->hours > 23 || record->minutes > 59 || record->seconds > 59 ||
          record->hundredths > 99)
        continue;
      const int count = store(record->dayTime(SyncTime), 2, static_cast<qint16>(record->number));
      if (count > 0) {
        message = FormatRaceTime(record->runSeconds(), 0) + QStringLiteral(" - ") +
                  QString::number(count) + QStringLiteral(" Zeiten empfangen");
      }
    }
  } else {
    lineBuffer_.append(DeviceText(bytes));
    const bool timy = DeviceTag == QLatin1String("ALGE");
    while (const std::optional<QString> line = lineBuffer_.takeLine()) {
      if (timy) {
        timyLine(*line, message);
      } else {
        tagHeuerLine(*line, message);
      }
    }
  }
  if (!message.isEmpty() && onMessageLine) onMessageLine(message);
}

void HandTimeReceiver::usbLine(const QString& line) {
  QString message;
  timyLine(line, message);
  if (!message.isEmpty() && onMessageLine) onMessageLine(message);
}

void HandTimeReceiver::timyLine(const QString& line, QString& message) {
  const std::optional<QString> text = TimyTimeText(line);
  if (!text) return;
  const std::optional<double> t = ParseHandTime(*text);
  if (!t || !HandTimeFieldsInRange(*text)) return;
  const int count = store(*t);
  if (count > 0) {
    message = *text + QStringLiteral(" - ") + QString::number(count) + QStringLiteral(" Zeiten ") +
              ReceiveState;
  }
}

void HandTimeReceiver::tagHeuerLine(const QString& line, QString& message) {
  const TagHeuerLine tag = ClassifyTagHeuerLine(line);
  if (tag.kind == TagHeuerLine::Kind::Other) return;
  const std::optional<double> t = ParseHandTime(tag.text);
  if (!t || !HandTimeFieldsInRange(tag.text)) return;
  if (tag.kind == TagHeuerLine::Kind::Sync) {
    SyncTime = *t;
    message =
        QStringLiteral("Synchronisation um ") + FormatHandTime(SyncTime, QStringLiteral("rnd"));
    return;
  }
  const double dayTime = WithinDay(*t + SyncTime);
  const int count = store(dayTime);
  if (count > 0) {
    message = FormatHandTime(dayTime, QStringLiteral("rnd")) + QStringLiteral(" - ") +
              QString::number(count) + QStringLiteral(" Zeiten abgeholt");
  }
}

}  // namespace kx
