// Stored run times that cannot be a run (a text, an infinite value, one far beyond any run,
// one of 0 hundredths or less) read as no time by every list, ranking and export: the racer
// is treated exactly like a racer without a time, and nobody else moves. A total needs every
// run of the discipline.

#include "admin/finals.h"
#include "certificates/certificaterows.h"
#include "common/sharedtables.h"
#include "common/timetext.h"
#include "livetiming/livefiles.h"
#include "officials/penaltyprotocol.h"
#include "refereereport/reportprefill.h"
#include "results/isflist.h"
#include "results/postinglist.h"
#include "results/racepoints.h"
#include "results/resultlist.h"
#include "results/teamlist.h"
#include "startorder/startorder.h"
#include "tests/results/resultsfixture.h"

#include <limits>

namespace kx::test {
namespace {

constexpr int kDamaged = 4;  // the racer whose stored time is spoilt

class StoredTimesTest : public ResultsTest {
 protected:
  void SetUp() override {
    db::CompetitionSpec race = EmptyRace();
    race.disziplinen[0].durchgaenge = 1;
    race.grpMannschaften = {{1, "Erste", 1}};
    race.mannschaften = {{1, "T1", 1, 1}, {2, "T2", 2, 1}};
    const struct {
      const char* name;
      int team;
      double time;
    } racers[] = {{"Ast", 1, 4000},
                  {"Berg", 2, 4050},
                  {"Czech", 1, 4100},
                  {"Damm", 2, 3900},
                  {"Eder", 2, 6000}};
    int id = 0;
    for (const auto& r : racers) {
      AddRacer(race, ++id, "M", 2, r.name).mannschaft = r.team;
      AddRun(race, id, 1, r.time);
    }
    open(race);
    source_ = state.db().path();
    state.ProgramDir = dir_.path();
    state.RunCount = state.RunsWithTimes = 1;
  }

  void spoil(const QVariant& netto) {
    state.db().execute("update tblZeit set netto=? where teilnehmer=?", {netto, kDamaged});
  }

  static QStringList pdfText(const QString& path) {
    const PdfReader pdf(path);
    QStringList lines;
    for (int page = 1; page <= pdf.pageCount(); ++page) lines << pdf.lineTexts(page);
    return lines;
  }
  QStringList column(const QString& name) {
    QStringList out{name};
    const db::Recordset rs = state.db().query("select " + name + " from tblTeilnehmer order by id");
    for (int i = 0; i < rs.count(); ++i) out << QString::number(rs.at(i, 0).toDouble(), 'f', 2);
    return out;
  }

  // What every list, ranking and export makes of the file, as texts.
  QStringList everything() {
    QStringList out;
    ResultListRequest request;
    request.run = request.runCount = 1;
    const ResultListModel model = ComputeResultList(ReadRaceData(state.db(), 2, "gs"), request);
    out << QString("result list complete %1").arg(model.complete);
    for (const RankedRow& row : model.ranked) out << row.rank + row.name + FormatRunTime(row.time);
    ui.clear();
    WriteResultList(state, {"Gesamtliste", "keine Unterteilung", false, false});
    out << ui.messageTexts();

    for (const TeamEntry& team : ComputeTeamRanking(state, {"keine Unterteilung", 2, 0, 0}).teams) {
      out << team.teamName + " " + QString::number(team.total);
      for (const TeamMember& m : team.members) out << QString::number(m.id);
    }
    const QString pdf = outputPath("list.pdf");
    ui.chooseSaveFile(pdf);
    WriteTeamList(state, {"Mannschaftswertung", {"keine Unterteilung", 2, 0, 0}, false});
    out << pdfText(pdf);
    ui.chooseSaveFile(pdf);
    WritePostingList(state, {"Klasse", "Kinder männlich", false, false});
    out << pdfText(pdf);
    ui.chooseSaveFile(pdf);
    WriteIsfList(state, {true, false});
    out << pdfText(pdf);

    const SelectedDisciplines gs{false, false, true, false, false, false};
    ComputeRacePoints(state, gs, RacePointsMethod::Factor, RacePointsDivision::None);
    out << column("rpktegs");
    StoreRunTimes(state, gs);
    out << column("rpktegs");

    for (int typ : {4, 6}) {
      const int count = 5;
      for (const CertificateRow& c : ReadCertificateRows(
               state.db(), SelectIndividualCertificates(2, "gs", 0, count, typ, {}), {}))
        out << c.place + " " + c.nachname + " " + c.time;
    }

    out << TimesFileContent(state.db(), 2, 1, 0);

    const PenaltyData penalty = ReadPenaltyData(state, 1);
    out << penalty.groups[1].name + " " + QString::number(penalty.groups[1].penalty);
    for (const PenaltyRow& row : penalty.listed[1]) out << row.bib;
    // The penalty times taken over (the question answered Ja), then the times as they were.
    state.db().execute("create temp table kept as select * from tblZeit");
    ui.clear();
    ui.chooseSaveFile(pdf);
    ResultLine line;
    WritePenaltyProtocol(state, true, false, line);
    out << ui.messageTexts() << pdfText(pdf)
        << state.db()
               .scalar(
                   "select group_concat(teilnehmer||' '||cast(round(netto*8640000) as int)) "
                   "from tblZeit where teilnehmer<>4")
               .toString();
    state.db().execute("delete from tblZeit");
    state.db().execute("insert into tblZeit select * from kept");
    state.db().execute("drop table kept");

    BuildStartOrderRun2(state, "keine Unterteilung", 3, false, 999, "....", false);
    for (const int i : state.StartOrder.order())
      out << state.StartOrder[i].startnr + " " + state.StartOrder[i].zeit;

    ReportValues report = DefaultReportValues();
    PrefillRefereeReport(state.db(), {2, "gs", 1}, report);
    out << report[kDG1Bestzeit];

    db::CompetitionSpec empty = EmptyRace();
    const QString finals = outputPath("finale.mdb");
    db::BuildCompetitionFile(finals, empty);
    auto target = db::Connection::open(finals);
    CreateFinalsTable(*target);
    AddFinalsFile(*target, source_, {2, "gs"}, true);
    const db::Recordset drawn = target->query("select startnr,zeit from XtblFinale order by zeit");
    for (int i = 0; i < drawn.count(); ++i)
      out << drawn.at(i, 0).toString() + " " + drawn.at(i, 1).toString();
    return out;
  }

  QString source_;
};

TEST_F(StoredTimesTest, ATimeThatCannotBeARunIsNoTimeEverywhere) {
  // The reference: Damm's valid result without a time.
  spoil(QVariant());
  const QStringList reference = everything();
  // It is the right reference: Damm has no place, value or time anywhere, the others keep
  // theirs. The result list waits for his result.
  EXPECT_TRUE(reference.contains("result list complete 0"));
  EXPECT_TRUE(reference.contains("T2 2050"));  // Berg 50 + Eder 2000 behind Ast
  EXPECT_TRUE(reference.contains("4 Damm, Vorname 2012 SC Verein4"));  // posting list
  const qsizetype points = reference.indexOf("rpktegs");
  ASSERT_GE(points, 0);
  EXPECT_EQ(reference.mid(points, 6),
            QStringList({"rpktegs", "0.00", "7.50", "15.00", "9999.99", "300.00"}));
  EXPECT_EQ(reference.mid(points + 6, 6),
            QStringList({"rpktegs", "40.00", "40.50", "41.00", "9999.99", "60.00"}));
  EXPECT_EQ(reference.mid(points + 12, 4),
            QStringList({"1 Ast 0:40,00", "2 Berg 0:40,50", "3 Czech 0:41,00", "4 Eder 1:00,00"}));
  EXPECT_TRUE(reference.contains("0010000040,00°0020000040,50°0030000041,00°0050000100,00°"));
  EXPECT_TRUE(reference.contains("Ast Vorname 5200"));  // the penalty time from Ast's 40,00
  EXPECT_TRUE(reference.contains(
      "Wollen Sie wirklich die Penalty-Zeiten in die Bewerbsdatei übernehmen?\r\n\r\n1 M: "
      "beste Zeit 0:40,00, Penalty-Zeit 0:52,00, 1 Laufzeit wird ersetzt\r\n\r\nAchtung: "
      "Diese Aktion kann nicht rückgängig gemacht werden!"));
  EXPECT_TRUE(reference.contains("1 4000,2 4050,3 4100,5 5200"));  // only Eder's replaced
  // The run-2 order, the referee report's best time and the finalists.
  EXPECT_EQ(reference.mid(reference.size() - 10),
            QStringList({"4 ---  ", "3 41,00", "2 40,50", "1 40,00", "5 1:00,00", "40,00", "1 4000",
                         "2 4050", "3 4100", "5 6000"}));

  const struct {
    const char* label;
    QVariant netto;
  } absurd[] = {
      {"NaN as text", QString("NaN")},
      {"+infinity", std::numeric_limits<double>::infinity()},
      {"-infinity", -std::numeric_limits<double>::infinity()},
      {"1e300 days", 1e300},
      {"100 hours", db::HundredthsToDay(36000000)},
      {"a text that is no number", QString("1:02,5")},
      {"a number behind a non-breaking space", QStringLiteral("\u00a00.0003")},
      {"0", 0.0},
      {"0.001 s", 0.001 / 86400},
      {"0.004 s", 0.004 / 86400},
      {"-1 s", -1.0 / 86400},
      {"-1 day", -1.0},
      {"1e-300", 1e-300},
  };
  for (const auto& value : absurd) {
    spoil(value.netto);
    ASSERT_FALSE(state.db().scalar("select netto from tblZeit where teilnehmer=4").isNull());
    EXPECT_EQ(everything(), reference) << value.label;
  }
  // Just below 100 hours and 0.006 s (0,01) are still run times: Damm completes the list.
  spoil(db::HundredthsToDay(35999999));
  EXPECT_TRUE(everything().contains("result list complete 1"));
  spoil(0.006 / 86400);
  EXPECT_TRUE(everything().contains("result list complete 1"));
}

// Run 2 not complete: Czech has no run-2 row, Damm's run 2 has no time. Neither has a
// total: no certificate, no best time for the team ranking, no team list line, no final.
TEST_F(StoredTimesTest, ATotalNeedsEveryRunOfTheDiscipline) {
  db::CompetitionSpec race = EmptyRace();
  race.mannschaften = {{1, "T1", 1, std::nullopt}};
  const struct {
    const char* name;
    double run1, run2;
  } racers[] = {{"Ast", 4000, 4050}, {"Berg", 4050, 4050}, {"Czech", 3900, -1}, {"Damm", 3950, 0}};
  int id = 0;
  for (const auto& r : racers) {
    AddRacer(race, ++id, "M", 2, r.name).mannschaft = 1;
    AddRun(race, id, 1, r.run1);
    if (r.run2 >= 0) AddRun(race, id, 2, r.run2);
  }
  AddRun(race, 1, 3, 3000);  // left over from a third run the race no longer has
  open(race);
  source_ = state.db().path();
  state.db().execute("update tblZeit set netto=null where teilnehmer=4 and durchgang=2");

  const QStringList out = everything();
  const qsizetype certificates = out.indexOf("1 Ast 1:20,50");
  ASSERT_GE(certificates, 0);
  EXPECT_EQ(out.mid(certificates, 4),  // the sum, then the best run (types 6, 7, 12)
            QStringList({"1 Ast 1:20,50", "2 Berg 1:21,00", "1 Ast 0:40,00", "2 Berg 0:40,50"}));
  // The team's two members measured from Ast's 80,50, in the ranking and on the team list.
  const qsizetype team = out.indexOf("T1 50");
  ASSERT_GE(team, 0);
  EXPECT_EQ(out.mid(team, 3), QStringList({"T1 50", "1", "2"}));
  const qsizetype list = out.indexOf("1. T1 0,50");
  ASSERT_GE(list, 0);
  EXPECT_EQ(out.mid(list + 1, 2), QStringList({"1 Ast Vorname 12 AUT SC Verein1 1:20,50 0,00",
                                               "2 Berg Vorname 12 AUT SC Verein2 1:21,00 0,50"}));
  // Run 1's best time in the referee report, then the finalists.
  EXPECT_EQ(out.mid(out.size() - 3), QStringList({"39,00", "1 8050", "2 8100"}));
}

}  // namespace
}  // namespace kx::test
