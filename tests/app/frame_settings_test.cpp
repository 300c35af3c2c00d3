// The main window comes back at the next start where and as the user left it.
#include "main_frame_fixture.h"

namespace {

TEST_F(MainFrameTest, PlaceSizeStateAndBarsComeBackAtTheNextStart) {
  frame.move(40, 30);
  frame.resize(900, 600);
  frame.Actions().ShowWorkspace->setChecked(false);
  frame.Actions().ShowToolBar->setChecked(false);
  ASSERT_TRUE(frame.close());
  {
    TMainFrame next;
    EXPECT_EQ(next.pos(), QPoint(40, 30));
    EXPECT_EQ(next.size(), QSize(900, 600));
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
  EXPECT_EQ(maximised.size(), QSize(900, 600)) << "the size is kept only from a normal window";
}

}  // namespace
