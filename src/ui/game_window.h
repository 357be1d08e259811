// The screen saver's game window: a small borderless start-up window while
// the game starts, and the game's host for its run. Its creation handler
// runs the whole start of the game and then the game run, which ends the
// program.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "game/host.h"
#include "game/world_state.h"
#include "shell/form.h"

class Fl_Box;
class PictureInputSource;

// The game inside a screen-saver daemon's window: the demo with the settings
// file's values, without a start-up window, an error window or a message
// box, and without touching the high-score file. The daemon owns input and
// decides when the run ends.
struct DaemonRun {
  // The installed data files' folder, for a run without a settings file
  // (or whose settings name a folder without the data files); empty when no
  // installed data files were found.
  std::string installedDataFolder;
  // Runs when no data files can be found at all: shows a black picture until
  // the run is ended; does not return.
  std::function<void()> noData;
  // The daemon's "-sound" (true) or "-no-sound" (false).
  std::optional<bool> sound;
};
// Whether such a run is asked to play sound: only by the daemon's "-sound"
// (its own sound checkbox), whatever the settings file says.
bool DaemonSoundAsked(const DaemonRun& run);

class GameWindow : public Form, public GameHost {
 public:
  // A headless window has no FLTK window (tests, a daemon's window).
  explicit GameWindow(WorldState& world = World(), bool headless = false,
                      std::optional<DaemonRun> daemon = std::nullopt);
  ~GameWindow() override;

  // The settings, the tables, the stars, the sound effects, then the run.
  void FormCreate() override;
  void FormActivate() override;
  // Writes the records back.
  void FormDestroy() override;

  // After a creation that did not start the game: a quitting key or click
  // closes the start-up window and so ends the message loop.
  void EndIfStranded();
  // Runs inside a screen-saver daemon's window (DaemonRun).
  bool InDaemonWindow() const;

  // The game's host.
  void ProcessMessages() override;
  void WaitMessages(uint32_t timeoutMs) override;
  void GiveWayToPicture() override;
  void HideGameWindow() override;

  WorldState& w;
  const bool headless;

 protected:
  void End() override;
  void Fail(const std::string& text) override;

 private:
  void ShowCentered();
  // False when the start ends here (the message has been shown).
  bool ReadSettings();
  // Setup's defaults and the installed data files, for a run inside a
  // daemon's window whose settings file gives no usable data folder.
  void UseInstalledData();
  // Inside a daemon's window (a lock screen, a preview) the daemon decides:
  // sound is off unless it passes "-sound".
  void ChooseDaemonSound();

  const std::optional<DaemonRun> daemon_;
  Fl_Box* image1_ = nullptr;
  Fl_Box* label1_ = nullptr;
  bool createFinished_ = false;
  std::unique_ptr<PictureInputSource> input_;
};

extern GameWindow* GameForm;
