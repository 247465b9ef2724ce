#include "app/qtuserinterface.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QStringList>
#include <QUrl>

namespace kx {

QString QtFilterOf(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters.append(parts[i] + QStringLiteral(" (") + patterns + QStringLiteral(")"));
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
  return QFileDialog::getOpenFileName(parent_, request.title, request.directory,
                                      QtFilterOf(request.filter));
}

QString QtUserInterface::saveFileName(const FileDialogRequest& request) {
  const QString start = request.fileName.isEmpty()
                            ? request.directory
                            : QDir(request.directory).filePath(request.fileName);
  return QFileDialog::getSaveFileName(parent_, request.title, start, QtFilterOf(request.filter));
}

bool QtUserInterface::chooseFont(FontChoice& choice) {
  QFont initial(choice.family, choice.pointSize);
  initial.setBold(choice.bold);
  initial.setItalic(choice.italic);
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, parent_);
  if (!ok) return false;
  choice.family = font.family();
  choice.bold = font.bold();
  choice.italic = font.italic();
  choice.pointSize = font.pointSize();
  return true;
}

QDateTime QtUserInterface::now() {
  return QDateTime::currentDateTime();
}

bool QtUserInterface::openViewer(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace kx
