#include "video/x11_span_clip.h"

#include <algorithm>

#include "base/picture.h"
#include "video/picture_convert.h"

void X11SpanClip::Place(const std::vector<ScaleRun>& columns, const std::vector<ScaleRun>& rows,
                        const PictureRect& rect) {
  rect_ = rect;
  const std::vector<int32_t> columnFirst = FirstShown(columns, kPictureWidth, rect.w);
  columnAt_.clear();
  for (int32_t i = 0; i <= kPictureWidth; i += 16) columnAt_.push_back(columnFirst[static_cast<size_t>(i)]);
  rowAt_ = FirstShown(rows, kPictureHeight, rect.h);
}

void X11SpanClip::Plan(const uint64_t* changed) {
  spans_.clear();
  for (int32_t y = 0; y < kPictureHeight; ++y) {
    if (rowAt_[y] == rowAt_[y + 1]) continue;  // a row that the window doesn't show
    RunSpan found[2];
    const int32_t n = ChangedSpans(changed ? changed[y] : ChangedPictureConverter::kWholeRow, found);
    for (int32_t i = 0; i < n; ++i) {
      const int32_t x = columnAt_[static_cast<size_t>(found[i].first)];
      const int32_t end = columnAt_[static_cast<size_t>(std::min(found[i].end, kPictureWidth / 16))];
      if (x < end) spans_.push_back(Span{y, x, end});
    }
  }
}

std::vector<XRectangle>& X11SpanClip::Rows(int32_t from, int32_t to) {
  clip_.clear();
  for (const Span& sp : spans_) {
    const int32_t top = rowAt_[static_cast<size_t>(sp.y)] + from;
    const int32_t bottom = std::min(rowAt_[static_cast<size_t>(sp.y)] + to, rowAt_[static_cast<size_t>(sp.y) + 1]);
    if (top >= bottom) continue;
    clip_.push_back(XRectangle{static_cast<short>(rect_.x + sp.x), static_cast<short>(rect_.y + top),
                               static_cast<unsigned short>(sp.end - sp.x),
                               static_cast<unsigned short>(bottom - top)});
  }
  return clip_;
}

int32_t X11SpanClip::TallestRow() const {
  int32_t tallest = 0;
  for (int32_t y = 0; y < kPictureHeight; ++y) tallest = std::max(tallest, rowAt_[y + 1] - rowAt_[y]);
  return tallest;
}
