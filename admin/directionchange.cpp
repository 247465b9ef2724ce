#include "admin/directionchange.h"

#include "lists/listpanelsupport.h"

#include <cmath>

namespace kx {

namespace {

// Round to the nearest whole number, halves to the even neighbour.
qint64 RoundEven(double value) {
  return static_cast<qint64>(std::nearbyint(value));
}

QString Num(qint64 value) {
  return QString::number(value);
}

}  // namespace

std::optional<int> DirectionChangeRuleRow(int categoryIndex) {
  switch (categoryIndex) {
    case 1:
      return 1;
    case 2:
      return 0;
    case 3:
      return 3;
    case 4:
      return 2;
    default:
      return std::nullopt;
  }
}

int PreselectedDirectionChangeCategory(int disciplineType, const QString& raceNumber) {
  const QChar letter = raceNumber.size() >= 5 ? raceNumber.at(4) : QChar();
  const bool youth = letter == QLatin1Char('M');
  const bool adults = letter == QLatin1Char('D');
  if (disciplineType == 2) return youth ? 1 : adults ? 3 : 0;
  if (disciplineType == 3) return youth ? 2 : adults ? 4 : 0;
  return 0;
}

QString SeasonRulesHeading(const QDate& today) {
  const int first = today.month() > 9 ? today.year() : today.year() - 1;
  return QStringLiteral("Reglement %1/%2:").arg(first).arg(first + 1 - 2000);
}

QString DropRangeText(const DirectionChangeRule& rule) {
  return Num(rule.dropFrom) + QLatin1Char('-') + Num(rule.dropTo) + QLatin1Char('m');
}

QString PercentRangeText(const DirectionChangeRule& rule) {
  QString text = Num(rule.changesFromPercent) + QLatin1Char('-') + Num(rule.changesToPercent) +
                 QLatin1Char('%');
  if (rule.tolerance != 0) {
    text += QStringLiteral(" +/- ") + Num(rule.tolerance) + QStringLiteral(" Richtungsänderungen");
  }
  return text;
}

DirectionChangeResult CheckDirectionChanges(const DirectionChangeRule& rule,
                                            const QString& dropText, const QString& countText) {
  DirectionChangeResult result;
  const qint64 tolerance = rule.tolerance;

  const bool haveDrop = !dropText.isEmpty();
  double dropValue = 0;
  if (haveDrop) {
    const std::optional<double> value = ParseBoxValue(dropText);
    if (!value || !ParseBoxNumber(dropText)) {
      result.message = QStringLiteral("Die Angabe der Höhendifferenz ist nicht numerisch");
      return result;
    }
    dropValue = *value;
    const qint64 drop = *ParseBoxNumber(dropText);
    if (drop < rule.dropFrom || drop > rule.dropTo) {
      result.message =
          QStringLiteral("Die Angabe der Höhendifferenz liegt nicht im vorgegebenen Bereich");
      return result;
    }
    const qint64 lo = RoundEven(static_cast<double>(rule.changesFromPercent * drop) / 100.0 -
                                static_cast<double>(tolerance));
    const qint64 hi = RoundEven(static_cast<double>(rule.changesToPercent * drop) / 100.0 +
                                static_cast<double>(tolerance));
    result.allowedChanges =
        Num(lo) + QStringLiteral(" - ") + Num(hi) + QStringLiteral(" Richtungsänderungen");
  }

  if (countText.isEmpty()) return result;
  const std::optional<int> count = ParseBoxNumber(countText);
  if (!count) {
    result.message = QStringLiteral("Die Angabe der Richtungsänderungen ist nicht numerisch");
    return result;
  }
  // Without a chosen category there is no percentage to divide by: no result.
  if (rule.changesFromPercent == 0 || rule.changesToPercent == 0) return result;
  const qint64 dLo = RoundEven(static_cast<double>((*count - tolerance) * 100) /
                               static_cast<double>(rule.changesToPercent));
  const qint64 dHi = RoundEven(static_cast<double>((*count + tolerance) * 100) /
                               static_cast<double>(rule.changesFromPercent));
  result.dropRange = QStringLiteral("Höhendifferenz zwischen ") + Num(dLo) +
                     QStringLiteral(" und ") + Num(dHi) + QStringLiteral(" m");

  if (!haveDrop) {
    const auto inRules = [&](qint64 d) { return d >= rule.dropFrom && d <= rule.dropTo; };
    if (!inRules(dLo) && !inRules(dHi)) {
      result.message =
          QStringLiteral("Die Anzahl der Richtungsänderungen passt nicht zum Reglement");
    }
  } else if (dropValue < static_cast<double>(dLo) || dropValue > static_cast<double>(dHi)) {
    result.message =
        QStringLiteral("Die Anzahl der Richtungsänderungen passt nicht zur Höhendifferenz");
  }
  return result;
}

}  // namespace kx
