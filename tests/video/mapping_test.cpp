// Picture <-> screen mapping of the full-screen window, on many screen sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

#include "video/presenter.h"
#include "video/picture_convert.h"
#include "video/picture_mapping.h"

namespace {

const std::vector<std::pair<int, int>> kScreens = {
    {640, 480},   {800, 600},   {1024, 768},  {1152, 864},  {1280, 720},  {1280, 800},
    {1280, 1024}, {1366, 768},  {1440, 900},  {1600, 900},  {1600, 1200}, {1680, 1050},
    {1920, 1080}, {1920, 1200}, {2560, 1080}, {2560, 1440}, {3440, 1440}, {3840, 2160}};

TEST(PictureMapping, EveryPicturePointComesBackUnchanged) {
  for (const auto& [w, h] : kScreens) {
    for (int py = 0; py <= 480; py += 7) {
      for (int px = 0; px <= 640; px += 5) {
        int32_t wx = 0, wy = 0, bx = -1, by = -1;
        PictureToWindowPoint(w, h, px, py, wx, wy);
        WindowPointToPicture(w, h, wx, wy, bx, by);
        ASSERT_EQ(bx, px) << w << "x" << h << " at " << px;
        ASSERT_EQ(by, py) << w << "x" << h << " at " << py;
      }
    }
  }
}

TEST(PictureMapping, TheParkedCursorStaysWithinTheToleranceThroughReadBacks) {
  // The game parks the cursor at picture (640, 480) and every 101st frame
  // reads it and sets it to the same place. The X server keeps the pointer
  // on the screen, so the parked point lands on the last row or column.
  for (const auto& [w, h] : kScreens) {
    int32_t px = 640, py = 480;
    for (int round = 0; round < 1000; ++round) {
      int32_t dx = 0, dy = 0;
      PictureToWindowPoint(w, h, px, py, dx, dy);
      dx = std::clamp(dx, 0, w - 1);
      dy = std::clamp(dy, 0, h - 1);
      WindowPointToPicture(w, h, dx, dy, px, py);
    }
    EXPECT_LE(std::abs(px - 640), 10) << w << "x" << h;
    EXPECT_LE(std::abs(py - 480), 10) << w << "x" << h;
  }
}

TEST(PictureMapping, BordersAndCentreOfA16By9Screen) {
  int32_t wx = 0, wy = 0;
  PictureToWindowPoint(1920, 1080, 0, 0, wx, wy);
  EXPECT_EQ(wx, 240);  // a 1440 x 1080 picture, 240 black columns each side
  EXPECT_EQ(wy, 0);
  int32_t px = 0, py = 0;
  WindowPointToPicture(1920, 1080, 960, 540, px, py);
  EXPECT_EQ(px, 320);
  EXPECT_EQ(py, 240);
  WindowPointToPicture(1920, 1080, 0, 0, px, py);
  EXPECT_LT(px, 0);  // the left border lies left of the picture
}

}  // namespace

namespace {

TEST(PictureScalerTest, EveryTargetPixelShowsThePicturePixelUnderItsCentre) {
  std::vector<uint8_t> picture(640 * 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) picture[static_cast<size_t>(y) * 640 + x] = static_cast<uint8_t>((x * 7 + y * 13) & 0xFF);
  }
  uint32_t palette[256];
  for (int i = 0; i < 256; ++i) palette[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203);
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1024, 768}, {1440, 1080}, {800, 600}, {2880, 2160}}) {
    PictureScaler scaler;
    scaler.Resize(w, h);
    const int pitch = w * 4 + 12;  // rows wider than the picture, like a window surface
    std::vector<uint32_t> out(static_cast<size_t>(pitch / 4) * h, 0xDEADBEEF);
    scaler.Scale(picture.data(), 640, palette, out.data(), pitch);
    for (int y = 0; y < h; y += 3) {
      const int sy = static_cast<int>((y + 0.5) * 480.0 / h);
      for (int x = 0; x < w; x += 5) {
        const int sx = static_cast<int>((x + 0.5) * 640.0 / w);
        ASSERT_EQ(out[static_cast<size_t>(y) * (pitch / 4) + x], palette[picture[static_cast<size_t>(sy) * 640 + sx]])
            << w << "x" << h << " at " << x << "," << y;
      }
      // The padding beyond the picture's width is left alone.
      ASSERT_EQ(out[static_cast<size_t>(y) * (pitch / 4) + w], 0xDEADBEEFu);
    }
  }
}

}  // namespace

namespace {

TEST(ChangedPictureConverterTest, KeepsTheConversionEqualToAWholeOne) {
  // A moving picture (one pixel, a run across a 16-pixel boundary, a scroll),
  // a palette change, and a buffer that someone else wrote into meanwhile.
  std::vector<uint8_t> picture(640 * 480);
  for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>((i * 31) >> 4);
  std::vector<uint32_t> palette(256);
  for (uint32_t i = 0; i < 256; ++i) palette[i] = 0xFF000000u | (i * 0x030507u);
  alignas(64) static uint32_t out[640 * 480];
  std::vector<uint32_t> whole(640 * 480);
  ChangedPictureConverter converter;
  auto expectWhole = [&](const char* step) {
    converter.Convert(picture.data(), 640, palette.data(), out, 640 * 4);
    ConvertToArgb(picture.data(), 640, palette.data(), whole.data(), 640 * 4);
    EXPECT_TRUE(std::equal(whole.begin(), whole.end(), out)) << step;
  };
  expectWhole("first picture");
  const uint64_t* changed = converter.ChangedRuns();
  auto changedRows = [&] { return std::count_if(changed, changed + 480, [](uint64_t r) { return r != 0; }); };
  picture[123 * 640 + 77] ^= 0x55;
  expectWhole("one pixel");
  EXPECT_EQ(changed[123], uint64_t{1} << 4);
  EXPECT_EQ(changedRows(), 1);
  std::fill_n(&picture[479 * 640 + 10], 20, uint8_t{9});
  expectWhole("a run over a boundary");
  EXPECT_EQ(changed[479], 3u);
  EXPECT_EQ(changedRows(), 1);
  std::rotate(picture.begin(), picture.begin() + 640, picture.end());
  expectWhole("scrolled by a row");
  palette[picture[0]] ^= 0x00FFFFFFu;
  expectWhole("a palette entry changed");
  EXPECT_EQ(changed[200], ChangedPictureConverter::kWholeRow);
  std::fill_n(out, 640 * 480, 0u);
  converter.Forget();
  expectWhole("the buffer written by someone else");
}

TEST(ChangedPictureConverterTest, APictureMovingDownMovesUpInTheTallerBufferUntilItWrapsToTheBottom) {
  // Four spare rows; the background scrolls down a row a frame under a
  // pixel that moves across it, the picture's right half does not change.
  // Whatever the buffer held before is garbage.
  constexpr int32_t kRows = 484;
  std::vector<uint8_t> picture(640 * 480);
  for (size_t i = 0; i < picture.size(); ++i) {
    picture[i] = static_cast<uint8_t>(i % 640 < 320 ? i % 640 + 3 * (i / 640) : i % 640);
  }
  std::vector<uint32_t> palette(256);
  for (uint32_t i = 0; i < 256; ++i) palette[i] = 0xFF000000u | (i * 0x030507u);
  alignas(64) static uint32_t out[640 * kRows];
  std::fill_n(out, 640 * kRows, 0xDEADBEEFu);
  std::vector<uint32_t> whole(640 * 480);
  ChangedPictureConverter converter;
  for (const int32_t top : {4, 3, 2, 1, 0, 4, 3}) {
    converter.Convert(picture.data(), 640, palette.data(), out, 640 * 4, kRows);
    ConvertToArgb(picture.data(), 640, palette.data(), whole.data(), 640 * 4);
    ASSERT_EQ(converter.Top(), top);
    EXPECT_TRUE(std::equal(whole.begin(), whole.end(), out + 640 * top)) << top;
    // What changed on the picture: its left half (everything when new).
    EXPECT_EQ(converter.ChangedRuns()[100], top == 4 ? ChangedPictureConverter::kWholeRow : 0xFFFFF) << top;
    std::copy_backward(picture.begin(), picture.end() - 640, picture.end());
    // The new top row: partly what the buffer's kept indices above the
    // picture start with, which must not pass for converted.
    for (int32_t x = 0; x < 640; ++x) picture[static_cast<size_t>(x)] = static_cast<uint8_t>(x < 320 ? 0 : x + top);
    picture[static_cast<size_t>(240 * 640 + 100 + 20 * top)] = 250;
  }
  // A change in place keeps the picture where it is.
  converter.Convert(picture.data(), 640, palette.data(), out, 640 * 4, kRows);
  picture[300 * 640 + 17] ^= 1;
  converter.Convert(picture.data(), 640, palette.data(), out, 640 * 4, kRows);
  ConvertToArgb(picture.data(), 640, palette.data(), whole.data(), 640 * 4);
  EXPECT_EQ(converter.Top(), 2);
  EXPECT_TRUE(std::equal(whole.begin(), whole.end(), out + 640 * 2));
  EXPECT_EQ(converter.ChangedRuns()[300], 2u);
}

}  // namespace
