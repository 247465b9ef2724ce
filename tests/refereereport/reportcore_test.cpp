// The referee report without its window: the time text, the prefill on built files and
// the stored report.

#include "db/competitionbuilder.h"
#include "db/database.h"
#include "refereereport/reportfields.h"
#include "refereereport/reportpage.h"
#include "refereereport/reportprefill.h"
#include "refereereport/reportstore.h"
#include "tests/support/qtprint.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kx {
namespace {

TEST(ReportTime, EveryHundredthOfTheFirstHourAndTheEdges) {
  // Times stored as fractions of a day come back as the hundredth they were.
  for (qint64 h = 0; h < 360000; ++h) {
    const QString text = FormatReportTime(db::HundredthsToDay(h));
    const QString expected = QStringLiteral("00:%1:%2,%3")
                                 .arg(h / 6000, 2, 10, QLatin1Char('0'))
                                 .arg(h / 100 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(h % 100, 2, 10, QLatin1Char('0'));
    ASSERT_EQ(text, expected) << h;
  }
  EXPECT_EQ(FormatReportTime(db::HundredthsToDay(4523)), "00:00:45,23");
  EXPECT_EQ(FormatReportTime(db::HundredthsToDay(5999)), "00:00:59,99");
  EXPECT_EQ(FormatReportTime(db::HundredthsToDay(3600000 + 5999)), "10:00:59,99");
  EXPECT_EQ(FormatReportTime(11.5 / 24), "11:30:00,00");
  EXPECT_EQ(FormatReportTime(45.239 / 86400), "00:00:45,23");  // cut, not rounded
  EXPECT_EQ(FormatReportTime(-0.5 / 24), "23:30:00,00");       // back across midnight
  EXPECT_EQ(FormatReportTime(25.0 / 24), "25:00:00,00");       // hours are not wrapped
  EXPECT_EQ(ShortenReportTime("00:00:45,67"), "45,67");
  EXPECT_EQ(ShortenReportTime("00:00:05,23"), "05,23");
  EXPECT_EQ(ShortenReportTime("00:01:05,23"), "1:05,23");
  EXPECT_EQ(ShortenReportTime("00:12:34,56"), "12:34,56");
  EXPECT_EQ(ShortenReportTime("01:02:03,45"), "1:02:03,45");
  EXPECT_EQ(ReportSeasonText(QDate(2026, 9, 30)), "Saison 2025/26");
  EXPECT_EQ(ReportSeasonText(QDate(2026, 10, 1)), "Saison 2026/27");
  EXPECT_EQ(ReportSeasonText(QDate(2009, 3, 1)), "Saison 2008/9");
  EXPECT_EQ(GateCountText("", "12"), "     /12");
  EXPECT_EQ(GateCountText("", ""), "     /");
  EXPECT_EQ(GateCountText("40", ""), "40/");
}

class ReportFile : public ::testing::Test {
 protected:
  static db::CompetitionSpec Race() {
    db::CompetitionSpec race;
    race.bewerb.ort = "Musterdorf";
    race.disziplinen = {
        {2, true, QString("  12RS"), "Bezirkscup\r\nKinder", std::nullopt, QDate(2027, 1, 16), 2}};
    race.listenkopf = {{2, 0, " Huber Hans , SC Au, Tirol"},
                       {2, 1, " ALGE "},
                       {2, 3, "Maier"},
                       {2, 15, "Hangstrecke"},
                       {2, 18, "250"},
                       {2, 19, "1200"}};
    for (int id = 1; id <= 4; ++id) {
      db::TeilnehmerSpec t;
      t.id = id;
      t.nachname = QString("N%1").arg(id);
      t.vorname = "V";
      t.disziplinen[2] = {true, id == 4 ? std::nullopt : std::optional<int>(id), 1, 1};
      race.teilnehmer.push_back(t);
    }
    auto run = [&](int id, int runNumber, int code, double start, int hundredths) {
      race.zeiten.push_back(
          {id, 2, runNumber, code, start, {}, {}, db::HundredthsToDay(hundredths), {}});
    };
    const double nine = 9.5 / 24;      // 09:30
    run(1, 1, 0, nine + 0.001, 4500);  // fastest in run 1, out in run 2
    run(1, 2, 2, 0.5, 0);
    run(2, 1, 0, nine + 0.002, 4610);
    run(2, 2, 0, 0.5, 6505);
    run(3, 1, 1, nine - 0.01, 0);  // earlier, but not started
    run(4, 1, 0, nine, 4700);
    run(4, 2, 0, 0.5, 6600);
    return race;
  }
  std::unique_ptr<db::Connection> open(const db::CompetitionSpec& race) {
    const QString path = dir_.filePath(QString("r%1.mdb").arg(++n_));
    db::BuildCompetitionFile(path, race);
    return db::Connection::open(path);
  }
  // The value of `key`; a key the report does not have fails the test (out_of_range).
  static QString& at(ReportValues& v, const char* key) {
    return v.at(static_cast<size_t>(ReportKeyIndex(key)));
  }
  QTemporaryDir dir_;
  int n_ = 0;
};

TEST_F(ReportFile, PrefillTakesEveryRuleInItsOrder) {
  auto db = open(Race());
  ReportValues v = DefaultReportValues();
  PrefillRefereeReport(*db, {2, "gs", 2}, v);
  EXPECT_EQ(at(v, "Disziplin"), "RS");
  EXPECT_EQ(at(v, "Veranstaltung"), "Bezirkscup");
  EXPECT_EQ(at(v, "RennNr"), "  12RS");
  EXPECT_EQ(at(v, "Datum"), "16.01.2027");
  EXPECT_EQ(at(v, "EDVKR"), "Huber Hans");
  EXPECT_EQ(at(v, "EDVKR_V"), "SC Au, Tirol");
  EXPECT_EQ(at(v, "Zeitnehmer_Name"), " Huber Hans , SC Au, Tirol");
  EXPECT_EQ(at(v, "Zeitmessgeraet"), "ALGE");
  EXPECT_EQ(at(v, "Schiedsrichter"), "Maier");
  EXPECT_EQ(at(v, "Schiedsrichter_Name"), "Maier");
  EXPECT_EQ(at(v, "Rennstrecke"), "Musterdorf, Hangstrecke");
  EXPECT_EQ(at(v, "DG2_Hoehendifferenz"), "250");
  EXPECT_EQ(at(v, "DG2_Streckenlaenge"), "1200");
  EXPECT_EQ(at(v, "StartersterLaeufer"), "09:30");  // the earlier non-starter does not count
  EXPECT_EQ(at(v, "Einschaltzeit"), "08:30");
  EXPECT_EQ(at(v, "Synchronzeit"), "09:00");
  EXPECT_EQ(at(v, "Anz_Teilnehmer"), "3");  // one without bib
  EXPECT_EQ(at(v, "Anz_NichtamStartDG1"), "1");
  EXPECT_EQ(at(v, "Anz_Klassifizierte"), "2");
  EXPECT_EQ(at(v, "DG1_Bestzeit"), "46,10");  // the 45,00 racer failed run 2
  EXPECT_EQ(at(v, "DG2_Bestzeit"), "1:05,05");
  EXPECT_EQ(at(v, "Org_Auslosung"), "per Kandor");  // defaults stay

  // No competition row, no header rows, no times: the fields keep their defaults.
  db::CompetitionSpec bare;
  bare.withBewerbRow = false;
  bare.disziplinen = {{2, true, std::nullopt, "Cup", std::nullopt, std::nullopt, 1}};
  auto empty = open(bare);
  ReportValues w = DefaultReportValues();
  PrefillRefereeReport(*empty, {2, "gs", 1}, w);
  EXPECT_EQ(at(w, "Rennstrecke"), "");
  EXPECT_EQ(at(w, "StartersterLaeufer"), "");
  EXPECT_EQ(at(w, "Anz_Klassifizierte"), "0");
  EXPECT_EQ(at(w, "DG1_Bestzeit"), "");
}

// SQLite finds the table in any letter case; a view of its name or a table of another shape
// is a damaged file, said in German.
TEST_F(ReportFile, TheTableIsFoundAsSQLiteFindsIt) {
  auto db = open(Race());
  db->execute("create table xtblsrbericht (disziplin long, feld char(25), wert char(150))");
  db->execute("insert into xtblsrbericht values (2, 'Witterung', ?)", {QString(200, 'N')});
  EnsureReportTable(*db);
  ReportValues v = DefaultReportValues();
  LoadStoredReport(*db, 2, v);
  EXPECT_EQ(at(v, "Witterung"), QString(150, 'N'));  // cut to its column
  db->execute("drop table xtblsrbericht");
  for (const QString kind : {"view", "table"}) {
    db->execute("create " + kind + " XTBLSRBERICHT" +
                (kind == "view" ? " as select 1 as x" : " (Disziplin long)"));
    try {
      EnsureReportTable(*db);
      ADD_FAILURE() << kind.toStdString();
    } catch (const db::Error& e) {
      EXPECT_EQ(e.text(), "Die Bewerbsdatei '" + db->path() +
                              "' ist beschädigt: 'XtblSRBericht' ist nicht die Tabelle der "
                              "gespeicherten Schiedsrichterberichte.\nBitte die Datei im "
                              "Programm Kandor reparieren.");
    }
    db->execute("drop " + kind + " XtblSRBericht");
  }
}

TEST_F(ReportFile, StoreReplacesOneDisciplineWholeOrNotAtAll) {
  auto db = open(Race());
  EnsureReportTable(*db);
  db->execute("insert into XtblSRBericht values (3,'Proteste','einer')");
  db->execute("insert into XtblSRBericht values (2,'Witterung   ','  Nebel  ')");
  db->execute("insert into XtblSRBericht values (2,'witterung','klein')");
  ReportValues v = DefaultReportValues();
  LoadStoredReport(*db, 2, v);
  EXPECT_EQ(at(v, "Witterung"), "Nebel");  // trimmed; the key in other case is ignored

  at(v, "Stangen") = "   ";
  at(v, "Proteste") = "O'Brien";
  v[kOrganisator] = "WSV Musterdorf";
  v[kOrgRennstrecke] = "nie";
  StoreReport(*db, 2, v);
  ReportValues back = DefaultReportValues();
  LoadStoredReport(*db, 2, back);
  EXPECT_EQ(back[kOrganisator], QString("WSV Musterdorf"));  // the first field
  EXPECT_EQ(at(back, "Proteste"), QString("O'Brien"));
  EXPECT_EQ(
      db->scalar("select Wert from XtblSRBericht where Disziplin=2 and Feld='Stangen'").toString(),
      "   ");
  EXPECT_EQ(
      db->scalar("select Wert from XtblSRBericht where Disziplin=2 and Feld='Proteste'").toString(),
      "O'Brien");
  EXPECT_EQ(db->scalar("select count(*) from XtblSRBericht where Feld='Org_Rennstrecke'").toInt(),
            0);
  EXPECT_EQ(db->scalar("select count(*) from XtblSRBericht where Disziplin=3").toInt(), 1);

  // A failing insert keeps the old rows.
  const int before = db->scalar("select count(*) from XtblSRBericht").toInt();
  db->execute(
      "create trigger stop before insert on XtblSRBericht when new.Feld='Unfaelle' "
      "begin select raise(abort,'x'); end");
  EXPECT_THROW(StoreReport(*db, 2, DefaultReportValues()), db::Error);
  EXPECT_EQ(db->scalar("select count(*) from XtblSRBericht").toInt(), before);

  ReportValues longValue = DefaultReportValues();
  at(longValue, "Witterung") = QString(151, 'x');
  EXPECT_EQ(TooLongReportValue(longValue), "Witterung");
}

}  // namespace
}  // namespace kx
