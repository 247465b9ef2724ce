// The referee report's window with the real message boxes: what was typed into it is never
// lost unasked, by Esc, its close box, the main window closing or a change of the file.

#include "db/database.h"
#include "refereereport/registration.h"
#include "refereereport/reportstore.h"
#include "refereereport/reportwindow.h"
#include "tests/support/realui.h"
#include "workpanel/menuentries.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kx::test {
namespace {

class ReportDialogsTest : public RealUiFixture {
 protected:
  void SetUp() override {
    RealUiFixture::SetUp();
    cup_ = writeCompetition("Cup.mdb", SmallCompetition());
    openFile(cup_);
  }
  RefereeReportWindow& showReport() {
    trigger(menu::SR_Bericht_anzeigen);
    RefereeReportWindow* w = RefereeReportWindowOf(window());
    EXPECT_TRUE(w && w->isVisible());
    return *w;
  }
  QLineEdit* weather() {
    return RefereeReportWindowOf(window())->findChild<QLineEdit*>("Witterung");
  }
  // Typed into the field at the keyboard.
  void type(QWidget* field, const QString& text) {
    QApplication::setActiveWindow(field->window());
    field->setFocus();
    QTest::keyClicks(field, text);
  }
  // The stored value of a key of the giant slalom's report, read from the file itself.
  static QString Stored(const QString& path, const QString& key) {
    auto db = db::Connection::open(path);
    if (!db->hasTable("XtblSRBericht")) return "(keine Tabelle)";
    return db->scalar("select Wert from XtblSRBericht where Disziplin=2 and Feld=?", {key})
        .toString();
  }

  QString cup_;
};

TEST_F(ReportDialogsTest, EscAndTheCloseBoxAskOnlyWhenATextChanged) {
  // Nothing typed: Esc closes at once.
  RefereeReportWindow& w = showReport();
  person.answer({});
  typeInto(weather(), Qt::Key_Escape);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_FALSE(w.isVisible());

  // A text typed and taken back again changes nothing.
  showReport();
  type(weather(), "x");
  typeInto(weather(), Qt::Key_Backspace);
  typeInto(weather(), Qt::Key_Escape);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_FALSE(w.isVisible());

  // Typed: Esc asks, Enter answers the default "Nein" and the window keeps its text.
  showReport();
  type(weather(), "Nebel");
  person.answer({{Qt::Key_Return, {}}});
  typeInto(weather(), Qt::Key_Escape);
  EXPECT_EQ(person.texts(), "Änderungen verwerfen?");
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(weather()->text(), "Nebel");
  // The close box asks the same; "Nein" keeps the window.
  person.answer({{Qt::Key_N, {}}});
  EXPECT_FALSE(w.close());
  EXPECT_EQ(person.texts(), "Änderungen verwerfen?");
  EXPECT_TRUE(w.isVisible());

  // Esc in the open list of "Landesverband" closes the list only, whether the box or the
  // list's own window takes the key.
  auto* association = w.findChild<QComboBox*>("Landesverband");
  type(association, "Nord");
  for (bool listWindow : {false, true}) {
    QTest::keyClick(w.windowHandle(), Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(association->view()->isVisible());
    person.answer({});
    QTest::keyClick(listWindow ? association->view()->window()->windowHandle() : w.windowHandle(),
                    Qt::Key_Escape);
    EXPECT_EQ(person.kinds(), "");
    EXPECT_FALSE(association->view()->isVisible());
    EXPECT_TRUE(w.isVisible());
  }

  // The next Esc in the box asks at once; "Ja" discards: nothing is stored, the next opening
  // is fresh.
  person.answer({{Qt::Key_J, {}}});
  typeInto(association, Qt::Key_Escape);
  EXPECT_EQ(person.texts(), "Änderungen verwerfen?");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(Stored(cup_, "Witterung"), "");
  showReport();
  EXPECT_EQ(weather()->text(), "");
}

TEST_F(ReportDialogsTest, ClosingTheProgramAsksAboutTheReportsTypedText) {
  const std::string question = "Änderungen im Schiedsrichterbericht verwerfen?";
  RefereeReportWindow& w = showReport();
  type(weather(), "Nebel");
  // Enter (the default) and "Nein" keep both windows, the report in front with the focus
  // in its field.
  for (Qt::Key no : {Qt::Key_Return, Qt::Key_N}) {
    QApplication::setActiveWindow(&window());
    person.answer({{no, {}}});
    trigger(menu::DateiBeenden);
    EXPECT_EQ(person.texts(), question);
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &w; }));
    EXPECT_EQ(QApplication::focusWidget(), weather());
    EXPECT_EQ(weather()->text(), "Nebel");
  }
  // Texts discarded already, with the window: the program closes unasked.
  person.answer({{Qt::Key_J, {}}});
  typeInto(weather(), Qt::Key_Escape);
  person.answer({});
  EXPECT_TRUE(window().close());
  EXPECT_EQ(person.kinds(), "");

  // "Ja" closes both.
  window().show();
  showReport();
  type(weather(), "Regen");
  person.answer({{Qt::Key_J, {}}});
  EXPECT_TRUE(window().close());
  EXPECT_EQ(person.texts(), question);
  EXPECT_FALSE(w.isVisible());
}

TEST_F(ReportDialogsTest, TypedTextOutlivesAChangeOfFileAndIsStoredOnlyIntoItsOwn) {
  const QString other = writeCompetition("Other.mdb", SmallCompetition());
  const QString own = QFileInfo(cup_).canonicalFilePath();
  RefereeReportWindow& w = showReport();
  type(weather(), "Nebel");
  auto* remove = w.findChild<QPushButton*>("SRBericht_del");

  // Closed: the window stays with its text; F2 and the deletion say why they cannot act.
  person.answer({});
  trigger(menu::DateiSchliessen);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_TRUE(w.isVisible());
  person.answer({{Qt::Key_Return, {}}});
  typeInto(weather(), Qt::Key_F2);
  EXPECT_EQ(QString::fromStdString(person.texts()),
            "Es ist keine Bewerbsdatei geöffnet.\n\nDer SR-Bericht gehört zur Datei '" + own +
                "' und kann erst gespeichert werden, wenn diese Datei wieder geöffnet ist.");
  EXPECT_TRUE(w.isVisible());
  person.answer({{Qt::Key_Return, {}}});
  QTest::mouseClick(remove, Qt::LeftButton);
  EXPECT_EQ(person.kinds(), "QMessageBox");
  EXPECT_TRUE(person.texts().find("kann erst gelöscht werden") != std::string::npos);

  // Another file: still nothing stored there, and the text stays.
  openFile(other);
  EXPECT_TRUE(w.isVisible());
  person.answer({{Qt::Key_Return, {}}});
  typeInto(weather(), Qt::Key_F2);
  EXPECT_EQ(person.texts().substr(0, 42), "Es ist eine andere Bewerbsdatei geöffnet.");
  EXPECT_EQ(weather()->text(), "Nebel");
  EXPECT_EQ(Stored(other, "Witterung"), "(keine Tabelle)");

  // Its own file again: F2 stores there (the page itself cancelled) and the window closes.
  openFile(cup_);
  person.answer({{Qt::Key_Escape, {}}});
  typeInto(weather(), Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "QFileDialog");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(Stored(cup_, "Witterung"), "Nebel");
  EXPECT_EQ(Stored(other, "Witterung"), "(keine Tabelle)");

  // With nothing typed the window goes with its file, unasked.
  showReport();
  openFile(other);
  EXPECT_EQ(person.kinds(), "QFileDialog");
  EXPECT_FALSE(w.isVisible());
}

TEST_F(ReportDialogsTest, AnotherRaceAtTheSamePathIsAnotherFile) {
  // Race A's texts typed; A closed and race B, with a report of its own, put at its path.
  RefereeReportWindow& w = showReport();
  type(weather(), "Nebel");
  trigger(menu::DateiSchliessen);
  db::CompetitionSpec b = SmallCompetition();
  b.disziplinen[0].bewerbsnummer = "2222";
  b.disziplinen[0].bewerbsbezeichnung = "Rennen B";
  writeCompetition("Cup.mdb", b);
  {
    auto db = db::Connection::open(cup_);
    EnsureReportTable(*db);
    db->execute("insert into XtblSRBericht values (2,'Witterung','Sonne')");
  }
  openFile(cup_);
  // F2 and the deletion refuse; B's report and the texts stay.
  for (bool remove : {false, true}) {
    person.answer({{Qt::Key_Return, {}}});
    if (remove)
      QTest::mouseClick(w.findChild<QPushButton*>("SRBericht_del"), Qt::LeftButton);
    else
      typeInto(weather(), Qt::Key_F2);
    EXPECT_EQ(person.texts().substr(0, 42), "Es ist eine andere Bewerbsdatei geöffnet.");
    EXPECT_EQ(Stored(cup_, "Witterung"), "Sonne");
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(weather()->text(), "Nebel");
  }

  // Race A back, with the letters a change of the competition type writes into its race
  // number and without a report table yet, opened through a link: F2 stores there.
  trigger(menu::DateiSchliessen);
  db::CompetitionSpec a = SmallCompetition();
  a.disziplinen[0].bewerbsnummer = "1234DH";
  writeCompetition("Cup.mdb", a);
  const QString link = QFileInfo(cup_).dir().filePath("Link.mdb");
  ASSERT_TRUE(QFile::link(cup_, link));
  openFile(link);
  person.answer({{Qt::Key_Escape, {}}});
  typeInto(weather(), Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "QFileDialog");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(Stored(cup_, "Witterung"), "Nebel");
}

}  // namespace
}  // namespace kx::test
