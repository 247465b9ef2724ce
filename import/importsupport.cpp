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

QString ColumnWidths::overflow(const QString& value, const QString& table, const QString& column,
                               const QString& label, const QString& header) {
  auto known = widths_.find(table);
  if (known == widths_.end()) known = widths_.emplace(table, db_.textWidths(table)).first;
  const auto width = known->second.find(column);
  if (width == known->second.end() || value.size() <= width->second) return QString();
  return QStringLiteral(
             "Das Feld '%1' (Spalte '%2') ist länger als die %3 Zeichen, die die Bewerbsdatei "
             "dafür vorsieht.")
      .arg(label, header, QString::number(width->second));
}

QString NothingTakenOverNote(int lineNumber) {
  return QStringLiteral("(Zeile %1 der Import-Datei; es wurde nichts übernommen)").arg(lineNumber);
}

}  // namespace kx::importsupport
