#pragma once

// The certificate template editor: the entries of one template (individual certificates of
// the current discipline, or the team certificates) in a list, the fields of the selected
// entry, add and remove, placeholders, font choice, copy from another competition file,
// preview, save and discard. The list is the working copy; only the save writes.

#include "certificates/templatestore.h"
#include "common/userinterface.h"
#include "workpanel/workpanel.h"

#include <optional>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace kx {

class CertificateEditorPanel : public WorkPanel {
  Q_OBJECT
 public:
  CertificateEditorPanel(PanelHost& host, const PanelInfo& row, const QString& menuEntry);

  QString title() const override;
  void build() override;
  void mainAction() override;  // save (F2)
  // Discard (Esc): with unsaved changes only after the person agreed (Nein, the default,
  // keeps the editor with its changes).
  void closeAction() override;
  void afterClose() override;

  // Which editor is open: true for the team certificates' editor (none open: nothing).
  static std::optional<bool> OpenEditorIsTeam();
  // Leaves the open editor as its Esc does. True when no editor is open afterwards.
  static bool LeaveOpenEditor();

  // The entries in list order as the save and the preview take them.
  std::vector<CertificateEntry> entries() const;
  bool landscape() const;

 private:
  int templateKey() const;
  void addEntryFields();  // the fields of the selected entry, copy and preview
  void addEntryList();
  void addListButtons();  // add, remove, landscape, save, discard
  void connectEntryFields();
  void connectTypeAhead(QComboBox* combo);
  QTreeWidgetItem* item(const QString& key) const;
  QTreeWidgetItem* selectedItem() const;
  void addEntry(const CertificateEntry& entry, int id);
  void loadTemplate(const CertificateTemplate& t);
  void sortBy(int column, Qt::SortOrder order);
  void selectEntry(QTreeWidgetItem* clicked);
  void emptyState(bool resetHint);
  void setHighlight(QTreeWidgetItem* item, bool on);

  void addNew(bool picture);
  void removeSelected();
  void chooseAlignment(int index);
  void insertPlaceholder(int index);
  void chooseFont();
  void columnClicked(int column);
  void copyFromFile();
  void preview();
  void save();

  bool team_ = false;
  // The template as it was loaded, to tell unsaved changes.
  std::vector<CertificateEntry> loadedEntries_;
  bool loadedLandscape_ = false;
  QString selectedKey_;
  QString pendingKey_;
  int entryCount_ = 0;
  int lastId_ = 0;
  QString sortDirection_ = QStringLiteral("A");
  int sortColumn_ = 5;
  FontChoice lastFont_{QStringLiteral("Arial"), false, false, 10};

  QLabel* label0_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* label3_ = nullptr;
  QLabel* label4_ = nullptr;
  QLabel* label5_ = nullptr;
  QLineEdit* text_ = nullptr;
  QLineEdit* width_ = nullptr;
  QLineEdit* height_ = nullptr;
  QComboBox* field_ = nullptr;
  QPushButton* font_ = nullptr;
  QLabel* fontShown_ = nullptr;
  QComboBox* align_ = nullptr;
  QLineEdit* vertical_ = nullptr;
  QLineEdit* horizontal_ = nullptr;
  QTreeWidget* list_ = nullptr;
  QPushButton* remove_ = nullptr;
  QCheckBox* landscape_ = nullptr;
};

}  // namespace kx
