#pragma once

// The state of the menu as a transition that needs no window: an event, the facts of the
// open competition file and the current discipline, and the set of entries enabled before
// go in; the set enabled after comes out. The previous set is an input because some entries
// keep their history (an entry that a discipline change never touches stays as the open left
// it). The open, the close, the discipline change and the combination differ in one table
// (menutable.cpp); the rules of participants, teams, certificate templates and times follow
// it in the order the routines ran them.

#include <QSet>
#include <QString>
#include <QStringList>

#include <array>

namespace kx {

enum class MenuEvent {
  StartUp,
  Open,
  Close,
  DisciplineChange,   // a single discipline chosen
  Combination,        // the combination chosen
  TimeChange,         // UpdateTimeMenus
  ParticipantChange,  // UpdateParticipantMenus
  TeamChange,         // UpdateTeamMenus
  CertificateChange,  // UpdateCertificateMenus
};

// The enabled entries, by name.
using MenuSet = QSet<QString>;

struct MenuFacts {
  bool fileOpen = false;
  // Read by the open: the active disciplines 0..5, and whether federation ids and points
  // can be updated (code and points rating both on).
  std::array<bool, 6> disciplineActive{};
  bool pointsUpdate = false;
  bool participants = false;  // tblTeilnehmer has rows
  bool teamMembers = false;   // a participant belongs to a team
  bool teams = false;         // tblMannschaft has rows
  // Runs and times of the current discipline.
  int runCount = 0;
  int runsWithTimes = 0;  // the leading runs with times, as UpdateTimeMenus counts them
  bool dayTimes = false;  // the first run has times with a start time of day
  bool startTimesLoaded = false;
  bool finishTimesLoaded = false;
  // Certificate templates.
  bool singleDiscipline = true;  // neither the combination nor the teams
  bool templateTable = false;    // the file has the table XtblUrkunde
  bool disciplineTemplates = false;
  bool disciplineResultTemplates = false;  // a template prints <Platz> or <Zeit>
  bool disciplineTimes = false;            // the discipline has result rows
  bool teamTemplates = false;
  bool teamResultTemplates = false;
};

MenuSet NextMenuState(MenuEvent event, const MenuFacts& facts, const MenuSet& previous);

// The entries the transition decides; every other entry keeps its state.
const QStringList& MenuStateEntries();

}  // namespace kx
