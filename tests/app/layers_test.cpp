// The layers of the source tree hold: every `#include "folder/..."` of the program's
// folders is checked against the rule written down in CONTRIBUTING.md.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

namespace kx::test {
namespace {

const QStringList kSubsystems{"startorder",    "results",   "devices", "handtime",
                              "livetiming",    "officials", "import",  "certificates",
                              "refereereport", "admin"};

// The folders each low layer may include besides itself.
const QHash<QString, QStringList> kBelow{
    {"db", {}},
    {"common", {"db"}},
    {"pdf", {"common"}},
    {"lists", {"pdf", "common", "db"}},
    {"workpanel", {"common", "db"}},
};

// Whether `fromFile` in folder `from` may include `to/toFile`.
bool Allowed(const QString& from, const QString& fromFile, const QString& to,
             const QString& toFile) {
  if (from == to) return true;
  // A subsystem's panels and what only its panels use (panel support) are its own.
  const bool panelSide =
      toFile.endsWith(QLatin1String("panel.h")) || toFile.endsWith(QLatin1String("panels.h")) ||
      toFile.endsWith(QLatin1String("panelsupport.h")) || toFile == QLatin1String("registration.h");
  if (from == QLatin1String("app")) {
    // Only the one registration file learns the subsystems, and only by their
    // registration functions.
    if (!kSubsystems.contains(to)) return to != QLatin1String("tests");
    // The demo directory's builder may use a subsystem's plain computing (sample files).
    if (fromFile == QLatin1String("demo_main.cpp")) return !panelSide;
    return fromFile == QLatin1String("registration.cpp") &&
           toFile == QLatin1String("registration.h");
  }
  if (kSubsystems.contains(from)) {
    if (kSubsystems.contains(to)) return !panelSide;
    return kBelow.contains(to);
  }
  return kBelow.value(from).contains(to);
}

TEST(Layers, TheRuleRefusesTheWrongWays) {
  EXPECT_TRUE(Allowed("results", "a.cpp", "startorder", "startorder.h"));
  EXPECT_FALSE(Allowed("results", "a.cpp", "startorder", "startlistpanel.h"));
  EXPECT_FALSE(Allowed("results", "a.cpp", "startorder", "listpanelsupport.h"));
  EXPECT_FALSE(Allowed("results", "a.cpp", "app", "mainwindow.h"));
  EXPECT_FALSE(Allowed("common", "a.cpp", "startorder", "startorder.h"));
  EXPECT_FALSE(Allowed("common", "a.cpp", "pdf", "pdfdocument.h"));
  EXPECT_FALSE(Allowed("pdf", "a.cpp", "lists", "listframe.h"));
  EXPECT_FALSE(Allowed("pdf", "a.cpp", "db", "database.h"));
  EXPECT_FALSE(Allowed("workpanel", "a.cpp", "lists", "listframe.h"));
  EXPECT_FALSE(Allowed("app", "mainwindow.cpp", "startorder", "startlistpanel.h"));
  EXPECT_TRUE(Allowed("app", "registration.cpp", "results", "registration.h"));
}

TEST(Layers, EveryIncludeOfTheProgramFollowsTheRule) {
  const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^/\"]+)/([^\"]+)\""),
                                   QRegularExpression::MultilineOption);
  const QDir root(QStringLiteral(KANDRIX_SOURCE_DIR));
  QStringList folders = kBelow.keys() + kSubsystems;
  folders << "app";
  QStringList wrong;
  int files = 0;
  for (const QString& folder : folders) {
    QDirIterator it(root.filePath(folder), {"*.h", "*.cpp"}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
      const QString path = it.next();
      QFile file(path);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
      ++files;
      const QString text = QString::fromUtf8(file.readAll());
      for (auto m = include.globalMatch(text); m.hasNext();) {
        const auto hit = m.next();
        if (!Allowed(folder, it.fileName(), hit.captured(1), hit.captured(2))) {
          wrong << root.relativeFilePath(path) + " -> " + hit.captured(1) + "/" + hit.captured(2);
        }
      }
    }
  }
  EXPECT_GT(files, 50);
  EXPECT_TRUE(wrong.isEmpty()) << wrong.join('\n').toStdString();
}

// No exception leaves a Qt handler: a signal is connected through the guard, or the line
// above a plain connect says why its handler cannot fail.
TEST(Layers, EveryConnectionIsGuardedOrSaysWhyNot) {
  const QRegularExpression plain(
      QStringLiteral("^(?!.*// No guard: ).*\\n.*\\b(connect|singleShot)\\s*\\("),
      QRegularExpression::MultilineOption);
  const QDir root(QStringLiteral(KANDRIX_SOURCE_DIR));
  QStringList unguarded;
  for (const QString& folder : kBelow.keys() + kSubsystems + QStringList{"app"}) {
    for (const QFileInfo& info : QDir(root.filePath(folder)).entryInfoList({"*.h", "*.cpp"})) {
      QFile file(info.filePath());
      if (!file.open(QIODevice::ReadOnly) || folder + "/" + info.fileName() == "common/guarded.h")
        continue;
      if (plain.match(QString::fromUtf8(file.readAll())).hasMatch()) unguarded << info.filePath();
    }
  }
  EXPECT_TRUE(unguarded.isEmpty()) << unguarded.join('\n').toStdString();
}

}  // namespace
}  // namespace kx::test
