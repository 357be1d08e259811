// The X11 picture drawer: the first way that works, from the one that
// leaves most to the server down to a plain image scaled here, and each
// picture drawn that way.
#include "video/x11_picture.h"

#include <string>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>

#include "base/diagnostic.h"
#include "base/picture.h"
#include "video/picture_convert.h"
#include "video/picture_mapping.h"
#include "video/x11_errors.h"
#include "video/x11_image.h"
#include "video/x11_render_scaling.h"
#include "video/x11_row_copies.h"
#include "video/x11_span_clip.h"

namespace {

// Rows of the shared-memory pixmap above the picture: room for the picture
// to move up while the background scrolls down, a row a frame, before it
// is converted whole again at the bottom.
constexpr int32_t kScrollRows = 64;

// The window drawn into, what drawing needs of it, and the picture's place.
struct DrawnWindow {
  Display* dpy = nullptr;
  Window window = 0;
  bool own = false;
  int32_t width = 0;
  int32_t height = 0;
  PictureRect rect;
  Visual* visual = nullptr;
  int depth = 0;
  int screen = 0;
  GC gc = nullptr;  // images and borders
};

// Scaled here, the window must take our 0xAARRGGBB words as they are
// (SDL's windows may have a DirectColor visual with a linear ramp).
bool TakesArgbWords(const DrawnWindow& w) {
  return (w.visual->c_class == TrueColor || w.visual->c_class == DirectColor) && (w.depth == 24 || w.depth == 32) &&
         w.visual->red_mask == 0xFF0000u && w.visual->green_mask == 0x00FF00u && w.visual->blue_mask == 0x0000FFu;
}

// The window's parts around the picture; returns how many there are.
int BorderBars(const DrawnWindow& w, XRectangle bars[4]) {
  const PictureRect& r = w.rect;
  int n = 0;
  auto add = [&](int32_t x, int32_t y, int32_t bw, int32_t bh) {
    if (bw > 0 && bh > 0) {
      bars[n++] = XRectangle{static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(bw),
                             static_cast<unsigned short>(bh)};
    }
  };
  add(0, 0, w.width, r.y);                               // above
  add(0, r.y + r.h, w.width, w.height - r.y - r.h);      // below
  add(0, r.y, r.x, r.h);                                 // left
  add(r.x + r.w, r.y, w.width - r.x - r.w, r.h);         // right
  return n;
}

void Report(const std::string& text) { ReportProblem("X11 picture: " + text); }

}  // namespace

X11Capabilities QueryX11Capabilities(Display* dpy) {
  X11Capabilities caps;
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (XRenderQueryExtension(dpy, &eventBase, &errorBase) && XRenderQueryVersion(dpy, &major, &minor)) {
    caps.render = major > 0 || minor >= 6;
  }
  Bool pixmaps = False;
  if (XShmQueryExtension(dpy) && XShmQueryVersion(dpy, &major, &minor, &pixmaps)) {
    caps.shm = true;
    caps.sharedPixmaps = pixmaps == True && XShmPixmapFormat(dpy) == ZPixmap;
  }
  return caps;
}

struct X11PictureDrawer::State {
  DrawnWindow win;
  X11PictureWay way = X11PictureWay::kClientPlainImage;
  // What the picture is written into: 640 x 480 for XRender (with the rows
  // to scroll into for a shared pixmap), the picture's rectangle when
  // scaled here.
  X11Image image;
  // Scaled by the server.
  X11RenderScaling render;
  X11SpanClip spans;
  X11RowCopies copies;
  ChangedPictureConverter converter;  // the picture in `image`
  bool drawAll = true;                // the window lost its pixels, or is new
  // Scaled here.
  PictureScaler scaler;

  void Open(Display* dpy, Window window, const XWindowAttributes& attrs, int32_t width, int32_t height, bool own);
  bool StartFirstWay(const X11Capabilities& offered);
  bool StartWay(std::string& why);
  bool StartServerScaling(std::string& why);
  bool MakeImage(int32_t w, int32_t h, int depth, std::string& why);
  void FreeImage();
  void FreeWay();
  bool Place(std::string& why);
  bool PlaceServerScaled(std::string& why);
  bool PlaceScaledHere(std::string& why);
  bool DrawServerScaled(const uint8_t* pixels, int32_t pitch, const uint32_t* argb);
  bool CompositeChanged();
  void CompositeSpans(int32_t from, int32_t to);
  void DrawScaledHere(const uint8_t* pixels, int32_t pitch, const uint32_t* argb);
  void Release();
};

void X11PictureDrawer::State::Open(Display* dpy, Window window, const XWindowAttributes& attrs, int32_t width,
                                   int32_t height, bool own) {
  win.dpy = dpy;
  win.window = window;
  win.own = own;
  win.width = width;
  win.height = height;
  win.visual = attrs.visual;
  win.depth = attrs.depth;
  win.screen = XScreenNumberOfScreen(attrs.screen);
  XGCValues values{};
  values.foreground = 0;
  values.graphics_exposures = False;
  win.gc = XCreateGC(dpy, window, GCForeground | GCGraphicsExposures, &values);
}

// The server's way first; then the ways with less of the server, down to
// a plain image scaled here.
bool X11PictureDrawer::State::StartFirstWay(const X11Capabilities& offered) {
  X11Capabilities tried = offered;
  for (;;) {
    way = ChooseX11PictureWay(tried);
    std::string why;
    if (StartWay(why)) return true;
    // Undo what this way made and take the next one down.
    FreeWay();
    const std::string failed = std::string(X11PictureWayName(way)) + " failed (" + why + "); ";
    if (!DropCapability(tried, offered)) {
      Report(failed + "no way left");
      Release();
      return false;
    }
    Report(failed + "trying " + X11PictureWayName(ChooseX11PictureWay(tried)));
  }
}

bool X11PictureDrawer::State::StartWay(std::string& why) {
  if (UsesRender(way)) return StartServerScaling(why) && Place(why);
  if (!TakesArgbWords(win)) {
    why = "the window's visual doesn't take 0xRRGGBB pixels";
    return false;
  }
  return Place(why);
}

// The source pixmap and pictures of the XRender way, and the image that
// the picture is written into.
bool X11PictureDrawer::State::StartServerScaling(std::string& why) {
  if (!render.Usable(win.dpy, win.visual, win.screen, why)) return false;
  const bool sharedPixmap = way == X11PictureWay::kRenderSharedPixmap;
  if (!MakeImage(kPictureWidth, kPictureHeight + (sharedPixmap ? kScrollRows : 0), 24, why)) return false;
  render.Start(win.window, image, sharedPixmap);
  return true;
}

bool X11PictureDrawer::State::MakeImage(int32_t w, int32_t h, int depth, std::string& why) {
  return image.Make(win.dpy, win.visual, depth, w, h, UsesSharedMemory(way), why);
}

void X11PictureDrawer::State::FreeImage() {
  converter.Forget();
  image.Free();
}

// Frees what a way made on the server, and its image.
void X11PictureDrawer::State::FreeWay() {
  copies.Free();
  render.Free();
  FreeImage();
}

// Works out the picture's place for the current size.
bool X11PictureDrawer::State::Place(std::string& why) {
  win.rect = LetterboxRect(win.width, win.height);
  return UsesRender(way) ? PlaceServerScaled(why) : PlaceScaledHere(why);
}

bool X11PictureDrawer::State::PlaceServerScaled(std::string& why) {
  if (!render.Place(win.rect, why)) return false;
  spans.Place(render.Columns(), render.Rows(), win.rect);
  drawAll = true;
  copies.Plan(win.dpy, win.window, win.rect, spans);
  return true;
}

bool X11PictureDrawer::State::PlaceScaledHere(std::string& why) {
  image.AwaitServer();
  FreeImage();
  if (win.rect.w <= 0 || win.rect.h <= 0) return true;
  scaler.Resize(win.rect.w, win.rect.h);
  return MakeImage(win.rect.w, win.rect.h, win.depth, why);
}

// The picture into the pixmap, then what changed of it onto the window;
// true when the server has answered after this frame's requests.
bool X11PictureDrawer::State::DrawServerScaled(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) {
  converter.Convert(pixels, pitch, argb, image.Pixels(), image.Pitch(), image.Rows());
  if (way == X11PictureWay::kRenderSharedPixmap) {
    render.MoveTo(converter.Top());
  } else {
    render.Fill(image, win.gc);
  }
  spans.Plan(drawAll ? nullptr : converter.ChangedRuns());
  drawAll = false;
  return CompositeChanged();
}

// Each changed picture row composited once and copied onto the window rows
// below it, where copies pay and can read their rows; else composited
// whole. True when the server has answered after this frame's requests.
bool X11PictureDrawer::State::CompositeChanged() {
  if (copies.CompositeWhole()) {
    CompositeSpans(0, win.rect.h);
    return false;
  }
  if (spans.Empty()) return false;
  CompositeSpans(0, 1);
  if (copies.Copy(spans, win.rect)) return true;
  // Rows a copy missed are drawn again at once.
  CompositeSpans(0, win.rect.h);
  return false;
}

// Composites this frame's spans, rows `from` to `to` of every group.
void X11PictureDrawer::State::CompositeSpans(int32_t from, int32_t to) {
  render.Composite(win.rect, spans.Rows(from, to));
}

void X11PictureDrawer::State::DrawScaledHere(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) {
  scaler.Scale(pixels, pitch, argb, image.Pixels(), image.Pitch());
  const PictureRect& r = win.rect;
  image.Put(win.window, win.gc, r.x, r.y, static_cast<unsigned>(r.w), static_cast<unsigned>(r.h));
}

void X11PictureDrawer::State::Release() {
  if (win.dpy == nullptr) return;
  image.AwaitServer();
  FreeWay();
  if (win.gc) XFreeGC(win.dpy, win.gc);
  win.gc = nullptr;
  XSync(win.dpy, False);
  win.dpy = nullptr;
}

X11PictureDrawer::X11PictureDrawer() : s_(std::make_unique<State>()) {}
X11PictureDrawer::~X11PictureDrawer() { Stop(); }

bool X11PictureDrawer::Start(Display* dpy, unsigned long window, int32_t width, int32_t height,
                             bool ownWindow, const X11Capabilities& caps) {
  Stop();
  XWindowAttributes attrs{};
  if (XGetWindowAttributes(dpy, window, &attrs) == 0) {
    Report("XGetWindowAttributes failed for window " + X11IdText(window));
    return false;
  }
  s_->Open(dpy, window, attrs, width, height, ownWindow);
  if (!s_->StartFirstWay(caps)) return false;
  if (ownWindow) {
    // The server clears the borders itself on every exposure.
    XSetWindowBackground(dpy, window, 0);
    XClearWindow(dpy, window);
  }
  PaintBorders();
  XFlush(dpy);
  return true;
}

void X11PictureDrawer::Resize(int32_t width, int32_t height) {
  State& s = *s_;
  if (s.win.dpy == nullptr || (width == s.win.width && height == s.win.height)) return;
  s.win.width = width;
  s.win.height = height;
  std::string why;
  if (!s.Place(why)) {
    Report(std::string(X11PictureWayName(s.way)) + " failed (" + why + "); drawing stopped");
    Stop();
    return;
  }
  if (s.win.own) XClearWindow(s.win.dpy, s.win.window);
  PaintBorders();
}

void X11PictureDrawer::PaintBorders() {
  State& s = *s_;
  if (s.win.dpy == nullptr) return;
  XRectangle bars[4];
  const int n = BorderBars(s.win, bars);
  if (n == 0) return;
  if (!s.render.FillBlack(bars, n)) XFillRectangles(s.win.dpy, s.win.window, s.win.gc, bars, n);
}

void X11PictureDrawer::Draw(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) {
  State& s = *s_;
  if (s.win.dpy == nullptr || !s.image.Made() || s.win.rect.w <= 0 || s.win.rect.h <= 0) return;
  // The shared memory is written only once the server has done with the
  // previous picture.
  s.image.AwaitServer();
  bool answered = false;  // the server has done with this picture
  if (UsesRender(s.way)) {
    answered = s.DrawServerScaled(pixels, pitch, argb);
  } else {
    s.DrawScaledHere(pixels, pitch, argb);
  }
  s.image.Send(answered);
}

void X11PictureDrawer::Invalidate() { s_->drawAll = true; }

void X11PictureDrawer::Stop() { s_->Release(); }

bool X11PictureDrawer::Started() const { return s_->win.dpy != nullptr; }
X11PictureWay X11PictureDrawer::Way() const { return s_->way; }
