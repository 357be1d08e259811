#include "main/game_input_source.h"

#include <SDL.h>

#include "main/unit1.h"
#include "platform/keycodes.h"
#include "video/presenter.h"

void ClickTracker::Button(TForm1& form, uint8_t button, bool down) {
  if (button != SDL_BUTTON_LEFT) return;
  if (down) {
    leftDown_ = true;
  } else if (leftDown_) {
    leftDown_ = false;
    form.FormClick();
  }
}

void GameInputSource::Pump() {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  SDL_Event e;
  while (SDL_PollEvent(&e) != 0) HandleEvent(e);
}

void GameInputSource::HandleEvent(const SDL_Event& e) {
  switch (e.type) {
    case SDL_KEYDOWN:
      // Auto-repeat arrives as further key downs, as on the original.
      form_.FormKeyDown(VirtualKeyFromSdl(e.key.keysym.scancode, e.key.keysym.sym));
      break;
    case SDL_KEYUP:
      form_.FormKeyUp(VirtualKeyFromSdl(e.key.keysym.scancode, e.key.keysym.sym));
      break;
    case SDL_MOUSEMOTION: {
      int32_t px = 0;
      int32_t py = 0;
      WindowToPicture(e.motion.x, e.motion.y, px, py);
      form_.FormMouseMove(px, py);
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
      clicks_.Button(form_, e.button.button, true);
      break;
    case SDL_MOUSEBUTTONUP:
      clicks_.Button(form_, e.button.button, false);
      break;
    case SDL_QUIT:
      form_.QuitRequested = true;
      break;
    default:
      break;
  }
}
