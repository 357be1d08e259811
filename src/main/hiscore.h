// The high-score file score.dat: 51 little-endian 16-bit entries.
#pragma once

struct WorldState;

void LoadHighScores(WorldState& w);
void SaveHighScores(WorldState& w);
