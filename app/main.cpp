#include "app/appinit.h"
#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kx::InitApplication(app);
  kx::MainWindow window(QApplication::applicationDirPath());
  window.show();
  return QApplication::exec();
}
