// Hand-time files: exact bytes, reading back, refused files that leave the store as it
// was, the capacity, and the load and save actions with their dialogs and messages.
#include "devices/handtimestore.h"

#include "devices/handtimetext.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx {
namespace {

class HandTimeFileTest : public ::testing::Test {
 protected:
  void SetUp() override { state.DataDir = state.CompetitionDir = dir.path(); }
  QString write(const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return file.fileName();
  }
  QTemporaryDir dir;
  test::ScriptedUi ui;
  AppState state;
};

TEST_F(HandTimeFileTest, SavedBytesAreExactAndReadBackWithPointCommaAndBlankLines) {
  // The second time lies between hundredths and rounds up.
  const std::vector<HandTime> store{
      {ParseHandTime("09:05:03,20").value()}, {12 / 24.0 + 34 / 1440.0 + 56.787 / 86400}, {0.0}};
  EXPECT_EQ(HandTimeFileBytes(store), QByteArray("09:05:03,20\r\n12:34:56,79\r\n00:00:00,00\r\n"));

  const HandTimeFileContent read =
      ParseHandTimeFile("09:05:03.20\r\n\r\n12:34:56,79\n  \r\n00:00:00,00");
  ASSERT_TRUE(read.error.isEmpty());
  ASSERT_EQ(read.times.size(), 3u);
  EXPECT_EQ(HandTimeFileBytes({{read.times[0]}, {read.times[1]}, {read.times[2]}}),
            HandTimeFileBytes(store));
}

TEST_F(HandTimeFileTest, LoadReplacesTheChosenStoreOrRefusesTheWholeFile) {
  state.HzZiel.assign(10, HandTime{0.4, 2, 5});
  state.HzStart = {{0.3}};
  // "- ? -" loads the finish store; entries that stay keep Flag and Number.
  ui.chooseOpenFile(write("three.txt", "11:00:00,00\r\n11:00:01,00\r\n11:00:02,00\r\n"));
  EXPECT_EQ(LoadHandTimesFromFile(state, ui, kHandzeitNone), "3 Ziel-Zeiten geladen");
  ASSERT_EQ(state.HzZiel.size(), 3u);
  EXPECT_EQ(FormatHandTime(state.HzZiel[2].dayTime, "rnd"), "11:00:02,00");
  EXPECT_EQ(state.HzZiel[2].Number, 5);
  EXPECT_EQ(state.HzStart.size(), 1u);
  EXPECT_EQ(ui.openRequests[0].filter, "txt-Dateien(*.txt)|*.txt");

  // A bad line or a 2,001st time refuses the file: the store stays as it was.
  ui.chooseOpenFile(write("bad.txt", "10:00:00,00\r\n\r\n9:05:00,00\r\n"));
  EXPECT_FALSE(LoadHandTimesFromFile(state, ui, kHandzeitZiel));
  EXPECT_TRUE(ui.messageTexts().last().contains("Zeile 3"));
  QByteArray many;
  for (int i = 0; i <= kHandTimeCapacity; ++i) many += "10:00:00,00\r\n";
  ui.chooseOpenFile(write("many.txt", many));
  EXPECT_FALSE(LoadHandTimesFromFile(state, ui, kHandzeitZiel));
  EXPECT_TRUE(ui.messageTexts().last().contains("mehr als 2000"));
  EXPECT_EQ(state.HzZiel.size(), 3u);
  EXPECT_FALSE(LoadHandTimesFromFile(state, ui, kHandzeitZiel));  // cancelled
  EXPECT_EQ(ui.messages.size(), 2);

  // Exactly 2,000 load; the store then takes no more.
  ui.chooseOpenFile(write("full.txt", many.left(many.size() - 13)));
  EXPECT_EQ(LoadHandTimesFromFile(state, ui, kHandzeitStart), "2000 Start-Zeiten geladen");
  EXPECT_FALSE(AppendHandTime(state.HzStart, HandTime{0.5}));
  EXPECT_EQ(HandTimeCountText(state.HzStart), "2000 Zeiten im Speicher");
}

// A file edited by hand: a short or long field would be read into its neighbours by position
// ("12:34:56,7" as 12:34:05,67), so only the shape the save writes loads.
TEST_F(HandTimeFileTest, ALineOfAnotherShapeRefusesTheFile) {
  const HandTimeFileContent good = ParseHandTimeFile(" 12:34:56,78\t\r\n12:34:56.70 \r\n");
  ASSERT_TRUE(good.error.isEmpty());
  ASSERT_EQ(good.times.size(), 2u);
  EXPECT_EQ(HandTimeFileBytes({{good.times[0]}, {good.times[1]}}),
            QByteArray("12:34:56,78\r\n12:34:56,70\r\n"));
  for (const char* bad : {"12:34:56,7", "12:34:56", "12:34:56,789", "2:34:56,78", "12:34:5,678",
                          "12;34:56,78", "12:34:56 78", "+1:34:56,78"}) {
    const HandTimeFileContent read = ParseHandTimeFile(QByteArray("10:00:00,00\r\n") + bad);
    EXPECT_TRUE(read.times.empty()) << bad;
    EXPECT_EQ(read.error, QString("Die Zeile 2 der Datei ist keine Handzeit (hh:mm:ss,hh): \"") +
                              bad + "\".\nEs wurden keine Zeiten geladen.");
  }
}

// A field out of range would be carried into the next; a field of 60, or an hour of 24,
// followed only by zeros is what earlier saves wrote and still loads.
TEST_F(HandTimeFileTest, ALineWithAFieldOutOfRangeRefusesTheFile) {
  for (const char* bad : {"12:34:75,00", "12:61:00,00", "99:99:99,99", "24:00:00,01", "24:60:00,00",
                          "12:60:00,01", "12:34:60,01"}) {
    EXPECT_EQ(ParseHandTimeFile(QByteArray("10:00:00,00\r\n\r\n") + bad).error,
              QString("Die Zeile 3 der Datei ist keine Handzeit (hh:mm:ss,hh): \"") + bad +
                  "\".\nEs wurden keine Zeiten geladen.");
  }
  const std::vector<double> old =
      ParseHandTimeFile("12:60:00,00\r\n12:34:60,00\r\n24:00:00,00").times;
  ASSERT_EQ(old.size(), 3u);
  EXPECT_EQ(HandTimeFileBytes({{old[0]}, {old[1]}, {old[2]}, {13 / 24.0 - 0.004 / 86400}}),
            QByteArray("13:00:00,00\r\n12:35:00,00\r\n24:00:00,00\r\n13:00:00,00\r\n"));
}

TEST_F(HandTimeFileTest, SaveChecksAndWritesTheStoreTheComboNames) {
  SaveHandTimesToFile(state, ui, kHandzeitNone);
  SaveHandTimesToFile(state, ui, kHandzeitStart);
  state.HzStart = {{0.5}};
  SaveHandTimesToFile(state, ui, kHandzeitZiel);
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"Bitte zuerst wählen ob Start- oder Ziel-Handzeit",
                         "Keine Start-Handzeiten geladen!", "Keine Ziel-Handzeiten geladen!"}));
  EXPECT_TRUE(ui.saveRequests.isEmpty());

  // Without a competition file a plain name is proposed; cancel writes nothing.
  SaveHandTimesToFile(state, ui, kHandzeitStart);
  EXPECT_EQ(ui.saveRequests.last().fileName, "Handzeit-Start.txt");
  EXPECT_EQ(ui.messages.size(), 3);

  state.HzZiel = {{11 / 24.0}};
  const QString path = dir.filePath("ziel.txt");
  ui.chooseSaveFile(path);
  SaveHandTimesToFile(state, ui, kHandzeitZiel);
  QFile saved(path);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), QByteArray("11:00:00,00\r\n"));
  EXPECT_EQ(ui.messageTexts().last(), "Zeiten in " + path + " gespeichert");

  // An unwritable target (a directory) is reported, nothing claimed as saved.
  QDir(dir.path()).mkdir("busy.txt");
  ui.chooseSaveFile(dir.filePath("busy.txt"));
  SaveHandTimesToFile(state, ui, kHandzeitStart);
  EXPECT_TRUE(ui.messageTexts().last().contains("kann nicht geschrieben werden"));
}

}  // namespace
}  // namespace kx
