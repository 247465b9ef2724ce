// Hand-time and timer texts: the worked edge cases, round trips over the whole day, and the
// texts that cannot be read.
#include "devices/handtimetext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>

namespace kx {
namespace {

double Day(int h, int m, double s) {
  return h / 24.0 + m / 1440.0 + s / 86400.0;
}

TEST(HandTimeText, EdgeCasesOfFormatting) {
  struct Case {
    double t;
    const char* rnd;
    const char* cut;
  };
  const Case cases[] = {
      {Day(11, 0, 0), "11:00:00,00", "11:00:00,00"},
      {0.5, "12:00:00,00", "12:00:00,00"},
      {Day(12, 34, 56.787), "12:34:56,79", "12:34:56,78"},
      {Day(12, 34, 59.996), "12:35:00,00", "12:34:59,99"},
      {Day(12, 59, 59.996), "13:00:00,00", "12:59:59,99"},
      {1.5, "36:00:00,00", "36:00:00,00"},
      {-0.01, "-01:45:36,00", "-01:45:36,00"},
      {Day(101, 2, 3.45), "101:02:03,45", "101:02:03,45"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatHandTime(c.t, "rnd"), c.rnd) << c.rnd;
    EXPECT_EQ(FormatHandTime(c.t, "cut"), c.cut) << c.cut;
  }
  // Only the exact text "rnd" rounds.
  EXPECT_EQ(FormatHandTime(Day(12, 34, 56.787), "RND"), "12:34:56,78");
}

TEST(HandTimeText, ParsesByPositionWithCommaOrPoint) {
  const double t = ParseHandTime("12:34:56,78").value();
  EXPECT_EQ(FormatHandTime(t, "rnd"), "12:34:56,78");
  EXPECT_EQ(ParseHandTime("12:34:56.78").value(), t);
  EXPECT_DOUBLE_EQ(ParseHandTime("12:34:56,7").value(), Day(12, 34, 5.67));
  EXPECT_DOUBLE_EQ(ParseHandTime("12:34:56").value(), Day(12, 34, 0.56));
  EXPECT_DOUBLE_EQ(ParseHandTime("12:60:00,00").value(), Day(13, 0, 0));
  // The colons are not looked at, trailing text is not read.
  EXPECT_EQ(ParseHandTime("12-34-56,78 C0").value(), t);
  EXPECT_DOUBLE_EQ(ParseHandTime(" 9:05:00.00").value(), Day(9, 5, 0));

  for (const char* bad : {"9:05:00,00", "", "12:34", "123456", "ab:34:56,78", "12:3x:56,78",
                          "12:34:5a,78", "12:34:  ,  ", "12:34:99999"}) {
    EXPECT_FALSE(ParseHandTime(bad).has_value()) << bad;
  }
}

TEST(HandTimeText, EveryHundredthOfAnHourAndSamplesOfTheDayComeBackUnchanged) {
  // Every hundredth of the last hour of the day, where the day fraction carries the most
  // rounding error.
  for (int i = 0; i < 360000; ++i) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "23:%02d:%02d,%02d", i / 6000, i / 100 % 60, i % 100);
    const QString text = QString::fromLatin1(buffer);
    const double t = ParseHandTime(text).value();
    ASSERT_EQ(FormatHandTime(t, "rnd"), text);
    ASSERT_EQ(FormatHandTime(t, "cut"), text);
  }
  // A hundredth computed by sums as the readers do (hours + minutes + seconds + sync time).
  for (int k = 0; k < 8640000; k += 997) {
    const double t =
        (k / 360000) / 24.0 + (k / 6000 % 60) / 1440.0 + (k % 6000) / 8640000.0 + 10 / 24.0;
    const QString text = FormatHandTime(t, "cut");
    ASSERT_EQ(FormatHandTime(t, "rnd"), text) << k;
    ASSERT_EQ(FormatHandTime(ParseHandTime(text).value(), "cut"), text) << k;
  }
}

TEST(HandTimeText, ValuesBeyondAnyTimeGiveNoText) {
  const double inf = std::numeric_limits<double>::infinity();
  for (double day : {1e300, inf, std::nan(""), 9.9e15, 0x1p63, -0x1p63}) {
    EXPECT_EQ(FormatHandTime(day, "rnd") + FormatHandTime(day, "cut"), "") << day;
    EXPECT_EQ(FormatRaceTime(day * 86400, 0), day < 0 ? "=" : "") << day;
  }
}

TEST(RaceTimeText, ModesAndSpecialValues) {
  EXPECT_EQ(FormatRaceTime(3723.4567, 0), "01:02:03.457");
  EXPECT_EQ(FormatRaceTime(3723.4567, 1), "010203.457");
  EXPECT_EQ(FormatRaceTime(3723.4567, 2), "01:02:03.45");
  EXPECT_EQ(FormatRaceTime(3723.4567, 3), " 1:02:03.45");
  EXPECT_EQ(FormatRaceTime(35999.99, 0), "09:59:59.990");
  EXPECT_EQ(FormatRaceTime(35999.99, 3), " 9:59:59.99");
  EXPECT_EQ(FormatRaceTime(0.5, 3), "       0.50");
  EXPECT_EQ(FormatRaceTime(754.321, 3), "   12:34.32");
  for (int mode : {0, 1, 2, 3}) {
    EXPECT_EQ(FormatRaceTime(0, mode), "");
    EXPECT_EQ(FormatRaceTime(-1, mode), "N/Start");
    EXPECT_EQ(FormatRaceTime(-2, mode), "N/Ziel");
    EXPECT_EQ(FormatRaceTime(-3, mode), "Disqual.");
    EXPECT_EQ(FormatRaceTime(-0.5, mode), "=");
    EXPECT_EQ(FormatRaceTime(0.0005, mode), "=");
  }
}

}  // namespace
}  // namespace kx
