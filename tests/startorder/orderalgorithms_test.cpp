// The points correction of run 1, the reversal of run 2 and the run-time text, on tables
// filled by hand.

#include "common/sharedtables.h"
#include "common/timetext.h"
#include "startorder/startorder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <random>

#include <vector>

namespace kx {
namespace {

struct Row {
  QString group;
  double points;
  QString jahrgang = QStringLiteral("2010");
};

// A run-1 table in load order; bibs are the load positions.
StartOrderTable Run1Table(const std::vector<Row>& rows) {
  StartOrderTable table;
  table.reset(static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    StartOrderEntry& e = table[static_cast<int>(i) + 1];
    e.startnr = QString::number(i + 1);
    e.klasse = e.klasse_nm = rows[i].group;
    e.punkte = rows[i].points;
    e.jahrgang = rows[i].jahrgang;
  }
  return table;
}

std::vector<double> PointsInOrder(const StartOrderTable& table) {
  std::vector<double> result;
  for (int i : table.order()) result.push_back(table[i].punkte);
  return result;
}

QStringList BibsInOrder(const StartOrderTable& table) {
  QStringList result;
  for (int i : table.order()) result << table[i].startnr;
  return result;
}

QStringList MovedBibs(const StartOrderTable& table) {
  QStringList result;
  for (int i : table.order())
    if (table[i].moved) result << table[i].startnr;
  return result;
}

const QString kSeason = QStringLiteral("2024/2025");

TEST(PointsCorrection, EntryBetterThanItsPredecessorMovesBehindTheTopBlock) {
  StartOrderTable t = Run1Table({{"A", 10}, {"A", 30}, {"A", 50}, {"A", 60}, {"A", 40}});
  CorrectStartOrderByPoints(t, 2, kSeason);
  EXPECT_EQ(PointsInOrder(t), (std::vector<double>{10, 30, 40, 50, 60}));
  EXPECT_EQ(MovedBibs(t), QStringList{"5"});
}

TEST(PointsCorrection, WithoutAWorseEntryAfterTheTopBlockTheMoveStopsBeforeTheLastKept) {
  StartOrderTable t = Run1Table({{"A", 10}, {"A", 30}, {"A", 40}, {"A", 20}, {"A", 50}, {"A", 45}});
  CorrectStartOrderByPoints(t, 2, kSeason);
  EXPECT_EQ(PointsInOrder(t), (std::vector<double>{10, 30, 20, 40, 45, 50}));
  EXPECT_EQ(MovedBibs(t), (QStringList{"4", "6"}));
}

TEST(PointsCorrection, EachGroupHasItsOwnTopBlockAndAReturningEntryJoinsItsGroup) {
  // Group B starts fresh: its first two entries are its top block whatever the threshold
  // that group A left. The late A entry is gathered into A before its first entry that is
  // worse than A's top block and than itself.
  StartOrderTable t = Run1Table({{"A", 10},
                                 {"A", 30},
                                 {"A", 50},
                                 {"A", 60},
                                 {"B", 5},
                                 {"B", 80},
                                 {"B", 90},
                                 {"B", 70},
                                 {"A", 45}});
  CorrectStartOrderByPoints(t, 2, kSeason);
  EXPECT_EQ(BibsInOrder(t), (QStringList{"1", "2", "9", "3", "4", "5", "6", "8", "7"}));
  EXPECT_EQ(MovedBibs(t), (QStringList{"9", "8"}));
  EXPECT_EQ(t.order().size(), 9u);
}

TEST(PointsCorrection, ReturningEntryOfAOneEntryFirstGroupGoesToTheVeryStart) {
  StartOrderTable t = Run1Table({{"A", 40}, {"B", 10}, {"B", 20}, {"A", 30}});
  CorrectStartOrderByPoints(t, 15, kSeason);
  EXPECT_EQ(BibsInOrder(t), (QStringList{"4", "1", "2", "3"}));
  EXPECT_EQ(t.head().next, 4);
  EXPECT_EQ(MovedBibs(t), QStringList{"4"});
}

TEST(PointsCorrection, YoungestPupilsKeepTheirOrderOnlyWhenTheirBirthYearIsKnown) {
  // Season 2024/2025: a group opened by a racer born 2012 is left alone.
  StartOrderTable exempt = Run1Table({{"U12", 10, "2012"},
                                      {"U12", 30, "2013"},
                                      {"U12", 50, "2011"},
                                      {"U12", 60, "2012"},
                                      {"U12", 40, "2012"}});
  CorrectStartOrderByPoints(exempt, 2, kSeason);
  EXPECT_EQ(BibsInOrder(exempt), (QStringList{"1", "2", "3", "4", "5"}));
  EXPECT_TRUE(MovedBibs(exempt).isEmpty());

  // Only the opening entry counts: a 2012 racer later in the group exempts nothing.
  StartOrderTable later = Run1Table({{"A", 10, "2011"},
                                     {"A", 30, "2012"},
                                     {"A", 50, "2012"},
                                     {"A", 60, "2012"},
                                     {"A", 40, "2012"}});
  CorrectStartOrderByPoints(later, 2, kSeason);
  EXPECT_EQ(MovedBibs(later), QStringList{"5"});

  // Birth years not shown (empty text): corrected like any other group.
  StartOrderTable unknown =
      Run1Table({{"A", 10, ""}, {"A", 30, ""}, {"A", 50, ""}, {"A", 60, ""}, {"A", 40, ""}});
  CorrectStartOrderByPoints(unknown, 2, kSeason);
  EXPECT_EQ(MovedBibs(unknown), QStringList{"5"});

  // The exemption follows the season: in 2025/2026 the 2012 group is corrected.
  StartOrderTable nextSeason = Run1Table({{"U12", 10, "2012"},
                                          {"U12", 30, "2012"},
                                          {"U12", 50, "2012"},
                                          {"U12", 60, "2012"},
                                          {"U12", 40, "2012"}});
  CorrectStartOrderByPoints(nextSeason, 2, QStringLiteral("2025/2026"));
  EXPECT_EQ(MovedBibs(nextSeason), QStringList{"5"});
}

TEST(PointsCorrection, NoPointsSortLastAndEqualPointsStay) {
  StartOrderTable t =
      Run1Table({{"A", 10}, {"A", 9999.99}, {"A", 9999.99}, {"A", 9999.99}, {"A", 20}});
  CorrectStartOrderByPoints(t, 1, kSeason);
  EXPECT_EQ(PointsInOrder(t), (std::vector<double>{10, 20, 9999.99, 9999.99, 9999.99}));
  EXPECT_EQ(MovedBibs(t), QStringList{"5"});
}

// The correction written as a walk along the links, entry by entry, as an organiser would
// do it on paper; the production code keeps arrays instead and must agree with it.
void ReferenceCorrection(StartOrderTable& t, int topCount, int youngestYear) {
  const int count = t.count();
  struct Group {
    QString name;
    int first, lastKept;
    double maximum;
  };
  std::vector<Group> groups;
  int current = -1, n = topCount, kept = 0, prev = 0;
  double threshold = 0;
  auto linkerOf = [&](int target) {
    int p = 0;
    while (t[p].next != target) p = t[p].next;
    return p;
  };
  auto move = [&](int cur, int nxt, const Group& g) {
    int stop = g.lastKept;
    int position = 1;
    for (int e = g.first; e != g.lastKept; e = t[e].next, ++position) {
      if (position > n && t[e].punkte > g.maximum && t[e].punkte > t[cur].punkte) {
        stop = e;
        break;
      }
    }
    t[linkerOf(stop)].next = cur;
    t[cur].next = stop;
    t[prev].next = nxt;
    t[cur].moved = true;
  };
  for (int cur = t.head().next; cur <= count;) {
    const int nxt = t[cur].next;
    if (current < 0 || t[cur].klasse_nm != groups[static_cast<size_t>(current)].name) {
      int found = -1;
      for (int g = 0; g < current; ++g)
        if (groups[static_cast<size_t>(g)].name == t[cur].klasse_nm) found = g;
      if (found >= 0) {
        move(cur, nxt, groups[static_cast<size_t>(found)]);
        cur = nxt;
        continue;
      }
      groups.push_back({t[cur].klasse_nm, cur, cur, 0});
      current = static_cast<int>(groups.size()) - 1;
      kept = 0;
      n = t[cur].jahrgang.toInt() == youngestYear ? 999 : topCount;
    }
    Group& g = groups[static_cast<size_t>(current)];
    if (t[cur].punkte < threshold && kept > n) {
      move(cur, nxt, g);
    } else {
      g.lastKept = cur;
      ++kept;
      if (t[cur].punkte > g.maximum && kept <= n) g.maximum = t[cur].punkte;
      threshold = kept <= n ? g.maximum : t[cur].punkte;
      prev = cur;
    }
    cur = nxt;
  }
}

TEST(PointsCorrection, AgreesWithTheEntryByEntryWalkOnRandomRaces) {
  std::mt19937 random(20250118);
  for (int race = 0; race < 300; ++race) {
    const int size = 1 + static_cast<int>(random() % 120);
    const int groupCount = 1 + static_cast<int>(random() % 6);
    const int topCount = static_cast<int>(random() % 6);
    std::vector<Row> rows;
    int group = 0;
    for (int i = 0; i < size; ++i) {
      // Mostly ascending groups, sometimes a return to an earlier one.
      if (random() % 10 == 0)
        group = static_cast<int>(random() % groupCount);
      else if (random() % 15 == 0)
        group = std::min(group + 1, groupCount - 1);
      const double points = random() % 4 == 0 ? 9999.99 : static_cast<double>(random() % 60);
      rows.push_back({QStringLiteral("G%1").arg(group), points,
                      random() % 8 == 0 ? QStringLiteral("2012") : QStringLiteral("2010")});
    }
    StartOrderTable actual = Run1Table(rows);
    StartOrderTable expected = Run1Table(rows);
    CorrectStartOrderByPoints(actual, topCount, kSeason);
    ReferenceCorrection(expected, topCount, 2012);
    ASSERT_EQ(BibsInOrder(actual), BibsInOrder(expected)) << "race " << race;
    ASSERT_EQ(MovedBibs(actual), MovedBibs(expected)) << "race " << race;
  }
}

// ---------------------------------------------------------------------------------------

struct Result {
  QString group;
  QString zeit;
};

StartOrderTable Run2Table(const std::vector<Result>& rows) {
  StartOrderTable table;
  table.reset(static_cast<int>(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    StartOrderEntry& e = table[static_cast<int>(i) + 1];
    e.startnr = QString::number(i + 1);
    e.klasse = rows[i].group;
    e.zeit = rows[i].zeit;
  }
  return table;
}

QStringList TimesInOrder(const StartOrderTable& table) {
  QStringList result;
  for (int i : table.order()) result << table[i].zeit;
  return result;
}

TEST(Reversal, TheRacersTiedWithTheLastPlaceJoinTheBlock) {
  StartOrderTable t = Run2Table({{"A", "50,00"},
                                 {"A", "51,00"},
                                 {"A", "52,00"},
                                 {"A", "53,00"},
                                 {"A", "54,00"},
                                 {"A", "54,00"},
                                 {"A", "55,00"},
                                 {"A", "56,00"}});
  ReverseLeadingFinishers(t, 5);
  EXPECT_EQ(TimesInOrder(t),
            (QStringList{"54,00", "54,00", "53,00", "52,00", "51,00", "50,00", "55,00", "56,00"}));
  EXPECT_EQ(BibsInOrder(t), (QStringList{"6", "5", "4", "3", "2", "1", "7", "8"}));

  // A tie at the first place is no block of one to extend.
  StartOrderTable first = Run2Table({{"A", "50,00"}, {"A", "50,00"}, {"A", "51,00"}});
  ReverseLeadingFinishers(first, 1);
  EXPECT_EQ(BibsInOrder(first), (QStringList{"1", "2", "3"}));

  // A tie behind the limit changes nothing.
  StartOrderTable behind =
      Run2Table({{"A", "50,00"}, {"A", "51,00"}, {"A", "52,00"}, {"A", "52,00"}});
  ReverseLeadingFinishers(behind, 2);
  EXPECT_EQ(BibsInOrder(behind), (QStringList{"2", "1", "3", "4"}));
}

TEST(Reversal, EveryGroupIsReversedAndLinkedBehindThePreviousGroupsLastStarter) {
  // Group A is reversed whole: its last starter is its first loaded entry, and group B's
  // block must follow that entry, not the one loaded before B.
  StartOrderTable t = Run2Table({{"A", "40,00"},
                                 {"A", "41,00"},
                                 {"A", "42,00"},
                                 {"B", "30,00"},
                                 {"B", "31,00"},
                                 {"B", "32,00"},
                                 {"C", "20,00"},
                                 {"C", "21,00"}});
  ReverseLeadingFinishers(t, 30);
  EXPECT_EQ(BibsInOrder(t), (QStringList{"3", "2", "1", "6", "5", "4", "8", "7"}));
  EXPECT_EQ(t.head().next, 3);
  EXPECT_EQ(t[1].next, 6);
  EXPECT_EQ(t[4].next, 8);
  EXPECT_EQ(t[7].next, 9);
}

TEST(Reversal, NonFinishersStayAtTheEndOfTheirGroup) {
  StartOrderTable t = Run2Table({{"A", "40,00"},
                                 {"A", "41,00"},
                                 {"A", "NiZ  "},
                                 {"A", "Dis  "},
                                 {"B", "30,00"},
                                 {"B", "---  "}});
  ReverseLeadingFinishers(t, 30);
  EXPECT_EQ(BibsInOrder(t), (QStringList{"2", "1", "3", "4", "5", "6"}));
}

TEST(Reversal, ARowWithoutTimeAtTheTopOfItsGroupTakesNoPlaceInTheBlock) {
  StartOrderTable t = Run2Table({{"A", "---  "}, {"A", "40,00"}, {"A", "41,00"}, {"A", "42,00"}});
  ReverseLeadingFinishers(t, 2);
  EXPECT_EQ(BibsInOrder(t), (QStringList{"1", "3", "2", "4"}));
}

// ---------------------------------------------------------------------------------------

TEST(RunTimeText, MinutesOnlyFromOneMinuteOn) {
  EXPECT_EQ(RunTimeText(512), "05,12");
  EXPECT_EQ(RunTimeText(6543), "1:05,43");
  EXPECT_EQ(RunTimeText(72000), "12:00,00");
}

TEST(RunTimeText, StoredTimesPrintAsTheHundredthsTheyStandFor) {
  EXPECT_EQ(RunTimeText(5999.999999), "1:00,00");
  EXPECT_EQ(RunTimeText(5998.9999996), "59,99");
  EXPECT_EQ(RunTimeText(949.9999999), "09,50");
  EXPECT_EQ(RunTimeText(11998.99999), "1:59,99");
  // Every time up to four minutes, stored as a fraction of a day and read back.
  for (qint64 h = 0; h <= 24000; ++h) {
    const double day = static_cast<double>(h) / 8640000.0;
    const QString text = RunTimeText(day * 8640000.0);
    const qint64 m = h / 6000;
    const qint64 r = h % 6000;
    const QString expected =
        (m > 0 ? QString::number(m) + ":" : QString()) + QStringLiteral("%1,%2")
                                                             .arg(r / 100, 2, 10, QLatin1Char('0'))
                                                             .arg(r % 100, 2, 10, QLatin1Char('0'));
    ASSERT_EQ(text, expected) << h;
  }
}

}  // namespace
}  // namespace kx
