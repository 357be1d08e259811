// The ways of an X11 desktop: the X server scales the picture (XRender), or
// the X11 drawer scales it into an image of the picture's size, through
// SDL's own connection and window (one connection: one I/O error handler
// for the whole program); no OpenGL is loaded to find out which. SDL's
// renderer serves the other video drivers.
#include <SDL.h>
#include <SDL_syswm.h>

#include "video/sdl_picture_way.h"
#include "video/x11_picture.h"

namespace {

class X11DrawerWay : public SdlPictureWay {
 public:
  // False on another video driver, without a word: the way is not for it.
  bool Start(SDL_Window* window) override {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    Display* dpy = info.info.x11.display;
    return drawer_.Start(dpy, info.info.x11.window, ww, wh, true, QueryX11Capabilities(dpy));
  }
  void Draw(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    drawer_.Draw(pixels, pitch, argb);
  }
  void Invalidate() override { drawer_.Invalidate(); }

 private:
  X11PictureDrawer drawer_;  // stops drawing as it goes
};

std::unique_ptr<SdlPictureWay> MakeX11DrawerWay() { return std::make_unique<X11DrawerWay>(); }

constexpr SdlPictureWayMaker kWays[] = {MakeX11DrawerWay, MakeSdlRendererWay};

}  // namespace

std::span<const SdlPictureWayMaker> SdlPictureWays() { return kWays; }

// Mapped as it is made: the window manager places it while the way starts.
uint32_t PictureWindowFlags() { return 0; }

void ShowPictureWindow(SDL_Window* window) { SDL_RaiseWindow(window); }
