// Row replication, when each picture row shows on three or more window
// rows: each picture row is composited onto the first window row that
// shows it and copied on the server onto the others, in copies shifted by
// 1, 2, 4... rows. A copy costs the server less than scaling the row
// again. Copies need their source rows on screen: when a copy reports
// rows it could not read (the window partly covered or off the screen),
// the frame is composited whole, as are the next ones for a while.
#pragma once

#include <cstdint>
#include <vector>

#include <X11/Xlib.h>

#include "video/picture_mapping.h"
#include "video/x11_span_clip.h"

class X11RowCopies {
 public:
  // The copies' GCs for the picture at `rect` (their clips are set per
  // frame); none where the picture is too small for them to pay.
  void Plan(Display* dpy, Window window, const PictureRect& rect, const X11SpanClip& spans);
  void Free();
  // Whether this frame is composited whole instead of copied.
  bool CompositeWhole();
  // Copies this frame's spans from the first window row of each picture
  // row onto the others and waits for the server's answers; false when a
  // copy could not read some of its rows.
  bool Copy(X11SpanClip& spans, const PictureRect& rect);

 private:
  bool MissedRows();

  struct Shifted {
    GC gc = nullptr;
    int32_t shift = 0;
  };
  Display* dpy_ = nullptr;
  Window window_ = 0;
  std::vector<Shifted> copies_;
  int32_t wholeFrames_ = 0;
};
