#include "video/picture_input.h"

#include <SDL.h>

#include "video/keycodes_sdl.h"
#include "video/monitor_covers.h"

bool NextPictureInput(PictureInput& in) {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return false;
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) {
    in = PictureInput{};
    switch (e.type) {
      case SDL_KEYDOWN:
      case SDL_KEYUP:
        in.kind = e.type == SDL_KEYDOWN ? PictureInput::Kind::KeyDown : PictureInput::Kind::KeyUp;
        in.key = VirtualKeyFromSdl(e.key.keysym.scancode, e.key.keysym.sym);
        return true;
      case SDL_MOUSEMOTION:
        in.kind = PictureInput::Kind::MouseMove;
        EventPointToPicture(e.motion.windowID, e.motion.x, e.motion.y, in.x, in.y);
        return true;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        in.kind = e.type == SDL_MOUSEBUTTONDOWN ? PictureInput::Kind::ButtonDown : PictureInput::Kind::ButtonUp;
        in.button = e.button.button;
        return true;
      case SDL_QUIT:
        in.kind = PictureInput::Kind::Quit;
        return true;
      default:
        break;
    }
  }
  return false;
}
