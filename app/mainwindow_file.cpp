// Opening and closing the competition file, and choosing the current discipline.
#include "app/competitionfile.h"
#include "app/mainwindow.h"
#include "app/menuentries.h"
#include "common/guarded.h"
#include "common/masterdata.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>

#include <optional>
#include <vector>

namespace kx {

namespace {

const QString kTitleCaption = QStringLiteral("Kandrix -- %1 -- %2");

}  // namespace

void MainWindow::DateiOeffnen_Click() {
  if (currentPanel_ == kCertificateEditorPanel) {
    ui_->message(kEditorLeaveMessage);
    return;
  }
  // The takeover frames are asked about and closed only once a file has been chosen and
  // checked: a cancelled or refused open keeps their assignments.
  frameInfo_->hide();
  if (!currentPanel_.isEmpty()) closePanel(currentPanel_);

  // The program must run in the main program's directory, beside its master data.
  try {
    OpenMasterData(state_.ProgramDir);
  } catch (const db::Error& e) {
    ui_->message(MasterDataFailureText(
        state_.ProgramDir, e,
        QStringLiteral("Achtung: Das Programm Kandrix ist nicht im Programmverzeichnis "
                       "des Programms Kandor installiert!")));
    return;
  }

  state_.DataDir = settings_->value(QStringLiteral("Verz/Pfad"), state_.DataDir).toString();
  const QString path = ui_->openFileName(
      {QStringLiteral("Öffnen"), state_.DataDir, QStringLiteral("Bewerbsdatei|*.mdb"), QString()});
  if (path.isEmpty()) return;

  const QFileInfo info(path);
  const QString dir = QDir::toNativeSeparators(info.absolutePath());
  state_.DataDir = dir;
  settings_->setValue(QStringLiteral("Verz/Pfad"), dir);

  // Check the chosen file on a connection of its own; the file that is open now stays
  // open and usable unless every check passes.
  CheckResult checked = CheckCompetitionFile(path);
  if (checked.failure) {
    ui_->message(checked.failure->text, checked.failure->icon, checked.failure->title);
    return;
  }
  CheckedCompetition& file = *checked.file;
  if (KeepTakeoverFrames()) return;
  CloseAllPanels();

  // Everything below runs with the earlier file kept aside: when any of it fails, the
  // earlier file, its caption and its menus come back, and the new file is left as it was
  // (the upgrade is committed only at the very end).
  struct MenuEntryState {
    QAction* entry;
    bool enabled, checked;
    QString text;
  };
  std::vector<MenuEntryState> menus;
  for (QAction* entry : std::as_const(actions_)) {
    menus.push_back({entry, entry->isEnabled(), entry->isChecked(), entry->text()});
  }
  const QString caption = windowTitle();
  OpenFile earlier = TakeOpenFile(state_);
  try {
    std::optional<db::Transaction> upgrade = BeginUpgrade(file);
    // The new file becomes the open one; every value of the earlier file is replaced.
    ApplyCompetitionFile(state_, std::move(file), path);
    ApplyOpenedFileMenus();
    if (upgrade) upgrade->commit();
  } catch (const db::Error& e) {
    OpenFile failed = TakeOpenFile(state_);  // the new connection closes here
    RestoreOpenFile(state_, std::move(earlier));
    for (const MenuEntryState& m : menus) {
      m.entry->setEnabled(m.enabled);
      m.entry->setChecked(m.checked);
      m.entry->setText(m.text);
    }
    setWindowTitle(caption);
    // A lock or a full disk at the upgrade is said as such; a file of another shape by its
    // own text.
    const QString reason = e.fault() == db::Error::Fault::Other ? e.text() : DatabaseErrorText(e);
    ui_->message(QStringLiteral("Die Datei '%1' kann nicht geöffnet werden:\n%2").arg(path, reason),
                 MsgIcon::Exclamation, QStringLiteral("Datei öffnen"));
    return;
  }
  CloseAllPanels();
  frameTitel_->clear();
}

void MainWindow::TickCurrentDiscipline() {
  for (int t = 0; t < kDisciplineEntries.size(); ++t) {
    action(kDisciplineEntries[t])->setChecked(t == state_.CurrentDisciplineType);
  }
  action(menu::DisziplinKombination)->setChecked(state_.CurrentDisciplineType == 6);
}

void MainWindow::ApplyOpenedFileMenus() {
  TickCurrentDiscipline();  // the open never makes the combination current

  const bool typ8 = state_.Settings.typ == QLatin1String("8");
  action(menu::DisziplinPSL)
      ->setText(typ8 ? kParallelNameOfTyp8 : QStringLiteral("Parallelslalom"));
  setWindowTitle(kTitleCaption.arg(state_.CompetitionFileName, state_.currentDocumentTitle()));

  applyMenuEvent(MenuEvent::Open);
}

void MainWindow::DateiSchliessen_Click() {
  if (EditorLeaveGuard()) return;
  state_.CompetitionDb.reset();
  for (const QString& entry : kDisciplineEntries) action(entry)->setChecked(false);
  action(menu::DisziplinKombination)->setChecked(false);
  applyMenuEvent(MenuEvent::Close);
  CloseAllPanels();
  frameTitel_->clear();
  state_.CurrentDisciplineType = -1;
  state_.CurrentDisciplineCode.clear();
  setWindowTitle(QStringLiteral("Kandrix: Kandor Zusatzprogramm"));
}

void MainWindow::ChooseDiscipline(int type) {
  // The entry ticked itself when it was chosen: a refused change ticks the current one again.
  if (EditorLeaveGuard()) {
    TickCurrentDiscipline();
    return;
  }
  CloseAllPanels();
  state_.CurrentDisciplineType = type;
  state_.CurrentDisciplineCode = state_.DisciplineCodes[static_cast<size_t>(type)];
  TickCurrentDiscipline();
  if (type == 5) {
    const QString name = state_.DisciplineNames[5];
    setWindowTitle(kTitleCaption.arg(
        state_.CompetitionFileName,
        name == QLatin1String("Parallelslalom") && state_.Settings.typ == QLatin1String("8")
            ? kParallelNameOfTyp8
            : name));
  } else {
    setWindowTitle(kTitleCaption.arg(state_.CompetitionFileName, state_.currentListTitle()));
  }
  applyMenuEvent(MenuEvent::DisciplineChange);
}

void MainWindow::DisziplinKombination_Click() {
  if (EditorLeaveGuard()) {
    TickCurrentDiscipline();
    return;
  }
  CloseAllPanels();
  state_.CurrentDisciplineType = 6;
  state_.CurrentDisciplineCode = QStringLiteral("ko");
  TickCurrentDiscipline();
  setWindowTitle(kTitleCaption.arg(state_.CompetitionFileName, QStringLiteral("Kombination")));
  applyMenuEvent(MenuEvent::Combination);
}

}  // namespace kx
