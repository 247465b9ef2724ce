// The device readers fed directly with bytes and lines, on an injected clock: DIGI Sport
// records and their gaps, Timy and TAG Heuer lines cut at every byte, unreadable lines, the
// store's capacity and a reconnect after half a line.
#include "devices/handtimereceiver.h"

#include "devices/handtimestore.h"
#include "devices/handtimetext.h"

#include <gtest/gtest.h>

namespace kx {
namespace {

class ReceiverTest : public ::testing::Test {
 protected:
  ReceiverTest() : receiver(state, [this] { return now; }) {
    receiver.onMessageLine = [this](const QString& text) { messages.append(text); };
  }
  QStringList times(const std::vector<HandTime>& store) const {
    QStringList texts;
    for (const HandTime& entry : store) texts.append(FormatHandTime(entry.dayTime, "rnd"));
    return texts;
  }

  AppState state;
  double now = 1000;
  HandTimeReceiver receiver;
  QStringList messages;
};

TEST_F(ReceiverTest, DigiRecordsOfKindTwoAreStoredAndGapsSeparateRecords) {
  receiver.DeviceTag = "DIGI";
  receiver.ReceiveMode = "S";
  receiver.SyncTime = 10 / 24.0;
  receiver.serialBytes(QByteArray::fromHex("0210325470"));
  ASSERT_EQ(state.HzStart.size(), 1u);
  EXPECT_EQ(times(state.HzStart), QStringList{"10:01:23,45"});
  EXPECT_EQ(state.HzStart[0].Flag, 2);
  EXPECT_EQ(state.HzStart[0].Number, 7);
  EXPECT_EQ(messages, QStringList{"00:01:23.450 - 1 Zeiten empfangen"});

  // Minutes of 60 (a digit above 9 would give more): a garbled record, nothing stored.
  receiver.serialBytes(QByteArray::fromHex("0206325470"));
  EXPECT_EQ(state.HzStart.size(), 1u);

  // Kind 1 makes a record but stores nothing; the next byte starts a new record.
  receiver.serialBytes(QByteArray::fromHex("0110325470"));
  EXPECT_EQ(state.HzStart.size(), 1u);
  EXPECT_EQ(receiver.digiByteIndex(), 0);

  // A pause of exactly 2.0 s keeps the record together; just over 2.0 s drops what came.
  receiver.serialBytes(QByteArray::fromHex("021032"));
  now += 2.0;
  receiver.serialBytes(QByteArray::fromHex("5471"));
  EXPECT_EQ(state.HzStart.size(), 2u);
  receiver.serialBytes(QByteArray::fromHex("021032"));
  now += 2.001;
  receiver.serialBytes(QByteArray::fromHex("0220325472"));
  ASSERT_EQ(state.HzStart.size(), 3u);
  EXPECT_EQ(state.HzStart[2].Number, 27);
  EXPECT_EQ(times(state.HzStart).last(), "10:02:23,45");

  // Without a receive mode nothing is stored and nothing is said.
  receiver.ReceiveMode.clear();
  messages.clear();
  receiver.serialBytes(QByteArray::fromHex("0210325470"));
  EXPECT_EQ(state.HzStart.size(), 3u);
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ReceiverTest, TimyLinesCutAtEveryByteGiveTheSameTimes) {
  receiver.DeviceTag = "ALGE";
  receiver.ReceiveMode = "Z";
  receiver.ReceiveState = "empfangen";
  // A line is everything before CR: the LF after it is the first character of the next
  // line, so the second line's "C" stands at character 7 only with the LF counted.
  const QByteArray stream =
      " 0001 C0  09:15:01.23 00\r\n0002 C0  09:15:02.50 00\r"
      " 0003 C1  09:15:03.00 00\r"   // 7th character "C"
      " 0004 X0  09:15:04.00 00\r"   // no time line
      " 0005 C0  9:15:05.00  00\r"   // unreadable time: dropped
      " 0005 C0  09:15:75.00 00\r"   // a field beyond a time of day: garbled, dropped
      " 0006 C0  09:15:06.07 00\r";  // a last line
  const QStringList expected{"09:15:01,23", "09:15:02,50", "09:15:03,00", "09:15:06,07"};
  for (qsizetype cut = 0; cut <= stream.size(); ++cut) {
    state.HzZiel.clear();
    messages.clear();
    receiver.serialBytes(stream.left(cut));
    receiver.serialBytes(stream.mid(cut));
    ASSERT_EQ(times(state.HzZiel), expected) << "cut at " << cut;
    ASSERT_EQ(messages.last(), "09:15:06.07 - 4 Zeiten empfangen");
    ASSERT_TRUE(receiver.lineBuffer().pending().isEmpty());
  }

  // A new connection forgets half a line.
  receiver.serialBytes(" 0007 C0  09:1");
  receiver.clearPartial();
  receiver.serialBytes(" 0008 C0  09:16:00.00 00\r");
  EXPECT_EQ(times(state.HzZiel).last(), "09:16:00,00");
  EXPECT_EQ(state.HzZiel.size(), 5u);
}

TEST_F(ReceiverTest, TagHeuerTimesCountFromTheSyncAndAFullStoreDropsTimes) {
  receiver.DeviceTag = "TAGH";
  receiver.ReceiveMode = "S";
  // A time before any synchronisation counts from what SyncTime holds.
  receiver.serialBytes("#RR 0000 0001   00:00:01,00\r");
  receiver.serialBytes("#!T 12:00:00\r#RR 0000 0002   00:05:10,27\r#AB other\r");
  EXPECT_EQ(times(state.HzStart), QStringList({"00:00:01,00", "12:05:10,27"}));
  EXPECT_EQ(messages.last(), "12:05:10,27 - 2 Zeiten abgeholt");
  receiver.serialBytes("#!T 13:00:00\r");
  EXPECT_EQ(messages.last(), "Synchronisation um 13:00:00,00");

  // Past midnight the time of the next day; a garbled field drops the line.
  receiver.serialBytes("#!T 23:00:00\r#RR 0000 0005   01:30:00,00\r#RR 0000 0006   00:61:00,00\r");
  EXPECT_EQ(times(state.HzStart).mid(2), QStringList{"00:30:00,00"});
  EXPECT_EQ(messages.last(), "00:30:00,00 - 3 Zeiten abgeholt");
  receiver.serialBytes("#!T 13:00:00\r");

  state.HzStart.resize(kHandTimeCapacity - 1);
  receiver.serialBytes("#RR 0000 0003   00:00:00,00\r#RR 0000 0004   00:00:01,00\r");
  ASSERT_EQ(state.HzStart.size(), 2000u);
  EXPECT_EQ(times(state.HzStart).last(), "13:00:00,00");
  EXPECT_EQ(messages.last(), "13:00:00,00 - 2000 Zeiten abgeholt");
}

}  // namespace
}  // namespace kx
