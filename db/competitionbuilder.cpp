#include "db/competitionbuilder.h"

#include "db/database.h"

#include <QFile>
#include <QStringList>

#include <array>

namespace kx::db {

namespace {

const std::array<const char*, 6> kCodes{"dh", "sg", "gs", "sl", "ks", "ps"};
const std::array<const char*, 6> kTypeNames{"Abfahrt", "Super-G",     "Riesenslalom",
                                            "Slalom",  "K.O.-Slalom", "Parallelslalom"};

QVariant Opt(const std::optional<QString>& v) {
  return v ? QVariant(*v) : QVariant();
}
QVariant Opt(const std::optional<int>& v) {
  return v ? QVariant(*v) : QVariant();
}
QVariant Opt(const std::optional<qint64>& v) {
  return v ? QVariant(*v) : QVariant();
}
QVariant Opt(const std::optional<double>& v) {
  return v ? QVariant(*v) : QVariant();
}
QVariant Opt(const std::optional<QDate>& v) {
  return v ? QVariant(*v) : QVariant();
}

// "?,?,?" for an insert of `n` values.
QString Placeholders(int n) {
  QString s;
  for (int i = 0; i < n; ++i) s += i == 0 ? QStringLiteral("?") : QStringLiteral(",?");
  return s;
}

void Insert(Connection& db, const QString& table, const QStringList& columns,
            const QVariantList& values) {
  db.execute(QStringLiteral("insert into %1 (%2) values (%3)")
                 .arg(table, columns.join(u','), Placeholders(static_cast<int>(columns.size()))),
             values);
}

// The participant table in the main program's column order, `svid` last when present.
QString TeilnehmerTable(bool withSvid) {
  QString sql = QStringLiteral(
      "create table tblTeilnehmer (id long not null, zugewiesen bit default 0, sex char(1), "
      "nachname varchar(80), vorname varchar(80), verein varchar(80), nation varchar(10), "
      "jahrgang short, klasse long, mannschaft long, code varchar(20), pktesc double");
  for (const char* c : kCodes) {
    sql += QStringLiteral(", %1aktiv bit default 0, startnr%1 short, pkte%1 double, rpkte%1 double")
               .arg(QLatin1String(c));
  }
  if (withSvid) sql += QStringLiteral(", svid long null");
  sql += QStringLiteral(", primary key(id))");
  return sql;
}

void CreateCompetitionSchema(Connection& db, bool withSvid) {
  const QStringList statements{
      QStringLiteral("create table tblVersion (version long)"),
      QStringLiteral(
          "create table tblBewerb (typ short, ort varchar(50), nation varchar(10), "
          "mannschaftswertung bit default 0, punktewertung bit default 0, klassenwertung bit "
          "default 0, jahrgang_aktiv bit default 0, verein_aktiv bit default 0, nation_aktiv bit "
          "default 0, code_aktiv bit default 0)"),
      QStringLiteral("create table tblDisziplinTypen (dtyp short not null, dname varchar(50), "
                     "primary key(dtyp))"),
      QStringLiteral("create table tblDisziplin (dtyp short not null, aktiv bit default 0, "
                     "bewerbsnummer varchar(20), bewerbsbezeichnung memo, datum_startliste "
                     "datetime, datum_rangliste datetime, durchgaenge short, primary key(dtyp))"),
      QStringLiteral("create table tblListenkopf (disziplin short not null, id short not null, "
                     "value memo, primary key(disziplin,id))"),
      TeilnehmerTable(withSvid),
      QStringLiteral("create table tblZeit (teilnehmer long not null, disziplin short not null, "
                     "durchgang short not null, ergcode short default 0, start double, ziel "
                     "double, zwischen1 double, netto double, disqualtext varchar(100), "
                     "primary key(teilnehmer,disziplin,durchgang))"),
      QStringLiteral("create table tblKategorie (kat char(1) not null, kname varchar(50), sortpos "
                     "short, primary key(kat))"),
      QStringLiteral("create table tblGruppe (id long not null, grpname varchar(50), sortpos "
                     "short, primary key(id))"),
      QStringLiteral("create table tblKlasse (id long not null, klname varchar(50), geschlecht "
                     "char(1), bis_jahrgang short, gruppe long, sortpos short, nenngeld double, "
                     "primary key(id))"),
      QStringLiteral("create table tblGrpMannschaft (id long not null, grpname varchar(50), "
                     "sortpos short, primary key(id))"),
      QStringLiteral("create table tblMannschaft (id long not null, mname varchar(80), sortpos "
                     "short, gruppe long, primary key(id))"),
  };
  for (const QString& sql : statements) db.execute(sql);
  if (withSvid) {
    db.execute(QStringLiteral(
        "CREATE UNIQUE INDEX tblTeilnehmersvid ON tblTeilnehmer (svid ASC) WITH IGNORE NULL"));
  }
  db.execute(QStringLiteral("create index tblZeitDisziplin on tblZeit (disziplin, durchgang)"));
}

void FillCompetition(Connection& db, const CompetitionSpec& race) {
  Insert(db, QStringLiteral("tblVersion"), {QStringLiteral("version")}, {race.version});

  if (race.withBewerbRow) {
    const BewerbSpec& b = race.bewerb;
    Insert(db, QStringLiteral("tblBewerb"),
           {"typ", "ort", "nation", "mannschaftswertung", "punktewertung", "klassenwertung",
            "jahrgang_aktiv", "verein_aktiv", "nation_aktiv", "code_aktiv"},
           {race.typNull ? QVariant() : QVariant(b.typ), b.ort, b.nation, b.mannschaftswertung,
            b.punktewertung, b.klassenwertung, b.jahrgang_aktiv, b.verein_aktiv, b.nation_aktiv,
            b.code_aktiv});
  }

  for (int t = 0; t < static_cast<int>(kTypeNames.size()); ++t) {
    Insert(db, QStringLiteral("tblDisziplinTypen"), {"dtyp", "dname"}, {t, DisciplineTypeName(t)});
  }
  for (const DisziplinSpec& d : race.disziplinen) {
    Insert(db, QStringLiteral("tblDisziplin"),
           {"dtyp", "aktiv", "bewerbsnummer", "bewerbsbezeichnung", "datum_startliste",
            "datum_rangliste", "durchgaenge"},
           {d.dtyp, d.aktiv, Opt(d.bewerbsnummer), d.bewerbsbezeichnung, Opt(d.datum_startliste),
            Opt(d.datum_rangliste), d.durchgaenge});
  }
  for (const ListenkopfSpec& l : race.listenkopf) {
    Insert(db, QStringLiteral("tblListenkopf"), {"disziplin", "id", "value"},
           {l.disziplin, l.id, l.value});
  }
  for (const KategorieSpec& k : race.kategorien) {
    Insert(db, QStringLiteral("tblKategorie"), {"kat", "kname", "sortpos"},
           {k.kat, k.kname, k.sortpos});
  }
  for (const GruppeSpec& g : race.gruppen) {
    Insert(db, QStringLiteral("tblGruppe"), {"id", "grpname", "sortpos"},
           {g.id, g.grpname, g.sortpos});
  }
  for (const KlasseSpec& k : race.klassen) {
    Insert(db, QStringLiteral("tblKlasse"),
           {"id", "klname", "geschlecht", "bis_jahrgang", "gruppe", "sortpos", "nenngeld"},
           {k.id, k.klname, k.geschlecht, k.bis_jahrgang, Opt(k.gruppe), k.sortpos, QVariant()});
  }
  for (const GruppeSpec& g : race.grpMannschaften) {
    Insert(db, QStringLiteral("tblGrpMannschaft"), {"id", "grpname", "sortpos"},
           {g.id, g.grpname, g.sortpos});
  }
  for (const MannschaftSpec& m : race.mannschaften) {
    Insert(db, QStringLiteral("tblMannschaft"), {"id", "mname", "sortpos", "gruppe"},
           {m.id, m.mname, m.sortpos, Opt(m.gruppe)});
  }

  QStringList columns{"id",     "zugewiesen", "sex",    "nachname",   "vorname", "verein",
                      "nation", "jahrgang",   "klasse", "mannschaft", "code",    "pktesc"};
  for (const char* c : kCodes) {
    const QLatin1String code(c);
    columns << code + QLatin1String("aktiv") << QLatin1String("startnr") + code
            << QLatin1String("pkte") + code << QLatin1String("rpkte") + code;
  }
  if (race.withSvid) columns << QStringLiteral("svid");
  for (const TeilnehmerSpec& t : race.teilnehmer) {
    QVariantList values{
        t.id,          true,          t.sex,           t.nachname,    t.vorname,
        Opt(t.verein), Opt(t.nation), Opt(t.jahrgang), Opt(t.klasse), Opt(t.mannschaft),
        Opt(t.code),   9999.99};
    for (int d = 0; d < static_cast<int>(kCodes.size()); ++d) {
      const auto it = t.disziplinen.constFind(d);
      const TeilnehmerDisziplin entry =
          it == t.disziplinen.constEnd() ? TeilnehmerDisziplin{false, std::nullopt} : *it;
      values << entry.aktiv << Opt(entry.startnr) << entry.pkte << entry.rpkte;
    }
    if (race.withSvid) values << Opt(t.svid);
    Insert(db, QStringLiteral("tblTeilnehmer"), columns, values);
  }

  for (const ZeitSpec& z : race.zeiten) {
    Insert(db, QStringLiteral("tblZeit"),
           {"teilnehmer", "disziplin", "durchgang", "ergcode", "start", "ziel", "zwischen1",
            "netto", "disqualtext"},
           {z.teilnehmer, z.disziplin, z.durchgang, z.ergcode, Opt(z.start), Opt(z.ziel),
            Opt(z.zwischen1), Opt(z.netto), Opt(z.disqualtext)});
  }
}

// Writes a new database file in one transaction; a failure leaves no file behind.
template <class Fill>
void BuildFile(const QString& path, Fill fill) {
  try {
    std::unique_ptr<Connection> db = Connection::create(path);
    Transaction transaction(*db);
    fill(*db);
    transaction.commit();
  } catch (...) {
    QFile::remove(path);
    throw;
  }
}

}  // namespace

QString DisciplineTypeName(int dtyp) {
  if (dtyp < 0 || dtyp >= static_cast<int>(kTypeNames.size())) return QString();
  return QString::fromUtf8(kTypeNames[static_cast<size_t>(dtyp)]);
}

void BuildCompetitionFile(const QString& path, const CompetitionSpec& race) {
  BuildFile(path, [&race](Connection& db) {
    CreateCompetitionSchema(db, race.withSvid);
    FillCompetition(db, race);
  });
}

void BuildMasterDataFile(const QString& path, const MasterDataSpec& master) {
  BuildFile(path, [&master](Connection& db) {
    db.execute(QStringLiteral(
        "create table tblKSFPunkte (code varchar(20), ksfid long, punkte double, verbandscode "
        "varchar(10), nachname varchar(80), vorname varchar(80), geschlecht char(1), jahrgang "
        "short, verein varchar(80))"));
    db.execute(QStringLiteral("create index tblKSFPunkteCode on tblKSFPunkte (code)"));
    db.execute(QStringLiteral("create table tblListenVersion (typ short, version varchar(50))"));
    db.execute(QStringLiteral("create table tblPunkte (rang short, punkte double)"));
    for (const KsfPunkteSpec& k : master.ksfPunkte) {
      Insert(db, QStringLiteral("tblKSFPunkte"),
             {"code", "ksfid", "punkte", "verbandscode", "nachname", "vorname", "geschlecht",
              "jahrgang", "verein"},
             {k.code, Opt(k.ksfid), k.punkte, k.verbandscode, k.nachname, k.vorname, k.geschlecht,
              k.jahrgang, k.verein});
    }
    for (const auto& [typ, version] : master.listenVersion)
      Insert(db, QStringLiteral("tblListenVersion"), {"typ", "version"}, {typ, version});
    for (const auto& [rang, punkte] : master.punkte)
      Insert(db, QStringLiteral("tblPunkte"), {"rang", "punkte"}, {rang, punkte});
  });
}

}  // namespace kx::db
