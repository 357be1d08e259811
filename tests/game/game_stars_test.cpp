// The star field written into a picture: layers, re-entry, crosses, the
// index-0 rule and the picture's edges.
#include <gtest/gtest.h>

#include <vector>

#include "game/game_fixture.h"
#include "game/game.h"
#include "game/world_state.h"

using gametest::FreshWorld;
using gametest::RefRandom;

namespace {

// A 640 x 480 picture with guard rows above and below and a wider pitch, so
// that a write outside the picture shows.
struct Picture {
  static constexpr int kPitch = 648;
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kPitch * (480 + 2), 0);
  uint8_t* Pixels() { return bytes.data() + kPitch; }
  uint8_t& At(int x, int y) { return Pixels()[y * kPitch + x]; }
  int Written() const {
    int n = 0;
    for (uint8_t b : bytes) n += b != 0;
    return n;
  }
};

TEST(Stars, PlacementDrawsThreeNumbersPerStar) {
  auto w = FreshWorld();
  PlaceStars(*w);
  RefRandom r;
  for (int i = 0; i < 200; ++i) {
    EXPECT_EQ(w->StarX[i], r.Next(640));
    EXPECT_EQ(w->StarY[i], r.Next(480));
    const int c = r.Next(3);
    EXPECT_EQ(w->StarColor[i], c == 0 ? 255 : c == 1 ? 199 : 190);
  }
  EXPECT_EQ(w->RandSeed, r.state);
}

TEST(Stars, LayersMoveAtTheirPacesAndReenterAtTheTop) {
  auto w = FreshWorld();
  for (int i = 0; i < 200; ++i) {
    w->StarX[i] = 1 + i;
    w->StarY[i] = 479;
  }
  Picture p;
  w->FrameNo = 16;  // every layer moves
  DrawStars(*w, p.Pixels(), Picture::kPitch);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(w->StarY[i], 0) << i;
  w->FrameNo = 2;  // only stars 1..49
  DrawStars(*w, p.Pixels(), Picture::kPitch);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(w->StarY[i], i < 49 ? 1 : 0) << i;
  w->FrameNo = 4;  // 1..49 and 100..149
  DrawStars(*w, p.Pixels(), Picture::kPitch);
  EXPECT_EQ(w->StarY[48], 2);
  EXPECT_EQ(w->StarY[49], 0);   // star 50: every 16th frame
  EXPECT_EQ(w->StarY[99], 1);   // star 100
  EXPECT_EQ(w->StarY[149], 0);  // star 150: every 8th frame
  w->FrameNo = 8;
  DrawStars(*w, p.Pixels(), Picture::kPitch);
  EXPECT_EQ(w->StarY[149], 1);
  EXPECT_EQ(w->StarY[98], 0);   // star 99: every 16th frame only
}

TEST(Stars, CrossesOnlyOnIndexZeroAndNeverOutsideThePicture) {
  auto w = FreshWorld();
  for (int i = 0; i < 200; ++i) {
    w->StarX[i] = 300;
    w->StarY[i] = 200;
    w->StarColor[i] = 199;
  }
  // Star 10 (a cross, arms 190) at the left edge on the top row, star 20 at
  // the right edge on the bottom row, star 110 (arms 199) at the right edge
  // mid-screen, star 3 plain on a coloured pixel.
  w->StarX[9] = 0; w->StarY[9] = 0;
  w->StarX[19] = 639; w->StarY[19] = 479;
  w->StarX[109] = 639; w->StarY[109] = 100;
  w->StarX[2] = 50; w->StarY[2] = 50;
  w->FrameNo = 1;  // nothing moves
  Picture p;
  p.At(50, 50) = 7;
  p.At(0, 101) = 0;
  DrawStars(*w, p.Pixels(), Picture::kPitch);
  // Top-left cross: centre 255, only the lower and right arms.
  EXPECT_EQ(p.At(0, 0), 255);
  EXPECT_EQ(p.At(0, 1), 190);
  EXPECT_EQ(p.At(1, 0), 190);
  // Bottom-right cross: only the upper and left arms; nothing beyond.
  EXPECT_EQ(p.At(639, 479), 255);
  EXPECT_EQ(p.At(639, 478), 190);
  EXPECT_EQ(p.At(638, 479), 190);
  // Right edge mid-screen: the right arm is dropped, not wrapped to the next row.
  EXPECT_EQ(p.At(639, 100), 255);
  EXPECT_EQ(p.At(639, 99), 199);
  EXPECT_EQ(p.At(638, 100), 199);
  EXPECT_EQ(p.At(639, 101), 199);
  EXPECT_EQ(p.At(0, 101), 0);
  // A coloured pixel is never overwritten.
  EXPECT_EQ(p.At(50, 50), 7);
  // The 196 others share (300, 200): the first plain star (1) sets it, so the
  // crosses there add only arms.
  EXPECT_EQ(p.At(300, 200), 199);
  EXPECT_EQ(p.At(299, 200), 190);  // star 30's arm, the first cross there
  // Guard rows and pitch padding stay clean.
  for (int x = 0; x < Picture::kPitch; ++x) {
    EXPECT_EQ(p.bytes[x], 0);
    EXPECT_EQ(p.bytes[(481) * Picture::kPitch + x], 0);
  }
  for (int y = 0; y < 480; ++y) {
    for (int x = 640; x < Picture::kPitch; ++x) ASSERT_EQ(p.At(x, y), 0) << x << "," << y;
  }
}

TEST(Stars, ACrossShows255AtItsCentreNotItsColour) {
  auto w = FreshWorld();
  for (int i = 0; i < 200; ++i) {
    w->StarX[i] = i * 3;
    w->StarY[i] = 240;
    w->StarColor[i] = 190;
  }
  Picture p;
  w->FrameNo = 1;
  DrawStars(*w, p.Pixels(), Picture::kPitch);
  EXPECT_EQ(p.At(9 * 3, 240), 255);  // star 10
  EXPECT_EQ(p.At(8 * 3, 240), 190);  // star 9
  EXPECT_EQ(p.At(9 * 3, 239), 190);
  EXPECT_EQ(p.At(199 * 3, 241), 199);  // star 200's arm
}

}  // namespace
