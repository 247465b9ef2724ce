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

namespace kx::test {
namespace {

const QString kLongClub = "Schiclub Unterer Oberhinterbergmusterdorfer Talschaft e.V.";

db::CompetitionSpec Crowded() {
  db::CompetitionSpec race = SmallCompetition();
  race.disziplinen[0].bewerbsbezeichnung =
      "Bezirkscup der Kinder und Schüler\r\nGroßer Preis von Musterdorf\r\nGedenkrennen";
  const int bibs[] = {2147483647, 99999, 12345, 4, 5, 6};
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
  race.teilnehmer[0].nachname = "Oberhinterbergmüller-Unterwieser-Lindenstrauch";
  race.teilnehmer[0].vorname = "Maximiliane Theodora";
  return race;
}

class OverprintTest : public AppFixture {
 protected:
  QString out(const QString& name) {
    const QString path = QDir(dataDir()).filePath(name);
    ui().chooseSaveFile(path);
    return path;
  }
  // No two words cover each other, and every word stays on its page.
  void expectClean(const QString& path) {
    PdfReader pdf(path);
    ASSERT_TRUE(pdf.isValid()) << path.toStdString();
    KeepForLooking(path, "overprint-" + QFileInfo(path).fileName());
    for (int p = 1; p <= pdf.pageCount(); ++p) {
      const QList<PdfWord>& words = pdf.wordsOnPage(p);
      const QSizeF page = pdf.pageSize(p);
      for (qsizetype i = 0; i < words.size(); ++i) {
        const QRectF a = words[i].box.adjusted(1, 1, -1, -1);
        EXPECT_TRUE(QRectF(QPointF(0, 0), page).contains(a)) << words[i].text.toStdString();
        for (qsizetype j = i + 1; j < words.size(); ++j) {
          EXPECT_FALSE(a.intersects(words[j].box.adjusted(1, 1, -1, -1)))
              << path.toStdString() << ": '" << words[i].text.toStdString() << "' over '"
              << words[j].text.toStdString() << "'";
        }
      }
    }
  }
};

TEST_F(OverprintTest, NoTextCoversAnotherInAnyList) {
  openThroughMenu(writeCompetition("Cup.mdb", Crowded()));
  ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();

  StartListOptions start;
  start.grouping = "Klasse";
  start.openAfterOutput = false;
  const QString startList = out("start.pdf");
  WriteStartList(state(), start);
  expectClean(startList);
  // The bib stays whole, and the heading stays above the list title.
  PdfReader pdf(startList);
  EXPECT_TRUE(pdf.findWord("2147483647"));
  EXPECT_LT(pdf.findWord("Gedenkrennen")->bottom(), pdf.findWord("STARTLISTE")->top());

  const QString names = out("namen.pdf");
  WriteNameList(state(), {false});
  expectClean(names);

  BoardListOptions board;
  board.openAfterOutput = false;
  const QString boardList = out("tafel.pdf");
  WriteBoardList(state(), board);
  expectClean(boardList);
  EXPECT_TRUE(PdfReader(boardList).findWord("2147483647"));

  const QString deposit = out("kaution.pdf");
  WriteDepositList(state(), {false});
  expectClean(deposit);

  StartListDG2Options bibs;
  bibs.bibsOnly = true;
  bibs.openAfterOutput = false;
  const QString bibList = out("nummern.pdf");
  WriteStartListDG2(state(), bibs);
  expectClean(bibList);
  EXPECT_TRUE(PdfReader(bibList).findWord("2147483647"));

  StartListDG2Options run2;
  run2.openAfterOutput = false;
  const QString run2List = out("start2.pdf");
  WriteStartListDG2(state(), run2);
  expectClean(run2List);
}

}  // namespace
}  // namespace kx::test
