#include "ui/picture_input_source.h"

#include "game/world_state.h"
#include "video/picture_input.h"

void PictureInputSource::Pump() {
  PictureInput in;
  while (NextPictureInput(in)) Handle(in);
}

void PictureInputSource::Handle(const PictureInput& in) {
  switch (in.kind) {
    case PictureInput::Kind::KeyDown:
      HandleKeyDown(w_, in.key);
      break;
    case PictureInput::Kind::KeyUp:
      HandleKeyUp(w_, in.key);
      break;
    case PictureInput::Kind::MouseMove:
      HandleMouseMove(w_, in.x, in.y);
      break;
    case PictureInput::Kind::ButtonDown:
      clicks_.Button(w_, in.button, true);
      break;
    case PictureInput::Kind::ButtonUp:
      clicks_.Button(w_, in.button, false);
      break;
    case PictureInput::Kind::Quit:
      w_.QuitRequested = true;
      break;
  }
}
