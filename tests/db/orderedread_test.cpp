// Orders sorted by the program against the same statements sorted by the database: equal
// keys, Nulls, whole numbers beside fractions, descending terms, and the keys left to the
// database.
#include "db/orderedread.h"

#include "db/database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <numeric>

namespace kx::db {
namespace {

class OrderedReadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = Connection::create(dir_.filePath("o.mdb"));
    db_->execute("create table k (id long not null, sortpos short, primary key(id))");
    db_->execute(
        "create table t (id long not null, bib short, klasse long, wert, misc, zeit double, "
        "primary key(id))");
    // Classes 20 and 40 share a place; class 50 has none.
    for (const auto& [id, sortpos] :
         {std::pair{10, QVariant(2)}, {20, 1}, {30, 3}, {40, 1}, {50, QVariant()}})
      db_->execute("insert into k values (?, ?)", {id, sortpos});
    struct Row {
      int id;
      QVariant bib, klasse, wert, zeit;
    };
    // Read in this order; equal keys abound (1 and 3; 2 and 5; 5 and 5.0 in `wert`).
    for (const Row& r :
         {Row{1, 7, 10, 5, 61.5}, Row{2, 3, 20, 5.0, QVariant()}, Row{3, 7, 10, 2, 61.5},
          Row{4, QVariant(), 30, -1, 59.99}, Row{5, 3, 40, 5, 61.5}, Row{6, 1, 50, QVariant(), 62},
          Row{7, 7, 10, 4.5, 0.0}, Row{8, 2, 20, 5, 61.5}})
      db_->execute("insert into t values (?, ?, ?, ?, ?, ?)",
                   {r.id, r.bib, r.klasse, r.wert, r.id, r.zeit});
  }

  QTemporaryDir dir_;
  std::unique_ptr<Connection> db_;
};

TEST_F(OrderedReadTest, GivesTheDatabasesOrderTiesIncluded) {
  const QString columns = "select t.id,t.bib,t.wert,t.misc ";
  const QString from = "from t,k where t.klasse=k.id ";
  struct Case {
    const char* orderBy;
    bool sortedHere;  // false: the database sorts
  };
  for (const Case& c :
       {Case{"k.sortpos,2", true}, Case{"k.sortpos,2 desc", true}, Case{"2 desc,k.sortpos", true},
        Case{"3,k.sortpos DESC", true}, Case{"t.zeit desc,2", true}, Case{"k.sortpos,t.id", true},
        Case{"4 desc", true}, Case{"bib", false}, Case{"1 desc", false}}) {
    SCOPED_TRACE(c.orderBy);
    std::vector<int> expected;
    RowReader sorted(*db_, columns + from + "order by " + c.orderBy);
    while (sorted.next()) expected.push_back(sorted.toInt(0));

    std::vector<int> read;
    int discarded = 0;
    const std::vector<int> order = ReadInOrder(
        *db_, columns, from, c.orderBy, [&](const RowReader& row) { read.push_back(row.toInt(0)); },
        [&] {
          read.clear();
          ++discarded;
        });
    std::vector<int> ids;
    for (const int i : order) ids.push_back(read.at(static_cast<size_t>(i)));
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(discarded, 0);
    std::vector<int> counting(order.size());
    std::iota(counting.begin(), counting.end(), 0);
    EXPECT_EQ(order != counting, c.sortedHere);
  }
}

TEST_F(OrderedReadTest, TextsAndHugeNumbersAreLeftToTheDatabase) {
  for (const QVariant& odd : {QVariant("x"), QVariant(qint64(1) << 60)}) {
    db_->execute("update t set misc = ? where id = 5", {odd});
    std::vector<int> read;
    int discarded = 0;
    const std::vector<int> order = ReadInOrder(
        *db_, "select t.id,t.misc ", "from t,k where t.klasse=k.id ", "2 desc",
        [&](const RowReader& row) { read.push_back(row.toInt(0)); },
        [&] {
          read.clear();
          ++discarded;
        });
    EXPECT_EQ(discarded, 1);
    ASSERT_EQ(read.size(), 8u);
    EXPECT_EQ(read.front(), 5);  // the database's order, the odd value first
    std::vector<int> counting(order.size());
    std::iota(counting.begin(), counting.end(), 0);
    EXPECT_EQ(order, counting);
  }
}

}  // namespace
}  // namespace kx::db
