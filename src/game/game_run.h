// The game run: its set-up, the frames until an input handler asks to stop,
// the clean-up and the end of the program.
#pragma once

#include <cstdint>

class GameHost;
struct WorldState;

// Runs the game in the display's picture; ends the program through the
// host, never returns. Without `keepScores` (inside a daemon's window) the
// high-score file is neither read nor written.
[[noreturn]] void RunGame(WorldState& w, GameHost& host, bool keepScores);

// The wait at the end of a frame: until at least FrameDelay ms have passed
// since the previous wait ended (measured as the absolute signed 32-bit
// difference of the tick counts, so a wrap of the counter keeps the wait
// short), handling window messages and blocking in the event wait meanwhile;
// then LastFrameTick takes the tick and pending messages are handled once
// more. An ending signal cuts the wait short.
void PaceFrame(WorldState& w, GameHost& host);

// Gives the desktop back before a message: the cursor shown, the sound
// effects and the display released.
void RestoreDesktop(WorldState& w);
