#include "certificates/templatestore.h"

#include "db/database.h"

#include <QDir>
#include <QFileInfo>

#include <map>

namespace kx {

QString AlignWord(int code) {
  if (code == 0) return QStringLiteral("links");
  if (code == 2) return QStringLiteral("zentr.");
  return QStringLiteral("rechts");
}

int AlignCode(const QString& word) {
  if (word == QLatin1String("links")) return 0;
  if (word == QLatin1String("zentr.")) return 2;
  return 1;
}

std::optional<int> ParseWhole16(const QString& text) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok || value < -32768 || value > 32767) return std::nullopt;
  return value;
}

std::optional<std::pair<QString, QString>> SplitPictureSize(const QString& display) {
  const QString rest = display.mid(5);
  const qsizetype x = rest.indexOf(QLatin1Char('x'));
  if (x < 0) return std::nullopt;
  return std::make_pair(rest.left(x), rest.mid(x + 1));
}

QString FindPictureFile(const QString& competitionDir, const QString& name) {
  QString relative = name;
  relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
  const QString direct = QDir(competitionDir).filePath(relative);
  if (QFileInfo(direct).isFile()) return direct;
  QDir dir(competitionDir);
  const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const bool last = i == parts.size() - 1;
    const QStringList found = dir.entryList(last ? QDir::Files : QDir::Dirs | QDir::NoDotAndDotDot);
    QString match;
    for (const QString& entry : found) {
      if (entry.compare(parts[i], Qt::CaseInsensitive) == 0) {
        match = entry;
        break;
      }
    }
    if (match.isEmpty()) return {};
    if (last) return dir.filePath(match);
    if (!dir.cd(match)) return {};
  }
  return {};
}

bool AllowedPictureType(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return false;
  static const QStringList allowed{"bmp", "jpg", "jpeg", "ico", "wmf", "emf"};
  return allowed.contains(name.mid(dot + 1).toLower());
}

std::optional<QString> CheckTemplateEntries(const std::vector<CertificateEntry>& entries,
                                            const QString& competitionDir, bool checkPictures) {
  for (const CertificateEntry& e : entries) {
    if (!ParseWhole16(e.vertical)) {
      return QStringLiteral("Vertikale Position von '%1' ist nicht numerisch").arg(e.text);
    }
    if (!ParseWhole16(e.horizontal)) {
      return QStringLiteral("Horizontale Position von '%1' ist nicht numerisch").arg(e.text);
    }
    if (e.isPicture()) {
      if (checkPictures) {
        if (FindPictureFile(competitionDir, e.text).isEmpty()) {
          return QStringLiteral("Bild '%1' nicht vorhanden!").arg(e.text);
        }
        if (!AllowedPictureType(e.text)) {
          return QStringLiteral(
              "Nur folgende Bild-Dateitypen zugelassen: BMP, JPG, ICO, WMF oder EMF");
        }
      }
      const auto size = SplitPictureSize(e.display);
      if (!size || !ParseWhole16(size->first)) {
        return QStringLiteral("Bild Breite von '%1' ist nicht numerisch").arg(e.text);
      }
      if (!ParseWhole16(size->second)) {
        return QStringLiteral("Bild Höhe von '%1' ist nicht numerisch").arg(e.text);
      }
    }
    if (checkPictures && e.text.size() > 150) {
      return QStringLiteral("Der Text von '%1' ist länger als 150 Zeichen").arg(e.text.left(40));
    }
    if (checkPictures && e.display.size() > 50) {
      return QStringLiteral("Die Darstellung von '%1' ist länger als 50 Zeichen").arg(e.text);
    }
  }
  return std::nullopt;
}

CertificateTemplate LoadTemplate(db::Connection& db, int key) {
  CertificateTemplate t;
  if (!db.hasTable(kTemplateTable)) return t;
  db::Recordset rs = db.query(
      QStringLiteral("select id,TxText,TxFont,TxAlign,TxVpos,TxHpos from XtblUrkunde where "
                     "Disziplin=? order by id"),
      {key});
  // A text longer than its column (written by another program) is cut to it: a page is
  // drawn from what the template can hold.
  const std::map<QString, int> widths = db.textWidths(kTemplateTable);
  const auto cut = [&widths](const QString& text, const QString& column) {
    const auto width = widths.find(column);
    return (width == widths.end() ? text : text.left(width->second)).trimmed();
  };
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    const int id = rs[QStringLiteral("id")].toInt();
    if (id == 0) {
      t.landscape = true;
      continue;
    }
    CertificateEntry e;
    e.text = cut(rs[QStringLiteral("TxText")].toString(), QStringLiteral("txtext"));
    e.display = cut(rs[QStringLiteral("TxFont")].toString(), QStringLiteral("txfont"));
    e.align = AlignWord(rs[QStringLiteral("TxAlign")].toInt());
    e.vertical = QString::number(rs[QStringLiteral("TxVpos")].toInt());
    e.horizontal = QString::number(rs[QStringLiteral("TxHpos")].toInt());
    t.entries[id] = e;
  }
  return t;
}

void SaveTemplate(db::Connection& db, int key, bool landscape,
                  const std::vector<CertificateEntry>& entries) {
  db::Transaction tx = db.transaction();
  try {
    if (!db.hasTable(kTemplateTable)) {
      db.execute(QStringLiteral(
          "create table XtblUrkunde (Disziplin long not null, id long not null, TxText char(150) "
          "not null, TxFont char(50) not null, TxAlign short not null, TxVpos short not null, "
          "TxHpos short not null, primary key(Disziplin,id))"));
    }
    db.execute(QStringLiteral("delete from XtblUrkunde where Disziplin=?"), {key});
    const QString insert = QStringLiteral(
        "insert into XtblUrkunde (Disziplin,id,TxText,TxFont,TxAlign,TxVpos,TxHpos) "
        "values(?,?,?,?,?,?,?)");
    if (landscape) db.execute(insert, {key, 0, QStringLiteral("Querformat"), QString(), 0, 0, 0});
    int id = 0;
    for (const CertificateEntry& e : entries) {
      db.execute(insert,
                 {key, ++id, e.text, e.display, AlignCode(e.align),
                  ParseWhole16(e.vertical).value_or(0), ParseWhole16(e.horizontal).value_or(0)});
    }
  } catch (const db::Error& e) {
    // The statements are fixed and the entries checked: a refusal other than a fault of the
    // file (a lock, a full disk) means the table is not of the shape written here.
    if (e.fault() != db::Error::Fault::Other) throw;
    throw db::DamagedFileError(db.path(), e.text());
  }
  tx.commit();
}

}  // namespace kx
