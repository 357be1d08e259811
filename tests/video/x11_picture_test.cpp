// The X11 picture drawer and the presenter for another program's window:
// a plain X window handed over by id (under the X server of the test run).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "video/presenter.h"
// Xlib last: its macros clash with the test framework's names.
#include "video/x11_shots.h"
#include "video/picture_convert.h"

namespace {

// Changes a few pixels far apart and a run: only those parts are drawn again.
void ChangeSome(TestFrame& frame) {
  for (const int at : {0, 639, 200 * 640 + 300, 200 * 640 + 333, 479 * 640 + 639})
    frame.pixels[static_cast<size_t>(at)] ^= 0x5A;
  for (int x = 100; x < 140; ++x) frame.pixels[static_cast<size_t>(321 * 640 + x)] += 3;
}

// Scrolls the picture down a row under a pixel that moves across it, as the
// game's background scrolls: a new top row, step `n`.
void ScrollDown(TestFrame& frame, int n) {
  std::copy_backward(frame.pixels.begin(), frame.pixels.end() - 640, frame.pixels.end());
  for (int x = 0; x < 640; ++x) frame.pixels[static_cast<size_t>(x)] = static_cast<uint8_t>(x * 3 + n);
  frame.pixels[static_cast<size_t>(240 * 640 + 5 * n)] ^= 0xFF;
}

class ForeignWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* display = std::getenv("DISPLAY");
    ASSERT_TRUE(display && *display) << "needs an X server (run under xvfb-run)";
    dpy_ = XOpenDisplay(nullptr);
    ASSERT_NE(dpy_, nullptr);
    sw_ = DisplayWidth(dpy_, DefaultScreen(dpy_));
    sh_ = DisplayHeight(dpy_, DefaultScreen(dpy_));
  }
  void TearDown() override {
    if (win_) XDestroyWindow(dpy_, win_);
    if (dpy_) XCloseDisplay(dpy_);
  }
  // A plain white window as a daemon would make it, mapped, of w x h.
  void MakeWindow(int w, int h) {
    win_ = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, static_cast<unsigned>(w),
                               static_cast<unsigned>(h), 0, 0, WhitePixel(dpy_, DefaultScreen(dpy_)));
    XMapWindow(dpy_, win_);
    XSync(dpy_, False);
  }
  void ExpectShows(Presenter& p, int w, int h) {
    SCOPED_TRACE(testing::Message() << w << " x " << h);
    frame_.ShowOn(p);
    const std::vector<uint32_t> expected = ScaledWindow(frame_, w, h);
    EXPECT_EQ(Differences(GrabWhenShown(dpy_, win_, w, h, expected), expected), 0u);
  }
  // Scrolling down, past the rows the picture can move up into before it
  // starts again at the bottom.
  void ExpectScrolls(Presenter& p, int w, int h) {
    for (int n = 1; n <= 70; ++n) {
      ScrollDown(frame_, n);
      if (n == 1 || n == 64 || n == 70) {
        ExpectShows(p, w, h);
      } else {
        frame_.ShowOn(p);
      }
    }
  }
  // Shows frames for a while, so that the presenter sees the window's
  // events.
  void Settle(Presenter& p) {
    XSync(dpy_, False);
    for (int i = 0; i < 5; ++i) {
      frame_.ShowOn(p);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  Display* dpy_ = nullptr;
  Window win_ = 0;
  int sw_ = 0, sh_ = 0;
  TestFrame frame_;
};

}  // namespace

TEST_F(ForeignWindowTest, DrawsLetterboxedAndFollowsTheWindowsSize) {
  MakeWindow(sw_, sh_);
  std::unique_ptr<Presenter> p = MakeForeignWindowPresenter(win_);
  ASSERT_TRUE(p->Open("ignored"));
  ExpectShows(*p, sw_, sh_);
  ChangeSome(frame_);
  ExpectShows(*p, sw_, sh_);
  ExpectScrolls(*p, sw_, sh_);
  // No input of the owner's is taken.
  XWindowAttributes attrs{};
  XGetWindowAttributes(dpy_, win_, &attrs);
  EXPECT_EQ(attrs.all_event_masks & (KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                                     PointerMotionMask),
            0);
  XResizeWindow(dpy_, win_, 200, 150);  // a preview
  Settle(*p);
  ExpectShows(*p, 200, 150);
  XResizeWindow(dpy_, win_, 260, 150);  // black borders of 30 columns on the white window
  Settle(*p);
  ExpectShows(*p, 260, 150);
  XClearArea(dpy_, win_, 0, 0, 0, 0, True);  // exposed: white until the borders are painted again
  Settle(*p);
  ExpectShows(*p, 260, 150);
  XResizeWindow(dpy_, win_, 640, 480);  // not scaled
  Settle(*p);
  ExpectScrolls(*p, 640, 480);
  p->Close();
  // The window is left to its owner: still there, still mapped.
  XGetWindowAttributes(dpy_, win_, &attrs);
  EXPECT_EQ(attrs.map_state, IsViewable);
}

TEST_F(ForeignWindowTest, WindowDestroyedByItsOwnerStopsTheDrawing) {
  MakeWindow(320, 240);
  std::unique_ptr<Presenter> p = MakeForeignWindowPresenter(win_);
  ASSERT_TRUE(p->Open(""));
  frame_.ShowOn(*p);
  XDestroyWindow(dpy_, win_);
  XSync(dpy_, False);
  win_ = 0;
  for (int i = 0; i < 5; ++i) frame_.ShowOn(*p);  // must neither fail nor end the process
  p->Close();
  // A window that doesn't exist can't be opened.
  EXPECT_FALSE(MakeForeignWindowPresenter(0x7FFFFFF0ul)->Open(""));
}

TEST(X11RowCopyTest, CopiedRowsEqualTheScalerAndNoneIsCopiedFromUnderAnotherWindow) {
  // 2000 x 1500: each picture row shows on three or four window rows, which
  // the server copies down from the first. A window over the picture hides
  // rows that some copies read from; its lower edge lies between two window
  // rows that show the same picture row, so the row below the edge would be
  // a copy of a hidden one.
  OwnDisplay own("2000x1500x24");
  ASSERT_TRUE(own.Started());
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const int w = 2000, h = 1500;
  const Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, w, h, 0, 0, WhitePixel(dpy, 0));
  XMapWindow(dpy, win);
  auto pictureRow = [&](int y) { return (2 * y + 1) * 480 / (2 * h); };
  int edge = h / 3;
  while (pictureRow(edge) != pictureRow(edge - 1)) ++edge;
  const int coverX = 300, coverY = edge - 100, coverW = 400, coverH = 100;
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  attrs.background_pixel = 0x00FF00;
  const Window cover = XCreateWindow(dpy, DefaultRootWindow(dpy), coverX, coverY, coverW, coverH, 0,
                                     CopyFromParent, InputOutput, CopyFromParent,
                                     CWOverrideRedirect | CWBackPixel, &attrs);
  XSync(dpy, False);
  TestFrame frame;
  std::unique_ptr<Presenter> p = MakeForeignWindowPresenter(win);
  ASSERT_TRUE(p->Open(""));
  auto wrongPixels = [&](bool covered) {
    const std::vector<uint32_t> expected = ScaledWindow(frame, w, h);
    const std::vector<uint32_t> shot = Grab(dpy, win, w, h);
    if (shot.size() != expected.size()) return expected.size();
    size_t wrong = 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const bool hidden = covered && x >= coverX && x < coverX + coverW && y >= coverY && y < coverY + coverH;
        const size_t i = static_cast<size_t>(y) * w + static_cast<size_t>(x);
        wrong += !hidden && shot[i] != expected[i];
      }
    }
    return wrong;
  };
  frame.ShowOn(*p);
  XSync(dpy, False);
  EXPECT_EQ(wrongPixels(false), 0u);
  ChangeSome(frame);
  frame.ShowOn(*p);
  XSync(dpy, False);
  EXPECT_EQ(wrongPixels(false), 0u);
  // Covered: two different pictures; all of the window that can be seen
  // shows the second one.
  XMapRaised(dpy, cover);
  XSync(dpy, False);
  for (uint8_t& px : frame.pixels) px = static_cast<uint8_t>(px + 101);
  frame.ShowOn(*p);
  for (uint8_t& px : frame.pixels) px = static_cast<uint8_t>(px + 101);
  frame.ShowOn(*p);
  XSync(dpy, False);
  EXPECT_EQ(wrongPixels(true), 0u);
  p->Close();
  XCloseDisplay(dpy);
}
