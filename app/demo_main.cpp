// Lays out a demo program directory: the main program's settings file, its master data
// and a sample competition file with a participant and a class file to import in the data
// directory.
//
//   kandrix-demo <directory>
#include "db/competitionbuilder.h"
#include "import/demoimportfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "Aufruf: kandrix-demo <Verzeichnis>\n");
    return 2;
  }
  const QDir dir(QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
  const QString dataDir = dir.filePath(QStringLiteral("Daten"));
  if (!QDir().mkpath(dataDir)) {
    std::fprintf(stderr, "Verzeichnis %s kann nicht angelegt werden\n", qPrintable(dataDir));
    return 1;
  }
  try {
    QFile ini(dir.filePath(QStringLiteral("Kandor.ini")));
    if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
      std::fprintf(stderr, "Kandor.ini kann nicht geschrieben werden\n");
      return 1;
    }
    QTextStream out(&ini);
    out << "[DATA]\nDATADIR=" << dataDir << "\n";
    ini.close();
    kx::db::BuildMasterDataFile(dir.filePath(QStringLiteral("STAMMDAT.mdb")),
                                kx::db::DemoMasterData());
    kx::db::BuildCompetitionFile(QDir(dataDir).filePath(QStringLiteral("Bezirkscup.mdb")),
                                 kx::db::DemoCompetition());
    kx::WriteDemoImportFiles(dataDir);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "Demo kann nicht angelegt werden: %s\n", e.what());
    return 1;
  }
  std::printf("Demo-Programmverzeichnis: %s\n", qPrintable(dir.absolutePath()));
  return 0;
}
