// The demo race and the large benchmark race: realistic, and the same on every run.

#include "db/competitionbuilder.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace kx::db {

namespace {

// A small fixed pseudo-random generator, so that every build gives the same race.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint32_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
  int between(int lo, int hi) { return lo + below(hi - lo + 1); }
  bool chance(int percent) { return below(100) < percent; }
  template <class T>
  const T& pick(const std::vector<T>& v) {
    return v[static_cast<size_t>(below(static_cast<int>(v.size())))];
  }

 private:
  std::uint64_t state_;
};

struct Person {
  QString sex, nachname, vorname;
};

// Racers whose names test the German order and the quoting of texts.
const std::vector<Person>& FixedPeople() {
  static const std::vector<Person> people{
      {"M", "Abel", "Jonas"},       {"W", "de Boer", "Femke"},      {"M", "Huber", "Lukas"},
      {"W", "Ohler", "Anna"},       {"M", "Öhler", "Matthias"},     {"W", "Ott", "Lena"},
      {"M", "O'Brien", "Patrick"},  {"W", "van der Berg", "Lotte"}, {"M", "Müller", "Felix"},
      {"W", "Weiß", "Sophie"},      {"M", "Strauß", "Maximilian"},  {"W", "Bäumer", "Johanna"},
      {"M", "Überbacher", "Elias"}, {"W", "Ärmelin", "Magdalena"},  {"M", "Gruber", "Jakob"},
      {"W", "Zöhrer", "Hannah"},
  };
  return people;
}

const std::vector<QString>& Surnames() {
  static const std::vector<QString> names{
      "Gruber",     "Huber",     "Bauer",    "Wagner",      "Pichler",     "Steiner",
      "Moser",      "Mayer",     "Hofer",    "Leitner",     "Berger",      "Fuchs",
      "Eder",       "Fischer",   "Schmid",   "Winkler",     "Weber",       "Schwarz",
      "Maier",      "Schneider", "Reiter",   "Mayr",        "Schmidt",     "Wimmer",
      "Egger",      "Brunner",   "Lang",     "Baumgartner", "Auer",        "Binder",
      "Lechner",    "Wolf",      "Wallner",  "Aigner",      "Ebner",       "Koller",
      "Lehner",     "Haas",      "Schuster", "Holzer",      "Kröll",       "Höller",
      "Rainer",     "Kofler",    "Pölzl",    "Schöpf",      "Thöni",       "Grünwald",
      "Plattner",   "Walcher",   "Nössig",   "Schörghofer", "Hirscher",    "Kößler",
      "Fürstaller", "Riml",      "Stöckl",   "Jäger",       "Kühbacher",   "Dürr",
      "Mühlbacher", "Strolz",    "Raich",    "Neureuther",  "Feuersinger", "Brandstätter",
      "Lackner",    "Nöckler",   "Gstrein",  "Santner"};
  return names;
}

const std::vector<QString>& FirstNames(bool female) {
  static const std::vector<QString> girls{
      "Anna",  "Lena",      "Sophie",    "Marie",     "Laura",   "Hannah", "Sarah", "Julia",
      "Lea",   "Katharina", "Valentina", "Magdalena", "Johanna", "Emma",   "Mia",   "Theresa",
      "Elena", "Chiara",    "Lisa",      "Verena",    "Zoë",     "Jana",   "Nora"};
  static const std::vector<QString> boys{
      "Lukas",   "Jakob", "David",    "Felix",    "Maximilian", "Elias",  "Tobias",   "Simon",
      "Florian", "Jonas", "Paul",     "Moritz",   "Fabian",     "Julian", "Matthias", "Raphael",
      "Noah",    "Leon",  "Valentin", "Benedikt", "Jörg",       "René",   "Stefan"};
  return female ? girls : boys;
}

struct Club {
  QString name;
  QString nation;
};

// Clubs as organisers type them, in every spelling.
const std::vector<Club>& Clubs() {
  static const std::vector<Club> clubs{
      {"SC Musterdorf", "AUT"},         {"SKI-CLUB MUENCHEN E.V.", "GER"},
      {"tsv 1860 muenchen", "GER"},     {"WSV Öblarn", "AUT"},
      {"Union Bad Goisern", "AUT"},     {"SV Ötztal", "AUT"},
      {"sc st. johann i. t.", "AUT"},   {"SKIKLUB ZÜRICH", "SUI"},
      {"Sci Club Val Gardena", "ITA"},  {"ASKÖ Hinterstoder", "AUT"},
      {"SU Raiffeisen Abtenau", "AUT"}, {"WSV Bad Mitterndorf", "AUT"},
  };
  return clubs;
}

struct ClassDef {
  int id;
  const char* name;
  const char* sex;
  int bis;
  int gruppe;
};

// Classes by sex and latest birth year; the ids are also the sort positions.
const std::vector<ClassDef>& ClassDefs() {
  static const std::vector<ClassDef> defs{
      {1, "Kinder weiblich", "W", 2016, 1},     {2, "Kinder männlich", "M", 2016, 1},
      {3, "Schüler I weiblich", "W", 2014, 2},  {4, "Schüler I männlich", "M", 2014, 2},
      {5, "Schüler II weiblich", "W", 2012, 2}, {6, "Schüler II männlich", "M", 2012, 2},
      {7, "Jugend weiblich", "W", 2010, 3},     {8, "Jugend männlich", "M", 2010, 3},
  };
  return defs;
}

// The class of that sex with the smallest latest birth year not below the birth year.
int ClassFor(const QString& sex, int jahrgang) {
  int best = 0;
  int bestBis = 0;
  for (const ClassDef& c : ClassDefs()) {
    if (sex != QLatin1String(c.sex) || c.bis < jahrgang) continue;
    if (best == 0 || c.bis < bestBis) {
      best = c.id;
      bestBis = c.bis;
    }
  }
  return best;
}

constexpr qint64 kHour = 360000;  // hundredths of a second

struct RaceSetup {
  int dtyp;
  qint64 firstStart;   // run 1, hundredths of the day
  qint64 secondStart;  // run 2
  int baseTime;        // run time of the best class, hundredths
  int interval;        // between two starters, hundredths
};

void AddTimes(CompetitionSpec& competition, Random& rnd, const RaceSetup& race) {
  // Starters in bib order.
  std::vector<std::pair<int, const TeilnehmerSpec*>> byBib;
  for (const TeilnehmerSpec& t : competition.teilnehmer) {
    const auto it = t.disziplinen.constFind(race.dtyp);
    if (it != t.disziplinen.constEnd() && it->aktiv && it->startnr)
      byBib.push_back({*it->startnr, &t});
  }
  std::sort(byBib.begin(), byBib.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<const TeilnehmerSpec*> starters;
  for (const auto& entry : byBib) starters.push_back(entry.second);

  static const std::vector<QString> disqualNotes{"Tor 7 ausgelassen", "Einfädler Tor 12",
                                                 "Frühstart", "Tor 21 nicht passiert"};
  std::vector<int> firstRunCode(starters.size(), 0);
  for (int run = 1; run <= 2; ++run) {
    qint64 startAt = run == 1 ? race.firstStart : race.secondStart;
    for (size_t i = 0; i < starters.size(); ++i) {
      const TeilnehmerSpec& t = *starters[i];
      ZeitSpec z;
      z.teilnehmer = t.id;
      z.disziplin = race.dtyp;
      z.durchgang = run;
      const int roll = rnd.below(100);
      int code = roll < 3 ? 1 : roll < 7 ? 2 : roll < 9 ? 3 : 0;
      if (run == 2 && firstRunCode[i] != 0 && code == 0 && rnd.chance(60)) code = 1;
      if (run == 1) firstRunCode[i] = code;
      // Younger racers are slower; a few seconds of spread within a class.
      const int age = 2016 - t.jahrgang.value_or(2012);
      const qint64 netto = race.baseTime + (8 - age) * 180 + rnd.between(0, 900) +
                           (t.sex == QLatin1String("W") ? 150 : 0);
      if (code != 1) {
        const qint64 start = startAt + rnd.between(-30, 30);
        z.start = HundredthsToDay(start);
        if (code != 2) {
          z.netto = HundredthsToDay(netto);
          z.ziel = HundredthsToDay(start + netto);
          z.zwischen1 = HundredthsToDay(start + netto * 45 / 100 + rnd.between(0, 60));
        }
        if (code == 3) z.disqualtext = rnd.pick(disqualNotes);
      }
      z.ergcode = code;
      competition.zeiten.push_back(z);
      startAt += race.interval;
    }
  }
}

// Bibs 1..n in one discipline: by class order, drawn at random within a class.
void AssignBibs(CompetitionSpec& competition, Random& rnd, int dtyp) {
  std::vector<std::pair<std::pair<int, std::uint32_t>, TeilnehmerSpec*>> order;
  for (TeilnehmerSpec& t : competition.teilnehmer) {
    if (t.disziplinen.contains(dtyp) && t.disziplinen[dtyp].aktiv)
      order.push_back({{t.klasse.value_or(99), rnd.next()}, &t});
  }
  std::sort(order.begin(), order.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  int bib = 0;
  for (auto& entry : order) entry.second->disziplinen[dtyp].startnr = ++bib;
}

CompetitionSpec BaseCompetition() {
  CompetitionSpec competition;
  competition.version = 20;
  competition.withSvid = true;
  competition.bewerb.typ = 4;
  competition.bewerb.ort = QStringLiteral("Musterdorf");
  competition.bewerb.nation = QStringLiteral("AUT");
  competition.bewerb.mannschaftswertung = true;
  competition.bewerb.punktewertung = true;
  competition.bewerb.klassenwertung = true;
  competition.bewerb.jahrgang_aktiv = true;
  competition.bewerb.verein_aktiv = true;
  competition.bewerb.nation_aktiv = true;
  competition.bewerb.code_aktiv = true;

  const QString title = QStringLiteral("Bezirkscup Musterdorf\r\nKinder und Schüler");
  for (int dtyp = 0; dtyp < 6; ++dtyp) {
    DisziplinSpec d;
    d.dtyp = dtyp;
    d.aktiv = dtyp == 2 || dtyp == 3;
    d.durchgaenge = d.aktiv ? 2 : 1;
    if (dtyp == 2) {
      d.bewerbsnummer = QStringLiteral("1234");
      d.bewerbsbezeichnung = title;
      d.datum_startliste = QDate(2025, 1, 18);
      d.datum_rangliste = QDate(2025, 1, 18);
    } else if (dtyp == 3) {
      d.bewerbsnummer = QStringLiteral("MB123");
      d.bewerbsbezeichnung = title;
      d.datum_startliste = QDate(2025, 1, 19);
      d.datum_rangliste = QDate(2025, 1, 19);
    }
    competition.disziplinen.push_back(d);
  }

  competition.listenkopf = {
      {0, 92, "0;0"},          {2, 94, "Riesenslalom"}, {2, 0, "SC Musterdorf"},
      {2, 1, "ZT Musterdorf"}, {2, 18, "320"},          {3, 94, "Slalom"},
      {3, 0, "SC Musterdorf"}, {3, 1, "ZT Musterdorf"}, {3, 18, "180"},
  };
  competition.kategorien = {{"W", "Damen", 1}, {"M", "Herren", 2}};
  competition.gruppen = {{1, "Kinder", 1}, {2, "Schüler", 2}, {3, "Jugend", 3}};
  for (const ClassDef& c : ClassDefs())
    competition.klassen.push_back({c.id, c.name, c.sex, c.bis, c.gruppe, c.id});
  competition.grpMannschaften = {{1, "Vereinsmannschaften", 1}, {2, "Gemischte Mannschaften", 2}};
  competition.mannschaften = {{1, "SC Musterdorf I", 1, 1},
                              {2, "SC Musterdorf II", 2, 1},
                              {3, "WSV Öblarn", 3, 1},
                              {4, "Die Flinken Füchse", 4, 2},
                              {5, "Team Ötztal", 5, 2}};
  return competition;
}

TeilnehmerSpec MakeRacer(Random& rnd, int id, const Person& person) {
  TeilnehmerSpec t;
  t.id = id;
  t.sex = person.sex;
  t.nachname = person.nachname;
  t.vorname = person.vorname;
  const Club& club = rnd.pick(Clubs());
  if (!rnd.chance(3)) t.verein = club.name;
  t.nation = club.nation;
  t.jahrgang = rnd.between(2008, 2016);
  t.klasse = ClassFor(t.sex, *t.jahrgang);
  if (rnd.chance(25)) t.mannschaft = rnd.between(1, 5);
  if (rnd.chance(90)) t.code = QString::number(510000 + id * 13 + rnd.below(13));
  if (rnd.chance(85)) t.svid = 40000000 + id * 7;
  // Most racers start in both disciplines.
  const int roll = rnd.below(100);
  for (int dtyp : {2, 3}) {
    TeilnehmerDisziplin d;
    d.aktiv = roll < 85 || (dtyp == 2 ? roll < 93 : roll >= 93);
    if (rnd.chance(70)) d.pkte = rnd.between(1500, 42000) / 100.0;
    t.disziplinen.insert(dtyp, d);
  }
  return t;
}

CompetitionSpec MakeCompetition(int participants, std::uint64_t seed) {
  Random rnd(seed);
  CompetitionSpec competition = BaseCompetition();
  const std::vector<Person>& fixed = FixedPeople();
  competition.teilnehmer.reserve(static_cast<size_t>(participants));
  for (int id = 1; id <= participants; ++id) {
    Person person;
    if (static_cast<size_t>(id) <= fixed.size()) {
      person = fixed[static_cast<size_t>(id - 1)];
    } else {
      const bool female = rnd.chance(45);
      person = {female ? "W" : "M", rnd.pick(Surnames()), rnd.pick(FirstNames(female))};
    }
    competition.teilnehmer.push_back(MakeRacer(rnd, id, person));
  }
  AssignBibs(competition, rnd, 2);
  AssignBibs(competition, rnd, 3);
  // Run 1 of the giant slalom at 10:00, run 2 at 13:00; the slalom the day after.
  AddTimes(competition, rnd, {2, 10 * kHour, 13 * kHour, 5800, 4500});
  AddTimes(competition, rnd, {3, 9 * kHour + 30 * 6000, 12 * kHour + 30 * 6000, 4700, 4000});
  return competition;
}

}  // namespace

CompetitionSpec DemoCompetition() {
  return MakeCompetition(150, 20250118);
}

CompetitionSpec LargeCompetition(int participants) {
  return MakeCompetition(std::max(participants, 0), 5000);
}

MasterDataSpec DemoMasterData() {
  MasterDataSpec master;
  const CompetitionSpec race = DemoCompetition();
  // The points list knows some of the demo racers, and a few who are not entered.
  for (const TeilnehmerSpec& t : race.teilnehmer) {
    if (!t.code || t.id % 4 != 0) continue;
    const auto gs = t.disziplinen.constFind(2);
    const double pkte = gs != t.disziplinen.constEnd() && gs->pkte < 9999 ? gs->pkte : 250.0;
    master.ksfPunkte.push_back({*t.code, t.svid, pkte, t.nation.value_or("AUT"), t.nachname,
                                t.vorname, t.sex, t.jahrgang.value_or(0),
                                t.verein.value_or(QString())});
  }
  master.ksfPunkte.push_back(
      {"599901", 49000001, 87.5, "AUT", "Neuhauser", "Clara", "W", 2011, "SC Musterdorf"});
  master.ksfPunkte.push_back(
      {"599902", std::nullopt, 132.25, "GER", "Kästner", "Ludwig", "M", 2010, "tsv 1860 muenchen"});
  master.listenVersion = {{3, "KSF-Punkteliste Allgemein 2024/2025 Nr. 4"},
                          {4, "KSF-Punkteliste Schüler 2024/2025 Nr. 4"}};
  for (int rang = 1; rang <= 50; ++rang) master.punkte.push_back({rang, 51.0 - rang});
  return master;
}

}  // namespace kx::db
