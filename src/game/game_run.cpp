#include "game/game_run.h"

#include "game/data_files.h"
#include "game/game.h"
#include "game/hiscore.h"
#include "game/host.h"
#include "game/input.h"
#include "game/screen.h"
#include "game/world_state.h"
#include "platform/platform.h"
#include "platform/signals.h"
#include "video/draw.h"

namespace {

// The start of the run: counters and phase afresh, the records read, the
// picture opened and the cursor parked out of the way.
void OpenPicture(WorldState& w, GameHost& host, bool keepScores) {
  w.WarmUpFrames = 0;
  w.MouseWatch = 0;
  w.IdleFrames = 0;
  w.GamePhase = 0;
  w.NewRecord = 0;
  if (keepScores) LoadHighScores(w);
  host.GiveWayToPicture();
  OpenDisplay(w, host);
  const int32_t homeX = Sys().ScreenWidth();
  const int32_t homeY = Sys().ScreenHeight();
  Sys().SetCursorPos(homeX, homeY);
  w.CursorHomeX = homeX;
  w.CursorHomeY = homeY;
  Sys().ShowCursor(false);
  w.MouseWatch = 1;
}

// Sheets, palette, clip, and the meteors' first places.
void LoadPictures(WorldState& w, GameHost& host) {
  LoadSheet(w, host, 1, w.DataPath + "bmp1.bmp", 0, 0, 640, 480);
  LoadSheet(w, host, 2, w.DataPath + "bmp2.bmp", 0, 0, 640, 480);
  LoadSheet(w, host, 3, w.DataPath + "bmp3.bmp", 0, 0, 640, 480);
  LoadSheet(w, host, 4, w.DataPath + "bmp4.bmp", 0, 0, 640, 480);
  LoadPalette(w, host, w.DataPath + "pal256.pal");
  SetClipRect(w.Video, 0, 0, 639, 479);
  w.FrameDelay = 25;
  PlaceMeteors(w);
}

// The run's own values; what the start-up's message rounds requested is
// dropped here. Then the joystick's buttons as the run starts, and the
// palette once more.
void ResetRun(WorldState& w, GameHost& host) {
  w.LastFrameTick = 0;
  w.ShipX = 280;
  w.ShipY = 300;
  w.FireLatch = 0;
  w.QuitRequested = false;
  w.CursorNudgeCount = 0;
  w.FrameNo = 0;
  w.PilotHorz = kDirNone;
  w.PilotVert = kDirNone;
  w.PilotFire = 0;
  w.SteerTimer = 0;
  w.FireTimer = 0;
  w.ShipBank = 3;
  ReadJoystick(1, w.JoyX, w.JoyY, w.JoyButtonsAtStart);
  w.KeyFire = 0;
  LoadPalette(w, host, w.DataPath + "pal256.pal");
}

// The frames until an input handler (or an ending signal, as a quitting key
// does) asks to stop.
void RunFrames(WorldState& w, GameHost& host) {
  EndSignalDeferral signalsEndTheGame;
  if (EndSignalReceived()) w.QuitRequested = true;
  // The joystick is read again only while it steers: once it is off (by the
  // settings, or because none answered), watching for joysticks would only
  // cost every frame's message processing a look at the devices.
  bool joystickHeld = true;
  while (!w.QuitRequested) {
    if (joystickHeld && w.JoystickOn == 0) {
      Sys().JoyRelease();
      joystickHeld = false;
    }
    if (!RunFrameSteps(w)) {
      // The back buffer could not be locked: give the desktop back and end.
      ReleaseDevices(w);
      host.HideGameWindow();
      host.EndProgram();
    }
    PaceFrame(w, host);
    if (EndSignalReceived()) w.QuitRequested = true;
    FlipScreen(w.Video);
  }
}

}  // namespace

void PaceFrame(WorldState& w, GameHost& host) {
  uint32_t tick = Sys().GetTickCount();
  for (;;) {
    const int32_t diff = static_cast<int32_t>(w.LastFrameTick - tick);
    const int64_t elapsed = diff < 0 ? -static_cast<int64_t>(diff) : static_cast<int64_t>(diff);
    // An ending signal cuts the wait short: the run ends after this frame.
    if (elapsed >= w.FrameDelay || EndSignalReceived()) break;
    // Block up to the deadline instead of polling, then process messages.
    host.WaitMessages(static_cast<uint32_t>(w.FrameDelay - elapsed));
    tick = Sys().GetTickCount();
  }
  w.LastFrameTick = tick;
  host.ProcessMessages();
}

void RestoreDesktop(WorldState& w) {
  Sys().ShowCursor(true);
  ReleaseDevices(w);
}

void RunGame(WorldState& w, GameHost& host, bool keepScores) {
  OpenPicture(w, host, keepScores);
  LoadPictures(w, host);
  ResetRun(w, host);
  RunFrames(w, host);
  Sys().ShowCursor(true);
  ReleaseDevices(w);
  host.HideGameWindow();
  Sys().ShowCursor(true);
  // The joystick the run may have opened is given back too.
  Sys().JoyRelease();
  host.EndProgram();
}
