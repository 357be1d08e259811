// The presenter for an X window that another program owns (a screen-saver
// daemon's window or the root window): a connection of its own, the window
// only watched for its size, exposures and its end, never changed.
#include <X11/Xlib.h>

#include "video/presenter.h"
#include "video/x11_picture.h"

namespace {

class ForeignWindowPresenter;
// The presenter whose requests are being made; errors on its connection
// (the window destroyed by its owner) stop its drawing instead of the
// process.
ForeignWindowPresenter* g_serving = nullptr;
XErrorHandler g_otherHandler = nullptr;

class ForeignWindowPresenter : public Presenter {
 public:
  explicit ForeignWindowPresenter(unsigned long window) : window_(window) {}
  ~ForeignWindowPresenter() override { Close(); }

  bool Open(const std::string&) override {
    if (dpy_ != nullptr) return true;
    dpy_ = XOpenDisplay(nullptr);
    if (dpy_ == nullptr) return false;
    bool ok = false;
    {
      Serving serving(this);
      XWindowAttributes attrs{};
      if (XGetWindowAttributes(dpy_, window_, &attrs) != 0 && !failed_) {
        // Only its size, exposures and its end: the owner keeps the input.
        XSelectInput(dpy_, window_, StructureNotifyMask | ExposureMask);
        XSync(dpy_, False);
        width_ = attrs.width;
        height_ = attrs.height;
        ok = !failed_ && drawer_.Start(dpy_, window_, width_, height_, false, QueryX11Capabilities(dpy_));
        XSync(dpy_, False);
        ok = ok && !failed_;
      }
    }
    if (!ok) Close();
    return ok;
  }

  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    if (dpy_ == nullptr || failed_) return;
    Serving serving(this);
    int32_t width = -1, height = -1;
    bool exposed = false;
    while (!failed_ && XPending(dpy_) > 0) {
      XEvent e;
      XNextEvent(dpy_, &e);
      if (e.xany.window != window_) continue;
      switch (e.type) {
        case ConfigureNotify:
          width = e.xconfigure.width;
          height = e.xconfigure.height;
          break;
        case Expose:
          exposed = exposed || e.xexpose.count == 0;
          break;
        case DestroyNotify:
          failed_ = true;
          break;
        default:
          break;
      }
    }
    if (!failed_ && width >= 0 && (width != width_ || height != height_)) {
      width_ = width;
      height_ = height;
      drawer_.Resize(width, height);  // paints the new borders
      exposed = false;
    }
    if (!failed_ && exposed) {
      drawer_.PaintBorders();
      drawer_.Invalidate();
    }
    if (!failed_) drawer_.Draw(pixels, pitch, argb);
    if (failed_ || !drawer_.Started()) {
      // The window is gone (or can't be drawn into any more): nothing more
      // is drawn; what we made on the server goes now.
      failed_ = true;
      drawer_.Stop();
    }
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
  }

 private:
  static int OnError(Display* dpy, XErrorEvent* e) {
    if (g_serving != nullptr && dpy == g_serving->dpy_) {
      g_serving->failed_ = true;
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
  int32_t width_ = 0;  // the window's size as last seen
  int32_t height_ = 0;
  X11PictureDrawer drawer_;
};

}  // namespace

std::unique_ptr<Presenter> MakeForeignWindowPresenter(unsigned long xWindow) {
  return std::make_unique<ForeignWindowPresenter>(xWindow);
}
