// Meteors, ship and shots: placing, moving, drawing and hitting.
#include "game/sound_effects.h"
#include "game/game.h"
#include "game/world_state.h"
#include "video/draw.h"

namespace {

// Gun offsets from (ShipX, ShipY) by lean: left, centre and right shot.
constexpr int32_t kGunX[7][3] = {
    {19, 55, 95}, {15, 53, 95}, {10, 51, 94}, {7, 50, 92},
    {4, 49, 89},  {3, 47, 85},  {3, 46, 80},
};
constexpr int32_t kGunY[3] = {0, -30, 0};

// The six stages of the small burst in sheet 3 (rows 423..478).
constexpr int32_t kBurstLeft[6] = {2, 59, 117, 175, 233, 291};
constexpr int32_t kBurstRight[6] = {56, 114, 172, 230, 283, 341};

// A new meteor at the top; the spin is drawn only when asked for.
void EnterMeteor(WorldState& w, int i, bool newSpin) {
  w.MeteorX[i] = w.Random(640);
  w.MeteorY[i] = -80;
  w.MeteorDX[i] = w.Random(10) - 5;
  w.MeteorDY[i] = w.Random(20) + 2;
  w.MeteorFrame[i] = w.Random(36);
  if (newSpin) {
    w.MeteorSpin[i] = w.Random(2);
  } else {
    w.MeteorBlast[i] = 0;
  }
}

}  // namespace

void PlaceMeteors(WorldState& w) {
  for (int32_t i = 0; i < w.MaxMeteors && i < kMeteorSlots; ++i) {
    w.MeteorX[i] = w.Random(640);
    w.MeteorY[i] = -w.Random(200);
    w.MeteorDX[i] = w.Random(10) - 5;
    w.MeteorDY[i] = w.Random(20) + 2;
    w.MeteorFrame[i] = w.Random(36);
    w.MeteorBlast[i] = 0;
    w.MeteorSpin[i] = w.Random(2);
  }
}

void MoveShip(WorldState& w) {
  const bool even = w.FrameNo % 2 == 0;
  if (w.PilotHorz == kDirLeft || w.KeyHorz == kDirLeft) {
    if (even && w.ShipBank > 0) w.ShipBank -= 1;
    w.ShipX -= 10;
  }
  if (w.PilotHorz == kDirRight || w.KeyHorz == kDirRight) {
    if (even && w.ShipBank < 6) w.ShipBank += 1;
    w.ShipX += 10;
  }
  if (w.PilotHorz == kDirNone && w.KeyHorz == kDirNone && even) {
    if (w.ShipBank > 3) w.ShipBank -= 1;
    if (w.ShipBank < 3) w.ShipBank += 1;
  }
  if (w.PilotVert == kDirUp || w.KeyVert == kDirUp) w.ShipY -= 10;
  if (w.PilotVert == kDirDown || w.KeyVert == kDirDown) w.ShipY += 10;
  if (w.ShipX < 0) w.ShipX = 0;
  if (w.ShipX > 518) w.ShipX = 518;
  if (w.ShipY < 0) w.ShipY = 0;
  if (w.ShipY > 349) w.ShipY = 349;
}

void FireVolley(WorldState& w) {
  if (w.PilotFire == 0 && w.KeyFire == 0) w.FireLatch = 0;
  if (w.FireLatch != 0 || (w.PilotFire != 1 && w.KeyFire != 1)) return;
  // The lean picks the guns; it is always 0..6, but never index outside.
  const int32_t bank = w.ShipBank < 0 ? 0 : (w.ShipBank > 6 ? 6 : w.ShipBank);
  int n = 0;
  for (int s = 0; s < kShotSlots; ++s) {
    if (w.ShotOn[s] != 0) continue;
    w.ShotOn[s] = 1;
    w.PlayVolume = w.Volume * 50 - 2500;
    w.PlayPan = w.ShipX * 10 - 3000;
    if (n == 0 && w.SoundOff == 0 && w.FireSound) w.FireSound->Play();
    w.ShotX[s] = w.ShipX + kGunX[bank][n];
    w.ShotY[s] = w.ShipY + kGunY[n];
    w.FireLatch = 1;
    if (n == 2) break;
    ++n;
  }
}

void UpdateShots(WorldState& w) {
  for (int s = 0; s < kShotSlots; ++s) {
    if (w.ShotOn[s] != 1) continue;
    if (w.ShotY[s] < -85) w.ShotOn[s] = 0;
    const int32_t x = w.ShotX[s];
    const int32_t y = w.ShotY[s];
    FillRect(w.Video, x - 1, y - 1, x + 1, y + 61, 251);
    FillRect(w.Video, x, y, x, y + 60, 249);
    w.ShotY[s] -= 50;
  }
}

void UpdateMeteors(WorldState& w) {
  for (int32_t i = 0; i < w.MaxMeteors && i < kMeteorSlots; ++i) {
    if (w.MeteorBlast[i] == 0) {
      w.MeteorX[i] += w.MeteorDX[i];
      w.MeteorY[i] += w.MeteorDY[i];
    }
    if (w.MeteorSpin[i] == 0) {
      w.MeteorFrame[i] += 1;
      if (w.MeteorFrame[i] == 36) w.MeteorFrame[i] = 0;
    } else if (w.MeteorSpin[i] == 1) {
      w.MeteorFrame[i] -= 1;
      if (w.MeteorFrame[i] == -1) w.MeteorFrame[i] = 35;
    }
    if (w.MeteorX[i] < -79 || w.MeteorX[i] > 639 || w.MeteorY[i] > 480) EnterMeteor(w, i, true);
    if (w.MeteorBlast[i] == 0) {
      // The frame is always 0..35 here; a cell outside the sheet's 36 would
      // only be clipped away, but keep the index honest anyway.
      const int32_t f = w.MeteorFrame[i];
      if (f >= 0 && f < 36) {
        const int32_t c = f % 8;
        const int32_t r = f / 8;
        Blit(w.Video, 1, w.MeteorX[i], w.MeteorY[i], 80 * c, 85 * r, 80 * c + 79, 85 * r + 84,
             kBlitKeyed);
      }
    }
    if (w.MeteorBlast[i] > 0) {
      const int32_t stage = w.MeteorBlast[i];
      for (int k = 0; k < 3; ++k) {
        const int32_t dx = w.Random(30) - 15;
        const int32_t dy = w.Random(30) - 15;
        if (stage >= 1 && stage <= 6) {
          Blit(w.Video, 3, w.MeteorX[i] + dx + 10, w.MeteorY[i] + dy, kBurstLeft[stage - 1], 423,
               kBurstRight[stage - 1], 478, kBlitKeyed);
        }
      }
      w.MeteorBlast[i] += 1;
      if (w.MeteorBlast[i] > 7) EnterMeteor(w, i, false);
    }
  }
}

void CheckCollisions(WorldState& w) {
  for (int s = 0; s < kShotSlots; ++s) {
    if (w.ShotOn[s] != 1) continue;
    const int32_t sx = w.ShotX[s];
    const int32_t sy = w.ShotY[s];
    for (int32_t i = 0; i < w.MaxMeteors && i < kMeteorSlots; ++i) {
      const int32_t mx = w.MeteorX[i];
      const int32_t my = w.MeteorY[i];
      if (my > -70 && w.MeteorBlast[i] == 0 && sx - 70 < mx && mx < sx + 10 && sy - 60 < my &&
          my < sy + 90) {
        SpawnParticles(w, mx + 30, my + 30, 50);
        w.ShotOn[s] = 0;
        w.PlayVolume = w.Volume * 50 - 3000;
        w.PlayPan = w.ShipX * 10 - 3000;
        if (w.SoundOff == 0 && w.BlastSound) w.BlastSound->Play();
        w.MeteorBlast[i] = 1;
        if (w.TimeLeft > 0 && w.TimeLeft < 1000 && w.GamePhase > 0) w.Score += 1;
      }
    }
  }
}

void DrawShip(WorldState& w) {
  w.ShipAnim += 1;
  if (w.ShipAnim >= 2) w.ShipAnim = 0;
  const int32_t bank = w.ShipBank < 0 ? 0 : (w.ShipBank > 6 ? 6 : w.ShipBank);
  const int32_t v = 2 * bank + w.ShipAnim;
  const int32_t left = (v % 6) * 100;
  const int32_t top = (v / 6) * 130;
  Blit(w.Video, 3, w.ShipX, w.ShipY, left, top, left + 99, top + 129, kBlitKeyed);
}
