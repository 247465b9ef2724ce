#pragma once

// Builds competition files and the master-data file with the main program's schema, from a
// compact description in code. Tests and the demo use it; the program itself only reads
// and upgrades such files.

#include <QDate>
#include <QMap>
#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace kx::db {

class Connection;

struct BewerbSpec {
  int typ = 4;
  QString ort = "Musterdorf";
  QString nation = "AUT";
  bool mannschaftswertung = false;
  bool punktewertung = true;
  bool klassenwertung = true;
  bool jahrgang_aktiv = true;
  bool verein_aktiv = true;
  bool nation_aktiv = true;
  bool code_aktiv = true;
};

struct DisziplinSpec {
  int dtyp = 2;  // 0 dh .. 5 ps
  bool aktiv = true;
  std::optional<QString> bewerbsnummer;  // null when empty optional
  QString bewerbsbezeichnung;            // may hold "\r\n"
  std::optional<QDate> datum_startliste;
  std::optional<QDate> datum_rangliste;
  int durchgaenge = 2;
};

struct ListenkopfSpec {
  int disziplin = 0;
  int id = 0;
  QString value;
};

struct KategorieSpec {
  QString kat;  // "W", "M", ...
  QString kname;
  int sortpos = 0;
};

struct GruppeSpec {
  int id = 0;
  QString grpname;
  int sortpos = 0;
};

struct KlasseSpec {
  int id = 0;
  QString klname;
  QString geschlecht;  // a kat of tblKategorie
  int bis_jahrgang = 0;
  std::optional<int> gruppe;  // id of tblGruppe
  int sortpos = 0;
};

struct MannschaftSpec {
  int id = 0;
  QString mname;
  int sortpos = 0;
  std::optional<int> gruppe;  // id of tblGrpMannschaft
};

// The per-discipline columns of a participant (<c>aktiv, startnr<c>, pkte<c>, rpkte<c>).
struct TeilnehmerDisziplin {
  bool aktiv = true;
  std::optional<int> startnr;
  double pkte = 9999.99;
  double rpkte = 9999.99;
};

struct TeilnehmerSpec {
  int id = 0;
  QString sex = "M";
  QString nachname;
  QString vorname;
  std::optional<QString> verein;
  std::optional<QString> nation;
  std::optional<int> jahrgang;
  std::optional<int> klasse;
  std::optional<int> mannschaft;
  std::optional<QString> code;
  std::optional<qint64> svid;                  // written only when the file has the column
  QMap<int, TeilnehmerDisziplin> disziplinen;  // by dtyp; missing = not entered
};

struct ZeitSpec {
  int teilnehmer = 0;
  int disziplin = 2;
  int durchgang = 1;
  int ergcode = 0;
  std::optional<double> start;  // fractions of a day
  std::optional<double> ziel;
  std::optional<double> zwischen1;
  std::optional<double> netto;
  std::optional<QString> disqualtext;
};

struct CompetitionSpec {
  int version = 20;           // tblVersion.version
  bool withSvid = true;       // add the column svid (and its unique index) to tblTeilnehmer
  bool withBewerbRow = true;  // false: tblBewerb stays empty
  bool typNull = false;       // true: tblBewerb.typ is Null
  BewerbSpec bewerb;
  std::vector<DisziplinSpec> disziplinen;
  std::vector<ListenkopfSpec> listenkopf;
  std::vector<KategorieSpec> kategorien;
  std::vector<GruppeSpec> gruppen;
  std::vector<KlasseSpec> klassen;
  std::vector<GruppeSpec> grpMannschaften;
  std::vector<MannschaftSpec> mannschaften;
  std::vector<TeilnehmerSpec> teilnehmer;
  std::vector<ZeitSpec> zeiten;
};

// Hundredths of a second as a time value (fraction of a day).
inline double HundredthsToDay(qint64 hundredths) {
  return static_cast<double>(hundredths) / 8640000.0;
}

// The names of the disciplines in tblDisziplinTypen, by dtyp.
QString DisciplineTypeName(int dtyp);

// Creates (or replaces) a competition file with every table and column of the main
// program's schema and fills it from `race`, in one transaction.
void BuildCompetitionFile(const QString& path, const CompetitionSpec& race);

// Master data: tblKSFPunkte, tblListenVersion, tblPunkte.
struct KsfPunkteSpec {
  QString code;
  std::optional<qint64> ksfid;
  double punkte = 0;
  QString verbandscode;
  QString nachname, vorname, geschlecht;
  int jahrgang = 0;
  QString verein;
};
struct MasterDataSpec {
  std::vector<KsfPunkteSpec> ksfPunkte;
  std::vector<std::pair<int, QString>> listenVersion;  // typ, version
  std::vector<std::pair<int, double>> punkte;          // rang, punkte
};
void BuildMasterDataFile(const QString& path, const MasterDataSpec& race);

// The demo race: giant slalom and slalom, two runs each, about 150 racers in classes,
// groups, both categories and teams, with run times, non-starters, non-finishers and
// disqualifications; list-header texts filled.
CompetitionSpec DemoCompetition();
MasterDataSpec DemoMasterData();

// A large competition for benchmarks: `participants` racers in two disciplines with times.
CompetitionSpec LargeCompetition(int participants);

}  // namespace kx::db
