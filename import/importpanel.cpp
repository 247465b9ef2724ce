#include "import/importpanel.h"

#include "common/appstate.h"
#include "common/textroutines.h"
#include "common/userinterface.h"
#include "import/classimport.h"
#include "import/importfile.h"
#include "import/participantimport.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTreeWidget>

namespace kx {

namespace {

constexpr int kKeyRole = Qt::UserRole;

void SetRowLook(QTreeWidgetItem* item, bool marked) {
  if (!item) return;
  for (int column = 0; column < 2; ++column) {
    item->setForeground(column, marked ? QColor(0, 0, 255) : QColor(0, 0, 0));
    QFont font = item->font(column);
    font.setBold(marked);
    item->setFont(column, font);
  }
}

}  // namespace

ImportPanel::ImportPanel(PanelHost& host, const PanelInfo& row)
    : WorkPanel(host, row), participants_(row.name == QLatin1String("ImportCSV")) {}

void ImportPanel::build() {
  path_ = ui().openFileName({QString(), state().DataDir,
                             QStringLiteral("EXCEL-Dateien(*.csv;*.txt)|*.txt;*.csv"), QString()});
  if (path_.isEmpty()) {
    closeSelf();
    return;
  }
  const bool people = participants_;
  addLabel(QStringLiteral("Label01"), QStringLiteral("Spaltenzuordnung"), Arial(9),
           {240, 810, 1575, 255});
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("Spaltendefinition"));
  list_->setFont(QFont(QStringLiteral("Arial")));
  list_->setGeometry(TwipsToPixels({1920, 740, 2895, people ? 3145 : 2645}));
  list_->setRootIsDecorated(false);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setColumnCount(0);
  list_->show();
  connectGuarded(list_, &QTreeWidget::itemClicked, [this] { markSelectedRow(); });
  const int low = people ? 0 : 500;
  addLabel(QStringLiteral("Label02"), QStringLiteral("Excel:"), Arial(9),
           {2280, 4050 - low, 495, 255});
  combo_ = addComboBox(QStringLiteral("SpalteCSV"), Arial(9), 2880, 3990 - low, 1935);
  addButton(QStringLiteral("Spalte_zuordnen"), QStringLiteral("zuordnen"), SansSerif(8),
            {4892, 3990 - low, 855, 375}, [this] { assignSelectedRow(); });
  addButton(panelName() + QStringLiteral("_speichern"), QStringLiteral("Speichern (F2)"),
            SansSerif(8, true), {840, 4700, 1455, 375}, [this] { mainAction(); });
  addButton(panelName() + QStringLiteral("_verwerfen"), QStringLiteral("Verwerfen (Esc)"),
            SansSerif(8), {5880, 4700, 1455, 375}, [this] { closeSelf(); });

  QString error;
  const std::optional<ImportFile> file = ReadImportFile(path_, &error);
  if (!file) {
    ui().message(error);
    closeSelf();
    return;
  }
  separator_ = file->separator;
  combo_->addItems(file->header);
  combo_->setCurrentIndex(0);
  InstallComboTypeAhead(*combo_);
  if (file->header.size() < kMinimumHeaderFields) {
    ui().message(kNoColumnsMessage);
    return;
  }
  rows_ = people ? ParticipantTargetRows(state().Settings, state().FileVersionClass,
                                         state().RunCount, state().CurrentDisciplineCode)
                 : ClassTargetRows();
  for (TargetRow& row : rows_) AutoAssign(row, file->header, people && file->runHeaderPresent());
  fillRows();
}

void ImportPanel::fillRows() {
  list_->clear();
  list_->setColumnCount(3);
  list_->setHeaderLabels(
      {QStringLiteral("Kandor"), QStringLiteral("Excel"), QStringLiteral("Col")});
  list_->setColumnWidth(0, TwipsToPixels({0, 0, 1400, 0}).width());
  list_->setColumnWidth(1, TwipsToPixels({0, 0, 1400, 0}).width());
  list_->header()->setStretchLastSection(false);
  list_->setColumnWidth(2, TwipsToPixels({0, 0, 1, 0}).width());
  int n = 0;
  for (const TargetRow& row : rows_) {
    ++n;
    auto* item = new QTreeWidgetItem(list_, {row.label, row.excel, QStringLiteral("0")});
    item->setData(0, kKeyRole, QStringLiteral("T%1").arg(n));
    item->setData(1, kKeyRole, QStringLiteral("E%1").arg(n));
    item->setData(2, kKeyRole, QStringLiteral("C%1").arg(n));
  }
  selectedKey_ = QStringLiteral("T1");
  list_->setCurrentItem(list_->topLevelItem(0));
  markSelectedRow();
}

void ImportPanel::markSelectedRow() {
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list_->topLevelItem(i);
    if (item->data(0, kKeyRole).toString() == selectedKey_) SetRowLook(item, false);
  }
  QTreeWidgetItem* current = list_->currentItem();
  if (!current) return;
  selectedKey_ = current->data(0, kKeyRole).toString();
  SetRowLook(current, true);
  list_->viewport()->update();
}

void ImportPanel::assignSelectedRow() {
  QTreeWidgetItem* current = list_->currentItem();
  if (!current || combo_->currentIndex() < 0) return;
  selectedKey_ = current->data(0, kKeyRole).toString();
  const int row = list_->indexOfTopLevelItem(current);
  const QString header = combo_->itemText(combo_->currentIndex());
  current->setText(1, header);
  rows_[static_cast<size_t>(row)].excel = header;
}

void ImportPanel::showColumns() {
  for (int i = 0; i < list_->topLevelItemCount() && i < static_cast<int>(rows_.size()); ++i) {
    const int col = rows_[static_cast<size_t>(i)].col;
    list_->topLevelItem(i)->setText(2, QString::number(std::max(col, 0)));
  }
}

void ImportPanel::mainAction() {
  if (rows_.empty()) return;  // a refused file: nothing to save
  guarded([this] {
    const bool people = participants_;
    const ImportResult result = people ? ImportParticipants(state(), path_, separator_, rows_)
                                       : ImportClasses(state(), path_, separator_, rows_);
    showColumns();
    ui().message(result.message);
    if (people && result.kind != ImportResult::Kind::Stopped) {
      host().UpdateParticipantMenus();
      host().UpdateTeamMenus();
    }
    if (result.kind == ImportResult::Kind::Done) closeSelf();
    if (people && result.kind != ImportResult::Kind::Stopped) host().UpdateTimeMenus();
  });
}

}  // namespace kx
