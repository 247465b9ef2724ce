#include "handtime/handrowmodel.h"

#include <algorithm>
#include <numeric>

namespace kx {

namespace {
const QString kEmpty;
}  // namespace

void HandRowModel::setColumns(std::vector<HandColumn> columns) {
  columns_ = std::move(columns);
  rows_.clear();
  selectedKey_.clear();
  indexStale_ = true;
}

int HandRowModel::columnOf(const QString& key) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

void HandRowModel::clear() {
  rows_.clear();
  selectedKey_.clear();
  index_.clear();
  indexStale_ = false;
}

int HandRowModel::addRow(const QString& key, const QStringList& texts) {
  HandRow row;
  row.key = key;
  const size_t width = std::max(columns_.size(), static_cast<size_t>(texts.size()));
  row.cells.resize(width);
  for (qsizetype i = 0; i < texts.size(); ++i) row.cells[static_cast<size_t>(i)].text = texts[i];
  rows_.push_back(std::move(row));
  const int index = count() - 1;
  if (!indexStale_) index_.insert(key, index);
  return index;
}

int HandRowModel::indexOf(const QString& key) const {
  if (indexStale_) {
    index_.clear();
    index_.reserve(count());
    for (int i = 0; i < count(); ++i) index_.insert(rows_[static_cast<size_t>(i)].key, i);
    indexStale_ = false;
  }
  return index_.value(key, -1);
}

bool HandRowModel::removeKey(const QString& key) {
  const int index = indexOf(key);
  if (index < 0) return false;
  rows_.erase(rows_.begin() + index);
  if (selectedKey_ == key) selectedKey_.clear();
  indexStale_ = true;
  return true;
}

const HandCell& HandRowModel::cell(int index, int column) const {
  static const HandCell kNoCell;
  const HandRow& r = row(index);
  if (column < 0 || static_cast<size_t>(column) >= r.cells.size()) return kNoCell;
  return r.cells[static_cast<size_t>(column)];
}

const QString& HandRowModel::text(int index, const QString& columnKey) const {
  const int column = columnOf(columnKey);
  return column < 0 ? kEmpty : text(index, column);
}

HandCell& HandRowModel::cellRef(int index, int column) {
  HandRow& r = rows_[static_cast<size_t>(index)];
  if (static_cast<size_t>(column) >= r.cells.size())
    r.cells.resize(static_cast<size_t>(column) + 1);
  return r.cells[static_cast<size_t>(column)];
}

void HandRowModel::setText(int index, int column, const QString& text) {
  cellRef(index, column).text = text;
}

void HandRowModel::setMarked(int index, int column, bool marked) {
  setStyle(index, column, marked, marked ? kMarkColor : kPlainColor);
}

void HandRowModel::setStyle(int index, int column, bool bold, QRgb color) {
  HandCell& c = cellRef(index, column);
  c.bold = bold;
  c.color = color;
}

void HandRowModel::sortBy(int column) {
  const size_t col = static_cast<size_t>(column);
  std::stable_sort(rows_.begin(), rows_.end(), [col](const HandRow& a, const HandRow& b) {
    const QString& ta = col < a.cells.size() ? a.cells[col].text : kEmpty;
    const QString& tb = col < b.cells.size() ? b.cells[col].text : kEmpty;
    return QString::compare(ta, tb, Qt::CaseSensitive) < 0;
  });
  indexStale_ = true;
}

int HandRowModel::selected() const {
  return selectedKey_.isEmpty() ? -1 : indexOf(selectedKey_);
}

void HandRowModel::select(int index) {
  selectedKey_ = index >= 0 && index < count() ? key(index) : QString();
}

void HandRowModel::restore(Snapshot snapshot) {
  rows_ = std::move(snapshot.rows);
  selectedKey_ = std::move(snapshot.selectedKey);
  indexStale_ = true;
}

}  // namespace kx
