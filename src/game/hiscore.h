// The high-score file score.dat: 51 little-endian 16-bit entries. It lives in
// the install folder; where that folder's copy can't be used (a package's
// folder, another user's file in a shared folder, a link), the per-user
// folder the game is handed (WorldState::UserFolder) keeps the records once
// a game stores one, and from then on its copy is the one read.
#pragma once

struct WorldState;

// Reads the records (creating the file when there is none) and decides
// where they are written back.
void LoadHighScores(WorldState& w);
// Writes the records back, replacing the file in one step.
void SaveHighScores(WorldState& w);

// What lies at one of the two places of score.dat.
enum class ScoreFileState {
  Missing,
  Usable,      // a regular file that could be read
  Link,        // a symbolic link: never followed
  NotRegular,  // a folder, a FIFO, a device
  Unreadable,  // a regular file that can't be read (its records unknown)
};
enum class ScorePlace { None, Install, System };
struct ScoreChoice {
  ScorePlace readFrom = ScorePlace::None;
  ScorePlace writeTo = ScorePlace::None;
};
// Where the records are read from and written to: the system folder's copy
// first; else the install folder's, written back there when it (or, when
// there is none, its folder) can be written; else the system folder. A file
// whose records can't be read is never written over.
ScoreChoice ChooseScoreFiles(ScoreFileState system, ScoreFileState install, bool installWritable);
