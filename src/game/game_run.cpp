// The game run: set-up, the frames until an input handler asks to stop, the
// clean-up and the end of the program.
#include "shell/application.h"
#include "game/game.h"
#include "ui/picture_input_source.h"
#include "game/hiscore.h"
#include "ui/game_window.h"
#include "game/world_state.h"
#include "shell/display_loss.h"
#include "platform/platform.h"
#include "platform/signals.h"
#include "game/screen.h"
#include "video/draw.h"
#include "game/data_files.h"

namespace {

// Keeps the picture's input source registered while the run lasts, also
// when the run ends by ProgramEnd's unwinding.
class SourceRegistration {
 public:
  explicit SourceRegistration(MessageSource& s) : s_(s) { App().AddSource(&s_); }
  ~SourceRegistration() { App().RemoveSource(&s_); }
  SourceRegistration(const SourceRegistration&) = delete;
  SourceRegistration& operator=(const SourceRegistration&) = delete;

 private:
  MessageSource& s_;
};

}  // namespace

void PaceFrame(WorldState& w) {
  uint32_t tick = Sys().GetTickCount();
  for (;;) {
    const int32_t diff = static_cast<int32_t>(w.LastFrameTick - tick);
    const int64_t elapsed = diff < 0 ? -static_cast<int64_t>(diff) : static_cast<int64_t>(diff);
    // An ending signal cuts the wait short: the run ends after this frame.
    if (elapsed >= w.FrameDelay || EndSignalReceived()) break;
    // Block up to the deadline instead of polling, then process messages.
    App().WaitMessages(static_cast<uint32_t>(w.FrameDelay - elapsed));
    tick = Sys().GetTickCount();
  }
  w.LastFrameTick = tick;
  App().ProcessMessages();
}

void TForm1::Button1Click() {
  // The run's counters and phase start afresh.
  w.WarmUpFrames = 0;
  w.MouseWatch = 0;
  w.IdleFrames = 0;
  w.GamePhase = 0;
  w.NewRecord = 0;
  // The start-up window's controls go, the records are read, and the window
  // turns black and gives way to the picture's.
  HideStartupControls();
  // Inside a daemon's window the high-score file is left alone: no scored
  // game can be played there.
  if (!InDaemonWindow()) LoadHighScores(w);
  PrepareForGame();
  MaximizeTopmost();
  // The display; from now on the picture's events reach the handlers.
  OpenDisplay(w);
  GameInputSource input(*this);
  SourceRegistration registration(input);
  // Park and hide the cursor.
  const int32_t homeX = Sys().ScreenWidth();
  const int32_t homeY = Sys().ScreenHeight();
  Sys().SetCursorPos(homeX, homeY);
  w.CursorHomeX = homeX;
  w.CursorHomeY = homeY;
  Sys().ShowCursor(false);
  w.MouseWatch = 1;
  // Sheets, palette, clip.
  LoadSheet(w, 1, w.DataPath + "bmp1.bmp", 0, 0, 640, 480);
  LoadSheet(w, 2, w.DataPath + "bmp2.bmp", 0, 0, 640, 480);
  LoadSheet(w, 3, w.DataPath + "bmp3.bmp", 0, 0, 640, 480);
  LoadSheet(w, 4, w.DataPath + "bmp4.bmp", 0, 0, 640, 480);
  LoadPalette(w, w.DataPath + "pal256.pal");
  SetClipRect(w.Video, 0, 0, 639, 479);
  // The frame's length and the meteors' first places.
  w.FrameDelay = 25;
  PlaceMeteors(w);
  // What the start-up's message rounds requested is dropped here.
  w.LastFrameTick = 0;
  w.ShipX = 280;
  w.ShipY = 300;
  w.FireLatch = 0;
  QuitRequested = false;
  w.CursorNudgeCount = 0;
  w.FrameNo = 0;
  w.PilotHorz = 0;
  w.PilotVert = 0;
  w.PilotFire = 0;
  w.SteerTimer = 0;
  w.FireTimer = 0;
  w.ShipBank = 3;
  // The joystick's buttons as the run starts, and the palette once more.
  ReadJoystick(1, w.JoyX, w.JoyY, w.JoyButtonsAtStart);
  w.KeyFire = 0;
  LoadPalette(w, w.DataPath + "pal256.pal");

  // The X server going away ends the run where it stands, with the records
  // written; an ending signal ends it as a quitting key does.
  DisplayLossWatch displayLoss([this] { SaveHighScores(w); });
  EndSignalDeferral signalsEndTheGame;
  if (EndSignalReceived()) QuitRequested = true;
  // The joystick is read again only while it steers: once it is off (by the
  // settings, or because none answered), watching for joysticks would only
  // cost every frame's message processing a look at the devices.
  bool joystickHeld = true;
  while (!QuitRequested) {
    if (joystickHeld && w.JoystickOn == 0) {
      Sys().JoyRelease();
      joystickHeld = false;
    }
    if (!RunFrameSteps(w)) {
      // The back buffer could not be locked: give the desktop back and end.
      ReleaseDevices(w);
      HideGameWindow();
      ProgramEnd();
    }
    PaceFrame(w);
    if (EndSignalReceived()) QuitRequested = true;
    FlipScreen(w.Video);
  }

  Sys().ShowCursor(true);
  SetNotTopmost();
  ReleaseDevices(w);
  HideGameWindow();
  Sys().ShowCursor(true);
  // The joystick the run may have opened is given back too.
  Sys().JoyRelease();
  ProgramEnd();
}
