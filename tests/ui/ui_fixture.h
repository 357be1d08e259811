// Shared set-up of the dialog window tests: a fresh application object per
// test whose message boxes are recorded instead of shown, a fake platform
// that counts beeps and cursor moves, and a private system folder.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/application.h"
#include "shell/fonts.h"
#include "platform/platform.h"
#include "support/file_bytes.h"
#include "support/process.h"

namespace uitest {

struct RecordedBox {
  std::string caption;
  std::string text;
  int kind;
};

class FakePlatform : public Platform {
 public:
  uint32_t GetTickCount() override { return ticks; }
  void WaitForEvents(uint32_t ms) override { ticks += ms; }
  void MessageBeep() override { ++beeps; }
  void SetCursorPos(int32_t x, int32_t y) override {
    ++cursorSets;
    cursorX = x;
    cursorY = y;
  }
  bool GetCursorPos(int32_t& x, int32_t& y) override {
    x = cursorX;
    y = cursorY;
    return true;
  }
  int32_t ShowCursor(bool) override { return 0; }
  void JoySetThreshold(uint32_t, uint32_t) override {}
  uint32_t JoyGetPos(uint32_t, dx::JOYINFO&) override { return 1; }
  void JoyRelease() override {}
  int32_t ScreenWidth() override { return 1024; }
  int32_t ScreenHeight() override { return 768; }

  uint32_t ticks = 0;
  int beeps = 0;
  int cursorSets = 0;
  int32_t cursorX = 100;
  int32_t cursorY = 200;
};

// IPA P Gothic for this process, as the program has it.
bool LoadDialogFont();

// Lets FLTK handle what is pending for about `ms` milliseconds.
inline void Settle(int ms = 50) {
  for (int i = 0; i < ms / 10; ++i) Fl::wait(0.01);
}

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool fontsReady = false;
    if (!fontsReady) {
      InitFonts();
      fontsReady = true;
    }
    SetApp(&app);
    app.Title = "Zuk_rer1";
    app.MessageBoxHook = [this](const std::string& caption, const std::string& text, int kind) {
      boxes.push_back({caption, text, kind});
    };
    SetPlatform(&platform);
    dir = std::filesystem::temp_directory_path() /
          ("zuk-ui-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    windir = dir / "windir";
    std::filesystem::create_directories(windir);
    testsupport::SetEnvironment("ZUK_RER1_WINDIR", windir.string().c_str());
    cwd = std::filesystem::current_path();
  }

  void TearDown() override {
    app.DestroyForms();
    SetApp(nullptr);
    SetPlatform(nullptr);
    std::filesystem::current_path(cwd);
    testsupport::SetEnvironment("ZUK_RER1_WINDIR", nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  std::filesystem::path SettingsFile() const { return windir / "ZUK_RER1.CNF"; }

  Application app;
  FakePlatform platform;
  std::vector<RecordedBox> boxes;
  std::filesystem::path dir;
  std::filesystem::path windir;
  std::filesystem::path cwd;
};

// A key press delivered the way FLTK delivers one from the X server: to the
// focus widget of the window, then up through its parents.
inline int PressKey(Fl_Window* w, int key) {
  Fl::e_keysym = key;
  Fl::e_state = 0;
  Fl::e_text = const_cast<char*>("");
  Fl::e_length = 0;
  return Fl::handle(FL_KEYBOARD, w);
}

}  // namespace uitest
