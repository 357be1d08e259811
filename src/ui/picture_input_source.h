// The input of the game picture's windows as window messages for the game
// window: keys, mouse positions in picture pixels, the left button's click,
// and the request to close. Input over the black covers of the other
// monitors counts as the picture window's.
#pragma once

#include <cstdint>

#include "shell/application.h"

class TForm1;
struct PictureInput;

// Turns button presses and releases into clicks: a click is a release of the
// left button that follows its press. Other buttons never click.
class ClickTracker {
 public:
  // button: 1 left, 2 middle, 3 right.
  void Button(TForm1& form, uint8_t button, bool down);

 private:
  bool leftDown_ = false;
};

class GameInputSource : public MessageSource {
 public:
  explicit GameInputSource(TForm1& form) : form_(form) {}
  // Handles all pending input (nothing when the picture's events are not up).
  void Pump() override;
  // One input: keys, motion, buttons and quit go to the game window.
  void Handle(const PictureInput& in);

 private:
  TForm1& form_;
  ClickTracker clicks_;
};
