#include "app/daemon_mode.h"
#include "app/daemon_system.h"

#include <cstdio>
#include <vector>

#include "shell/application.h"
#include "base/diagnostic.h"
#include "base/picture.h"
#include "platform/platform.h"
#include "platform/process.h"
#include "platform/signals.h"
#include "game/world_state.h"
#include "platform/system_folder.h"
#include "video/joystick_sdl.h"
#include "video/presenter.h"
#include "base/catalogue.h"

using namespace dx;

namespace {

// The real platform without the cursor: the daemon owns it, so it is never
// hidden, parked or moved, and never read. The picture's size stands for the
// screen's.
class HandsOffPlatform : public Platform {
 public:
  uint32_t GetTickCount() override { return real_.GetTickCount(); }
  void WaitForEvents(uint32_t timeoutMs) override { real_.WaitForEvents(timeoutMs); }
  void MessageBeep() override {}
  void SetCursorPos(int32_t, int32_t) override {}
  bool GetCursorPos(int32_t&, int32_t&) override { return false; }
  int32_t ShowCursor(bool show) override { return counter_ += show ? 1 : -1; }
  void JoySetThreshold(uint32_t joystick, uint32_t threshold) override { SdlJoySetThreshold(joystick, threshold); }
  uint32_t JoyGetPos(uint32_t joystick, JOYINFO& info) override { return SdlJoyGetPos(joystick, info); }
  void JoyRelease() override { SdlJoyShutdown(); }
  int32_t ScreenWidth() override { return kPictureWidth; }
  int32_t ScreenHeight() override { return kPictureHeight; }

 private:
  Platform& real_ = LinuxPlatform();
  int32_t counter_ = 0;
};

// Without FLTK's loops, the ends of a run are seen here, in every round of
// the message loop and of the message processing: an ending signal (the
// game's frame loop ends the game itself), and the daemon's window gone
// (its owner died, a preview was closed), which ends the game as a quitting
// key does.
class EndWatch : public MessageSource {
 public:
  void Pump() override {
    if (ProgramEnding()) return;
    PumpDaemonWindowMessages();
    if (DaemonWindowLost()) World().QuitRequested = true;
    if (EndSignalReceived() && !EndSignalDeferred()) ProgramEnd();
  }
};

// Without data files: the window stays black until the run is ended.
[[noreturn]] void ShowBlackUntilTheEnd(const std::vector<std::string>& looked) {
  std::string where;
  for (const std::string& f : looked) where += (where.empty() ? "" : ", ") + f;
  const std::string settings = JoinPath(SystemFolder(), "ZUK_RER1.CNF");
  const std::string text =
      where.empty() ? Fill(Tr("データファイル (bmp1.bmp) が見つかりません (設定ファイル %s)。画面は黒のままです。"), {settings})
                    : Fill(Tr("データファイル (bmp1.bmp) が見つかりません (設定ファイル %s、探した場所 %s)。画面は黒のままです。"),
                           {settings, where});
  std::fprintf(stderr, "%s: %s\n", App().Title.c_str(), text.c_str());
  std::fflush(stderr);
  std::unique_ptr<Presenter> presenter = MakePresenter();
  if (presenter == nullptr || !presenter->Open(App().Title)) ProgramEnd();
  static const uint8_t kBlack[kPictureWidth * kPictureHeight] = {};
  uint32_t palette[256];
  for (uint32_t& c : palette) c = 0xFF000000u;
  // Drawn again now and then: the presenter repaints after a resize or an
  // exposure only when it draws.
  while (!DaemonWindowLost()) {
    presenter->Present(kBlack, kPictureWidth, palette);
    App().WaitMessages(100);
  }
  ProgramEnd();
}

}  // namespace

DaemonRun PrepareDaemonRun(const DaemonWindow& window) {
  DrawIntoDaemonWindow(window);
  static HandsOffPlatform platform;
  SetPlatform(&platform);
  // No FLTK at all: no window, not even FLTK's hidden helper window, and
  // messages go to stderr instead of boxes.
  App().Windowed = false;
  static EndWatch endWatch;
  App().AddSource(&endWatch);

  DaemonRun run;
  const std::vector<std::string> folders = InstalledDataFolders(ProgramFilePath());
  run.installedDataFolder = FolderWithDataFiles(folders);
  run.sound = window.sound;
  run.noData = [folders] { ShowBlackUntilTheEnd(folders); };
  return run;
}
