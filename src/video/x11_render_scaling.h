// Scaling by the X server (XRender): the picture in a pixmap of depth 24 is
// the source, sampled with nearest-neighbour transforms, one a scale run
// (one for the whole picture at almost every size), and composited onto
// the window's picture through a clip. The shared-memory pixmap holds the
// picture from row Top() on, the others from their first row. Scaled, the
// row is the transform's translation; unscaled (no transform at all, which
// the server copies row by row instead of sampling pixel by pixel), the
// composite's source position.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/Xrender.h>

#include "video/picture_mapping.h"
#include "video/x11_image.h"
#include "video/x11_scale_plan.h"

class X11RenderScaling {
 public:
  // Whether the window's visual has a picture format and pixmaps of depth
  // 24 can be made on its screen; false with the reason in `why`.
  bool Usable(Display* dpy, Visual* visual, int screen, std::string& why);
  // The source pixmap and the pictures: the pixmap in `image`'s shared
  // memory when `sharedPixmap`, else filled from `image` by Fill.
  void Start(Window window, X11Image& image, bool sharedPixmap);
  // The scale runs and transform for the picture at `rect`; false with the
  // reason when the server can't scale to it.
  bool Place(const PictureRect& rect, std::string& why);
  const std::vector<ScaleRun>& Columns() const { return columns_; }
  const std::vector<ScaleRun>& Rows() const { return rows_; }
  // The picture now lies from row `top` of the shared pixmap.
  void MoveTo(int32_t top);
  // Copies the picture from `image` into the pixmap that isn't shared.
  void Fill(X11Image& image, GC gc);
  // Composites the picture at `rect`, only inside `clip`.
  void Composite(const PictureRect& rect, const std::vector<XRectangle>& clip);
  // Fills `n` rectangles of the window black; false before Start.
  bool FillBlack(const XRectangle* bars, int n);
  // Frees the pictures and the pixmap.
  void Free();

 private:
  bool ScreenHasDepth24(int screen) const;
  // One transform serves the whole picture (at almost every size); it is
  // set when the place or the picture's row in the pixmap changes, not for
  // every composite.
  bool OneTransform() const { return columns_.size() == 1 && rows_.size() == 1; }
  void SetTransform(const ScaleRun& column, const ScaleRun& row);

  Display* dpy_ = nullptr;
  XRenderPictFormat* sourceFormat_ = nullptr;
  XRenderPictFormat* targetFormat_ = nullptr;
  Pixmap pixmap_ = 0;
  int32_t top_ = 0;
  bool unscaled_ = false;
  Picture source_ = 0;
  Picture target_ = 0;
  Picture clipped_ = 0;  // the window's picture that composites go through
  std::vector<ScaleRun> columns_;
  std::vector<ScaleRun> rows_;
};
