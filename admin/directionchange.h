#pragma once

// The check of a slalom or giant-slalom course against the season's rules: the allowed
// number of direction changes for a vertical drop, the drop range that a count fits, and
// the verdict. Plain arithmetic on one copied rule row; the panel only shows the texts.

#include "common/appstate.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

namespace kx {

// The category combo's items; item 0 selects no rule.
inline const QStringList kDirectionChangeCategories{
    QStringLiteral("bitte wählen"), QStringLiteral("Riesenslalom - Schüler"),
    QStringLiteral("Slalom - Schüler"), QStringLiteral("Riesenslalom - Aktive"),
    QStringLiteral("Slalom - Aktive")};

// The row of the rule table (0-based: slalom youth, giant slalom youth, slalom adults,
// giant slalom adults) that a category item selects; nothing for item 0 or no item.
std::optional<int> DirectionChangeRuleRow(int categoryIndex);

// The category preselected for the current discipline by the women's letter (character 5)
// of the race number read at opening: "M" youth, "D" adults, for giant slalom and slalom.
int PreselectedDirectionChangeCategory(int disciplineType, const QString& raceNumber);

// "Reglement 2025/26:" from October 2025 to September 2026.
QString SeasonRulesHeading(const QDate& today);

// The rule texts shown beside the category: "100-160m" and "32-38% +/- 3 Richtungsänderungen".
QString DropRangeText(const DirectionChangeRule& rule);
QString PercentRangeText(const DirectionChangeRule& rule);

// The result of one calculation: the texts of the two result labels and the message to
// show (empty when none). A message that stops the calculation leaves the later texts empty.
struct DirectionChangeResult {
  QString allowedChanges;  // "39 - 52 Richtungsänderungen"
  QString dropRange;       // "Höhendifferenz zwischen 111 und 150 m"
  QString message;
};

// Runs the calculation on the typed drop and count (numbers in the user's locale).
DirectionChangeResult CheckDirectionChanges(const DirectionChangeRule& rule,
                                            const QString& dropText, const QString& countText);

}  // namespace kx
