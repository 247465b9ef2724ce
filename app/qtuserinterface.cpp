#include "app/qtuserinterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFormLayout>
#include <QIdentityProxyModel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace kx {

namespace {

// The file list's size and date columns in German: the file-system model writes them in
// the machine's locale ("5 Mar 2024 14:07:00", "176 bytes").
class GermanFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override {
    enum { kSize = 1, kDate = 3 };  // the model's columns
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || (index.column() != kSize && index.column() != kDate))
      return QIdentityProxyModel::data(index, role);
    const QModelIndex file = mapToSource(index);
    if (index.column() == kDate)
      return QLocale().toString(files->lastModified(file), QLocale::ShortFormat);
    return files->isDir(file) ? QString() : QLocale().formattedDataSize(files->size(file));
  }
};

// Qt's own file dialog rather than the desktop's, which speaks the machine's language.
QString AskFileName(QWidget* parent, const QString& title, const QString& start,
                    const QString& filter, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, title, start, QtFilterOf(filter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setProxyModel(new GermanFileColumns(&dialog));
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

}  // namespace

QString QtFilterOf(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    // A description that names its patterns itself ("txt-Dateien(*.txt)") shows them once:
    // the patterns that filter.
    QString name = parts[i];
    static const QRegularExpression ownPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    name.remove(ownPatterns);
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters.append(name + QStringLiteral(" (") + patterns + QStringLiteral(")"));
  }
  return filters.join(QStringLiteral(";;"));
}

MsgAnswer QtUserInterface::message(const QString& text, MsgIcon icon, const QString& title,
                                   MsgButtons buttons) {
  QMessageBox box(parent_);
  box.setWindowTitle(title.isEmpty() ? kAppTitle : title);
  box.setText(text);
  switch (icon) {
    case MsgIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
    case MsgIcon::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MsgIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MsgIcon::Information:
      box.setIcon(QMessageBox::Information);
      break;
    case MsgIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
  }
  switch (buttons) {
    case MsgButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case MsgButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case MsgButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case MsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
    case MsgButtons::YesNoDefaultNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes:
      return MsgAnswer::Yes;
    case QMessageBox::No:
      return MsgAnswer::No;
    case QMessageBox::Cancel:
      return MsgAnswer::Cancel;
    default:
      return MsgAnswer::Ok;
  }
}

QString QtUserInterface::openFileName(const FileDialogRequest& request) {
  return AskFileName(parent_, request.title, request.directory, request.filter,
                     QFileDialog::AcceptOpen);
}

QString QtUserInterface::saveFileName(const FileDialogRequest& request) {
  const QString start = request.fileName.isEmpty()
                            ? request.directory
                            : QDir(request.directory).filePath(request.fileName);
  return AskFileName(parent_, request.title, start, request.filter, QFileDialog::AcceptSave);
}

bool QtUserInterface::chooseFont(FontChoice& choice) {
  // Our own small dialog: the family stays as stored (no substitute's name), and the size
  // takes a decimal comma ("10,5").
  QDialog dialog(parent_);
  dialog.setWindowTitle(QStringLiteral("Schriftart"));
  auto* family = new QComboBox(&dialog);
  family->setObjectName(QStringLiteral("FontFamily"));
  QStringList families = QFontDatabase::families();
  if (!choice.family.isEmpty() && !families.contains(choice.family))
    families.prepend(choice.family);
  family->addItems(families);
  family->setCurrentText(choice.family);
  auto* bold = new QCheckBox(QStringLiteral("fett"), &dialog);
  bold->setObjectName(QStringLiteral("FontBold"));
  bold->setChecked(choice.bold);
  auto* italic = new QCheckBox(QStringLiteral("kursiv"), &dialog);
  italic->setObjectName(QStringLiteral("FontItalic"));
  italic->setChecked(choice.italic);
  const QLocale german(QLocale::German, QLocale::Germany);
  auto* size = new QLineEdit(german.toString(choice.pointSize, 'g', QLocale::FloatingPointShortest),
                             &dialog);
  size->setObjectName(QStringLiteral("FontSize"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  // No guard: the dialog's own buttons close it or show a message; nothing else is reached.
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  // No guard: as above.
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    bool ok = false;
    const double value = german.toDouble(size->text().trimmed(), &ok);
    if (!ok || !(value > 0)) {
      message(QStringLiteral("Die Schriftgröße muss eine Zahl größer als 0 sein"), MsgIcon::None,
              QString(), MsgButtons::Ok);
      return;
    }
    dialog.accept();
  });
  auto* form = new QFormLayout(&dialog);
  form->addRow(QStringLiteral("Schriftart"), family);
  form->addRow(QString(), bold);
  form->addRow(QString(), italic);
  form->addRow(QStringLiteral("Größe"), size);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  choice.family = family->currentText();
  choice.bold = bold->isChecked();
  choice.italic = italic->isChecked();
  choice.pointSize = german.toDouble(size->text().trimmed());
  return true;
}

QDateTime QtUserInterface::now() {
  return QDateTime::currentDateTime();
}

bool QtUserInterface::openViewer(const QString& path) {
  if (!qEnvironmentVariableIsEmpty(kNoViewerVariable)) return true;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace kx
