#include "app/competitionfile.h"
#include "db/database.h"
#include "tests/support/appfixture.h"
#include "tests/support/faults.h"

#include <QDir>
#include <QFile>
#include <QLabel>

#include <sqlite3.h>

namespace kx::test {
namespace {

using OpenTest = AppFixture;

const QString kGuardMessage =
    "Das Bearbeiten der Urkunden bitte mit Speichern oder Verwerfen verlassen";

TEST_F(OpenTest, StartUpShowsTheAboutPanelWithOnlyFileFreeEntriesUsable) {
  EXPECT_EQ(window().windowTitle(), "Kandrix: Kandor Zusatzprogramm");
  EXPECT_TRUE(window().findChild<QWidget*>("FrameInfo")->isVisibleTo(&window()));
  EXPECT_EQ(window().findChild<QLabel*>("InfoVersion")->text(), "Version 3.7.6");
  EXPECT_EQ(state().CreditLine, "erstellt mit Kandrix (Kandor Zusatzprogramm) - Version 3.7.6");
  EXPECT_EQ(state().Season, "2026/2027");
  EXPECT_EQ(state().CurrentDisciplineType, 0);
  EXPECT_EQ(state().DataDir, dataDir());
  EXPECT_EQ(state().DirectionChangeRules.size(), 4u);
  for (const char* on :
       {"DateiOeffnen", "DateiBeenden", "BearbeitenRichtungsaenderungen", "HandzeitLadenALGETimy",
        "HandzeitLadenDIGISport", "HandzeitLadenTAGHeuer", "HandzeitLadenDatei", "Info"}) {
    EXPECT_TRUE(enabled(on)) << on;
  }
  for (const char* off :
       {"DateiSchliessen", "ImportCSV", "DisziplinRS", "DisziplinKombination",
        "BearbeitenStartliste", "BearbeitenErgebnisliste", "LiveTiming", "Zeituebernahme",
        "UrkundenBearbeiten", "SR_Bericht_anzeigen", "KSFIdPunkte", "TeilnehmerLoeschen"}) {
    EXPECT_FALSE(enabled(off)) << off;
  }
}

TEST_F(OpenTest, DataDirectoryFallsBackToTheMainProgramsDefault) {
  QFile::remove(QDir(programDir()).filePath("Kandor.ini"));
  startWindow();
  EXPECT_EQ(state().DataDir, "C:\\Programme\\Kandor");
  trigger("DateiOeffnen");  // cancelled
  ASSERT_EQ(ui().openRequests.size(), 1);
  EXPECT_EQ(ui().openRequests[0].directory, "C:\\Programme\\Kandor");
  EXPECT_EQ(ui().openRequests[0].title, "Öffnen");
  EXPECT_EQ(ui().openRequests[0].filter, "Bewerbsdatei|*.mdb");
}

TEST_F(OpenTest, OpensAFileAndMakesItsFirstActiveDisciplineCurrent) {
  const QString path = writeCompetition("Cup 2024.mdb", SmallCompetition());
  openThroughMenu(path);
  EXPECT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
  EXPECT_EQ(state().CompetitionFileName, "Cup 2024");
  EXPECT_EQ(state().CompetitionDir, dataDir());
  EXPECT_EQ(state().CurrentDisciplineType, 2);
  EXPECT_EQ(state().CurrentDisciplineCode, "gs");
  EXPECT_EQ(state().Settings.bewerbsnummer, "1234");
  EXPECT_EQ(state().Settings.typ, "4");
  EXPECT_EQ(state().Settings.punktewertung, "True");
  EXPECT_EQ(window().windowTitle(), "Kandrix -- Cup 2024 -- Riesenslalom");
  EXPECT_TRUE(checked("DisziplinRS"));
  EXPECT_FALSE(checked("DisziplinSL"));
  EXPECT_TRUE(enabled("DisziplinSL"));
  EXPECT_FALSE(enabled("DisziplinDH"));  // inactive
  EXPECT_EQ(state().DisciplineNames[0], "Abfahrt");
  EXPECT_TRUE(enabled("DisziplinKombination"));
  EXPECT_FALSE(checked("DisziplinKombination"));
  EXPECT_EQ(state().DisciplineListTitles[6], "Kombination");
  EXPECT_EQ(state().DisciplineListTitles[7], "Mannschaft");
  EXPECT_TRUE(state().DisciplineActive[6]);
  EXPECT_EQ(window().action("DisziplinPSL")->text(), "Parallelslalom");
  EXPECT_TRUE(enabled("DateiSchliessen"));
  EXPECT_TRUE(enabled("KSFIdPunkte"));
  EXPECT_TRUE(enabled("BearbeitenStartliste"));
  EXPECT_TRUE(enabled("UrkundenBearbeiten"));
  EXPECT_FALSE(enabled("BearbeitenTeilnehmerdaten"));
  EXPECT_TRUE(window().frameTitel()->text().isEmpty());
  EXPECT_FALSE(window().findChild<QWidget*>("FrameInfo")->isVisibleTo(&window()));
}

TEST_F(OpenTest, FileNameIsThePathBetweenTheLastSlashAndTheLastDot) {
  openThroughMenu(writeCompetition("a.b.mdb", SmallCompetition()));
  EXPECT_EQ(state().CompetitionFileName, "a.b");
  openThroughMenu(writeCompetition("ohne", SmallCompetition()));
  EXPECT_EQ(state().CompetitionFileName, "ohne");
}

TEST_F(OpenTest, TheNextOpenDialogStartsInTheLastDirectoryAlsoAfterARestart) {
  QDir(dataDir()).mkpath("Rennen");
  const QString path = QDir(dataDir()).filePath("Rennen/Cup.mdb");
  db::BuildCompetitionFile(path, SmallCompetition());
  openThroughMenu(path);
  startWindow();
  trigger("DateiOeffnen");
  ASSERT_EQ(ui().openRequests.size(), 1);
  EXPECT_EQ(ui().openRequests[0].directory, QDir(dataDir()).filePath("Rennen"));
}

TEST_F(OpenTest, CancellingTheDialogLeavesTheOpenFileUsable) {
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  trigger("DateiOeffnen");  // no answer scripted: cancelled
  EXPECT_TRUE(state().fileOpen());
  EXPECT_TRUE(enabled("DateiSchliessen"));
  EXPECT_EQ(state().CompetitionFileName, "Cup");
  EXPECT_TRUE(ui().messages.isEmpty());
}

TEST_F(OpenTest, WithoutMasterDataTheInstallationIsRefused) {
  QFile::remove(QDir(programDir()).filePath("STAMMDAT.mdb"));
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text,
            "Achtung: Das Programm Kandrix ist nicht im Programmverzeichnis des Programms Kandor "
            "installiert!");
  EXPECT_FALSE(state().fileOpen());
  EXPECT_TRUE(ui().openRequests.isEmpty());
}

TEST_F(OpenTest, MasterDataHeldByAnotherProgramIsInUseNotMissing) {
  const QString master = QDir(programDir()).filePath("STAMMDAT.mdb");
  const HeldFile held(master);
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  EXPECT_EQ(
      ui().messageTexts(),
      QStringList{
          "Die Datei '" + master +
          "' wird gerade von einem anderen Programm verwendet.\nBitte später nochmals versuchen."});
  EXPECT_FALSE(state().fileOpen());
}

struct BadFile {
  const char* name;
  QByteArray bytes;
};
void PrintTo(const BadFile& file, std::ostream* out) {
  *out << file.name;
}

class BadFileTest : public AppFixture, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadFileTest, IsRefusedAsNoCompetitionFileAndTheEarlierFileStaysOpen) {
  const QString good = writeCompetition("Gut.mdb", SmallCompetition());
  openThroughMenu(good);
  const QString caption = window().windowTitle();

  const QString bad = QDir(dataDir()).filePath("Fremd.mdb");
  QFile f(bad);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(GetParam().bytes);
  f.close();
  ui().clear();
  openThroughMenu(bad);

  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text, "Die Datei '" + bad + "' ist keine Kandor-Bewerbsdatei");
  EXPECT_EQ(ui().messages[0].title, "Datei öffnen");
  EXPECT_EQ(ui().messages[0].icon, MsgIcon::Exclamation);
  // The earlier file is still the open one, with its menus.
  EXPECT_EQ(state().CompetitionFileName, "Gut");
  EXPECT_EQ(window().windowTitle(), caption);
  EXPECT_TRUE(enabled("BearbeitenStartliste"));
  EXPECT_EQ(state().db().scalar("select count(*) from tblTeilnehmer").toInt(), 6);
}

std::string BadFileName(const ::testing::TestParamInfo<BadFile>& param) {
  return param.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadFileTest,
    ::testing::Values(BadFile{"Empty", QByteArray()},
                      BadFile{"Text", QByteArray("Das ist keine Datenbank, nur Text.\n")},
                      BadFile{"OtherDatabase",
                              QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) +
                                  QByteArray(2000, '\x5a')}),
    BadFileName);

TEST_F(OpenTest, AnSqliteFileWithoutTheCompetitionTableIsNoCompetitionFile) {
  const QString path = QDir(dataDir()).filePath("Andere.mdb");
  auto db = db::Connection::create(path);
  db->execute("create table tblIrgendwas (id long)");
  db.reset();
  openThroughMenu(path);
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text, "Die Datei '" + path + "' ist keine Kandor-Bewerbsdatei");
  EXPECT_FALSE(state().fileOpen());
}

TEST_F(OpenTest, FilesWithoutUsableSettingsOrActiveDisciplineAreNotOpened) {
  auto noActive = SmallCompetition();
  for (auto& d : noActive.disziplinen) d.aktiv = false;
  auto typNull = SmallCompetition();
  typNull.typNull = true;
  auto noBewerb = SmallCompetition();
  noBewerb.withBewerbRow = false;
  const QString good = writeCompetition("Gut.mdb", SmallCompetition());
  for (const auto& [name, race] :
       {std::pair{"keineAktive.mdb", noActive}, std::pair{"typNull.mdb", typNull},
        std::pair{"leer.mdb", noBewerb}}) {
    openThroughMenu(good);
    ui().clear();
    openThroughMenu(writeCompetition(name, race));
    ASSERT_EQ(ui().messages.size(), 1) << name;
    EXPECT_EQ(ui().messages[0].text, "Keine Daten gefunden!");
    EXPECT_EQ(ui().messages[0].title, "Achtung");
    EXPECT_EQ(state().CompetitionFileName, "Gut") << name;
    EXPECT_TRUE(state().fileOpen());
  }
}

TEST_F(OpenTest, ValuesOfTheEarlierFileDoNotSurviveTheNextOpen) {
  auto first = SmallCompetition();
  first.disziplinen.push_back({5, true, QString("P1"), "Parallel", std::nullopt, std::nullopt, 1});
  first.listenkopf.push_back({5, 94, "Parallel"});
  openThroughMenu(writeCompetition("Erste.mdb", first));
  EXPECT_TRUE(enabled("DisziplinPSL"));
  auto second = SmallCompetition();
  second.disziplinen = {second.disziplinen[1]};  // slalom only
  second.listenkopf = {{3, 94, "Slalom"}};
  openThroughMenu(writeCompetition("Zweite.mdb", second));
  EXPECT_FALSE(enabled("DisziplinPSL"));
  EXPECT_FALSE(enabled("DisziplinRS"));
  EXPECT_TRUE(state().DisciplineNames[5].isEmpty());
  EXPECT_TRUE(state().DisciplineListTitles[2].isEmpty());
  EXPECT_EQ(state().CurrentDisciplineType, 3);
  EXPECT_TRUE(checked("DisziplinSL"));
  EXPECT_FALSE(checked("DisziplinRS"));
  // One active discipline: no combination.
  EXPECT_FALSE(enabled("DisziplinKombination"));
  EXPECT_FALSE(state().DisciplineActive[6]);
  EXPECT_EQ(state().Settings.bewerbsnummer, "MB77");
}

TEST_F(OpenTest, CompetitionType8NamesTheParallelSlalom) {
  auto race = SmallCompetition();
  race.bewerb.typ = 8;
  race.disziplinen = {{5, true, QString("P1"), "Parallel", std::nullopt, std::nullopt, 1},
                      {3, true, QString("S1"), "Slalom", std::nullopt, std::nullopt, 2}};
  race.listenkopf = {{5, 94, "PSL"}, {3, 94, "Slalom"}};
  openThroughMenu(writeCompetition("Verein.mdb", race));
  EXPECT_EQ(window().windowTitle(), "Kandrix -- Verein -- Zovudo Vivurar");
  EXPECT_EQ(window().action("DisziplinPSL")->text(), "Zovudo Vivurar");
  trigger("DisziplinSL");
  EXPECT_EQ(window().windowTitle(), "Kandrix -- Verein -- Slalom");
  trigger("DisziplinPSL");
  EXPECT_EQ(window().windowTitle(), "Kandrix -- Verein -- Zovudo Vivurar");
}

TEST_F(OpenTest, FederationPointsTakeoverNeedsCodesAndPoints) {
  auto race = SmallCompetition();
  race.bewerb.code_aktiv = false;
  openThroughMenu(writeCompetition("a.mdb", race));
  EXPECT_FALSE(enabled("KSFIdPunkte"));
  race.bewerb.code_aktiv = true;
  race.bewerb.punktewertung = false;
  openThroughMenu(writeCompetition("b.mdb", race));
  EXPECT_FALSE(enabled("KSFIdPunkte"));
  race.bewerb.punktewertung = true;
  openThroughMenu(writeCompetition("c.mdb", race));
  EXPECT_TRUE(enabled("KSFIdPunkte"));
}

TEST_F(OpenTest, HasStartOrderTableFollowsTheOpenedFile) {
  const QString with = writeCompetition("mit.mdb", SmallCompetition());
  {
    auto db = db::Connection::open(with);
    db->execute(
        "create table tblStali (durchgang short not null, reihenfolge char(50) not null, "
        "primary key(durchgang))");
  }
  openThroughMenu(with);
  EXPECT_TRUE(state().HasStartOrderTable);
  openThroughMenu(writeCompetition("ohne.mdb", SmallCompetition()));
  EXPECT_FALSE(state().HasStartOrderTable);
}

TEST_F(OpenTest, CloseReturnsTheWindowToItsStateWithoutAFile) {
  openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  trigger("DateiSchliessen");
  EXPECT_FALSE(state().fileOpen());
  EXPECT_EQ(window().windowTitle(), "Kandrix: Kandor Zusatzprogramm");
  EXPECT_EQ(state().CurrentDisciplineType, -1);
  EXPECT_TRUE(state().CurrentDisciplineCode.isEmpty());
  for (const char* off : {"DateiSchliessen", "DisziplinRS", "DisziplinKombination",
                          "BearbeitenStartliste", "UrkundenBearbeiten", "ImportCSV"}) {
    EXPECT_FALSE(enabled(off)) << off;
  }
  EXPECT_FALSE(checked("DisziplinRS"));
  for (const char* on : {"DateiOeffnen", "DateiBeenden", "BearbeitenRichtungsaenderungen",
                         "HandzeitLadenDatei", "Info"}) {
    EXPECT_TRUE(enabled(on)) << on;
  }
}

// The version classes and the federation-id column.
struct VersionCase {
  int version;
  bool withSvid;
  const char* versionClass;
  bool svidAfterOpen;
};

class VersionTest : public AppFixture, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, ClassifiesAndAddsTheFederationIdWhereTheClassCallsForIt) {
  const VersionCase c = GetParam();
  auto race = SmallCompetition();
  race.version = c.version;
  race.withSvid = c.withSvid;
  const QString path = writeCompetition("v.mdb", race);
  openThroughMenu(path);
  EXPECT_TRUE(ui().messages.isEmpty());
  EXPECT_EQ(state().FileVersionClass, c.versionClass);
  EXPECT_EQ(state().db().hasColumn("tblTeilnehmer", "svid"), c.svidAfterOpen);
  trigger("DateiSchliessen");

  auto db = db::Connection::open(path);
  EXPECT_EQ(db->hasColumn("tblTeilnehmer", "SVID"), c.svidAfterOpen);
  if (c.svidAfterOpen) {
    // Several participants without an id, but no id twice.
    db->execute("update tblTeilnehmer set svid=null");
    db->execute("update tblTeilnehmer set svid=4711 where id=1");
    EXPECT_THROW(db->execute("update tblTeilnehmer set svid=4711 where id=2"), db::Error);
  }
  db.reset();
  // Opening again changes nothing.
  openThroughMenu(path);
  EXPECT_TRUE(ui().messages.isEmpty());
  EXPECT_EQ(state().db().hasColumn("tblTeilnehmer", "svid"), c.svidAfterOpen);
}

void PrintTo(const VersionCase& c, std::ostream* out) {
  *out << "version " << c.version << (c.withSvid ? " with svid" : " without svid");
}

std::string VersionName(const ::testing::TestParamInfo<VersionCase>& param) {
  return "Version" + std::to_string(param.param.version) +
         (param.param.withSvid ? "WithSvid" : "WithoutSvid");
}

INSTANTIATE_TEST_SUITE_P(
    Classes, VersionTest,
    ::testing::Values(VersionCase{14, false, "40", false}, VersionCase{14, true, "40", true},
                      VersionCase{15, false, "51", true}, VersionCase{17, false, "51", true},
                      VersionCase{18, false, "55", true}, VersionCase{30, true, "55", true}),
    VersionName);

TEST(VersionClass, IsDecidedByTheVersionNumber) {
  EXPECT_EQ(VersionClassOf(0), "40");
  EXPECT_EQ(VersionClassOf(14), "40");
  EXPECT_EQ(VersionClassOf(15), "51");
  EXPECT_EQ(VersionClassOf(17), "51");
  EXPECT_EQ(VersionClassOf(18), "55");
  EXPECT_EQ(VersionClassOf(30), "55");
}

TEST_F(OpenTest, TheLastVersionRowDecides) {
  const QString path = writeCompetition("zwei.mdb", SmallCompetition());
  {
    auto db = db::Connection::open(path);
    db->execute("delete from tblVersion");
    db->execute("insert into tblVersion (version) values (20)");
    db->execute("insert into tblVersion (version) values (14)");
  }
  openThroughMenu(path);
  EXPECT_EQ(state().FileVersionClass, "40");
}

TEST_F(OpenTest, AClass40FileIsNeverAltered) {
  auto race = SmallCompetition();
  race.version = 12;
  race.withSvid = false;
  const QString path = writeCompetition("alt.mdb", race);
  QFile before(path);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray bytes = before.readAll();
  before.close();
  openThroughMenu(path);
  trigger("DateiSchliessen");
  QFile after(path);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), bytes);
}

// Runs statements on a file the way another program would: without our collation and
// functions.
void RunForeign(const QString& path, const char* sql) {
  sqlite3* raw = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &raw), SQLITE_OK);
  char* error = nullptr;
  EXPECT_EQ(sqlite3_exec(raw, sql, nullptr, nullptr, &error), SQLITE_OK) << error;
  sqlite3_free(error);
  sqlite3_close(raw);
}

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A refused file leaves the earlier one open with its caption and menus, and is not changed.
// The earlier file is sound though edited elsewhere and indexed in our German order.
class RefusedOpenTest : public AppFixture {
 protected:
  void openRefused(const QString& bad, const QString& expectedStart) {
    auto race = SmallCompetition();
    race.teilnehmer[0].nachname = "Ärmel";
    race.teilnehmer[1].nachname = "arm";
    const QString good = writeCompetition("Gut.mdb", race);
    db::Connection::open(good)->execute(
        "create index tblTeilnehmerName on tblTeilnehmer (nachname)");
    RunForeign(good, "update tblTeilnehmer set jahrgang = 2010 where id = 4");
    openThroughMenu(good);
    ASSERT_TRUE(ui().messages.isEmpty()) << ui().messageTexts().join("|").toStdString();
    trigger("DisziplinSL");
    const QString caption = window().windowTitle();
    const QByteArray before = Bytes(bad);
    openThroughMenu(bad);
    ASSERT_EQ(ui().messages.size(), 1);
    EXPECT_TRUE(ui().messages[0].text.startsWith(expectedStart))
        << ui().messages[0].text.toStdString();
    EXPECT_EQ(state().CompetitionFileName, "Gut");
    EXPECT_EQ(window().windowTitle(), caption);
    EXPECT_TRUE(checked("DisziplinSL"));
    EXPECT_TRUE(enabled("TeilnehmerLoeschen"));
    EXPECT_EQ(state().db().scalar("select count(*) from tblTeilnehmer").toInt(), 6);
    EXPECT_EQ(Bytes(bad), before);
  }
};

// An index that misses rows (the lists reading through it would miss racers), and a file
// the menu routines cannot read: neither is opened nor upgraded.
TEST_F(RefusedOpenTest, DamagedAndHalfReadableFilesAreRefusedUnchanged) {
  const struct {
    const char* file;
    const char* sql;
    QString message;
  } cases[] = {{"Defekt.mdb",
                "create index tblTeilnehmerJg on tblTeilnehmer (jahrgang) where id < 3;"
                "pragma writable_schema = 1; update sqlite_master set sql = 'create index "
                "tblTeilnehmerJg on tblTeilnehmer (jahrgang)' where name = 'tblTeilnehmerJg';",
                "' ist beschädigt und wird nicht geöffnet.\nBitte die Datei im Programm Kandor "
                "reparieren.\n\nrow 3 missing from index tblTeilnehmerJg"},
               {"Halb.mdb", "alter table tblTeilnehmer drop column mannschaft",
                "' kann nicht geöffnet werden:\nno such column: mannschaft"}};
  for (const auto& c : cases) {
    auto race = SmallCompetition();
    race.withSvid = false;  // the open would otherwise add the column
    const QString bad = writeCompetition(c.file, race);
    RunForeign(bad, c.sql);
    ui().clear();
    openRefused(bad, "Die Datei '" + bad + c.message);
    EXPECT_FALSE(db::Connection::open(bad)->hasColumn("tblTeilnehmer", "svid"));
  }
}

TEST_F(RefusedOpenTest, AFileLockedByAnotherProgramIsNamedAsSuch) {
  const QString locked = writeCompetition("Gesperrt.mdb", SmallCompetition());
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(QFile::encodeName(locked).constData(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "begin exclusive", nullptr, nullptr, nullptr), SQLITE_OK);
  db::SetBusyTimeout(50);
  openRefused(locked, "Die Datei '" + locked +
                          "' wird gerade von einem anderen Programm verwendet.\nBitte später "
                          "nochmals versuchen.");
  db::SetBusyTimeout(2000);
  sqlite3_close_v2(other);
}

}  // namespace
}  // namespace kx::test
