// TForm1: the screen saver's game window. Its creation handler runs the whole
// start of the game and then the game run, which ends the program.
#pragma once

#include <cstdint>

#include "app/form.h"
#include "main/world_state.h"

class Fl_Box;

class TForm1 : public TForm {
 public:
  // A headless form has no FLTK window (tests, zuk-sim).
  explicit TForm1(WorldState& world = World(), bool headless = false);
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

  bool QuitRequested = false;
  WorldState& w;
  const bool headless;

 private:
  Fl_Box* image1_ = nullptr;
  Fl_Box* label1_ = nullptr;
  bool createFinished_ = false;
};

extern TForm1* Form1;

// Reads joystick `number` (1-based) into x, y and buttons; x = 65537 when no
// joystick answers.
void ReadJoystick(int32_t number, int32_t& x, int32_t& y, int32_t& buttons);
