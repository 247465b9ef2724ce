// The two takeover frames in the main window: opening by the loaded stores, the rebuild
// question, the keys F2, F3, F4 and Esc, and the run and mode kept with the built list.
#include "handtime/handlistview.h"
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
  void openRace(std::vector<Timed> racers, const std::vector<qint64>& starts,
                const std::vector<qint64>& finishes) {
    db::CompetitionSpec race = TimedRace(racers);
    for (db::ZeitSpec z : std::vector<db::ZeitSpec>(race.zeiten)) {
      z.durchgang = 2;
      race.zeiten.push_back(z);
    }
    openThroughMenu(writeCompetition(QStringLiteral("Rennen.mdb"), race));
    for (qint64 h : starts) state().HzStart.push_back({db::HundredthsToDay(h)});
    for (qint64 h : finishes) state().HzZiel.push_back({db::HundredthsToDay(h)});
    window().UpdateTimeMenus();
  }
  template <class T>
  T* find(const QString& name) {
    return window().findChild<T*>(name);
  }
  // Clicks a row of a list view and types into a text box as the user does.
  void choose(const QString& view, int row) {
    auto* list = find<HandListView>(view);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
  }
  void type(const QString& box, const QString& text) {
    find<QLineEdit>(box)->selectAll();
    QTest::keyClicks(find<QLineEdit>(box), text);
  }
  QVariant cell(const QString& view, int row, int column, int role = Qt::DisplayRole) {
    return find<HandListView>(view)->model()->index(row, column).data(role);
  }
};

TEST_F(FramesTest, DayTimeFrameOpensByTheStoresAsksBeforeARebuildAndKeepsItsRun) {
  openRace(
      {{1, At(10, 0, 0), At(10, 1, 0)}, {2, At(10, 0, 30), At(10, 1, 30)}, {3, At(10, 1, 0), 0, 2}},
      {At(10, 0, 0, 10)}, {});
  trigger(menu::Zeituebernahme);
  auto* mode = find<QComboBox>("HandzeitT");
  EXPECT_FALSE(window().frameZeituebernahme()->isHidden());
  EXPECT_EQ(window().frameTitel()->text(), "Übernahme Handzeit (Tageszeit)");
  EXPECT_EQ(mode->currentIndex(), 0);
  EXPECT_FALSE(mode->isEnabled());

  for (qint64 h : {At(10, 1, 0, 10), At(10, 1, 30, 30), At(10, 2, 30)})
    state().HzZiel.push_back({db::HundredthsToDay(h)});
  trigger(menu::Zeituebernahme);
  EXPECT_EQ(mode->count(), 2);
  EXPECT_EQ(mode->currentIndex(), 1);
  EXPECT_TRUE(mode->isEnabled());
  auto* run = find<QComboBox>("Durchgang");
  EXPECT_EQ(run->currentText(), "2");
  GrabForLooking(window(), "frame-tageszeit");

  // The protocol's dialog is cancelled: the assignment stands.
  choose("Zeitvergleich", 3);
  type("StartNr", "3");
  find<QPushButton>("Zeiten_StNr_zuordnen")->click();
  EXPECT_EQ(cell("Zeitvergleich", 2, 2).toString(), "10:02:29,80");
  EXPECT_TRUE(cell("Zeitvergleich", 2, 2, Qt::FontRole).value<QFont>().bold());
  ui().clear();
  ui().answerMessages({MsgAnswer::No});
  find<QPushButton>("Zeiten_Anzeigen")->click();
  EXPECT_EQ(ui().messageTexts().value(0).left(49),
            "Achtung: es sind bereits Handzeiten Startnummern ");
  EXPECT_EQ(cell("Zeitvergleich", 2, 2).toString(), "10:02:29,80");

  // Run and mode changed after the build: F2 writes the finish times of run 2.
  run->setCurrentIndex(0);
  mode->setCurrentIndex(0);
  QTest::keyClick(find<QLineEdit>("StartNr"), Qt::Key_F2);
  const db::Recordset rs = state().db().query(
      QStringLiteral("select ergcode,netto from tblZeit where teilnehmer=3 order by durchgang"));
  EXPECT_TRUE(rs.at(0, 1).isNull());
  EXPECT_EQ(rs.at(1, 0).toInt(), 0);
  EXPECT_NEAR(rs.at(1, 1).toDouble(), db::HundredthsToDay(At(0, 1, 29, 80)), 1e-12);
  EXPECT_EQ(run->currentText() + mode->currentText(), "2Ziel");
  EXPECT_EQ(cell("Zeitvergleich", 2, 2).toString(), "10:02:29,80");
  EXPECT_FALSE(cell("Zeitvergleich", 2, 2, Qt::FontRole).value<QFont>().bold());

  QTest::keyClick(find<QLineEdit>("StartNr"), Qt::Key_Escape);
  EXPECT_TRUE(window().frameZeituebernahme()->isHidden());
  EXPECT_EQ(window().frameTitel()->text(), "");
  EXPECT_EQ(find<HandListView>("Zeitvergleich")->model()->rowCount(), 3);  // kept while hidden
}

TEST_F(FramesTest, RunTimeFrameTakesF3F4AndF2) {
  openRace({{1, 0, 0, 0, true, 6000}, {2, 0, 0, 0, true, 6100}, {3, 0, 0, 2}},
           {At(10, 0, 0), At(10, 1, 0), At(10, 2, 0)},
           {At(10, 1, 0, 10), At(10, 2, 1, 10), At(10, 3, 5)});
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
  EXPECT_EQ(cell("HandzeitZ", 2, 1, Qt::ForegroundRole), QVariant(QColor(0, 0, 255)));
  type("StartNrZ", "3");
  QTest::keyClick(find<QLineEdit>("StartNrZ"), Qt::Key_F4);
  EXPECT_EQ(cell("ZeitvergleichH", 2, 1).toString(), "00:01:04,90");
  GrabForLooking(window(), "frame-laufzeit");

  ui().chooseSaveFile(QDir(dataDir()).filePath("p.pdf"));
  QTest::keyClick(bibS, Qt::Key_F2);
  EXPECT_TRUE(window().frameHandzeit()->isHidden());
  EXPECT_NEAR(state()
                  .db()
                  .scalar(QStringLiteral("select netto from tblZeit where teilnehmer=3 and "
                                         "durchgang=2"))
                  .toDouble(),
              db::HundredthsToDay(6490), 1e-12);
}

// Leaving a frame with what F2 would store asks first, also for a start replacement without
// run time (the racer has neither start nor finish) and for bibs on finish hand times only.
TEST_F(FramesTest, EscAsksAboutAStartReplacementWithoutRunTimeAndAboutFinishBibsOnly) {
  openRace({{1, At(10, 0, 0), At(10, 1, 0)}, {2, At(10, 0, 30), At(10, 1, 30)}, {3, 0, 0, 2}},
           {At(10, 0, 0, 10), At(10, 0, 30, 20), At(10, 1, 0)}, {At(10, 1, 0, 5)});
  const QString discard = QStringLiteral(
      "Achtung: die zugeordneten Handzeiten sind noch nicht übernommen! Zuordnungen verwerfen?");
  trigger(menu::Zeituebernahme);
  find<QComboBox>("HandzeitT")->setCurrentIndex(0);
  find<QPushButton>("Zeiten_Anzeigen")->click();
  choose("Zeitvergleich", 3);
  type("StartNr", "3");
  ui().chooseSaveFile(QDir(dataDir()).filePath("p.pdf"));
  find<QPushButton>("Zeiten_StNr_zuordnen")->click();
  ASSERT_EQ(cell("Zeitvergleich", 2, 1).toString() + cell("Zeitvergleich", 2, 3).toString(),
            "10:00:59,85-");
  ui().clear();
  ui().answerMessages({MsgAnswer::No});
  QTest::keyClick(find<QLineEdit>("StartNr"), Qt::Key_Escape);
  EXPECT_EQ(ui().messageTexts(), QStringList{discard});
  EXPECT_FALSE(window().frameZeituebernahme()->isHidden());

  window().enable(menu::ZeituebernahmeH);
  trigger(menu::ZeituebernahmeH);  // asks again: Ja drops the replacement
  ASSERT_FALSE(window().frameHandzeit()->isHidden());
  choose("HandzeitZ", 0);
  type("StartNrZ", "1");
  QTest::keyClick(find<QLineEdit>("StartNrZ"), Qt::Key_F4);
  ASSERT_EQ(cell("HandzeitZ", 0, 0).toString(), "1");
  ui().clear();
  ui().answerMessages({MsgAnswer::No});
  QTest::keyClick(find<QLineEdit>("StartNrZ"), Qt::Key_Escape);
  EXPECT_EQ(ui().messageTexts(), QStringList{discard});
  EXPECT_FALSE(window().frameHandzeit()->isHidden());
}

}  // namespace
}  // namespace kx::test
