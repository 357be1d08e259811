// The SDL2 presenter: a full-screen window on the desktop's own mode, the
// 640 x 480 picture scaled with nearest-neighbour pixels into the largest
// centred 4:3 rectangle, black borders. The only code of the display layer
// that knows SDL. Event handling stays with the application's SDL pump.
#include <SDL.h>

#include <cstddef>

#include "video/presenter.h"

namespace {

class SdlPresenter;
SdlPresenter* g_active = nullptr;

// True when OpenGL on this display is only a software rasteriser (Mesa's
// llvmpipe, softpipe or swrast), or there is no OpenGL at all.
bool SoftwareOpenGL() {
  SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (probe == nullptr) return true;
  bool software = true;
  if (SDL_GLContext context = SDL_GL_CreateContext(probe); context != nullptr) {
    using GetString = const unsigned char* (*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    const unsigned char* name = getString != nullptr ? getString(0x1F01 /* GL_RENDERER */) : nullptr;
    if (name != nullptr) {
      const char* n = reinterpret_cast<const char*>(name);
      software = SDL_strstr(n, "llvmpipe") != nullptr || SDL_strstr(n, "softpipe") != nullptr ||
                 SDL_strstr(n, "swrast") != nullptr || SDL_strstr(n, "Software") != nullptr;
    }
    SDL_GL_DeleteContext(context);
  }
  SDL_DestroyWindow(probe);
  return software;
}

class SdlPresenter : public Presenter {
 public:
  ~SdlPresenter() override { Close(); }

  bool Open(const std::string& title) override {
    if (open_) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    videoStarted_ = true;
    if (SDL_GetNumVideoDisplays() < 1) {
      Close();
      return false;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    // Leaving the window (an error box on top, another program) must not
    // iconify the picture.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_Rect bounds{0, 0, 640, 480};
    SDL_GetDisplayBounds(0, &bounds);
    window_ = SDL_CreateWindow(title.c_str(), bounds.x, bounds.y, bounds.w, bounds.h,
                               SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP |
                                   SDL_WINDOW_BORDERLESS);
    if (window_ == nullptr) {
      Close();
      return false;
    }
    // The window's own X11 image, filled by our own conversion (and scaling),
    // is the cheapest way to the screen unless a real GPU can do the
    // scaling: at the picture's own size (a 640 x 480 desktop) always, and
    // whenever OpenGL is only a software rasteriser, which SDL's renderer
    // would otherwise use for every frame.
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    const PictureRect rect = LetterboxRect(ww, wh);
    const char* driver = SDL_GetCurrentVideoDriver();
    const bool x11 = driver != nullptr && SDL_strcmp(driver, "x11") == 0;
    if (x11 && ((rect.w == 640 && rect.h == 480) || SoftwareOpenGL())) {
      // The X11 shared-memory image, not a texture behind the surface.
      SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
      SDL_Surface* surface = SDL_GetWindowSurface(window_);
      if (surface != nullptr && surface->format->BytesPerPixel == 4 &&
          surface->format->Rmask == 0x00FF0000u && surface->format->Gmask == 0x0000FF00u &&
          surface->format->Bmask == 0x000000FFu) {
        surface_ = surface;
        rect_ = rect;
        scaler_.Resize(rect.w, rect.h);
        SDL_FillRect(surface_, nullptr, 0);
        SDL_UpdateWindowSurface(window_);
        SDL_RaiseWindow(window_);
        open_ = true;
        g_active = this;
        return true;
      }
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
      Close();
      return false;
    }
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                 SDL_TEXTUREACCESS_STREAMING, 640, 480);
    if (texture_ == nullptr) {
      Close();
      return false;
    }
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest);
    // The full-screen window keeps its size: the picture's place in the
    // renderer's pixels is worked out once.
    int ow = 0, oh = 0;
    if (SDL_GetRendererOutputSize(renderer_, &ow, &oh) != 0) SDL_GetWindowSize(window_, &ow, &oh);
    rect_ = LetterboxRect(ow, oh);
    SDL_RaiseWindow(window_);
    // A black picture until the first flip.
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderPresent(renderer_);
    open_ = true;
    g_active = this;
    return true;
  }

  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    if (!open_) return;
    if (surface_ != nullptr) {
      if (SDL_MUSTLOCK(surface_) && SDL_LockSurface(surface_) != 0) return;
      uint8_t* base = static_cast<uint8_t*>(surface_->pixels) + static_cast<ptrdiff_t>(rect_.y) * surface_->pitch +
                      static_cast<ptrdiff_t>(rect_.x) * 4;
      scaler_.Scale(pixels, pitch, argb, reinterpret_cast<uint32_t*>(base), surface_->pitch);
      if (SDL_MUSTLOCK(surface_)) SDL_UnlockSurface(surface_);
      const SDL_Rect r{rect_.x, rect_.y, rect_.w, rect_.h};
      SDL_UpdateWindowSurfaceRects(window_, &r, 1);
      return;
    }
    void* dst = nullptr;
    int dstPitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &dst, &dstPitch) == 0) {
      ConvertToArgb(pixels, pitch, argb, static_cast<uint32_t*>(dst), dstPitch);
      SDL_UnlockTexture(texture_);
    }
    const SDL_Rect dr{rect_.x, rect_.y, rect_.w, rect_.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &dr);
    SDL_RenderPresent(renderer_);
  }

  void Close() override {
    if (g_active == this) g_active = nullptr;
    open_ = false;
    surface_ = nullptr;  // owned by the window
    if (texture_) SDL_DestroyTexture(texture_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    if (window_) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted_ = false;
  }

  SDL_Window* Window() const { return window_; }

 private:
  bool open_ = false;
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Surface* surface_ = nullptr;  // the window's X11 image, when drawn into directly
  PictureRect rect_;                // where the picture lies in the window's pixels
  PictureScaler scaler_;
};

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// The picture window's place and size on the desktop.
bool ActiveWindow(int& x, int& y, int& w, int& h) {
  if (g_active == nullptr || g_active->Window() == nullptr) return false;
  SDL_GetWindowPosition(g_active->Window(), &x, &y);
  SDL_GetWindowSize(g_active->Window(), &w, &h);
  return true;
}

}  // namespace

std::unique_ptr<Presenter> MakeSdlPresenter() { return std::make_unique<SdlPresenter>(); }

bool PictureActive() { return g_active != nullptr; }

uint32_t PictureWindowId() {
  return g_active && g_active->Window() ? SDL_GetWindowID(g_active->Window()) : 0;
}

void PictureToWindowPoint(int32_t winW, int32_t winH, int32_t px, int32_t py, int32_t& wx, int32_t& wy) {
  const PictureRect r = LetterboxRect(winW, winH);
  // Rounded up, so that a point read back maps to the same picture point
  // (WindowPointToPicture rounds down): the cursor read-back, which sets the
  // pointer where it reads it, must not make it creep away from where it was
  // parked and end the screen saver.
  wx = static_cast<int32_t>(r.x + CeilDiv(int64_t{px} * r.w, 640));
  wy = static_cast<int32_t>(r.y + CeilDiv(int64_t{py} * r.h, 480));
}

void WindowPointToPicture(int32_t winW, int32_t winH, int32_t wx, int32_t wy, int32_t& px, int32_t& py) {
  const PictureRect r = LetterboxRect(winW, winH);
  if (r.w <= 0 || r.h <= 0) {
    px = wx;
    py = wy;
    return;
  }
  px = static_cast<int32_t>(FloorDiv((int64_t{wx} - r.x) * 640, r.w));
  py = static_cast<int32_t>(FloorDiv((int64_t{wy} - r.y) * 480, r.h));
}

void PictureToDesktop(int32_t px, int32_t py, int32_t& dx, int32_t& dy) {
  int x = 0, y = 0, w = 0, h = 0;
  if (!ActiveWindow(x, y, w, h)) {
    dx = px;
    dy = py;
    return;
  }
  PictureToWindowPoint(w, h, px, py, dx, dy);
  dx += x;
  dy += y;
}

void WindowToPicture(int32_t wx, int32_t wy, int32_t& px, int32_t& py) {
  int x = 0, y = 0, w = 0, h = 0;
  if (!ActiveWindow(x, y, w, h)) {
    px = wx;
    py = wy;
    return;
  }
  WindowPointToPicture(w, h, wx, wy, px, py);
}

void DesktopToPicture(int32_t dx, int32_t dy, int32_t& px, int32_t& py) {
  int x = 0, y = 0, w = 0, h = 0;
  if (!ActiveWindow(x, y, w, h)) {
    px = dx;
    py = dy;
    return;
  }
  WindowPointToPicture(w, h, dx - x, dy - y, px, py);
}

bool ProbeDisplay() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  const bool ok = SDL_GetNumVideoDisplays() > 0;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return ok;
}
