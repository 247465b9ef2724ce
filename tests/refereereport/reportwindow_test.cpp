// The referee report's window through the menu and real keys, and its page read back.

#include "refereereport/reportwindow.h"
#include "refereereport/registration.h"
#include "tests/support/appfixture.h"
#include "tests/support/pdfreader.h"
#include "workpanel/menuentries.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
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

  report();
  EXPECT_EQ(edit(w, "Proteste")->text(), "O'Brien");
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
  EXPECT_TRUE(pdf.findLine("/12"));
  const auto note = pdf.findWord("(nur");
  ASSERT_TRUE(note);
  EXPECT_TRUE(note->italic());
  EXPECT_NEAR(note->size, 5, 0.2);
}

}  // namespace
}  // namespace kx::test
