// Entry of the widget and program tests: a private home as for every test, and a widget
// application on the offscreen platform with the desktop services the program installs, made
// before any test builds a canvas or a window.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "desktop/desktop_services.h"
#include "support/private_home.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new TPrivateHome);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication application(argc, argv);
  InstallDesktopServices();
  return RUN_ALL_TESTS();
}
