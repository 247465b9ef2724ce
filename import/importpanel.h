#pragma once

// The column-assignment panel of both imports ("ImportCSV" for participants,
// "ImportKlassenCSV" for classes): the file chosen at opening, its header texts, one row
// per target field with the assigned header text, and the save that runs the import.

#include "import/columnassignment.h"
#include "workpanel/workpanel.h"

class QComboBox;
class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class ImportPanel : public WorkPanel {
  Q_OBJECT
 public:
  // The row "ImportCSV" imports participants, "ImportKlassenCSV" classes.
  ImportPanel(PanelHost& host, const PanelInfo& row);
  // Lets the user choose the file, builds the controls, reads the header line and
  // proposes the assignment. A cancelled dialog leaves no panel.
  void build() override;
  void mainAction() override;  // ImportCSV_speichern / ImportKlassenCSV_speichern

  // Spaltendefinition_ItemClick: marks the selected row blue and bold.
  void markSelectedRow();
  // Spalte_zuordnen_Click: the combo's header text into the selected row.
  void assignSelectedRow();

 private:
  void fillRows();
  void showColumns();

  bool participants_;
  QString path_;
  QChar separator_ = u'\t';
  TargetRows rows_;
  QString selectedKey_;
  QTreeWidget* list_ = nullptr;
  QComboBox* combo_ = nullptr;
};

}  // namespace kx
