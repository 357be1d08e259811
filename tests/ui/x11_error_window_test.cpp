// The error window and the fatal-error report, over a full-screen window as
// in the game.
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/x.H>
#include <SDL.h>
#include <SDL_syswm.h>

#include <functional>

#include "game/world_state.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/error_window.h"

using namespace uitest;

namespace {

// Index of a top-level window in the X stacking order (bottom first), -1 if
// it isn't there.
int StackIndex(Window w) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int n = 0;
  XSync(fl_display, False);
  if (!XQueryTree(fl_display, RootWindow(fl_display, fl_screen), &root, &parent, &children, &n)) return -1;
  int found = -1;
  for (unsigned int i = 0; i < n; ++i) {
    if (children[i] == w) found = static_cast<int>(i);
  }
  if (children != nullptr) XFree(children);
  return found;
}

bool HasAboveState(Window w) {
  Atom state = XInternAtom(fl_display, "_NET_WM_STATE", False);
  Atom above = XInternAtom(fl_display, "_NET_WM_STATE_ABOVE", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(fl_display, w, state, 0, 16, False, XA_ATOM, &type, &format, &count, &after,
                         &data) == Success &&
      data != nullptr) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) found = found || atoms[i] == above;
    XFree(data);
  }
  return found;
}

// Runs `step` from the message loop once the modal window is up.
struct Later {
  std::function<void()> step;
  static void Run(void* self) { static_cast<Later*>(self)->step(); }
};

class ErrorWindowTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    fl_open_display();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    game = SDL_CreateWindow("full screen", 0, 0, Fl::w(), Fl::h(),
                            SDL_WINDOW_FULLSCREEN | SDL_WINDOW_SHOWN);
    ASSERT_NE(game, nullptr) << SDL_GetError();
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(game, &info));
    gameXid = info.info.x11.window;
    SDL_PumpEvents();
    app.CreateForm(ErrorForm);
  }
  void TearDown() override {
    Fl::remove_timeout(Later::Run, &later);
    UiTest::TearDown();
    SDL_DestroyWindow(game);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  // Checks the window as it stands over the game.
  void CheckShown() {
    Settle(100);
    SDL_PumpEvents();
    Fl_Window* w = ErrorForm->Window();
    ASSERT_TRUE(w->shown());
    shownOk = true;
    const int mine = StackIndex(fl_xid(w));
    const int theirs = StackIndex(gameXid);
    EXPECT_GE(theirs, 0);
    EXPECT_GT(mine, theirs) << "the error window is below the full-screen window";
    EXPECT_TRUE(HasAboveState(fl_xid(w)));
    EXPECT_EQ(ErrorForm->Message(), "PAL256.PALがありません。");
    EXPECT_EQ(static_cast<Label*>(ErrorForm->MessageWidget())->Caption(), "PAL256.PALがありません。");
    EXPECT_GE(platform.beeps, 1);
    EXPECT_TRUE(ErrorForm->TimerEnabled());
    EXPECT_EQ(w->x(), (Fl::w() - 345) / 2);
    EXPECT_EQ(w->y(), (Fl::h() - 115) / 2);
  }

  SDL_Window* game = nullptr;
  Window gameXid = 0;
  Later later;
  bool shownOk = false;
};

TEST_F(ErrorWindowTest, CloseButtonEndsAtOnceWithoutTheMessageBox) {
  later.step = [this] {
    CheckShown();
    ErrorForm->CloseButtonWidget()->do_callback();  // "閉じる"
  };
  Fl::add_timeout(0.2, Later::Run, &later);
  EXPECT_THROW(ReportFatalError("  PAL256.PALがありません。\r\n"), ProgramEndSignal);
  EXPECT_TRUE(shownOk);
  EXPECT_EQ(World().ErrorText, "  PAL256.PALがありません。\r\n");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(ErrorWindowTest, CloseBoxGoesOnToTheMessageBoxAndTheEnd) {
  later.step = [this] {
    CheckShown();
    ErrorForm->Window()->do_callback();  // the close box
  };
  Fl::add_timeout(0.2, Later::Run, &later);
  EXPECT_THROW(ReportFatalError("PAL256.PALがありません。"), ProgramEndSignal);
  EXPECT_TRUE(shownOk);
  EXPECT_FALSE(ErrorForm->Window()->shown());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "PAL256.PALがありません。");
  EXPECT_EQ(boxes[0].kind, 0);
}

TEST_F(ErrorWindowTest, EachActivationBeepsAndTheTimerKeepsThePointerWhereItIs) {
  World().ErrorText = "設定ファイルがありません";
  ErrorForm->Show();
  Settle();
  EXPECT_GE(platform.beeps, 1);
  EXPECT_EQ(ErrorForm->Message(), "設定ファイルがありません");
  const int before = platform.beeps;
  ErrorForm->NotifyFocus(false);
  ErrorForm->NotifyFocus(true);
  EXPECT_EQ(platform.beeps, before + 1);
  platform.cursorX = 321;
  platform.cursorY = 123;
  ErrorForm->KeepScreenAwake();
  EXPECT_EQ(platform.cursorSets, 1);
  EXPECT_EQ(platform.cursorX, 321);
  EXPECT_EQ(platform.cursorY, 123);
  // Light yellow, and the text in red.
  EXPECT_EQ(ErrorForm->Window()->color(), fl_rgb_color(255, 255, 128));
  EXPECT_EQ(ErrorForm->MessageWidget()->labelcolor(), kClRed);
}

TEST(ErrorReportHeadless, MessageBoxAndEndWithoutWindows) {
  Application headless;
  headless.Windowed = false;
  std::vector<std::string> texts;
  headless.MessageBoxHook = [&texts](const std::string&, const std::string& text, int) {
    texts.push_back(text);
  };
  SetApp(&headless);
  FakePlatform platform;
  SetPlatform(&platform);
  headless.CreateForm(ErrorForm);
  EXPECT_EQ(ErrorForm->Window(), nullptr);
  EXPECT_THROW(ReportFatalError("設定ファイルがありません"), ProgramEndSignal);
  EXPECT_EQ(ErrorForm->Message(), "設定ファイルがありません");
  EXPECT_EQ(platform.beeps, 1);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "設定ファイルがありません");
  headless.DestroyForms();
  EXPECT_EQ(ErrorForm, nullptr);
  // Without an error window the report is the message box and the end.
  EXPECT_THROW(ReportFatalError("x"), ProgramEndSignal);
  EXPECT_EQ(texts.size(), 2u);
  SetApp(nullptr);
  SetPlatform(nullptr);
}

}  // namespace
