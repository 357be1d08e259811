// The game's routines: plain procedures over the world state, one per step
// of the frame, plus the preparations made before the first frame.
#pragma once

#include <cstdint>

struct WorldState;

// --- Preparations -----------------------------------------------------------
// Fills StepX and StepY, the particles' per-frame steps by angle and radius.
void BuildDirectionTables(WorldState& w);
// Places the 200 stars: per star Random(640), Random(480), Random(3).
void PlaceStars(WorldState& w);
// Places meteors 0..MaxMeteors-1 at the start of the run.
void PlaceMeteors(WorldState& w);

// --- Frame steps, in the order the frame runs them --------------------------
void CountFrame(WorldState& w);         // 1: FrameNo, WarmUpFrames
void RunGameClock(WorldState& w);       // 2: GamePhase, TimeLeft (only during a game)
void WatchIdle(WorldState& w);          // 3: IdleFrames, autopilot comeback
void NudgeCursor(WorldState& w);        // 4: cursor read-back every 101st frame
void DrawBackground(WorldState& w);     // 5: scrolling background strip
bool DrawStarField(WorldState& w);      // 6: locks the back buffer; false if it couldn't
void UpdateParticles(WorldState& w);    // 7: move, age and draw the sparks
void ClearPilotCommands(WorldState& w); // 8: when the autopilot is off
void SteerByJoystick(WorldState& w);    // 9: when JoystickOn = 1
void RunAutopilot(WorldState& w);       // 10: when Autopilot = 1
void MoveShip(WorldState& w);           // 11
void FireVolley(WorldState& w);         // 12
void UpdateShots(WorldState& w);        // 13
void UpdateMeteors(WorldState& w);      // 14
void CheckCollisions(WorldState& w);    // 15
void DrawShip(WorldState& w);           // 16
void DrawScore(WorldState& w);          // 17: score line, record, captions
void EndGameIfOver(WorldState& w);      // 17: the end-of-game test

// Steps 1 to 17 of one frame (everything but the wait and the flip). Returns
// false when the back buffer could not be locked for the star field; the
// frame stops there.
bool RunFrameSteps(WorldState& w);

// --- Pieces of the steps ------------------------------------------------------
// Moves the stars and writes them into a 640 x 480 buffer of palette indices
// (row pitch in bytes); only pixels of index 0 are written.
void DrawStars(WorldState& w, uint8_t* pixels, int32_t pitch);
// Puts up to `count` new sparks around (x, y).
void SpawnParticles(WorldState& w, int32_t x, int32_t y, int32_t count);
// The high-score entry for the current meteor count, or nullptr when the table
// has no entry for it (counts above 50).
uint16_t* HiScoreEntry(WorldState& w);
