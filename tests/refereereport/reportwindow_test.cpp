// The referee report's window through the menu and real keys, and its page read back.

#include "refereereport/reportwindow.h"
#include "refereereport/registration.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"
#include "workpanel/menuentries.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kx::test {
namespace {

class ReportWindowTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    db::CompetitionSpec race = SmallCompetition();
    race.listenkopf.push_back({2, 2, "SC Musterdorf mit einem sehr langen Namen als Veranstalter"});
    openThroughMenu(writeCompetition("Cup.mdb", race));
  }
  RefereeReportWindow* report() {
    trigger(menu::SR_Bericht_anzeigen);
    return RefereeReportWindowOf(window());
  }
  QLineEdit* edit(RefereeReportWindow* w, const char* key) {
    return w->findChild<QLineEdit*>(QString::fromLatin1(key));
  }
};

TEST_F(ReportWindowTest, LoadsOverlaysKeysAndCloses) {
  RefereeReportWindow* w = report();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), "Alpiner Schiedsrichterbericht (für nationale Veranstaltungen)");
  EXPECT_EQ(w->parentWidget(), nullptr);
  EXPECT_TRUE(state().db().hasTable("XtblSRBericht"));
  EXPECT_EQ(edit(w, "Disziplin")->text(), "RS");
  EXPECT_EQ(edit(w, "Org_Auslosung")->text(), "per Kandor");
  auto* combo = w->findChild<QComboBox*>("Landesverband");
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->count(), 21);
  EXPECT_EQ(combo->currentIndex(), 0);
  int edits = 0;
  for (QLineEdit* e : w->findChildren<QLineEdit*>()) edits += e->parent() != combo;
  EXPECT_EQ(edits, 67);
  GrabForLooking(*w, "srbericht-1");

  // Paging by keys; the key still reaches the focused control.
  QTest::keyClick(edit(w, "Datum"), Qt::Key_PageDown);
  EXPECT_EQ(w->findChild<QWidget*>("Frame1")->y(), -6800 / 15);
  GrabForLooking(*w, "srbericht-2");
  QTest::keyClick(edit(w, "Datum"), Qt::Key_Up);
  EXPECT_EQ(w->findChild<QWidget*>("Frame1")->y(), 0);
  // The down arrow in the focused association box pages and moves its selection.
  QApplication::setActiveWindow(w);
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(w->findChild<QWidget*>("Frame1")->y(), -6800 / 15);
  EXPECT_EQ(combo->currentText(), "LV 01");

  // Typed text is kept while the window stays open; Esc throws it away.
  edit(w, "Witterung")->setText("Nebel");
  trigger(menu::SR_Bericht_anzeigen);
  EXPECT_EQ(edit(w, "Witterung")->text(), "Nebel");
  QTest::keyClick(edit(w, "Witterung"), Qt::Key_Escape);
  EXPECT_FALSE(w->isVisible());

  // Stored rows beat the prefill; a stored association outside the list shows as text.
  state().db().execute(
      "insert into XtblSRBericht values (2,'Disziplin','Riesentorlauf'),(2,'Landesverband','XY')");
  report();
  EXPECT_EQ(edit(w, "Disziplin")->text(), "Riesentorlauf");
  EXPECT_EQ(combo->currentText(), "XY");

  // Closing the file closes the window without storing.
  trigger(menu::DateiSchliessen);
  EXPECT_FALSE(w->isVisible());
}

TEST_F(ReportWindowTest, OutputStoresFirstThenWritesThePage) {
  RefereeReportWindow* w = report();
  edit(w, "Proteste")->setText("O'Brien");
  edit(w, "DG1_Richtaend")->setText("12");
  auto* combo = w->findChild<QComboBox*>("Landesverband");
  QTest::keyClicks(combo, "Nord");  // matches no entry: kept as typed, not added to the list
  ui().setNow(QDateTime(QDate(2026, 9, 30), QTime(12, 0)));

  // Cancelled: the report is stored all the same and the window closes.
  ui().cancelNextSave();
  QTest::keyClick(edit(w, "Proteste"), Qt::Key_F2);
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(ui().saveRequests.last().fileName, "Cup-Schiedsrichterbericht.pdf");
  EXPECT_EQ(state()
                .db()
                .scalar("select Wert from XtblSRBericht where Disziplin=2 and Feld='Proteste'")
                .toString(),
            "O'Brien");
  EXPECT_EQ(state()
                .db()
                .scalar("select Wert from XtblSRBericht where Disziplin=2 and Feld='Landesverband'")
                .toString(),
            "Nord");
  EXPECT_EQ(combo->count(), 21);

  report();
  EXPECT_EQ(edit(w, "Proteste")->text(), "O'Brien");
  edit(w, "Veranstaltung")->setText(QString(100, 'W'));
  edit(w, "DG2_Tore")->setText("40");
  const QString file = QDir(dataDir()).filePath("bericht.pdf");
  ui().chooseSaveFile(file);
  QTest::keyClick(w, Qt::Key_F2);
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(ui().viewerOpened, QStringList{file});
  KeepForLooking(file, "schiedsrichterbericht.pdf");

  PdfReader pdf(file);
  ASSERT_TRUE(pdf.isValid());
  EXPECT_EQ(pdf.pageCount(), 1);
  EXPECT_EQ(pdf.title(), "Schiedsrichterbericht Cup");
  const auto season = pdf.findLine("Saison 2025/26");
  ASSERT_TRUE(season);
  EXPECT_NEAR(season->right(), 1980, 2);
  const auto heading = pdf.findWord("Organisator:");
  ASSERT_TRUE(heading);
  EXPECT_NEAR(heading->left(), 200, 1);
  EXPECT_NEAR(heading->top(), 285, 1);
  EXPECT_TRUE(heading->bold());
  EXPECT_NEAR(heading->size, 12, 0.2);
  // The long organiser shrinks and drops 0.2 mm per point.
  const auto organiser = pdf.findWord("SC");
  ASSERT_TRUE(organiser);
  EXPECT_LT(organiser->size, 10);
  EXPECT_NEAR(organiser->top(), 292 + 2 * (10 - std::lround(organiser->size)), 1.5);
  // Shrinking stops at 4 pt, 12 units below the base line's top; cut before "Disziplin:".
  const PdfWord event = pdf.findLine("WWWW")->words.first();
  EXPECT_NEAR(event.size, 4, 0.2);
  EXPECT_NEAR(event.top(), 369 + 12, 1.5);
  EXPECT_TRUE(event.text.endsWith(QChar(0x2026)) && event.right() < 1040);
  EXPECT_TRUE(pdf.findLine("/12"));
  EXPECT_TRUE(pdf.findLine("40/"));
  const struct {
    const char* word;
    int x, y, size;
    bool bold;
  } samples[] = {
      {"Jury/Kampfgericht:", 200, 459, 12, true},
      {"Verein/Verband", 1200, 509, 10, true},
      {"TD/Schiedsrichter:", 200, 559, 10, false},
      {"Siegerehrung:", 1120, 919, 10, false},
      {"Soll", 200, 1104, 10, false},
      {"Synchronzeit:", 1225, 1144, 10, false},
      {"Bemerkungen", 1580, 1449, 10, false},
      {"Sicherheit:", 200, 1745, 12, true},
      {"O'Brien", 855, 2145, 10, false},
      {"(Unterschrift", 1640, 2370, 8, false},
      {"Referenten", 200, 2650, 7, false},
  };
  for (const auto& sample : samples) {
    const auto word = pdf.findWord(QString::fromUtf8(sample.word));
    ASSERT_TRUE(word) << sample.word;
    EXPECT_NEAR(word->top(), sample.y, 1) << sample.word;
    EXPECT_NEAR(word->size, sample.size, 0.2) << sample.word;
    EXPECT_EQ(word->bold(), sample.bold) << sample.word;
    EXPECT_NEAR(word->left(), sample.x, 1) << sample.word;
  }
  EXPECT_TRUE(pdf.findLine("dass alle Angaben im"));
  const auto note = pdf.findWord("(nur");
  ASSERT_TRUE(note);
  EXPECT_TRUE(note->italic());
  EXPECT_NEAR(note->size, 5, 0.2);

  // The small picture at the top right is our own, with nothing red in it.
  ASSERT_TRUE(RenderPdfPage(file, 1, file + ".png", 254));  // one pixel per unit
  const QImage badge = QImage(file + ".png").copy(1890, 158, 100, 75);
  int red = 0;
  for (int i = 0; i < 100 * 75; ++i)
    red += qRed(badge.pixel(i % 100, i / 100)) > 150 && qGreen(badge.pixel(i % 100, i / 100)) < 100;
  EXPECT_EQ(red, 0);
}

TEST_F(ReportWindowTest, TypingStopsAtTheStoredLengthAndALongerPrefillIsRefused) {
  state().db().execute("update tblListenkopf set value=? where Disziplin=2 and id=2",
                       {QString(160, 'o')});
  RefereeReportWindow* w = report();
  QLineEdit* weather = edit(w, "Witterung");
  QApplication::setActiveWindow(w);
  weather->setFocus();
  QTest::keyClicks(weather, QString(149, 'a'));
  QTest::keyClicks(weather, "bcd");
  EXPECT_EQ(weather->text(), QString(149, 'a') + "b");
  QTest::keyClicks(weather, "e");
  EXPECT_EQ(weather->text().size(), 150);
  // A paste is cut to what still fits.
  weather->setCursorPosition(3);
  weather->setSelection(3, 2);
  weather->insert("XYZ");
  EXPECT_EQ(weather->text(), "aaaXY" + QString(144, 'a') + "b");
  EXPECT_EQ(weather->cursorPosition(), 5);
  auto* combo = w->findChild<QComboBox*>("Landesverband");
  combo->setFocus();
  QTest::keyClicks(combo, QString(155, 'z'));
  EXPECT_EQ(combo->currentText().size(), 150);

  // A longer prefilled value is shown whole, may be shortened but not lengthened, and is
  // refused at the output before anything stored is touched.
  QLineEdit* organiser = edit(w, "Organisator");
  EXPECT_EQ(organiser->text().size(), 160);
  organiser->setFocus();
  EXPECT_EQ(organiser->cursorPosition(), 0);  // shown from its beginning
  QTest::keyClick(organiser, Qt::Key_End);
  QTest::keyClick(organiser, Qt::Key_Backspace);
  QTest::keyClicks(organiser, "xy");
  EXPECT_EQ(organiser->text(), QString(159, 'o'));
  state().db().execute("insert into XtblSRBericht values (2,'Proteste','einer')");
  QTest::keyClick(organiser, Qt::Key_F2);
  EXPECT_EQ(ui().messageTexts().last(),
            "Der Text im Feld Organisator ist länger als 150 Zeichen und kann nicht gespeichert "
            "werden");
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(ui().saveRequests.isEmpty());
  EXPECT_EQ(state().db().scalar("select count(*) from XtblSRBericht").toInt(), 1);
}

TEST_F(ReportWindowTest, DeleteAndOutputKeepTheDisciplineOfTheOpening) {
  RefereeReportWindow* w = report();
  state().db().execute(
      "insert into XtblSRBericht values (2,'Proteste','einer'),(3,'Proteste','zwei')");
  // Slalom chosen in the main window: the open giant-slalom report stays giant slalom.
  trigger(menu::DisziplinSL);
  ASSERT_EQ(state().CurrentDisciplineType, 3);
  ui().answerMessages({MsgAnswer::No});
  w->findChild<QPushButton*>("SRBericht_del")->click();
  EXPECT_EQ(ui().messages.last().title, "SR-Bericht löschen");
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(state().db().scalar("select count(*) from XtblSRBericht").toInt(), 2);
  ui().answerMessages({MsgAnswer::Yes});
  w->findChild<QPushButton*>("SRBericht_del")->click();
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(state().db().scalar("select Wert from XtblSRBericht").toString(), "zwei");

  trigger(menu::DisziplinRS);
  report();
  trigger(menu::DisziplinSL);
  ui().cancelNextSave();
  QTest::keyClick(w, Qt::Key_F2);
  EXPECT_EQ(state()
                .db()
                .scalar("select Wert from XtblSRBericht where Disziplin=2 and Feld='Disziplin'")
                .toString(),
            "RS");
  EXPECT_EQ(state().db().scalar("select count(*) from XtblSRBericht where Disziplin=3").toInt(), 1);

  // The main window closing takes the unchanged report window with it, unasked.
  report();
  window().show();
  ui().clear();
  window().close();
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(ui().messages.isEmpty());
}

TEST_F(ReportWindowTest, LeavingAsksOnlyForTextsNotYetStored) {
  RefereeReportWindow* w = report();
  QLineEdit* weather = edit(w, "Witterung");
  weather->setText("Nebel");
  ui().answerMessages({MsgAnswer::No});
  QTest::keyClick(weather, Qt::Key_Escape);
  EXPECT_EQ(ui().messageTexts(), QStringList{"Änderungen verwerfen?"});
  EXPECT_TRUE(w->isVisible());

  // F2 stores the texts but cannot write the page (a folder where the file would go): the
  // window stays, and leaving it then loses nothing.
  const QString folder = QDir(dataDir()).filePath("bericht.pdf");
  ASSERT_TRUE(QDir().mkpath(folder));
  ui().chooseSaveFile(folder);
  QTest::keyClick(weather, Qt::Key_F2);
  EXPECT_TRUE(ui().messageTexts().last().contains("kann nicht ausgegeben werden"));
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(state()
                .db()
                .scalar("select Wert from XtblSRBericht where Disziplin=2 and Feld='Witterung'")
                .toString(),
            "Nebel");
  ui().clear();
  QTest::keyClick(weather, Qt::Key_Escape);
  EXPECT_TRUE(ui().messages.isEmpty());
  EXPECT_FALSE(w->isVisible());
}

}  // namespace
}  // namespace kx::test
