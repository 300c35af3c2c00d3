// The main window comes back at the next start where and as the user left it.
#include "main_frame_fixture.h"

#include "app/window_placement.h"
#include "platform/settings_check.h"
#include "platform/settings_store.h"

namespace {

TEST_F(MainFrameTest, PlaceSizeStateAndBarsComeBackAtTheNextStart) {
  frame.move(40, 30);
  frame.resize(700, 500);
  frame.Actions().ShowWorkspace->setChecked(false);
  frame.Actions().ShowToolBar->setChecked(false);
  ASSERT_TRUE(frame.close());
  {
    TMainFrame next;
    EXPECT_EQ(next.pos(), QPoint(40, 30));
    EXPECT_EQ(next.size(), QSize(700, 500));
    EXPECT_FALSE(next.Actions().ShowWorkspace->isChecked());
    EXPECT_FALSE(next.Actions().ShowToolBar->isChecked());
    EXPECT_TRUE(next.Actions().ShowStatusBar->isChecked());
    EXPECT_FALSE(next.isMaximized());
    next.setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(next.close());
  }
  TMainFrame maximised;
  EXPECT_TRUE(maximised.isMaximized());
  maximised.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(maximised.size(), QSize(700, 500)) << "the size is kept only from a normal window";
}

// A place stored for a larger screen, or by hand, puts the window on the screen it has now.
TEST_F(MainFrameTest, AStoredPlaceOffTheScreenComesBackOnIt) {
  ASSERT_TRUE(frame.close());
  SettingsWriteInteger("MainFrame", "Left", 3000);
  SettingsWriteInteger("MainFrame", "Top", 2000);
  SettingsWriteInteger("MainFrame", "Width", 2147483647);
  SettingsWriteInteger("MainFrame", "Height", 300);
  TakeSettingsRepairs();
  TMainFrame next;
  const QRect screen = ScreenAreas().front();
  EXPECT_TRUE(screen.contains(next.geometry())) << screen.width() << " x " << screen.height();
  EXPECT_EQ(next.width(), screen.width());
  EXPECT_EQ(next.height(), 300);
  EXPECT_EQ(TakeSettingsRepairs().size(), 1);
}

}  // namespace
