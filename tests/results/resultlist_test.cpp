#include "results/resultlist.h"

#include "common/timetext.h"
#include "tests/results/resultsfixture.h"

#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

namespace kx::test {
namespace {

class ResultListTest : public ResultsTest {
 protected:
  ResultListModel compute(bool total, int run, const QString& grouping = "keine Unterteilung",
                          bool suppressNas = false) {
    ResultListRequest req;
    req.totalList = total;
    req.runCount = runCount;
    req.run = total ? runCount : run;
    req.grouping = grouping;
    req.typ = state.Settings.typNumber();
    req.suppressNotStarted = suppressNas;
    req.codes = req.years = req.clubs = req.nations = true;
    return ComputeResultList(ReadRaceData(state.db(), 2, "gs"), req);
  }
  static QStringList column(const ResultListModel& m, QString RankedRow::*field) {
    QStringList out;
    for (const RankedRow& r : m.ranked) out << r.*field;
    return out;
  }
  static QStringList titles(const ResultListModel& m) {
    QStringList out;
    for (const NotRankedSection& s : m.sections)
      if (!s.rows.empty()) out << s.title + QString(":%1").arg(s.rows.size());
    return out;
  }
  int runCount = 2;
};

TEST(FormatRunTime, RoundsOnceAndWritesEachForm) {
  EXPECT_EQ(FormatRunTime(0), "0,00");
  EXPECT_EQ(FormatRunTime(949.9999999), "9,50");
  EXPECT_EQ(FormatRunTime(5998.9999996), "59,99");
  EXPECT_EQ(FormatRunTime(5999.999999), "1:00,00");
  EXPECT_EQ(FormatRunTime(11999), "1:59,99");
  EXPECT_EQ(FormatRunTime(950, RunTimeForm::TwoDigitSeconds), "09,50");
  EXPECT_EQ(FormatRunTime(4567, RunTimeForm::AlwaysMinutes), "0:45,67");
  EXPECT_EQ(FormatRunTime(9168, RunTimeForm::AlwaysMinutes), "1:31,68");
}

TEST_F(ResultListTest, EqualTimesShareTheRankWithABlankDiffAndGermanNameOrder) {
  db::CompetitionSpec race = EmptyRace();
  const double times[] = {6500, 6600, 6600, 6700};
  const char* names[] = {"Zeller", "Zoller", "Ärger", "Berger"};
  for (int i = 0; i < 4; ++i) {
    AddRacer(race, i + 1, "M", 2, names[i]);
    AddRun(race, i + 1, 1, times[i]);
  }
  open(race);
  const ResultListModel m = compute(false, 1);
  ASSERT_TRUE(m.complete);
  EXPECT_EQ(column(m, &RankedRow::name),
            QStringList({"Zeller Vorname", "Ärger Vorname", "Zoller Vorname", "Berger Vorname"}));
  EXPECT_EQ(column(m, &RankedRow::rank), QStringList({"1.", "2.", "", "4."}));
  std::vector<qint64> diffs;
  for (const RankedRow& r : m.ranked) diffs.push_back(r.diff);
  EXPECT_EQ(diffs, (std::vector<qint64>{0, 100, 100, 200}));
  EXPECT_EQ(m.columns.layout, ResultLayout::Plain);
}

TEST_F(ResultListTest, ARunTimeStoredJustUnderItsHundredthKeepsItsHundredth) {
  db::CompetitionSpec race = EmptyRace();
  AddRacer(race, 1, "M", 2, "Alt");
  AddRun(race, 1, 1, 4565);  // 45.65 s reads back as 4564.9999...
  AddRacer(race, 2, "M", 2, "Bach");
  AddRun(race, 2, 1, 4564);
  open(race);
  const ResultListModel m = compute(false, 1);
  // One hundredth apart: no shared rank, Bach ahead.
  EXPECT_EQ(column(m, &RankedRow::name), QStringList({"Bach Vorname", "Alt Vorname"}));
  EXPECT_EQ(column(m, &RankedRow::rank), QStringList({"1.", "2."}));
  ASSERT_EQ(m.ranked.size(), 2u);
  EXPECT_EQ(FormatRunTime(m.ranked[1].time), "45,65");
  EXPECT_EQ(m.ranked[1].diff, 1);
}

TEST_F(ResultListTest, TypeTwelveRanksByTheBestRunAndTypeElevenByTheSum) {
  db::CompetitionSpec race = EmptyRace();
  AddRacer(race, 1, "M", 2, "Alt");  // best 40,00, sum 1:30,00
  AddRun(race, 1, 1, 4000);
  AddRun(race, 1, 2, 5000);
  AddRacer(race, 2, "M", 2, "Bach");  // best 44,00, sum 1:28,00
  AddRun(race, 2, 1, 4400);
  AddRun(race, 2, 2, 4400);
  AddRacer(race, 3, "M", 2, "Cerny");  // out in run 2: ranked by run 1 with the best run only
  AddRun(race, 3, 1, 4200);
  AddRun(race, 3, 2, 0, 2);
  open(race);

  state.Settings.typ = "11";
  ResultListModel m = compute(true, 0);
  EXPECT_EQ(column(m, &RankedRow::name), QStringList({"Bach Vorname", "Alt Vorname"}));
  ASSERT_EQ(m.ranked.size(), 2u);
  EXPECT_EQ(FormatRunTime(m.ranked[0].time), "1:28,00");
  EXPECT_EQ(titles(m), QStringList({"Nicht im Ziel  2. Durchgang:1"}));

  state.Settings.typ = "12";
  m = compute(true, 0);
  EXPECT_EQ(column(m, &RankedRow::name),
            QStringList({"Alt Vorname", "Cerny Vorname", "Bach Vorname"}));
  ASSERT_EQ(m.ranked.size(), 3u);
  EXPECT_EQ(FormatRunTime(m.ranked[2].time), "44,00");
  EXPECT_TRUE(titles(m).isEmpty());
}

TEST_F(ResultListTest, SumsThatPrintAlikeTieAndFailuresGoToTheirRunsSections) {
  db::CompetitionSpec race = EmptyRace();
  AddRacer(race, 1, "M", 2, "Alt");
  AddRun(race, 1, 1, 4065);  // 40.65 s reads back as 4064.9999...
  AddRun(race, 1, 2, 5000);
  AddRacer(race, 2, "M", 2, "Bach");
  AddRun(race, 2, 1, 4565);
  AddRun(race, 2, 2, 4500);
  AddRacer(race, 3, "M", 2, "Cerny");
  AddRun(race, 3, 1, 4000);
  AddRun(race, 3, 2, 0, 2);
  AddRacer(race, 4, "M", 2, "Dorn");
  AddRun(race, 4, 1, 0, 1);
  AddRacer(race, 5, "M", 2, "Eder");  // out in both runs: listed twice, counted once
  AddRun(race, 5, 1, 0, 2);
  AddRun(race, 5, 2, 0, 1);
  open(race);

  ResultListModel m = compute(true, 0);
  ASSERT_TRUE(m.complete);
  ASSERT_EQ(m.ranked.size(), 2u);
  EXPECT_EQ(column(m, &RankedRow::rank), QStringList({"1.", ""}));
  EXPECT_EQ(FormatRunTime(m.ranked[1].time), "1:30,65");
  EXPECT_EQ(m.ranked[1].diff, 0);
  EXPECT_EQ(column(m, &RankedRow::run1), QStringList({"40,65", "45,65"}));
  EXPECT_EQ(m.columns.layout, ResultLayout::PerRun);
  EXPECT_EQ(titles(m),
            QStringList({"Nicht am Start  1. Durchgang:1", "Nicht im Ziel  1. Durchgang:1",
                         "Nicht am Start  2. Durchgang:1", "Nicht im Ziel  2. Durchgang:1"}));
  EXPECT_EQ(m.notRankedCount, 3);

  m = compute(true, 0, "keine Unterteilung", true);
  EXPECT_EQ(titles(m),
            QStringList({"Nicht im Ziel  1. Durchgang:1", "Nicht im Ziel  2. Durchgang:1"}));
  EXPECT_EQ(m.notRankedCount, 2);

  // The run-2 list: only run 2's sections.
  m = compute(false, 2);
  EXPECT_EQ(titles(m),
            QStringList({"Nicht am Start  2. Durchgang:1", "Nicht im Ziel  2. Durchgang:1"}));
}

TEST_F(ResultListTest, RefusesWhileAResultIsMissing) {
  db::CompetitionSpec race = EmptyRace();
  AddRacer(race, 1, "M", 2, "Alt");
  AddRun(race, 1, 1, 4000);
  AddRun(race, 1, 2, 4100);
  AddRacer(race, 2, "M", 2, "Bach");  // out in run 1: needs no run-2 record
  AddRun(race, 2, 1, 0, 3);
  AddRacer(race, 3, "M", 2, "Cerny");  // finished run 1, no run-2 record yet
  AddRun(race, 3, 1, 4200);
  open(race);
  EXPECT_TRUE(compute(false, 1).complete);
  EXPECT_FALSE(compute(false, 2).complete);
  EXPECT_FALSE(compute(true, 0).complete);

  // A valid record without a time counts as missing; so does a missing earlier run of a sum.
  state.db().execute(
      "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode) values (3,2,2,0)");
  EXPECT_FALSE(compute(false, 2).complete);
  state.db().execute("update tblZeit set netto=0.05 where teilnehmer=3 and durchgang=2");
  EXPECT_TRUE(compute(true, 0).complete);
  state.db().execute("delete from tblZeit where teilnehmer=3 and durchgang=1");
  EXPECT_TRUE(compute(false, 2).complete);
  EXPECT_FALSE(compute(true, 0).complete);
}

// A participant not entered in the giant slalom needs no time there; one taken out after
// he ran is left out of the result list but keeps his time where every participant counts.
TEST_F(ResultListTest, OnlyRacersEnteredInTheDisciplineAreListed) {
  db::CompetitionSpec race = EmptyRace();
  AddRacer(race, 1, "M", 2, "Alt");
  AddRun(race, 1, 1, 4000);
  AddRacer(race, 2, "M", 2, "Bach").disziplinen[2].aktiv = false;  // slalom only
  AddRacer(race, 3, "M", 2, "Cerny").disziplinen[2].aktiv = false;
  AddRun(race, 3, 1, 3900);
  open(race);
  const ResultListModel m = compute(false, 1);
  ASSERT_TRUE(m.complete);
  EXPECT_EQ(column(m, &RankedRow::name), QStringList{"Alt Vorname"});
  std::vector<std::pair<int, size_t>> everyone;  // id and runs
  for (const Racer& r : ReadRaceData(state.db(), 2, "gs", false).racers)
    everyone.emplace_back(r.id, r.runs.size());
  EXPECT_EQ(everyone, (std::vector<std::pair<int, size_t>>{{1, 1}, {2, 0}, {3, 1}}));
}

TEST_F(ResultListTest, ThreeRunsExcuseAnyEarlierFailureAndListEveryRunsSections) {
  db::CompetitionSpec race = EmptyRace();
  race.disziplinen[0].durchgaenge = 3;
  AddRacer(race, 1, "M", 2, "Alt");
  AddRacer(race, 2, "M", 2, "Bach");
  for (int run = 1; run <= 3; ++run) AddRun(race, 1, run, 4000);
  AddRun(race, 2, 1, 4100);
  AddRun(race, 2, 2, 0, 2);
  open(race);
  runCount = 3;
  const ResultListModel total = compute(true, 0);
  ASSERT_TRUE(total.complete);
  ASSERT_EQ(total.ranked.size(), 1u);
  EXPECT_EQ(FormatRunTime(total.ranked[0].time), "2:00,00");
  EXPECT_EQ(titles(total), QStringList({"Nicht im Ziel  2. Durchgang:1"}));
  EXPECT_TRUE(compute(false, 3).complete);
  EXPECT_EQ(total.sections.size(), 9u);
}

TEST_F(ResultListTest, DivisionsFollowTheirSortPositionsAndBestRunTypesTakeTheFastestRun) {
  db::CompetitionSpec race = EmptyRace();
  race.bewerb.typ = 6;
  race.klassen[1].sortpos = 0;  // "Kinder männlich" before "Kinder weiblich"
  AddRacer(race, 1, "W", 1, "Alt");
  AddRun(race, 1, 1, 5000);
  AddRun(race, 1, 2, 4900);
  AddRacer(race, 2, "M", 2, "Bach");
  AddRun(race, 2, 1, 4800);
  AddRun(race, 2, 2, 0, 2);
  AddRacer(race, 3, "M", std::nullopt, "Ohne");  // no class: missing from class lists
  AddRun(race, 3, 1, 4700);
  AddRun(race, 3, 2, 4700);
  AddRacer(race, 4, "M", 4, "Dis");
  AddRun(race, 4, 1, 0, 3);
  AddRun(race, 4, 2, 0, 1);
  open(race);

  ResultListModel m = compute(true, 0, "Klasse");
  EXPECT_EQ(column(m, &RankedRow::division), QStringList({"Kinder männlich", "Kinder weiblich"}));
  ASSERT_EQ(m.ranked.size(), 2u);
  EXPECT_EQ(FormatRunTime(m.ranked[1].time), "49,00");
  // Single section form, no run numbers; the valid-run racer is in none.
  EXPECT_EQ(titles(m), QStringList({"Disqualifiziert:1"}));
  ASSERT_EQ(m.sections.size(), 3u);
  ASSERT_EQ(m.sections[2].rows.size(), 1u);
  EXPECT_TRUE(m.sections[2].rows[0].note.isEmpty());

  m = compute(true, 0, "Gruppe");
  EXPECT_EQ(column(m, &RankedRow::division), QStringList({"Kinder", "Kinder"}));
  m = compute(true, 0, "Kategorie");
  EXPECT_EQ(column(m, &RankedRow::division), QStringList({"Damen", "Herren"}));

  // Without any class in use the category is the racer's own letter.
  state.db().execute("update tblTeilnehmer set klasse=null");
  m = compute(true, 0, "Kategorie");
  EXPECT_EQ(column(m, &RankedRow::division), QStringList({"Damen", "Herren", "Herren"}));
}

TEST_F(ResultListTest, IntermediateTimesAndAFileWithoutFederationIds) {
  db::CompetitionSpec race = EmptyRace();
  race.withSvid = false;  // a class "40" file
  AddRacer(race, 1, "M", 2, "Alt").code = "5100";
  AddRun(race, 1, 1, 4000);
  AddRacer(race, 2, "M", 2, "Bach");
  AddRun(race, 2, 1, 4100);
  open(race);
  EXPECT_EQ(compute(false, 1).columns.layout, ResultLayout::Plain);
  state.db().execute("update tblZeit set zwischen1=start+1805/8640000.0 where teilnehmer=1");
  const ResultListModel m = compute(false, 1);
  EXPECT_EQ(m.columns.layout, ResultLayout::Intermediate);
  ASSERT_EQ(m.ranked.size(), 2u);
  EXPECT_EQ(m.ranked[0].intermediate, 1805);
  EXPECT_EQ(m.ranked[1].intermediate, 0);
  EXPECT_EQ(column(m, &RankedRow::idText), QStringList({"5100", ""}));
}

class ResultListPdfTest : public ResultsTest {
 protected:
  static QString text(const PdfReader& pdf, const QString& part) {
    const auto found = pdf.findLine(part);
    return found ? found->text() : "<missing " + part + ">";
  }
  ResultLine write(const QString& run, const QString& grouping, const QString& look) {
    ui.chooseSaveFile(outputPath("ergebnis.pdf"));
    ResultListOptions options{run, grouping, false, true};
    const ResultLine line = WriteResultList(state, options);
    if (QFileInfo::exists(outputPath("ergebnis.pdf")))
      KeepForLooking(outputPath("ergebnis.pdf"), look);
    return line;
  }
};

TEST_F(ResultListPdfTest, TotalListByClassWithPerRunColumnsSectionsAndStatistics) {
  db::CompetitionSpec race = EmptyRace();
  race.disziplinen[0].datum_startliste = QDate(2027, 1, 15);
  for (int i = 1; i <= 6; ++i) {
    AddRacer(race, i, i % 2 ? "W" : "M", i % 2 ? 1 : 2, QString("Läufer%1").arg(i));
    AddRun(race, i, 1, 4000 + i * 100);
    AddRun(race, i, 2, i == 6 ? 0 : 4100, i == 6 ? 3 : 0);
  }
  open(race);
  QImage logo(40, 43, QImage::Format_RGB32);
  logo.fill(Qt::darkGreen);
  ASSERT_TRUE(logo.save(outputPath("logo1.bmp")));
  const ResultLine result = write("Gesamtliste", "Klasse", "ergebnisliste-klasse.pdf");
  EXPECT_EQ(result.text, "Ergebnisliste gespeichert unter: " + outputPath("ergebnis.pdf"));
  EXPECT_TRUE(ui.messages.isEmpty()) << ui.messageTexts().join("|").toStdString();

  PdfReader pdf(outputPath("ergebnis.pdf"));
  ASSERT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.title(), "Ergebnisliste Cup1 Riesenslalom");
  EXPECT_TRUE(pdf.findLine("ERGEBNISLISTE"));
  EXPECT_EQ(text(pdf, "Rang"), "Rang Stnr Code Teilnehmer + Verein JG VB Zeit-1 Zeit-2 Total Diff");
  EXPECT_TRUE(pdf.findLine("Kinder weiblich"));
  EXPECT_EQ(text(pdf, "Läufer3"), "2. 3 Läufer3 Vorname 12 AUT 43,00 41,00 1:24,00 2,00");
  ASSERT_TRUE(pdf.findWord("Verein3") && pdf.findWord("Läufer3") && pdf.findWord("weiblich"));
  EXPECT_FALSE(pdf.findWord("Läufer3")->bold());
  EXPECT_TRUE(pdf.findWord("weiblich")->bold());
  EXPECT_NEAR(pdf.findWord("Verein3")->size, 8, 0.2);
  EXPECT_TRUE(pdf.findLine("Disqualifiziert 2. Durchgang"));
  EXPECT_EQ(text(pdf, "Läufer6"), "6 Läufer6 Vorname 12 AUT Tor 7");
  EXPECT_EQ(text(pdf, "Gemeldete"), "Gemeldete Teilnehmer: 6");
  EXPECT_EQ(text(pdf, "Gewertete"), "Gewertete Teilnehmer: 5");
  // The foot: the result date, and the credit line with the tool's own name.
  EXPECT_TRUE(pdf.findLine("16.01.2027 /"));
  EXPECT_TRUE(pdf.findLine("Dizezizar Ivezodovuzorov"));
  // "logo1.bmp" stands in for the program's picture on the ranked pages.
  QProcess images;
  images.start("pdfimages", {"-list", outputPath("ergebnis.pdf")});
  ASSERT_TRUE(images.waitForFinished());
  const QString listing = QString::fromLatin1(images.readAllStandardOutput());
  EXPECT_TRUE(listing.contains(QRegularExpression("image\\s+40\\s+43"))) << listing.toStdString();
  EXPECT_FALSE(listing.contains(QRegularExpression("image\\s+620\\s+620")));
}

// A run in which nobody is ranked makes no list, even with racers in its not-ranked
// sections: the message, and the list printed earlier stays as it was.
TEST_F(ResultListPdfTest, RefusalComesBeforeTheDialogAndARunWithNobodyRankedWritesNothing) {
  db::CompetitionSpec race = EmptyRace();
  AddRacer(race, 1, "M", 2, "Alt");
  AddRun(race, 1, 1, 0, 2);
  AddRacer(race, 2, "M", 2, "Bach");
  AddRacer(race, 3, "W", 1, "Christ");
  AddRun(race, 3, 1, 0, 2);
  open(race);
  EXPECT_EQ(write("1", "keine Unterteilung", "x.pdf").text, " ");
  EXPECT_TRUE(ui.saveRequests.isEmpty());
  EXPECT_EQ(ui.messageTexts(),
            QStringList("Ergebnisliste kann nicht erstellt werden, da nicht für alle Teilnehmer "
                        "ein Ergebnis vorliegt"));

  ui.clear();
  state.db().execute(
      "insert into tblZeit (teilnehmer,disziplin,durchgang,ergcode) values (2,2,1,1)");
  const QByteArray earlier = "%PDF-1.4 the list printed earlier\n" + QByteArray(84 * 1024, 'x');
  QFile file(outputPath("ergebnis.pdf"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
  file.close();
  // The run list selects nobody; the total list selects all three and ranks none.
  for (const QString run : {"1", "Gesamtliste"}) {
    ui.clear();
    EXPECT_EQ(write(run, "keine Unterteilung", "x.pdf").text, " ");
    EXPECT_EQ(ui.messageTexts(), QStringList("Keine Daten gefunden!"));
    EXPECT_TRUE(ui.viewerOpened.isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll() == earlier);
    file.close();
    EXPECT_EQ(QDir(outputPath("")).entryList({"ergebnis.pdf*"}, QDir::Files | QDir::Hidden),
              QStringList("ergebnis.pdf"));
  }
}

TEST_F(ResultListPdfTest, PagesBreakAtBothLimitsAboveTheFooterBand) {
  for (const QString band : {"0;0", "1;20"}) {
    db::CompetitionSpec race = EmptyRace();
    race.listenkopf.back().value = band;
    for (int i = 1; i <= 130; ++i) {
      AddRacer(race, i, "M", i <= 100 ? 2 : 4, QString("Name%1").arg(i, 3, 10, QChar('0')));
      AddRun(race, i, 1, 4000 + i);
    }
    open(race);
    state.Settings.verein_aktiv = "False";
    write("1", "Klasse", "ergebnisliste-umbruch.pdf");
    const PdfReader pdf(outputPath("ergebnis.pdf"));
    const int h = band == "0;0" ? 0 : 20;
    int rows = 0;
    for (int page = 1; page <= pdf.pageCount(); ++page) {
      for (const PdfLine& l : pdf.lines(page)) {
        if (!l.text().contains("Name")) continue;
        ++rows;
        EXPECT_LE(l.top(), 2610 - 10 * h + 43 + 2) << band.toStdString();
      }
      // A class heading only starts where its first rows fit.
      if (const auto head = pdf.findLine("Schüler männlich", page)) {
        EXPECT_LE(head->top(), 2420 - 10 * h + 2);
      }
    }
    EXPECT_EQ(rows, 130);
  }
}

}  // namespace
}  // namespace kx::test
