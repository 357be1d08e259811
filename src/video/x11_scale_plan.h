// How the X server scales the picture so that every window pixel equals
// what PictureScaler gives: runs of window pixels each composited with one
// nearest-neighbour transform, where each picture pixel first shows, and a
// row's changed runs of pixels as spans. No Xlib: planned and tested without
// an X server.
#pragma once

#include <bit>
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
// Inline: called for every picture row of every frame.
inline int32_t ChangedSpans(uint64_t runs, RunSpan spans[2]) {
  if (runs == 0) return 0;
  const int32_t first = std::countr_zero(runs);
  const int32_t end = 64 - std::countl_zero(runs);
  // The widest run of unchanged pixels between the first and the last
  // changed run splits the row.
  const uint64_t gaps = ~runs & ((end == 64 ? ~uint64_t{0} : (uint64_t{1} << end) - 1) >> first << first);
  // Eroded k times, the gaps keep a bit where k + 1 unchanged runs start:
  // the last non-empty erosion holds the starts of the widest gaps. As many
  // steps as the widest gap is long, fewer than one a gap on a busy row.
  int32_t widest = 0;
  uint64_t starts = 0;
  for (uint64_t g = gaps; g != 0; g &= g >> 1) {
    starts = g;
    ++widest;
  }
  const int32_t at = std::countr_zero(starts);  // the first of them
  if (widest == 0) {
    spans[0] = RunSpan{first, end};
    return 1;
  }
  spans[0] = RunSpan{first, at};
  spans[1] = RunSpan{at + widest, end};
  return 2;
}
