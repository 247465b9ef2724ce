// The template editor through the menu: controls by name, real clicks and keys, the save
// and its menu state, the copy from another file, the menu guard of the two editors.

#include "certificates/templatestore.h"
#include "db/database.h"
#include "tests/support/appfixture.h"
#include "tests/support/faults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace kx::test {
namespace {

class EditorTest : public AppFixture {
 protected:
  template <class W>
  W* control(const QString& name) {
    return window().findChild<W*>(name);
  }
  db::Connection& db() { return state().db(); }
  void key(int k) { QTest::keyClick(window().panel(), static_cast<Qt::Key>(k)); }
  void click(const QString& button) {
    QPushButton* b = control<QPushButton>(button);
    ASSERT_NE(b, nullptr) << button.toStdString();
    QTest::mouseClick(b, Qt::LeftButton);
  }
  QTreeWidget* list() { return control<QTreeWidget>("UrkundeInhalt"); }
  QStringList column(int c) {
    QStringList out;
    for (int i = 0; i < list()->topLevelItemCount(); ++i) out << list()->topLevelItem(i)->text(c);
    return out;
  }
  void clickItem(int row) {
    QTreeWidgetItem* it = list()->topLevelItem(row);
    const QRect r = list()->visualItemRect(it);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, r.center());
  }
  void typeInto(const QString& name, const QString& text) {
    auto* edit = control<QLineEdit>(name);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  void openFile(db::CompetitionSpec race = SmallCompetition()) {
    openThroughMenu(writeCompetition("Cup.mdb", race));
  }
  QString rows(int key) {
    QStringList out;
    const db::Recordset rs = db().query(
        "select id,TxText,TxFont,TxAlign,TxVpos,TxHpos from XtblUrkunde where Disziplin=? order by "
        "id",
        {key});
    for (int r = 0; r < rs.count(); ++r) {
      QStringList cells;
      for (int c = 0; c < 6; ++c) cells << rs.at(r, c).toString().trimmed();
      out << cells.join("|");
    }
    return out.join("\n");
  }
};

TEST_F(EditorTest, EditingByControlsAndSaveWritesTheListAndFollowsTheMenus) {
  openFile();
  ASSERT_TRUE(enabled("UrkundenBearbeiten"));
  EXPECT_FALSE(enabled("UrkundenDruck"));
  trigger("UrkundenBearbeiten");
  ASSERT_EQ(window().currentPanel(), "UrkundenBearbeiten");
  EXPECT_FALSE(control<QLineEdit>("UrkundeText")->isEnabled());
  EXPECT_FALSE(!control<QPushButton>("UrkundeSchrift")->isHidden());

  click("UrkundeAddText");
  EXPECT_EQ(column(1), QStringList{"Arial, 10"});
  typeInto("UrkundeText", "Platz ");
  auto* field = control<QComboBox>("UrkundeFeld");
  field->setCurrentIndex(field->findText("<Platz>"));  // a choice in the list
  EXPECT_EQ(control<QLineEdit>("UrkundeText")->text(), "Platz <Platz> ");
  field->lineEdit()->clear();
  QTest::keyClicks(field->lineEdit(), "<");  // type-ahead: the first placeholder
  EXPECT_EQ(column(0), QStringList{"Platz <Platz> <Vorname Name> "});
  typeInto("Urkundevertikal", "900");
  auto* align = control<QComboBox>("UrkundeAusrichtung");
  align->lineEdit()->clear();
  QTest::keyClicks(align->lineEdit(), "z");
  EXPECT_EQ(control<QLineEdit>("Urkundehorizontal")->text(), "1050");
  EXPECT_EQ(list()->topLevelItem(0)->text(6), "01050");
  ui().chooseFontOnce({"Arial", true, false, 10.5});
  click("UrkundeSchrift");
  EXPECT_EQ(control<QLabel>("UrkundeAusgabeSchrift")->text(), "Arial, fett, 10,5");

  click("UrkundeAddBild");  // id 2
  EXPECT_TRUE(!control<QLineEdit>("UrkundeBildbreite")->isHidden());
  click("UrkundeDel");
  click("UrkundeAddBild");  // id 3: ids are not handed out twice
  EXPECT_EQ(list()->topLevelItem(1)->data(0, Qt::UserRole).toString(), "T3");
  typeInto("UrkundeText", "O'Logo.jpg");
  typeInto("UrkundeBildbreite", "250");
  typeInto("UrkundeBildhoehe", "100");
  typeInto("Urkundevertikal", "150");
  EXPECT_EQ(list()->topLevelItem(1)->text(1), "Bild 250x100");

  // The picture is missing: the save refuses and keeps the editor.
  key(Qt::Key_F2);
  EXPECT_EQ(ui().messages.last().text, "Bild 'O'Logo.jpg' nicht vorhanden!");
  EXPECT_EQ(window().currentPanel(), "UrkundenBearbeiten");
  QFile logo(QDir(state().CompetitionDir).filePath("o'logo.JPG"));
  ASSERT_TRUE(logo.open(QIODevice::WriteOnly));
  logo.close();

  // Sorted by "vert." descending, then the save numbers the entries in the shown order.
  QTest::mouseClick(list()->header()->viewport(), Qt::LeftButton, {},
                    QPoint(list()->header()->sectionViewportPosition(3) + 5, 5));
  EXPECT_EQ(column(3), (QStringList{"900", "150"}));  // after the load: ascending, so descending
  QTest::mouseClick(control<QCheckBox>("UrkundeQuerformat"), Qt::LeftButton);
  GrabForLooking(window(), "urkunde_editor");
  key(Qt::Key_F2);
  EXPECT_EQ(window().currentPanel(), "");
  EXPECT_EQ(rows(2),
            "0|Querformat||0|0|0\n"
            "1|Platz <Platz> <Vorname Name>|Arial, fett, 10,5|2|900|1050\n"
            "2|O'Logo.jpg|Bild 250x100|0|150|0");
  // No results yet and the template prints a place: printing waits for results.
  EXPECT_FALSE(enabled("UrkundenDruck"));
  EXPECT_FALSE(enabled("UrkundenMannschaft"));
}

TEST_F(EditorTest, LoadSortsByPositionAndSelectingNeverMovesAnEntry) {
  openFile();
  SaveTemplate(db(), 2, false,
               {{"unten", "Arial, 10", "links", "2000", "1050"},
                {"mitte", "Arial, 12", "zentr.", "300", "0"},
                {"oben", "Bild 400x250", "rechts", "50", "1900"}});
  window().UpdateCertificateMenus();
  EXPECT_TRUE(enabled("UrkundenDruck"));
  trigger("UrkundenBearbeiten");
  EXPECT_EQ(column(0), (QStringList{"oben", "mitte", "unten"}));
  EXPECT_EQ(control<QLineEdit>("UrkundeBildbreite")->text(), "400");
  EXPECT_EQ(control<QLineEdit>("UrkundeBildhoehe")->text(), "250");
  EXPECT_EQ(control<QComboBox>("UrkundeAusrichtung")->currentText(), "rechts");
  clickItem(1);
  EXPECT_EQ(control<QComboBox>("UrkundeAusrichtung")->currentText(), "zentriert");
  EXPECT_EQ(control<QLineEdit>("Urkundehorizontal")->text(), "0");
  EXPECT_TRUE(list()->topLevelItem(1)->font(0).bold());
  EXPECT_FALSE(list()->topLevelItem(0)->font(0).bold());
  clickItem(2);
  EXPECT_EQ(list()->topLevelItem(2)->text(4).toStdString(), "1050");
  EXPECT_EQ(control<QLineEdit>("UrkundeText")->text().toStdString(), "unten");
  // Only the person's choice applies the rule.
  control<QComboBox>("UrkundeAusrichtung")->setCurrentIndex(1);
  EXPECT_EQ(list()->topLevelItem(2)->text(2).toStdString(), "zentr.");
  control<QComboBox>("UrkundeAusrichtung")->setCurrentIndex(0);
  EXPECT_EQ(list()->topLevelItem(2)->text(4), "0");

  // The same editor's entry reloads without saving; the team editor's entry refuses.
  trigger("UrkundenBearbeiten");
  EXPECT_EQ(column(4), (QStringList{"1900", "0", "1050"}));
  db().execute("insert into tblMannschaft (id,mname,sortpos) values (1,'Team',1)");
  window().UpdateCertificateMenus();
  ASSERT_TRUE(enabled("UrkundenMannschaftBearbeiten"));
  trigger("UrkundenMannschaftBearbeiten");
  EXPECT_EQ(ui().messages.last().text,
            "Das Bearbeiten der Urkunden bitte mit Speichern oder Verwerfen verlassen");
  key(Qt::Key_Escape);
  trigger("UrkundenMannschaftBearbeiten");
  EXPECT_EQ(window().frameTitel()->text(), "Bearbeiten Mannschaftsurkunden");
  EXPECT_EQ(list()->topLevelItemCount(), 0);
  click("UrkundeAddText");
  key(Qt::Key_F2);
  EXPECT_EQ(rows(7), "1||Arial, 10|0|0|0");
  EXPECT_TRUE(enabled("UrkundenMannschaftDruck"));
  // A team template that prints a place waits for results of the current discipline.
  trigger("UrkundenMannschaftBearbeiten");
  typeInto("UrkundeText", "<Platz>");
  key(Qt::Key_F2);
  EXPECT_FALSE(enabled("UrkundenMannschaftDruck"));
  EXPECT_TRUE(enabled("UrkundenMannschaft"));
}

TEST_F(EditorTest, ADatabaseErrorLeavesStoredTemplateAndEditor) {
  openFile();
  SaveTemplate(db(), 2, false, {{"alt", "Arial, 10", "links", "100", "100"}});
  db().execute(
      "create trigger fail before insert on XtblUrkunde when new.TxText='neu' "
      "begin select raise(abort,'kaputt'); end");
  trigger("UrkundenBearbeiten");
  typeInto("UrkundeText", "neu");
  key(Qt::Key_F2);
  EXPECT_EQ(window().currentPanel(), "UrkundenBearbeiten");
  EXPECT_EQ(rows(2), "1|alt|Arial, 10|0|100|100");
  EXPECT_EQ(column(0), QStringList{"neu"});
}

QStringList g_log;
void KeepLogLine(QtMsgType, const QMessageLogContext&, const QString& text) {
  g_log << text;
}

// A view where the template table belongs: the save says the file is damaged, in German;
// SQLite's text goes to the log only.
TEST_F(EditorTest, AViewInPlaceOfTheTemplateTableIsADamagedFile) {
  openFile();
  db().execute(
      "create view XtblUrkunde as select 2 as Disziplin, 1 as id, 'alt' as TxText, 'Arial, 10' "
      "as TxFont, 0 as TxAlign, 100 as TxVpos, 100 as TxHpos");
  trigger("UrkundenBearbeiten");
  click("UrkundeAddText");
  typeInto("UrkundeText", "neu");
  g_log.clear();
  const QtMessageHandler previous = qInstallMessageHandler(KeepLogLine);
  key(Qt::Key_F2);
  qInstallMessageHandler(previous);
  ASSERT_FALSE(ui().messages.isEmpty());
  EXPECT_EQ(ui().messages.last().text, "Die Bewerbsdatei '" + db().path() +
                                           "' ist beschädigt.\nBitte die Datei im Programm "
                                           "Kandor reparieren.\nEs wurde nichts gespeichert.");
  EXPECT_TRUE(g_log.join('\n').contains("XtblUrkunde")) << g_log.join('\n').toStdString();
  EXPECT_EQ(window().currentPanel(), "UrkundenBearbeiten");
  EXPECT_EQ(column(0), QStringList{"neu"});
}

TEST_F(EditorTest, CopyAsksPerTemplateAndReplacesOnlyOnAChoice) {
  db::CompetitionSpec other = SmallCompetition();
  const QString otherPath = writeCompetition("Anderer.mdb", other);
  {
    auto c = db::Connection::open(otherPath);
    SaveTemplate(*c, 0, false, {{"Abfahrt", "Arial, 10", "links", "10", "10"}});
    SaveTemplate(
        *c, 3, true,
        {{"B", "Arial, 10", "links", "1000", "0"}, {"A", "Arial, 10", "links", "200", "0"}});
    SaveTemplate(*c, 7, true, {});
  }
  const QString noTemplates = writeCompetition("Leer.mdb", other);
  const QString notAFile = QDir(dataDir()).filePath("Text.mdb");
  QFile text(notAFile);
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("kein Bewerb");
  text.close();

  openFile();
  trigger("UrkundenBearbeiten");
  click("UrkundeAddText");
  typeInto("UrkundeText", "eigen");

  ui().chooseOpenFile(notAFile);
  click("Urkunde_kopieren");
  EXPECT_EQ(ui().messages.last().text,
            "Die Datei '" + notAFile + "' ist keine Kandor-Bewerbsdatei");
  ui().chooseOpenFile(noTemplates);
  click("Urkunde_kopieren");
  EXPECT_EQ(ui().messages.last().text, "Bewerbsdatei enthält keine Urkunden");
  {
    // A file another program holds is named as in use, not as no competition file.
    const HeldFile held(otherPath);
    ui().chooseOpenFile(otherPath);
    click("Urkunde_kopieren");
    EXPECT_EQ(ui().messages.last().text,
              "Die Datei '" + otherPath +
                  "' wird gerade von einem anderen Programm verwendet.\nBitte später nochmals "
                  "versuchen.");
    EXPECT_EQ(column(0), QStringList{"eigen"});
  }

  ui().clear();
  ui().chooseOpenFile(otherPath);
  ui().answerMessages({MsgAnswer::No, MsgAnswer::No, MsgAnswer::No});
  click("Urkunde_kopieren");
  EXPECT_EQ(ui().messageTexts(),
            (QStringList{"Abfahrts-Urkunde übernehmen?", "Slalom-Urkunde übernehmen?",
                         "Mannschafts-Urkunde übernehmen?"}));
  EXPECT_EQ(column(0), QStringList{"eigen"});

  ui().chooseOpenFile(otherPath);
  ui().answerMessages({MsgAnswer::No, MsgAnswer::Yes});
  click("Urkunde_kopieren");
  EXPECT_EQ(column(0), (QStringList{"A", "B"}));
  EXPECT_TRUE(control<QCheckBox>("UrkundeQuerformat")->isChecked());
  EXPECT_EQ(control<QLineEdit>("UrkundeText")->text(), "A");
  click("UrkundeAddText");  // after ids 1 and 2
  EXPECT_EQ(list()->topLevelItem(2)->data(0, Qt::UserRole).toString(), "T3");
}

}  // namespace
}  // namespace kx::test
