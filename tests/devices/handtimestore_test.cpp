// Hand-time stores and files: exact bytes, reading back, refused files that leave the store
// as it was, the capacity, and the load and save actions with their dialogs and messages.
#include "devices/handtimestore.h"

#include "devices/handtimetext.h"
#include "tests/support/scriptedui.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx {
namespace {

double T(const char* text) {
  return ParseHandTime(QString::fromLatin1(text)).value();
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
  return path;
}

QByteArray Read(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

class HandTimeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.Ui = &ui;
    state.DataDir = dir.path();
    state.CompetitionDir = dir.path();
  }
  QTemporaryDir dir;
  test::ScriptedUi ui;
  AppState state;
};

TEST_F(HandTimeFileTest, SavedBytesAreExactAndLoadBackWithPointOrComma) {
  // The second time lies between hundredths and rounds up on saving.
  const std::vector<HandTime> store{
      {T("09:05:03,20")}, {12 / 24.0 + 34 / 1440.0 + 56.787 / 86400}, {0.0}};
  EXPECT_EQ(HandTimeFileBytes(store), QByteArray("09:05:03,20\r\n12:34:56,79\r\n00:00:00,00\r\n"));

  const HandTimeFileContent read =
      ParseHandTimeFile("09:05:03.20\r\n\r\n12:34:56,79\n  \r\n00:00:00,00");
  ASSERT_TRUE(read.error.isEmpty()) << read.error.toStdString();
  ASSERT_EQ(read.times.size(), 3u);
  EXPECT_EQ(FormatHandTime(read.times[0], "rnd"), "09:05:03,20");
  EXPECT_EQ(FormatHandTime(read.times[1], "rnd"), "12:34:56,79");
  EXPECT_EQ(read.times[2], 0.0);
}

TEST_F(HandTimeFileTest, BadLineOrTooManyTimesRefuseTheFileAndKeepTheStore) {
  state.HzStart = {{T("10:00:00,00"), 2, 7}, {T("10:00:01,00"), 2, 8}};
  const std::vector<HandTime> before = state.HzStart;

  const QString bad = Write(dir, "bad.txt", "10:00:00,00\r\n\r\n9:05:00,00\r\n10:00:02,00\r\n");
  ui.chooseOpenFile(bad);
  EXPECT_FALSE(LoadHandTimesFromFile(state, ui, kHandzeitStart).has_value());
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(ui.messages[0].text.contains("Zeile 3")) << ui.messages[0].text.toStdString();
  EXPECT_EQ(ui.messages[0].title, "Achtung");

  QByteArray many;
  for (int i = 0; i < kHandTimeCapacity + 1; ++i) many += "10:00:00,00\r\n";
  ui.chooseOpenFile(Write(dir, "many.txt", many));
  EXPECT_FALSE(LoadHandTimesFromFile(state, ui, kHandzeitStart).has_value());
  EXPECT_TRUE(ui.messages.back().text.contains("mehr als 2000"));

  ASSERT_EQ(state.HzStart.size(), before.size());
  EXPECT_EQ(state.HzStart[1].dayTime, before[1].dayTime);

  // Exactly the capacity loads.
  many.chop(13);
  ui.chooseOpenFile(Write(dir, "full.txt", many));
  EXPECT_EQ(LoadHandTimesFromFile(state, ui, kHandzeitStart), "2000 Start-Zeiten geladen");
  EXPECT_EQ(state.HzStart.size(), 2000u);
  EXPECT_FALSE(AppendHandTime(state.HzStart, HandTime{0.5}));
  EXPECT_EQ(state.HzStart.size(), 2000u);
}

TEST_F(HandTimeFileTest, LoadReplacesTheChosenStoreAndKeepsFlagAndNumber) {
  state.HzZiel.assign(10, HandTime{0.4, 2, 5});
  state.HzStart = {{0.3}};
  const QString path = Write(dir, "three.txt", "11:00:00,00\r\n11:00:01,00\r\n11:00:02,00\r\n");

  ui.chooseOpenFile(path);
  // "- ? -" loads the finish store.
  EXPECT_EQ(LoadHandTimesFromFile(state, ui, kHandzeitNone), "3 Ziel-Zeiten geladen");
  ASSERT_EQ(state.HzZiel.size(), 3u);
  EXPECT_EQ(FormatHandTime(state.HzZiel[2].dayTime, "rnd"), "11:00:02,00");
  EXPECT_EQ(state.HzZiel[2].Flag, 2);
  EXPECT_EQ(state.HzZiel[2].Number, 5);
  EXPECT_EQ(state.HzStart.size(), 1u);
  EXPECT_EQ(ui.openRequests[0].directory, dir.path());
  EXPECT_EQ(ui.openRequests[0].filter, "txt-Dateien(*.txt)|*.txt");

  ui.chooseOpenFile(Write(dir, "empty.txt", ""));
  EXPECT_EQ(LoadHandTimesFromFile(state, ui, kHandzeitStart), "0 Start-Zeiten geladen");
  EXPECT_TRUE(state.HzStart.empty());
  EXPECT_EQ(HandTimeCountText(state.HzStart), "0 Zeiten im Speicher");

  // A cancelled dialog changes nothing.
  EXPECT_FALSE(LoadHandTimesFromFile(state, ui, kHandzeitZiel).has_value());
  EXPECT_EQ(state.HzZiel.size(), 3u);
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(HandTimeFileTest, SaveChecksAndWritesTheStoreTheComboNames) {
  SaveHandTimesToFile(state, ui, kHandzeitNone);
  SaveHandTimesToFile(state, ui, kHandzeitStart);
  state.HzStart = {{T("10:00:00,00")}, {T("10:00:00,50")}};
  SaveHandTimesToFile(state, ui, kHandzeitZiel);
  EXPECT_EQ(ui.messageTexts(),
            QStringList({"Bitte zuerst wählen ob Start- oder Ziel-Handzeit",
                         "Keine Start-Handzeiten geladen!", "Keine Ziel-Handzeiten geladen!"}));
  EXPECT_TRUE(ui.saveRequests.isEmpty());
  ui.clear();

  // No competition file: a plain name is proposed. Cancel writes nothing.
  SaveHandTimesToFile(state, ui, kHandzeitStart);
  ASSERT_EQ(ui.saveRequests.size(), 1);
  EXPECT_EQ(ui.saveRequests[0].fileName, "Handzeit-Start.txt");
  EXPECT_EQ(ui.saveRequests[0].title, "Datei auswählen");
  EXPECT_EQ(ui.saveRequests[0].filter, "txt-Dateien|*.txt");
  EXPECT_TRUE(ui.messages.isEmpty());

  state.HzZiel = {{T("11:00:00,00")}};
  const QString path = dir.filePath("ziel.txt");
  ui.chooseSaveFile(path);
  SaveHandTimesToFile(state, ui, kHandzeitZiel);
  EXPECT_EQ(Read(path), QByteArray("11:00:00,00\r\n"));
  EXPECT_EQ(ui.messageTexts().back(), "Zeiten in " + path + " gespeichert");

  // An unwritable target (a directory) is reported, nothing claimed as saved.
  QDir(dir.path()).mkdir("busy.txt");
  ui.chooseSaveFile(dir.filePath("busy.txt"));
  SaveHandTimesToFile(state, ui, kHandzeitStart);
  EXPECT_TRUE(ui.messageTexts().back().contains("kann nicht geschrieben werden"));
}

}  // namespace
}  // namespace kx
