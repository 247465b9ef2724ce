#pragma once

// The choices of the live-timing panel: the grouping list and its preselection, the
// start-order rules of run 1 and run 2, and the rules stored per competition file in the
// table tblStali (created with defaults by competition type on first use).

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace kx {

struct AppState;
namespace db {
class Connection;
}

// Which groupings the entered participants of the current discipline use: classes (an
// entered participant's class exists) and groups (such a class has an existing group).
struct GroupingUse {
  bool classes = false;
  bool groups = false;
};
GroupingUse ReadGroupingUse(const AppState& state);

// "Klasse" (classes in use), "Gruppe" (groups in use), "Kategorie"; and the entry selected
// first: "Kategorie" for the competition types 0 and 1 or without classes, else "Klasse".
QStringList GroupingEntries(const GroupingUse& use);
int GroupingPreselection(const QStringList& entries, int typ);

// The rule entries of the two start-order combos.
QStringList Run1RuleEntries();
QStringList Run2RuleEntries(const GroupingUse& use);

// The position (from 0) of the default rule of a competition type in the run-1 list, and
// in the run-2 list as it reads without groups in use.
int DefaultRulePosition(int typ);
// The default rule of run 2 for a competition type: the entry at the default position of
// the run-2 list without "St-Nr pro Gruppe drehen", so that it names the same rule as run 1
// where both lists have it; but "St-Nr pro Gruppe drehen" for the types 4 and 5 with groups
// in use.
QString DefaultRun2Rule(int typ, const GroupingUse& use);

// The stored rules, trimmed, by place in the rows ordered by run: the first row for run 1,
// the second for run 2; a missing row gives nothing.
std::array<std::optional<QString>, 2> ReadStoredRules(db::Connection& connection);
// Creates tblStali with the rules of run 1 and run 2, all in one transaction; another object
// of that name (a view) fails as a damaged file.
void CreateStaliTable(db::Connection& connection, const QString& rule1, const QString& rule2);
// Stores the rule of a run (1 or 2); a missing row is added.
void StoreRule(db::Connection& connection, int run, const QString& rule);

// The events of a login reply's event text (split at "°"; no text gives no event) and the
// one preselected: the last naming the race number, else the first beginning with the date
// text, else the first; -1 without events.
struct EventChoice {
  QStringList events;
  int selected = -1;
};
EventChoice SplitEvents(const QString& eventText, const QString& raceNumber,
                        const QString& dateText);

// The position of the first entry that equals `text` exactly, or -1.
int FindExactEntry(const QStringList& entries, const QString& text);

// The rule the start orders are built by when a combo has no selected entry.
inline const QString kFallbackRule = QStringLiteral("Startnummer");

}  // namespace kx
