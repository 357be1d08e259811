// The SDL presenter: headless flips through SDL's offscreen and dummy video
// drivers, and one real full-screen X11 window under the X server of the
// test run, checked by a screenshot of the root window.
#include "video/picture_mapping.h"
#include "game/video_fixture.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#if defined(__SANITIZE_ADDRESS__)
#define ZUK_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUK_TEST_ASAN 1
#endif
#endif
#if defined(ZUK_TEST_ASAN)
#include <sanitizer/lsan_interface.h>
// The system's video and GL libraries that SDL loads keep a few blocks for
// good and are unloaded again, so they can't be named in suppressions:
// blocks allocated while SDL starts and stops are not counted as leaks.
struct SystemLibraryAllocations {
  SystemLibraryAllocations() { __lsan_disable(); }
  ~SystemLibraryAllocations() { __lsan_enable(); }
};
#else
struct SystemLibraryAllocations {
  SystemLibraryAllocations() {}
};
#endif

// Xlib last: its macros clash with the test framework's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// Palette file: entry 0 black, 1 red, 2 green, 3 blue, 4 white, 5 grey.
void WriteTestPalette(const std::filesystem::path& p) {
  std::vector<uint8_t> b(768, 0);
  auto set = [&](int i, uint8_t r, uint8_t g, uint8_t bl) {
    b[3 * i] = r;
    b[3 * i + 1] = bl;
    b[3 * i + 2] = g;
  };
  set(1, 255, 0, 0);
  set(2, 0, 255, 0);
  set(3, 0, 0, 255);
  set(4, 255, 255, 255);
  set(5, 128, 128, 128);
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), 768);
}

// Four quadrants red, green, blue, white; a grey frame one pixel wide.
void DrawQuadrants(DisplayDevice& d) {
  FillRect(d, 0, 0, 319, 239, 1);
  FillRect(d, 320, 0, 639, 239, 2);
  FillRect(d, 0, 240, 319, 479, 3);
  FillRect(d, 320, 240, 639, 479, 4);
  FillRect(d, 0, 0, 639, 0, 5);
  FillRect(d, 0, 479, 639, 479, 5);
  FillRect(d, 0, 0, 0, 479, 5);
  FillRect(d, 639, 0, 639, 479, 5);
}

// Lets SDL handle the window system's answers for a while.
void Settle(DisplayDevice& d, int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    SDL_PumpEvents();
    DrawQuadrants(d);
    FlipScreen(d);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

class SdlPresenterTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    WriteTestPalette(dir_ / "pal256.pal");
    SetPresenterFactory(MakeSdlPresenter);
  }
};

}  // namespace

TEST_F(SdlPresenterTest, HeadlessFlipThroughOffscreenAndDummyDrivers) {
  for (const char* driver : {"offscreen", "dummy"}) {
    SCOPED_TRACE(driver);
    [[maybe_unused]] SystemLibraryAllocations ignored;
    setenv("SDL_VIDEODRIVER", driver, 1);
    ASSERT_TRUE(ProbeDisplay()) << SDL_GetError();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);  // the probe gives the subsystem back

    OpenFull();
    ASSERT_NE(d().DDraw, nullptr);
    EXPECT_TRUE(PictureActive());
    ASSERT_NE(PictureWindowId(), 0u);
    SDL_Window* win = SDL_GetWindowFromID(PictureWindowId());
    ASSERT_NE(win, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(win), "Zuk_rer1");
    const uint32_t flags = SDL_GetWindowFlags(win);
    EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
    EXPECT_TRUE(flags & SDL_WINDOW_ALWAYS_ON_TOP);
    SDL_Renderer* ren = SDL_GetRenderer(win);
    ASSERT_NE(ren, nullptr);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(ren, &info);
    // SDL's software renderer always reports the flag but never waits.
    if (std::string(info.name) != "software") {
      EXPECT_FALSE(info.flags & SDL_RENDERER_PRESENTVSYNC);
    }

    DrawQuadrants(d());
    FlipScreen(d());
    int ow = 0, oh = 0;
    SDL_GetRendererOutputSize(ren, &ow, &oh);
    ASSERT_GT(ow, 0);
    const PictureRect r = LetterboxRect(ow, oh);
    if (std::string(driver) == "offscreen") {
      // The software renderer keeps what it presented: read it back.
      std::vector<uint32_t> shot(static_cast<size_t>(ow) * static_cast<size_t>(oh));
      ASSERT_EQ(SDL_RenderReadPixels(ren, nullptr, SDL_PIXELFORMAT_ARGB8888, shot.data(), ow * 4), 0)
          << SDL_GetError();
      auto at = [&](int px, int py) {
        const int x = r.x + px * r.w / 640, y = r.y + py * r.h / 480;
        return shot[static_cast<size_t>(y) * static_cast<size_t>(ow) + static_cast<size_t>(x)] &
               0xFFFFFFu;
      };
      EXPECT_EQ(at(100, 100), 0xFF0000u);
      EXPECT_EQ(at(500, 100), 0x00FF00u);
      EXPECT_EQ(at(100, 400), 0x0000FFu);
      EXPECT_EQ(at(500, 400), 0xFFFFFFu);
      EXPECT_EQ(at(0, 0), 0x808080u);
      EXPECT_EQ(at(639, 479), 0x808080u);
    }
    ReleaseDevices(w());
    EXPECT_FALSE(PictureActive());
    EXPECT_EQ(PictureWindowId(), 0u);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  }
  unsetenv("SDL_VIDEODRIVER");
}

TEST(LetterboxTest, LargestCentredFourByThreeRectangle) {
  const PictureRect a = LetterboxRect(1024, 768);
  EXPECT_EQ(a.x, 0);
  EXPECT_EQ(a.y, 0);
  EXPECT_EQ(a.w, 1024);
  EXPECT_EQ(a.h, 768);
  const PictureRect b = LetterboxRect(1920, 1080);  // borders left and right
  EXPECT_EQ(b.w, 1440);
  EXPECT_EQ(b.h, 1080);
  EXPECT_EQ(b.x, 240);
  EXPECT_EQ(b.y, 0);
  const PictureRect c = LetterboxRect(1280, 1024);  // borders above and below
  EXPECT_EQ(c.w, 1280);
  EXPECT_EQ(c.h, 960);
  EXPECT_EQ(c.x, 0);
  EXPECT_EQ(c.y, 32);
}

namespace {

// The first window on the X server with this name, 0 if none.
Window FindWindowNamed(Display* dpy, Window w, const std::string& title) {
  char* name = nullptr;
  if (XFetchName(dpy, w, &name) && name) {
    const bool match = title == name;
    XFree(name);
    if (match) return w;
  }
  Window root = 0, parent = 0, found = 0;
  Window* kids = nullptr;
  unsigned n = 0;
  if (XQueryTree(dpy, w, &root, &parent, &kids, &n)) {
    for (unsigned i = 0; i < n && !found; ++i) found = FindWindowNamed(dpy, kids[i], title);
    if (kids) XFree(kids);
  }
  return found;
}

bool HasWindowNamed(Display* dpy, const std::string& title) {
  return FindWindowNamed(dpy, DefaultRootWindow(dpy), title) != 0;
}

// The window's _NET_WM_STATE atoms, by name.
std::vector<std::string> WmState(Display* dpy, Window w) {
  std::vector<std::string> out;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom prop = XInternAtom(dpy, "_NET_WM_STATE", False);
  if (XGetWindowProperty(dpy, w, prop, 0, 64, False, XA_ATOM, &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
      char* n = XGetAtomName(dpy, atoms[i]);
      if (n) {
        out.emplace_back(n);
        XFree(n);
      }
    }
    XFree(data);
  }
  return out;
}

}  // namespace

TEST_F(SdlPresenterTest, RealX11WindowFillsTheScreenAndGoesAway) {
  const char* display = std::getenv("DISPLAY");
  ASSERT_TRUE(display && *display) << "needs an X server (run under xvfb-run)";
  setenv("SDL_VIDEODRIVER", "x11", 1);
  [[maybe_unused]] SystemLibraryAllocations ignored;
  SetPictureTitle("Zuk_rer1 picture");
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const int sw = DisplayWidth(dpy, DefaultScreen(dpy));
  const int sh = DisplayHeight(dpy, DefaultScreen(dpy));
  EXPECT_FALSE(HasWindowNamed(dpy, PictureTitle()));

  OpenFull();
  ASSERT_NE(d().DDraw, nullptr);
  Settle(d(), 700);
  XSync(dpy, False);
  EXPECT_TRUE(HasWindowNamed(dpy, PictureTitle()));

  // The window asks for full screen and to stay on top.
  {
    const Window xw = FindWindowNamed(dpy, DefaultRootWindow(dpy), PictureTitle());
    const std::vector<std::string> state = WmState(dpy, xw);
    auto has = [&](const char* a) { return std::find(state.begin(), state.end(), a) != state.end(); };
    EXPECT_TRUE(has("_NET_WM_STATE_ABOVE"));
    SDL_Window* win = SDL_GetWindowFromID(PictureWindowId());
    ASSERT_NE(win, nullptr);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(win, &ww, &wh);
    // Full screen on the desktop's mode (a window manager is told so; without
    // one the window has the screen's size all the same).
    EXPECT_EQ(SDL_GetWindowFlags(win) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
    EXPECT_EQ(ww, sw);
    EXPECT_EQ(wh, sh);
  }

  // The screenshot: the picture scaled onto the whole screen with its 4:3
  // kept, nearest-neighbour pixels.
  XImage* img = XGetImage(dpy, DefaultRootWindow(dpy), 0, 0, static_cast<unsigned>(sw),
                          static_cast<unsigned>(sh), AllPlanes, ZPixmap);
  ASSERT_NE(img, nullptr);
  const PictureRect r = LetterboxRect(sw, sh);
  auto shot = [&](int x, int y) { return static_cast<uint32_t>(XGetPixel(img, x, y)) & 0xFFFFFFu; };
  auto picture = [&](int px, int py) {
    // The centre of the picture pixel on the screen.
    return shot(r.x + (2 * px + 1) * r.w / 1280, r.y + (2 * py + 1) * r.h / 960);
  };
  EXPECT_EQ(picture(100, 100), 0xFF0000u);
  EXPECT_EQ(picture(319, 239), 0xFF0000u);
  EXPECT_EQ(picture(320, 100), 0x00FF00u);
  EXPECT_EQ(picture(100, 240), 0x0000FFu);
  EXPECT_EQ(picture(500, 400), 0xFFFFFFu);
  EXPECT_EQ(picture(0, 0), 0x808080u);
  EXPECT_EQ(picture(639, 479), 0x808080u);
  EXPECT_EQ(picture(1, 1), 0xFF0000u);
  if (sw == 1024 && sh == 768) {
    // Exactly 1.6 times: screen (0, 0) and (1023, 767) are the grey frame,
    // (2, 2) already red; the quadrants meet at (512, 384).
    EXPECT_EQ(shot(0, 0), 0x808080u);
    EXPECT_EQ(shot(1023, 767), 0x808080u);
    EXPECT_EQ(shot(2, 2), 0xFF0000u);
    EXPECT_EQ(shot(511, 383), 0xFF0000u);
    EXPECT_EQ(shot(512, 383), 0x00FF00u);
    EXPECT_EQ(shot(511, 384), 0x0000FFu);
    EXPECT_EQ(shot(512, 384), 0xFFFFFFu);
  }
  XDestroyImage(img);

  // Picture and desktop coordinates: the cursor parked at picture (640, 480)
  // sits at the bottom-right corner of the picture.
  int32_t x = 0, y = 0;
  PictureToDesktop(640, 480, x, y);
  EXPECT_EQ(x, r.x + r.w);
  EXPECT_EQ(y, r.y + r.h);
  DesktopToPicture(r.x + r.w - 1, r.y + r.h - 1, x, y);
  EXPECT_EQ(x, 639);
  EXPECT_EQ(y, 479);
  DesktopToPicture(r.x + r.w / 2, r.y + r.h / 2, x, y);
  EXPECT_EQ(x, 320);
  EXPECT_EQ(y, 240);
  WindowToPicture(r.x, r.y, x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  ReleaseDevices(w());
  EXPECT_FALSE(PictureActive());
  XSync(dpy, False);
  bool gone = false;
  for (int i = 0; i < 50 && !gone; ++i) {
    gone = !HasWindowNamed(dpy, PictureTitle());
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(gone);
  EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
  XCloseDisplay(dpy);
  unsetenv("SDL_VIDEODRIVER");
}

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>

#include "video/x11_picture.h"
#include "video/x11_shots.h"

TEST(X11PictureTest, ServerScaledPictureEqualsTheScalersPixelForPixel) {
  // 1280 x 800 scales by a fraction: a picture of 1066 x 800, black bars of
  // 107 columns left and right.
  OwnDisplay own("1280x800x24");
  ASSERT_TRUE(own.Started());
  setenv("SDL_VIDEODRIVER", "x11", 1);
  Display* dpy = XOpenDisplay(nullptr);
  ASSERT_NE(dpy, nullptr);
  const Window root = DefaultRootWindow(dpy);
  const TestFrame frame;
  const std::vector<uint32_t> expected = ScaledWindow(frame, 1280, 800);
  ASSERT_EQ(expected[799 * 1280 + 106], 0u);
  ASSERT_NE(expected[107], 0u);
  [[maybe_unused]] SystemLibraryAllocations ignored;
  std::unique_ptr<Presenter> p = MakeSdlPresenter();
  ASSERT_TRUE(p->Open("picture"));
  frame.ShowOn(*p);
  const std::vector<uint32_t> served = GrabWhenShown(dpy, root, 1280, 800, expected);
  EXPECT_EQ(Differences(served, expected), 0u);
  // A window over the picture and gone again: the server clears what it
  // uncovers, and the same picture is drawn there again.
  XSetWindowAttributes coverAttrs{};
  coverAttrs.override_redirect = True;
  const Window cover = XCreateWindow(dpy, root, 200, 100, 300, 200, 0, CopyFromParent, InputOutput,
                                     CopyFromParent, CWOverrideRedirect, &coverAttrs);
  XMapRaised(dpy, cover);
  XSync(dpy, False);
  XDestroyWindow(dpy, cover);
  XSync(dpy, False);
  for (int i = 0; i < 5; ++i) {
    SDL_PumpEvents();
    frame.ShowOn(*p);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_EQ(Differences(GrabWhenShown(dpy, root, 1280, 800, expected), expected), 0u);
  // The server offers what the presenter needs for its own scaling.
  const X11Capabilities caps = QueryX11Capabilities(dpy);
  EXPECT_EQ(ChooseX11PictureWay(caps), X11PictureWay::kRenderSharedPixmap);

  // Every other way (less of MIT-SHM, no XRender: scaled here) draws the
  // same pixels into the same window (SDL's choice of visual included).
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  ASSERT_TRUE(SDL_GetWindowWMInfo(SDL_GetWindowFromID(PictureWindowId()), &info));
  const Window w = info.info.x11.window;
  const X11Capabilities lesserWays[] = {{true, true, false}, {true, false, false}, {false, true, false},
                                        {false, false, false}};
  for (const X11Capabilities& lesser : lesserWays) {
    SCOPED_TRACE(static_cast<int>(ChooseX11PictureWay(lesser)));
    XSetWindowBackground(dpy, w, WhitePixel(dpy, 0));  // white until drawn
    XClearWindow(dpy, w);
    X11PictureDrawer drawer;
    ASSERT_TRUE(drawer.Start(dpy, w, 1280, 800, true, lesser));
    EXPECT_EQ(drawer.Way(), ChooseX11PictureWay(lesser));
    drawer.Draw(frame.pixels.data(), 640, frame.argb.data());
    EXPECT_EQ(Differences(GrabWhenShown(dpy, root, 1280, 800, served), served), 0u);
  }
  p->Close();
  XCloseDisplay(dpy);
  unsetenv("SDL_VIDEODRIVER");
}

#include "platform/platform.h"

namespace {
int g_joystickUpdates = 0;
}  // namespace

TEST(PictureWaitTest, WaitingForInputPumpsNoEventsWhileAJoystickIsOpen) {
  // SDL's own wait pumps its events every millisecond while a joystick is
  // open; the game's wait between frames must sleep. Every pump updates
  // the (virtual) joystick once.
  OwnDisplay own("640x480x24");
  ASSERT_TRUE(own.Started());
  setenv("SDL_VIDEODRIVER", "x11", 1);
  [[maybe_unused]] SystemLibraryAllocations ignored;
  std::unique_ptr<Presenter> p = MakeSdlPresenter();
  ASSERT_TRUE(p->Open("picture"));
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0);
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = 2;
  desc.nbuttons = 4;
  desc.Update = [](void*) { ++g_joystickUpdates; };
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  ASSERT_GE(index, 0);
  SDL_Joystick* stick = SDL_JoystickOpen(index);
  ASSERT_NE(stick, nullptr);
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) {
  }
  g_joystickUpdates = 0;
  LinuxPlatform().WaitForEvents(200);
  EXPECT_LE(g_joystickUpdates, 2);
  SDL_JoystickClose(stick);
  SDL_JoystickDetachVirtual(index);
  SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  p->Close();
  unsetenv("SDL_VIDEODRIVER");
}
