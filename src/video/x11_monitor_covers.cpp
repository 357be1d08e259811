// The covers on X11: the window's background is black, so the X server
// itself paints every exposed part and no frame ever draws into a cover.
#include <SDL.h>
#include <SDL_syswm.h>

#include "video/monitor_covers.h"
#include "video/monitor_covers_parts.h"

void PaintCoverBlack(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) == SDL_TRUE && info.subsystem == SDL_SYSWM_X11) {
    // Pixel 0 is black in every TrueColor visual that SDL picks.
    XSetWindowBackground(info.info.x11.display, info.info.x11.window, 0);
    XClearWindow(info.info.x11.display, info.info.x11.window);
    XFlush(info.info.x11.display);
    return;
  }
  FillWindowBlack(window);
}

void DestroyFullScreenWindow(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    Display* dpy = info.info.x11.display;
    XWithdrawWindow(dpy, info.info.x11.window, DefaultScreen(dpy));
    XSync(dpy, False);
  }
  SDL_DestroyWindow(window);
}
