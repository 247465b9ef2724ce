#include "tests/support/appfixture.h"
#include "tests/support/faults.h"
#include "workpanel/panelregistry.h"

#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace kx::test {
namespace {

// A panel with a text box and a main routine that counts its calls.
class CountingPanel : public WorkPanel {
 public:
  CountingPanel(MainWindow& window, const QString& name, int* calls, int* closed)
      : WorkPanel(window, name), calls_(calls), closed_(closed) {}
  QString title() const override { return QStringLiteral("Ausgabe Test"); }
  void build() override { edit = addTextBox("TestFeld", "", Arial(9), {600, 980, 2000, 285}); }
  void mainAction() override { ++*calls_; }
  void afterClose() override { ++*closed_; }
  QLineEdit* edit = nullptr;

 private:
  int* calls_;
  int* closed_;
};

// Records the keys a control receives.
class KeyRecorder : public QObject {
 public:
  QList<int> keys;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) keys.append(static_cast<QKeyEvent*>(e)->key());
    return false;
  }
};

class PanelTest : public AppFixture {
 protected:
  void SetUp() override {
    AppFixture::SetUp();
    openThroughMenu(writeCompetition("Cup.mdb", SmallCompetition()));
  }
  CountingPanel* openCounting(const QString& name = "Startliste") {
    return window().openPanel<CountingPanel>(name, &calls, &closed);
  }
  QString title() { return window().frameTitel()->text(); }
  int calls = 0;
  int closed = 0;
};

TEST_F(PanelTest, TheRegistryHoldsEveryPanelOnce) {
  EXPECT_EQ(PanelTable().size(), 30u);
  QStringList names;
  for (const PanelInfo& info : PanelTable()) {
    EXPECT_FALSE(names.contains(info.name)) << info.name.toStdString();
    names.append(info.name);
    for (const QString& entry : info.menuEntries) {
      EXPECT_NE(window().action(entry), nullptr) << entry.toStdString();
    }
  }
  EXPECT_FALSE(FindPanel("LadenDatei")->hasMainAction);
}

TEST_F(PanelTest, F2ReachesTheMainRoutineAndTheFocusedControlGetsTheKeyToo) {
  CountingPanel* panel = openCounting();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(window().currentPanel(), "Startliste");
  EXPECT_EQ(title(), "Ausgabe Test");
  KeyRecorder recorder;
  panel->edit->installEventFilter(&recorder);
  QTest::keyClick(panel->edit, Qt::Key_F2);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(recorder.keys, QList<int>{Qt::Key_F2});
  // Modifiers are ignored.
  QTest::keyClick(panel->edit, Qt::Key_F2, Qt::ShiftModifier);
  QTest::keyClick(panel->edit, Qt::Key_F2, Qt::ControlModifier);
  EXPECT_EQ(calls, 3);
  // F3 and F4 do nothing in a named panel; other keys neither.
  QTest::keyClick(panel->edit, Qt::Key_F3);
  QTest::keyClick(panel->edit, Qt::Key_F4);
  QTest::keyClick(panel->edit, Qt::Key_A);
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(window().currentPanel(), "Startliste");
}

TEST_F(PanelTest, EscClosesThePanelFromInsideItsOwnControl) {
  CountingPanel* panel = openCounting();
  QTest::keyClick(panel->edit, Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_TRUE(title().isEmpty());
  EXPECT_EQ(closed, 1);
  EXPECT_EQ(window().findChild<QLineEdit*>("TestFeld"), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  // With no panel and no frame, F2 does nothing.
  QTest::keyClick(&window(), Qt::Key_F2);
  EXPECT_EQ(calls, 0);
}

TEST_F(PanelTest, ACloseRoutineOfAnotherPanelOnlyClearsTheTitle) {
  openCounting();
  window().closePanel("Namensliste");
  EXPECT_EQ(window().currentPanel(), "Startliste");
  EXPECT_TRUE(title().isEmpty());
  EXPECT_EQ(closed, 0);
  window().CloseAllPanels();
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_EQ(closed, 1);
}

TEST_F(PanelTest, AMenuEntryOfAPanelNotYetOfferedShowsItsTitleAndClosesWithEsc) {
  trigger("BearbeitenTorrichterkarte");
  EXPECT_EQ(window().currentPanel(), "Torrichterkarte");
  EXPECT_EQ(title(), "Ausgabe Torrichterkarte");
  QTest::keyClick(&window(), Qt::Key_Escape);
  EXPECT_TRUE(window().currentPanel().isEmpty());
}

TEST_F(PanelTest, ChoosingAnEntryAgainRebuildsThePanelEmpty) {
  trigger("BearbeitenTorrichterkarte");
  WorkPanel* first = window().panel();
  trigger("BearbeitenTorrichterkarte");
  EXPECT_NE(window().panel(), first);
  EXPECT_EQ(window().currentPanel(), "Torrichterkarte");
}

TEST_F(PanelTest, TheAboutPanelStandsBesideAPanelAndGoesWithTheNextOne) {
  openCounting();
  QWidget* info = window().findChild<QWidget*>("FrameInfo");
  trigger("Info");
  EXPECT_TRUE(info->isVisibleTo(&window()));
  EXPECT_EQ(window().currentPanel(), "Startliste");
  QTest::mouseClick(window().findChild<QWidget*>("Info_ok"), Qt::LeftButton);
  EXPECT_FALSE(info->isVisibleTo(&window()));
  trigger("Info");
  trigger("BearbeitenTorrichterkarte");
  EXPECT_FALSE(info->isVisibleTo(&window()));
}

TEST_F(PanelTest, TheOpenCertificateEditorRefusesEveryGuardedEntry) {
  window().enable("UrkundenBearbeiten");
  trigger("UrkundenBearbeiten");
  ASSERT_EQ(window().currentPanel(), "UrkundenBearbeiten");
  ui().clear();
  for (const char* entry : {"BearbeitenStartliste", "BearbeitenTorrichterkarte", "DateiOeffnen",
                            "DateiSchliessen", "DisziplinSL", "DisziplinKombination"}) {
    trigger(entry);
    EXPECT_EQ(window().currentPanel(), "UrkundenBearbeiten") << entry;
  }
  EXPECT_EQ(ui().messages.size(), 6);
  for (const auto& m : ui().messages) {
    EXPECT_EQ(m.text, kEditorLeaveMessage);
    EXPECT_EQ(m.title, "Kandrix");
    EXPECT_EQ(m.icon, MsgIcon::None);
  }
  EXPECT_TRUE(state().fileOpen());
  EXPECT_TRUE(checked("DisziplinRS"));
  EXPECT_FALSE(checked("DisziplinSL") || checked("DisziplinKombination"));
  // With nothing changed the editor does not keep the program open: it goes as by its Esc.
  int stopped = 0;
  window().StopLiveTimer = [&] { ++stopped; };
  EXPECT_TRUE(window().close());
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_EQ(ui().messages.size(), 6);
  EXPECT_EQ(stopped, 1);
}

TEST_F(PanelTest, TheTakeoverFramesTakeTheirKeys) {
  int f2 = 0, f3 = 0, f4 = 0;
  window().handzeitRoutines = {[&] { ++f2; }, [&] { ++f3; }, [&] { ++f4; }};
  window().enable("ZeituebernahmeH");
  trigger("ZeituebernahmeH");
  EXPECT_TRUE(window().frameHandzeit()->isVisibleTo(&window()));
  EXPECT_EQ(title(), "Übernahme Handzeit (Laufzeit)");
  EXPECT_TRUE(window().currentPanel().isEmpty());
  QTest::keyClick(&window(), Qt::Key_F2);
  QTest::keyClick(&window(), Qt::Key_F3);
  QTest::keyClick(&window(), Qt::Key_F4, Qt::AltModifier);
  EXPECT_EQ(std::tuple(f2, f3, f4), std::tuple(1, 1, 1));
  QTest::keyClick(&window(), Qt::Key_Escape);
  EXPECT_FALSE(window().frameHandzeit()->isVisibleTo(&window()));
  EXPECT_TRUE(title().isEmpty());

  int dayF2 = 0;
  window().zeituebernahmeRoutines = {[&] { ++dayF2; }, {}, {}};
  window().enable("Zeituebernahme");
  trigger("Zeituebernahme");
  EXPECT_EQ(title(), "Übernahme Handzeit (Tageszeit)");
  QTest::keyClick(&window(), Qt::Key_F2);
  QTest::keyClick(&window(), Qt::Key_F3);
  EXPECT_EQ(dayF2, 1);
  EXPECT_EQ(f3, 1);
  // A panel's menu entry closes the frame.
  trigger("BearbeitenTorrichterkarte");
  EXPECT_FALSE(window().frameZeituebernahme()->isVisibleTo(&window()));
}

TEST_F(PanelTest, ChangingTheDisciplineOrClosingTheFileClosesThePanel) {
  openCounting();
  trigger("DisziplinSL");
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_EQ(closed, 1);
  openCounting();
  trigger("DateiSchliessen");
  EXPECT_TRUE(window().currentPanel().isEmpty());
  EXPECT_EQ(closed, 2);
}

TEST_F(PanelTest, AComboHandlerThatMeetsALockedFileShowsAMessageAndTheProgramGoesOn) {
  window().openRegisteredPanel("Aushangliste");
  auto* grouping = window().findChild<QComboBox*>("AushanglisteGruppe");
  {
    const ForeignLock lock(state().db(), ForeignLock::Kind::Writing);
    grouping->setCurrentIndex(2);  // "Gruppe": reads the groups
    EXPECT_EQ(ui().messages.size(), 1);
  }
  grouping->setCurrentIndex(1);
  EXPECT_EQ(window().findChild<QComboBox*>("AushanglisteKlName")->itemText(0), "Kinder weiblich");
}

}  // namespace
}  // namespace kx::test
