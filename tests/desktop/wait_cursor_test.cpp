#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>

#include "desktop/desktop_services.h"
#include "platform/wait_cursor.h"

namespace {

TEST(WaitCursor, NestedWaitCursorsRestoreOnlyWhenTheOuterEnds) {
  { TWaitCursor beforeTheServicesAreInstalled; }
  InstallDesktopServices();
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);
  {
    TWaitCursor outer;
    {
      TWaitCursor inner;
      ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
