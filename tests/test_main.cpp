// The main of every test program: a QApplication on the offscreen platform, German locale.
#include "app/appinit.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    // Qt wants a private runtime directory; a fresh one keeps the output quiet.
    char dir[] = "/tmp/kandrix-runtime-XXXXXX";
    if (mkdtemp(dir) != nullptr) qputenv("XDG_RUNTIME_DIR", dir);
  }
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kx::InitApplication(app);
  return RUN_ALL_TESTS();
}
