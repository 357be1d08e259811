// The real game run, headless: set-up, pacing, modes and whole games, checked
// against values worked out here from the rules (closed forms, a reference
// generator, an own re-simulation of the meteors).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "game/game_fixture.h"
#include "sim/sim.h"
#include "game/world_state.h"
#include "platform/keycodes.h"
#include "platform/platform.h"
#include "video/ddraw.h"
#include "support/lock_failing_surface.h"

using namespace dx;

using gametest::FreshWorld;
using gametest::RefRandom;

namespace {

SimEvent Ev(int32_t frame, SimEvent::Kind kind, int32_t a = 0, int32_t b = 0, int32_t c = 0) {
  SimEvent e;
  e.frame = frame; e.kind = kind; e.a = a; e.b = b; e.c = c;
  return e;
}

// Star rows after n frames, from the placement (the first 600 draws of the
// generator) and the layer rule.
void ExpectStarsAfter(const WorldState& w, int32_t n) {
  RefRandom r;
  for (int i = 1; i <= 200; ++i) {
    const int32_t x = r.Next(640);
    const int32_t y = r.Next(480);
    const int32_t c = r.Next(3);
    const int32_t moves = i < 50 ? n / 2 : i < 100 ? n / 16 : i < 150 ? n / 4 : n / 8;
    ASSERT_EQ(w.StarX[i - 1], x) << i;
    ASSERT_EQ(w.StarY[i - 1], (y + moves) % 480) << i;
    ASSERT_EQ(w.StarColor[i - 1], c == 0 ? 255 : c == 1 ? 199 : 190) << i;
  }
}

TEST(GameRun, FreeFlightWithoutInputMatchesAnOwnReSimulationOfTheMeteors) {
  const int32_t kFrames = 3000, kMax = 20;
  auto w = FreshWorld();
  FakePlatform fake;
  SimOptions o;
  o.Frames = kFrames; o.MaxMeteors = kMax; o.Autopilot = false;
  const SimResult res = RunSim(*w, o, &fake);
  ASSERT_TRUE(res.Ended);
  ASSERT_EQ(res.FramesRun, kFrames);

  // Own meteors: placed after the stars' 600 draws, six draws each; then per
  // frame they move, turn, and re-enter with five draws. Nothing else draws
  // in free flight without shots.
  struct M { int32_t x, y, dx, dy, f, spin; };
  std::vector<M> m(kMax);
  RefRandom r;
  r.Skip(600);
  for (M& k : m) {
    k.x = r.Next(640); k.y = -r.Next(200); k.dx = r.Next(10) - 5; k.dy = r.Next(20) + 2;
    k.f = r.Next(36); k.spin = r.Next(2);
  }
  for (int f = 0; f < kFrames; ++f) {
    for (M& k : m) {
      k.x += k.dx; k.y += k.dy;
      k.f = k.spin == 0 ? (k.f + 1) % 36 : (k.f + 35) % 36;
      if (k.x < -79 || k.x > 639 || k.y > 480) {
        k.x = r.Next(640); k.y = -80; k.dx = r.Next(10) - 5; k.dy = r.Next(20) + 2;
        k.f = r.Next(36); k.spin = r.Next(2);
      }
    }
  }
  for (int i = 0; i < kMax; ++i) {
    EXPECT_EQ(w->MeteorX[i], m[i].x) << i;
    EXPECT_EQ(w->MeteorY[i], m[i].y) << i;
    EXPECT_EQ(w->MeteorDX[i], m[i].dx) << i;
    EXPECT_EQ(w->MeteorDY[i], m[i].dy) << i;
    EXPECT_EQ(w->MeteorFrame[i], m[i].f) << i;
    EXPECT_EQ(w->MeteorSpin[i], m[i].spin) << i;
    EXPECT_EQ(w->MeteorBlast[i], 0) << i;
  }
  EXPECT_EQ(w->RandSeed, r.state);
  ExpectStarsAfter(*w, kFrames);
  EXPECT_EQ(w->ScrollY, kFrames % 960);
  EXPECT_EQ(w->FrameNo, kFrames);
  EXPECT_EQ(w->WarmUpFrames, 100);
  EXPECT_EQ(w->IdleFrames, 0);  // no AutoResume: not counted
  EXPECT_EQ(w->Autopilot, 0);
  EXPECT_EQ(w->ShipX, 280);
  EXPECT_EQ(w->ShipY, 300);
  EXPECT_EQ(w->ShipBank, 3);
  EXPECT_EQ(w->ShipAnim, kFrames % 2);
  EXPECT_EQ(w->CursorNudgeCount, kFrames % 101);
  for (int s = 0; s < kShotSlots; ++s) EXPECT_EQ(w->ShotOn[s], 0);
  for (int s = 0; s < kParticleSlots; ++s) EXPECT_EQ(w->ParticleOn[s], 0);
  // The run parked the cursor, read it back every 101st frame (without
  // setting it again where it stood), hid it once and showed it twice at the
  // end.
  EXPECT_EQ(w->CursorHomeX, 640);
  EXPECT_EQ(w->CursorHomeY, 480);
  EXPECT_EQ(w->MouseWatch, 1);
  EXPECT_EQ(fake.CursorGets, 2 * (kFrames / 101));
  EXPECT_EQ(fake.CursorSets, 1);
  EXPECT_EQ(fake.CursorX, 640);
  EXPECT_EQ(fake.CursorCounter, 1);
  EXPECT_EQ(w->Video.DDraw, nullptr);  // released at the end
}

TEST(GameRun, DemoIsRepeatableKeepsItsInvariantsAndShoots) {
  const int32_t kFrames = 3000;
  auto run = [&](WorldState& w, int* framesWithSparks, int* volleys) {
    SimOptions o;
    o.Frames = kFrames;
    o.OnWait = [&](WorldState& form, int32_t) {
      const WorldState& s = form;
      bool sparks = false;
      for (int p = 0; p < kParticleSlots; ++p) {
        if (s.ParticleOn[p]) {
          sparks = true;
          ASSERT_GE(s.ParticleLife[p], 0);
          ASSERT_LE(s.ParticleLife[p], 19);
          ASSERT_GE(s.ParticleSpeed[p], 1);
          ASSERT_LE(s.ParticleSpeed[p], 8);
          ASSERT_LT(s.ParticleAngle[p], 360);
        }
      }
      if (sparks) ++*framesWithSparks;
      // A volley fired in this frame: its left shot has climbed once from
      // the ship's row (older shots can't be there: the ship moves at most
      // 10 pixels a frame, shots 50).
      for (int k = 0; k < kShotSlots; ++k) {
        if (s.ShotOn[k] && s.ShotY[k] == s.ShipY - 50) {
          ++*volleys;
          break;
        }
      }
      for (int i = 0; i < s.MaxMeteors; ++i) {
        ASSERT_GE(s.MeteorX[i], -79);
        ASSERT_LE(s.MeteorX[i], 639);
        ASSERT_LE(s.MeteorY[i], 480);
        ASSERT_GE(s.MeteorBlast[i], 0);
        ASSERT_LE(s.MeteorBlast[i], 7);
        ASSERT_GE(s.MeteorFrame[i], 0);
        ASSERT_LT(s.MeteorFrame[i], 36);
      }
      ASSERT_GE(s.ShipX, 0);
      ASSERT_LE(s.ShipX, 518);
      ASSERT_GE(s.ShipY, 0);
      ASSERT_LE(s.ShipY, 349);
      ASSERT_EQ(s.Autopilot, 1);
    };
    return RunSim(w, o);
  };
  auto a = FreshWorld();
  auto b = FreshWorld();
  int sparksA = 0, sparksB = 0, volleysA = 0, volleysB = 0;
  ASSERT_EQ(run(*a, &sparksA, &volleysA).FramesRun, kFrames);
  ASSERT_EQ(run(*b, &sparksB, &volleysB).FramesRun, kFrames);
  // Same settings, no input: the same world.
  EXPECT_EQ(a->RandSeed, b->RandSeed);
  EXPECT_EQ(0, std::memcmp(a->MeteorX, b->MeteorX, sizeof a->MeteorX));
  EXPECT_EQ(0, std::memcmp(a->MeteorY, b->MeteorY, sizeof a->MeteorY));
  EXPECT_EQ(0, std::memcmp(a->ParticleX, b->ParticleX, sizeof a->ParticleX));
  EXPECT_EQ(a->ShipX, b->ShipX);
  EXPECT_EQ(a->ShipY, b->ShipY);
  EXPECT_EQ(sparksA, sparksB);
  // The autopilot fires (a volley every 5 frames on average) and hits.
  EXPECT_GT(volleysA, kFrames / 10);
  EXPECT_GT(sparksA, 100);
  // Closed forms.
  ExpectStarsAfter(*a, kFrames);
  EXPECT_EQ(a->ScrollY, kFrames % 960);
  EXPECT_EQ(a->IdleFrames, kFrames);
  EXPECT_EQ(a->Score, 0);
  EXPECT_EQ(a->GamePhase, 0);
  EXPECT_EQ(a->PilotFire, 1);  // stays 1 while the autopilot flies
}

TEST(GameRun, ScoredGameFollowsTheClockCountsHitsAndSetsARecord) {
  const int32_t kG = 20, kFrames = 1400, kMax = 20;
  auto w = FreshWorld();
  SimOptions o;
  o.Frames = kFrames; o.MaxMeteors = kMax;
  o.Events.push_back(Ev(kG, SimEvent::KeyDown, VK_G));
  // Fire a volley every other frame, and sweep the ship left and right.
  for (int f = kG + 1; f < kG + 1310; f += 2) {
    o.Events.push_back(Ev(f, SimEvent::KeyDown, VK_SPACE));
    o.Events.push_back(Ev(f + 1, SimEvent::KeyUp, VK_SPACE));
  }
  for (int f = kG + 1; f < kG + 1300; f += 60) {
    o.Events.push_back(Ev(f, SimEvent::KeyDown, VK_LEFT));
    o.Events.push_back(Ev(f + 20, SimEvent::KeyUp, VK_LEFT));
    o.Events.push_back(Ev(f + 30, SimEvent::KeyDown, VK_RIGHT));
    o.Events.push_back(Ev(f + 50, SimEvent::KeyUp, VK_RIGHT));
  }
  std::stable_sort(o.Events.begin(), o.Events.end(),
                   [](const SimEvent& x, const SimEvent& y) { return x.frame < y.frame; });
  int32_t hits = 0, allHits = 0;
  o.OnWait = [&](WorldState& form, int32_t f) {
    const WorldState& s = form;
    // Meteors hit in this frame have burst stage 1 until the next frame.
    int32_t fresh = 0;
    for (int i = 0; i < s.MaxMeteors; ++i) fresh += s.MeteorBlast[i] == 1;
    allHits += fresh;
    if (f <= kG) {
      ASSERT_EQ(s.GamePhase, f == kG ? 1 : 0);  // G is handled in frame kG's wait
      return;
    }
    const int32_t k = f - kG;  // clock tick of this frame
    ASSERT_EQ(s.TimeLeft, std::max(0, 1011 - k)) << f;
    ASSERT_EQ(s.GamePhase, k < 1300 ? k + 1 : 0) << f;
    if (k <= 1300) {
      ASSERT_EQ(s.Autopilot, 0);
    }
    if (s.TimeLeft > 0 && s.TimeLeft < 1000) hits += fresh;
  };
  const SimResult res = RunSim(*w, o);
  ASSERT_EQ(res.FramesRun, kFrames);
  EXPECT_GT(hits, 0);
  EXPECT_GT(allHits, hits);  // hits before tick 12 and after the clock ran out don't count
  EXPECT_EQ(w->Score, hits);
  EXPECT_EQ(w->HiScore, hits);
  EXPECT_EQ(w->NewRecord, 1);
  EXPECT_EQ(w->HiScoreTable[kMax], hits);
  EXPECT_EQ(w->GamePhase, 0);
  for (int i = 0; i < kHiScoreEntries; ++i) {
    if (i != kMax) {
      EXPECT_EQ(w->HiScoreTable[i], 0) << i;
    }
  }
}

TEST(GameRun, LongGameTimeTicksEveryFourthFrame) {
  const int32_t kG = 7, kFrames = 4420;
  auto w = FreshWorld();
  SimOptions o;
  o.Frames = kFrames; o.GameTimeLong = true;
  o.Events.push_back(Ev(kG, SimEvent::KeyDown, VK_G));
  int checked = 0;
  o.OnWait = [&](WorldState& form, int32_t f) {
    const WorldState& s = form;
    if (f <= kG) return;
    const int32_t k = f / 4 - kG / 4;  // ticks so far: frames 8, 12, ...
    ASSERT_GE(k, 0);
    ASSERT_EQ(s.TimeLeft, k == 0 ? 1010 : std::max(0, 1011 - k)) << f;
    ASSERT_EQ(s.GamePhase, k < 1100 ? k + 1 : 0) << f;
    ++checked;
  };
  ASSERT_EQ(RunSim(*w, o).FramesRun, kFrames);
  EXPECT_EQ(checked, kFrames - kG);
  EXPECT_EQ(w->GamePhase, 0);
  EXPECT_EQ(w->TimeLeft, 0);
}

TEST(GameRun, PacingFirstFrameWithoutWaitThen25MsAndSlowFrames) {
  auto w = FreshWorld();
  FakePlatform fake;
  const uint32_t t0 = fake.Tick;
  SimOptions o;
  o.Frames = 40;
  std::vector<uint32_t> starts;
  o.OnPicture = [&](int32_t f, const uint8_t*, int32_t, const uint32_t*) {
    starts.push_back(fake.Tick);
    if (f == 10) fake.Tick += 40;  // frame 10's flip takes 40 ms
  };
  const SimResult r = RunSim(*w, o, &fake);
  ASSERT_EQ(r.FramesRun, 40);
  // Messages are processed after each wait and once more in every frame.
  EXPECT_EQ(r.MessageRounds, 40 + 38);
  // 39 frames waited, except the one after the slow flip.
  EXPECT_EQ(fake.Waits, 38);
  EXPECT_EQ(starts[0], t0);
  for (size_t i = 1; i < starts.size(); ++i) {
    if (i == 10) {
      EXPECT_EQ(starts[i], starts[i - 1] + 40) << i;  // no wait after the slow frame
    } else {
      EXPECT_EQ(starts[i], starts[i - 1] + 25) << i;
    }
  }
  EXPECT_EQ(w->LastFrameTick, t0 + 25 * 38 + 40);
}

TEST(GameRun, PacingSurvivesTheTickCounterWrapping) {
  auto w = FreshWorld();
  FakePlatform fake;
  fake.Tick = 0xFFFFFF00u;  // the counter wraps between frames 11 and 12
  SimOptions o;
  o.Frames = 20;
  ASSERT_EQ(RunSim(*w, o, &fake).FramesRun, 20);
  EXPECT_EQ(fake.Waits, 19);
  EXPECT_EQ(fake.WaitedMs, 19u * 25u);
  EXPECT_EQ(w->LastFrameTick, 0xFFFFFF00u + 19u * 25u);
}

TEST(GameRun, RequestsBeforeTheFirstFrameAreDropped) {
  auto w = FreshWorld();
  SimOptions o;
  o.Frames = 30;
  o.Events = {Ev(0, SimEvent::KeyDown, VK_ESCAPE), Ev(0, SimEvent::Click),
              Ev(0, SimEvent::KeyDown, VK_F1), Ev(0, SimEvent::Move, 0, 0)};
  const SimResult r = RunSim(*w, o);
  EXPECT_EQ(r.FramesRun, 30);
}

TEST(GameRun, EndsOnClickMoveAndKeysButNotOnRightClicksOrWarmUpMoves) {
  struct Case { std::vector<SimEvent> events; int32_t frames; };
  const Case cases[] = {
      {{Ev(100, SimEvent::Click)}, 100},
      {{Ev(100, SimEvent::RightClick)}, 200},
      {{Ev(60, SimEvent::Move, 651, 480)}, 60},
      {{Ev(60, SimEvent::Move, 650, 490)}, 200},
      {{Ev(40, SimEvent::Move, 0, 0)}, 200},      // warm-up: ignored
      {{Ev(51, SimEvent::Move, 0, 0)}, 51},
      {{Ev(70, SimEvent::KeyDown, 'Q')}, 70},
      {{Ev(70, SimEvent::KeyDown, VK_T)}, 200},
  };
  for (const Case& c : cases) {
    auto w = FreshWorld();
    SimOptions o;
    o.Frames = 200;
    o.Events = c.events;
    const SimResult r = RunSim(*w, o);
    EXPECT_TRUE(r.Ended);
    EXPECT_EQ(r.FramesRun, c.frames) << c.events[0].frame << " " << c.events[0].kind;
  }
}

// How often the run has given the joysticks back so far.
int32_t JoyReleases() { return dynamic_cast<FakePlatform&>(Sys()).JoyReleases; }

TEST(GameRun, JoystickButtonReleasedLaterTakesOverAndMissingJoystickSwitchesOff) {
  {
    auto w = FreshWorld();
    SimOptions o;
    o.Frames = 80; o.Joystick = true;
    o.Events = {Ev(0, SimEvent::Joy, 32768, 32768, 1), Ev(50, SimEvent::Joy, 32768, 32768, 0)};
    o.OnWait = [](WorldState& form, int32_t f) {
      ASSERT_EQ(form.JoyButtonsAtStart, 1);
      ASSERT_EQ(form.Autopilot, f <= 50 ? 1 : 0) << f;
      ASSERT_EQ(JoyReleases(), 0) << f;  // still steering
    };
    ASSERT_EQ(RunSim(*w, o).FramesRun, 80);
    EXPECT_EQ(w->JoystickOn, 1);
  }
  // Missing, or switched off by the settings: the joystick is given back
  // once, before the second frame at the latest.
  for (const bool on : {true, false}) {
    auto w = FreshWorld();
    SimOptions o;
    o.Frames = 20; o.Joystick = on;
    if (!on) o.Events = {Ev(0, SimEvent::Joy, 32768, 32768, 0)};
    o.OnWait = [](WorldState& form, int32_t f) {
      ASSERT_EQ(form.JoystickOn, 0);
      ASSERT_EQ(form.Autopilot, 1);
      if (f >= 2) {
        ASSERT_EQ(JoyReleases(), 1) << f;
      }
    };
    ASSERT_EQ(RunSim(*w, o).FramesRun, 20);
  }
}

TEST(GameRun, IdlePlayerGetsTheAutopilotBackAfter316Frames) {
  auto w = FreshWorld();
  SimOptions o;
  o.Frames = 500;
  o.Events = {Ev(10, SimEvent::KeyDown, VK_LEFT), Ev(12, SimEvent::KeyUp, VK_LEFT)};
  o.OnWait = [](WorldState& form, int32_t f) {
    // Frame 11 is the first without the autopilot; 316 frames without input
    // later (frame 326) it is back.
    if (f >= 11) {
      ASSERT_EQ(form.Autopilot, f >= 326 ? 1 : 0) << f;
    }
  };
  ASSERT_EQ(RunSim(*w, o).FramesRun, 500);
}

TEST(GameRun, BackBufferThatCannotBeLockedEndsTheRun) {
  for (int failures : {99, 100}) {
    auto w = FreshWorld();
    SimOptions o;
    o.Frames = 30;
    o.OnWait = [failures](WorldState& form, int32_t f) {
      if (f == 10) {
        form.Video.BackSurface = new LockFailingSurface(form.Video.BackSurface, failures);
      }
    };
    const SimResult r = RunSim(*w, o);
    EXPECT_TRUE(r.Ended);
    EXPECT_EQ(r.FramesRun, failures == 100 ? 11 : 30);
    EXPECT_EQ(w->Video.DDraw, nullptr);
  }
}

TEST(GameRun, ScriptParsing) {
  std::vector<SimEvent> ev;
  std::string error;
  ASSERT_TRUE(ParseSimScript("# demo\n5 keydown 71\n\n3 move 1 2\r\n3 joy none\n4 joy 1 2 3\n"
                             "9 click\n9 rclick\n10 keyup 32\n",
                             ev, error))
      << error;
  ASSERT_EQ(ev.size(), 7u);
  EXPECT_EQ(ev[0].frame, 3);
  EXPECT_EQ(ev[0].kind, SimEvent::Move);
  EXPECT_EQ(ev[1].kind, SimEvent::JoyNone);
  EXPECT_EQ(ev[2].kind, SimEvent::Joy);
  EXPECT_EQ(ev[2].c, 3);
  EXPECT_EQ(ev[3].a, 71);
  for (const char* bad : {"x keydown 1", "1 keydown", "1 jump", "1 move 1", "-1 click",
                          "1 keydown 70000", "1 click extra"}) {
    std::vector<SimEvent> e;
    EXPECT_FALSE(ParseSimScript(bad, e, error)) << bad;
  }
}

}  // namespace

namespace {

// The pictures of a run on blank sheets: every sprite is transparent and the
// background is index 0, so what shows is the star field and the shots.
TEST(GamePictures, StarFieldAndShotBarsReachTheShownPicture) {
  auto w = FreshWorld();
  SimOptions o;
  o.Frames = 400;
  o.Autopilot = false;
  // Fire from frame 200 on.
  o.Events = {Ev(199, SimEvent::KeyDown, VK_SPACE)};
  int checkedStars = 0, checkedBars = 0;
  o.OnPicture = [&](int32_t f, const uint8_t* px, int32_t pitch, const uint32_t*) {
    auto at = [&](int x, int y) { return px[y * pitch + x]; };
    if (f == 1 || f == 150) {
      // Own star picture: rows before this frame's move, writes in star
      // order onto index 0 only, crosses for every tenth star.
      std::vector<uint8_t> expect(640 * 480, 0);
      auto put = [&](int x, int y, int c) {
        if (x >= 0 && x < 640 && y >= 0 && y < 480 && expect[y * 640 + x] == 0) {
          expect[y * 640 + x] = static_cast<uint8_t>(c);
        }
      };
      RefRandom r;
      const int n = f - 1;
      for (int i = 1; i <= 200; ++i) {
        const int x = r.Next(640);
        const int y0 = r.Next(480);
        const int c = r.Next(3);
        const int moves = i < 50 ? n / 2 : i < 100 ? n / 16 : i < 150 ? n / 4 : n / 8;
        const int y = (y0 + moves) % 480;
        if (i % 10 == 0) {
          const int arm = i <= 100 ? 190 : 199;
          put(x, y, 255);
          if (y > 0) { put(x, y - 1, arm); put(x - 1, y, arm); }
          if (y < 479) { put(x, y + 1, arm); put(x + 1, y, arm); }
        }
        put(x, y, c == 0 ? 255 : c == 1 ? 199 : 190);
      }
      for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) ASSERT_EQ(at(x, y), expect[y * 640 + x]) << f << ": " << x << "," << y;
      }
      ++checkedStars;
    }
    // Every flying shot was drawn 50 pixels below where it is now: the
    // inner line in 249 inside the outer box of 251.
    for (int s = 0; s < kShotSlots; ++s) {
      if (!w->ShotOn[s]) continue;
      const int x = w->ShotX[s], y = w->ShotY[s] + 50 + 30;
      if (x < 1 || x > 638 || y < 0 || y > 479) continue;
      ASSERT_EQ(at(x, y), 249) << f;
      ASSERT_EQ(at(x - 1, y), 251) << f;
      ASSERT_EQ(at(x + 1, y), 251) << f;
      ++checkedBars;
    }
  };
  ASSERT_EQ(RunSim(*w, o).FramesRun, 400);
  EXPECT_EQ(checkedStars, 2);
  EXPECT_GT(checkedBars, 3);
}

}  // namespace
