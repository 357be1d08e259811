// The SDL2 presenter: a full-screen window on the desktop's own mode, the
// 640 x 480 picture scaled with nearest-neighbour pixels into the largest
// centred 4:3 rectangle, black borders. Event handling stays with the
// application's SDL pump. The picture is drawn by the first of the
// platform's drawing ways (sdl_picture_way.h) that starts.
#include <SDL.h>

#include <atomic>
#include <cstddef>
#include <string>

#include "base/diagnostic.h"
#include "base/picture.h"
#include "video/monitor_covers.h"
#include "video/presenter.h"
#include "video/picture_mapping.h"
#include "video/sdl_picture_way.h"

void ReportSdlFailure(const std::string& what) {
  ReportProblem("SDL picture: " + what + " (" + SDL_GetError() + ")");
}

namespace {

class SdlPresenter;
SdlPresenter* g_active = nullptr;

// SDL's video subsystem; false, said on stderr, when it doesn't start.
bool StartVideo() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
  ReportSdlFailure("SDL_InitSubSystem(SDL_INIT_VIDEO) failed");
  return false;
}

// A display to show the picture on; said on stderr when there is none.
bool HasDisplay() {
  if (SDL_GetNumVideoDisplays() > 0) return true;
  ReportProblem("SDL picture: no display to show the picture on");
  return false;
}

class SdlPresenter : public Presenter {
 public:
  ~SdlPresenter() override { Close(); }

  bool Open(const std::string& title) override {
    if (open_) return true;
    if (!StartVideo()) return false;
    videoStarted_ = true;
    if (!HasDisplay() || !MakeWindow(title) || !StartDrawing()) {
      Close();
      return false;
    }
    open_ = true;
    g_active = this;
    return true;
  }

  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    if (!open_) return;
    if (exposed_.exchange(false)) way_->Invalidate();
    way_->Draw(pixels, pitch, argb);
  }

  void Close() override {
    if (g_active == this) g_active = nullptr;
    open_ = false;
    SDL_DelEventWatch(WatchWindow, this);
    way_.reset();  // before the window it draws into goes
    CloseMonitorCovers();
    if (window_) DestroyFullScreenWindow(window_);
    window_ = nullptr;
    if (videoStarted_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoStarted_ = false;
  }

  SDL_Window* Window() const { return window_; }

 private:
  // The full-screen window on the first display, topmost and borderless.
  bool MakeWindow(const std::string& title) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    // Leaving the window (an error box on top, another program) must not
    // iconify the picture.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_Rect bounds{0, 0, kPictureWidth, kPictureHeight};
    SDL_GetDisplayBounds(0, &bounds);
    window_ = SDL_CreateWindow(title.c_str(), bounds.x, bounds.y, bounds.w, bounds.h,
                               SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_ALWAYS_ON_TOP |
                                   SDL_WINDOW_BORDERLESS | PictureWindowFlags());
    if (window_ == nullptr) {
      ReportSdlFailure("SDL_CreateWindow failed");
      return false;
    }
    // Every other monitor goes black for as long as the picture window exists.
    OpenMonitorCovers(window_);
    return true;
  }

  // The first way that starts draws. It must hear when the window lost its
  // pixels (uncovered, shown again), for a way that draws only what changed.
  bool StartDrawing() {
    for (const SdlPictureWayMaker make : SdlPictureWays()) {
      way_ = make();
      if (way_->Start(window_)) {
        SDL_AddEventWatch(WatchWindow, this);
        ShowPictureWindow(window_);
        return true;
      }
    }
    way_.reset();
    return false;
  }

  static int WatchWindow(void* self, SDL_Event* e) {
    auto* p = static_cast<SdlPresenter*>(self);
    if (e->type == SDL_WINDOWEVENT && p->window_ != nullptr && e->window.windowID == SDL_GetWindowID(p->window_)) {
      switch (e->window.event) {
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          p->exposed_ = true;
          break;
        default:
          break;
      }
    }
    return 1;
  }

  bool open_ = false;
  std::atomic<bool> exposed_{false};
  bool videoStarted_ = false;
  SDL_Window* window_ = nullptr;
  std::unique_ptr<SdlPictureWay> way_;
};

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
  if (!StartVideo()) return false;
  const bool ok = HasDisplay();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return ok;
}
