// Meteors, ship, shots, hits and sparks, step by step on a fresh world.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/game_fixture.h"
#include "game/game.h"
#include "game/world_state.h"

using gametest::DrawsBetween;
using gametest::FreshWorld;
using gametest::RefRandom;

namespace {

int ShotsOn(const WorldState& w) {
  int n = 0;
  for (int s = 0; s < kShotSlots; ++s) n += w.ShotOn[s];
  return n;
}

int SparksOn(const WorldState& w) {
  int n = 0;
  for (int s = 0; s < kParticleSlots; ++s) n += w.ParticleOn[s];
  return n;
}

TEST(DirectionTables, PointTheDocumentedWaysAndRoundToTheNearestStep) {
  auto w = FreshWorld();
  BuildDirectionTables(*w);
  for (int r = 0; r <= 100; ++r) {
    EXPECT_EQ(w->StepX[0][r], r);    // right
    EXPECT_EQ(w->StepY[0][r], 0);
    EXPECT_EQ(w->StepX[90][r], 0);   // up: y shrinks
    EXPECT_EQ(w->StepY[90][r], -r);
    EXPECT_EQ(w->StepX[180][r], -r);
    EXPECT_EQ(w->StepY[270][r], r);  // down
  }
  EXPECT_EQ(w->StepX[45][1], 1);
  EXPECT_EQ(w->StepY[45][1], -1);
  // Every entry is r sin t and r cos t, t = (a + 90) x 3.14159 / 180, rounded
  // to the nearest integer; worked out here in double precision. (The shift
  // by 90 degrees with the short pi matters: entry [82][97] is 14, while
  // 97 cos 82 degrees is 13.4998.)
  for (int a = 0; a <= 365; ++a) {
    for (int r = 0; r <= 100; ++r) {
      const double t = (a + 90) * 3.14159 / 180.0;
      ASSERT_EQ(w->StepX[a][r], static_cast<int32_t>(std::nearbyint(r * std::sin(t)))) << a << " " << r;
      ASSERT_EQ(w->StepY[a][r], static_cast<int32_t>(std::nearbyint(r * std::cos(t)))) << a << " " << r;
    }
  }
  EXPECT_EQ(w->StepX[82][97], 14);
  // With speed 1 the eight neighbours only.
  for (int a = 0; a < 360; ++a) {
    EXPECT_LE(std::abs(w->StepX[a][1]), 1);
    EXPECT_LE(std::abs(w->StepY[a][1]), 1);
  }
}

TEST(Meteors, PlacementDrawsSixNumbersPerMeteorInOrder) {
  auto w = FreshWorld();
  w->MaxMeteors = 3;
  w->RandSeed = 777;
  PlaceMeteors(*w);
  RefRandom r{777};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(w->MeteorX[i], r.Next(640));
    EXPECT_EQ(w->MeteorY[i], -r.Next(200));
    EXPECT_EQ(w->MeteorDX[i], r.Next(10) - 5);
    EXPECT_EQ(w->MeteorDY[i], r.Next(20) + 2);
    EXPECT_EQ(w->MeteorFrame[i], r.Next(36));
    EXPECT_EQ(w->MeteorBlast[i], 0);
    EXPECT_EQ(w->MeteorSpin[i], r.Next(2));
  }
  EXPECT_EQ(w->RandSeed, r.state);
  EXPECT_EQ(w->MeteorX[3], 0);  // untouched beyond MaxMeteors
}

TEST(Meteors, MoveSpinAndReenterAtTheSides) {
  auto w = FreshWorld();
  w->MaxMeteors = 2;
  w->MeteorX[0] = 100; w->MeteorY[0] = 10; w->MeteorDX[0] = -5; w->MeteorDY[0] = 21;
  w->MeteorFrame[0] = 35; w->MeteorSpin[0] = 0;
  w->MeteorX[1] = -75; w->MeteorY[1] = 0; w->MeteorDX[1] = -5; w->MeteorDY[1] = 2;
  w->MeteorFrame[1] = 0; w->MeteorSpin[1] = 1;
  w->RandSeed = 4242;
  UpdateMeteors(*w);
  EXPECT_EQ(w->MeteorX[0], 95);
  EXPECT_EQ(w->MeteorY[0], 31);
  EXPECT_EQ(w->MeteorFrame[0], 0);  // 36 becomes 0
  // Meteor 1 moved to x -80 (< -79): re-enters with five new numbers and a
  // new spin; its frame had already turned from 0 to 35.
  RefRandom r{4242};
  EXPECT_EQ(w->MeteorX[1], r.Next(640));
  EXPECT_EQ(w->MeteorY[1], -80);
  EXPECT_EQ(w->MeteorDX[1], r.Next(10) - 5);
  EXPECT_EQ(w->MeteorDY[1], r.Next(20) + 2);
  EXPECT_EQ(w->MeteorFrame[1], r.Next(36));
  EXPECT_EQ(w->MeteorSpin[1], r.Next(2));
  EXPECT_EQ(w->RandSeed, r.state);
}

TEST(Meteors, BurstShowsSevenStagesStandsStillAndKeepsTheSpin) {
  auto w = FreshWorld();
  w->MaxMeteors = 1;
  w->MeteorX[0] = 200; w->MeteorY[0] = 100; w->MeteorDX[0] = 3; w->MeteorDY[0] = 9;
  w->MeteorFrame[0] = 5; w->MeteorSpin[0] = 1; w->MeteorBlast[0] = 1;
  w->RandSeed = 99;
  for (int stage = 1; stage <= 6; ++stage) {
    const uint32_t before = w->RandSeed;
    UpdateMeteors(*w);
    EXPECT_EQ(DrawsBetween(before, w->RandSeed), 6) << stage;  // three dx, dy pairs
    EXPECT_EQ(w->MeteorX[0], 200);
    EXPECT_EQ(w->MeteorY[0], 100);
    EXPECT_EQ(w->MeteorBlast[0], stage + 1);
    EXPECT_EQ(w->MeteorFrame[0], (5 - stage + 36) % 36);  // turns on while exploding
  }
  // Stage 7 draws its six numbers, then the meteor re-enters: four numbers
  // (x, dx, dy, frame), no new spin.
  const uint32_t before = w->RandSeed;
  RefRandom r{before};
  r.Skip(6);
  UpdateMeteors(*w);
  EXPECT_EQ(DrawsBetween(before, w->RandSeed), 10);
  EXPECT_EQ(w->MeteorX[0], r.Next(640));
  EXPECT_EQ(w->MeteorY[0], -80);
  EXPECT_EQ(w->MeteorDX[0], r.Next(10) - 5);
  EXPECT_EQ(w->MeteorDY[0], r.Next(20) + 2);
  EXPECT_EQ(w->MeteorFrame[0], r.Next(36));
  EXPECT_EQ(w->MeteorBlast[0], 0);
  EXPECT_EQ(w->MeteorSpin[0], 1);
}

TEST(Ship, MovesTenPixelsLeansOnEvenFramesAndStaysInItsBox) {
  auto w = FreshWorld();
  w->ShipBank = 3;
  w->KeyHorz = 4;
  w->FrameNo = 1;  // odd: no lean change
  MoveShip(*w);
  EXPECT_EQ(w->ShipX, 270);
  EXPECT_EQ(w->ShipBank, 3);
  for (int f = 2; f <= 10; ++f) {
    w->FrameNo = f;
    MoveShip(*w);
  }
  EXPECT_EQ(w->ShipBank, 0);  // full lean after three even frames, never below
  EXPECT_EQ(w->ShipX, 180);
  // Keyboard left and pilot right cancel the move but both lean.
  w->PilotHorz = 6;
  w->FrameNo = 12;
  MoveShip(*w);
  EXPECT_EQ(w->ShipX, 180);
  EXPECT_EQ(w->ShipBank, 1);  // left keeps it at 0, then right raises it
  // Levelling: one step per even frame back to 3.
  w->PilotHorz = 0;
  w->KeyHorz = 0;
  w->ShipBank = 6;
  w->FrameNo = 14;
  MoveShip(*w);
  EXPECT_EQ(w->ShipBank, 5);
  w->FrameNo = 15;
  MoveShip(*w);
  EXPECT_EQ(w->ShipBank, 5);
  // Clamps.
  w->ShipX = 515; w->ShipY = 345; w->KeyHorz = 6; w->KeyVert = 2;
  MoveShip(*w);
  EXPECT_EQ(w->ShipX, 518);
  EXPECT_EQ(w->ShipY, 349);
  w->ShipX = 3; w->ShipY = 4; w->KeyHorz = 4; w->KeyVert = 8;
  MoveShip(*w);
  EXPECT_EQ(w->ShipX, 0);
  EXPECT_EQ(w->ShipY, 0);
}

TEST(Fire, VolleyOfThreeFromTheGunsOfTheLeanWithSoundParameters) {
  auto w = FreshWorld();
  w->ShipX = 100; w->ShipY = 300; w->ShipBank = 0; w->KeyFire = 1; w->Volume = 40;
  FireVolley(*w);
  EXPECT_EQ(ShotsOn(*w), 3);
  EXPECT_EQ(w->ShotX[0], 119); EXPECT_EQ(w->ShotY[0], 300);
  EXPECT_EQ(w->ShotX[1], 155); EXPECT_EQ(w->ShotY[1], 270);
  EXPECT_EQ(w->ShotX[2], 195); EXPECT_EQ(w->ShotY[2], 300);
  EXPECT_EQ(w->FireLatch, 1);
  EXPECT_EQ(w->PlayVolume, 40 * 50 - 2500);
  EXPECT_EQ(w->PlayPan, 100 * 10 - 3000);
  // Held: no second volley. Released: the latch opens; pressed again: fires.
  FireVolley(*w);
  EXPECT_EQ(ShotsOn(*w), 3);
  w->KeyFire = 0;
  FireVolley(*w);
  EXPECT_EQ(w->FireLatch, 0);
  w->ShipBank = 6;
  w->PilotFire = 1;
  FireVolley(*w);
  EXPECT_EQ(ShotsOn(*w), 6);
  EXPECT_EQ(w->ShotX[3], 103);
  EXPECT_EQ(w->ShotX[4], 146);
  EXPECT_EQ(w->ShotX[5], 180);
}

TEST(Fire, OneOrTwoFreeSlotsGiveTheLeftOrLeftAndCentreShot) {
  for (int free = 0; free <= 2; ++free) {
    auto w = FreshWorld();
    for (int s = 0; s < kShotSlots; ++s) w->ShotOn[s] = 1;
    // Free slots at the end and in the middle: they are visited in order.
    if (free >= 1) w->ShotOn[7] = 0;
    if (free >= 2) w->ShotOn[14] = 0;
    w->ShipX = 200; w->ShipY = 200; w->ShipBank = 3; w->KeyFire = 1;
    FireVolley(*w);
    EXPECT_EQ(ShotsOn(*w), 15) << free;
    if (free == 0) {
      EXPECT_EQ(w->FireLatch, 0);  // nothing fired: the volley comes when a slot frees
    } else {
      EXPECT_EQ(w->FireLatch, 1);
      EXPECT_EQ(w->ShotX[7], 207);
      EXPECT_EQ(w->ShotY[7], 200);
    }
    if (free == 2) {
      EXPECT_EQ(w->ShotX[14], 250);
      EXPECT_EQ(w->ShotY[14], 170);
    }
  }
}

TEST(Shots, ClimbFiftyAndRetireAbove85) {
  auto w = FreshWorld();
  w->ShotOn[0] = 1; w->ShotX[0] = 100; w->ShotY[0] = -85;
  w->ShotOn[1] = 1; w->ShotX[1] = 100; w->ShotY[1] = -86;
  UpdateShots(*w);
  EXPECT_EQ(w->ShotOn[0], 1);
  EXPECT_EQ(w->ShotY[0], -135);
  EXPECT_EQ(w->ShotOn[1], 0);
  EXPECT_EQ(w->ShotY[1], -136);  // moved in the frame it was freed
  UpdateShots(*w);
  EXPECT_EQ(w->ShotOn[0], 0);
  EXPECT_EQ(w->ShotY[1], -136);  // free slots stay
}

// One shot at (sx, sy) against one meteor at (mx, my): hit?
bool Hits(int32_t sx, int32_t sy, int32_t mx, int32_t my, int32_t blast = 0) {
  auto w = FreshWorld();
  w->MaxMeteors = 1;
  w->ShotOn[0] = 1; w->ShotX[0] = sx; w->ShotY[0] = sy;
  w->MeteorX[0] = mx; w->MeteorY[0] = my; w->MeteorBlast[0] = blast;
  CheckCollisions(*w);
  return w->MeteorBlast[0] == 1 && blast == 0;
}

TEST(Collisions, HitBoxBoundsAreInclusiveAndHighMeteorsAreSafe) {
  const int sx = 300, sy = 200;
  // x: sx - 70 < mx < sx + 10; y: sy - 60 < my < sy + 90.
  EXPECT_TRUE(Hits(sx, sy, sx - 69, sy));
  EXPECT_FALSE(Hits(sx, sy, sx - 70, sy));
  EXPECT_TRUE(Hits(sx, sy, sx + 9, sy));
  EXPECT_FALSE(Hits(sx, sy, sx + 10, sy));
  EXPECT_TRUE(Hits(sx, sy, sx, sy - 59));
  EXPECT_FALSE(Hits(sx, sy, sx, sy - 60));
  EXPECT_TRUE(Hits(sx, sy, sx, sy + 89));
  EXPECT_FALSE(Hits(sx, sy, sx, sy + 90));
  // A meteor at -70 is not hit even inside the box; at -69 it is.
  EXPECT_FALSE(Hits(100, -50, 100, -70));
  EXPECT_TRUE(Hits(100, -50, 100, -69));
  // An exploding meteor can't be hit.
  EXPECT_FALSE(Hits(sx, sy, sx, sy, 3));
}

TEST(Collisions, HitFreesTheShotSpawnsFiftySparksAndSetsTheSound) {
  auto w = FreshWorld();
  w->MaxMeteors = 3;
  w->ShipX = 400; w->Volume = 50;
  w->ShotOn[0] = 1; w->ShotX[0] = 100; w->ShotY[0] = 100;
  // Two overlapping meteors and one far away.
  w->MeteorX[0] = 90; w->MeteorY[0] = 100;
  w->MeteorX[1] = 95; w->MeteorY[1] = 110;
  w->MeteorX[2] = 500; w->MeteorY[2] = 300;
  w->GamePhase = 5; w->TimeLeft = 500;
  CheckCollisions(*w);
  EXPECT_EQ(w->ShotOn[0], 0);
  EXPECT_EQ(w->MeteorBlast[0], 1);
  EXPECT_EQ(w->MeteorBlast[1], 1);  // the same shot goes on testing
  EXPECT_EQ(w->MeteorBlast[2], 0);
  EXPECT_EQ(w->Score, 2);
  EXPECT_EQ(SparksOn(*w), 100);    // two bursts of 50
  EXPECT_EQ(w->PlayVolume, -500);
  EXPECT_EQ(w->PlayPan, 1000);     // the ship's position, not the meteor's
  // The first burst is around the first meteor (+30, +30 +-20).
  EXPECT_GE(w->ParticleX[0], 120 - 20);
  EXPECT_LT(w->ParticleX[0], 120 + 20);
}

TEST(Collisions, ScoreCountsOnlyWhileTheClockIsBetween1And999) {
  struct Case { int32_t phase, timeLeft, score; };
  const Case cases[] = {{5, 0, 0}, {5, 1, 1}, {5, 999, 1}, {5, 1000, 0}, {5, 1010, 0},
                        {0, 500, 0}};
  for (const Case& c : cases) {
    auto w = FreshWorld();
    w->MaxMeteors = 1;
    w->ShotOn[0] = 1; w->ShotX[0] = 100; w->ShotY[0] = 100;
    w->MeteorX[0] = 100; w->MeteorY[0] = 100;
    w->GamePhase = c.phase; w->TimeLeft = c.timeLeft;
    CheckCollisions(*w);
    EXPECT_EQ(w->MeteorBlast[0], 1);
    EXPECT_EQ(w->Score, c.score) << c.phase << " " << c.timeLeft;
  }
}

TEST(Sparks, SpawnFillsTheLowestFreeSlotsAndTheExtraOneDrawsThenFrees) {
  auto w = FreshWorld();
  w->RandSeed = 5;
  w->ParticleOn[0] = 1;
  SpawnParticles(*w, 300, 200, 3);
  // Slots 1, 2, 3 filled; slot 4 filled with five draws and freed again.
  EXPECT_EQ(SparksOn(*w), 4);
  EXPECT_EQ(w->ParticleOn[4], 0);
  EXPECT_EQ(DrawsBetween(5, w->RandSeed), 20);
  RefRandom r{5};
  EXPECT_EQ(w->ParticleX[1], 300 + r.Next(40) - 20);
  EXPECT_EQ(w->ParticleY[1], 200 + r.Next(40) - 20);
  EXPECT_EQ(w->ParticleAngle[1], r.Next(360));
  EXPECT_EQ(w->ParticleSpeed[1], r.Next(8) + 1);
  EXPECT_EQ(w->ParticleLife[1], r.Next(5) + 15);
}

TEST(Sparks, PoolExhaustionGivesFewerOrNoSparksButTheMeteorStillExplodes) {
  auto w = FreshWorld();
  for (int s = 0; s < 170; ++s) w->ParticleOn[s] = 1;
  SpawnParticles(*w, 0, 0, 50);
  EXPECT_EQ(SparksOn(*w), 200);  // only 30 were free: no extra draw
  const uint32_t before = w->RandSeed;
  w->MaxMeteors = 1;
  w->ShotOn[0] = 1; w->ShotX[0] = 100; w->ShotY[0] = 100;
  w->MeteorX[0] = 100; w->MeteorY[0] = 100;
  CheckCollisions(*w);
  EXPECT_EQ(w->MeteorBlast[0], 1);
  EXPECT_EQ(w->RandSeed, before);  // no slot, no draws
}

TEST(Sparks, FlyAgeAndDrawWithTheDocumentedDraws) {
  auto w = FreshWorld();
  BuildDirectionTables(*w);
  w->ParticleOn[0] = 1; w->ParticleX[0] = 100; w->ParticleY[0] = 100;
  w->ParticleAngle[0] = 90; w->ParticleSpeed[0] = 5; w->ParticleLife[0] = 15;
  // Life 14 and 13: flame boxes, twelve draws each; 12..10: one draw; below
  // none; drawn the last time with life -1, then the slot is free.
  const int expectedDraws[] = {12, 12, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (int f = 0; f < 16; ++f) {
    const uint32_t before = w->RandSeed;
    UpdateParticles(*w);
    EXPECT_EQ(DrawsBetween(before, w->RandSeed), expectedDraws[f]) << f;
    EXPECT_EQ(w->ParticleY[0], 100 - 5 * (f + 1));
    EXPECT_EQ(w->ParticleLife[0], 14 - f);
    EXPECT_EQ(w->ParticleOn[0], f < 15 ? 1 : 0);
  }
  UpdateParticles(*w);
  EXPECT_EQ(w->ParticleY[0], 100 - 5 * 16);  // free: no longer moved
}

}  // namespace
