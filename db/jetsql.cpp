// Translation of the main program's SQL dialect where SQLite reads it differently. Only
// data-definition statements need it; queries and changes run as written.

#include "db/database.h"

#include <QSet>

#include <vector>

namespace kx::db {

namespace {

struct Token {
  enum Kind { Word, Quoted, Number, String, Punct } kind;
  qsizetype begin;
  qsizetype end;  // one past the last character
  QString word;   // lower-case text of a word; the character of a punctuation mark
};

bool IsWordStart(QChar c) {
  return c.isLetter() || c == u'_';
}
bool IsWordChar(QChar c) {
  return c.isLetterOrNumber() || c == u'_' || c == u'$';
}

// Splits a statement into tokens; blanks and comments fall away.
std::vector<Token> Tokenize(const QString& sql) {
  std::vector<Token> tokens;
  const qsizetype n = sql.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = sql[i];
    if (c.isSpace()) {
      ++i;
    } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
      while (i < n && sql[i] != u'\n') ++i;
    } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
      const qsizetype close = sql.indexOf(QStringLiteral("*/"), i + 2);
      i = close < 0 ? n : close + 2;
    } else if (IsWordStart(c)) {
      const qsizetype b = i;
      while (i < n && IsWordChar(sql[i])) ++i;
      tokens.push_back({Token::Word, b, i, sql.mid(b, i - b).toLower()});
    } else if (c.isDigit()) {
      const qsizetype b = i;
      while (i < n && (sql[i].isLetterOrNumber() || sql[i] == u'.')) ++i;
      tokens.push_back({Token::Number, b, i, {}});
    } else if (c == u'\'' || c == u'"' || c == u'`' || c == u'[') {
      const QChar close = c == u'[' ? QChar(u']') : c;
      const qsizetype b = i++;
      while (i < n) {
        if (sql[i] == close) {
          if (close != u']' && i + 1 < n && sql[i + 1] == close) {
            i += 2;  // doubled quote inside the literal
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
      tokens.push_back({c == u'\'' ? Token::String : Token::Quoted, b, i, {}});
    } else {
      tokens.push_back({Token::Punct, i, i + 1, QString(c)});
      ++i;
    }
  }
  return tokens;
}

bool IsWord(const std::vector<Token>& t, size_t i, const char* word) {
  return i < t.size() && t[i].kind == Token::Word && t[i].word == QLatin1String(word);
}
bool IsPunct(const std::vector<Token>& t, size_t i, char16_t c) {
  return i < t.size() && t[i].kind == Token::Punct && t[i].word[0] == c;
}
bool IsName(const std::vector<Token>& t, size_t i) {
  return i < t.size() && (t[i].kind == Token::Word || t[i].kind == Token::Quoted);
}

// Text types of the main program's files; their columns compare as German text.
bool IsTextType(const QString& word) {
  static const QSet<QString> types{
      QStringLiteral("char"),     QStringLiteral("varchar"),  QStringLiteral("character"),
      QStringLiteral("nchar"),    QStringLiteral("nvarchar"), QStringLiteral("text"),
      QStringLiteral("ntext"),    QStringLiteral("memo"),     QStringLiteral("longtext"),
      QStringLiteral("longchar"), QStringLiteral("note"),     QStringLiteral("string")};
  return types.contains(word);
}

struct Edit {
  qsizetype begin;
  qsizetype end;  // begin == end: an insertion
  QString text;
};

QString ApplyEdits(const QString& sql, const std::vector<Edit>& edits) {
  QString out;
  out.reserve(sql.size() + static_cast<qsizetype>(edits.size()) * 20);
  qsizetype pos = 0;
  for (const Edit& e : edits) {
    out += QStringView(sql).mid(pos, e.begin - pos);
    out += e.text;
    pos = e.end;
  }
  out += QStringView(sql).mid(pos);
  return out;
}

// Skips one balanced pair of parentheses starting at `i` (which holds the '(').
size_t SkipParens(const std::vector<Token>& t, size_t i) {
  int depth = 0;
  for (; i < t.size(); ++i) {
    if (IsPunct(t, i, u'(')) ++depth;
    if (IsPunct(t, i, u')') && --depth == 0) return i + 1;
  }
  return i;
}

// One column definition starting at `i` (its name): when its type is a text type and it
// names no collation, the collation is added right after the type and its width.
// Returns the index just past the definition (the ',' or ')' that ends it, or the end).
size_t CollateColumn(const std::vector<Token>& t, size_t i, std::vector<Edit>& edits) {
  static const QSet<QString> constraintWords{
      QStringLiteral("constraint"), QStringLiteral("primary"), QStringLiteral("unique"),
      QStringLiteral("foreign"),    QStringLiteral("check"),   QStringLiteral("key"),
      QStringLiteral("index")};
  const bool tableConstraint = t[i].kind == Token::Word && constraintWords.contains(t[i].word);
  size_t end = i;
  bool hasCollate = false;
  while (end < t.size() && !IsPunct(t, end, u',') && !IsPunct(t, end, u')')) {
    if (IsWord(t, end, "collate")) hasCollate = true;
    end = IsPunct(t, end, u'(') ? SkipParens(t, end) : end + 1;
  }
  if (tableConstraint || hasCollate || !IsName(t, i) || i + 1 >= end) return end;
  const size_t type = i + 1;
  if (t[type].kind != Token::Word || !IsTextType(t[type].word)) return end;
  size_t afterType = type + 1;
  if (IsPunct(t, afterType, u'(')) afterType = SkipParens(t, afterType);
  const qsizetype at = t[afterType - 1].end;
  edits.push_back({at, at, QStringLiteral(" COLLATE ") + QLatin1String(kGermanCollation)});
  return end;
}

QString TranslateCreateTable(const QString& sql, const std::vector<Token>& t, size_t i) {
  // i: just after "table"; the name, then the column list.
  while (i < t.size() && !IsPunct(t, i, u'(')) ++i;
  if (i >= t.size()) return sql;
  std::vector<Edit> edits;
  ++i;
  while (i < t.size() && !IsPunct(t, i, u')')) {
    i = CollateColumn(t, i, edits);
    if (IsPunct(t, i, u',')) ++i;
  }
  return ApplyEdits(sql, edits);
}

QString TranslateAlterTable(const QString& sql, const std::vector<Token>& t, size_t i) {
  // i: just after "table": name, "add" ["column"], the column definition.
  if (!IsName(t, i)) return sql;
  ++i;
  if (!IsWord(t, i, "add")) return sql;
  ++i;
  if (IsWord(t, i, "column")) ++i;
  if (i >= t.size()) return sql;
  std::vector<Edit> edits;
  CollateColumn(t, i, edits);
  return ApplyEdits(sql, edits);
}

// Jet's index options have no counterpart: a unique index of SQLite already lets several
// Nulls through, and Null checks belong to the column.
QString TranslateCreateIndex(const QString& sql, const std::vector<Token>& t, size_t i) {
  std::vector<Edit> edits;
  for (; i < t.size(); ++i) {
    if (!IsWord(t, i, "with")) continue;
    size_t j = i + 1;
    for (;;) {
      if (IsWord(t, j, "primary")) {
        j += 1;
      } else if ((IsWord(t, j, "ignore") || IsWord(t, j, "disallow")) && IsWord(t, j + 1, "null")) {
        j += 2;
      } else {
        break;
      }
    }
    if (j == i + 1) continue;
    // Remove from the blank before "with" to the end of the last option.
    qsizetype begin = t[i].begin;
    while (begin > 0 && sql[begin - 1].isSpace()) --begin;
    edits.push_back({begin, t[j - 1].end, QString()});
    i = j - 1;
  }
  return ApplyEdits(sql, edits);
}

}  // namespace

QString TranslateJetSql(const QString& sql) {
  // Quick look at the first word: queries and changes pass unchanged without tokenising.
  qsizetype k = 0;
  while (k < sql.size() && sql[k].isSpace()) ++k;
  const QStringView rest = QStringView(sql).mid(k);
  if (!rest.startsWith(u"create", Qt::CaseInsensitive) &&
      !rest.startsWith(u"alter", Qt::CaseInsensitive)) {
    return sql;
  }
  const std::vector<Token> t = Tokenize(sql);
  if (IsWord(t, 0, "create")) {
    if (IsWord(t, 1, "table")) return TranslateCreateTable(sql, t, 2);
    if (IsWord(t, 1, "index")) return TranslateCreateIndex(sql, t, 2);
    if (IsWord(t, 1, "unique") && IsWord(t, 2, "index")) return TranslateCreateIndex(sql, t, 3);
  } else if (IsWord(t, 0, "alter") && IsWord(t, 1, "table")) {
    return TranslateAlterTable(sql, t, 2);
  }
  return sql;
}

}  // namespace kx::db
