#include "ui/picture_input_source.h"

#include "ui/game_window.h"
#include "video/picture_input.h"

void ClickTracker::Button(TForm1& form, uint8_t button, bool down) {
  if (button != kLeftButton) return;
  if (down) {
    leftDown_ = true;
  } else if (leftDown_) {
    leftDown_ = false;
    form.FormClick();
  }
}

void GameInputSource::Pump() {
  PictureInput in;
  while (NextPictureInput(in)) Handle(in);
}

void GameInputSource::Handle(const PictureInput& in) {
  switch (in.kind) {
    case PictureInput::Kind::KeyDown:
      form_.FormKeyDown(in.key);
      break;
    case PictureInput::Kind::KeyUp:
      form_.FormKeyUp(in.key);
      break;
    case PictureInput::Kind::MouseMove:
      form_.FormMouseMove(in.x, in.y);
      break;
    case PictureInput::Kind::ButtonDown:
      clicks_.Button(form_, in.button, true);
      break;
    case PictureInput::Kind::ButtonUp:
      clicks_.Button(form_, in.button, false);
      break;
    case PictureInput::Kind::Quit:
      form_.QuitRequested = true;
      break;
  }
}
