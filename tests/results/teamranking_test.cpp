#include "results/teamranking.h"

#include "tests/results/resultsfixture.h"

namespace kx::test {
namespace {

class TeamRankingTest : public ResultsTest {
 protected:
  // Team `team` gets racers with these sexes and results (hundredths, run 1 only); ids
  // from `firstId`; names tell sex and order ("M1", "W1", ...).
  void addTeam(db::CompetitionSpec& race, int team, std::optional<int> group,
               const std::vector<std::pair<QString, double>>& racers) {
    race.mannschaften.push_back({team, QString("Team %1").arg(team), team, group});
    for (const auto& [name, time] : racers) {
      const int id = nextId_++;
      AddRacer(race, id, name.left(1), 2, name).mannschaft = team;
      AddRun(race, id, 1, time);
    }
  }
  QStringList members(const TeamEntry& t) {
    QStringList out;
    for (const TeamMember& m : t.members)
      out << state.db()
                 .scalar(QString("select nachname from tblTeilnehmer where id=%1").arg(m.id))
                 .toString();
    return out;
  }
  TeamRankingResult rank(int n, int women, int men,
                         const QString& grouping = "keine Unterteilung") {
    return ComputeTeamRanking(state, {grouping, n, women, men});
  }
  int nextId_ = 1;
};

TEST_F(TeamRankingTest, MinimumsPlaceTheirMembersWithoutDisplacingEachOther) {
  db::CompetitionSpec race = EmptyRace();
  race.disziplinen[0].durchgaenge = 1;
  addTeam(race, 1, std::nullopt, {{"M1", 4000}, {"M2", 4100}, {"M3", 4200}, {"W1", 4300}});
  addTeam(race, 2, std::nullopt, {{"M4", 4000}, {"M5", 4100}, {"M6", 4200}});
  addTeam(race, 3, std::nullopt, {{"W2", 4050}, {"M7", 4060}, {"W3", 4070}, {"M8", 4080}});
  addTeam(race, 4, std::nullopt, {{"M9", 4010}});
  AddRacer(race, 99, "M", 2, "Solo");  // no team, but the best of the discipline
  AddRun(race, 99, 1, 3990);
  open(race);

  TeamRankingResult r = rank(3, 1, 1);
  ASSERT_EQ(r.teams.size(), 2u);  // team 2 has no woman, team 4 is short
  EXPECT_EQ(members(r.teams[0]), QStringList({"W2", "M7", "W3"}));
  EXPECT_EQ(members(r.teams[1]), QStringList({"M1", "M2", "W1"}));
  EXPECT_EQ(r.teams[1].total, 10 + 110 + 310);
  EXPECT_EQ(r.teams[1].womenCounted, 1);

  r = rank(3, 2, 0);
  ASSERT_EQ(r.teams.size(), 1u);
  EXPECT_EQ(members(r.teams[0]), QStringList({"W2", "M7", "W3"}));
  EXPECT_EQ(r.teams[0].total, 60 + 70 + 80);

  // Two minimums in three slots: the men's member does not push out the woman.
  r = rank(2, 1, 1);
  ASSERT_EQ(r.teams.size(), 2u);
  EXPECT_EQ(members(r.teams[0]), QStringList({"W2", "M7"}));
  EXPECT_EQ(members(r.teams[1]), QStringList({"M1", "W1"}));
  // N 1 with both minimums can place only one of them: no team ranks.
  EXPECT_TRUE(rank(1, 1, 1).teams.empty());
  // Deficits are measured to the best racer of the discipline, in a team or not.
  r = rank(1, 0, 0);
  ASSERT_EQ(r.teams.size(), 4u);
  EXPECT_EQ(r.teams[0].total, 10);
}

// N 3 with two women and one man required and the women slowest: each woman takes the place
// of the slowest member placed without a minimum, never that of one placed for it.
TEST_F(TeamRankingTest, LateWomenDisplaceTheSlowestMembersWithoutAMinimum) {
  db::CompetitionSpec race = EmptyRace();
  race.disziplinen[0].durchgaenge = 1;
  addTeam(race, 1, std::nullopt,
          {{"M1", 4000}, {"M2", 4100}, {"M3", 4200}, {"W1", 4300}, {"W2", 4400}});
  open(race);
  const TeamRankingResult r = rank(3, 2, 1);
  ASSERT_EQ(r.teams.size(), 1u);
  EXPECT_EQ(members(r.teams[0]), QStringList({"M1", "W1", "W2"}));
  EXPECT_EQ(r.teams[0].total, 0 + 300 + 400);
}

TEST_F(TeamRankingTest, BestRunAgainstSumAndGroupsById) {
  db::CompetitionSpec race = EmptyRace();
  race.grpMannschaften = {{2, "Zweite", 1}, {1, "Erste", 2}};
  addTeam(race, 1, 2, {{"M1", 4000}, {"M2", 4500}});
  addTeam(race, 2, 1, {{"M3", 4200}, {"M4", 4300}});
  addTeam(race, 3, 1, {{"M5", 4100}, {"M6", 4150}});
  AddRun(race, 1, 2, 0, 2);  // M1 out in run 2
  AddRun(race, 2, 2, 4000);
  for (int id = 3; id <= 6; ++id) AddRun(race, id, 2, 4000);
  open(race);

  TeamRankingResult r = rank(1, 0, 0);  // sum: M1 has no result
  ASSERT_EQ(r.teams.size(), 3u);
  EXPECT_EQ(r.teams[0].groupName, "Erste");
  EXPECT_EQ(members(r.teams[0]), QStringList({"M5"}));
  EXPECT_EQ(members(r.teams[1]), QStringList({"M3"}));
  EXPECT_EQ(r.teams[2].groupId, 2);
  EXPECT_EQ(members(r.teams[2]), QStringList({"M2"}));
  EXPECT_EQ(r.teams[2].total, 8500 - 8100);

  state.Settings.typ = "6";  // best run: M1 counts with his run 1
  r = rank(1, 0, 0);
  ASSERT_EQ(r.teams.size(), 3u);
  EXPECT_EQ(members(r.teams[2]), QStringList({"M1"}));
  EXPECT_EQ(r.teams[2].total, 0);

  // A team without its group while groups exist: refused with the message.
  state.db().execute("update tblMannschaft set gruppe=null where id=3");
  r = rank(1, 0, 0);
  EXPECT_TRUE(r.refused);
  EXPECT_TRUE(r.teams.empty());
  EXPECT_EQ(ui.messageTexts(), QStringList(kTeamsWithoutGroup));
}

TEST(TeamRankingSettings, RefusesMinimumsAboveTheCountWithTheFieldNames) {
  ScriptedUi ui;
  EXPECT_TRUE(CheckTeamRankingSettings(ui, {"Klasse", 3, 1, 1}));
  EXPECT_FALSE(CheckTeamRankingSettings(ui, {"Klasse", 1, 1, 1}));
  EXPECT_FALSE(CheckTeamRankingSettings(ui, {"Klasse", 6, 0, 0}));
  ASSERT_EQ(ui.messages.size(), 2);
  EXPECT_TRUE(ui.messages[0].text.contains("Mindestanzahl weiblich"));
  EXPECT_TRUE(ui.messages[1].text.contains("zu wertende Teilnehmer"));
}

}  // namespace
}  // namespace kx::test
