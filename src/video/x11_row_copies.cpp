#include "video/x11_row_copies.h"

#include "base/picture.h"

namespace {

// Frames composited whole after a copy missed rows: about a second.
constexpr int32_t kWholeFramesAfterMiss = 40;

}  // namespace

void X11RowCopies::Plan(Display* dpy, Window window, const PictureRect& rect, const X11SpanClip& spans) {
  Free();
  dpy_ = dpy;
  window_ = window;
  wholeFrames_ = 0;
  // Below three window rows a picture row, the copies save the server
  // about as much as waiting for their answers costs here.
  if (rect.h < 3 * kPictureHeight) return;
  const int32_t tallest = spans.TallestRow();
  // The copy shifted by k fills the rows k to 2k - 1 of every group from
  // the rows k above them, which earlier copies have filled.
  for (int32_t k = 1; k < tallest; k *= 2) {
    XGCValues values{};
    values.graphics_exposures = True;
    Shifted c;
    c.gc = XCreateGC(dpy, window, GCGraphicsExposures, &values);
    c.shift = k;
    copies_.push_back(c);
  }
}

void X11RowCopies::Free() {
  for (Shifted& c : copies_) XFreeGC(dpy_, c.gc);
  copies_.clear();
}

bool X11RowCopies::CompositeWhole() {
  if (!copies_.empty() && wholeFrames_ == 0) return false;
  if (wholeFrames_ > 0) --wholeFrames_;
  return true;
}

bool X11RowCopies::Copy(X11SpanClip& spans, const PictureRect& r) {
  for (const Shifted& c : copies_) {
    std::vector<XRectangle>& rows = spans.Rows(c.shift, 2 * c.shift);
    XSetClipRectangles(dpy_, c.gc, 0, 0, rows.data(), static_cast<int>(rows.size()), YXBanded);
    XCopyArea(dpy_, window_, window_, c.gc, r.x, r.y, static_cast<unsigned>(r.w),
              static_cast<unsigned>(r.h - c.shift), r.x, r.y + c.shift);
  }
  // The copies' answers are taken here, before anyone else reads the queue.
  XSync(dpy_, False);
  if (!MissedRows()) return true;
  wholeFrames_ = kWholeFramesAfterMiss;
  return false;
}

// Takes the answers to this frame's copies out of the queue; true when a
// copy could not read some of its rows.
bool X11RowCopies::MissedRows() {
  struct Match {
    static Bool Answer(Display*, XEvent* e, XPointer w) {
      return (e->type == GraphicsExpose || e->type == NoExpose) && e->xany.window == *reinterpret_cast<Window*>(w);
    }
  };
  bool missed = false;
  XEvent e;
  while (XCheckIfEvent(dpy_, &e, Match::Answer, reinterpret_cast<XPointer>(&window_))) {
    missed = missed || e.type == GraphicsExpose;
  }
  return missed;
}
