// The two takeover frames in the main window: opening by the loaded stores, the rebuild
// question, the keys F2, F3, F4 and Esc, and the run and mode kept with the built list.
#include "handtime/handlistview.h"
#include "handtime/takeoverframes.h"
#include "tests/handtime/handtimefixture.h"
#include "tests/support/appfixture.h"
#include "workpanel/menuentries.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace kx::test {
namespace {

class FramesTest : public AppFixture {
 protected:
  void openRace(const std::vector<Timed>& racers, int runs = 1) {
    db::CompetitionSpec race = TimedRace(racers);
    if (runs == 2) {
      for (db::ZeitSpec z : std::vector<db::ZeitSpec>(race.zeiten)) {
        z.durchgang = 2;
        race.zeiten.push_back(z);
      }
    }
    openThroughMenu(writeCompetition(QStringLiteral("Rennen.mdb"), race));
  }
  void load(const std::vector<qint64>& starts, const std::vector<qint64>& finishes) {
    state().HzStart.clear();
    state().HzZiel.clear();
    for (qint64 h : starts) state().HzStart.push_back({db::HundredthsToDay(h)});
    for (qint64 h : finishes) state().HzZiel.push_back({db::HundredthsToDay(h)});
    window().UpdateTimeMenus();
  }
  template <class T>
  T* find(const QString& name) {
    T* widget = window().findChild<T*>(name);
    EXPECT_TRUE(widget) << name.toStdString();
    return widget;
  }
  // Clicks a row of a list view as the user does.
  void choose(const QString& view, int row) {
    auto* list = find<HandListView>(view);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
  }
  void type(const QString& box, const QString& text) {
    auto* edit = find<QLineEdit>(box);
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  QString cell(const QString& view, int row, int column) {
    return find<HandListView>(view)->model()->index(row, column).data().toString();
  }
  ZeituebernahmeFrame& day() {
    return *window().frameZeituebernahme()->findChild<ZeituebernahmeFrame*>();
  }
};

TEST_F(FramesTest, DayTimeFrameOpensByTheStoresAndAsksBeforeARebuild) {
  openRace({{1, At(10, 0, 0), At(10, 1, 0)},
            {2, At(10, 0, 30), At(10, 1, 30)},
            {3, At(10, 1, 0), 0, 2}});
  load({At(10, 0, 0, 10)}, {});
  trigger(menu::Zeituebernahme);
  auto* mode = find<QComboBox>("HandzeitT");
  EXPECT_FALSE(window().frameZeituebernahme()->isHidden());
  EXPECT_EQ(window().frameTitel()->text(), "Übernahme Handzeit (Tageszeit)");
  EXPECT_EQ(mode->currentIndex(), 0);
  EXPECT_FALSE(mode->isEnabled());

  load({At(10, 0, 0, 10)}, {At(10, 1, 0, 10), At(10, 1, 30, 30), At(10, 2, 30)});
  trigger(menu::Zeituebernahme);
  EXPECT_EQ(mode->count(), 2);
  EXPECT_EQ(mode->currentIndex(), 1);
  EXPECT_TRUE(mode->isEnabled());
  EXPECT_EQ(find<QComboBox>("Durchgang")->count(), 1);
  auto* list = find<HandListView>("Zeitvergleich");
  ASSERT_EQ(list->model()->rowCount(), 4);
  EXPECT_EQ(cell("Zeitvergleich", 3, 4), "10:02:30,00");
  GrabForLooking(window(), "frame-tageszeit");

  // Cancelling the protocol's dialog keeps the assignment.
  choose("Zeitvergleich", 3);
  type("StartNr", "3");
  find<QPushButton>("Zeiten_StNr_zuordnen")->click();
  ASSERT_EQ(list->model()->rowCount(), 3);
  EXPECT_EQ(cell("Zeitvergleich", 2, 2), "10:02:29,80");
  EXPECT_TRUE(list->model()->index(2, 2).data(Qt::FontRole).value<QFont>().bold());

  ui().clear();
  ui().answerMessages({MsgAnswer::No});
  find<QPushButton>("Zeiten_Anzeigen")->click();
  EXPECT_EQ(ui().messageTexts(),
            QStringList{"Achtung: es sind bereits Handzeiten Startnummern zugeordnet! Wirklich "
                        "Anzeige neu laden?"});
  EXPECT_EQ(cell("Zeitvergleich", 2, 2), "10:02:29,80");
  ui().answerMessages({MsgAnswer::Yes});
  find<QPushButton>("Zeiten_Anzeigen")->click();
  EXPECT_EQ(list->model()->rowCount(), 4);
  EXPECT_EQ(cell("Zeitvergleich", 2, 2), "-");

  QTest::keyClick(find<QLineEdit>("StartNr"), Qt::Key_Escape);
  EXPECT_TRUE(window().frameZeituebernahme()->isHidden());
  EXPECT_EQ(window().frameTitel()->text(), "");
  EXPECT_EQ(list->model()->rowCount(), 4);  // kept while hidden
}

TEST_F(FramesTest, F2WritesIntoTheRunTheListWasBuiltFor) {
  openRace(
      {{1, At(10, 0, 0), At(10, 1, 0)}, {2, At(10, 0, 30), At(10, 1, 30)}, {3, At(10, 1, 0), 0, 2}},
      2);
  load({At(10, 0, 0, 10)}, {At(10, 1, 0, 10), At(10, 1, 30, 30), At(10, 2, 30)});
  trigger(menu::Zeituebernahme);
  auto* run = find<QComboBox>("Durchgang");
  ASSERT_EQ(run->currentText(), "2");
  choose("Zeitvergleich", 3);
  type("StartNr", "3");
  find<QPushButton>("Zeiten_StNr_zuordnen")->click();
  // The combos change after the build: the takeover keeps to run 2 and finish times.
  run->setCurrentIndex(0);
  find<QComboBox>("HandzeitT")->setCurrentIndex(0);
  QTest::keyClick(find<QLineEdit>("StartNr"), Qt::Key_F2);
  const db::Recordset rs = state().db().query(
      QStringLiteral("select durchgang,ergcode,ziel,netto from tblZeit where teilnehmer=3 "
                     "order by durchgang"));
  ASSERT_EQ(rs.count(), 2);
  EXPECT_TRUE(rs.at(0, 2).isNull());
  EXPECT_EQ(rs.at(0, 1).toInt(), 2);
  EXPECT_EQ(rs.at(1, 1).toInt(), 0);
  EXPECT_NEAR(rs.at(1, 3).toDouble(), db::HundredthsToDay(At(0, 1, 29, 80)), 1e-12);
  EXPECT_EQ(run->currentText(), "2");
  EXPECT_EQ(find<QComboBox>("HandzeitT")->currentIndex(), 1);
  EXPECT_FALSE(day().takeover().assignmentsMade());
}

TEST_F(FramesTest, RunTimeFrameTakesF3F4AndF2) {
  openRace({{1, 0, 0, 0, true, 6000}, {2, 0, 0, 0, true, 6100}, {3, 0, 0, 2}});
  load({At(10, 0, 0), At(10, 1, 0), At(10, 2, 0)},
       {At(10, 1, 0, 10), At(10, 2, 1, 10), At(10, 3, 5)});
  ASSERT_TRUE(enabled(menu::ZeituebernahmeH));
  trigger(menu::ZeituebernahmeH);
  EXPECT_FALSE(window().frameHandzeit()->isHidden());
  EXPECT_EQ(window().frameTitel()->text(), "Übernahme Handzeit (Laufzeit)");
  auto* bibS = find<QLineEdit>("StartNrS");
  for (int i = 0; i < 3; ++i) {
    choose("HandzeitS", i);
    type("StartNrS", QString::number(i + 1));
    QTest::keyClick(bibS, Qt::Key_F3);
  }
  EXPECT_EQ(bibS->selectedText(), "3");
  choose("HandzeitZ", 2);
  EXPECT_EQ(find<HandListView>("HandzeitZ")->model()->index(2, 1).data(Qt::ForegroundRole),
            QVariant(QColor(0, 0, 255)));
  type("StartNrZ", "3");
  QTest::keyClick(find<QLineEdit>("StartNrZ"), Qt::Key_F4);
  auto* comparison = find<HandListView>("ZeitvergleichH");
  ASSERT_EQ(comparison->model()->rowCount(), 3);
  EXPECT_EQ(cell("ZeitvergleichH", 2, 1), "00:01:04,90");
  GrabForLooking(window(), "frame-laufzeit");

  ui().chooseSaveFile(QDir(dataDir()).filePath("p.pdf"));
  QTest::keyClick(bibS, Qt::Key_F2);
  EXPECT_TRUE(window().frameHandzeit()->isHidden());
  const db::Recordset rs = state().db().query(
      QStringLiteral("select ergcode,netto from tblZeit where teilnehmer=3 and durchgang=1"));
  ASSERT_EQ(rs.count(), 1);
  EXPECT_NEAR(rs.at(0, 1).toDouble(), db::HundredthsToDay(6490), 1e-12);
}

}  // namespace
}  // namespace kx::test
