// TForm1: the screen saver's game window. Its creation handler runs the whole
// start of the game and then the game run, which ends the program.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "shell/form.h"
#include "game/world_state.h"

class Fl_Box;

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
};

class TForm1 : public TForm {
 public:
  // A headless form has no FLTK window (tests, zuk-sim, a daemon's window).
  explicit TForm1(WorldState& world = World(), bool headless = false,
                  std::optional<DaemonRun> daemon = std::nullopt);
  ~TForm1() override;

  // unit1.cpp: lifecycle
  void FormCreate() override;
  void FormActivate() override;
  void FormDestroy() override;
  // Shows the cursor, releases the devices and puts the window back to a
  // normal, not topmost one; does not end the program.
  void RestoreDesktop();

  // frame_loop.cpp: the game run; ends the program.
  void Button1Click();

  // input.cpp: the window's input handlers (virtual-key codes; positions in
  // pixels of the 640 x 480 picture).
  void FormKeyDown(uint16_t key);
  void FormKeyUp(uint16_t key);
  void FormMouseMove(int32_t x, int32_t y);
  void FormClick();
  void FormDblClick() {}
  void FormDeactivate() {}

  // Window operations of the game run; nothing happens on a headless form.
  void HideStartupControls();   // Image1 and Button1
  void PrepareForGame();        // colour black, keyboard focus, Label1 hidden
  void MaximizeTopmost();
  void SetNotTopmost();
  void HideGameWindow();

  // After a creation that did not start the game: a quitting key or click
  // closes the start-up window and so ends the message loop.
  void EndIfStranded();

  // Runs inside a screen-saver daemon's window (DaemonRun).
  bool InDaemonWindow() const;

  bool QuitRequested = false;
  WorldState& w;
  const bool headless;

 private:
  // Setup's defaults and the installed data files, for a run inside a
  // daemon's window whose settings file gives no usable data folder.
  void UseInstalledData();

  const std::optional<DaemonRun> daemon_;
  Fl_Box* image1_ = nullptr;
  Fl_Box* label1_ = nullptr;
  bool createFinished_ = false;
};

extern TForm1* Form1;

// Reads joystick `number` (1-based) into x, y and buttons; x = 65537 when no
// joystick answers.
void ReadJoystick(int32_t number, int32_t& x, int32_t& y, int32_t& buttons);
