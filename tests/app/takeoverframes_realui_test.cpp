// The hand-time takeover frames with the real dialogs: leaving a frame with assignments not
// taken over (Esc, its close button, another menu entry, the window's close) asks first;
// Nein, the default button, keeps the frame with its assignments for F2, Ja drops them.
// Reopening the day-time frame over its list and answering Nein keeps what F2 stores.

#include "db/database.h"
#include "handtime/handlistview.h"
#include "tests/handtime/handtimefixture.h"
#include "tests/support/realui.h"
#include "workpanel/menuentries.h"

#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace kx::test {
namespace {

const std::string kDiscard =
    "Achtung: die zugeordneten Handzeiten sind noch nicht übernommen! Zuordnungen verwerfen?";
const std::string kReload =
    "Achtung: es sind bereits Handzeiten Startnummern zugeordnet! Wirklich Anzeige neu laden?";

class TakeoverFramesTest : public RealUiFixture {
 protected:
  // Runs 1 and 2 with the same rows, a slalom beside the giant slalom; the hand-time stores
  // filled after the opening.
  void openRace(const std::vector<Timed>& racers, const std::vector<qint64>& starts,
                const std::vector<qint64>& finishes) {
    db::CompetitionSpec race = TimedRace(racers);
    race.disziplinen.push_back({3, true, {}, QStringLiteral("Slalom"), {}, {}, 2});
    for (db::ZeitSpec z : std::vector<db::ZeitSpec>(race.zeiten)) {
      z.durchgang = 2;
      race.zeiten.push_back(z);
    }
    path_ = writeCompetition(QStringLiteral("Rennen.mdb"), race);
    openFile(path_);
    for (qint64 h : starts) state().HzStart.push_back({db::HundredthsToDay(h)});
    for (qint64 h : finishes) state().HzZiel.push_back({db::HundredthsToDay(h)});
    window().UpdateTimeMenus();
  }
  // Racers 1 and 2 finished; racer 3 started in run 2 without a finish time, which the finish
  // hand time 10:02:30 replaces.
  void openDayTimeRace() {
    openRace({{1, At(10, 0, 0), At(10, 1, 0)},
              {2, At(10, 0, 30), At(10, 1, 30)},
              {3, At(10, 1, 0), 0, 2}},
             {}, {At(10, 1, 0, 10), At(10, 1, 30, 30), At(10, 2, 30)});
  }
  // Opens the day-time frame (no question), shows `run` and gives bib 3 the hand time: the
  // replacement finish time 10:02:29,80, its protocol saved in the real save dialog.
  void assignBib3(int run = 2) {
    person.answer({});
    trigger(menu::Zeituebernahme);
    control<QComboBox>("Durchgang")->setCurrentIndex(run - 1);
    control<QPushButton>("Zeiten_Anzeigen")->click();
    ASSERT_EQ(person.kinds(), "");
    choose("Zeitvergleich", 3);
    control<QLineEdit>("StartNr")->setText("3");
    person.answer({{Qt::Key_Return, QDir(dataDir()).filePath(QString("P%1.pdf").arg(++files_))}});
    control<QPushButton>("Zeiten_StNr_zuordnen")->click();
    ASSERT_EQ(person.kinds(), "QFileDialog");
    ASSERT_TRUE(replacementShown());
  }
  bool replacementShown() {
    return cell("Zeitvergleich", 2, 2).toString() == "10:02:29,80" &&
           cell("Zeitvergleich", 2, 2, Qt::FontRole).value<QFont>().bold();
  }
  void choose(const QString& view, int row) {
    auto* list = control<HandListView>(view);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
  }
  QVariant cell(const QString& view, int row, int column, int role = Qt::DisplayRole) {
    return control<HandListView>(view)->model()->index(row, column).data(role);
  }
  bool dayFrameShown() { return !window().frameZeituebernahme()->isHidden(); }
  bool runFrameShown() { return !window().frameHandzeit()->isHidden(); }
  // Racer 3's result of a run as the file holds it, read on a connection of its own:
  // "ergcode|netto in hundredths", netto empty when missing.
  std::string storedOfRacer3(int run = 2) {
    const db::Recordset rs = db::Connection::open(path_)->query(
        "select ergcode,netto from tblZeit where teilnehmer=3 and durchgang=?", {run});
    const db::Field netto = rs.at(0, 1);
    return (rs.at(0, 0).toString() + "|" +
            (netto.isNull() ? QString() : QString::number(qRound64(netto.toDouble() * 8640000))))
        .toStdString();
  }

  // The ways out of a frame as a person takes them, and whether the way went through.
  struct Way {
    const char* name;
    std::function<void()> go;
    std::function<bool()> went;
  };
  std::vector<Way> waysOut(const QString& field, const QString& closeButton, QFrame* frame) {
    const auto hidden = [frame] { return frame->isHidden(); };
    return {
        {"Esc", [this, field] { typeInto(control(field), Qt::Key_Escape); }, hidden},
        {"Schließen", [this, closeButton] { control<QPushButton>(closeButton)->click(); }, hidden},
        {"Namensliste", [this] { trigger(menu::BearbeitenNamensliste); },
         [this] { return window().currentPanel() == "Namensliste"; }},
        {"Slalom", [this] { trigger(menu::DisziplinSL); },
         [this] { return state().CurrentDisciplineType == 3; }},
        {"Datei schließen", [this] { trigger(menu::DateiSchliessen); },
         [this] { return !state().CompetitionDb; }},
        {"Fenster schließen", [this] { window().close(); },
         [this] { return !window().isVisible(); }}};
  }

  QString path_;
  int files_ = 0;
};

TEST_F(TakeoverFramesTest, DayTimeFrameKeepsItsAssignmentOnNeinWhereverItIsLeftAndF2StoresIt) {
  openDayTimeRace();
  ASSERT_TRUE(enabled(menu::BearbeitenNamensliste));
  // Nothing assigned: Esc leaves without a question.
  trigger(menu::Zeituebernahme);
  person.answer({});
  typeInto(control("StartNr"), Qt::Key_Escape);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_FALSE(dayFrameShown());

  // Assigned and undone: nothing to lose, no question.
  assignBib3();
  choose("Zeitvergleich", 2);
  control<QPushButton>("Zeiten_Zuordnung_aufheben")->click();
  person.answer({});
  typeInto(control("StartNr"), Qt::Key_Escape);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_FALSE(dayFrameShown());

  // Enter takes the default button, Nein: every way out leaves the frame as it is.
  assignBib3();
  for (const Way& way : waysOut("StartNr", "Zeiten_Schliessen", window().frameZeituebernahme())) {
    person.answer({{Qt::Key_Return, {}}});
    way.go();
    EXPECT_EQ(person.texts(), kDiscard) << way.name;
    EXPECT_FALSE(way.went()) << way.name;
    EXPECT_TRUE(dayFrameShown()) << way.name;
    EXPECT_TRUE(replacementShown()) << way.name;
    EXPECT_EQ(window().frameTitel()->text(), "Übernahme Handzeit (Tageszeit)") << way.name;
    EXPECT_TRUE(checked(menu::DisziplinRS) && !checked(menu::DisziplinSL)) << way.name;
  }
  EXPECT_EQ(storedOfRacer3(), "2|");

  // F2 stores the replacement; taken over, the frame is left without a question.
  person.answer({});
  typeInto(control("StartNr"), Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_EQ(storedOfRacer3(), "0|8980");
  typeInto(control("StartNr"), Qt::Key_Escape);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_FALSE(dayFrameShown());
}

TEST_F(TakeoverFramesTest, DayTimeFrameDropsItsAssignmentOnJaWhereverItIsLeft) {
  openDayTimeRace();
  for (const Way& way : waysOut("StartNr", "Zeiten_Schliessen", window().frameZeituebernahme())) {
    if (state().CurrentDisciplineType != 2) openFile(path_);  // left by the way before
    assignBib3();
    person.answer({{Qt::Key_J, {}}});
    way.go();
    EXPECT_EQ(person.texts(), kDiscard) << way.name;
    EXPECT_TRUE(way.went()) << way.name;
    EXPECT_FALSE(dayFrameShown()) << way.name;
    EXPECT_EQ(storedOfRacer3(), "2|") << way.name;
  }
  // Dropped: opened again, the frame builds anew without a question.
  window().show();
  person.answer({});
  trigger(menu::Zeituebernahme);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_FALSE(replacementShown());
}

TEST_F(TakeoverFramesTest, ReopenedOverItsAssignmentTheDayTimeFrameKeepsWhatItShowsForF2) {
  openDayTimeRace();
  // Ja builds anew: the assignment is gone and F2 has nothing to store.
  assignBib3();
  person.answer({{Qt::Key_J, {}}});
  trigger(menu::Zeituebernahme);
  EXPECT_EQ(person.texts(), kReload);
  EXPECT_FALSE(replacementShown());
  person.answer({{Qt::Key_Return, {}}});
  typeInto(control("StartNr"), Qt::Key_F2);
  EXPECT_EQ(person.texts(), "Es ist keiner Startnummer eine Handzeit zugeordnet!");
  EXPECT_EQ(storedOfRacer3(), "2|");

  // One question, the build's; Enter takes Nein, the default; Nein keeps the list and the run
  // and mode it was built for.
  assignBib3(1);
  person.answer({{Qt::Key_Return, {}}});
  control<QPushButton>("Zeiten_Anzeigen")->click();
  EXPECT_EQ(person.texts(), kReload);
  EXPECT_TRUE(replacementShown());
  person.answer({{Qt::Key_N, {}}});
  trigger(menu::Zeituebernahme);
  EXPECT_EQ(person.texts(), kReload);
  EXPECT_TRUE(dayFrameShown());
  EXPECT_TRUE(replacementShown());
  EXPECT_EQ(control<QComboBox>("Durchgang")->currentText() +
                control<QComboBox>("HandzeitT")->currentText(),
            "1Ziel");
  // F2 stores the assignment shown, in the run it was made for.
  person.answer({});
  typeInto(control("StartNr"), Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_EQ(storedOfRacer3(1), "0|8980");
  EXPECT_EQ(storedOfRacer3(2), "2|");
}

// "Öffnen" asks only once a file has been chosen and is about to replace the open one: a
// cancelled dialog or a refused file leaves the assignment as it is.
TEST_F(TakeoverFramesTest, OpeningAnotherFileAsksOnlyOnceItIsChosen) {
  openDayTimeRace();
  assignBib3();
  const QString other = writeCompetition("Anders.mdb", SmallCompetition());

  person.answer({{Qt::Key_Escape, {}}});
  trigger(menu::DateiOeffnen);
  EXPECT_EQ(person.kinds(), "QFileDialog");
  person.answer(
      {{Qt::Key_Return, QDir(programDir()).filePath("STAMMDAT.mdb")}, {Qt::Key_Return, {}}});
  trigger(menu::DateiOeffnen);
  EXPECT_EQ(person.kinds(), "QFileDialog, QMessageBox");
  EXPECT_TRUE(person.seen.value(1).text.endsWith("keine Kandor-Bewerbsdatei"));
  EXPECT_TRUE(dayFrameShown() && replacementShown());
  for (Qt::Key keep : {Qt::Key_Return, Qt::Key_N}) {
    person.answer({{Qt::Key_Return, other}, {keep, {}}});
    trigger(menu::DateiOeffnen);
    EXPECT_EQ(person.seen.value(1).text.toStdString(), kDiscard);
    EXPECT_EQ(state().CompetitionFileName, "Rennen");
    EXPECT_TRUE(dayFrameShown() && replacementShown());
  }
  person.answer({{Qt::Key_Return, other}, {Qt::Key_J, {}}});
  trigger(menu::DateiOeffnen);
  EXPECT_EQ(person.seen.value(1).text.toStdString(), kDiscard);
  EXPECT_EQ(state().CompetitionFileName, "Anders");
  EXPECT_FALSE(dayFrameShown());
  EXPECT_EQ(storedOfRacer3(), "2|");
}

TEST_F(TakeoverFramesTest, RunTimeFrameAsksBeforeItsBibsAreDroppedAndStoresThemOnF2) {
  openRace({{1, 0, 0, 0, true, 6000}, {2, 0, 0, 0, true, 6100}, {3, 0, 0, 2}},
           {At(10, 0, 0), At(10, 1, 0), At(10, 2, 0)},
           {At(10, 1, 0, 10), At(10, 2, 1, 10), At(10, 3, 5)});
  auto assignAll = [&] {
    person.answer({});
    trigger(menu::ZeituebernahmeH);
    ASSERT_EQ(person.kinds(), "");
    for (int i = 0; i < 3; ++i) {
      choose("HandzeitS", i);
      control<QLineEdit>("StartNrS")->setText(QString::number(i + 1));
      typeInto(control("StartNrS"), Qt::Key_F3);
    }
    choose("HandzeitZ", 2);
    control<QLineEdit>("StartNrZ")->setText("3");
    typeInto(control("StartNrZ"), Qt::Key_F4);
    ASSERT_EQ(cell("ZeitvergleichH", 2, 1).toString(), "00:01:04,90");
  };
  // No bib given: no question.
  trigger(menu::ZeituebernahmeH);
  person.answer({});
  typeInto(control("StartNrS"), Qt::Key_Escape);
  EXPECT_EQ(person.kinds(), "");
  EXPECT_FALSE(runFrameShown());

  assignAll();
  for (const Way& way : waysOut("StartNrS", "Zeiten_SchliessenH", window().frameHandzeit())) {
    person.answer({{Qt::Key_Return, {}}});
    way.go();
    EXPECT_EQ(person.texts(), kDiscard) << way.name;
    EXPECT_FALSE(way.went()) << way.name;
    EXPECT_TRUE(runFrameShown()) << way.name;
    EXPECT_EQ(cell("ZeitvergleichH", 2, 1).toString(), "00:01:04,90") << way.name;
    EXPECT_TRUE(checked(menu::DisziplinRS) && !checked(menu::DisziplinSL)) << way.name;
  }
  // Ja drops the bibs: opened again, the lists have none.
  person.answer({{Qt::Key_J, {}}});
  typeInto(control("StartNrS"), Qt::Key_Escape);
  EXPECT_EQ(person.texts(), kDiscard);
  EXPECT_FALSE(runFrameShown());
  trigger(menu::ZeituebernahmeH);
  EXPECT_EQ(cell("HandzeitS", 0, 0).toString(), "-");
  EXPECT_EQ(storedOfRacer3(), "2|");

  // F2 writes the protocol, stores the run time and closes the frame without a question.
  assignAll();
  person.answer({{Qt::Key_Return, QDir(dataDir()).filePath("Laufzeit.pdf")}});
  typeInto(control("StartNrS"), Qt::Key_F2);
  EXPECT_EQ(person.kinds(), "QFileDialog");
  EXPECT_FALSE(runFrameShown());
  EXPECT_EQ(storedOfRacer3(), "0|6490");
}

}  // namespace
}  // namespace kx::test
