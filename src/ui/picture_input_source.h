// The input of the game picture's windows as window messages for the game's
// handlers: keys, mouse positions in picture pixels, the left button's click,
// and the request to close. Input over the black covers of the other
// monitors counts as the picture window's.
#pragma once

#include "game/input.h"
#include "shell/application.h"

struct PictureInput;
struct WorldState;

class PictureInputSource : public MessageSource {
 public:
  explicit PictureInputSource(WorldState& w) : w_(w) {}
  // Handles all pending input (nothing when the picture's events are not up).
  void Pump() override;
  // One input: keys, motion, buttons and quit go to the game.
  void Handle(const PictureInput& in);

 private:
  WorldState& w_;
  ClickTracker clicks_;
};
