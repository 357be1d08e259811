// How the X server scales the picture so that every window pixel equals
// what PictureScaler gives: runs of window pixels each composited with one
// nearest-neighbour transform, where each picture pixel first shows, and a
// row's changed runs of pixels as spans. No Xlib: planned and tested without
// an X server.
#pragma once

#include <cstdint>
#include <vector>

// One run of destination pixels along an axis composited with one transform:
// destination pixel start + i samples source pixel
// (origin + i * step) >> 16 (16.16 fixed point), exactly as the server's
// nearest filter computes it (pixel centre, rounded towards the lower pixel).
struct ScaleRun {
  int32_t start = 0;
  int32_t length = 0;
  int32_t step = 0;      // transform scale, 16.16
  int32_t offset = 0;    // transform translation, 16.16
};
// Runs covering `size` destination pixels so that each samples the source
// pixel that PictureScaler picks: floor((2 i + 1) * source / (2 size)).
std::vector<ScaleRun> PlanScaleRuns(int32_t source, int32_t size);
// The source pixel that the server samples for destination pixel i of a run.
int32_t SampledSourcePixel(const ScaleRun& run, int32_t i);
// Where each source pixel first shows among `size` destination pixels
// planned as `runs`: first[p] is the first destination pixel that samples p
// or a later pixel (`size` when none does); first[source] = size.
std::vector<int32_t> FirstShown(const std::vector<ScaleRun>& runs, int32_t source, int32_t size);

// A row's changed runs of 16 pixels (bits, as ChangedPictureConverter gives
// them) as at most two spans of whole runs: the row's changed extent, split
// at its widest gap of unchanged runs. Returns the number of spans.
struct RunSpan {
  int32_t first = 0;  // the first run of the span
  int32_t end = 0;    // one past its last run
};
int32_t ChangedSpans(uint64_t runs, RunSpan spans[2]);
