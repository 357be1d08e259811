// Autopilot, joystick steering, the input handlers, the game clock and the
// score display's record keeping.
#include <gtest/gtest.h>

#include <SDL.h>

#include "game/game_fixture.h"
#include "game/game.h"
#include "sim/sim.h"
#include "game/input.h"
#include "game/world_state.h"
#include "platform/keycodes.h"

using namespace dx;

using gametest::DrawsBetween;
using gametest::FindState;
using gametest::FreshWorld;
using gametest::RefRandom;

namespace {

// Autopilot frame from a state whose draws are (h, v, fire).
void PilotWith(WorldState& w, int32_t h, int32_t v, int32_t fire) {
  w.RandSeed = FindState([&](RefRandom& r) {
    return r.Next(20) == h && r.Next(20) == v && r.Next(3) == fire;
  });
  RunAutopilot(w);
}

TEST(Autopilot, HorizontalDecisions) {
  struct Case { int32_t r, shipX, before, after, timer; };
  const Case cases[] = {
      {1, 300, 0, 4, 10}, {2, 300, 0, 6, 10},
      {3, 199, 0, 6, 10}, {4, 200, 4, 4, -1},   // not left of 200: no decision
      {5, 441, 0, 4, 10}, {6, 440, 6, 6, -1},
      {7, 300, 6, 0, 10}, {9, 300, 4, 0, 10},
      {0, 300, 4, 4, -1}, {19, 300, 6, 6, -1},
      {1, 0, 0, 6, 10},   {2, 518, 0, 4, 10},   // the ends always turn back
      {0, 0, 4, 6, -1},   {0, 518, 6, 4, -1},
  };
  for (const Case& c : cases) {
    auto w = FreshWorld();
    w->ShipX = c.shipX; w->ShipY = 300; w->PilotHorz = c.before;
    w->SteerTimer = 0; w->FireTimer = 5;
    PilotWith(*w, c.r, 0, 1);  // vertical draw 0: no vertical decision
    EXPECT_EQ(w->PilotHorz, c.after) << c.r << " " << c.shipX;
    EXPECT_EQ(w->SteerTimer, c.timer) << c.r << " " << c.shipX;
  }
}

TEST(Autopilot, VerticalDecisionsKeepTheShipLow) {
  struct Case { int32_t r, shipY, before, after, timer; };
  const Case cases[] = {
      {1, 300, 0, 8, 10}, {2, 300, 0, 2, 10}, {3, 249, 0, 2, 10}, {4, 250, 8, 8, -1},
      {5, 300, 8, 8, -1}, {7, 300, 2, 0, 10}, {1, 249, 0, 2, 10}, {0, 100, 8, 2, -1},
  };
  for (const Case& c : cases) {
    auto w = FreshWorld();
    w->ShipX = 300; w->ShipY = c.shipY; w->PilotVert = c.before;
    w->SteerTimer = 0; w->FireTimer = 5;
    PilotWith(*w, 0, c.r, 1);
    EXPECT_EQ(w->PilotVert, c.after) << c.r << " " << c.shipY;
    EXPECT_EQ(w->SteerTimer, c.timer) << c.r << " " << c.shipY;
  }
}

TEST(Autopilot, DecidesOnlyWhenTheTimerRunsOutAndFiresAtMostEveryThirdFrame) {
  auto w = FreshWorld();
  w->SteerTimer = 5; w->FireTimer = 0;
  const uint32_t before = w->RandSeed;
  RunAutopilot(*w);
  EXPECT_EQ(DrawsBetween(before, w->RandSeed), 1);  // only the fire draw
  EXPECT_EQ(w->SteerTimer, 4);
  // A fire draw of 0 with the timer below 0 fires and opens the latch.
  w->FireTimer = 0; w->SteerTimer = 5; w->FireLatch = 1; w->PilotFire = 0;
  w->RandSeed = FindState([](RefRandom& r) { return r.Next(3) == 0; });
  RunAutopilot(*w);
  EXPECT_EQ(w->FireTimer, 2);
  EXPECT_EQ(w->PilotFire, 1);
  EXPECT_EQ(w->FireLatch, 0);
  // Over many frames: fire decisions are at least three frames apart and
  // come with probability 1/3 once allowed.
  auto d = FreshWorld();
  int last = -10, decisions = 0;
  for (int f = 0; f < 30000; ++f) {
    d->FireLatch = 1;
    RunAutopilot(*d);
    if (d->FireLatch == 0) {
      EXPECT_GE(f - last, 3);
      last = f;
      ++decisions;
    }
  }
  // Mean gap 2 frames of timer + 3 expected tries = 5 frames.
  EXPECT_GT(decisions, 30000 / 6);
  EXPECT_LT(decisions, 30000 / 4);
}

struct JoyCase {
  FakePlatform fake;
  std::unique_ptr<WorldState> w = FreshWorld();
  JoyCase() { SetPlatform(&fake); }
  ~JoyCase() { SetPlatform(nullptr); }
  void Stick(uint32_t x, uint32_t y, uint32_t buttons) {
    fake.JoyPresent = true;
    fake.Joy.wXpos = x; fake.Joy.wYpos = y; fake.Joy.wButtons = buttons;
  }
};

TEST(Joystick, DeadZoneBoundsAndDiagonals) {
  struct Case { uint32_t x, y; int32_t h, v; };
  const Case cases[] = {{21999, 32768, 4, 0}, {22000, 32768, 0, 0}, {42000, 32768, 0, 0},
                        {42001, 32768, 6, 0}, {32768, 21999, 0, 8}, {32768, 42001, 0, 2},
                        {0, 65535, 4, 2},     {65535, 0, 6, 8}};
  for (const Case& c : cases) {
    JoyCase j;
    j.w->Autopilot = 0; j.w->JoystickOn = 1; j.w->IdleFrames = 50;
    j.Stick(c.x, c.y, 0);
    SteerByJoystick(*j.w);
    EXPECT_EQ(j.w->PilotHorz, c.h) << c.x << "," << c.y;
    EXPECT_EQ(j.w->PilotVert, c.v) << c.x << "," << c.y;
    EXPECT_EQ(j.w->IdleFrames, (c.h || c.v) ? 0 : 50);
    EXPECT_EQ(j.w->PilotFire, 0);
  }
}

TEST(Joystick, ButtonsFireAndTakeOverButDeflectionAloneDoesNot) {
  JoyCase j;
  j.w->Autopilot = 1; j.w->JoystickOn = 1; j.w->JoyButtonsAtStart = 0;
  j.Stick(0, 0, 0);
  SteerByJoystick(*j.w);
  EXPECT_EQ(j.w->Autopilot, 1);
  EXPECT_EQ(j.w->PilotHorz, 0);
  j.Stick(32768, 32768, 2);
  SteerByJoystick(*j.w);
  EXPECT_EQ(j.w->Autopilot, 0);
  EXPECT_EQ(j.w->PilotFire, 1);
  EXPECT_EQ(j.w->IdleFrames, 0);
  // A button held at start and released later takes over on release.
  JoyCase k;
  k.w->Autopilot = 1; k.w->JoystickOn = 1; k.w->JoyButtonsAtStart = 1;
  k.Stick(32768, 32768, 1);
  SteerByJoystick(*k.w);
  EXPECT_EQ(k.w->Autopilot, 1);
  k.Stick(32768, 32768, 0);
  SteerByJoystick(*k.w);
  EXPECT_EQ(k.w->Autopilot, 0);
}

TEST(Joystick, X65536NeitherSteersNorSwitchesOffAndNoJoystickSwitchesOff) {
  JoyCase j;
  j.w->Autopilot = 0; j.w->JoystickOn = 1;
  j.Stick(65536, 0, 1);
  SteerByJoystick(*j.w);
  EXPECT_EQ(j.w->JoystickOn, 1);
  EXPECT_EQ(j.w->PilotVert, 0);
  EXPECT_EQ(j.w->PilotFire, 0);
  // No joystick: the preset X 65537 switches the joystick off for good; the
  // failed read reports no buttons, so the autopilot is not disturbed.
  JoyCase k;
  k.w->Autopilot = 1; k.w->JoystickOn = 1;
  SteerByJoystick(*k.w);
  EXPECT_EQ(k.w->JoyX, 65537);
  EXPECT_EQ(k.w->JoystickOn, 0);
  EXPECT_EQ(k.w->Autopilot, 1);
}

struct FormCase {
  std::unique_ptr<WorldState> w = FreshWorld();
};

TEST(Keys, EveryRowOfTheKeyDownTable) {
  struct Case { uint16_t key; bool quit; bool input; int32_t autopilot, horz, vert, fire; };
  const Case cases[] = {
      {VK_ESCAPE, true, false, 1, 0, 0, 0},    {VK_T, false, true, 1, 0, 0, 0},
      {VK_LEFT, false, true, 0, 4, 0, 0},      {VK_NUMPAD4, false, true, 0, 4, 0, 0},
      {VK_RIGHT, false, true, 0, 6, 0, 0},     {VK_NUMPAD6, false, true, 0, 6, 0, 0},
      {VK_UP, false, true, 0, 0, 8, 0},        {VK_NUMPAD8, false, true, 0, 0, 8, 0},
      {VK_DOWN, false, true, 0, 0, 2, 0},      {VK_NUMPAD2, false, true, 0, 0, 2, 0},
      {VK_SPACE, false, true, 0, 0, 0, 1},     {VK_NUMPAD1, false, true, 1, 0, 0, 0},
      {VK_NUMPAD3, false, true, 1, 0, 0, 0},   {VK_NUMPAD5, false, true, 1, 0, 0, 0},
      {VK_NUMPAD7, false, true, 1, 0, 0, 0},   {VK_NUMPAD9, false, true, 1, 0, 0, 0},
      {VK_NUMPAD0, true, false, 1, 0, 0, 0},   {VK_SHIFT, true, false, 1, 0, 0, 0},
      {VK_CONTROL, true, false, 1, 0, 0, 0},   {VK_MENU, true, false, 1, 0, 0, 0},
      {VK_RETURN, true, false, 1, 0, 0, 0},    {VK_F1, true, false, 1, 0, 0, 0},
      {'A', true, false, 1, 0, 0, 0},          {VK_UNKNOWN, true, false, 1, 0, 0, 0},
  };
  for (const Case& c : cases) {
    FormCase f;
    f.w->IdleFrames = 77;
    HandleKeyDown(*f.w, c.key);
    EXPECT_EQ(f.w->QuitRequested, c.quit) << c.key;
    EXPECT_EQ(f.w->IdleFrames, c.input ? 0 : 77) << c.key;
    EXPECT_EQ(f.w->Autopilot, c.autopilot) << c.key;
    EXPECT_EQ(f.w->KeyHorz, c.horz) << c.key;
    EXPECT_EQ(f.w->KeyVert, c.vert) << c.key;
    EXPECT_EQ(f.w->KeyFire, c.fire) << c.key;
    EXPECT_EQ(f.w->GamePhase, 0) << c.key;
  }
}

TEST(Keys, GStartsAGameFromTheTableEntryAndResetsTheRandomState) {
  FormCase f;
  f.w->MaxMeteors = 20;
  f.w->HiScoreTable[20] = 65535;
  f.w->RandSeed = 12345; f.w->Score = 9; f.w->GamePhase = 700; f.w->Autopilot = 1;
  HandleKeyDown(*f.w, VK_G);
  EXPECT_EQ(f.w->GamePhase, 1);
  EXPECT_EQ(f.w->Score, 0);
  EXPECT_EQ(f.w->RandSeed, 0u);
  EXPECT_EQ(f.w->HiScore, 65535);  // zero-extended
  EXPECT_EQ(f.w->Autopilot, 1);    // the running game takes it
  // A meteor count above 50 has no entry: the game starts from 0 and its
  // records are not kept.
  FormCase g;
  g.w->MaxMeteors = 100;
  for (auto& e : g.w->HiScoreTable) e = 7;
  HandleKeyDown(*g.w, VK_G);
  EXPECT_EQ(g.w->HiScore, 0);
  g.w->Score = 3; g.w->TimeLeft = 500; g.w->FrameNo = 1;
  DrawScore(*g.w);
  EXPECT_EQ(g.w->HiScore, 3);
  EXPECT_EQ(g.w->NewRecord, 1);
  for (auto e : g.w->HiScoreTable) EXPECT_EQ(e, 7);
}

TEST(Keys, KeyUpClearsOnlyItsOwnCommandStillInForce) {
  FormCase f;
  HandleKeyDown(*f.w, VK_LEFT);
  HandleKeyDown(*f.w, VK_RIGHT);
  HandleKeyUp(*f.w, VK_LEFT);
  EXPECT_EQ(f.w->KeyHorz, 6);  // the last pressed wins
  HandleKeyUp(*f.w, VK_RIGHT);
  EXPECT_EQ(f.w->KeyHorz, 0);  // stops although Left is still held
  HandleKeyDown(*f.w, VK_UP);
  HandleKeyUp(*f.w, VK_NUMPAD2);
  EXPECT_EQ(f.w->KeyVert, 8);
  HandleKeyUp(*f.w, VK_NUMPAD8);
  EXPECT_EQ(f.w->KeyVert, 0);
  HandleKeyDown(*f.w, VK_SPACE);
  HandleKeyUp(*f.w, VK_ESCAPE);
  EXPECT_EQ(f.w->KeyFire, 1);
  EXPECT_FALSE(f.w->QuitRequested);
  HandleKeyUp(*f.w, VK_SPACE);
  EXPECT_EQ(f.w->KeyFire, 0);
}

TEST(Mouse, ToleranceOfTenAndTheWarmUp) {
  struct Case { int32_t watch, warm, x, y; bool quit; };
  const Case cases[] = {
      {1, 51, 630, 470, false}, {1, 51, 650, 490, false}, {1, 51, 629, 480, true},
      {1, 51, 640, 491, true},  {1, 51, 651, 480, true},  {1, 50, 0, 0, false},
      {0, 100, 0, 0, false},    {1, 100, 640, 469, true},
  };
  for (const Case& c : cases) {
    FormCase f;
    f.w->MouseWatch = c.watch; f.w->WarmUpFrames = c.warm;
    f.w->CursorHomeX = 640; f.w->CursorHomeY = 480; f.w->IdleFrames = 5;
    HandleMouseMove(*f.w, c.x, c.y);
    EXPECT_EQ(f.w->QuitRequested, c.quit) << c.x << "," << c.y << " warm " << c.warm;
    EXPECT_EQ(f.w->IdleFrames, 5);  // never player input
  }
}

TEST(Mouse, OnlyTheLeftButtonsClickEnds) {
  FormCase f;
  ClickTracker t;
  t.Button(*f.w, SDL_BUTTON_RIGHT, true);
  t.Button(*f.w, SDL_BUTTON_RIGHT, false);
  t.Button(*f.w, SDL_BUTTON_MIDDLE, true);
  t.Button(*f.w, SDL_BUTTON_MIDDLE, false);
  EXPECT_FALSE(f.w->QuitRequested);
  t.Button(*f.w, SDL_BUTTON_LEFT, false);  // a release without a press
  EXPECT_FALSE(f.w->QuitRequested);
  t.Button(*f.w, SDL_BUTTON_LEFT, true);
  EXPECT_FALSE(f.w->QuitRequested);
  t.Button(*f.w, SDL_BUTTON_LEFT, false);
  EXPECT_TRUE(f.w->QuitRequested);
}

// The game clock alone: frames with `FrameNo` counting, G pressed before
// frame `start`. Returns (GamePhase, TimeLeft) after each frame.
struct ClockRun {
  std::vector<int32_t> phase, timeLeft;
};
ClockRun RunClock(int32_t gameTimeLong, int32_t start, int32_t frames) {
  auto w = FreshWorld();
  w->GameTimeLong = gameTimeLong;
  w->FrameNo = start - 1;
  w->GamePhase = 1;
  ClockRun r;
  for (int i = 0; i < frames; ++i) {
    CountFrame(*w);
    RunGameClock(*w);
    EXPECT_EQ(w->Autopilot, 0);
    if (w->GamePhase > 0) EndGameIfOver(*w);
    r.phase.push_back(w->GamePhase);
    r.timeLeft.push_back(w->TimeLeft);
  }
  return r;
}

TEST(GameClock, TimelineOfBothSettings) {
  // Every frame a tick: tick k (frame k) leaves TimeLeft 1011 - k down to 0,
  // GamePhase k + 1, and the game ends in tick 1300.
  const ClockRun a = RunClock(0, 1, 1400);
  EXPECT_EQ(a.timeLeft[0], 1010);
  EXPECT_EQ(a.timeLeft[109], 901);   // tick 110: the start caption's last
  EXPECT_EQ(a.timeLeft[11], 999);    // tick 12: scoring starts
  EXPECT_EQ(a.timeLeft[1009], 1);    // tick 1010: the last scoring tick
  EXPECT_EQ(a.timeLeft[1010], 0);
  EXPECT_EQ(a.phase[1298], 1300);
  EXPECT_EQ(a.phase[1299], 0);       // tick 1300 ends it
  // Every 4th frame a tick; frames before the first tick hold 1010.
  const ClockRun b = RunClock(1, 2, 5000);  // frames 2, 3, 4 (tick 1), ...
  EXPECT_EQ(b.timeLeft[0], 1010);
  EXPECT_EQ(b.phase[0], 1);
  EXPECT_EQ(b.phase[1], 1);
  EXPECT_EQ(b.phase[2], 2);          // frame 4: tick 1
  auto frameOfTick = [](int k) { return 4 * k - 2; };  // index of frame 4k
  EXPECT_EQ(b.timeLeft[frameOfTick(50)], 961);
  EXPECT_EQ(b.timeLeft[frameOfTick(51)], 960);
  EXPECT_EQ(b.timeLeft[frameOfTick(12)], 999);
  EXPECT_EQ(b.timeLeft[frameOfTick(1010)], 1);
  EXPECT_EQ(b.timeLeft[frameOfTick(1010) + 3], 1);
  EXPECT_EQ(b.timeLeft[frameOfTick(1011)], 0);
  EXPECT_EQ(b.phase[frameOfTick(1099)], 1100);
  EXPECT_EQ(b.phase[frameOfTick(1100) - 1], 1100);
  EXPECT_EQ(b.phase[frameOfTick(1100)], 0);
}

TEST(CursorReadBack, EveryHundredAndFirstFrameSetsOnlyAPointerThatIsNotThere) {
  // A pointer that the user moves on by one pixel after each read, when
  // asked to.
  struct DriftingPointer : FakePlatform {
    bool Drift = false;
    bool GetCursorPos(int32_t& x, int32_t& y) override {
      const bool ok = FakePlatform::GetCursorPos(x, y);
      if (Drift) ++CursorX;
      return ok;
    }
  } fake;
  SetPlatform(&fake);
  auto w = FreshWorld();
  fake.CursorX = 600; fake.CursorY = 470;
  // A pointer where it was read is not set again: on X11 that warp would be
  // user activity and keep the display awake.
  for (int f = 1; f <= 202; ++f) NudgeCursor(*w);
  EXPECT_EQ(fake.CursorGets, 4);
  EXPECT_EQ(fake.CursorSets, 0);
  EXPECT_EQ(w->CursorPos.x, 600);
  EXPECT_EQ(w->CursorNudgeCount, 0);
  // One that has moved on is set back to the position read.
  fake.Drift = true;
  for (int f = 1; f <= 101; ++f) NudgeCursor(*w);
  EXPECT_EQ(fake.CursorSets, 1);
  EXPECT_EQ(fake.CursorX, 600);
  // A read that fails sets nothing.
  fake.CursorReadable = false;
  for (int f = 1; f <= 101; ++f) NudgeCursor(*w);
  EXPECT_EQ(fake.CursorGets, 7);
  EXPECT_EQ(fake.CursorSets, 1);
  SetPlatform(nullptr);
}

TEST(ScoreDisplay, RecordUpdatesTheTableEntryAsItsLow16Bits) {
  auto w = FreshWorld();
  w->MaxMeteors = 10; w->GamePhase = 50; w->TimeLeft = 500;
  w->HiScore = 25; w->Score = 25;
  DrawScore(*w);
  EXPECT_EQ(w->NewRecord, 0);
  w->Score = 70000;
  DrawScore(*w);
  EXPECT_EQ(w->HiScore, 70000);
  EXPECT_EQ(w->NewRecord, 1);
  EXPECT_EQ(w->HiScoreTable[10], static_cast<uint16_t>(70000 - 65536));
}

}  // namespace
