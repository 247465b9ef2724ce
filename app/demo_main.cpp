// Lays out a demo program directory: the main program's settings file, its master data
// and a sample competition file with a participant and a class file to import and a
// hand-time file in the data directory. A directory that exists already is left as it is,
// with the work done in it.
//
//   kandrix-demo <directory>
#include "db/competitionbuilder.h"
#include "handtime/demohandtimes.h"
#include "import/demoimportfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

// Fills `dir` as the program directory that will stand at `final`.
kx::DemoHandTimes LayOut(const QDir& dir, const QDir& final) {
  const QString dataDir = dir.filePath(QStringLiteral("Daten"));
  if (!QDir().mkpath(dataDir))
    throw std::runtime_error(qPrintable(dataDir + QStringLiteral(" kann nicht angelegt werden")));
  QFile ini(dir.filePath(QStringLiteral("Kandor.ini")));
  if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
    throw std::runtime_error("Kandor.ini kann nicht geschrieben werden");
  QTextStream out(&ini);
  out << "[DATA]\nDATADIR=" << final.filePath(QStringLiteral("Daten")) << "\n";
  out.flush();
  ini.close();
  if (ini.error() != QFileDevice::NoError)
    throw std::runtime_error("Kandor.ini kann nicht geschrieben werden");
  kx::db::BuildMasterDataFile(dir.filePath(QStringLiteral("STAMMDAT.mdb")),
                              kx::db::DemoMasterData());
  kx::db::BuildCompetitionFile(QDir(dataDir).filePath(QStringLiteral("Bezirkscup.mdb")),
                               kx::db::DemoCompetition());
  kx::WriteDemoImportFiles(dataDir);
  return kx::WriteDemoHandTimeFile(dataDir);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: kandrix-demo <Verzeichnis>\n");
    return 2;
  }
  const QDir dir(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
  if (QFileInfo::exists(dir.path())) {
    std::printf(
        "Das Demo-Programmverzeichnis %s besteht schon und bleibt, wie es ist "
        "(für einen Neuanfang das Verzeichnis löschen).\n",
        qPrintable(dir.path()));
    return 0;
  }
  // Laid out beside its place and moved there whole: a failure leaves no half demo.
  const QString parent = QFileInfo(dir.path()).path();
  if (!QDir().mkpath(parent)) {
    std::fprintf(stderr, "Verzeichnis %s kann nicht angelegt werden\n", qPrintable(parent));
    return 1;
  }
  QTemporaryDir work(QDir(parent).filePath(QStringLiteral(".kandrix-demo-XXXXXX")));
  try {
    if (!work.isValid()) throw std::runtime_error(qPrintable(work.errorString()));
    const kx::DemoHandTimes hand = LayOut(QDir(work.path()), dir);
    QFile::setPermissions(work.path(), QFile::permissions(QDir(work.path()).filePath("Daten")));
    if (!QDir().rename(work.path(), dir.path()))
      throw std::runtime_error(
          qPrintable(dir.path() + QStringLiteral(" kann nicht angelegt werden")));
    work.setAutoRemove(false);
    std::printf("Demo-Programmverzeichnis angelegt: %s\n", qPrintable(dir.path()));
    std::printf(
        "Handzeiten zum Laden: Daten/%s (Ziel, %d. Durchgang Riesenslalom; "
        "Startnummer %d ohne elektronische Zielzeit)\n",
        qPrintable(hand.fileName), hand.run, hand.missingBib);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Demo kann nicht angelegt werden: %s\n", e.what());
    return 1;
  }
  return 0;
}
