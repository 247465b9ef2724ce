#include "handtime/handtimenumbers.h"

#include <QLocale>

#include <cmath>

namespace kx {

qint64 DayToHundredths(double day) {
  return std::llround(day * kHundredthsPerDay);
}

QString HundredthsText(double hundredths) {
  const qint64 h = std::llround(hundredths);
  const qint64 a = h < 0 ? -h : h;
  return QStringLiteral("%1%2,%3")
      .arg(h < 0 ? QStringLiteral("-") : QString())
      .arg(a / 100)
      .arg(a % 100, 2, 10, QLatin1Char('0'));
}

qint64 ReadHundredths(const QString& text) {
  QString digits = text;
  digits.remove(QLatin1Char(','));
  digits.remove(QLatin1Char('.'));
  bool ok = false;
  const qint64 value = digits.trimmed().toLongLong(&ok);
  return ok ? value : 0;
}

QString SqlTime(double day) {
  return QString::number(day, 'f', 15);
}

bool IsNumericText(const QString& text) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return false;
  bool ok = false;
  QLocale(QLocale::German, QLocale::Germany).toDouble(t, &ok);
  if (!ok) QLocale::c().toDouble(t, &ok);
  return ok;
}

std::optional<int> DigitsBib(const QString& text) {
  if (text.isEmpty() || text.size() > 9) return std::nullopt;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
  }
  return text.toInt();
}

QString RacerGoneText(const QString& bib) {
  return QStringLiteral("Die Startnummer ") + bib +
         QStringLiteral(" ist in der Bewerbsdatei nicht mehr vorhanden (inzwischen gelöscht?).");
}

}  // namespace kx
