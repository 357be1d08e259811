#include "video/x11_render_scaling.h"

#include "base/picture.h"

bool X11RenderScaling::Usable(Display* dpy, Visual* visual, int screen, std::string& why) {
  dpy_ = dpy;
  sourceFormat_ = XRenderFindStandardFormat(dpy, PictStandardRGB24);
  targetFormat_ = XRenderFindVisualFormat(dpy, visual);
  if (sourceFormat_ == nullptr) why = "no RGB24 picture format";
  else if (targetFormat_ == nullptr) why = "no picture format for the window's visual";
  else if (!ScreenHasDepth24(screen)) why = "no pixmaps of depth 24 on the window's screen";
  else return true;
  return false;
}

bool X11RenderScaling::ScreenHasDepth24(int screen) const {
  int count = 0;
  int* depths = XListDepths(dpy_, screen, &count);
  bool found = false;
  for (int i = 0; i < count; ++i) found = found || depths[i] == 24;
  if (depths != nullptr) XFree(depths);
  return found;
}

void X11RenderScaling::Start(Window window, X11Image& image, bool sharedPixmap) {
  top_ = 0;
  pixmap_ = sharedPixmap ? XShmCreatePixmap(dpy_, window, image.Segment()->shmaddr, image.Segment(), kPictureWidth,
                                            static_cast<unsigned>(image.Rows()), 24)
                         : XCreatePixmap(dpy_, window, kPictureWidth, kPictureHeight, 24);
  source_ = XRenderCreatePicture(dpy_, pixmap_, sourceFormat_, 0, nullptr);
  XRenderSetPictureFilter(dpy_, source_, FilterNearest, nullptr, 0);
  target_ = XRenderCreatePicture(dpy_, window, targetFormat_, 0, nullptr);
  clipped_ = XRenderCreatePicture(dpy_, window, targetFormat_, 0, nullptr);
}

bool X11RenderScaling::Place(const PictureRect& rect, std::string& why) {
  columns_ = PlanScaleRuns(kPictureWidth, rect.w);
  rows_ = PlanScaleRuns(kPictureHeight, rect.h);
  if (columns_.empty() || rows_.empty()) {
    why = "the picture can't be scaled to " + std::to_string(rect.w) + " x " + std::to_string(rect.h);
    return false;
  }
  auto identity = [](const std::vector<ScaleRun>& runs) {
    return runs.size() == 1 && runs[0].step == 65536 && runs[0].offset == 0;
  };
  unscaled_ = identity(columns_) && identity(rows_);
  if (OneTransform()) SetTransform(columns_[0], rows_[0]);
  return true;
}

void X11RenderScaling::MoveTo(int32_t top) {
  if (top == top_) return;
  top_ = top;
  if (!unscaled_ && OneTransform()) SetTransform(columns_[0], rows_[0]);
}

void X11RenderScaling::SetTransform(const ScaleRun& column, const ScaleRun& row) {
  XTransform t{};
  t.matrix[0][0] = column.step;
  t.matrix[0][2] = column.offset;
  t.matrix[1][1] = row.step;
  t.matrix[1][2] = row.offset + (unscaled_ ? 0 : top_ * 65536);
  t.matrix[2][2] = 65536;
  XRenderSetPictureTransform(dpy_, source_, &t);
}

void X11RenderScaling::Fill(X11Image& image, GC gc) {
  image.Put(pixmap_, gc, 0, 0, kPictureWidth, kPictureHeight);
}

void X11RenderScaling::Composite(const PictureRect& rect, const std::vector<XRectangle>& clip) {
  if (clip.empty()) return;
  XRenderSetPictureClipRectangles(dpy_, clipped_, 0, 0, clip.data(), static_cast<int>(clip.size()));
  const bool single = OneTransform();
  for (const ScaleRun& row : rows_) {
    for (const ScaleRun& column : columns_) {
      if (!single) SetTransform(column, row);
      XRenderComposite(dpy_, PictOpSrc, source_, None, clipped_, 0, unscaled_ ? top_ : 0, 0, 0,
                       rect.x + column.start, rect.y + row.start, static_cast<unsigned>(column.length),
                       static_cast<unsigned>(row.length));
    }
  }
}

bool X11RenderScaling::FillBlack(const XRectangle* bars, int n) {
  if (!target_) return false;
  const XRenderColor black{0, 0, 0, 0xFFFF};
  XRenderFillRectangles(dpy_, PictOpSrc, target_, &black, bars, n);
  return true;
}

void X11RenderScaling::Free() {
  for (Picture* p : {&source_, &target_, &clipped_}) {
    if (*p) XRenderFreePicture(dpy_, *p);
    *p = 0;
  }
  if (pixmap_) XFreePixmap(dpy_, pixmap_);
  pixmap_ = 0;
}
