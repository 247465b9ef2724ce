// A stored result code that is none of 0-3 keeps the racer out of the lists as before, but
// never without a word: each output that leaves him out names him first.

#include "admin/finals.h"
#include "certificates/certificateoutput.h"
#include "livetiming/livefiles.h"
#include "officials/penaltyprotocol.h"
#include "results/participantdata.h"
#include "results/resultlist.h"
#include "results/teamlist.h"
#include "startorder/boardlistdg2.h"
#include "startorder/startlistdg2.h"
#include "tests/results/resultsfixture.h"

#include <functional>
#include <utility>

namespace kx::test {
namespace {

const QString kHead = QStringLiteral(
    "Folgende Teilnehmer haben einen unbekannten Ergebniscode und werden nicht ausgegeben (%1):\n"
    "St-Nr 4 Damm Vorname, Riesenslalom, %2. Lauf, Code ");

class UnknownCodesTest : public ResultsTest {
 protected:
  void SetUp() override {
    db::CompetitionSpec race = EmptyRace();
    const char* names[] = {"Ast", "Berg", "Czech", "Damm", "Eder"};
    for (int id = 1; id <= 5; ++id) {
      AddRacer(race, id, "M", 2, names[id - 1]);
      for (int run : {1, 2}) AddRun(race, id, run, 4000 + id * 10);
    }
    open(race);
  }
  void write(int run, const QVariant& code, const std::function<void()>& output) {
    state.db().execute("update tblZeit set ergcode=? where teilnehmer=4 and durchgang=?",
                       {code, run});
    ui.clear();
    ui.chooseSaveFile(outputPath("liste.pdf"));
    output();
  }
};

TEST_F(UnknownCodesTest, EveryOutputThatLeavesHimOutNamesHimFirst) {
  // Through the result list, which stays as it was: Damm neither ranked nor counted.
  const auto list = [&] { WriteResultList(state, {"Gesamtliste", "keine Unterteilung"}); };
  for (const QVariant& code : {QVariant(4), QVariant(99), QVariant(-1), QVariant(2147483648.0),
                               QVariant(3.5), QVariant(1e300), QVariant(2.5), QVariant("x")}) {
    write(2, code, list);
    const QStringList lines = PdfReader(outputPath("liste.pdf")).lineTexts(1);
    EXPECT_TRUE(lines.contains("Gemeldete Teilnehmer: 4") && !lines.join(' ').contains("Damm"));
    // The code as the file holds it: "99", "2147483648", "3,5", "x".
    EXPECT_EQ(ui.messageTexts(), QStringList{kHead.arg("Ergebnisliste").arg(2) +
                                             db::Field(code, false, false).toString()});
  }
  write(2, QVariant(), list);  // no code at all: the list takes it as valid
  EXPECT_TRUE(ui.messages.isEmpty());
  // Where the best run counts, his valid run 1 ranks him: nobody left out, nobody named.
  const QString typ = std::exchange(state.Settings.typ, "12");
  write(2, 99, list);
  EXPECT_TRUE(PdfReader(outputPath("liste.pdf")).lineTexts(1).join(' ').contains("Damm"));
  EXPECT_TRUE(ui.messages.isEmpty());
  write(1, 99, list);
  EXPECT_EQ(ui.messageTexts().size(), 1);
  state.Settings.typ = typ;
  write(1, 0, [] {});
  write(2, QVariant(), [] {});

  CertificateRunOptions combination;
  combination.disciplines = {false, false, true, true, false, false};
  const TeamListOptions teams{"Mannschaftswertung", {"keine Unterteilung", 2, 0, 0}};
  const std::pair<QString, std::function<void()>> outputs[] = {
      {"Mannschaftsergebnisliste", [&] { WriteTeamList(state, teams); }},
      {"Urkunden", [&] { RunCertificateOutput(state, {}); }},
      {"Startliste 2. Durchgang", [&] { WriteStartListDG2(state, {}); }},
      {"Tafelliste 2. Durchgang", [&] { WriteBoardListDG2(state, {}); }},
      {"Teilnehmerdaten", [&] { WriteParticipantData(state, {combination.disciplines}); }},
      {"Urkunden", [&] {
         state.CurrentDisciplineType = 6;
         RunCertificateOutput(state, combination);
       }}};
  for (const auto& [output, run] : outputs) {
    write(1, 99, run);
    EXPECT_EQ(ui.messageTexts().count(kHead.arg(output).arg(1) + "99"), 1) << output.toStdString();
  }
  // A run-2 order that lists him (run-1 starters by class) has nobody to name.
  state.CurrentDisciplineType = 2;
  for (const QVariant& code : {QVariant(99), QVariant(0.4), QVariant(2.5)}) {
    write(1, code, [&] { WriteStartListDG2(state, {"Klasse", 0}); });
    EXPECT_TRUE(ui.messageTexts().filter("unbekannten").isEmpty());
    // Neither his run-1 time nor "NiZ": an unknown code is neither valid nor a failure.
    EXPECT_EQ(PdfReader(outputPath("liste.pdf")).lineTexts(1).filter("Damm").join('|'),
              "4 4 Damm Vorname 2012 AUT SC Verein4 ---")
        << code.toString().toStdString();
  }
  // The finals panel names those the file's racers leave out.
  db::BuildCompetitionFile(outputPath("finale.mdb"), EmptyRace());
  auto finals = db::Connection::open(outputPath("finale.mdb"));
  CreateFinalsTable(*finals);
  const auto added = AddFinalsFile(*finals, state.db().path(), {2, "gs"}, true).unknownCodes;
  EXPECT_TRUE(added.size() == 1 && added[0].id == 4);
}

// Nor is such a code a failure or a valid run where a code is read as a number: the penalty
// write-back would give him a valid penalty time, the live timing would show his run.
TEST_F(UnknownCodesTest, IsNeitherAFailureNorAValidRunToThePenaltyOrTheLiveTiming) {
  const auto set = [&](const QVariant& code) {
    state.db().execute("update tblZeit set ergcode=? where teilnehmer=4 and durchgang=2", {code});
  };
  // Damm's run 2 of 1:30,00 is beyond the penalty time of 52,13.
  state.db().execute("update tblZeit set netto=? where teilnehmer=4", {db::HundredthsToDay(9000)});
  set(QVariant());
  const QString live = TimesFileContent(state.db(), 2, 2, 0);
  for (const int code : {0, 2}) {
    set(code);
    EXPECT_EQ(ReadPenaltyData(state, 2).listedCount(), 1);
  }
  for (const QVariant& code :
       {QVariant(0.4), QVariant(2.5), QVariant(3.4), QVariant("x"), QVariant(99)}) {
    set(code);
    EXPECT_EQ(ReadPenaltyData(state, 2).listedCount(), 0) << code.toString().toStdString();
    EXPECT_EQ(TimesFileContent(state.db(), 2, 2, 0), live) << code.toString().toStdString();
  }
}

}  // namespace
}  // namespace kx::test
