// The two steering sources besides the keyboard: joystick and autopilot.
#include "game/game.h"
#include "game/input.h"
#include "game/world_state.h"

void ClearPilotCommands(WorldState& w) {
  if (w.Autopilot == 0) {
    w.PilotHorz = kDirNone;
    w.PilotVert = kDirNone;
    w.PilotFire = 0;
  }
}

void SteerByJoystick(WorldState& w) {
  ReadJoystick(1, w.JoyX, w.JoyY, w.JoyButtons);
  if (w.JoyButtons != w.JoyButtonsAtStart) w.Autopilot = 0;
  if (w.JoyX > 65536) w.JoystickOn = 0;
  if (w.JoyX < 65536 && w.Autopilot == 0) {
    if (w.JoyX < 22000) w.PilotHorz = kDirLeft;
    if (w.JoyX > 42000) w.PilotHorz = kDirRight;
    if (w.JoyY < 22000) w.PilotVert = kDirUp;
    if (w.JoyY > 42000) w.PilotVert = kDirDown;
    if (w.JoyButtons != 0) {
      w.PilotFire = 1;
      w.IdleFrames = 0;
    }
    if (w.PilotHorz != kDirNone || w.PilotVert != kDirNone) w.IdleFrames = 0;
  }
}

void RunAutopilot(WorldState& w) {
  w.SteerTimer = WrapAdd(w.SteerTimer, -1);
  w.FireTimer = WrapAdd(w.FireTimer, -1);
  if (w.SteerTimer < 0) {
    int32_t r = w.Random(20);
    if (r == 1) {
      w.PilotHorz = kDirLeft;
      w.SteerTimer = 10;
    } else if (r == 2) {
      w.PilotHorz = kDirRight;
      w.SteerTimer = 10;
    } else if ((r == 3 || r == 4) && w.ShipX < 200) {
      w.PilotHorz = kDirRight;
      w.SteerTimer = 10;
    } else if ((r == 5 || r == 6) && w.ShipX > 440) {
      w.PilotHorz = kDirLeft;
      w.SteerTimer = 10;
    } else if (r == 7 || r == 8 || r == 9) {
      w.PilotHorz = kDirNone;
      w.SteerTimer = 10;
    }
    if (w.ShipX == 0) w.PilotHorz = kDirRight;
    if (w.ShipX == 518) w.PilotHorz = kDirLeft;

    r = w.Random(20);
    if (r == 1) {
      w.PilotVert = kDirUp;
      w.SteerTimer = 10;
    } else if (r == 2) {
      w.PilotVert = kDirDown;
      w.SteerTimer = 10;
    } else if ((r == 3 || r == 4) && w.ShipY < 250) {
      w.PilotVert = kDirDown;
      w.SteerTimer = 10;
    } else if (r == 7 || r == 8 || r == 9) {
      w.PilotVert = kDirNone;
      w.SteerTimer = 10;
    }
    if (w.ShipY < 250) w.PilotVert = kDirDown;
  }
  const int32_t r = w.Random(3);
  if (r == 0 && w.FireTimer < 0) {
    w.FireTimer = 2;
    w.PilotFire = 1;
    w.FireLatch = 0;
  }
}
