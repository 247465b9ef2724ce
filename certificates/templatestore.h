#pragma once

// Certificate templates as the competition file stores them in XtblUrkunde: one template
// per key (0 to 5 the disciplines, 6 the combination, 7 the teams), an id-0 marker row for
// landscape pages and the entries 1 to n in drawing order. Entries are held as the editor
// shows them (texts), so the editor, the preview and the outputs read the same form.

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace kx {

namespace db {
class Connection;
}

inline const QString kTemplateTable = QStringLiteral("XtblUrkunde");
inline constexpr int kTeamTemplateKey = 7;

// One template entry: a text with placeholders or a picture file name, its font or
// picture size text, its alignment word and its two positions as typed.
struct CertificateEntry {
  QString text;
  QString display;  // "Arial, fett, 10" or "Bild 400x300"
  QString align;    // "links", "zentr.", "rechts"
  QString vertical;
  QString horizontal;

  bool isPicture() const { return display.startsWith(QLatin1String("Bild")); }
  bool operator==(const CertificateEntry&) const = default;
};

struct CertificateTemplate {
  bool landscape = false;
  std::map<int, CertificateEntry> entries;  // by id, ascending: the drawing order
};

// Alignment word of a stored code: 0 "links", 2 "zentr.", anything else "rechts".
QString AlignWord(int code);
// Stored code of an alignment word: "links" 0, "zentr." 2, anything else 1.
int AlignCode(const QString& word);

// A position or picture size as the save takes it: a whole number within -32768..32767.
std::optional<int> ParseWhole16(const QString& text);

// The picture size text "Bild WxH" split at its first "x" (without "Bild "); nothing when
// it has no "x".
std::optional<std::pair<QString, QString>> SplitPictureSize(const QString& display);

// The picture file of an entry: the name relative to the competition's folder, "\" read as
// "/", each part matched without regard to case. Empty when no such file exists (or the
// name denotes a folder).
QString FindPictureFile(const QString& competitionDir, const QString& name);

// Whether the picture type is one the certificates draw (by the text after the last ".").
bool AllowedPictureType(const QString& name);

// The checks of the save, entry by entry in list order: the message of the first failing
// check, or nothing when every entry passes. `checkPictures` adds the picture checks of
// the save (existence, type); the preview leaves them to its own messages.
std::optional<QString> CheckTemplateEntries(const std::vector<CertificateEntry>& entries,
                                            const QString& competitionDir, bool checkPictures);

// Reads the template of `key`; an absent table gives an empty portrait template.
CertificateTemplate LoadTemplate(db::Connection& db, int key);

// Replaces the template of `key` (creating the table when missing) in one transaction: a
// database error (db::Error) leaves the stored template as it was; a table of another shape
// (a view in its place) fails as a damaged file. Ids follow the list. The entries must have
// passed CheckTemplateEntries.
void SaveTemplate(db::Connection& db, int key, bool landscape,
                  const std::vector<CertificateEntry>& entries);

}  // namespace kx
