#include "results/racepoints.h"

#include "tests/results/resultsfixture.h"
#include "tests/support/faults.h"

#include <QFile>

namespace kx::test {
namespace {

class RacePointsTest : public ResultsTest {
 protected:
  void SetUp() override {
    db::CompetitionSpec race = EmptyRace();
    race.disziplinen[0].durchgaenge = 1;  // one run: each racer's run is his whole result
    // Slalom entries too, whose column must stay as it is.
    const double times[] = {5000, 5100, 5100, 5200, 4900};
    const char* sexes[] = {"M", "M", "M", "W", "W"};
    for (int i = 0; i < 5; ++i) {
      AddRacer(race, i + 1, sexes[i], 2, QString("R%1").arg(i + 1)).disziplinen[3] = {true, i + 1,
                                                                                      9999.99, 7.5};
      AddRun(race, i + 1, 1, times[i]);
    }
    AddRacer(race, 6, "M", 2, "Aus");
    AddRun(race, 6, 1, 0, 2);
    open(race);
    state.ProgramDir = dir_.path();
  }
  QStringList column(const QString& name) {
    QStringList out;
    const db::Recordset rs = state.db().query("select " + name + " from tblTeilnehmer order by id");
    for (int i = 0; i < rs.count(); ++i) out << QString::number(rs.at(i, 0).toDouble(), 'f', 2);
    return out;
  }
  void writeIni(const QByteArray& text) {
    QFile ini(dir_.filePath("Kandor.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(text);
  }
  SelectedDisciplines gs{false, false, true, false, false, false};
};

TEST_F(RacePointsTest, FactorFormulaPerCategoryWomenFirst) {
  // Without a settings file F is 600: 2 % behind the leader gives 12.00.
  ASSERT_TRUE(ComputeRacePoints(state, gs, RacePointsMethod::Factor, RacePointsDivision::None));
  EXPECT_EQ(column("rpktegs"),
            QStringList({"12.24", "24.49", "24.49", "36.73", "0.00", "9999.99"}));
  writeIni("[FVAL]\r\nD2=1000\r\n");
  ASSERT_TRUE(ComputeRacePoints(state, gs, RacePointsMethod::Factor, RacePointsDivision::Category));
  EXPECT_EQ(column("rpktegs"), QStringList({"0.00", "20.00", "20.00", "61.22", "0.00", "9999.99"}));
  EXPECT_EQ(column("rpktesl"), QStringList({"7.50", "7.50", "7.50", "7.50", "7.50", "9999.99"}));
  writeIni("[FVAL]\r\nD2=99999\r\n");
  EXPECT_EQ(RacePointsFactor(state.ProgramDir, 2), 600);
}

TEST_F(RacePointsTest, BestRunTypesValueEachRacerByHisFastestRun) {
  state.Settings.typ = "7";
  // Two runs. R1 is fastest with 48.00 s in run 2; R6, out in run 1, counts with 50.00 s of
  // run 2; the others keep their run 1.
  state.db().execute("update tblDisziplin set durchgaenge=2 where dtyp=2");
  state.db().execute(
      "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode,netto) "
      "values (1,2,2,0,4800/8640000.0),(6,2,2,0,5000/8640000.0),(2,2,2,0,6000/8640000.0),"
      "(3,2,2,0,6000/8640000.0),(4,2,2,0,6000/8640000.0),(5,2,2,0,6000/8640000.0)");
  ASSERT_TRUE(ComputeRacePoints(state, gs, RacePointsMethod::Factor, RacePointsDivision::None));
  // 600 x 4900 / 4800 - 600 = 12.50 for R5, 25.00 for R6.
  EXPECT_EQ(column("rpktegs"), QStringList({"0.00", "37.50", "37.50", "50.00", "12.50", "25.00"}));
}

TEST_F(RacePointsTest, ARacerWithoutHisSecondRunGetsNoValueDuringTheRace) {
  // Two runs; R5, fastest in run 1, has not had his second run yet.
  state.db().execute("update tblDisziplin set durchgaenge=2 where dtyp=2");
  state.db().execute(
      "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode,netto) "
      "values (1,2,2,0,5000/8640000.0),(2,2,2,0,5000/8640000.0),(3,2,2,0,5000/8640000.0),"
      "(4,2,2,0,5000/8640000.0)");
  ASSERT_TRUE(ComputeRacePoints(state, gs, RacePointsMethod::Factor, RacePointsDivision::None));
  EXPECT_EQ(column("rpktegs"),
            QStringList({"0.00", "6.00", "6.00", "12.00", "9999.99", "9999.99"}));
  StoreRunTimes(state, gs);
  EXPECT_EQ(column("rpktegs"),
            QStringList({"100.00", "101.00", "101.00", "102.00", "9999.99", "9999.99"}));
  state.Settings.typ = "7";  // the best run too waits for the second
  StoreRunTimes(state, gs);
  EXPECT_EQ(column("rpktegs"),
            QStringList({"50.00", "50.00", "50.00", "50.00", "9999.99", "9999.99"}));
}

TEST_F(RacePointsTest, ARunTimeOfZeroTakesNoPosition) {
  state.db().execute("update tblZeit set netto=0 where teilnehmer=2");
  ASSERT_TRUE(ComputeRacePoints(state, gs, RacePointsMethod::Factor, RacePointsDivision::None));
  // R5's 49.00 s stays the reference; R2 keeps "no points".
  EXPECT_EQ(column("rpktegs"),
            QStringList({"12.24", "9999.99", "24.49", "36.73", "0.00", "9999.99"}));
}

TEST_F(RacePointsTest, PointsTableGivesConsecutivePositionsAndZeroBeyondIt) {
  ASSERT_FALSE(
      ComputeRacePoints(state, gs, RacePointsMethod::PointsTable, RacePointsDivision::None));
  EXPECT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(column("rpktegs")[0], "9999.99");

  db::MasterDataSpec master;
  master.punkte = {{1, 100}, {2, 80}, {3, 60.5}, {4, 50}};
  db::BuildMasterDataFile(dir_.filePath("STAMMDAT.mdb"), master);
  {
    const HeldFile held(dir_.filePath("STAMMDAT.mdb"));
    ASSERT_FALSE(
        ComputeRacePoints(state, gs, RacePointsMethod::PointsTable, RacePointsDivision::None));
    EXPECT_EQ(ui.messages.last().text, "Die Datei '" + dir_.filePath("STAMMDAT.mdb") +
                                           "' wird gerade von einem anderen Programm "
                                           "verwendet.\nBitte später nochmals versuchen.");
  }
  ASSERT_TRUE(
      ComputeRacePoints(state, gs, RacePointsMethod::PointsTable, RacePointsDivision::None));
  // Equal times take positions 3 and 4; position 5 lies beyond the table.
  EXPECT_EQ(column("rpktegs"),
            QStringList({"80.00", "60.00", "50.00", "0.00", "100.00", "9999.99"}));
}

TEST_F(RacePointsTest, RunTimesAndAFailingUpdateLeaveEverythingAsItWas) {
  StoreRunTimes(state, gs);
  EXPECT_EQ(column("rpktegs"),
            QStringList({"50.00", "51.00", "51.00", "52.00", "49.00", "9999.99"}));
  state.db().execute(
      "create trigger refuse before update on tblTeilnehmer when new.id=5 and new.rpktegs<100 "
      "begin select raise(abort,'refused'); end");
  state.db().execute("update tblZeit set netto=netto*2 where teilnehmer<5");
  EXPECT_THROW(ComputeRacePoints(state, gs, RacePointsMethod::Factor, RacePointsDivision::None),
               db::Error);
  EXPECT_EQ(column("rpktegs"),
            QStringList({"50.00", "51.00", "51.00", "52.00", "49.00", "9999.99"}));
}

}  // namespace
}  // namespace kx::test
