// The frame's bookkeeping steps and the whole of a frame's update and
// drawing, in the order the frame runs them.
#include "game/game.h"
#include "game/world_state.h"
#include "platform/platform.h"

void CountFrame(WorldState& w) {
  w.FrameNo = WrapAdd(w.FrameNo, 1);
  if (w.WarmUpFrames < 100) w.WarmUpFrames += 1;
}

void RunGameClock(WorldState& w) {
  if (w.GamePhase <= 0) return;
  const bool tick = w.GameTimeLong == 0 || w.FrameNo % 4 == 0;
  if (tick) w.TimeLeft -= 1;
  if (w.TimeLeft < 0) w.TimeLeft = 0;
  if (w.GamePhase == 1) {
    w.TimeLeft = 1010;
    w.NewRecord = 0;
  }
  if (tick) w.GamePhase += 1;
  w.Autopilot = 0;
  w.IdleFrames = 0;
}

void WatchIdle(WorldState& w) {
  if (w.AutoResume != 1) return;
  w.IdleFrames = WrapAdd(w.IdleFrames, 1);
  if (w.IdleFrames > 315) w.Autopilot = 1;
}

void NudgeCursor(WorldState& w) {
  w.CursorNudgeCount += 1;
  if (w.CursorNudgeCount > 100) {
    w.CursorNudgeCount = 0;
    // A failed read would move the pointer to a stale place (and end the
    // screen saver through the mouse watch): set it only after a good read.
    // Setting the pointer where it already is changes nothing on the
    // original platform, but on X11 a warp counts as user activity and would
    // keep the display from sleeping: it is set only when it is not there.
    if (Sys().GetCursorPos(w.CursorPos.x, w.CursorPos.y)) {
      int32_t x = 0;
      int32_t y = 0;
      if (Sys().GetCursorPos(x, y) && (x != w.CursorPos.x || y != w.CursorPos.y)) {
        Sys().SetCursorPos(w.CursorPos.x, w.CursorPos.y);
      }
    }
  }
}

void EndGameIfOver(WorldState& w) {
  if (w.GamePhase > 1300) w.GamePhase = 0;
  if (w.GamePhase > 1100 && w.GameTimeLong == 1) w.GamePhase = 0;
}

bool RunFrameSteps(WorldState& w) {
  CountFrame(w);
  RunGameClock(w);
  WatchIdle(w);
  NudgeCursor(w);
  DrawBackground(w);
  if (!DrawStarField(w)) return false;
  UpdateParticles(w);
  ClearPilotCommands(w);
  if (w.JoystickOn == 1) SteerByJoystick(w);
  if (w.Autopilot == 1) RunAutopilot(w);
  MoveShip(w);
  FireVolley(w);
  UpdateShots(w);
  UpdateMeteors(w);
  CheckCollisions(w);
  DrawShip(w);
  if (w.GamePhase > 0) {
    DrawScore(w);
    EndGameIfOver(w);
  }
  return true;
}
