// The lists and documents with data that does not fit their columns: long clubs and names
// (120 characters), a nation as long as its field and a class name longer than its field,
// huge bibs, a three-line event name with a long first line. Read back, no word may cover another
// or leave the page.

#include "certificates/certificateoutput.h"
#include "officials/refereeprotocol.h"
#include "results/isflist.h"
#include "results/postinglist.h"
#include "results/resultlist.h"
#include "results/teamlist.h"
#include "startorder/boardlist.h"
#include "startorder/boardlistdg2.h"
#include "startorder/depositlist.h"
#include "startorder/namelist.h"
#include "startorder/startlist.h"
#include "startorder/startlistdg2.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QDir>

#include <algorithm>

#include <functional>
#include <tuple>
#include <vector>

namespace kx::test {
namespace {

const QString kLongClub = "Schiclub Unterer Oberhinterbergmusterdorfer Talschaft e.V.";
const QString kClub120 = kLongClub + ", Sektion Alpiner Rennlauf, Nachwuchs und Jugend im Tal";
const QString kName120 =
    "Oberhinterbergmüller-Unterwieser-Lindenstrauch-Hochgatterer "
    "Maximiliane Theodora Josefine Anastasia Walburga Mechthildis";

const QString kWideNation = "WWWWWWWWWW";
const QString kLongClass = kLongClub + " " + kLongClub;

db::CompetitionSpec Crowded() {
  db::CompetitionSpec race = SmallCompetition();
  race.disziplinen[0].durchgaenge = 1;
  race.disziplinen[0].bewerbsbezeichnung =
      "Bezirkscup der Kinder und Schüler um den Großen Preis der Raiffeisenbank "
      "Musterdorf-Oberhinterberg\r\nGroßer Preis von Musterdorf\r\nGedenkrennen";
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
  race.teilnehmer[0].nachname = kName120.section(' ', 0, 0);
  race.teilnehmer[0].vorname = kName120.section(' ', 1);
  race.teilnehmer[0].verein = kClub120;
  race.teilnehmer[1].nation = kWideNation;
  race.klassen[1].klname = kLongClass;
  // A team of three, and a disqualified racer with a long note.
  race.grpMannschaften = {{1, "Erste", 1}};
  race.mannschaften = {{1, kClub120, 1, 1}};
  for (int i = 0; i < 3; ++i) race.teilnehmer[static_cast<size_t>(i)].mannschaft = 1;
  race.zeiten[5] = {6, 2, 1, 3, 0.4, {}, {}, {}, kClub120};
  return race;
}

using OverprintTest = AppFixture;

// No two words cover each other, every word stays on its page, and the largest bib stays
// whole wherever a list prints bibs.
void ExpectClean(const QString& path, bool bibs) {
  const PdfReader pdf(path);
  ASSERT_TRUE(pdf.isValid()) << path.toStdString();
  KeepForLooking(path, "overprint-" + QFileInfo(path).fileName());
  if (bibs) {
    EXPECT_TRUE(pdf.findWord("2147483647")) << path.toStdString();
  }
  for (int p = 1; p <= pdf.pageCount(); ++p) {
    const QList<PdfWord>& words = pdf.wordsOnPage(p);
    for (qsizetype i = 0; i < words.size(); ++i) {
      const QRectF a = words[i].box.adjusted(1, 1, -1, -1);
      EXPECT_TRUE(QRectF(QPointF(0, 0), pdf.pageSize(p)).contains(a));
      for (qsizetype j = i + 1; j < words.size(); ++j) {
        EXPECT_FALSE(a.intersects(words[j].box.adjusted(1, 1, -1, -1)))
            << path.toStdString() << ": " << words[i].text.toStdString() << " over "
            << words[j].text.toStdString();
      }
    }
  }
}

// The wide nation stands in the list, cut with "…" in its column.
void ExpectCutNation(const QString& path) {
  const PdfReader pdf(path);
  const QList<PdfWord> words = pdf.words();
  EXPECT_TRUE(std::any_of(words.begin(), words.end(), [](const PdfWord& w) {
    return w.text.startsWith("WWW") && w.text.endsWith(QChar(0x2026));
  })) << path.toStdString();
  EXPECT_TRUE(pdf.findWords(kWideNation).isEmpty()) << path.toStdString();
}

TEST_F(OverprintTest, NoTextCoversAnotherInAnyList) {
  openThroughMenu(writeCompetition("Cup.mdb", Crowded()));
  ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  // Beyond what a whole number holds, right after the largest one (the gap marking).
  state().db().execute("update tblTeilnehmer set startnrgs = 2147483648 where id = 3");
  StartListDG2Options bibList;
  bibList.bibsOnly = true;
  StartListDG2Options byClass;
  byClass.grouping = "Nach Zeiten pro Klasse";
  const std::vector<std::tuple<const char*, bool, std::function<void()>>> lists = {
      {"start.pdf", true,
       [&] {
         WriteStartList(state(), {"keine Unterteilung", false, false});
       }},
      {"namen.pdf", false, [&] { WriteNameList(state(), {false}); }},
      {"tafel.pdf", true, [&] { WriteBoardList(state(), {}); }},
      {"kaution.pdf", false, [&] { WriteDepositList(state(), {false}); }},
      {"nummern.pdf", true, [&] { WriteStartListDG2(state(), bibList); }},
      {"start2.pdf", false, [&] { WriteStartListDG2(state(), {}); }},
      // Class headings.
      {"klassen.pdf", true,
       [&] {
         WriteStartList(state(), {"Klasse", false, false});
       }},
      {"klassen2.pdf", false, [&] { WriteStartListDG2(state(), byClass); }},
      {"tafelklassen.pdf", true, [&] { WriteBoardList(state(), {"Klasse"}); }}};
  for (const auto& [name, bibs, write] : lists) {
    const QString path = QDir(dataDir()).filePath(name);
    ui().chooseSaveFile(path);
    write();
    ExpectClean(path, bibs);
  }
  // The heading block stays above the list title.
  const PdfReader start(QDir(dataDir()).filePath("start.pdf"));
  EXPECT_LT(start.findWord("Gedenkrennen")->bottom(), start.findWord("STARTLISTE")->top());
  // The board list's heading keeps its one line: the discipline beside the cut event name.
  const PdfLine board = *PdfReader(QDir(dataDir()).filePath("tafel.pdf")).findLine("Bezirkscup");
  EXPECT_EQ(board.words.last().text, "Riesenslalom");
  const PdfLine deposit =
      *PdfReader(QDir(dataDir()).filePath("kaution.pdf")).findLine("Bezirkscup");
  EXPECT_TRUE(deposit.words.last().text.endsWith(QChar(0x2026)));
  for (const char* name : {"start.pdf", "namen.pdf", "start2.pdf"})
    ExpectCutNation(QDir(dataDir()).filePath(name));
  // The long class name ends with "…" within the name list's class column.
  const PdfLine classRow = *PdfReader(QDir(dataDir()).filePath("namen.pdf")).findLine("Öhler");
  EXPECT_TRUE(classRow.words.last().text.endsWith(QChar(0x2026)));
  EXPECT_LE(classRow.right(), 2005);

  // The result side, the referee protocol and a certificate, with plain bibs: the long
  // name and club are cut with "…".
  state().db().execute("update tblTeilnehmer set startnrgs = id");
  SaveTemplate(state().db(), 2, false,
               {{"<Vorname Name>", "Arial, fett, 24", "zentr.", "800", "1050"},
                {"<Verein>", "Arial, 12", "links", "1000", "300"}});
  const char* names[] = {"ergebnis.pdf", "team.pdf",    "isf.pdf",
                         "sr.pdf",       "urkunde.pdf", "aushang.pdf"};
  for (const char* name : names) ui().chooseSaveFile(QDir(dataDir()).filePath(name));
  WriteResultList(state(), {"1", "keine Unterteilung"});
  WriteTeamList(state(), {"Wertung", {"Klasse", 3, 0, 0}});
  WriteIsfList(state(), {true});
  ResultLine line;
  WriteRefereeProtocol(state(), false, line);
  RunCertificateOutput(state(), {});
  WritePostingList(state(), {"Klasse", kLongClass, false, false});
  for (const char* name : names) {
    ExpectClean(QDir(dataDir()).filePath(name), false);
    EXPECT_TRUE(PdfReader(QDir(dataDir()).filePath(name)).findLine(QString(QChar(0x2026)))) << name;
  }
  for (const char* name : {"ergebnis.pdf", "team.pdf", "isf.pdf"})
    ExpectCutNation(QDir(dataDir()).filePath(name));
}

}  // namespace
}  // namespace kx::test
