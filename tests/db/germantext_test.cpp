// German order and comparison of names, in code and inside the database.
#include "db/germantext.h"
#include "db/database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace kx::db {
namespace {

int Sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(CompareGerman, UmlautsSortBesideTheirBaseLetters) {
  QStringList names{"Ott", "Öhler", "Huber", "de Boer", "Ohler", "Abel"};
  std::sort(names.begin(), names.end(),
            [](const QString& a, const QString& b) { return CompareGerman(a, b) < 0; });
  EXPECT_EQ(names, QStringList({"Abel", "de Boer", "Huber", "Ohler", "Öhler", "Ott"}));

  EXPECT_EQ(CompareGerman("ÖHLER", "öhler"), 0);
  EXPECT_EQ(CompareGerman("HUBER", "huber"), 0);
  EXPECT_LT(CompareGerman("Ohler", "Öhler"), 0);
  EXPECT_LT(CompareGerman("Öhler", "Ohlerer"), 0);  // the first level decides first
  EXPECT_LT(CompareGerman("Müller", "Mullner"), 0);
  EXPECT_LT(CompareGerman("Strasse", "Straße"), 0);
  EXPECT_LT(CompareGerman("Straße", "Strassen"), 0);
  EXPECT_LT(CompareGerman("Huber", "Huberth"), 0);
  EXPECT_GT(CompareGerman("b", "Ä"), 0);
  EXPECT_EQ(CompareGerman("", ""), 0);
  EXPECT_LT(CompareGerman("", "a"), 0);
}

// Two names alike but for two accents, in opposite directions: the first accent decides,
// in code and in the database alike.
TEST(CompareGerman, TheFirstAccentDifferenceDecides) {
  EXPECT_GT(CompareGerman("René Muller", "Rene Müller"), 0);
  EXPECT_LT(CompareGerman("Rene Müller", "René Muller"), 0);
  EXPECT_GT(CompareGermanUtf8("René Muller", "Rene Müller"), 0);
}

TEST(CompareGerman, DatabaseCollationAgreesWithCode) {
  const QStringList samples{"Abel",    "abel",   "Äbel",    "Zöhrer",   "ZOEHRER", "Weiss",
                            "Weiß",    "WEISS",  "Ärmelin", "Armelin",  "de Boer", "De Boer",
                            "O'Brien", "Obrien", "1860",    "tsv 1860", "René",    "Rene",
                            "",        "Ω-Team", "éa",      "eb",       "ẞ",       "ss"};
  for (const QString& a : samples) {
    for (const QString& b : samples) {
      EXPECT_EQ(Sign(CompareGerman(a, b)), Sign(CompareGermanUtf8(a.toUtf8(), b.toUtf8())))
          << a.toStdString() << " / " << b.toStdString();
      EXPECT_EQ(Sign(CompareGerman(a, b)), -Sign(CompareGerman(b, a)));
    }
  }
}

TEST(CompareGerman, MalformedBytesDoNotBreakTheOrder) {
  const QByteArray bad("Hub\xC3", 4);
  EXPECT_NE(CompareGermanUtf8(bad, "Huber"), 0);
  EXPECT_EQ(CompareGermanUtf8(bad, bad), 0);
}

TEST(LikeGerman, Wildcards) {
  EXPECT_TRUE(LikeGerman("Müller", "MÜLLER"));
  EXPECT_TRUE(LikeGerman("Müller", "m_ller"));
  EXPECT_TRUE(LikeGerman("Müller", "%LL%"));
  EXPECT_TRUE(LikeGerman("", "%"));
  EXPECT_TRUE(LikeGerman("abcabd", "%abd"));
  EXPECT_TRUE(LikeGerman("aXbXc", "a%b%c"));
  EXPECT_FALSE(LikeGerman("Müller", "Muller"));
  EXPECT_FALSE(LikeGerman("Müller", "M_ller_"));
  EXPECT_FALSE(LikeGerman("abc", "ab"));
  EXPECT_TRUE(LikeGerman("a_b", "a!_b", U'!'));
  EXPECT_FALSE(LikeGerman("axb", "a!_b", U'!'));
  // A long text and many wildcards stay quick.
  EXPECT_FALSE(LikeGerman(QByteArray(20000, 'a'), "%a%a%a%a%a%a%a%b"));
}

TEST(GermanCollationInDatabase, OrderDistinctAndEquality) {
  QTemporaryDir dir;
  auto db = Connection::create(dir.filePath("c.mdb"));
  db->execute("create table t (name varchar(50), n long)");
  int n = 0;
  for (const char* name : {"Ott", "Öhler", "huber", "de Boer", "Ohler", "Abel", "HUBER", "Huber"})
    db->execute("insert into t values (?, ?)", {QString::fromUtf8(name), ++n});

  QStringList ordered;
  const Recordset rs = db->query("select distinct name from t order by 1");
  for (int i = 0; i < rs.count(); ++i) ordered << rs.at(i, 0).toString().toLower();
  EXPECT_EQ(ordered, QStringList({"abel", "de boer", "huber", "ohler", "öhler", "ott"}));

  EXPECT_EQ(db->scalar("select count(*) from t where name = 'ÖHLER'").toInt(), 1);
  EXPECT_EQ(db->scalar("select count(*) from t where name = 'huber'").toInt(), 3);
  EXPECT_EQ(db->scalar("select count(*) from (select name from t group by name)").toInt(), 6);
  // An index on the column follows the same order.
  db->execute("create index tn on t (name)");
  EXPECT_EQ(db->scalar("select n from t where name = 'öhler'").toInt(), 2);
}

}  // namespace
}  // namespace kx::db
