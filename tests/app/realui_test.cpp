// The main window with its real user interface: real file dialogs and message boxes, answered
// by keys sent to the active modal dialog, and F2, Enter and Esc typed into the window while
// the focus is in a panel's field, as a person at the keyboard does it.

#include "app/qtuserinterface.h"
#include "certificates/templatestore.h"
#include "db/database.h"
#include "tests/support/realdialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace kx::test {
namespace {

using RealUiTest = RealUiFixture;

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

TEST_F(RealUiTest, EscInTheEditorAsksBeforeUnsavedChangesAreLost) {
  const QString path = writeCompetition("Cup.mdb", SmallCompetition());
  SaveTemplate(*db::Connection::open(path), 2, false,
               {{"Urkunde", "Arial, 20", "links", "500", "0"}});
  openFile(path);
  // Unchanged: Esc in the alignment closes at once.
  trigger("UrkundenBearbeiten");
  person.answer({});
  typeInto(control<QComboBox>("UrkundeAusrichtung"), Qt::Key_Escape);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_EQ(window().currentPanel(), "");

  // The arrow key centres the entry; Esc asks, "Nein" (Esc) keeps the editor as it is.
  trigger("UrkundenBearbeiten");
  auto* align = control<QComboBox>("UrkundeAusrichtung");
  typeInto(align, Qt::Key_Down);
  auto* list = control<QTreeWidget>("UrkundeInhalt");
  ASSERT_EQ(list->topLevelItem(0)->text(2).toStdString(), "zentr.");
  person.answer({{Qt::Key_Escape, {}}});
  typeInto(align, Qt::Key_Escape);
  EXPECT_EQ(person.texts(), "Änderungen verwerfen?");
  EXPECT_EQ(window().currentPanel(), "UrkundenBearbeiten");
  EXPECT_EQ(list->topLevelItem(0)->text(2).toStdString(), "zentr.");
  // "Ja" (Enter) discards: the stored template stays as it was.
  person.answer({{Qt::Key_Return, {}}});
  typeInto(align, Qt::Key_Escape);
  EXPECT_EQ(person.texts(), "Änderungen verwerfen?");
  EXPECT_EQ(window().currentPanel(), "");
  EXPECT_EQ(LoadTemplate(state().db(), 2).entries.at(1).align.toStdString(), "links");
}

TEST(QtFilter, ADescriptionThatNamesItsPatternsShowsThemOnce) {
  EXPECT_EQ(QtFilterOf("Bewerbsdatei|*.mdb"), "Bewerbsdatei (*.mdb)");
  EXPECT_EQ(QtFilterOf("txt-Dateien(*.txt)|*.txt"), "txt-Dateien (*.txt)");
  EXPECT_EQ(QtFilterOf("EXCEL-Dateien(*.csv;*.txt)|*.txt;*.csv"), "EXCEL-Dateien (*.txt *.csv)");
  EXPECT_EQ(QtFilterOf("PDF-Dateien|*.pdf|Alle (*.*)|*.*"), "PDF-Dateien (*.pdf);;Alle (*.*)");
}

}  // namespace
}  // namespace kx::test
