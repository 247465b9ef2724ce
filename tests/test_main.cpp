// The main of every test program: a QApplication on the offscreen platform, German locale,
// no viewer.
#include "app/appinit.h"
#include "app/qtuserinterface.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // No test starts the PDF viewer, also where the real user interface is driven.
  qputenv(kx::kNoViewerVariable, "1");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt wants a private runtime directory; a fresh one keeps the output quiet.
    const QByteArray dir = "/tmp/kandrix-runtime-" + QByteArray::number(getuid());
    mkdir(dir.constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", dir);
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kx::InitApplication(app);
  return RUN_ALL_TESTS();
}
