// The main window with its real user interface: real file dialogs and message boxes, and F2,
// Enter and Esc typed into the window while the focus is in a panel's field.

#include "tests/support/realui.h"
#include "app/qtuserinterface.h"
#include "certificates/templatestore.h"
#include "db/database.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <functional>

namespace kx::test {
namespace {

class RealUiTest : public RealUiFixture {};

TEST_F(RealUiTest, F2InAFieldWritesOneListWhetherTheDialogIsConfirmedOrCancelled) {
  openFile(writeCompetition("Cup.mdb", SmallCompetition()));
  trigger("BearbeitenStartliste");
  const QString written = QDir(dataDir()).filePath("Cup-Startliste-Riesenslalom.pdf");

  person.answer({{Qt::Key_Return, {}}});
  typeInto(control<QComboBox>("StartGruppe"), Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "QFileDialog");
  EXPECT_EQ(control<QLabel>("Startliste_Meldung")->text().toStdString(),
            ("Startliste gespeichert unter: " + written).toStdString());
  EXPECT_TRUE(QFileInfo::exists(written));

  person.answer({{Qt::Key_Escape, {}}});
  typeInto(control<QComboBox>("StartGruppe"), Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "QFileDialog");
  EXPECT_EQ(control<QLabel>("Startliste_Meldung")->text().toStdString(),
            "Startliste nicht gespeichert");
}

TEST_F(RealUiTest, EnterOnTheMessagesOfTheCertificateOutputNeverRunsItAgain) {
  const QString path = writeCompetition("Cup.mdb", SmallCompetition());
  SaveTemplate(*db::Connection::open(path), 2, false,
               {{"<Vorname Name>", "Arial, 20", "links", "500", "500"}});
  openFile(path);
  window().enable("UrkundenExport");
  trigger("UrkundenExport");
  auto* ranks = control<QLineEdit>("UrkundeRaenge");
  ASSERT_NE(ranks, nullptr);

  // A refused input: the message comes once, confirmed with Enter.
  ranks->setText("x");
  person.answer({{Qt::Key_Return, {}}});
  typeInto(ranks, Qt::Key_F2);
  EXPECT_EQ(person.texts(), "Anzahl Ränge ist nicht numerisch");

  // The export: one save dialog, one closing message confirmed with Enter.
  ranks->setText("99");
  person.answer({{Qt::Key_Return, {}}, {Qt::Key_Return, {}}});
  typeInto(ranks, Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "QFileDialog, QMessageBox");
  EXPECT_EQ(person.seen.value(1).text, "2 Dateien für den Upload bei Startora erstellt");

  // Started with the mouse, the button keeps the focus: Enter on the message does not
  // press it again.
  ASSERT_TRUE(QFile::remove(QDir(dataDir()).filePath("Cup-Urkunde-Riesenslalom.pdf")));
  person.answer({{Qt::Key_Return, {}}, {Qt::Key_Return, {}}});
  auto* button = control<QPushButton>("Urkunde_ausgeben");
  button->setFocus();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(person.kinds(), "QFileDialog, QMessageBox");
  person.answer({});
  QTest::keyClick(window().windowHandle(), Qt::Key_Return);
  EXPECT_EQ(person.texts(), "");
}

// Every way out of the editor (Esc, its menu entry chosen again, the program's end by the
// menu and by the close box) goes without a question while nothing changed, and asks
// before unsaved changes are lost: Enter takes Nein, the default, which keeps the editor and
// its changes like Nein; Ja discards them.
TEST_F(RealUiTest, EveryWayOutOfTheEditorAsksBeforeUnsavedChangesAreLost) {
  const QString path = writeCompetition("Cup.mdb", SmallCompetition());
  SaveTemplate(*db::Connection::open(path), 2, false,
               {{"Urkunde", "Arial, 20", "links", "500", "0"}});
  openFile(path);
  auto shown = [&] {
    auto* list = control<QTreeWidget>("UrkundeInhalt");
    return window().currentPanel() != "UrkundenBearbeiten"
               ? std::string("zu")
               : list->topLevelItem(0)->text(2).toStdString();
  };
  const struct {
    const char* name;
    std::function<void()> go;
    std::string after;  // the editor after the way was taken, "zu" when closed
    bool ends;          // the program ends
  } ways[] = {
      {"Esc", [&] { typeInto(control("UrkundeAusrichtung"), Qt::Key_Escape); }, "zu", false},
      {"Bearbeiten", [&] { trigger("UrkundenBearbeiten"); }, "links", false},
      {"Beenden", [&] { trigger("DateiBeenden"); }, "zu", true},
      {"Fenster", [&] { window().close(); }, "zu", true}};
  for (const auto& way : ways) {
    window().show();
    if (shown() == "zu") trigger("UrkundenBearbeiten");
    person.answer({});
    way.go();
    EXPECT_EQ(person.kinds(), "") << way.name;
    EXPECT_EQ(shown(), way.after) << way.name;
    EXPECT_EQ(window().isVisible(), !way.ends) << way.name;

    window().show();
    if (shown() == "zu") trigger("UrkundenBearbeiten");
    typeInto(control("UrkundeAusrichtung"), Qt::Key_Down);  // the entry is centred
    ASSERT_EQ(shown(), "zentr.");
    for (Qt::Key keep : {Qt::Key_Return, Qt::Key_N}) {
      person.answer({{keep, {}}});
      way.go();
      EXPECT_EQ(person.texts(), "Änderungen verwerfen?") << way.name;
      EXPECT_EQ(shown(), "zentr.") << way.name;
      EXPECT_TRUE(window().isVisible()) << way.name;
    }
    person.answer({{Qt::Key_J, {}}});
    way.go();
    EXPECT_EQ(person.texts(), "Änderungen verwerfen?") << way.name;
    EXPECT_EQ(shown(), way.after) << way.name;
    EXPECT_EQ(window().isVisible(), !way.ends) << way.name;
    EXPECT_EQ(LoadTemplate(state().db(), 2).entries.at(1).align.toStdString(), "links");
  }
}

TEST(QtFilter, ADescriptionThatNamesItsPatternsShowsThemOnce) {
  EXPECT_EQ(QtFilterOf("Bewerbsdatei|*.mdb"), "Bewerbsdatei (*.mdb)");
  EXPECT_EQ(QtFilterOf("txt-Dateien(*.txt)|*.txt"), "txt-Dateien (*.txt)");
  EXPECT_EQ(QtFilterOf("EXCEL-Dateien(*.csv;*.txt)|*.txt;*.csv"), "EXCEL-Dateien (*.txt *.csv)");
  EXPECT_EQ(QtFilterOf("PDF-Dateien|*.pdf|Alle (*.*)|*.*"), "PDF-Dateien (*.pdf);;Alle (*.*)");
}

}  // namespace
}  // namespace kx::test
