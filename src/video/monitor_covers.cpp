// The covers over the other monitors: one SDL window per display, full
// screen on that display's desktop mode, topmost and borderless, painted
// black by the system's body (x11_monitor_covers.cpp, monitor_covers_win32.cpp).
#include "video/monitor_covers.h"
#include "video/monitor_covers_parts.h"

#include <SDL.h>

#include <string>
#include <vector>

#include "base/diagnostic.h"
#include "video/presenter.h"
#include "video/picture_mapping.h"

namespace {

std::vector<SDL_Window*>& Covers() {
  static std::vector<SDL_Window*> covers;
  return covers;
}

SDL_Window* CoverOf(uint32_t windowId) {
  for (SDL_Window* w : Covers()) {
    if (SDL_GetWindowID(w) == windowId) return w;
  }
  return nullptr;
}

}  // namespace

void FillWindowBlack(SDL_Window* window) {
  if (SDL_Surface* surface = SDL_GetWindowSurface(window); surface != nullptr) {
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(window);
  }
}

void OpenMonitorCovers(SDL_Window* picture) {
  if (picture == nullptr || !Covers().empty()) return;
  const int pictureDisplay = SDL_GetWindowDisplayIndex(picture);
  SDL_Rect pictureBounds;
  if (pictureDisplay < 0 || SDL_GetDisplayBounds(pictureDisplay, &pictureBounds) != 0) return;
  const int displays = SDL_GetNumVideoDisplays();
  for (int i = 0; i < displays; ++i) {
    SDL_Rect bounds;
    if (i == pictureDisplay || SDL_GetDisplayBounds(i, &bounds) != 0) continue;
    // A monitor that mirrors the picture's (or overlaps it) stays uncovered:
    // a cover there would hide the picture.
    if (SDL_HasIntersection(&bounds, &pictureBounds) == SDL_TRUE) continue;
    SDL_Window* cover = SDL_CreateWindow("", bounds.x, bounds.y, bounds.w, bounds.h,
                                         SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP |
                                             SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR);
    if (cover == nullptr) {
      ReportProblem("SDL picture: no cover for display " + std::to_string(i) + ": SDL_CreateWindow failed (" +
                    SDL_GetError() + ")");
      continue;
    }
    PaintCoverBlack(cover);
    Covers().push_back(cover);
  }
}

void CloseMonitorCovers() {
  for (SDL_Window* w : Covers()) DestroyFullScreenWindow(w);
  Covers().clear();
}

void EventPointToPicture(uint32_t windowId, int32_t x, int32_t y, int32_t& px, int32_t& py) {
  SDL_Window* cover = CoverOf(windowId);
  if (cover == nullptr) {
    WindowToPicture(x, y, px, py);
    return;
  }
  int left = 0;
  int top = 0;
  SDL_GetWindowPosition(cover, &left, &top);
  DesktopToPicture(left + x, top + y, px, py);
}
