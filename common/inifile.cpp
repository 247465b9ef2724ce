#include "common/inifile.h"

#include <QFile>
#include <QStringDecoder>

namespace kx {

namespace {

QString DecodeSettingsText(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8.decode(bytes);
  if (!utf8.hasError()) return text;
  QStringDecoder cp1252("windows-1252");
  if (cp1252.isValid()) return cp1252.decode(bytes);
  return QString::fromLatin1(bytes);
}

QString StripQuotes(const QString& value) {
  if (value.size() >= 2) {
    const QChar first = value.front();
    if ((first == u'"' || first == u'\'') && value.back() == first) {
      return value.mid(1, value.size() - 2);
    }
  }
  return value;
}

}  // namespace

QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return defaultValue;
  const QString text = DecodeSettingsText(file.readAll());
  bool inSection = false;
  bool sectionSeen = false;
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (QString line : lines) {
    line = line.trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      const qsizetype close = line.indexOf(QLatin1Char(']'));
      const QString name = line.mid(1, close < 0 ? -1 : close - 1).trimmed();
      // Only the first section of a name counts, as with the system's own reader.
      if (inSection) break;
      inSection = !sectionSeen && name.compare(section, Qt::CaseInsensitive) == 0;
      if (inSection) sectionSeen = true;
      continue;
    }
    if (!inSection) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) continue;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) continue;
    return StripQuotes(line.mid(eq + 1).trimmed());
  }
  return defaultValue;
}

}  // namespace kx
