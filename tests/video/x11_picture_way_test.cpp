// The ways the picture can reach an X11 window, built without Xlib: which
// one the server's capabilities choose, and the ways tried after a failure.
#include <gtest/gtest.h>

#include "video/x11_picture_way.h"

TEST(X11WayTest, ServerScalesWhenItCanAndTheScalerServesWithoutXRender) {
  EXPECT_EQ(ChooseX11PictureWay({true, true, true}), X11PictureWay::kRenderSharedPixmap);
  EXPECT_EQ(ChooseX11PictureWay({true, true, false}), X11PictureWay::kRenderSharedImage);
  EXPECT_EQ(ChooseX11PictureWay({true, false, false}), X11PictureWay::kRenderPlainImage);
  EXPECT_EQ(ChooseX11PictureWay({false, true, true}), X11PictureWay::kClientSharedImage);
  EXPECT_EQ(ChooseX11PictureWay({false, false, false}), X11PictureWay::kClientPlainImage);
}

TEST(X11WayTest, AfterAFailureEachWayLeavesNoMoreToTheServerDownToAPlainImageScaledHere) {
  for (const X11Capabilities& offered : {X11Capabilities{true, true, true}, X11Capabilities{true, true, false},
                                         X11Capabilities{true, false, false}, X11Capabilities{false, true, true},
                                         X11Capabilities{false, true, false}, X11Capabilities{false, false, false}}) {
    SCOPED_TRACE(static_cast<int>(ChooseX11PictureWay(offered)));
    X11Capabilities tried = offered;
    X11PictureWay way = ChooseX11PictureWay(tried);
    int steps = 0;
    while (DropCapability(tried, offered)) {
      const X11PictureWay next = ChooseX11PictureWay(tried);
      EXPECT_GE(static_cast<int>(next), static_cast<int>(way));
      EXPECT_FALSE(UsesSharedMemory(next) && !offered.shm);
      way = next;
      ASSERT_LT(++steps, 8);
    }
    EXPECT_EQ(way, X11PictureWay::kClientPlainImage);
  }
}
