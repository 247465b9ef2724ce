#include "import/demoimportfiles.h"

#include "db/competitionbuilder.h"

#include <QDir>
#include <QSaveFile>
#include <QStringEncoder>
#include <QStringList>

#include <stdexcept>

namespace kx {

namespace {

void WriteCp1252(const QString& path, const QStringList& lines) {
  QStringEncoder cp1252("windows-1252");
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(cp1252.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))) < 0 ||
      !file.commit()) {
    throw std::runtime_error(
        ("Die Datei " + path + " kann nicht geschrieben werden").toStdString());
  }
}

}  // namespace

void WriteDemoImportFiles(const QString& dir) {
  // Racers of the points list by their federation id: some already in the race, one new.
  QStringList people{
      QStringLiteral("KSF-Id;Name;Vorname;Geschlecht;Verein;Jahrgang;Nation;Mannschaft;Startnr")};
  int listed = 0;
  for (const db::KsfPunkteSpec& k : db::DemoMasterData().ksfPunkte) {
    if (!k.ksfid || listed == 4) continue;
    ++listed;
    people << QStringLiteral("%1;%2;%3;%4;%5;%6;%7;;")
                  .arg(*k.ksfid)
                  .arg(k.nachname, k.vorname,
                       k.geschlecht == QLatin1String("W") ? "weiblich" : "männlich", k.verein)
                  .arg(k.jahrgang)
                  .arg(k.verbandscode);
  }
  people << QStringLiteral("49000001;Neuhauser;Clara;w;SC Musterdorf;2011;AUT;Musterdorf 1;")
         << QStringLiteral("49999999;Unbekannt;Udo;m;SC Irgendwo;2010;AUT;;")
         << QStringLiteral("ohne;Ohne;Nummer;m;SC Irgendwo;2010;AUT;;");
  WriteCp1252(QDir(dir).filePath(QStringLiteral("Teilnehmer-Import.csv")), people);

  WriteCp1252(
      QDir(dir).filePath(QStringLiteral("Klassen-Import.csv")),
      {QStringLiteral("Gruppe;Name;Kategorie;bis Jahrgang"),
       QStringLiteral("Kinder;U10 weiblich;W;2018"), QStringLiteral("Kinder;U10 männlich;M;2018"),
       QStringLiteral("Kinder;U12 weiblich;W;2016"), QStringLiteral("Kinder;U12 männlich;M;2016"),
       QStringLiteral("Schüler;U14 weiblich;W;2014"), QStringLiteral("Schüler;U14 männlich;M;2014"),
       QStringLiteral("Schüler;U16 weiblich;W;2012"), QStringLiteral("Schüler;U16 männlich;M;2012"),
       QStringLiteral("Jugend;Jugend weiblich;W;2009"),
       QStringLiteral("Jugend;Jugend männlich;M;2009"), QStringLiteral("Allgemein;Damen;W;1900"),
       QStringLiteral("Allgemein;Herren;M;1900")});
}

}  // namespace kx
