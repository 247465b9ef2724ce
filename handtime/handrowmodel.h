#pragma once

// The rows of the hand-time takeover lists as plain data: row keys, cells addressed by
// position and by column key with text, bold and colour, removal by key, the selected row,
// and a stable ordinal sort by one column that runs only when asked for. The list views
// of the two takeover frames only draw this model; every rule works on it directly.

#include <QHash>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <vector>

namespace kx {

// The colour of a marked cell (a value the system computed) and of a plain one.
inline constexpr QRgb kMarkColor = 0xff0000ff;   // RGB(0, 0, 255)
inline constexpr QRgb kPlainColor = 0xff000000;  // RGB(0, 0, 0)

struct HandCell {
  QString text;
  bool bold = false;
  QRgb color = kPlainColor;

  bool marked() const { return bold; }
};

struct HandRow {
  QString key;
  std::vector<HandCell> cells;  // cell 0 is the row's own text
};

enum class HandAlign { Left, Center, Right };

struct HandColumn {
  QString key;
  QString header;
  int widthTwips = 0;
  HandAlign align = HandAlign::Left;
};

class HandRowModel {
 public:
  // Columns. Setting them removes every row.
  void setColumns(std::vector<HandColumn> columns);
  const std::vector<HandColumn>& columns() const { return columns_; }
  bool hasColumns() const { return !columns_.empty(); }
  // Position of a column by its key; -1 when there is none.
  int columnOf(const QString& key) const;

  // Rows, addressed by index 0 .. count()-1 in the list's present order.
  int count() const { return static_cast<int>(rows_.size()); }
  void clear();
  void reserve(int rows) { rows_.reserve(static_cast<size_t>(rows)); }
  // Appends a row with the given cell texts (missing cells are empty); returns its index.
  int addRow(const QString& key, const QStringList& texts);
  const HandRow& row(int index) const { return rows_[static_cast<size_t>(index)]; }
  const QString& key(int index) const { return row(index).key; }
  // Index of the row with this key; -1 when there is none.
  int indexOf(const QString& key) const;
  // Removes the row with this key (the selection moves with the remaining rows).
  bool removeKey(const QString& key);

  const HandCell& cell(int index, int column) const;
  const QString& text(int index, int column) const { return cell(index, column).text; }
  const QString& text(int index, const QString& columnKey) const;
  void setText(int index, int column, const QString& text);
  // Bold and blue, or regular and black.
  void setMarked(int index, int column, bool marked);
  void setStyle(int index, int column, bool bold, QRgb color);

  // Stable ascending sort by the texts of one column, compared code unit by code unit.
  void sortBy(int column);

  // The selected row, kept by key so that it follows its row through sorts and removals;
  // -1 when none.
  int selected() const;
  void select(int index);

  // The whole list as it stands (to put it back after an abandoned operation).
  struct Snapshot {
    std::vector<HandRow> rows;
    QString selectedKey;
  };
  Snapshot snapshot() const { return {rows_, selectedKey_}; }
  void restore(Snapshot snapshot);

 private:
  HandCell& cellRef(int index, int column);

  std::vector<HandColumn> columns_;
  std::vector<HandRow> rows_;
  QString selectedKey_;
  mutable QHash<QString, int> index_;  // row key -> index, rebuilt when stale
  mutable bool indexStale_ = true;
};

}  // namespace kx
