// The presenter for an X window that another program owns (a screen-saver
// daemon's window or the root window): a connection of its own, the window
// only watched for its size, exposures and its end, never changed.
#include <X11/Xlib.h>

#include <string>

#include "base/diagnostic.h"
#include "video/presenter.h"
#include "video/x11_errors.h"
#include "video/x11_picture.h"

namespace {

class ForeignWindowPresenter;
// The presenter whose requests are being made; errors on its connection
// (the window destroyed by its owner) stop its drawing instead of the
// process.
ForeignWindowPresenter* g_serving = nullptr;
XErrorHandler g_otherHandler = nullptr;
bool g_windowLost = false;

// What the window's events since the last picture told.
struct WindowNews {
  int32_t width = -1;  // its new size; -1 when it has none
  int32_t height = -1;
  bool exposed = false;
};

class ForeignWindowPresenter : public Presenter {
 public:
  explicit ForeignWindowPresenter(unsigned long window) : window_(window) {}
  ~ForeignWindowPresenter() override { Close(); }

  bool Open(const std::string&) override {
    if (dpy_ != nullptr) return true;
    dpy_ = XOpenDisplay(nullptr);
    if (dpy_ == nullptr) {
      Report(std::string("XOpenDisplay failed for display \"") + XDisplayName(nullptr) + "\"");
      return false;
    }
    const bool ok = StartDrawing();
    if (!ok) Close();
    return ok;
  }

  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    if (dpy_ == nullptr || failed_) return;
    Serving serving(this);
    const WindowNews news = TakeEvents();
    if (!failed_) Follow(news);
    if (!failed_) drawer_.Draw(pixels, pitch, argb);
    if (failed_ || !drawer_.Started()) StopDrawing();
  }

  void Close() override {
    if (dpy_ == nullptr) return;
    {
      Serving serving(this);
      drawer_.Stop();
      XSync(dpy_, False);
    }
    // Closing the connection frees whatever of ours is left on the server
    // and the window's event selection; the window stays as its owner left it.
    XCloseDisplay(dpy_);
    dpy_ = nullptr;
    failed_ = false;
    ended_ = false;
    error_ = 0;
  }

 private:
  // Watches the window and starts drawing into it; false when either fails.
  bool StartDrawing() {
    Serving serving(this);
    XWindowAttributes attrs{};
    if (XGetWindowAttributes(dpy_, window_, &attrs) == 0 || failed_) {
      // Its owner destroyed it since start-up looked: said as then.
      if (error_ == BadWindow) ReportProblem(X11MissingWindowText(dpy_, window_));
      else ReportRefusal("XGetWindowAttributes failed");
      return false;
    }
    // Only its size, exposures and its end: the owner keeps the input.
    XSelectInput(dpy_, window_, StructureNotifyMask | ExposureMask);
    XSync(dpy_, False);
    width_ = attrs.width;
    height_ = attrs.height;
    const bool tried = !failed_;
    const bool started = tried && drawer_.Start(dpy_, window_, width_, height_, false, QueryX11Capabilities(dpy_));
    XSync(dpy_, False);
    if (tried && !started) return false;  // the drawer has said why
    if (failed_) ReportRefusal("the X server refused the drawing");
    return !failed_;
  }

  // The window's events since the last picture.
  WindowNews TakeEvents() {
    WindowNews news;
    while (!failed_ && XPending(dpy_) > 0) {
      XEvent e;
      XNextEvent(dpy_, &e);
      if (e.xany.window != window_) continue;
      switch (e.type) {
        case ConfigureNotify:
          news.width = e.xconfigure.width;
          news.height = e.xconfigure.height;
          break;
        case Expose:
          news.exposed = news.exposed || e.xexpose.count == 0;
          break;
        case DestroyNotify:
          failed_ = true;
          ended_ = true;
          break;
        default:
          break;
      }
    }
    return news;
  }

  // A new size places the picture again and paints the new borders; an
  // exposure paints the borders, and the whole picture is drawn next.
  void Follow(const WindowNews& news) {
    if (news.width >= 0 && (news.width != width_ || news.height != height_)) {
      width_ = news.width;
      height_ = news.height;
      drawer_.Resize(width_, height_);
      return;
    }
    if (news.exposed) {
      drawer_.PaintBorders();
      drawer_.Invalidate();
    }
  }

  // The window is gone (or can't be drawn into any more): nothing more is
  // drawn; what we made on the server goes now. Said on stderr when the
  // server refused a request, unless the owner ended the window.
  void StopDrawing() {
    XEvent e;
    if (error_ != 0 && !ended_ && !XCheckTypedWindowEvent(dpy_, window_, DestroyNotify, &e)) {
      ReportRefusal("drawing stopped");
    }
    failed_ = true;
    g_windowLost = true;
    drawer_.Stop();
  }

  void Report(const std::string& text) const { ReportProblem("X11 window " + X11IdText(window_) + ": " + text); }
  // With the text of the first error the server sent.
  void ReportRefusal(const std::string& what) const {
    Report(error_ != 0 ? what + " (" + X11ErrorText(dpy_, error_) + ")" : what);
  }

  static int OnError(Display* dpy, XErrorEvent* e) {
    if (g_serving != nullptr && dpy == g_serving->dpy_) {
      g_serving->failed_ = true;
      if (g_serving->error_ == 0) g_serving->error_ = e->error_code;
      return 0;
    }
    return g_otherHandler != nullptr ? g_otherHandler(dpy, e) : 0;
  }

  // Our error handler for as long as requests of this presenter are made.
  struct Serving {
    explicit Serving(ForeignWindowPresenter* p) : previous(g_serving) {
      g_serving = p;
      g_otherHandler = XSetErrorHandler(OnError);
    }
    // Only calls on our connection read its errors, so an error of a request
    // made now comes in under this handler later, no need to wait for it.
    ~Serving() {
      XSetErrorHandler(g_otherHandler);
      g_serving = previous;
    }
    ForeignWindowPresenter* previous;
  };

  unsigned long window_;
  Display* dpy_ = nullptr;
  bool failed_ = false;
  bool ended_ = false;  // its owner destroyed the window
  int error_ = 0;       // the first error the server sent, 0 when none
  int32_t width_ = 0;   // the window's size as last seen
  int32_t height_ = 0;
  X11PictureDrawer drawer_;
};

}  // namespace

std::unique_ptr<Presenter> MakeForeignWindowPresenter(unsigned long xWindow) {
  return std::make_unique<ForeignWindowPresenter>(xWindow);
}

bool ForeignWindowLost() { return g_windowLost; }
