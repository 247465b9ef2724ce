#include "common/textroutines.h"
#include "common/inifile.h"
#include "common/season.h"
#include "tests/support/qtprint.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <limits>

namespace kx {
namespace {

TEST(CapitalizeClubName, WritesClubNamesInTheirConventionalSpelling) {
  EXPECT_EQ(CapitalizeClubName("SKI-CLUB MUENCHEN E.V."), "Ski-Club München e.V.");
  EXPECT_EQ(CapitalizeClubName("tsv 1860 muenchen"), "TSV 1860 München");
  EXPECT_EQ(CapitalizeClubName("sv koeln/bonn"), "SV Köln/Bonn");
  EXPECT_EQ(CapitalizeClubName("skiclub oetztal"), "SC Oetztal");  // restoring is case-sensitive
  EXPECT_EQ(CapitalizeClubName("SKIKLUB spvgg tus vfl"), "SK SpVgg TuS VfL");
  EXPECT_EQ(CapitalizeClubName("wsv am see"), "WSV am See");
  EXPECT_EQ(CapitalizeClubName("übersee"), "Übersee");
}

TEST(CapitalizeClubName, CopiesSeparatorsAndRestoresOnlyTheFirstUmlaut) {
  EXPECT_EQ(CapitalizeClubName("sc  bayern"), "SC  Bayern");
  EXPECT_EQ(CapitalizeClubName("a.-b."), "a.-B.");
  EXPECT_EQ(CapitalizeClubName("muenchen-muenchen"), "München-Muenchen");
  EXPECT_EQ(CapitalizeClubName("-sc-"), "-SC-");
  EXPECT_EQ(CapitalizeClubName(""), "");
}

TEST(CapitalizeClubName, KeepsTheOneProtectedNameExactly) {
  EXPECT_EQ(CapitalizeClubName("Rerozu Zorezar"), "Rerozu Zorezar");
  EXPECT_EQ(CapitalizeClubName("REROZU ZOREZAR"), "Rerozu Zorezar");
  // "ß" stays "ß" at the start of a word.
  EXPECT_EQ(CapitalizeClubName("ßtest"), "ßtest");
}

TEST(SqlQuote, DoublesSingleQuotes) {
  EXPECT_EQ(SqlQuote(""), "");
  EXPECT_EQ(SqlQuote("d'Ampezzo"), "d''Ampezzo");
  EXPECT_EQ(SqlQuote("''"), "''''");
  EXPECT_EQ(SqlQuote("Öhler \"x\""), "Öhler \"x\"");
}

// A name of exactly the shown length is shown whole; one character more is cut with "…".
TEST(ShownText, CutsOnlyWhatIsLongerThanItsLength) {
  const QString club = "Wintersportverein " + QString(62, 'x');
  ASSERT_EQ(club.size(), 80);
  EXPECT_EQ(ShownText(club), club);
  EXPECT_EQ(ShownText(club + "y"), club + "…");
  EXPECT_EQ(ShownText("Abel", 4), QString("Abel"));
  EXPECT_EQ(ShownText("Abele", 4), QString("Abel…"));
}

TEST(AppendPadded, PadsAfterTheSignAndWritesTheSmallestWholeNumber) {
  QString out;
  AppendPadded(out, -7, 3);
  AppendPadded(out, std::numeric_limits<qint64>::min(), 1);
  EXPECT_EQ(out, "-007-9223372036854775808");
}

TEST(ComboTypeAhead, SelectsTheFirstEntryOfTheTypedLetter) {
  const QStringList entries{"Abfahrt", "Buben", "Bambini"};
  EXPECT_EQ(ComboTypeAhead(-1, "b", entries), 1);
  EXPECT_EQ(ComboTypeAhead(-1, "A", entries), 0);
  EXPECT_EQ(ComboTypeAhead(-1, "bu", entries), std::nullopt);
  EXPECT_EQ(ComboTypeAhead(-1, "x", entries), std::nullopt);
  EXPECT_EQ(ComboTypeAhead(2, "b", entries), std::nullopt);  // an entry is selected
}

TEST(ComboTypeAhead, TypingIntoAComboSelectsByFirstLetterOrTheFirstEntry) {
  QComboBox combo;
  combo.setEditable(true);
  combo.addItems({"keine Unterteilung", "Klasse", "Gruppe", "Kategorie"});
  InstallComboTypeAhead(combo);
  combo.lineEdit()->clear();
  QTest::keyClick(combo.lineEdit(), Qt::Key_G);
  EXPECT_EQ(combo.currentIndex(), 2);
  combo.lineEdit()->clear();
  QTest::keyClick(combo.lineEdit(), Qt::Key_Z);
  EXPECT_EQ(combo.currentIndex(), 0);
}

TEST(Season, TurnsInOctober) {
  EXPECT_EQ(SeasonOf(QDate(2025, 9, 30)), "2024/2025");
  EXPECT_EQ(SeasonOf(QDate(2025, 10, 1)), "2025/2026");
  EXPECT_EQ(SeasonOf(QDate(2026, 1, 1)), "2025/2026");
  EXPECT_EQ(SeasonOf(QDate(2026, 12, 31)), "2026/2027");
}

class IniFileTest : public ::testing::Test {
 protected:
  QString write(const QByteArray& content) {
    const QString path = dir_.filePath("Kandor.ini");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
    return path;
  }
  QTemporaryDir dir_;
};

TEST_F(IniFileTest, FindsSectionAndKeyWithoutRegardToCase) {
  const QString path = write("[Other]\nDATADIR=wrong\n\n[data]\r\n  datadir = D:\\Daten \r\n");
  EXPECT_EQ(GetPrivateProfileString("DATA", "DATADIR", "def", path), "D:\\Daten");
}

TEST_F(IniFileTest, ReadsLongValuesWhole) {
  const QString value = "/home/rennbuero/Kandor/Daten/Saison 2026-2027/Bezirkscup";
  const QString path = write(("[DATA]\nDATADIR=" + value + "\n").toUtf8());
  EXPECT_EQ(GetPrivateProfileString("DATA", "DATADIR", "def", path), value);
}

TEST_F(IniFileTest, GivesTheDefaultWhenFileSectionOrKeyIsMissing) {
  EXPECT_EQ(GetPrivateProfileString("DATA", "DATADIR", "C:\\Programme\\Kandor",
                                    dir_.filePath("missing.ini")),
            "C:\\Programme\\Kandor");
  const QString path = write("[DATA]\nOTHER=1\n[FVAL]\nDATADIR=x\n");
  EXPECT_EQ(GetPrivateProfileString("DATA", "DATADIR", "def", path), "def");
  EXPECT_EQ(GetPrivateProfileString("NONE", "OTHER", "def", path), "def");
}

TEST_F(IniFileTest, RemovesEnclosingQuotesAndReadsWindowsText) {
  const QString path = write("[DATA]\nDATADIR=\"C:\\Daten\"\nNAME=M\xfcller\nEMPTY=\n");
  EXPECT_EQ(GetPrivateProfileString("DATA", "DATADIR", "def", path), "C:\\Daten");
  EXPECT_EQ(GetPrivateProfileString("DATA", "NAME", "def", path), QString::fromUtf8("Müller"));
  EXPECT_EQ(GetPrivateProfileString("DATA", "EMPTY", "def", path), "");
}

}  // namespace
}  // namespace kx
