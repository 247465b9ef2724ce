// The result-side lists with a 120-character name, club, team and note: read back, no word
// covers another or leaves the page, and the long texts are there, cut with "…".

#include "results/isflist.h"
#include "results/postinglist.h"
#include "results/resultlist.h"
#include "results/teamlist.h"
#include "tests/results/resultsfixture.h"

#include <functional>
#include <utility>
#include <vector>

namespace kx::test {
namespace {

using ResultOverprintTest = ResultsTest;

TEST_F(ResultOverprintTest, LongTextsStayInTheirColumnsInEveryList) {
  db::CompetitionSpec race = EmptyRace();
  race.grpMannschaften = {{1, kLongVerein, 1}};
  race.mannschaften = {{1, kLongVerein, 1, 1}};
  // One team of four: three finish both runs, the fourth is disqualified in run 1.
  for (int id = 1; id <= 4; ++id) {
    db::TeilnehmerSpec& t = AddRacer(race, id, id == 3 ? "W" : "M", 2,
                                     id % 3 == 1 ? kLongNachname : QStringLiteral("Kurz"),
                                     id % 3 == 1 ? kLongVorname : QStringLiteral("Vorname"));
    t.mannschaft = 1;
    if (id % 3 == 1) t.verein = kLongVerein;
    if (id == 4) {
      AddRun(race, id, 1, 0, 3);
      race.zeiten.back().disqualtext = kLongVerein;
    } else {
      AddRun(race, id, 1, 4000 + 100 * id);
      AddRun(race, id, 2, 4100 + 100 * id);
    }
  }
  open(race);
  const std::vector<std::pair<QString, std::function<void()>>> lists = {
      {"gesamt.pdf",
       [&] {
         WriteResultList(state, {"Gesamtliste", "Klasse"});
       }},
      {"lauf1.pdf",
       [&] {
         WriteResultList(state, {"1", "keine Unterteilung"});
       }},
      {"aushang.pdf",
       [&] {
         WritePostingList(state, {"Klasse", "Kinder männlich"});
       }},
      {"aushang-quer.pdf",
       [&] {
         WritePostingList(state, {"Klasse", "Kinder männlich", true});
       }},
      {"mannschaft.pdf",
       [&] {
         TeamListOptions options;
         options.ranking = {"Klasse", 3, 0, 0};
         WriteTeamList(state, options);
       }},
      {"isf.pdf", [&] { WriteIsfList(state, {true}); }}};
  for (const auto& [name, write] : lists) {
    ui.chooseSaveFile(outputPath(name));
    write();
    KeepForLooking(outputPath(name), "overprint-" + name);
    ExpectNoOverprint(outputPath(name));
    const QList<PdfWord> words = PdfReader(outputPath(name)).words();
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& w) {
      return w.text.startsWith("Oberhinterberg");
    })) << name.toStdString();
    EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& w) {
      return w.text.endsWith(QChar(0x2026));
    })) << name.toStdString();
  }
}

}  // namespace
}  // namespace kx::test
