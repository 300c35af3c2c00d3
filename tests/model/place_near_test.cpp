// A module dialog opens beside its module: the first of eight places around the panel, from the
// start place on, that keeps it on the desktop; centred when none does.
#include <gtest/gtest.h>

#include "patch/place_near.h"

namespace {

constexpr TRect kDesktop{0, 0, 1000, 800};
// A 100 x 60 dialog beside a panel at (400, 300)-(500, 350); with the gap of 2 the panel's right
// and bottom count as 502 and 352.
constexpr TRect kDialog{7, 9, 107, 69};
constexpr TRect kPanel{400, 300, 500, 350};

TRect At(int left, int top) { return {left, top, left + 100, top + 60}; }

TEST(PlaceNear, EachStartPlaceWhereItFits) {
  const struct {
    int start;
    TRect placed;
  } cases[] = {
      {0, At(502, 270)}, {1, At(502, 238)}, {2, At(350, 238)}, {3, At(298, 238)},
      {4, At(298, 270)}, {5, At(298, 352)}, {6, At(350, 352)}, {7, At(502, 352)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(PlaceNear({kDialog, kPanel, c.start, 2}, kDesktop), c.placed) << c.start;
  }
}

TEST(PlaceNear, GoesOnCyclicallyToTheFirstPlaceThatFits) {
  // At the desktop's top edge nothing above or at the middle fits: from 1 on, 5 is the first.
  const TRect top{400, 10, 500, 60};
  EXPECT_EQ(PlaceNear({kDialog, top, 1, 2}, kDesktop), At(298, 62));
  // At the right edge, starting at 7 wraps over 0 and 1 to 2.
  const TRect right{880, 700, 990, 750};
  EXPECT_EQ(PlaceNear({kDialog, right, 7, 2}, kDesktop), At(830, 638));
}

TEST(PlaceNear, CentresWhenNothingFitsOrAsked) {
  const TRect centred = At(450, 370);
  const TRect whole{0, 0, 1000, 800};
  EXPECT_EQ(PlaceNear({kDialog, whole, 1, 2}, kDesktop), centred);
  EXPECT_EQ(PlaceNear({kDialog, kPanel, 8, 2}, kDesktop), centred);
  // A desktop that does not start at the origin centres on itself.
  EXPECT_EQ(PlaceNear({kDialog, kPanel, 8, 2}, {1000, 0, 2000, 800}), At(1450, 370));
}

}  // namespace
