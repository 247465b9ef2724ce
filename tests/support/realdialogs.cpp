#include "tests/support/realdialogs.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace kx::test {

KeyboardPerson::KeyboardPerson() {
  connect(&timer_, &QTimer::timeout, this, [this] { look(); });
  timer_.start(10);
}

void KeyboardPerson::look() {
  QWidget* dialog = QApplication::activeModalWidget();
  if (!dialog || !dialog->isVisible() || !dialog->windowHandle()) return;
  if (dialog == answered_ && answeredAt_.elapsed() < 500) return;
  Seen s{QString::fromLatin1(dialog->metaObject()->className()), dialog->windowTitle()};
  if (auto* box = qobject_cast<QMessageBox*>(dialog)) s.text = box->text();
  seen.append(s);
  const Answer a =
      script_.isEmpty() || seen.size() > 12 ? Answer{Qt::Key_Escape, {}} : script_.takeFirst();
  if (!a.fileName.isEmpty()) {
    if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
      name->setText(a.fileName);
    }
  }
  answered_ = dialog;
  answeredAt_.start();
  // Delivered like a real key: to the dialog's window, which hands it to its focus widget.
  QTest::keyClick(dialog->windowHandle(), a.key);
}

std::string KeyboardPerson::join(QString Seen::*field) const {
  QStringList out;
  for (const Seen& s : seen) out << s.*field;
  return out.join(QStringLiteral(", ")).toStdString();
}

void RealUiFixture::SetUp() {
  AppFixture::SetUp();
  // The same window, but with the real dialogs.
  window_.reset();
  ui_ = nullptr;
  window_ = std::make_unique<MainWindow>(
      programDir(), nullptr, std::make_unique<QSettings>(settingsPath(), QSettings::IniFormat));
  window().show();
  QApplication::setActiveWindow(&window());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
}

void RealUiFixture::openFile(const QString& path) {
  person.answer({{Qt::Key_Return, path}});
  trigger("DateiOeffnen");
  ASSERT_EQ(state().CompetitionFileName, QFileInfo(path).completeBaseName());
}

void RealUiFixture::typeInto(QWidget* field, Qt::Key key) {
  ASSERT_NE(field, nullptr);
  QApplication::setActiveWindow(&window());
  field->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), field);
  QTest::keyClick(window().windowHandle(), key);
}

}  // namespace kx::test
