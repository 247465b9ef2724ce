#include "app/menutable.h"

#include "workpanel/menuentries.h"

#include <vector>

namespace kx {

namespace {

// What an event does to an entry: keep it, switch it on or off, or decide by a fact.
enum Change : char { K, On, Off, Fact };

struct Row {
  const QString& entry;
  Change startUp, open, discipline, combination, close;
};

// Rows without a change in a column keep the entry; the rules below may still change it.
const std::vector<Row>& Table() {
  using namespace menu;
  static const std::vector<Row> table{
      // entry                          start open  disc  comb  close
      {DisziplinDH, Off, Fact, K, K, Off},
      {DisziplinSG, Off, Fact, K, K, Off},
      {DisziplinRS, Off, Fact, K, K, Off},
      {DisziplinSL, Off, Fact, K, K, Off},
      {DisziplinKOSL, Off, Fact, K, K, Off},
      {DisziplinPSL, Off, Fact, K, K, Off},
      {DisziplinKombination, Off, Fact, K, K, Off},
      {DateiSchliessen, Off, On, K, K, Off},
      {ImportCSV, Off, On, On, Off, Off},
      {ImportKlassenCSV, Off, On, On, Off, Off},
      {BearbeitenBewerbstyp, Off, On, K, K, Off},
      {TeilnehmerLoeschen, Off, K, K, Off, Off},
      {MannschaftenLoeschen, Off, K, K, Off, Off},
      {Finalteilnehmer, Off, K, K, Off, Off},
      {StartnummernUebernahme, Off, On, On, Off, Off},
      {KSFIdPunkte, Off, Fact, K, K, Off},
      {LiveTiming, Off, On, On, Off, Off},
      {BearbeitenStartliste, Off, On, On, Off, Off},
      {BearbeitenStartlisteDG2, Off, On, On, Off, Off},
      {BearbeitenNamensliste, Off, On, On, Off, Off},
      {BearbeitenKautionsliste, Off, On, On, Off, Off},
      {BearbeitenTafelliste, Off, On, On, Off, Off},
      {BearbeitenTafellisteDG2, Off, On, K, Off, Off},
      {BearbeitenTorrichterkarte, Off, On, On, Off, Off},
      {BearbeitenPenaltyProtokoll, Off, On, On, Off, Off},
      {BearbeitenAushangliste, Off, Off, On, Off, Off},
      {BearbeitenErgebnisliste, Off, Off, On, Off, Off},
      {BearbeitenSchiedsrichterprotokoll, Off, On, On, Off, Off},
      {SR_Bericht_anzeigen, Off, On, On, Off, Off},
      {BearbeitenTeilnehmerdaten, Off, Off, Off, On, Off},
      {BearbeitenMannschaftsergebnisliste, Off, Off, Off, Off, Off},
      // The combination has no runs of its own to rank teams by; a discipline's times bring
      // the school list back (TimeRule).
      {BearbeitenISFErgebnisliste, Off, Off, K, Off, Off},
      {Zeituebernahme, Off, K, K, Off, Off},
      {ZeituebernahmeH, Off, K, K, Off, Off},
      {UrkundenBearbeiten, Off, On, K, K, Off},
      {UrkundenDruck, Off, K, K, K, Off},
      {UrkundenExport, Off, K, K, K, Off},
      {UrkundenMannschaft, Off, K, K, K, Off},
      {UrkundenMannschaftBearbeiten, Off, K, K, K, Off},
      {UrkundenMannschaftDruck, Off, K, K, K, Off},
      {HandzeitLadenALGETimy, On, K, K, K, K},
      {HandzeitLadenDIGISport, On, K, K, K, K},
      {HandzeitLadenTAGHeuer, On, K, K, K, K},
  };
  return table;
}

Change ColumnOf(const Row& row, MenuEvent event) {
  switch (event) {
    case MenuEvent::StartUp:
      return row.startUp;
    case MenuEvent::Open:
      return row.open;
    case MenuEvent::DisciplineChange:
      return row.discipline;
    case MenuEvent::Combination:
      return row.combination;
    case MenuEvent::Close:
      return row.close;
    default:
      return K;
  }
}

// The facts the open decides entries by.
bool OpenFact(const QString& entry, const MenuFacts& f) {
  static const QStringList disciplines{menu::DisziplinDH, menu::DisziplinSG,   menu::DisziplinRS,
                                       menu::DisziplinSL, menu::DisziplinKOSL, menu::DisziplinPSL};
  const qsizetype t = disciplines.indexOf(entry);
  if (t >= 0) return f.disciplineActive[static_cast<size_t>(t)];
  if (entry == menu::DisziplinKombination) {
    int active = 0;
    for (bool a : f.disciplineActive) active += a ? 1 : 0;
    return active >= 2;
  }
  return entry == menu::KSFIdPunkte && f.pointsUpdate;
}

void Set(MenuSet& set, const QString& entry, bool on) {
  if (on) {
    set.insert(entry);
  } else {
    set.remove(entry);
  }
}

void ParticipantRule(MenuSet& s, const MenuFacts& f) {
  if (!f.fileOpen) return;
  Set(s, menu::TeilnehmerLoeschen, f.participants);
  Set(s, menu::Finalteilnehmer, !f.participants);
}

void TeamRule(MenuSet& s, const MenuFacts& f) {
  if (!f.fileOpen) return;
  Set(s, menu::MannschaftenLoeschen, f.teamMembers);
}

void CertificateRule(MenuSet& s, const MenuFacts& f) {
  for (const QString& e : {menu::UrkundenDruck, menu::UrkundenExport, menu::UrkundenMannschaft,
                           menu::UrkundenMannschaftBearbeiten, menu::UrkundenMannschaftDruck}) {
    s.remove(e);
  }
  if (!f.fileOpen || !f.templateTable) return;
  // Templates that print a place or a time wait for times of a single discipline.
  const bool waitForTimes = f.singleDiscipline && !f.disciplineTimes;
  const bool print = f.disciplineTemplates && !(waitForTimes && f.disciplineResultTemplates);
  Set(s, menu::UrkundenDruck, print);
  Set(s, menu::UrkundenExport, print);
  if (!f.teams) return;
  s.insert(menu::UrkundenMannschaft);
  s.insert(menu::UrkundenMannschaftBearbeiten);
  Set(s, menu::UrkundenMannschaftDruck,
      f.teamTemplates && !(waitForTimes && f.teamResultTemplates));
}

void TimeRule(MenuSet& s, const MenuFacts& f) {
  if (!s.contains(menu::DateiSchliessen) || !f.fileOpen) return;
  const bool handTimes = f.startTimesLoaded || f.finishTimesLoaded;
  Set(s, menu::Zeituebernahme, f.dayTimes && handTimes);
  Set(s, menu::ZeituebernahmeH,
      !f.dayTimes && f.runsWithTimes >= 1 && f.startTimesLoaded && f.finishTimesLoaded);
  const bool run2 = f.runsWithTimes != 0;
  Set(s, menu::BearbeitenStartlisteDG2, run2);
  Set(s, menu::BearbeitenTafellisteDG2, run2);
  Set(s, menu::BearbeitenPenaltyProtokoll, run2);
  s.insert(menu::BearbeitenAushangliste);
  s.insert(menu::BearbeitenErgebnisliste);
  if (f.runsWithTimes == 2 && f.teams) s.insert(menu::BearbeitenISFErgebnisliste);
  CertificateRule(s, f);
  if (f.runsWithTimes == f.runCount && f.runsWithTimes > 0 &&
      s.contains(menu::MannschaftenLoeschen)) {
    s.insert(menu::BearbeitenMannschaftsergebnisliste);
  }
}

}  // namespace

const QStringList& MenuStateEntries() {
  static const QStringList entries = [] {
    QStringList list;
    for (const Row& row : Table()) list.append(row.entry);
    return list;
  }();
  return entries;
}

MenuSet NextMenuState(MenuEvent event, const MenuFacts& facts, const MenuSet& previous) {
  MenuSet s = previous;
  for (const Row& row : Table()) {
    switch (ColumnOf(row, event)) {
      case K:
        break;
      case On:
        s.insert(row.entry);
        break;
      case Off:
        s.remove(row.entry);
        break;
      case Fact:
        Set(s, row.entry, OpenFact(row.entry, facts));
        break;
    }
  }
  switch (event) {
    case MenuEvent::Open:
      ParticipantRule(s, facts);
      TeamRule(s, facts);
      CertificateRule(s, facts);
      TimeRule(s, facts);
      break;
    case MenuEvent::DisciplineChange:
      ParticipantRule(s, facts);
      TeamRule(s, facts);
      TimeRule(s, facts);
      CertificateRule(s, facts);
      break;
    case MenuEvent::Combination:
    case MenuEvent::CertificateChange:
      CertificateRule(s, facts);
      break;
    case MenuEvent::TimeChange:
      TimeRule(s, facts);
      break;
    case MenuEvent::ParticipantChange:
      ParticipantRule(s, facts);
      break;
    case MenuEvent::TeamChange:
      TeamRule(s, facts);
      break;
    case MenuEvent::StartUp:
    case MenuEvent::Close:
      break;
  }
  return s;
}

}  // namespace kx
