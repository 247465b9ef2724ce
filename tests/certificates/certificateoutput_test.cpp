// Certificate pages read back: the renderer's geometry, the preview's checks, individual,
// export, team and combination runs.

#include "certificates/certificateoutput.h"
#include "certificates/certificaterenderer.h"
#include "pdf/pdfdocument.h"
#include "pdf/pdfpicture.h"
#include "tests/certificates/certificatefixture.h"
#include "tests/support/faults.h"

#include <QImage>

namespace kx::test {
namespace {

class OutputTest : public CertificateTest {
 protected:
  void writeJpg(const QString& name, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(QDir(state.CompetitionDir).filePath(name), "JPG"));
  }
  // Two women and two men in class 1 and 2 with times of the one run; race number "MRBR".
  void openRanked() {
    db::CompetitionSpec race = OneRunRace();
    race.disziplinen[0].bewerbsnummer = QString("MRBR");
    AddRacer(race, 1, "W", 1, "Abel", "Anna").verein = QString("SC MUSTERDORF");
    AddRacer(race, 2, "W", 1, "Berg", "Berta").verein = QString("---");
    AddRacer(race, 3, "M", 2, "Cerny", "Carl");
    AddRacer(race, 4, "M", 2, "Dorn", "Dieter");
    AddRun(race, 1, 1, 6523);
    AddRun(race, 2, 1, 4523);
    AddRun(race, 3, 1, 6000);
    AddRun(race, 4, 1, 5999);
    open(race);
  }
};

TEST_F(OutputTest, RendererBoxesPortraitAndLandscape) {
  openRanked();
  writeJpg("logo.jpg", 40, 30);
  pdf::PdfDocument doc(&ui);
  doc.SetStrProp(pdf::kPropFileName, outputPath("boxes.pdf"));
  SetCertificatePageFormat(doc, true);
  ASSERT_EQ(doc.BeginDoc(), 0);
  PictureCache pictures(state.CompetitionDir);
  auto box = [&](const CertificateEntry& e, bool landscape = false) {
    const auto b = DrawCertificateEntry(doc, e, landscape, pictures);
    return b ? QString("%1,%2,%3,%4,%5")
                   .arg(b->left)
                   .arg(b->top)
                   .arg(b->right)
                   .arg(b->bottom)
                   .arg(b->align)
             : QString("skipped");
  };
  EXPECT_EQ(box({"Links", "Arial, 20", "links", "300", "200"}, true), "200,300,2970,0,0");
  EXPECT_EQ(box({"Links", "Arial, 20", "links", "300", "200"}), "200,300,2100,0,0");
  EXPECT_EQ(box({"Rechts", "Arial, fett, kursiv, 12,5", "rechts", "500", "1900"}),
            "0,500,1900,0,1");
  EXPECT_EQ(box({"LOGO.JPG", "Bild 400x300", "links", "200", "100"}), "100,200,500,500,0");
  EXPECT_EQ(box({"logo.jpg", "Bild 400x300", "rechts", "200", "2000"}), "1600,200,2000,500,0");
  EXPECT_EQ(box({"logo.jpg", "Bild 501x300", "zentr.", "200", "1050"}), "800,200,1300,500,0");
  EXPECT_EQ(box({"fehlt.jpg", "Bild 400x300", "links", "200", "100"}), "skipped");
  EXPECT_EQ(box({"kein Komma", "Arial 10", "links", "200", "100"}), "skipped");
  EXPECT_EQ(box({"x", "Arial, 10", "links", "zwei", "100"}), "skipped");
  EXPECT_EQ(box({"klein bild", "bild 1x1", "links", "700", "100"}), "skipped");  // a text entry
  const auto centred =
      DrawCertificateEntry(doc, {"Mitte", "Arial, 20", "zentr.", "900", "1050"}, false, pictures);
  ASSERT_TRUE(centred);
  const int width = doc.TextWidth("Mitte");  // in the entry's font, which stays set
  EXPECT_NEAR(centred->right - centred->left, width + 10, 1);
  EXPECT_NEAR((centred->right + centred->left) / 2.0, 1050, 1);
  ASSERT_EQ(doc.EndDoc(), 0);

  PdfReader pdf(outputPath("boxes.pdf"));
  ASSERT_TRUE(pdf.isValid());
  EXPECT_GT(pdf.pageSize(1).width(), pdf.pageSize(1).height());
  const auto right = pdf.findWord("Rechts");
  ASSERT_TRUE(right);
  EXPECT_NEAR(right->right(), 1900, 3);
  EXPECT_NEAR(right->top(), 500, 3);
  EXPECT_TRUE(right->bold());
  EXPECT_TRUE(right->italic());
  EXPECT_NEAR(right->size, 12, 0.01);  // 12,5 to the even whole size, drawn exactly
  const auto mitte = pdf.findWord("Mitte");
  ASSERT_TRUE(mitte);
  EXPECT_NEAR(mitte->centerX(), 1050, 3);
  KeepForLooking(outputPath("boxes.pdf"), "urkunde_boxes.pdf");
}

TEST_F(OutputTest, PreviewRefusesMalformedEntriesAndReportsPictures) {
  openRanked();
  writeJpg("ok.jpg", 20, 20);
  QFile broken(QDir(state.CompetitionDir).filePath("kaputt.bmp"));
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("kein Bild");
  broken.close();
  QDir(state.CompetitionDir).mkdir("ordner.jpg");

  EXPECT_TRUE(
      PreviewCertificate(state, {{"A", "Arial, 10", "links", "1e9", "0"}}, false).isEmpty());
  EXPECT_EQ(ui.messageTexts(), QStringList{"Vertikale Position von 'A' ist nicht numerisch"});
  EXPECT_TRUE(ui.saveRequests.isEmpty());

  ui.clear();
  ui.chooseSaveFile(outputPath("vorschau.pdf"));
  const QString file =
      PreviewCertificate(state,
                         {{"<Vorname> <Nachname>", "Arial, 14", "links", "300", "200"},
                          {"ordner.jpg", "Bild 10x10", "links", "0", "0"},
                          {"bild.gif", "Bild 10x10", "links", "0", "0"},
                          {"kaputt.bmp", "Bild 10x10", "links", "0", "0"},
                          {"ok.jpg", "Bild 300x300", "zentr.", "600", "1050"}},
                         false);
  EXPECT_EQ(file, outputPath("vorschau.pdf"));
  ASSERT_EQ(ui.saveRequests.size(), 1);
  EXPECT_EQ(ui.saveRequests[0].fileName, "Cup1-Urkunde-Riesenslalom.pdf");
  EXPECT_EQ(ui.messageTexts(),
            (QStringList{
                "Bild-Datei ordner.jpg nicht gefunden!", "Bild-Datei bild.gif nicht gefunden!",
                "Bild-Datei kaputt.bmp kann nicht gelesen werden, Bild-Datei nicht ausgegeben!"}));
  PdfReader pdf(file);
  EXPECT_EQ(pdf.title(), "Urkunde Cup1 Riesenslalom (Vorschau)");
  EXPECT_TRUE(pdf.findWord("<Vorname>"));
  EXPECT_EQ(ui.viewerOpened, QStringList{file});
  KeepForLooking(file, "urkunde_vorschau.pdf");
}

TEST_F(OutputTest, IndividualRunDescendingWithOffsetsAndCategoryWords) {
  openRanked();
  writeJpg("logo.jpg", 40, 30);
  SaveTemplate(state.db(), 2, false,
               {{"<Platz>. <Vorname Name>", "Arial, fett, 24", "zentr.", "800", "1050"},
                {"<Verein> <Klasse> <Zeit>", "Arial, 12", "links", "1000", "300"},
                {"<Datum> <Bewerbsdatum> <Disziplin>", "Arial, 10", "links", "1200", "300"},
                {"logo.jpg", "Bild 400x300", "links", "200", "100"}});
  CertificateRunOptions o;
  o.grouping = 3;
  o.sorting = 1;
  o.ranks = "2";
  o.offsetVertical = "-30";
  o.offsetHorizontal = "10,5";  // half to even: 10
  ui.chooseSaveFile(outputPath("urkunden.pdf"));
  const CertificateRunResult r = RunCertificateOutput(state, o);
  ASSERT_TRUE(r.written);
  EXPECT_EQ(r.certificates, 4);
  PdfReader pdf(r.file);
  ASSERT_EQ(pdf.pageCount(), 4);
  // Women first (sex descending), each division from its last kept place to the winner.
  EXPECT_TRUE(pdf.findWord("Anna", 1));
  EXPECT_TRUE(pdf.findWord("Berta", 2));
  EXPECT_TRUE(pdf.findWord("Carl", 3));
  EXPECT_TRUE(pdf.findWord("Dieter", 4));
  EXPECT_TRUE(pdf.findWord("Mädchen", 1));
  EXPECT_TRUE(pdf.findWord("Buben", 3));
  EXPECT_TRUE(pdf.findWord("1:05,23", 1));
  EXPECT_TRUE(pdf.findWord("Musterdorf", 1));  // the club as it is written on certificates
  EXPECT_TRUE(pdf.findWord("07.12.2026", 1));
  EXPECT_TRUE(pdf.findWord("16.01.2027", 1));
  EXPECT_EQ(pdf.findWord("Berta", 2)->top(), pdf.findWord("Anna", 1)->top());
  const auto date = pdf.findWord("07.12.2026", 1);
  EXPECT_NEAR(date->left(), 310, 3);
  EXPECT_NEAR(date->top(), 1170, 3);
  EXPECT_EQ(ui.viewerOpened, QStringList{r.file});
  KeepForLooking(r.file, "urkunde_einzel.pdf");
}

TEST_F(OutputTest, ExportWritesTheListAndRefusesAnUnwritableListFirst) {
  openRanked();
  SaveTemplate(state.db(), 2, true, {{"<Vorname Name>", "Arial, 20", "links", "500", "500"}});
  CertificateRunOptions o;
  o.exportMode = true;
  o.grouping = 1;
  o.ranks = "99";
  QDir(dir_.path()).mkdir("liste.txt");
  ui.chooseSaveFile(outputPath("liste.PDF"));
  EXPECT_FALSE(RunCertificateOutput(state, o).written);
  ASSERT_FALSE(ui.messages.isEmpty());
  EXPECT_EQ(ui.messages.last().text,
            outputPath("liste.txt") +
                "\r\nkann nicht ausgegeben werden\r\n(ist vermutlich noch geöffnet)");
  EXPECT_FALSE(QFile::exists(outputPath("liste.PDF")));

  ui.clear();
  ui.chooseSaveFile(outputPath("export.pdf"));
  const CertificateRunResult r = RunCertificateOutput(state, o);
  ASSERT_TRUE(r.written);
  QFile list(outputPath("export.txt"));
  ASSERT_TRUE(list.open(QIODevice::ReadOnly));
  EXPECT_EQ(list.readAll(), QByteArray("Seite\tPlatz\tVorname\tNachname\tVerein\tKlasse\r\n"
                                       "1\t1\tBerta\tBerg\t---\tKinder weiblich\r\n"
                                       "2\t2\tAnna\tAbel\tSC MUSTERDORF\tKinder weiblich\r\n"
                                       "3\t1\tDieter\tDorn\tSC Verein4\tKinder m\xE4nnlich\r\n"
                                       "4\t2\tCarl\tCerny\tSC Verein3\tKinder m\xE4nnlich\r\n"));
  ASSERT_FALSE(ui.messages.isEmpty());
  EXPECT_EQ(ui.messages.last().text, "2 Dateien für den Upload bei Startora erstellt");
  EXPECT_TRUE(ui.viewerOpened.isEmpty());
  EXPECT_EQ(PdfReader(r.file).pageCount(), 4);
}

// The disk fills up while the export writes its PDF (a file-size limit in a child process):
// the complete list does not replace the earlier one either; the message names the cause.
TEST_F(OutputTest, ExportOnAFullDiskKeepsBothEarlierFiles) {
  openRanked();
  SaveTemplate(state.db(), 2, true, {{"<Vorname Name>", "Arial, 20", "links", "500", "500"}});
  for (const char* name : {"export.pdf", "export.txt"}) {
    QFile f(outputPath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(name) > 0);
  }
  CertificateRunOptions o;
  o.exportMode = true;
  o.ranks = "99";
  ui.chooseSaveFile(outputPath("export.pdf"));
  EXPECT_EXIT(ExitUnderFileSizeLimit(
                  4000, [&] { return RunCertificateOutput(state, o).written ? 0 : 3; },
                  [&] { return ui.messageTexts(); }),
              ::testing::ExitedWithCode(9),
              "export.pdf' kann nicht geschrieben werden: die Datei überschreitet");
  for (const char* name : {"export.pdf", "export.txt"}) {
    QFile f(outputPath(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly) && f.readAll() == name) << name;
  }
  EXPECT_EQ(QDir(dir_.path()).entryList({"export*"}), QStringList({"export.pdf", "export.txt"}));
}

// A template text of 30,000 characters stored by another program is drawn cut to its column.
TEST_F(OutputTest, AStoredTextLongerThanItsColumnIsDrawnCut) {
  openRanked();
  SaveTemplate(state.db(), 2, true, {{"x", "Arial, 5", "links", "500", "100"}});
  const QString text = QStringLiteral("Urkunde ").repeated(3750);
  state.db().execute("update XtblUrkunde set TxText=? where id=1", {text});
  CertificateRunOptions o;
  o.ranks = "1";
  ui.chooseSaveFile(outputPath("lang.pdf"));
  ASSERT_TRUE(RunCertificateOutput(state, o).written);
  PdfReader pdf(outputPath("lang.pdf"));
  EXPECT_EQ(pdf.lineTexts(1).join(QString()).remove(QLatin1Char(' ')),
            text.left(150).remove(QLatin1Char(' ')));
  KeepForLooking(outputPath("lang.pdf"), "urkunde_lang.pdf");
}

TEST_F(OutputTest, InputChecksComeBeforeTheDialog) {
  openRanked();
  SaveTemplate(state.db(), 2, false, {{"<Nachname>", "Arial, 20", "links", "500", "500"}});
  CertificateRunOptions o;
  o.ranks = "zehn";
  RunCertificateOutput(state, o);
  o.ranks = "10";
  o.offsetHorizontal = "";
  RunCertificateOutput(state, o);
  EXPECT_EQ(ui.messageTexts(), (QStringList{"Anzahl Ränge ist nicht numerisch",
                                            "Horizontaler Versatz ist nicht numerisch"}));
  EXPECT_TRUE(ui.saveRequests.isEmpty());
}

TEST_F(OutputTest, TeamCertificatesFromTheTeamRanking) {
  db::CompetitionSpec race = OneRunRace();
  race.grpMannschaften = {{1, "Nord", 1}};
  race.mannschaften = {{1, "Team A", 1, 1}, {2, "Team B", 2, 1}};
  const char* names[] = {"Wanda", "Max", "Wilma", "Moritz"};
  for (int id = 1; id <= 4; ++id) {
    AddRacer(race, id, id % 2 ? "W" : "M", 2, names[id - 1], names[id - 1]).mannschaft =
        (id + 1) / 2;
    AddRun(race, id, 1, 6000 + id * 100);
  }
  open(race);
  SaveTemplate(state.db(), 7, false,
               {{"<Platz>. <Mannschaft>", "Arial, 16", "links", "500", "200"},
                {"<MS-Teilnehmer> <Zeit>", "Arial, 10", "links", "800", "200"}});
  CertificateRunOptions o;
  o.team = true;
  o.ranks = "10";
  o.sorting = 1;
  o.teamSettings = {"keine Unterteilung", 2, 1, 1};
  ui.chooseSaveFile(outputPath("teams.pdf"));
  const auto r = RunCertificateOutput(state, o);
  ASSERT_EQ(ui.saveRequests.size(), 1);
  EXPECT_EQ(ui.saveRequests[0].fileName, "Cup1-Urkunde-Mannschaft.pdf");
  PdfReader pdf(r.file);
  ASSERT_EQ(pdf.pageCount(), 2);
  const QStringList first = pdf.lineTexts(1), second = pdf.lineTexts(2);
  ASSERT_FALSE(first.isEmpty() || second.isEmpty());
  EXPECT_EQ(first.first(), "2. Nord / Team B");
  EXPECT_EQ(second.first(), "1. Nord / Team A");
  EXPECT_EQ(second.last(), "Wanda Wanda, Max Max 1,00");
  KeepForLooking(r.file, "urkunde_team.pdf");
}

TEST_F(OutputTest, CombinationStoresTimesOnlyAfterTheDialog) {
  db::CompetitionSpec race = EmptyRace();
  race.disziplinen[0].durchgaenge = race.disziplinen[1].durchgaenge = 1;
  race.disziplinen[1].datum_startliste = QDate(2027, 1, 20);  // slalom
  AddRacer(race, 1, "W", 1, "Abel").disziplinen[3] = {true, 1, 9999.99, 9999.99};
  AddRacer(race, 2, "W", 1, "Berg").disziplinen[3] = {true, 2, 9999.99, 9999.99};
  AddRun(race, 1, 1, 6123);
  AddRun(race, 2, 1, 5840);
  for (int id : {1, 2}) {
    db::ZeitSpec z;
    z.teilnehmer = id;
    z.disziplin = 3;
    z.netto = db::HundredthsToDay(id == 1 ? 5000 : 5400);
    race.zeiten.push_back(z);
  }
  open(race);
  state.CurrentDisciplineType = 6;
  SaveTemplate(state.db(), 6, false,
               {{"<Platz> <Nachname> <Zeit> <Bewerbsdatum>", "Arial, 12", "links", "500", "200"}});
  CertificateRunOptions o;
  o.grouping = 0;
  o.evaluation = 0;
  o.disciplines = {false, false, true, false, false, false};
  RunCertificateOutput(state, o);
  ASSERT_FALSE(ui.messages.isEmpty());
  EXPECT_EQ(ui.messages.last().text, "Bitte mindestens 2 Disziplinen auswählen");
  o.disciplines[3] = true;
  ui.cancelNextSave();
  RunCertificateOutput(state, o);
  EXPECT_EQ(state.db().scalar("select rpktegs from tblTeilnehmer where id=1").toDouble(), 9999.99);
  ui.chooseSaveFile(outputPath("kombi.pdf"));
  const auto r = RunCertificateOutput(state, o);
  PdfReader pdf(r.file);
  ASSERT_EQ(pdf.pageCount(), 2);
  const QStringList first = pdf.lineTexts(1), second = pdf.lineTexts(2);
  ASSERT_FALSE(first.isEmpty() || second.isEmpty());
  EXPECT_EQ(first.first(), "1 Abel 1:51,23 16.-20.01.2027");
  EXPECT_EQ(second.first(), "2 Berg 1:52,40 16.-20.01.2027");
}

}  // namespace
}  // namespace kx::test

namespace kx::test {
namespace {

// A red square as a placeable Windows metafile and as an enhanced metafile.
QByteArray Words(std::initializer_list<int> words) {
  QByteArray out;
  for (int w : words) {
    out.append(static_cast<char>(w & 0xFF));
    out.append(static_cast<char>((w >> 8) & 0xFF));
  }
  return out;
}
QByteArray Longs(std::initializer_list<qint64> longs) {
  QByteArray out;
  for (qint64 l : longs)
    out += Words({static_cast<int>(l & 0xFFFF), static_cast<int>((l >> 16) & 0xFFFF)});
  return out;
}
QByteArray RedWmf() {
  QByteArray head = Longs({0x9AC6CDD7}) + Words({0, 0, 0, 1000, 1000, 1440}) + Longs({0});
  int checksum = 0;
  for (int i = 0; i < 20; i += 2) checksum ^= (uchar(head[i]) | uchar(head[i + 1]) << 8);
  head += Words({checksum});
  const QByteArray records =
      Longs({5}) + Words({0x020B, 0, 0}) + Longs({5}) + Words({0x020C, 1000, 1000}) + Longs({7}) +
      Words({0x02FC, 0}) + Longs({0x0000FF}) + Words({0}) + Longs({4}) + Words({0x012D, 0}) +
      Longs({7}) + Words({0x041B, 1000, 1000, 0, 0}) + Longs({3}) + Words({0});
  const int size = (18 + records.size()) / 2;
  return head + Words({1, 9, 0x0300}) + Longs({size}) + Words({1}) + Longs({7}) + Words({0}) +
         records;
}
QByteArray RedEmf() {
  const QByteArray records = Longs({39, 24, 1, 0, 0x0000FF, 0}) + Longs({37, 12, 1}) +
                             Longs({43, 24, 0, 0, 99, 99}) + Longs({14, 20, 0, 16, 20});
  const qint64 total = 88 + records.size();
  return Longs({1, 88, 0, 0, 99, 99, 0, 0, 2540, 2540, 0x464D4520, 0x10000, total, 5}) +
         Words({1, 0}) + Longs({0, 0, 0, 1024, 768, 320, 240}) + records;
}

TEST(CertificatePictures, EveryFormatDecodesAndAnUnreadableOneIsNull) {
  QTemporaryDir dir;
  auto write = [&](const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return dir.filePath(name);
  };
  QImage small(16, 16, QImage::Format_RGB32), large(48, 48, QImage::Format_RGB32);
  small.fill(Qt::red);
  large.fill(Qt::red);
  ASSERT_TRUE(small.save(dir.filePath("a.bmp"), "BMP"));
  ASSERT_TRUE(small.save(dir.filePath("a.jpeg"), "JPG"));
  ASSERT_TRUE(large.save(dir.filePath("a.ico"), "ICO"));
  for (const QString& name : {QString("a.bmp"), QString("a.jpeg"), QString("a.ico")}) {
    EXPECT_FALSE(pdf::LoadPicture(dir.filePath(name)).isNull()) << name.toStdString();
  }
  EXPECT_EQ(pdf::LoadPicture(dir.filePath("a.ico")).width(), 48);
  for (const QString& path : {write("rot.wmf", RedWmf()), write("rot.emf", RedEmf())}) {
    const QImage image = pdf::LoadPicture(path);
    ASSERT_FALSE(image.isNull()) << path.toStdString();
    const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
    EXPECT_GT(centre.red(), 200) << path.toStdString();
    EXPECT_LT(centre.green(), 60) << path.toStdString();
  }
  EXPECT_TRUE(pdf::LoadPicture(write("kaputt.emf", "kein Bild")).isNull());
  EXPECT_TRUE(pdf::LoadPicture(write("kaputt.wmf", "kein Bild")).isNull());
}

}  // namespace
}  // namespace kx::test
