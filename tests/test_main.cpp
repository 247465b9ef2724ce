// The main of every test program: a QApplication on the offscreen platform, German locale.
#include "app/appinit.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", "/tmp");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  kx::InitApplication(app);
  return RUN_ALL_TESTS();
}
