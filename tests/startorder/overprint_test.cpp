// The lists with data that does not fit their columns: long clubs and names, huge bibs and
// a three-line event name. Read back, no word may cover another or leave the page.

#include "startorder/boardlist.h"
#include "startorder/boardlistdg2.h"
#include "startorder/depositlist.h"
#include "startorder/namelist.h"
#include "startorder/startlist.h"
#include "startorder/startlistdg2.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QDir>

#include <functional>
#include <tuple>
#include <vector>

namespace kx::test {
namespace {

const QString kLongClub = "Schiclub Unterer Oberhinterbergmusterdorfer Talschaft e.V.";

db::CompetitionSpec Crowded() {
  db::CompetitionSpec race = SmallCompetition();
  race.disziplinen[0].bewerbsbezeichnung =
      "Bezirkscup der Kinder und Schüler\r\nGroßer Preis von Musterdorf\r\nGedenkrennen";
  const int bibs[] = {2147483647, 99999, 12345, 4, 5, 6};  // 12345 becomes 2147483648
  for (size_t i = 0; i < race.teilnehmer.size(); ++i) {
    db::TeilnehmerSpec& t = race.teilnehmer[i];
    t.disziplinen[2].startnr = bibs[i];
    t.verein = kLongClub.left(40 + static_cast<int>(i) * 3);
    db::ZeitSpec z;
    z.teilnehmer = t.id;
    z.netto = db::HundredthsToDay(4000 + static_cast<qint64>(i) * 10);
    z.start = 0.4;
    race.zeiten.push_back(z);
  }
  race.teilnehmer[0].nachname = kLongNachname;
  race.teilnehmer[0].vorname = kLongVorname;
  race.teilnehmer[0].verein = kLongVerein;
  return race;
}

using OverprintTest = AppFixture;

// No two words cover each other, every word stays on its page, and the largest bib stays
// whole wherever a list prints bibs.
void ExpectClean(const QString& path, bool bibs) {
  KeepForLooking(path, "overprint-" + QFileInfo(path).fileName());
  ExpectNoOverprint(path);
  if (bibs) {
    EXPECT_TRUE(PdfReader(path).findWord("2147483647")) << path.toStdString();
  }
}

TEST_F(OverprintTest, NoTextCoversAnotherInAnyList) {
  openThroughMenu(writeCompetition("Cup.mdb", Crowded()));
  ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  // Beyond what a whole number holds, right after the largest one (the gap marking).
  state().db().execute("update tblTeilnehmer set startnrgs = 2147483648 where id = 3");
  StartListDG2Options bibList;
  bibList.bibsOnly = true;
  const std::vector<std::tuple<const char*, bool, std::function<void()>>> lists = {
      {"start.pdf", true,
       [&] {
         WriteStartList(state(), {"keine Unterteilung", false, false});
       }},
      {"namen.pdf", false, [&] { WriteNameList(state(), {false}); }},
      {"tafel.pdf", true, [&] { WriteBoardList(state(), {}); }},
      {"kaution.pdf", false, [&] { WriteDepositList(state(), {false}); }},
      {"nummern.pdf", true, [&] { WriteStartListDG2(state(), bibList); }},
      {"start2.pdf", false, [&] { WriteStartListDG2(state(), {}); }}};
  for (const auto& [name, bibs, write] : lists) {
    const QString path = QDir(dataDir()).filePath(name);
    ui().chooseSaveFile(path);
    write();
    ExpectClean(path, bibs);
  }
  // The heading block stays above the list title.
  const PdfReader start(QDir(dataDir()).filePath("start.pdf"));
  EXPECT_LT(start.findWord("Gedenkrennen")->bottom(), start.findWord("STARTLISTE")->top());
}

}  // namespace
}  // namespace kx::test
