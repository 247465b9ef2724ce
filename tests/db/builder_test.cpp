// The competition files that tests and the demo are built from, read back.
#include "db/competitionbuilder.h"
#include "db/database.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx::db {
namespace {

class BuilderTest : public ::testing::Test {
 protected:
  QString file(const QString& name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

TEST_F(BuilderTest, DemoCompetitionReadsBack) {
  const CompetitionSpec spec = DemoCompetition();
  BuildCompetitionFile(file("demo.mdb"), spec);
  auto db = Connection::open(file("demo.mdb"));
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(),
            static_cast<int>(spec.teilnehmer.size()));
  EXPECT_EQ(db->scalar("select count(*) from tblZeit").toInt(),
            static_cast<int>(spec.zeiten.size()));
  EXPECT_EQ(db->scalar("select count(*) from tblDisziplinTypen").toInt(), 6);
  EXPECT_EQ(db->scalar("select count(*) from tblDisziplin where aktiv = true").toInt(), 2);
}

}  // namespace
}  // namespace kx::db

namespace kx::db {
namespace {

TEST_F(BuilderTest, LargeCompetitionOfFiveThousandBuilds) {
  const CompetitionSpec spec = LargeCompetition(5000);
  BuildCompetitionFile(file("large.mdb"), spec);
  auto db = Connection::open(file("large.mdb"));
  EXPECT_EQ(db->scalar("select count(*) from tblTeilnehmer").toInt(), 5000);
  EXPECT_EQ(db->scalar("select max(startnrgs) from tblTeilnehmer").toInt(),
            db->scalar("select count(*) from tblTeilnehmer where gsaktiv = true").toInt());
}

}  // namespace
}  // namespace kx::db
