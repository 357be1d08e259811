// Clipping and drawing of the three primitives, checked pixel by pixel in the
// back buffer of a headless display.
#include "game/video_fixture.h"

using namespace dx;

using DrawTest = VideoTest;

TEST_F(DrawTest, FillRectClipsEachEdgeAndRejectsOutside) {
  OpenFull();
  FillRect(d(), -5, -5, 3, 3, 9);  // top-left corner: two edges at once
  EXPECT_EQ(Count(9), 16);
  EXPECT_EQ(Px(0, 0), 9);
  EXPECT_EQ(Px(3, 3), 9);
  EXPECT_EQ(Px(4, 3), 0);

  FillRect(d(), 700, 10, 800, 20, 10);  // wholly right of the screen
  FillRect(d(), -20, 10, -1, 20, 10);   // wholly left, last column at -1
  FillRect(d(), 10, 480, 20, 490, 10);  // wholly below, first row at 480
  FillRect(d(), 10, -9, 20, -1, 10);    // wholly above
  EXPECT_EQ(Count(10), 0);

  FillRect(d(), 10, 10, 10, 10, 11);  // one pixel
  EXPECT_EQ(Count(11), 1);
  EXPECT_EQ(Px(10, 10), 11);

  FillRect(d(), 630, 470, 700, 900, 12);  // bottom-right, two edges
  EXPECT_EQ(Count(12), 10 * 10);
  EXPECT_EQ(Px(639, 479), 12);

  FillRect(d(), -100, 200, 1000, 200, 13);  // both ends clipped
  EXPECT_EQ(Count(13), 640);
  EXPECT_EQ(d().FillFx.dwSize, 100u);
  EXPECT_EQ(d().FillFx.dwFillColor, 13u);
}

TEST_F(DrawTest, UnsetClipRectAllowsOnlyTheTopLeftPixel) {
  OpenDisplay(w(), host_);
  EXPECT_EQ(d().ClipLeft, 0);
  EXPECT_EQ(d().ClipRight, 0);
  EXPECT_EQ(d().ClipBottom, 0);
  FillRect(d(), 0, 0, 639, 479, 5);
  EXPECT_EQ(Count(5), 1);
  EXPECT_EQ(Px(0, 0), 5);
  PatternSheet(1);
  Blit(d(), 1, 0, 0, 10, 10, 89, 89, kBlitOpaque);
  EXPECT_EQ(Px(0, 0), Pattern(10, 10));
  EXPECT_EQ(Px(1, 0), 0);
}

TEST_F(DrawTest, ClipRectSmallerThanScreen) {
  OpenFull();
  SetClipRect(d(), 100, 50, 199, 149);
  FillRect(d(), 0, 0, 639, 479, 3);
  EXPECT_EQ(Count(3), 100 * 100);
  EXPECT_EQ(Px(100, 50), 3);
  EXPECT_EQ(Px(99, 50), 0);
  EXPECT_EQ(Px(200, 149), 0);
  EXPECT_EQ(Px(199, 150), 0);
}

TEST_F(DrawTest, BlitClipsLeftRightTopBottom) {
  OpenFull();
  PatternSheet(3);
  // Left: an 80-wide cell whose left is 160, at x = -30: columns 190..239 at x 0..49.
  Blit(d(), 3, -30, 100, 160, 0, 239, 84, kBlitOpaque);
  EXPECT_EQ(Px(0, 100), Pattern(190, 0));
  EXPECT_EQ(Px(49, 100), Pattern(239, 0));
  EXPECT_EQ(Px(50, 100), 0);
  EXPECT_EQ(Px(49, 184), Pattern(239, 84));
  EXPECT_EQ(Px(49, 185), 0);

  // Right: at x = 600 its first 40 columns land at 600..639.
  Blit(d(), 3, 600, 300, 160, 0, 239, 84, kBlitOpaque);
  EXPECT_EQ(Px(600, 300), Pattern(160, 0));
  EXPECT_EQ(Px(639, 300), Pattern(199, 0));
  EXPECT_EQ(Px(599, 300), 0);
}

TEST_F(DrawTest, OpaqueBackgroundAtTheEdgesOfTheBand) {
  OpenFull();
  PatternSheet(2);
  Blit(d(), 2, 0, -480, 0, 0, 639, 479, kBlitOpaque);
  Blit(d(), 2, 0, 480, 0, 0, 639, 479, kBlitOpaque);
  EXPECT_EQ(Count(0), 640 * 480);

  Blit(d(), 2, 0, -1, 0, 0, 639, 479, kBlitOpaque);  // source rows 1..479 at 0..478
  EXPECT_EQ(Px(0, 0), Pattern(0, 1));
  EXPECT_EQ(Px(639, 478), Pattern(639, 479));
  EXPECT_EQ(Px(5, 479), 0);

  Blit(d(), 2, 0, 479, 0, 0, 639, 479, kBlitOpaque);  // only its top row, on the last row
  EXPECT_EQ(Px(7, 479), Pattern(7, 0));
}

TEST_F(DrawTest, SpriteStickingOutOnTwoSidesIsCutOnBoth) {
  OpenFull();
  PatternSheet(3);
  // Top-left corner: 80 x 85 cell at (-10, -20).
  Blit(d(), 3, -10, -20, 0, 85, 79, 169, kBlitOpaque);
  EXPECT_EQ(Px(0, 0), Pattern(10, 105));
  EXPECT_EQ(Px(69, 64), Pattern(79, 169));
  EXPECT_EQ(Px(70, 0), 0);
  EXPECT_EQ(Px(0, 65), 0);
  // Bottom-right corner.
  Blit(d(), 3, 600, 450, 0, 85, 79, 169, kBlitOpaque);
  EXPECT_EQ(Px(600, 450), Pattern(0, 85));
  EXPECT_EQ(Px(639, 479), Pattern(39, 114));
  EXPECT_EQ(Px(599, 450), 0);
  EXPECT_EQ(Px(600, 449), 0);
}

TEST_F(DrawTest, SpriteTouchingTheClipFromOutsideDrawsNothing) {
  OpenFull();
  SetClipRect(d(), 100, 100, 299, 299);
  PatternSheet(3);
  Blit(d(), 3, 20, 150, 0, 0, 79, 84, kBlitOpaque);    // last column at 99
  Blit(d(), 3, 300, 150, 0, 0, 79, 84, kBlitOpaque);   // first column at 300
  Blit(d(), 3, 150, 15, 0, 0, 79, 84, kBlitOpaque);    // last row at 99
  Blit(d(), 3, 150, 300, 0, 0, 79, 84, kBlitOpaque);   // first row at 300
  EXPECT_EQ(Count(0), 640 * 480);
  Blit(d(), 3, 21, 150, 0, 0, 79, 84, kBlitOpaque);    // one column inside
  EXPECT_EQ(Px(100, 150), Pattern(79, 0));
  EXPECT_EQ(Px(101, 150), 0);
}

TEST_F(DrawTest, KeyedSkipsIndexZeroOpaqueCopiesIt) {
  OpenFull();
  IDirectDrawSurface* s = d().Sheet(1);
  // A 40 x 3 sprite: every third pixel index 0, the rest 77.
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 40; ++x) s->Pixels()[y * s->Pitch() + x] = (x % 3 == 0) ? 0 : 77;
  FillRect(d(), 0, 0, 639, 479, 5);
  Blit(d(), 1, 10, 10, 0, 0, 39, 2, kBlitKeyed);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(Px(10 + x, 11), (x % 3 == 0) ? 5 : 77) << x;
  Blit(d(), 1, 10, 20, 0, 0, 39, 2, kBlitOpaque);
  for (int x = 0; x < 40; ++x) EXPECT_EQ(Px(10 + x, 21), (x % 3 == 0) ? 0 : 77) << x;
  EXPECT_EQ(Px(9, 11), 5);
  EXPECT_EQ(Px(50, 11), 5);
}

TEST_F(DrawTest, KeyedCopyOfWideMixedRowsMatchesPixelByPixel) {
  // Widths and offsets that cross the 16- and 8-byte blocks of the copy.
  OpenFull();
  IDirectDrawSurface* s = d().Sheet(4);
  uint32_t seed = 1;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      seed = seed * 1103515245u + 12345u;
      const uint32_t r = seed >> 24;
      s->Pixels()[y * s->Pitch() + x] = (r < 100) ? 0 : static_cast<uint8_t>(r);
    }
  for (int x = 0; x < 40; ++x) s->Pixels()[5 * s->Pitch() + x] = 0;      // all-key blocks
  for (int x = 40; x < 80; ++x) s->Pixels()[5 * s->Pitch() + x] = 200;   // no-key blocks
  FillRect(d(), 0, 0, 639, 479, 42);
  std::vector<uint8_t> expect(640 * 480, 42);
  const int widths[] = {1, 7, 8, 9, 15, 16, 17, 33, 80, 637};
  int y0 = 0;
  for (int wd : widths) {
    const int sx = wd % 5, sy = wd % 11, dx = (wd * 13) % (640 - wd);
    Blit(d(), 4, dx, y0, sx, sy, sx + wd - 1, sy + 9, kBlitKeyed);
    for (int yy = 0; yy < 10; ++yy)
      for (int xx = 0; xx < wd; ++xx) {
        const uint8_t v = s->At(sx + xx, sy + yy);
        if (v) expect[(y0 + yy) * 640 + dx + xx] = v;
      }
    y0 += 12;
  }
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) ASSERT_EQ(Px(x, y), expect[y * 640 + x]) << x << "," << y;
}

TEST_F(DrawTest, OtherModesAndSheetsDrawNothing) {
  OpenFull();
  PatternSheet(1);
  Blit(d(), 1, 0, 0, 0, 0, 99, 99, 3);
  Blit(d(), 1, 0, 0, 0, 0, 99, 99, 0);
  Blit(d(), 5, 0, 0, 0, 0, 99, 99, kBlitKeyed);
  Blit(d(), 0, 0, 0, 0, 0, 99, 99, kBlitOpaque);
  DrawNumber(d(), 5, 0, 0, 333, 389, 223, 26, 123, 3);
  EXPECT_EQ(Count(0), 640 * 480);
  // A source rectangle reaching outside the sheet is refused, not read.
  Blit(d(), 1, 0, 0, 600, 0, 700, 10, kBlitOpaque);
  EXPECT_EQ(Count(0), 640 * 480);
}

class DrawNumberTest : public VideoTest {
 protected:
  // Sheet 1 gets a digit strip at (333, 389), 223 wide, whose glyph d is
  // filled with index 100 + d.
  void SetUp() override {
    VideoTest::SetUp();
    OpenFull();
    IDirectDrawSurface* s = d().Sheet(1);
    for (int dg = 0; dg < 10; ++dg) {
      const int left = 333 + 223 * dg / 10;
      for (int y = 389; y <= 389 + 26; ++y)
        for (int x = left; x <= left + 20; ++x) s->Pixels()[y * s->Pitch() + x] = 100 + dg;
    }
  }
  // The digits drawn at (x, y), read back from the glyph colours.
  std::string Read(int x, int y, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) {
      const uint8_t v = Px(x + 25 * i + 10, y + 13);
      out += (v >= 100 && v <= 109) ? static_cast<char>('0' + v - 100) : '_';
    }
    return out;
  }
  void Draw(int x, int y, int value, int digits) {
    DrawNumber(d(), 1, x, y, 333, 389, 223, 26, value, digits);
  }
};

TEST_F(DrawNumberTest, PaddingAndLeadingDigits) {
  Draw(550, 445, 7, 3);
  EXPECT_EQ(Read(550, 445, 3), "007");
  Draw(155, 10, 12345, 4);
  EXPECT_EQ(Read(155, 10, 5), "1234_");
  Draw(490, 100, 0, 4);
  EXPECT_EQ(Read(490, 100, 4), "0000");
}

TEST_F(DrawNumberTest, GlyphGeometry) {
  Draw(100, 200, 8, 1);
  // Glyph 8 starts at 333 + 1784 div 10 = 511; 21 columns wide, 27 rows high.
  EXPECT_EQ(Px(100, 200), 108);
  EXPECT_EQ(Px(120, 200), 108);
  EXPECT_EQ(Px(121, 200), 0);
  EXPECT_EQ(Px(100, 226), 108);
  EXPECT_EQ(Px(100, 227), 0);
  Draw(100, 300, 90, 2);
  EXPECT_EQ(Px(100, 300), 109);
  EXPECT_EQ(Px(124, 300), 0);  // the gap between glyphs
  EXPECT_EQ(Px(125, 300), 100);
}

TEST_F(DrawNumberTest, ZeroDigitsOrNegativeValueDrawNothing) {
  Draw(0, 0, 5, 0);
  Draw(0, 0, 5, -3);
  Draw(0, 0, -5, 3);
  EXPECT_EQ(Count(0), 640 * 480);
  Draw(0, 100, 2147483647, 12);  // more than ten digits are cut to ten
  EXPECT_EQ(Read(0, 100, 11), "2147483647_");
}

TEST_F(DrawNumberTest, NumberNearTheScreenEdgeIsClipped) {
  Draw(600, 470, 12, 2);
  EXPECT_EQ(Px(600, 470), 101);
  EXPECT_EQ(Px(620, 479), 101);
  EXPECT_EQ(Px(625, 479), 102);
  EXPECT_EQ(Px(639, 479), 102);
}
