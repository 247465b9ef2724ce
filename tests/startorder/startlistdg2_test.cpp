// The start list of run 2 and its bib-list form, written through the panel and read back.

#include "startorder/startlistdg2.h"

#include "lists/listpanelsupport.h"
#include "startorder/boardlistdg2.h"
#include "tests/startorder/startorderfixture.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <map>

namespace kx::test {
namespace {

// The small competition with run-1 results in the giant slalom: four finishers, a racer
// who did not finish, one disqualified and one who did not start.
db::CompetitionSpec SmallWithResults() {
  db::CompetitionSpec race = SmallCompetition();
  db::TeilnehmerSpec absent = race.teilnehmer[0];
  absent.id = 7;
  absent.nachname = "Zach";
  absent.vorname = "Gerda";
  absent.disziplinen[2].startnr = 7;
  race.teilnehmer.push_back(absent);
  race.zeiten = {Run1(1, 0, 5000), Run1(2, 0, 6543), Run1(3, 2, -1), Run1(4, 0, 4512),
                 Run1(5, 0, 5999), Run1(6, 3, 5100), Run1(7, 1, -1)};
  return race;
}

// Finishers of run 1 in classes of the given sizes (type 9), bibs from 1 in class order.
db::CompetitionSpec Classes(const std::vector<int>& sizes) {
  db::CompetitionSpec race;
  race.bewerb.typ = 9;
  race.disziplinen.push_back(
      {2, true, QString(), "Vereinsrennen", QDate(2027, 2, 6), std::nullopt, 2});
  race.listenkopf = {{2, 94, "Riesenslalom"}};
  race.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
  int id = 0;
  for (size_t k = 0; k < sizes.size(); ++k) {
    const int klasse = static_cast<int>(k) + 1;
    race.klassen.push_back(
        {klasse, QString("Klasse %1").arg(klasse), "W", 2010, std::nullopt, klasse});
    for (int n = 0; n < sizes[k]; ++n) {
      ++id;
      race.teilnehmer.push_back(Racer(id, "W", klasse, id));
      race.zeiten.push_back(Run1(id, 0, 4000 + id * 7));
    }
  }
  return race;
}

QStringList Items(const QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

// A row of the start list as read back: the running number right at 275, then the bib.
struct Row {
  int page;
  PdfLine line;
  QString number() const { return line.words[0].text; }
  QString bib() const { return line.words[1].text; }
};

std::vector<Row> StartListRows(const PdfReader& pdf) {
  std::vector<Row> rows;
  for (int p = 1; p <= pdf.pageCount(); ++p) {
    for (const PdfLine& line : pdf.lines(p)) {
      if (line.words.size() >= 3 && std::abs(line.words[0].right() - 275) < 3 && line.top() > 500 &&
          line.top() < 2600) {
        rows.push_back({p, line});
      }
    }
  }
  return rows;
}

class StartListDG2Test : public AppFixture {
 protected:
  void openCompetition(const db::CompetitionSpec& race, const QString& file = "Cup.mdb") {
    openThroughMenu(writeCompetition(file, race));
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  }
  QString outputPath(const QString& name = "liste.pdf") { return QDir(dataDir()).filePath(name); }

  void openPanel() {
    trigger("BearbeitenStartlisteDG2");
    ASSERT_EQ(window().currentPanel(), "StartListeDG2");
  }
  QComboBox* combo() { return window().findChild<QComboBox*>("StartGruppeDG2"); }
  QLineEdit* reverseBox() { return window().findChild<QLineEdit*>("StartListeDG2umkehren"); }
  QLineEdit* maxBox() { return window().findChild<QLineEdit*>("StartListeDG2maxAnz"); }
  QCheckBox* box(const char* name) { return window().findChild<QCheckBox*>(name); }
  QLabel* resultLabel() { return window().findChild<QLabel*>("StartListeDG2_Meldung"); }

  // Opens the panel, sets the choices and writes the list with F2 into `outputPath()`.
  void writeList(const QString& grouping, const QString& reverse = "30",
                 const QString& maximum = QString(), bool append = false, bool bibsOnly = false) {
    openPanel();
    if (!grouping.isEmpty()) combo()->setCurrentIndex(combo()->findText(grouping));
    reverseBox()->setText(reverse);
    maxBox()->setText(maximum);
    box("StartListeDG2_mitallen")->setChecked(append);
    box("StartListeDG2_nurStnr")->setChecked(bibsOnly);
    ui().chooseSaveFile(outputPath());
    QTest::keyClick(combo(), Qt::Key_F2);
  }

  // The order that the run-2 build left in the table: bibs, and the running number each
  // racer gets within his group.
  QStringList tableBibs() {
    QStringList bibs;
    for (int i : state().StartOrder.order()) bibs << state().StartOrder[i].startnr;
    return bibs;
  }
  QStringList expectedNumbers() {
    QStringList numbers;
    QString group = "?";
    int n = 0;
    for (int i : state().StartOrder.order()) {
      const StartOrderEntry& e = state().StartOrder[i];
      if (e.klasse != group) n = 0;
      group = e.klasse;
      numbers << QString::number(++n);
    }
    return numbers;
  }
};

TEST_F(StartListDG2Test, PanelOffersTheGroupingsOfTheCompetitionType) {
  struct Case {
    int typ;
    bool classes;
    QStringList items;
    QString selected;
  };
  const std::vector<Case> cases = {
      {0, true, {"keine Unterteilung"}, "keine Unterteilung"},
      {1, true, {"keine Unterteilung"}, "keine Unterteilung"},
      {4, true, {"keine Unterteilung", "Klasse", "Gruppe", "Kategorie"}, "Kategorie"},
      {9, true, {"keine Unterteilung", "Klasse", "Gruppe", "Kategorie"}, "Klasse"},
      {4, false, {"keine Unterteilung", "Kategorie"}, "Kategorie"},
      {9, false, {"keine Unterteilung", "Kategorie"}, "Kategorie"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString("typ %1 classes %2").arg(c.typ).arg(c.classes).toStdString());
    db::CompetitionSpec race = SmallWithResults();
    race.bewerb.typ = c.typ;
    if (!c.classes) {
      for (auto& t : race.teilnehmer) t.klasse.reset();
    }
    openCompetition(race, QString("Cup%1%2.mdb").arg(c.typ).arg(c.classes));
    openPanel();
    EXPECT_EQ(Items(combo()), c.items);
    EXPECT_EQ(combo()->currentText(), c.selected);
  }

  EXPECT_EQ(window().frameTitel()->text(), "Ausgabe Startliste 2. Durchgang");
  EXPECT_EQ(window().findChild<QLabel*>("StartListeDG2BezVeranst")->text(), "Bezirkscup\r\nKinder");
  EXPECT_EQ(window().findChild<QLabel*>("StartListeDG2DatumVeranst")->text(), "16.01.2027");
  EXPECT_EQ(reverseBox()->text(), "30");
  EXPECT_EQ(maxBox()->text(), "");
  EXPECT_FALSE(box("StartListeDG2_mitallen")->isChecked());
  EXPECT_FALSE(box("StartListeDG2_nurStnr")->isChecked());
  EXPECT_TRUE(box("StartListeDG2_anzeigen")->isChecked());
  QTest::keyClick(combo(), Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_FALSE(window().findChild<QLabel*>("StartListeDG2_Meldung"));
}

TEST_F(StartListDG2Test, WritesTheStartListByCategoryWithAppendedNonFinishers) {
  openCompetition(SmallWithResults());
  writeList("Klasse", "30", "", true);
  EXPECT_EQ(resultLabel()->text(), "StartListeDG2 gespeichert unter: " + outputPath());
  EXPECT_EQ(resultLabel()->palette().color(QPalette::WindowText), QColor(0, 0, 0));
  ASSERT_EQ(ui().saveRequests.size(), 1);
  EXPECT_EQ(ui().saveRequests[0].fileName, "Cup-StartListeDG2-Riesenslalom.pdf");
  EXPECT_EQ(ui().viewerOpened, QStringList{outputPath()});

  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  KeepForLooking(outputPath(), "startlistdg2-small.pdf");
  EXPECT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.title(), "StartListeDG2 Cup Riesenslalom");
  const QStringList lines = pdf.lineTexts(1);
  EXPECT_TRUE(lines.contains("STARTLISTE 2. Durchgang")) << lines.join("\n").toStdString();
  EXPECT_TRUE(pdf.findLine("erstellt mit Dizezizar Ivezodovuzorov - Version"));

  // Heads.
  for (const auto& [text, right] : std::vector<std::pair<QString, int>>{{"Lfnr", 275},
                                                                        {"Stnr", 425},
                                                                        {"JG", 980},
                                                                        {"Zeit-1", 1730},
                                                                        {"Zeit-2", 1865},
                                                                        {"Total", 2005}}) {
    auto head = pdf.findWord(text);
    ASSERT_TRUE(head) << text.toStdString();
    EXPECT_NEAR(head->right(), right, 2) << text.toStdString();
    EXPECT_NEAR(head->top(), 450, 2);
    EXPECT_TRUE(head->bold());
  }
  EXPECT_NEAR(pdf.findWord("Teilnehmer")->left(), 475, 2);
  EXPECT_NEAR(pdf.findWord("VB")->left(), 1000, 2);
  EXPECT_NEAR(pdf.findWord("Verein")->left(), 1160, 2);

  // The box turns "Klasse" into the category order: finishers reversed, then the racers
  // without a valid run-1 time, the non-starter left out; numbers restart per category.
  auto damen = pdf.findWord("Damen");
  auto herren = pdf.findWord("Herren");
  ASSERT_TRUE(damen && herren);
  EXPECT_NEAR(damen->top(), 535, 2);
  EXPECT_NEAR(damen->left(), 475, 2);
  EXPECT_TRUE(damen->bold());
  const std::vector<Row> rows = StartListRows(pdf);
  QStringList texts;
  for (const Row& r : rows) texts << r.line.text();
  EXPECT_EQ(texts, (QStringList{"1 1 Huber Anna 2015 AUT SC Musterdorf 50,00",
                                "2 6 Maier Fiona 2013 AUT SC Musterdorf Dis",
                                "3 3 Abel Clara 2011 AUT SC Musterdorf NiZ",
                                "1 2 Öhler Ben 2014 AUT SC Musterdorf 1:05,43",
                                "2 5 Ott Emil 2015 AUT SC Musterdorf 59,99",
                                "3 4 de Boer David 2012 AUT SC Musterdorf 45,12"}));
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_NEAR(rows[0].line.top(), 535 + 53, 2);
  EXPECT_NEAR(rows[1].line.top() - rows[0].line.top(), 43, 2);
  EXPECT_NEAR(herren->top(), rows[2].line.top() + 43 + 30, 2);
  EXPECT_NEAR(rows[3].line.top(), herren->top() + 53, 2);
  EXPECT_NEAR(rows[0].line.words.last().right(), 1730, 2);
  EXPECT_NEAR(pdf.findWord("2015")->right(), 980, 2);
  EXPECT_NEAR(rows[0].line.words[1].right(), 425, 2);
  EXPECT_FALSE(rows[0].line.words[0].bold());
  EXPECT_NEAR(rows[0].line.words[0].size, 9, 0.2);
}

TEST_F(StartListDG2Test, WithoutGroupingTheNumbersRunThroughAndAnEmptyBoxMeansNoReversal) {
  db::CompetitionSpec race = SmallWithResults();
  race.bewerb.typ = 0;
  race.bewerb.verein_aktiv = false;
  openCompetition(race);
  writeList("keine Unterteilung", "");
  EXPECT_EQ(reverseBox()->text(), "0");
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  KeepForLooking(outputPath(), "startlistdg2-fis.pdf");
  const std::vector<Row> rows = StartListRows(pdf);
  QStringList numbers, bibs;
  for (const Row& r : rows) {
    numbers << r.number();
    bibs << r.bib();
  }
  EXPECT_EQ(numbers, (QStringList{"1", "2", "3", "4"}));
  EXPECT_EQ(bibs, (QStringList{"4", "1", "5", "2"}));  // ascending run-1 times
  ASSERT_FALSE(rows.empty());
  EXPECT_NEAR(rows[0].line.top(), 535, 2);
  EXPECT_NEAR(pdf.findWord("NAT")->left(), 1000, 2);
  EXPECT_FALSE(pdf.findWord("Verein"));
  // Without clubs the club column is a dotted line to write on, from 1125.
  auto dots = pdf.findWord(QString(50, '.'));
  ASSERT_TRUE(dots);
  EXPECT_NEAR(dots->left(), 1125, 2);
}

TEST_F(StartListDG2Test, BoxesAreCheckedBeforeTheDialog) {
  openCompetition(SmallWithResults());
  openPanel();
  resultLabel()->setText("vorher");
  struct Case {
    QString reverse, maximum, message;
  };
  const QString reverseMessage =
      "Die Anzahl für die Umkehrung der ersten Läufer pro Gruppierung ist nicht numerisch";
  const QString maxMessage =
      "Die max. Anzahl Teilnehmer pro Gruppierung ist weder leer noch numerisch";
  for (const Case& c : std::vector<Case>{{"abc", "", reverseMessage},
                                         {" ", "", reverseMessage},
                                         {"1e12", "", reverseMessage},
                                         {"5", "zehn", maxMessage},
                                         {"5", "3000000000", maxMessage},
                                         {"x", "y", reverseMessage}}) {
    SCOPED_TRACE((c.reverse + "/" + c.maximum).toStdString());
    ui().clear();
    reverseBox()->setText(c.reverse);
    maxBox()->setText(c.maximum);
    QTest::keyClick(combo(), Qt::Key_F2);
    ASSERT_EQ(ui().messages.size(), 1);
    EXPECT_EQ(ui().messages[0].text, c.message);
    EXPECT_EQ(ui().messages[0].icon, MsgIcon::None);
    EXPECT_TRUE(ui().saveRequests.isEmpty());
    EXPECT_EQ(resultLabel()->text(), "vorher");
  }
  EXPECT_FALSE(QFile::exists(outputPath()));
}

TEST(StartListDG2Boxes, TakeWholeNumbersInTheGermanLocale) {
  ScriptedUi ui;
  StartListDG2Options options;
  QString reverse = "2,5";
  ASSERT_TRUE(ReadStartListDG2Boxes(ui, reverse, "", options));
  EXPECT_EQ(options.reverseCount, 2);  // halves to the even neighbour
  EXPECT_EQ(options.maxPerGroup, 999);
  reverse = "3,5";
  ASSERT_TRUE(ReadStartListDG2Boxes(ui, reverse, "40000", options));
  EXPECT_EQ(options.reverseCount, 4);
  EXPECT_EQ(options.maxPerGroup, 40000);
  reverse = "";
  ASSERT_TRUE(ReadStartListDG2Boxes(ui, reverse, " 12 ", options));
  EXPECT_EQ(reverse, "0");
  EXPECT_EQ(options.reverseCount, 0);
  EXPECT_EQ(options.maxPerGroup, 12);
  reverse = "-3";
  ASSERT_TRUE(ReadStartListDG2Boxes(ui, reverse, "0", options));
  EXPECT_EQ(options.reverseCount, -3);
  EXPECT_EQ(options.maxPerGroup, 0);
  EXPECT_TRUE(ui.messages.isEmpty());

  EXPECT_EQ(ParseBoxNumber("2147483647"), 2147483647);
  EXPECT_EQ(ParseBoxNumber("-2147483648"), -2147483648LL);
  EXPECT_FALSE(ParseBoxNumber("2147483648"));
  EXPECT_FALSE(ParseBoxNumber("1.5"));  // a German group separator in the wrong place
  EXPECT_FALSE(ParseBoxNumber("inf"));
  EXPECT_FALSE(ParseBoxNumber(""));
}

TEST_F(StartListDG2Test, NobodyLoadedWritesNothing) {
  // Nobody finished run 1: the build reports it.
  db::CompetitionSpec race = SmallCompetition();
  for (const auto& t : race.teilnehmer) race.zeiten.push_back(Run1(t.id, 2, -1));
  openCompetition(race);
  writeList("Kategorie");
  EXPECT_EQ(ui().messageTexts(), QStringList{"Keine Daten gefunden!"});
  EXPECT_EQ(ui().messages[0].icon, MsgIcon::Exclamation);
  EXPECT_EQ(resultLabel()->text(), " ");
  EXPECT_FALSE(QFile::exists(outputPath()));
  EXPECT_TRUE(ui().viewerOpened.isEmpty());

  // A maximum of 0 loads nobody, silently.
  ui().clear();
  openCompetition(SmallWithResults(), "Cup2.mdb");
  writeList("Kategorie", "30", "0");
  EXPECT_TRUE(ui().messages.isEmpty());
  EXPECT_EQ(resultLabel()->text(), " ");
  EXPECT_FALSE(QFile::exists(outputPath()));
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
}

// Finishers of run 1 without a class, or in a class without a category, drop out of the
// grouped run-2 lists: the result line counts them.
TEST_F(StartListDG2Test, RacersLeftOutOfTheGroupedListsAreCounted) {
  db::CompetitionSpec race = SmallWithResults();
  race.teilnehmer[1].klasse.reset();                                 // Öhler
  race.klassen.push_back({5, "Gäste", "X", 2016, std::nullopt, 5});  // no such category
  race.teilnehmer[4].klasse = 5;                                     // Ott
  openCompetition(race);
  writeList("Kategorie");
  EXPECT_EQ(resultLabel()->text(),
            "StartListeDG2 gespeichert unter: " + outputPath() +
                "\n1 gemeldeter Teilnehmer ohne Klasse und 1 gemeldeter Teilnehmer ohne Gruppe "
                "oder Kategorie der Klasse nicht in der Liste");
  GrabForLooking(window(), "startlistdg2-left-out");
  writeList("keine Unterteilung");
  EXPECT_EQ(resultLabel()->text(), "StartListeDG2 gespeichert unter: " + outputPath());

  // By class, all starters of run 1: the guest class is printed, the racer without a class
  // is not.
  ui().chooseSaveFile(outputPath("tafel.pdf"));
  BoardListDG2Options board;
  board.grouping = "Klasse";
  board.reverseCount = 0;
  EXPECT_EQ(WriteBoardListDG2(state(), board).text,
            "Tafelliste gespeichert unter: " + outputPath("tafel.pdf") +
                "\n1 gemeldeter Teilnehmer ohne Klasse nicht in der Liste");
}

TEST_F(StartListDG2Test, CancelAndAnUnwritableFileWhichClosesThePanel) {
  openCompetition(SmallWithResults());
  openPanel();
  expectCancelAndUnwritableFile("StartListeDG2_Meldung", "StartListeDG2", outputPath(), false);
}

TEST_F(StartListDG2Test, LongListBreaksPagesAndRestartsNumbersPerGroup) {
  // The footer band's height (here 12 mm without its picture) raises both row limits.
  for (const int band : {0, 12}) {
    SCOPED_TRACE(band);
    db::CompetitionSpec race = db::DemoCompetition();
    race.listenkopf.push_back({0, 92, QString("%1;%2").arg(band > 0 ? 1 : 0).arg(band)});
    race.listenkopf.erase(race.listenkopf.begin());  // the demo's "0;0"
    openCompetition(race, QString("Demo%1.mdb").arg(band));
    ui().clear();
    writeList("Klasse", "30", "", true);
    PdfReader pdf(outputPath());
    ASSERT_TRUE(pdf.isValid());
    KeepForLooking(outputPath(), QString("startlistdg2-demo-band%1.pdf").arg(band));
    ASSERT_GE(pdf.pageCount(), 3);
    const int rowLimit = 2570 - 10 * band;
    const int groupLimit = 2420 - 10 * band;

    const std::vector<Row> rows = StartListRows(pdf);
    QStringList bibs, numbers;
    for (const Row& r : rows) {
      bibs << r.bib();
      numbers << r.number();
      EXPECT_LE(r.line.top(), rowLimit + 43) << r.line.text().toStdString();
    }
    EXPECT_EQ(bibs, tableBibs());
    EXPECT_EQ(numbers, expectedNumbers());
    // Appended non-finishers carry their run-1 result in the Zeit-1 column.
    int withoutTime = 0;
    for (const Row& r : rows) {
      const QString last = r.line.words.last().text;
      if (last == "NiZ" || last == "Dis" || last == "---") ++withoutTime;
    }
    EXPECT_GT(withoutTime, 0);

    for (int p = 1; p <= pdf.pageCount(); ++p) {
      EXPECT_TRUE(pdf.findLine(QString("Bewerbsnummer 1234, Seite %1").arg(p), p)) << p;
      EXPECT_TRUE(pdf.findWord("Zeit-1", p)) << p;
      // Every page after the first begins with a row or a heading at 535.
      const auto firstRow =
          std::find_if(rows.begin(), rows.end(), [p](const Row& r) { return r.page == p; });
      ASSERT_NE(firstRow, rows.end());
      EXPECT_LE(firstRow->line.top(), 535 + 53 + 2);
    }
    // Group headings (bold, at 475 in the row area) never start below the group limit.
    for (const PdfWord& w : pdf.words()) {
      if (w.bold() && std::abs(w.left() - 475) < 2 && w.top() > 500 && w.top() < 2600) {
        EXPECT_LE(w.top(), groupLimit + 30) << w.text.toStdString();
      }
    }
  }
}

TEST_F(StartListDG2Test, BibListPutsNineteenBibsInARow) {
  openCompetition(Classes({38, 20, 5}));
  writeList("Klasse", "0", "", false, true);
  EXPECT_EQ(resultLabel()->text(), "StartListeDG2 gespeichert unter: " + outputPath());
  ASSERT_EQ(ui().saveRequests.size(), 1);
  EXPECT_EQ(ui().saveRequests[0].fileName, "Cup-StartNummernDG2-Riesenslalom.pdf");
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  KeepForLooking(outputPath(), "startlistdg2-bibs.pdf");
  EXPECT_EQ(pdf.title(), "StartNummernDG2 Cup Riesenslalom");
  EXPECT_TRUE(pdf.findLine("STARTNUMMERN 2. Durchgang"));
  EXPECT_FALSE(pdf.findWord("Lfnr"));

  // Headings at 110; the first 73 below its heading; rows 70 apart; the next heading 93
  // below the last row, or 70 + 93 after a full row.
  const auto heading = [&](int n) {
    for (const PdfLine& line : pdf.lines(1))
      if (line.text() == QString("Klasse %1").arg(n)) return line;
    ADD_FAILURE() << "heading " << n;
    return PdfLine{};
  };
  const PdfLine h1 = heading(1), h2 = heading(2), h3 = heading(3);
  EXPECT_NEAR(h1.top(), 450, 2);
  EXPECT_NEAR(h1.left(), 110, 2);
  EXPECT_NEAR(h2.top(), 450 + 73 + 70 + 70 + 93, 2);
  EXPECT_NEAR(h3.top(), h2.top() + 73 + 70 + 93, 2);

  std::map<int, std::pair<double, double>> at;  // bib -> (right, top)
  for (const PdfWord& w : pdf.wordsOnPage(1)) {
    bool ok = false;
    const int bib = w.text.toInt(&ok);
    if (ok && w.top() > 500 && w.top() < 2600 && w.left() < 2020 && !w.bold())
      at[bib] = {w.right(), w.top()};
  }
  ASSERT_EQ(at.size(), 63u);
  for (int bib = 1; bib <= 38; ++bib) {
    EXPECT_NEAR(at[bib].first, 190 + (bib - 1) % 19 * 100, 2) << bib;
    EXPECT_NEAR(at[bib].second, 450 + 73 + (bib - 1) / 19 * 70, 2) << bib;
  }
  EXPECT_NEAR(at[39].first, 190, 2);
  EXPECT_NEAR(at[57].first, 1990, 2);
  EXPECT_NEAR(at[58].first, 190, 2);
  EXPECT_NEAR(at[58].second, at[57].second + 70, 2);
  EXPECT_NEAR(at[59].first, 190, 2);
  EXPECT_NEAR(at[59].second, h3.top() + 73, 2);
}

TEST_F(StartListDG2Test, BibListGoesOnOnTheNextPage) {
  openCompetition(Classes({700}));
  writeList("keine Unterteilung", "0", "", false, true);
  PdfReader pdf(outputPath());
  ASSERT_TRUE(pdf.isValid());
  KeepForLooking(outputPath(), "startlistdg2-bibs-long.pdf");
  ASSERT_EQ(pdf.pageCount(), 2);
  QStringList bibs;
  for (int p = 1; p <= 2; ++p) {
    QList<PdfWord> words;
    for (const PdfWord& w : pdf.wordsOnPage(p)) {
      if (w.top() >= 445 && w.top() < 2600 && w.left() < 2020) words << w;
    }
    std::sort(words.begin(), words.end(), [](const PdfWord& a, const PdfWord& b) {
      return std::abs(a.top() - b.top()) > 2 ? a.top() < b.top() : a.left() < b.left();
    });
    for (const PdfWord& w : words) {
      bibs << w.text;
      EXPECT_LE(w.top(), 2570 + 2);
    }
    ASSERT_FALSE(words.isEmpty());
    EXPECT_NEAR(words.first().top(), 450, 2);  // no heading without grouping
    EXPECT_NEAR(words.first().right(), 190, 2);
    EXPECT_TRUE(pdf.findLine(QString("Seite %1").arg(p), p));
  }
  EXPECT_EQ(bibs, tableBibs());
  // 31 rows of 19 on the first page (450 to 2550).
  EXPECT_EQ(bibs.indexOf(tableBibs().at(31 * 19)), 31 * 19);
}

}  // namespace
}  // namespace kx::test
