// The timing devices: a 2,000-line Timy read-out through the serial reader in 4 KB chunks,
// one event with one line or one DIGI Sport record, loading and saving 2,000 hand times,
// and one listing of the serial ports.

#include "devices/handtimereceiver.h"
#include "devices/handtimestore.h"
#include "devices/handtimetext.h"
#include "devices/portlist.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace kx;

QByteArray TimyReadOut() {
  QByteArray bytes;
  for (int i = 0; i < kHandTimeCapacity; ++i) {
    bytes += QStringLiteral(" %1 C0  %2 00\r")
                 .arg(i + 1, 4, 10, QLatin1Char('0'))
                 .arg(FormatHandTime(0.4 + i / 8640.0, QStringLiteral("rnd")).replace(u',', u'.'))
                 .toLatin1();
  }
  return bytes;
}

void BM_TimyReadOutIn4KChunks(benchmark::State& state) {
  const QByteArray readOut = TimyReadOut();
  AppState app;
  HandTimeReceiver receiver(app, [] { return 0.0; });
  receiver.DeviceTag = QStringLiteral("ALGE");
  receiver.ReceiveMode = QStringLiteral("Z");
  receiver.ReceiveState = QStringLiteral("abgeholt");
  QString last;
  receiver.onMessageLine = [&](const QString& text) { last = text; };
  for (auto _ : state) {
    app.HzZiel.clear();
    for (qsizetype at = 0; at < readOut.size(); at += 4096) {
      receiver.serialBytes(
          QByteArrayView(readOut).sliced(at, std::min<qsizetype>(4096, readOut.size() - at)));
    }
    if (app.HzZiel.size() != 2000u) state.SkipWithError("not all times stored");
  }
}
BENCHMARK(BM_TimyReadOutIn4KChunks)->Unit(benchmark::kMillisecond);

void BM_OneTimyLine(benchmark::State& state) {
  AppState app;
  HandTimeReceiver receiver(app, [] { return 0.0; });
  receiver.DeviceTag = QStringLiteral("ALGE");
  receiver.ReceiveMode = QStringLiteral("S");
  receiver.ReceiveState = QStringLiteral("empfangen");
  QString last;
  receiver.onMessageLine = [&](const QString& text) { last = text; };
  const QByteArray line(" 0001 C0  10:00:00.00 00\r");
  for (auto _ : state) {
    if (app.HzStart.size() >= 2000u) app.HzStart.clear();
    receiver.serialBytes(line);
  }
}
BENCHMARK(BM_OneTimyLine)->Unit(benchmark::kMicrosecond);

void BM_OneDigiRecord(benchmark::State& state) {
  AppState app;
  HandTimeReceiver receiver(app, [] { return 0.0; });
  receiver.DeviceTag = QStringLiteral("DIGI");
  receiver.ReceiveMode = QStringLiteral("S");
  QString last;
  receiver.onMessageLine = [&](const QString& text) { last = text; };
  const QByteArray record = QByteArray::fromHex("0210325470");
  for (auto _ : state) {
    if (app.HzStart.size() >= 2000u) app.HzStart.clear();
    receiver.serialBytes(record);
  }
}
BENCHMARK(BM_OneDigiRecord)->Unit(benchmark::kMicrosecond);

std::vector<HandTime> TwoThousandTimes() {
  std::vector<HandTime> store;
  for (int i = 0; i < kHandTimeCapacity; ++i) store.push_back(HandTime{0.4 + i / 8640.0});
  return store;
}

void BM_SaveHandTimeFile(benchmark::State& state) {
  QTemporaryDir dir;
  const std::vector<HandTime> store = TwoThousandTimes();
  const QString path = dir.filePath(QStringLiteral("Handzeit-Ziel.txt"));
  for (auto _ : state) {
    if (!WriteHandTimeFile(path, store).isEmpty()) state.SkipWithError("not written");
  }
}
BENCHMARK(BM_SaveHandTimeFile)->Unit(benchmark::kMillisecond);

void BM_LoadHandTimeFile(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Handzeit-Ziel.txt"));
  WriteHandTimeFile(path, TwoThousandTimes());
  std::vector<HandTime> store;
  for (auto _ : state) {
    const HandTimeFileContent content = ReadHandTimeFile(path);
    if (content.times.size() != 2000u) state.SkipWithError("not read");
    ReplaceHandTimes(store, content.times);
  }
}
BENCHMARK(BM_LoadHandTimeFile)->Unit(benchmark::kMillisecond);

void BM_ListSerialPorts(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SystemPorts());
}
BENCHMARK(BM_ListSerialPorts)->Unit(benchmark::kMillisecond);

}  // namespace
