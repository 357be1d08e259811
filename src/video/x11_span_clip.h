// Only what changed is drawn: each picture row's changed runs of 16 pixels
// as at most two spans of window columns, and the window's clip rectangles
// that cover them.
#pragma once

#include <cstdint>
#include <vector>

#include <X11/Xlib.h>

#include "video/picture_mapping.h"
#include "video/x11_scale_plan.h"

class X11SpanClip {
 public:
  // Where the picture's runs and rows first show for the picture at `rect`
  // scaled as `columns` and `rows`.
  void Place(const std::vector<ScaleRun>& columns, const std::vector<ScaleRun>& rows, const PictureRect& rect);
  // This frame's spans: what changed (everything when `changed` is null).
  void Plan(const uint64_t* changed);
  bool Empty() const { return spans_.empty(); }
  // Clip rectangles of this frame's spans: rows `from` to `to` (from the
  // first window row of each picture row's group, `to` cut at the group's
  // end). In bands, top to bottom, left to right.
  std::vector<XRectangle>& Rows(int32_t from, int32_t to);
  // The most window rows that show one picture row.
  int32_t TallestRow() const;

 private:
  struct Span {
    int32_t y;       // picture row
    int32_t x, end;  // window columns from the picture's left edge
  };
  PictureRect rect_;
  // The first window column of run i and the first window row of picture
  // row y, both from the picture's corner (the last entries: the picture's
  // width and height).
  std::vector<int32_t> columnAt_;
  std::vector<int32_t> rowAt_;
  std::vector<Span> spans_;       // this frame's
  std::vector<XRectangle> clip_;  // scratch
};
