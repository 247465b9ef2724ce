#pragma once

// The list view of the takeover frames: a report view that draws a HandRowModel (texts,
// bold and colour per cell, column widths and alignments, hidden columns of width 1) and
// keeps the model's selected row and its own current row the same.

#include "handtime/handrowmodel.h"

#include <QAbstractTableModel>
#include <QTreeView>

namespace kx {

class HandRowTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit HandRowTableModel(HandRowModel& rows, QObject* parent = nullptr)
      : QAbstractTableModel(parent), rows_(rows) {}
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void reload() {
    beginResetModel();
    endResetModel();
  }

 private:
  HandRowModel& rows_;
};

class HandListView : public QTreeView {
  Q_OBJECT
 public:
  HandListView(HandRowModel& rows, const QString& name, QWidget* parent);
  // Draws the model as it now stands, with its columns and selected row.
  void reload();

 signals:
  // The user chose a row (its index in the model).
  void rowChosen(int row);

 private:
  HandRowModel& rows_;
  HandRowTableModel* table_;
  bool reloading_ = false;
};

}  // namespace kx
