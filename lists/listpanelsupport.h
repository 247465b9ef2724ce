#pragma once

// What the list panels of every subsystem share (start side, results, officials' documents,
// administration): the grouping choices and the event texts shown on the panel, and the
// reading of their number boxes.

#include <QString>
#include <QStringList>

#include <optional>

class QComboBox;
class QLabel;

namespace kx {

struct AppState;
class UserInterface;

enum class GroupingChoices {
  Run1,           // start list, board list of run 1: ... "Kategorie / StartNr", "Kategorie / IdNr"
  Run2StartList,  // run-2 start list: ... "Kategorie", selected for types 2 to 7
  Run2Board,      // board list of run 2: ... "Kategorie", always selected
  // The result side inserts "Kategorie" after "Klasse" or, with no class in use, before it.
  ResultList,   // result list: "Kategorie" selected when no class is in use
  TeamList,     // team result list: as the result list, also for the two FIS types
  PostingList,  // posting list: "keine Unterteilung" selected when no class is in use
};

struct GroupingList {
  QStringList items;
  int selected = 0;
};

// The grouping items of a list panel: "keine Unterteilung" always; for all but the two FIS
// types "Klasse" (when an entered participant has a class), "Gruppe" (when one's class has
// a group) and the category items.
GroupingList BuildGroupingChoices(const AppState& state, GroupingChoices variant);
// Fills a combo box with them and selects the preselected item.
void FillGroupingCombo(QComboBox& combo, const AppState& state, GroupingChoices variant);

// The event name and date that a list panel shows; nothing when the discipline has no row.
// The date is the start-list date (else the result-list date) or, with
// `resultListDate`, the result-list date alone.
struct PanelEventTexts {
  QString name;
  QString date;
};
std::optional<PanelEventTexts> ReadPanelEventTexts(const AppState& state, bool resultListDate);
// Shows them in a panel's two event labels; without a row the labels keep their blank.
void FillEventLabels(const AppState& state, QLabel* name, QLabel* date, bool resultListDate);

// The whole number typed into a count box of a list panel: a number in the user's locale,
// rounded to the nearest whole number with halves to the even one (2,5 gives 2, 3,5 gives 4).
// Nothing when the text is no number or the number lies outside the range of an int.
std::optional<int> ParseBoxNumber(const QString& text);
// The number typed into a box in the user's locale, with its fraction; nothing when the
// text is no finite number.
std::optional<double> ParseBoxValue(const QString& text);

// The reversal box of the run-2 panels: an empty box becomes "0"; a text that is no whole
// number is refused with the message, and nothing is returned.
std::optional<int> ReadReversalCount(UserInterface& ui, QString& text);

}  // namespace kx
