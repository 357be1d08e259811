// Scale planning, built without Xlib: the server's scale plan against the
// scaler's rule, where each picture pixel first shows, and a row's changed
// runs as spans.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "video/picture_convert.h"
#include "video/x11_scale_plan.h"

TEST(ScalePlanTest, ServerSamplesTheScalersPixelAtEverySize) {
  // Sizes that scale by awkward fractions (1066 = 1280 x 800's picture), by
  // whole numbers, down, and not at all.
  for (const int32_t size : {150, 200, 479, 480, 640, 768, 800, 1066, 1080, 1440, 2160, 2880, 4096}) {
    for (const int32_t source : {640, 480}) {
      SCOPED_TRACE(testing::Message() << source << " -> " << size);
      PictureScaler scaler;
      scaler.Resize(source == 640 ? size : 1, source == 480 ? size : 1);
      const std::vector<ScaleRun> runs = PlanScaleRuns(source, size);
      ASSERT_FALSE(runs.empty());
      int32_t next = 0, wrong = 0;
      for (const ScaleRun& run : runs) {
        ASSERT_EQ(run.start, next);
        for (int32_t i = 0; i < run.length; ++i) {
          const int32_t d = run.start + i;
          const int32_t expected = static_cast<int32_t>((2 * int64_t{d} + 1) * source / (2 * int64_t{size}));
          wrong += SampledSourcePixel(run, i) != expected;
        }
        next += run.length;
      }
      EXPECT_EQ(next, size);
      EXPECT_EQ(wrong, 0);
    }
  }
}

TEST(ChangedSpansTest, TheWidestGapSplitsTheRowAndEveryChangedRunIsInASpan) {
  RunSpan spans[2];
  // Runs 0-1, 5, 7-9 and 39: gaps of 3, 1 and 29 runs.
  const uint64_t runs = 0b11u | 1u << 5 | 0b111u << 7 | uint64_t{1} << 39;
  ASSERT_EQ(ChangedSpans(runs, spans), 2);
  EXPECT_EQ(spans[0].first, 0);
  EXPECT_EQ(spans[0].end, 10);
  EXPECT_EQ(spans[1].first, 39);
  EXPECT_EQ(spans[1].end, 40);
  // Gaps of 2, 16 and 1.
  ASSERT_EQ(ChangedSpans(1u | 1u << 3 | 1u << 20 | 1u << 22, spans), 2);
  EXPECT_EQ(spans[0].end, 4);
  EXPECT_EQ(spans[1].first, 20);
  EXPECT_EQ(spans[1].end, 23);
  ASSERT_EQ(ChangedSpans(uint64_t{3} << 62, spans), 1);  // the top bits
  EXPECT_EQ(spans[0].first, 62);
  EXPECT_EQ(spans[0].end, 64);
  EXPECT_EQ(ChangedSpans(0, spans), 0);
  ASSERT_EQ(ChangedSpans(ChangedPictureConverter::kWholeRow, spans), 1);
  EXPECT_EQ(spans[0].first, 0);
  EXPECT_EQ(spans[0].end, 40);
}

TEST(FirstShownTest, EachPicturePixelFirstShowsWhereTheScalerFirstReachesIt) {
  for (const int32_t size : {150, 479, 480, 640, 1066, 1440, 2160}) {
    for (const int32_t source : {640, 480}) {
      SCOPED_TRACE(testing::Message() << source << " -> " << size);
      const std::vector<int32_t> first = FirstShown(PlanScaleRuns(source, size), source, size);
      ASSERT_EQ(first.size(), static_cast<size_t>(source) + 1);
      int32_t wrong = 0;
      for (int32_t d = 0, p = 0; p <= source; ++p) {
        while (d < size && (2 * int64_t{d} + 1) * source / (2 * int64_t{size}) < p) ++d;
        wrong += first[static_cast<size_t>(p)] != d;
      }
      EXPECT_EQ(wrong, 0);
    }
  }
}
