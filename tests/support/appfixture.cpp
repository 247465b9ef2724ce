#include "tests/support/appfixture.h"

#include "tests/support/pdfreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTest>
#include <QWidget>

namespace kx::test {

db::CompetitionSpec SmallCompetition() {
  db::CompetitionSpec race;
  race.version = 20;
  race.bewerb.typ = 4;
  race.disziplinen = {
      {2, true, QString("1234"), "Bezirkscup\r\nKinder", QDate(2027, 1, 16), QDate(2027, 1, 16), 2},
      {3, true, QString("MB77"), "Bezirkscup\r\nKinder", QDate(2027, 1, 17), QDate(2027, 1, 17), 2},
      {0, false, std::nullopt, "Abfahrt", std::nullopt, std::nullopt, 1}};
  race.listenkopf = {{2, 94, "Riesenslalom"}, {3, 94, "Slalom"}, {0, 92, "0;0"}};
  race.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
  race.gruppen = {{1, "Kinder", 1}, {2, "Schüler", 2}};
  race.klassen = {{1, "Kinder weiblich", "W", 2016, 1, 1},
                  {2, "Kinder männlich", "M", 2016, 1, 2},
                  {3, "Schüler weiblich", "W", 2012, 2, 3},
                  {4, "Schüler männlich", "M", 2012, 2, 4}};
  const struct {
    const char* sex;
    const char* nachname;
    const char* vorname;
    int jahrgang;
    int klasse;
  } people[] = {{"W", "Huber", "Anna", 2015, 1}, {"M", "Öhler", "Ben", 2014, 2},
                {"W", "Abel", "Clara", 2011, 3}, {"M", "de Boer", "David", 2012, 4},
                {"M", "Ott", "Emil", 2015, 2},   {"W", "Maier", "Fiona", 2013, 3}};
  int id = 0;
  for (const auto& p : people) {
    ++id;
    db::TeilnehmerSpec t;
    t.id = id;
    t.sex = p.sex;
    t.nachname = p.nachname;
    t.vorname = p.vorname;
    t.jahrgang = p.jahrgang;
    t.klasse = p.klasse;
    t.verein = QString("SC Musterdorf");
    t.nation = QString("AUT");
    t.disziplinen[2] = {true, id, 9999.99, 9999.99};
    t.disziplinen[3] = {true, id, 9999.99, 9999.99};
    race.teilnehmer.push_back(t);
  }
  return race;
}

void KeepForLooking(const QString& path, const QString& name) {
  const QString dir = qEnvironmentVariable("KANDRIX_LOOK_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  const QString copy = QDir(dir).filePath(name);
  QFile::remove(copy);
  QFile::copy(path, copy);
  if (!name.endsWith(".pdf")) return;
  PdfReader pdf(path);
  for (int page = 1; page <= pdf.pageCount(); ++page) {
    pdf.renderPage(page, copy.chopped(4) + QString("-%1.png").arg(page), 100);
  }
}

void GrabForLooking(QWidget& widget, const QString& name) {
  const QString dir = qEnvironmentVariable("KANDRIX_LOOK_DIR");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  widget.grab().save(QDir(dir).filePath(name + ".png"));
}

void AppFixture::SetUp() {
  ASSERT_TRUE(programDir_.isValid());
  QDir(programDir_.path()).mkpath("Daten");
  QFile ini(QDir(programDir_.path()).filePath("Kandor.ini"));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
  ini.write(("[DATA]\nDATADIR=" + dataDir() + "\n").toUtf8());
  ini.close();
  db::BuildMasterDataFile(QDir(programDir_.path()).filePath("STAMMDAT.mdb"), db::MasterDataSpec{});
  startWindow();
}

void AppFixture::TearDown() {
  window_.reset();
}

MainWindow& AppFixture::startWindow() {
  window_.reset();
  auto ui = std::make_unique<ScriptedUi>();
  ui->setNow(now_);
  ui_ = ui.get();
  window_ = std::make_unique<MainWindow>(
      programDir_.path(), std::move(ui),
      std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat));
  return *window_;
}

QString AppFixture::dataDir() const {
  return QDir(programDir_.path()).filePath("Daten");
}

QString AppFixture::settingsPath() const {
  return QDir(programDir_.path()).filePath("user-settings.ini");
}

QString AppFixture::writeCompetition(const QString& fileName, const db::CompetitionSpec& race) {
  const QString path = QDir(dataDir()).filePath(fileName);
  db::BuildCompetitionFile(path, race);
  return path;
}

void AppFixture::openThroughMenu(const QString& path) {
  ui().chooseOpenFile(path);
  trigger("DateiOeffnen");
}

void AppFixture::expectCancelAndUnwritableFile(const QString& resultLabel, const QString& listWord,
                                               const QString& path, bool panelStays) {
  const QString panel = window().currentPanel();
  ASSERT_FALSE(panel.isEmpty());
  ui().clear();
  ui().cancelNextSave();
  QTest::keyClick(&window(), Qt::Key_F2);
  QLabel* label = window().findChild<QLabel*>(resultLabel);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), listWord + " nicht gespeichert");
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  EXPECT_EQ(ui().saveRequests.size(), 1);
  EXPECT_FALSE(QFileInfo::exists(path));

  ASSERT_TRUE(QDir().mkpath(path));
  ui().chooseSaveFile(path);
  QTest::keyClick(&window(), Qt::Key_F2);
  ASSERT_EQ(ui().messages.size(), 1);
  EXPECT_EQ(ui().messages[0].text,
            path + "\nkann nicht ausgegeben werden\n(ist vermutlich noch geöffnet)");
  EXPECT_EQ(ui().messages[0].icon, MsgIcon::None);
  EXPECT_TRUE(ui().viewerOpened.isEmpty());
  EXPECT_TRUE(QFileInfo(path).isDir());
  if (panelStays) {
    EXPECT_EQ(window().currentPanel(), panel);
    EXPECT_EQ(label->text(), " ");
  } else {
    EXPECT_TRUE(window().currentPanel().isEmpty());
  }
}

void AppFixture::trigger(const QString& entry) {
  QAction* action = window().action(entry);
  ASSERT_NE(action, nullptr) << entry.toStdString();
  action->trigger();
}

}  // namespace kx::test
