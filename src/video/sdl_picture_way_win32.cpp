// The ways of a Windows desktop: SDL's renderer alone (Direct3D, or its
// software renderer where there is none).
#include <SDL.h>

#include "video/sdl_picture_way.h"

namespace {

constexpr SdlPictureWayMaker kWays[] = {MakeSdlRendererWay};

}  // namespace

std::span<const SdlPictureWayMaker> SdlPictureWays() { return kWays; }

// Hidden until the renderer has started, which takes a second and more under
// Wine: a window shown before it would stand black without the keyboard all
// that while, its thread answering nothing, so that a window manager's
// hand-over of the keyboard (Wine's X11 driver takes it only while the
// thread processes its messages) waits for the first frame.
uint32_t PictureWindowFlags() { return SDL_WINDOW_HIDDEN; }

// A screen saver started by Windows may take the foreground; showing and
// raising make the window the foreground window with the keyboard focus.
// Its messages are taken in at once (into SDL's queue, read with the first
// frame's input), so that a window manager's hand-over is answered now.
void ShowPictureWindow(SDL_Window* window) {
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
  SDL_PumpEvents();
}
