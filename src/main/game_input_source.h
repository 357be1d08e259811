// The game picture's SDL events as window messages for the game window:
// keys as virtual-key codes, mouse positions in picture pixels, the left
// button's click, and the request to close.
#pragma once

#include <cstdint>

#include "app/application.h"

class TForm1;
union SDL_Event;

// Turns button presses and releases into clicks: a click is a release of the
// left button that follows its press. Other buttons never click.
class ClickTracker {
 public:
  // button: SDL's numbering (1 left, 2 middle, 3 right).
  void Button(TForm1& form, uint8_t button, bool down);

 private:
  bool leftDown_ = false;
};

class GameInputSource : public MessageSource {
 public:
  explicit GameInputSource(TForm1& form) : form_(form) {}
  // Handles every pending SDL event (nothing when SDL's events are not up).
  void Pump() override;
  // One event: keys, motion, buttons and quit go to the game window.
  void HandleEvent(const SDL_Event& e);

 private:
  TForm1& form_;
  ClickTracker clicks_;
};
