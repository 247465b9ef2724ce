#include "startorder/namelist.h"

#include "common/appstate.h"
#include "db/database.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QTest>

#include <cmath>

namespace kx::test {
namespace {

// SmallCompetition without classes: the class column shows the sex words.
db::CompetitionSpec WithoutClasses() {
  db::CompetitionSpec race = SmallCompetition();
  race.klassen.clear();
  for (auto& t : race.teilnehmer) t.klasse.reset();
  return race;
}

// `count` participants entered in the giant slalom, named so that they sort by number.
db::CompetitionSpec ManyRacers(int count) {
  db::CompetitionSpec race = WithoutClasses();
  race.teilnehmer.clear();
  for (int i = 1; i <= count; ++i) {
    db::TeilnehmerSpec t;
    t.id = i;
    t.sex = i % 2 ? "W" : "M";
    t.nachname = QString("Racer%1").arg(i, 3, 10, QChar('0'));
    t.vorname = "Test";
    t.jahrgang = 2010;
    t.disziplinen[2] = {true, i, 9999.99, 9999.99};
    race.teilnehmer.push_back(t);
  }
  return race;
}

class NameListTest : public AppFixture {
 protected:
  QString competitionPath() { return QDir(dataDir()).filePath("Cup.mdb"); }
  void openCompetition(const db::CompetitionSpec& race) {
    openThroughMenu(writeCompetition("Cup.mdb", race));
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  }
  // Changes the competition file behind the open program (before an output).
  void execute(const QString& sql) { state().db().execute(sql); }
  QString outputPath() { return QDir(dataDir()).filePath("namen.pdf"); }
  void writeList(const QString& lookName) {
    trigger("BearbeitenNamensliste");
    ASSERT_EQ(window().currentPanel(), "Namensliste");
    ui().chooseSaveFile(outputPath());
    QTest::keyClick(window().findChild<QCheckBox*>("Namensliste_anzeigen"), Qt::Key_F2);
    if (QFileInfo::exists(outputPath())) KeepForLooking(outputPath(), lookName);
  }
  QLabel* result() { return window().findChild<QLabel*>("Namensliste_Meldung"); }
  // The texts of the rows (everything between the column heads and the foot).
  QStringList rows(const PdfReader& pdf, int page) {
    QStringList texts;
    for (const PdfLine& line : pdf.lines(page)) {
      if (line.top() > 500 && line.top() < 2600) texts << line.text();
    }
    return texts;
  }
};

TEST_F(NameListTest, PanelShowsTheEventAndClosesWithEsc) {
  openCompetition(SmallCompetition());
  trigger("BearbeitenNamensliste");
  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Namensliste");
  EXPECT_EQ(window().findChild<QLabel*>("NamenslisteBezVeranst")->text(), "Bezirkscup\r\nKinder");
  EXPECT_EQ(window().findChild<QLabel*>("NamenslisteDatumVeranst")->text(), "16.01.2027");
  EXPECT_TRUE(window().findChild<QCheckBox*>("Namensliste_anzeigen")->isChecked());
  for (const char* name : {"Label01", "Label02", "Namensliste_ausgeben", "Namensliste_schliessen"})
    EXPECT_TRUE(window().findChild<QWidget*>(name)) << name;
  EXPECT_EQ(result()->text(), " ");
  QTest::keyClick(&window(), Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_TRUE(window().frameTitel()->text().isEmpty());
}

TEST_F(NameListTest, SexModeListsEveryoneAlphabeticallyWithTheSexWords) {
  db::CompetitionSpec race = WithoutClasses();
  race.teilnehmer[3].sex = "D";  // de Boer: the older women's code
  race.teilnehmer[4].sex = "";   // Ott: no code at all
  race.teilnehmer[5].sex = "H";  // Maier
  openCompetition(race);
  writeList("namelist-sexes.pdf");
  EXPECT_EQ(result()->text(), "Namensliste gespeichert unter: " + outputPath());
  EXPECT_EQ(result()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  EXPECT_EQ(ui().saveRequests.value(0).fileName, "Cup-Namensliste-Riesenslalom.pdf");
  EXPECT_EQ(ui().viewerOpened, QStringList{outputPath()});

  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  EXPECT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.title(), "Namensliste Cup Riesenslalom");
  EXPECT_TRUE(pdf.findLine("NAMENSLISTE"));
  EXPECT_TRUE(pdf.findLine("erstellt mit Kandrix (Kandor Zusatzprogramm) - Version"));
  EXPECT_TRUE(pdf.findLine("Bewerbsnummer 1234, Seite 1"));
  // German order: "de Boer" among the B, "Öhler" beside O. The race number has neither M
  // nor B: "W" and "D" are Damen, every other code Herren.
  EXPECT_EQ(
      rows(pdf, 1),
      (QStringList{
          "3 Abel Clara 11 AUT SC Musterdorf Damen", "4 de Boer David 12 AUT SC Musterdorf Damen",
          "1 Huber Anna 15 AUT SC Musterdorf Damen", "6 Maier Fiona 13 AUT SC Musterdorf Herren",
          "2 Öhler Ben 14 AUT SC Musterdorf Herren", "5 Ott Emil 15 AUT SC Musterdorf Herren"}));
  auto abel = pdf.findWord("Abel");
  ASSERT_TRUE(abel);
  EXPECT_NEAR(abel->top(), 535, 2);
  EXPECT_NEAR(abel->left(), 330, 2);
  EXPECT_NEAR(pdf.findWord("Huber")->top(), 535 + 2 * 43, 2);
  EXPECT_FALSE(abel->bold());
  EXPECT_NEAR(abel->size, 9, 0.2);
}

TEST_F(NameListTest, RaceNumberLettersSwitchToGirlsAndBoys) {
  db::CompetitionSpec race = WithoutClasses();
  race.teilnehmer[3].sex = "D";
  openCompetition(race);
  trigger("DisziplinSL");  // the slalom's race number is "MB77"
  ASSERT_EQ(state().CurrentDisciplineCode, "sl");
  writeList("namelist-girls-boys.pdf");
  PdfReader pdf(outputPath());
  EXPECT_EQ(pdf.findLine("Abel")->words.last().text, "Mädchen");
  EXPECT_EQ(pdf.findLine("de Boer")->words.last().text, "Mädchen");
  EXPECT_EQ(pdf.findLine("Ott")->words.last().text, "Buben");
}

TEST(NameListSexWord, WomenAreWAndD) {
  EXPECT_EQ(NameListSexWord("W", ""), "Damen");
  EXPECT_EQ(NameListSexWord("D", "1234"), "Damen");
  EXPECT_EQ(NameListSexWord("M", ""), "Herren");
  EXPECT_EQ(NameListSexWord("H", ""), "Herren");
  EXPECT_EQ(NameListSexWord("", ""), "Herren");
  EXPECT_EQ(NameListSexWord("w", ""), "Herren");  // only the capital letter is a woman's code
  EXPECT_EQ(NameListSexWord("D", "M12"), "Mädchen");
  EXPECT_EQ(NameListSexWord("M", "M12"), "Herren");
  EXPECT_EQ(NameListSexWord("X", "xB"), "Buben");
  EXPECT_EQ(NameListSexWord("W", "mb"), "Damen");
}

TEST_F(NameListTest, ClassModeListsOnlyParticipantsWithAnExistingClass) {
  db::CompetitionSpec race = SmallCompetition();
  race.teilnehmer[0].klasse = 99;                     // Huber: a class that does not exist
  race.teilnehmer[1].disziplinen[2].startnr.reset();  // Öhler: no bib yet
  openCompetition(race);
  execute("update tblKlasse set klname = null where id = 4");  // de Boer's class
  writeList("namelist-classes.pdf");
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  EXPECT_EQ(rows(pdf, 1), (QStringList{"3 Abel Clara 11 AUT SC Musterdorf Schüler weiblich",
                                       "4 de Boer David 12 AUT SC Musterdorf",
                                       "6 Maier Fiona 13 AUT SC Musterdorf Schüler weiblich",
                                       "Öhler Ben 14 AUT SC Musterdorf Kinder männlich",
                                       "5 Ott Emil 15 AUT SC Musterdorf Kinder männlich"}));
  // Heads and columns of a regional competition with clubs: "VB" moves club and class.
  auto head = [&](const QString& text) { return pdf.findWord(text).value_or(PdfWord{}); };
  EXPECT_NEAR(head("Stnr").right(), 285, 2);
  EXPECT_NEAR(head("Stnr").top(), 450, 2);
  EXPECT_TRUE(head("Stnr").bold());
  EXPECT_NEAR(head("Teilnehmer").left(), 330, 2);
  EXPECT_NEAR(head("JG").right(), 835, 2);
  EXPECT_NEAR(head("VB").left(), 855, 2);
  EXPECT_NEAR(head("Verein").left(), 1015, 2);
  EXPECT_NEAR(head("Klasse").left(), 1445, 2);
  EXPECT_NEAR(pdf.findWord("Schüler")->left(), 1445, 2);
  EXPECT_NEAR(pdf.findWord("SC")->left(), 1015, 2);
  EXPECT_NEAR(pdf.findWord("6")->right(), 285, 2);
  EXPECT_NEAR(pdf.findWord("13")->right(), 835, 2);
}

TEST_F(NameListTest, OptionalColumnsMoveTheClassColumn) {
  struct Case {
    int typ;
    bool verein, nation, jahrgang;
    int classX;
    const char* nationHead;
  } cases[] = {{0, true, true, true, 1410, "NAT"},
               {4, false, true, true, 1015, "VB"},
               {1, false, true, false, 980, "NAT"},
               {4, false, false, true, 980, nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.classX);
    db::CompetitionSpec race = SmallCompetition();
    race.bewerb.typ = c.typ;
    race.bewerb.verein_aktiv = c.verein;
    race.bewerb.nation_aktiv = c.nation;
    race.bewerb.jahrgang_aktiv = c.jahrgang;
    race.teilnehmer[2].jahrgang.reset();  // Abel: no birth year
    race.teilnehmer[2].nation.reset();
    openCompetition(race);
    QFile::remove(outputPath());
    writeList(QString("namelist-columns-%1-%2.pdf").arg(c.typ).arg(c.classX));
    PdfReader pdf(outputPath());
    ASSERT_TRUE(pdf.isValid());
    EXPECT_NEAR(pdf.findWord("Klasse")->left(), c.classX, 2);
    EXPECT_NEAR(pdf.findWord("Schüler")->left(), c.classX, 2);
    EXPECT_EQ(pdf.findWord("Verein").has_value(), c.verein);
    EXPECT_EQ(pdf.findWord("SC").has_value(), c.verein);
    EXPECT_EQ(pdf.findWord("JG").has_value(), c.jahrgang);
    EXPECT_EQ(pdf.findWord("15").has_value(), c.jahrgang);
    if (c.nationHead) {
      EXPECT_NEAR(pdf.findWord(c.nationHead)->left(), 855, 2);
    } else {
      EXPECT_FALSE(pdf.findWord("VB") || pdf.findWord("NAT"));
    }
    EXPECT_EQ(pdf.findWord("AUT").has_value(), c.nation);
    // Without birth year and nation Abel's row holds bib, name and class only.
    EXPECT_EQ(pdf.findLine("Abel")->words.size(), c.verein ? 7 : 5);
    trigger("DateiSchliessen");
    ui().clear();
  }
}

TEST_F(NameListTest, FortyEightRowsToAPageOrFortyFiveAboveTheFooterBand) {
  for (const QString& band : {QString("0;0"), QString("1;12")}) {
    SCOPED_TRACE(band.toStdString());
    db::CompetitionSpec race = ManyRacers(100);
    race.listenkopf = {{2, 94, "Riesenslalom"}, {0, 92, band}};  // no logo3.bmp beside it
    openCompetition(race);
    QFile::remove(outputPath());
    writeList(band == "0;0" ? "namelist-pages.pdf" : "namelist-footerband.pdf");
    PdfReader pdf(outputPath());
    ASSERT_TRUE(pdf.isValid());
    const int perPage = band == "0;0" ? 48 : 45;
    EXPECT_EQ(pdf.pageCount(), (100 + perPage - 1) / perPage);
    const QStringList page1 = rows(pdf, 1);
    ASSERT_EQ(page1.size(), perPage);
    EXPECT_TRUE(page1.first().startsWith("1 Racer001"));
    EXPECT_TRUE(page1.last().startsWith(QString("%1 Racer").arg(perPage)));
    EXPECT_NEAR(pdf.findWord(QString("Racer%1").arg(perPage, 3, 10, QChar('0')))->top(),
                535 + (perPage - 1) * 43, 2);
    auto next = pdf.findWord(QString("Racer%1").arg(perPage + 1, 3, 10, QChar('0')));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->page, 2);
    EXPECT_NEAR(next->top(), 535, 2);
    EXPECT_TRUE(pdf.findLine("Seite 2", 2));
    EXPECT_TRUE(pdf.findLine("NAMENSLISTE", 2));
    trigger("DateiSchliessen");
    ui().clear();
  }
}

TEST_F(NameListTest, ALongNameIsDrawnSmallerAndLower) {
  db::CompetitionSpec race = WithoutClasses();
  race.teilnehmer[0].nachname = "Hohenzollern-Sigmaringen-Wittelsbach";
  race.teilnehmer[0].vorname = "Maximiliane";
  openCompetition(race);
  writeList("namelist-longname.pdf");
  PdfReader pdf(outputPath());
  auto longName = pdf.findWord("Maximiliane");
  auto surname = pdf.findWord("Hohenzollern-Sigmaringen-Wittelsbach");
  ASSERT_TRUE(longName && surname);
  EXPECT_LT(longName->size, 9);
  EXPECT_LT(longName->right() - surname->left(), 470);
  // Third row; two units lower for every point less.
  const int steps = static_cast<int>(std::lround(9 - longName->size));
  EXPECT_NEAR(longName->top(), 535 + 2 * 43 + 2 * steps, 2);
  EXPECT_NEAR(pdf.findWord("Damen")->top(), 535, 2);  // Abel's row keeps its size and place
}

TEST_F(NameListTest, AnEmptyDisciplineWritesNothing) {
  db::CompetitionSpec race = SmallCompetition();
  for (auto& t : race.teilnehmer) t.disziplinen[2].aktiv = false;
  openCompetition(race);
  writeList("namelist-empty.pdf");
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text, "Keine Daten gefunden!");
  EXPECT_EQ(ui().messages[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(ui().messages[0].title, "Achtung");
  EXPECT_EQ(result()->text(), " ");
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(outputPath()));
}

TEST_F(NameListTest, CancelAndAnUnwritableFile) {
  openCompetition(SmallCompetition());
  trigger("BearbeitenNamensliste");
  expectCancelAndUnwritableFile("Namensliste_Meldung", "Namensliste", outputPath(), false);
}

}  // namespace
}  // namespace kx::test
