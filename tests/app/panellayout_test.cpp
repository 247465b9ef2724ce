// Every panel of the table as the demo race shows it: each label shows its whole text in the
// fonts we ship, no text is misspelt, and no button is a default button that an Enter meant
// for a message could press.

#include "db/competitionbuilder.h"
#include "import/demoimportfiles.h"
#include "refereereport/registration.h"
#include "refereereport/reportwindow.h"
#include "tests/support/appfixture.h"
#include "workpanel/menuentries.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QPushButton>

namespace kx::test {
namespace {

// Why `label` cuts its text, measured with its own font and wrapped where it wraps; empty
// when the whole text shows.
QString CutText(const QLabel& label) {
  const QRect room = label.contentsRect();
  const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect needed = QFontMetrics(label.font())
                           .boundingRect(QRect(0, 0, room.width(), 100000), flags, label.text());
  if (needed.width() <= room.width() && needed.height() <= room.height()) return QString();
  return QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6")
      .arg(label.objectName(), label.text())
      .arg(needed.width())
      .arg(needed.height())
      .arg(room.width())
      .arg(room.height());
}

// The cut labels among the visible ones of `widget`, named with `where`.
QStringList CutLabels(const QWidget& widget, const QString& where) {
  QStringList out;
  for (const QLabel* label : widget.findChildren<QLabel*>()) {
    const QString why = label->isVisibleTo(&widget) ? CutText(*label) : QString();
    if (!why.isEmpty()) out << where + ": " + why;
  }
  return out;
}

// Misspellings that the screens once showed.
const QStringList kMisspelt{"Achung",   "Siegerherung",   "Kableverbindung", "Synchtzeit",
                            "Richungs", "Einschaltszeit", "Angeben"};

// The texts of `widget`'s labels and buttons that contain a misspelling.
QStringList Misspelt(const QWidget& widget) {
  QStringList texts;
  for (const QLabel* label : widget.findChildren<QLabel*>()) texts << label->text();
  for (const QAbstractButton* button : widget.findChildren<QAbstractButton*>()) {
    texts << button->text();
  }
  QStringList out;
  for (const QString& text : texts) {
    for (const QString& wrong : kMisspelt) {
      if (text.contains(wrong)) out << text;
    }
  }
  return out;
}

class PanelLayoutTest : public AppFixture {};

TEST_F(PanelLayoutTest, EveryPanelShowsEveryLabelWholeAndHasNoDefaultButton) {
  db::BuildMasterDataFile(QDir(programDir()).filePath("STAMMDAT.mdb"), db::DemoMasterData());
  openThroughMenu(writeCompetition("Bezirkscup.mdb", db::DemoCompetition()));
  ASSERT_EQ(state().CompetitionFileName, "Bezirkscup");
  WriteDemoImportFiles(dataDir());
  const QDir data(dataDir());
  QStringList cut;
  for (const PanelInfo& row : window().registry().rows()) {
    const QString& entry = row.menuEntries.first();
    window().enable(entry);
    // The imports open with the file to read.
    if (entry == menu::ImportCSV) ui().chooseOpenFile(data.filePath("Teilnehmer-Import.csv"));
    if (entry == menu::ImportKlassenCSV) ui().chooseOpenFile(data.filePath("Klassen-Import.csv"));
    trigger(entry);
    WorkPanel* panel = window().panel();
    if (window().currentPanel() != row.name || !panel) {
      ADD_FAILURE() << row.name.toStdString()
                    << " did not open: " << ui().messageTexts().join("|").toStdString();
      continue;
    }
    GrabForLooking(window(), "panel-" + row.name);
    cut << CutLabels(*panel, row.name) << Misspelt(*panel);
    for (const QPushButton* button : panel->findChildren<QPushButton*>()) {
      EXPECT_FALSE(button->isDefault() || button->autoDefault())
          << row.name.toStdString() << ": " << button->objectName().toStdString();
    }
    window().CloseAllPanels();
  }
  trigger(menu::SR_Bericht_anzeigen);
  ASSERT_NE(RefereeReportWindowOf(window()), nullptr);
  RefereeReportWindow& report = *RefereeReportWindowOf(window());
  cut << CutLabels(report, "Schiedsrichterbericht") << Misspelt(report);
  EXPECT_TRUE(cut.isEmpty()) << cut.join("\n").toStdString();
}

}  // namespace
}  // namespace kx::test
