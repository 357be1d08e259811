// The X11 picture drawer: XRender scaling on the server from a 640 x 480
// pixmap, or client-side scaling into an image of the picture's size, with
// MIT-SHM when the connection is local.
#include "video/x11_picture.h"

#include "base/picture.h"
#include "video/picture_convert.h"
#include "video/picture_mapping.h"
#include "video/x11_scale_plan.h"

#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrender.h>
#include <X11/Xlib-xcb.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

namespace {

// Rows of the shared-memory pixmap above the picture: room for the picture
// to move up while the background scrolls down, a row a frame, before it
// is converted whole again at the bottom.
constexpr int32_t kScrollRows = 64;

// Errors of requests whose failure only means "use another way" (attaching
// shared memory over a connection that can't share it).
bool g_requestFailed = false;
int RecordError(Display*, XErrorEvent*) {
  g_requestFailed = true;
  return 0;
}

// Runs `request` and waits for the server's answer; false when the server
// refused it. The error handler in force before is put back.
template <class F>
bool TryRequest(Display* dpy, F request) {
  XSync(dpy, False);
  g_requestFailed = false;
  auto previous = XSetErrorHandler(RecordError);
  request();
  XSync(dpy, False);
  XSetErrorHandler(previous);
  return !g_requestFailed;
}

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
  Display* dpy = nullptr;
  Window window = 0;
  bool ownWindow = false;
  X11PictureWay way = X11PictureWay::kClientPlainImage;
  int32_t width = 0;
  int32_t height = 0;
  PictureRect rect;
  Visual* visual = nullptr;
  int depth = 0;
  int screen = 0;
  GC gc = nullptr;

  // The image that the picture is written into: 640 x 480 for XRender, the
  // picture's rectangle when scaled here; shared memory or plain.
  XImage* image = nullptr;
  XShmSegmentInfo shm{};
  bool shmAttached = false;
  std::vector<uint32_t> plain;
  // The server may still read the shared memory until it has answered a
  // request sent after the frame's drawing (its sequence number `fence`).
  // The answer is taken as the next frame is drawn, when it has long
  // arrived: no round trip a frame, and no waking up for it in between.
  bool inFlight = false;
  unsigned int fence = 0;

  // XRender: the 640 x 480 source and the window's picture. The shared
  // pixmap holds the picture from row `pixmapTop` on, the others from their
  // first row. Scaled, the row is the transform's translation; unscaled
  // (`unscaled`: no transform at all, which the server copies row by row
  // instead of sampling pixel by pixel), the composite's source position.
  Pixmap pixmap = 0;
  int32_t pixmapTop = 0;
  bool unscaled = false;
  Picture source = 0;
  Picture target = 0;
  std::vector<ScaleRun> columns;
  std::vector<ScaleRun> rows;

  // Only what changed is drawn: each picture row's changed runs of 16
  // pixels as at most two spans of window columns, the window clipped to
  // them (`clipped`). `columnAt[i]` is the first window column of run i,
  // `rowAt[y]` the first window row of picture row y, both from the
  // picture's corner (the last entries: the picture's width and height).
  struct Span {
    int32_t y;       // picture row
    int32_t x, end;  // window columns from the picture's left edge
  };
  Picture clipped = 0;
  std::vector<int32_t> columnAt;
  std::vector<int32_t> rowAt;
  std::vector<Span> spans;          // this frame's
  std::vector<XRectangle> clip;     // scratch
  bool drawAll = true;              // the window lost its pixels, or is new

  // Row replication, when each picture row shows on three or more window
  // rows: each picture row is composited onto the first window row that
  // shows it and copied on the server onto the others, in copies shifted by
  // 1, 2, 4... rows. A copy costs the server less than scaling the row
  // again. Copies need their source rows on screen: when a copy reports
  // rows it could not read (the window partly covered or off the screen),
  // the frame is composited whole, as are the next ones for a while.
  struct RowCopy {
    GC gc = nullptr;
    int32_t shift = 0;
  };
  std::vector<RowCopy> copies;
  int32_t wholeFrames = 0;

  PictureScaler scaler;
  ChangedPictureConverter converter;  // the XRender ways' 640 x 480 image

  bool Shared() const { return UsesSharedMemory(way); }

  // Shared memory of `bytes`, attached on the server; false if refused.
  bool AttachShared(size_t bytes) {
    shm.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shm.shmid < 0) return false;
    shm.shmaddr = static_cast<char*>(shmat(shm.shmid, nullptr, 0));
    if (shm.shmaddr == reinterpret_cast<char*>(-1)) {
      shmctl(shm.shmid, IPC_RMID, nullptr);
      shm.shmaddr = nullptr;
      return false;
    }
    shm.readOnly = False;
    shmAttached = TryRequest(dpy, [&] { XShmAttach(dpy, &shm); });
    // Gone for good as soon as both sides have detached.
    shmctl(shm.shmid, IPC_RMID, nullptr);
    if (!shmAttached) {
      shmdt(shm.shmaddr);
      shm.shmaddr = nullptr;
    }
    return shmAttached;
  }

  void DetachShared() {
    if (shmAttached) {
      XShmDetach(dpy, &shm);
      XSync(dpy, False);
      shmAttached = false;
    }
    if (shm.shmaddr != nullptr) shmdt(shm.shmaddr);
    shm = XShmSegmentInfo{};
  }

  // The image for width x height pixels of 32 bits (of the given depth: the
  // source pixmap's 24 or the window's own).
  bool MakeImage(int32_t w, int32_t h, int imageDepth) {
    if (Shared()) {
      image = XShmCreateImage(dpy, visual, static_cast<unsigned>(imageDepth), ZPixmap, nullptr, &shm,
                              static_cast<unsigned>(w),
                              static_cast<unsigned>(h));
      if (image == nullptr) return false;
      if (image->bits_per_pixel != 32 ||
          !AttachShared(static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(h))) {
        XDestroyImage(image);
        image = nullptr;
        return false;
      }
      image->data = shm.shmaddr;
      return true;
    }
    plain.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    image = XCreateImage(dpy, visual, static_cast<unsigned>(imageDepth), ZPixmap, 0,
                         reinterpret_cast<char*>(plain.data()),
                         static_cast<unsigned>(w), static_cast<unsigned>(h), 32, w * 4);
    if (image == nullptr) return false;
    if (image->bits_per_pixel != 32) {
      FreeImage();
      return false;
    }
    // Our pixels are native 32-bit words; Xlib swaps them for a server of
    // the other byte order.
    const uint32_t one = 1;
    image->byte_order = *reinterpret_cast<const uint8_t*>(&one) == 1 ? LSBFirst : MSBFirst;
    return true;
  }

  void FreeImage() {
    converter.Forget();
    if (image != nullptr) {
      image->data = nullptr;  // shared memory or the vector: not Xlib's to free
      XDestroyImage(image);
      image = nullptr;
    }
    DetachShared();
    plain.clear();
    plain.shrink_to_fit();
  }

  // The source pixmap and pictures of the XRender way.
  bool StartRender() {
    XRenderPictFormat* sourceFormat = XRenderFindStandardFormat(dpy, PictStandardRGB24);
    XRenderPictFormat* targetFormat = XRenderFindVisualFormat(dpy, visual);
    if (sourceFormat == nullptr || targetFormat == nullptr || !ScreenHasDepth24()) return false;
    const bool sharedPixmap = way == X11PictureWay::kRenderSharedPixmap;
    if (!MakeImage(kPictureWidth, kPictureHeight + (sharedPixmap ? kScrollRows : 0), 24)) return false;
    pixmapTop = 0;
    pixmap = sharedPixmap ? XShmCreatePixmap(dpy, window, shm.shmaddr, &shm, kPictureWidth, kPictureHeight + kScrollRows, 24)
                          : XCreatePixmap(dpy, window, kPictureWidth, kPictureHeight, 24);
    source = XRenderCreatePicture(dpy, pixmap, sourceFormat, 0, nullptr);
    XRenderSetPictureFilter(dpy, source, FilterNearest, nullptr, 0);
    target = XRenderCreatePicture(dpy, window, targetFormat, 0, nullptr);
    clipped = XRenderCreatePicture(dpy, window, targetFormat, 0, nullptr);
    return true;
  }

  // Pixmaps of depth 24 (the source's) can be made on the window's screen.
  bool ScreenHasDepth24() const {
    int count = 0;
    int* depths = XListDepths(dpy, screen, &count);
    bool found = false;
    for (int i = 0; i < count; ++i) found = found || depths[i] == 24;
    if (depths != nullptr) XFree(depths);
    return found;
  }

  // One transform serves the whole picture (at almost every size); it is
  // set when the place or the picture's row in the pixmap changes, not for
  // every composite.
  bool OneTransform() const { return columns.size() == 1 && rows.size() == 1; }

  void SetTransform(const ScaleRun& column, const ScaleRun& row) {
    XTransform t{};
    t.matrix[0][0] = column.step;
    t.matrix[0][2] = column.offset;
    t.matrix[1][1] = row.step;
    t.matrix[1][2] = row.offset + (unscaled ? 0 : pixmapTop * 65536);
    t.matrix[2][2] = 65536;
    XRenderSetPictureTransform(dpy, source, &t);
  }

  void FreeCopies() {
    for (RowCopy& c : copies) XFreeGC(dpy, c.gc);
    copies.clear();
  }

  // The copies' GCs for the current place (their clips are set per frame).
  void PlanRowCopies() {
    FreeCopies();
    wholeFrames = 0;
    // Below three window rows a picture row, the copies save the server
    // about as much as waiting for their answers costs here.
    if (rect.h < 3 * kPictureHeight) return;
    int32_t tallest = 0;
    for (int32_t y = 0; y < kPictureHeight; ++y) tallest = std::max(tallest, rowAt[y + 1] - rowAt[y]);
    // The copy shifted by k fills the rows k to 2k - 1 of every group from
    // the rows k above them, which earlier copies have filled.
    for (int32_t k = 1; k < tallest; k *= 2) {
      XGCValues values{};
      values.graphics_exposures = True;
      RowCopy c;
      c.gc = XCreateGC(dpy, window, GCGraphicsExposures, &values);
      c.shift = k;
      copies.push_back(c);
    }
  }

  // This frame's spans: what changed (everything when the window lost its
  // pixels).
  void PlanSpans(const uint64_t* changed) {
    spans.clear();
    for (int32_t y = 0; y < kPictureHeight; ++y) {
      if (rowAt[y] == rowAt[y + 1]) continue;  // a row that the window doesn't show
      RunSpan found[2];
      const int32_t n = ChangedSpans(changed ? changed[y] : ChangedPictureConverter::kWholeRow, found);
      for (int32_t i = 0; i < n; ++i) {
        const int32_t x = columnAt[static_cast<size_t>(found[i].first)];
        const int32_t end = columnAt[static_cast<size_t>(std::min(found[i].end, kPictureWidth / 16))];
        if (x < end) spans.push_back(Span{y, x, end});
      }
    }
  }

  // Clip rectangles of this frame's spans: rows `from` to `to` (from the
  // first window row of each picture row's group, `to` cut at the group's
  // end). In bands, top to bottom, left to right.
  std::vector<XRectangle>& SpanRows(int32_t from, int32_t to) {
    clip.clear();
    for (const Span& sp : spans) {
      const int32_t top = rowAt[static_cast<size_t>(sp.y)] + from;
      const int32_t bottom = std::min(rowAt[static_cast<size_t>(sp.y)] + to, rowAt[static_cast<size_t>(sp.y) + 1]);
      if (top >= bottom) continue;
      clip.push_back(XRectangle{static_cast<short>(rect.x + sp.x), static_cast<short>(rect.y + top),
                                static_cast<unsigned short>(sp.end - sp.x),
                                static_cast<unsigned short>(bottom - top)});
    }
    return clip;
  }

  // Composites this frame's spans, rows `from` to `to` of every group.
  void CompositeSpans(int32_t from, int32_t to) {
    const std::vector<XRectangle>& r = SpanRows(from, to);
    if (r.empty()) return;
    XRenderSetPictureClipRectangles(dpy, clipped, 0, 0, r.data(), static_cast<int>(r.size()));
    Composite();
  }

  // Takes the answers to this frame's copies out of the queue; true when a
  // copy could not read some of its rows.
  bool CopiesMissedRows() {
    struct Match {
      static Bool Answer(Display*, XEvent* e, XPointer w) {
        return (e->type == GraphicsExpose || e->type == NoExpose) &&
               e->xany.window == *reinterpret_cast<Window*>(w);
      }
    };
    bool missed = false;
    XEvent e;
    while (XCheckIfEvent(dpy, &e, Match::Answer, reinterpret_cast<XPointer>(&window))) {
      missed = missed || e.type == GraphicsExpose;
    }
    return missed;
  }

  // Composites the picture onto the window, as far as `clipped` lets it.
  void Composite() {
    const bool single = OneTransform();
    for (const ScaleRun& row : rows) {
      for (const ScaleRun& column : columns) {
        if (!single) SetTransform(column, row);
        XRenderComposite(dpy, PictOpSrc, source, None, clipped, 0, unscaled ? pixmapTop : 0, 0, 0,
                         rect.x + column.start,
                         rect.y + row.start, static_cast<unsigned>(column.length),
                         static_cast<unsigned>(row.length));
      }
    }
  }

  // Works out the picture's place for the current size.
  bool Place() {
    rect = LetterboxRect(width, height);
    if (UsesRender(way)) {
      columns = PlanScaleRuns(kPictureWidth, rect.w);
      rows = PlanScaleRuns(kPictureHeight, rect.h);
      if (columns.empty() || rows.empty()) return false;
      auto identity = [](const std::vector<ScaleRun>& runs) {
        return runs.size() == 1 && runs[0].step == 65536 && runs[0].offset == 0;
      };
      unscaled = identity(columns) && identity(rows);
      if (OneTransform()) SetTransform(columns[0], rows[0]);
      const std::vector<int32_t> columnFirst = FirstShown(columns, kPictureWidth, rect.w);
      columnAt.clear();
      for (int32_t i = 0; i <= kPictureWidth; i += 16) columnAt.push_back(columnFirst[static_cast<size_t>(i)]);
      rowAt = FirstShown(rows, kPictureHeight, rect.h);
      drawAll = true;
      PlanRowCopies();
      return true;
    }
    WaitForServer();
    FreeImage();
    if (rect.w <= 0 || rect.h <= 0) return true;
    scaler.Resize(rect.w, rect.h);
    return MakeImage(rect.w, rect.h, depth);
  }

  void WaitForServer() {
    if (!inFlight) return;
    inFlight = false;
    xcb_connection_t* c = XGetXCBConnection(dpy);
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    // Read already (by whoever read the connection), or waiting in it; the
    // blocking wait only when the server is slower than a frame. A lost
    // connection answers at once, with nothing.
    if (xcb_poll_for_reply(c, fence, &reply, &error) == 0) reply = xcb_wait_for_reply(c, fence, &error);
    std::free(reply);
    std::free(error);
  }

  // Frees what a way made on the server, and its image.
  void FreeRender() {
    FreeCopies();
    for (Picture* p : {&source, &target, &clipped}) {
      if (*p) XRenderFreePicture(dpy, *p);
      *p = 0;
    }
    if (pixmap) XFreePixmap(dpy, pixmap);
    pixmap = 0;
    FreeImage();
  }

  void Release() {
    if (dpy == nullptr) return;
    WaitForServer();
    FreeRender();
    if (gc) XFreeGC(dpy, gc);
    gc = nullptr;
    XSync(dpy, False);
    dpy = nullptr;
  }
};

X11PictureDrawer::X11PictureDrawer() : s_(std::make_unique<State>()) {}
X11PictureDrawer::~X11PictureDrawer() { Stop(); }

bool X11PictureDrawer::Start(Display* dpy, unsigned long window, int32_t width, int32_t height,
                             bool ownWindow, const X11Capabilities& caps) {
  Stop();
  XWindowAttributes attrs{};
  if (XGetWindowAttributes(dpy, window, &attrs) == 0) return false;
  State& s = *s_;
  s.dpy = dpy;
  s.window = window;
  s.ownWindow = ownWindow;
  s.width = width;
  s.height = height;
  s.visual = attrs.visual;
  s.depth = attrs.depth;
  s.screen = XScreenNumberOfScreen(attrs.screen);
  XGCValues values{};
  values.foreground = 0;
  values.graphics_exposures = False;
  s.gc = XCreateGC(dpy, window, GCForeground | GCGraphicsExposures, &values);
  // The server's way first; then the ways with less of the server, down to
  // a plain image scaled here.
  X11Capabilities tried = caps;
  for (;;) {
    s.way = ChooseX11PictureWay(tried);
    bool ok = false;
    if (UsesRender(s.way)) {
      ok = s.StartRender() && s.Place();
    } else {
      // Scaled here: the window must take our 0xAARRGGBB words as they are
      // (SDL's windows may have a DirectColor visual with a linear ramp).
      ok = (s.visual->c_class == TrueColor || s.visual->c_class == DirectColor) &&
           (s.depth == 24 || s.depth == 32) &&
           s.visual->red_mask == 0xFF0000u && s.visual->green_mask == 0x00FF00u &&
           s.visual->blue_mask == 0x0000FFu && s.Place();
    }
    if (ok) break;
    // Undo what this way made and take the next one down.
    s.FreeRender();
    if (!DropCapability(tried, caps)) {
      s.Release();
      return false;
    }
  }
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
  if (s.dpy == nullptr || (width == s.width && height == s.height)) return;
  s.width = width;
  s.height = height;
  if (!s.Place()) {
    Stop();
    return;
  }
  if (s.ownWindow) XClearWindow(s.dpy, s.window);
  PaintBorders();
}

void X11PictureDrawer::PaintBorders() {
  State& s = *s_;
  if (s.dpy == nullptr) return;
  const PictureRect& r = s.rect;
  XRectangle bars[4];
  int n = 0;
  auto add = [&](int32_t x, int32_t y, int32_t w, int32_t h) {
    if (w > 0 && h > 0) {
      bars[n++] = XRectangle{static_cast<short>(x), static_cast<short>(y), static_cast<unsigned short>(w),
                             static_cast<unsigned short>(h)};
    }
  };
  add(0, 0, s.width, r.y);                                  // above
  add(0, r.y + r.h, s.width, s.height - r.y - r.h);         // below
  add(0, r.y, r.x, r.h);                                    // left
  add(r.x + r.w, r.y, s.width - r.x - r.w, r.h);            // right
  if (n == 0) return;
  if (s.target) {
    const XRenderColor black{0, 0, 0, 0xFFFF};
    XRenderFillRectangles(s.dpy, PictOpSrc, s.target, &black, bars, n);
  } else {
    XFillRectangles(s.dpy, s.window, s.gc, bars, n);
  }
}

void X11PictureDrawer::Draw(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) {
  State& s = *s_;
  if (s.dpy == nullptr || s.image == nullptr || s.rect.w <= 0 || s.rect.h <= 0) return;
  // The shared memory is written only once the server has done with the
  // previous picture.
  s.WaitForServer();
  uint32_t* out = reinterpret_cast<uint32_t*>(s.image->data);
  bool answered = false;  // the server has done with this picture
  if (UsesRender(s.way)) {
    s.converter.Convert(pixels, pitch, argb, out, s.image->bytes_per_line, s.image->height);
    if (s.way == X11PictureWay::kRenderSharedPixmap && s.converter.Top() != s.pixmapTop) {
      s.pixmapTop = s.converter.Top();
      if (!s.unscaled && s.OneTransform()) s.SetTransform(s.columns[0], s.rows[0]);
    }
    if (s.way == X11PictureWay::kRenderSharedImage) {
      XShmPutImage(s.dpy, s.pixmap, s.gc, s.image, 0, 0, 0, 0, kPictureWidth, kPictureHeight, False);
    } else if (s.way == X11PictureWay::kRenderPlainImage) {
      XPutImage(s.dpy, s.pixmap, s.gc, s.image, 0, 0, 0, 0, kPictureWidth, kPictureHeight);
    }
    s.PlanSpans(s.drawAll ? nullptr : s.converter.ChangedRuns());
    s.drawAll = false;
    if (s.copies.empty() || s.wholeFrames > 0) {
      s.CompositeSpans(0, s.rect.h);
      if (s.wholeFrames > 0) --s.wholeFrames;
    } else if (!s.spans.empty()) {
      s.CompositeSpans(0, 1);
      const PictureRect& r = s.rect;
      for (const State::RowCopy& c : s.copies) {
        std::vector<XRectangle>& rows = s.SpanRows(c.shift, 2 * c.shift);
        XSetClipRectangles(s.dpy, c.gc, 0, 0, rows.data(), static_cast<int>(rows.size()),
                           YXBanded);
        XCopyArea(s.dpy, s.window, s.window, c.gc, r.x, r.y, static_cast<unsigned>(r.w),
                  static_cast<unsigned>(r.h - c.shift), r.x, r.y + c.shift);
      }
      // The copies' answers are taken here, before anyone else reads the
      // queue; rows a copy missed are drawn again at once, and the next
      // second is composited whole.
      XSync(s.dpy, False);
      answered = true;
      if (s.CopiesMissedRows()) {
        s.CompositeSpans(0, s.rect.h);
        s.wholeFrames = 40;
        answered = false;
      }
    }
  } else {
    s.scaler.Scale(pixels, pitch, argb, out, s.image->bytes_per_line);
    if (s.way == X11PictureWay::kClientSharedImage) {
      XShmPutImage(s.dpy, s.window, s.gc, s.image, 0, 0, s.rect.x, s.rect.y, static_cast<unsigned>(s.rect.w),
                   static_cast<unsigned>(s.rect.h), False);
    } else {
      XPutImage(s.dpy, s.window, s.gc, s.image, 0, 0, s.rect.x, s.rect.y, static_cast<unsigned>(s.rect.w),
                static_cast<unsigned>(s.rect.h));
    }
  }
  if (s.Shared() && !answered) {
    // Sent through XCB after the frame's requests, which Xlib hands over
    // first, and flushed with them.
    xcb_connection_t* c = XGetXCBConnection(s.dpy);
    s.fence = xcb_get_input_focus(c).sequence;
    s.inFlight = true;
    xcb_flush(c);
  } else {
    XFlush(s.dpy);
  }
}

void X11PictureDrawer::Invalidate() { s_->drawAll = true; }

void X11PictureDrawer::Stop() { s_->Release(); }

bool X11PictureDrawer::Started() const { return s_->dpy != nullptr; }
X11PictureWay X11PictureDrawer::Way() const { return s_->way; }
