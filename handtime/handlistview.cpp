#include "handtime/handlistview.h"

#include "workpanel/workpanel.h"

#include <QFont>
#include <QHeaderView>

namespace kx {

int HandRowTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_.count();
}

int HandRowTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.columns().size());
}

QVariant HandRowTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const HandCell& cell = rows_.cell(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
      return cell.text;
    case Qt::FontRole:
      if (cell.bold) {
        QFont font;
        font.setBold(true);
        return font;
      }
      return {};
    case Qt::ForegroundRole:
      return cell.color == kPlainColor ? QVariant() : QVariant(QColor(cell.color));
    case Qt::TextAlignmentRole: {
      const HandAlign align = rows_.columns()[static_cast<size_t>(index.column())].align;
      return static_cast<int>(Qt::AlignVCenter | (align == HandAlign::Left    ? Qt::AlignLeft
                                                  : align == HandAlign::Right ? Qt::AlignRight
                                                                              : Qt::AlignHCenter));
    }
    default:
      return {};
  }
}

QVariant HandRowTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return rows_.columns()[static_cast<size_t>(section)].header;
}

HandListView::HandListView(HandRowModel& rows, const QString& name, QWidget* parent)
    : QTreeView(parent), rows_(rows), table_(new HandRowTableModel(rows, this)) {
  setObjectName(name);
  setModel(table_);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setItemsExpandable(false);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSortingEnabled(false);
  header()->setStretchLastSection(false);
  // No guard: only records the chosen row; the frames guard their handlers of rowChosen.
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (reloading_ || !current.isValid()) return;
            rows_.select(current.row());
            emit rowChosen(current.row());
          });
}

void HandListView::reload() {
  reloading_ = true;
  table_->reload();
  for (int c = 0; c < table_->columnCount(); ++c) {
    const int twips = rows_.columns()[static_cast<size_t>(c)].widthTwips;
    setColumnHidden(c, twips <= 1);
    setColumnWidth(c, TwipsToPixels({0, 0, twips, 0}).width());
  }
  const int selected = rows_.selected();
  if (selected >= 0) {
    const QModelIndex index = table_->index(selected, 0);
    setCurrentIndex(index);
    scrollTo(index);
  }
  reloading_ = false;
}

}  // namespace kx
