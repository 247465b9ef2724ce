#include "import/importsupport.h"

#include <QRegularExpression>

namespace kx::importsupport {

std::optional<qint64> WholeNumber(const QString& text) {
  if (text.isEmpty() || text.size() > 9) return std::nullopt;
  qint64 value = 0;
  for (const QChar c : text) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

std::optional<double> DecimalNumber(const QString& text) {
  static const QRegularExpression pattern(
      QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
  if (!pattern.match(text).hasMatch()) return std::nullopt;
  bool ok = false;
  const double value = QString(text).replace(u',', u'.').toDouble(&ok);
  if (!ok) return std::nullopt;
  return value;
}

qint64 ClassOfBirthYear(const std::vector<ClassLimit>& classes, const QString& sex,
                        const QString& birthYear) {
  qint64 id = 0;
  for (const ClassLimit& c : classes) {
    if (c.geschlecht != sex) continue;
    if (QString::compare(birthYear, c.bisJahrgang) > 0) break;
    id = c.id;
  }
  return id;
}

QString NothingTakenOverNote(int lineNumber) {
  return QStringLiteral("(Zeile %1 der Import-Datei; es wurde nichts übernommen)").arg(lineNumber);
}

}  // namespace kx::importsupport
