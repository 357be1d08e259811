#include "video/x11_scale_plan.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// The destination pixel's source pixel as PictureScaler picks it.
int64_t ScalerSource(int32_t source, int32_t size, int32_t i) {
  return (int64_t{2} * i + 1) * source / (int64_t{2} * size);
}

// The fixed-point position that the server floors for pixel i of a run
// with this step when the translation gives `base` (see SampledSourcePixel).
int64_t RunBase(int32_t step, int32_t offset) { return int64_t{offset} + ((int64_t{step} + 1) >> 1) - 1; }

// Greedy runs for one step: each run as long as one translation keeps every
// pixel on its scaler pixel. An empty result when a single pixel can't be met.
std::vector<ScaleRun> RunsForStep(int32_t source, int32_t size, int32_t step) {
  std::vector<ScaleRun> runs;
  int32_t start = 0;
  while (start < size) {
    // The run's base (the floored position of its first pixel) must lie in
    // [lo, hi] for every pixel taken so far.
    int64_t lo = INT64_MIN, hi = INT64_MAX;
    int32_t i = 0;
    for (; start + i < size; ++i) {
      const int64_t c = ScalerSource(source, size, start + i) * 65536;
      const int64_t l = std::max(lo, c - int64_t{step} * i);
      const int64_t h = std::min(hi, c + 65535 - int64_t{step} * i);
      if (l > h) break;
      lo = l;
      hi = h;
    }
    if (i == 0) return {};
    const int64_t base = lo + (hi - lo) / 2;
    ScaleRun r;
    r.start = start;
    r.length = i;
    r.step = step;
    r.offset = static_cast<int32_t>(base + 1 - ((int64_t{step} + 1) >> 1));
    runs.push_back(r);
    start += i;
  }
  return runs;
}

}  // namespace

std::vector<int32_t> FirstShown(const std::vector<ScaleRun>& runs, int32_t source, int32_t size) {
  std::vector<int32_t> first(static_cast<size_t>(source) + 1, size);
  int32_t next = 0;
  for (const ScaleRun& run : runs) {
    for (int32_t i = 0; i < run.length; ++i) {
      const int32_t sampled = std::min(SampledSourcePixel(run, i), source - 1);
      while (next <= sampled) first[static_cast<size_t>(next++)] = run.start + i;
    }
  }
  return first;
}

int32_t SampledSourcePixel(const ScaleRun& run, int32_t i) {
  // The server maps the pixel centre (i + 0.5) with the transform, rounding
  // the fixed-point product to nearest, then steps back by the smallest
  // fixed-point unit and floors, so that a centre on a pixel boundary takes
  // the lower pixel.
  const int64_t pos = int64_t{run.step} * i + RunBase(run.step, run.offset);
  return static_cast<int32_t>(pos >> 16);
}

std::vector<ScaleRun> PlanScaleRuns(int32_t source, int32_t size) {
  if (size <= 0 || source <= 0) return {};
  // The exact step is rarely a 16.16 number: of the steps around it, the one
  // that needs the fewest runs (one, at almost every size).
  const int64_t ideal = (int64_t{source} * 65536 + size / 2) / size;
  std::vector<ScaleRun> best;
  for (int64_t d = 0; d <= 32 && best.size() != 1; ++d) {
    // ideal, ideal - 1, ideal + 1, ideal - 2, ...
    const int64_t step = (d % 2 == 0) ? ideal + d / 2 : ideal - (d + 1) / 2;
    if (step <= 0 || step > INT32_MAX) continue;
    std::vector<ScaleRun> runs = RunsForStep(source, size, static_cast<int32_t>(step));
    if (!runs.empty() && (best.empty() || runs.size() < best.size())) best = std::move(runs);
  }
  return best;
}
