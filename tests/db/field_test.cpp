// Values of a row as the program prints and reads them.
#include "db/database.h"
#include "db/storedtime.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx::db {
namespace {

class FieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_ = Connection::create(dir_.filePath("f.mdb"));
    db_->execute("create table t (b bit, d datetime, n long, x double, s varchar(20), dt date)");
  }
  Recordset row(const QString& values) {
    db_->execute("delete from t");
    db_->execute("insert into t values (" + values + ")");
    return db_->query("select * from t");
  }
  QTemporaryDir dir_;
  std::unique_ptr<Connection> db_;
};

TEST_F(FieldTest, TextsAsTheProgramPrintsThem) {
  Recordset rs = row("true, '2025-01-18', 42, 2, 'Huber', '2024-12-31 14:05:00'");
  EXPECT_EQ(rs["b"].toString(), "True");
  EXPECT_EQ(rs["d"].toString(), "18.01.2025");
  EXPECT_EQ(rs["n"].toString(), "42");
  EXPECT_EQ(rs["x"].toString(), "2");  // a whole REAL without decimals
  EXPECT_EQ(rs["s"].toString(), "Huber");
  EXPECT_EQ(rs["dt"].toString(), "31.12.2024 14:05:00");

  rs = row("false, Null, -7, 9999.99, '', Null");
  EXPECT_EQ(rs["b"].toString(), "False");
  EXPECT_EQ(rs["d"].toString(), "");
  EXPECT_EQ(rs["n"].toString(), "-7");
  EXPECT_EQ(rs["x"].toString(), "9999,99");  // decimals in the German form
  EXPECT_EQ(rs["s"].toString(), "");
  EXPECT_FALSE(rs["s"].isNull());
  EXPECT_TRUE(rs["d"].isNull());

  rs = row("Null, 'kein Datum', Null, Null, Null, Null");
  EXPECT_EQ(rs["b"].toString(), "");
  EXPECT_EQ(rs["d"].toString(), "kein Datum");
  EXPECT_EQ(rs["x"].toString(), "");

  // An expression has no declared type: a Boolean result is then a number.
  EXPECT_EQ(db_->scalar("select b from t where 1 = 0").toString(), "");
  EXPECT_EQ(db_->scalar("select 1 = 1").toString(), "1");
  EXPECT_EQ(db_->scalar("select 5.0 * 2").toString(), "10");
}

TEST_F(FieldTest, RepeatedTextsAreTheTextsOfTheirValues) {
  db_->execute("delete from t");
  for (const char* values : {"true, '2025-01-18', 42, 2, 'Huber', Null",
                             "false, Null, 42, 2.5, 'Öhler', '2024-12-31 14:05:00'",
                             "true, '2025-01-18', 7, 2, 'huber', Null",
                             "Null, 'x', '42', Null, 42, Null", "true, Null, 7, 2, 'Huber', Null"})
    db_->execute(QStringLiteral("insert into t values (") + values + ")");
  RowReader row(*db_, "select b, d, n, x, s, dt, s || '' from t");
  int rows = 0;
  while (row.next()) {
    ++rows;
    for (int c = 0; c < 7; ++c) EXPECT_EQ(row.repeatedText(c), row.text(c)) << rows << '/' << c;
  }
  EXPECT_EQ(rows, 5);
}

TEST_F(FieldTest, NumbersFromEveryKindOfValue) {
  Recordset rs = row("true, Null, 42, 2.5, '12', Null");
  EXPECT_EQ(rs["x"].toInt(), 2);  // halves to the even neighbour
  EXPECT_DOUBLE_EQ(rs["x"].toDouble(), 2.5);
  EXPECT_EQ(rs["s"].toInt(), 12);
  EXPECT_EQ(rs["b"].toInt(), 1);
  EXPECT_TRUE(rs["b"].toBool());
  EXPECT_EQ(rs["d"].toInt(), 0);
  EXPECT_FALSE(rs["d"].toBool());
  EXPECT_EQ(rs["n"].toLongLong(), 42);

  rs = row("false, Null, Null, 3.5, 'abc', Null");
  EXPECT_EQ(rs["x"].toInt(), 4);
  EXPECT_EQ(rs["s"].toInt(), 0);
  EXPECT_FALSE(rs["b"].toBool());
  EXPECT_EQ(rs["n"].toInt(), 0);

  // A run time stored as a fraction of a day comes back as whole hundredths.
  db_->execute("delete from t");
  db_->execute("insert into t (x) values (?)", {6235 / 8640000.0});
  EXPECT_EQ(db_->scalar("select x*8640000 from t").toInt(), 6235);
  EXPECT_EQ(db_->scalar("select x from t").toString(), "0,000721643518518518");

  EXPECT_EQ(Field(QVariant("1e30"), false, false).toInt(), std::numeric_limits<int>::max());
  EXPECT_TRUE(Field(QVariant("True"), true, false).toBool());
  EXPECT_EQ(Field(QVariant("-1"), true, false).toString(), "True");
}

// A stored run time is one check, read as a field and through laufzeit and laufzeitsumme:
// a positive number of hundredths under 100 hours, else no time.
TEST_F(FieldTest, OnlyAPositiveStoredTimeUnderHundredHoursIsARunTime) {
  const struct {
    QVariant netto;
    std::optional<int> hundredths;
  } cases[] = {{4000 / 8640000.0, 4000},  {0.006 / 86400, 1},
               {0.004 / 86400, {}},       {0.0, {}},
               {-1.0 / 86400, {}},        {1e-300, {}},
               {QVariant(), {}},          {"1:02,5", {}},
               {"\u00a00.0003", {}},      {35999999 / 8640000.0, 35999999},
               {36000000 / 8640000.0, {}}};
  const auto whole = [](std::optional<double> h) {
    return h ? std::optional<int>(std::lround(*h)) : std::nullopt;
  };
  for (const auto& c : cases) {
    db_->execute("delete from t");
    db_->execute("insert into t (n, x) values (1, ?), (1, ?)", {c.netto, 1 / 8640000.0});
    const Recordset rs = db_->query("select x, laufzeit(x) as z from t order by rowid");
    const Field z = rs.at(0, "z");
    SCOPED_TRACE(c.netto.toString().toStdString());
    EXPECT_EQ(whole(StoredRunHundredths(rs.at(0, "x"))), c.hundredths);
    EXPECT_EQ(whole(z.isNull() ? std::nullopt : std::optional(z.toDouble())), c.hundredths);
    EXPECT_EQ(db_->scalar("select laufzeitsumme(x) from t group by n").isNull(), !c.hundredths);
  }
}

TEST_F(FieldTest, CursorReading) {
  db_->execute("delete from t");
  for (int i = 1; i <= 3; ++i) db_->execute("insert into t (n) values (?)", {i});
  Recordset rs = db_->query("select n from t order by n desc");
  EXPECT_EQ(rs.count(), 3);
  QStringList seen;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) seen << rs["N"].toString();
  EXPECT_EQ(seen, QStringList({"3", "2", "1"}));
  EXPECT_THROW(rs[0], Error);  // past the last row
}

}  // namespace
}  // namespace kx::db
