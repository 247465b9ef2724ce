#include "tests/support/realui.h"

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

void KeyboardPerson::answer(std::initializer_list<Answer> answers) {
  seen.clear();
  script_ = answers;
}

void KeyboardPerson::look() {
  QWidget* dialog = QApplication::activeModalWidget();
  if (!dialog || !dialog->isVisible() || !dialog->windowHandle()) return;
  // A key can take a moment to act (a button's letter clicks it after a short flash): the
  // dialog just answered is given half a second before it counts as asking again.
  if (dialog == answered_ && ++waited_ < 50) return;
  answered_ = dialog;
  waited_ = 0;
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
  QApplication::setActiveWindow(field->window());
  field->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), field);
  QTest::keyClick(field->window()->windowHandle(), key);
}

}  // namespace kx::test
