// The generated palette and sprite sheets: formats, fixed colours, the layout
// the game draws from, the meteor animation and the seamless background band.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data/data_test_util.h"

using namespace datatest;

namespace {

struct Rect {
  int left, top, right, bottom;  // inclusive
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool Contains(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

Rect MeteorCell(int k) { return {80 * (k % 8), 85 * (k / 8), 80 * (k % 8) + 79, 85 * (k / 8) + 84}; }
Rect DigitGlyph(int d) {
  const int left = 333 + (223 * d) / 10;
  return {left, 389, left + 20, 415};
}
Rect ShipCell(int f) { return {100 * (f % 6), 130 * (f / 6), 100 * (f % 6) + 99, 130 * (f / 6) + 129}; }

const Rect kCaptions[5] = {{310, 449, 431, 478}, {388, 418, 555, 446}, {190, 449, 303, 478},
                           {432, 449, 639, 478}, {13, 449, 179, 478}};
const Rect kBursts[6] = {{2, 423, 56, 478},   {59, 423, 114, 478},  {117, 423, 172, 478},
                         {175, 423, 230, 478}, {233, 423, 283, 478}, {291, 423, 341, 478}};
const int kGuns[7][3] = {{19, 55, 95}, {15, 53, 95}, {10, 51, 94}, {7, 50, 92}, {4, 49, 89}, {3, 47, 85}, {3, 46, 80}};

std::vector<Rect> Regions(int sheet) {
  std::vector<Rect> r;
  if (sheet == 1) {
    for (int k = 0; k < 36; ++k) r.push_back(MeteorCell(k));
    for (int d = 0; d < 10; ++d) r.push_back(DigitGlyph(d));
    for (const Rect& c : kCaptions) r.push_back(c);
  } else if (sheet == 3) {
    for (int f = 0; f < 14; ++f) r.push_back(ShipCell(f));
    for (const Rect& b : kBursts) r.push_back(b);
  } else {
    r.push_back({0, 0, 639, 479});
  }
  return r;
}

class Sheets : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    palette_ = new std::vector<Rgb>(LoadPalette());
    for (int n = 1; n <= 4; ++n) sheets_[n] = new Picture(LoadBmp(DataDir() + "/bmp" + std::to_string(n) + ".bmp"));
  }
  static void TearDownTestSuite() {
    delete palette_;
    for (int n = 1; n <= 4; ++n) delete sheets_[n];
  }
  static const Picture& Sheet(int n) { return *sheets_[n]; }
  static double L(uint8_t index) { return Luma((*palette_)[index]); }

  // Bounding box of the non-zero pixels of r; false when r is empty.
  static bool Content(const Picture& p, const Rect& r, Rect& box, int& count) {
    box = {r.right + 1, r.bottom + 1, r.left - 1, r.top - 1};
    count = 0;
    for (int y = r.top; y <= r.bottom; ++y)
      for (int x = r.left; x <= r.right; ++x)
        if (p.At(x, y) != 0) {
          ++count;
          box.left = std::min(box.left, x);
          box.top = std::min(box.top, y);
          box.right = std::max(box.right, x);
          box.bottom = std::max(box.bottom, y);
        }
    return count > 0;
  }

  // Mean luminance difference between two equally sized rectangles.
  static double CellDifference(const Picture& p, const Rect& a, const Rect& b) {
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) sum += std::fabs(L(p.At(a.left + x, a.top + y)) - L(p.At(b.left + x, b.top + y)));
    return sum / (a.Width() * a.Height());
  }

  static double RowDifference(const Picture& a, int ya, const Picture& b, int yb) {
    double sum = 0;
    for (int x = 0; x < 640; ++x) sum += std::fabs(L(a.At(x, ya)) - L(b.At(x, yb)));
    return sum / 640;
  }

  static std::vector<Rgb>* palette_;
  static Picture* sheets_[5];
};

std::vector<Rgb>* Sheets::palette_ = nullptr;
Picture* Sheets::sheets_[5] = {};

TEST_F(Sheets, PaletteHasItsFixedRoles) {
  const std::vector<uint8_t> raw = ReadFile(DataDir() + "/pal256.pal");
  ASSERT_EQ(raw.size(), 768u);
  const std::vector<Rgb>& p = *palette_;
  EXPECT_TRUE(p[0].r == 0 && p[0].g == 0 && p[0].b == 0);
  EXPECT_TRUE(p[255].r == 255 && p[255].g == 255 && p[255].b == 255);
  // Yellow and orange: red-dominant, yellow greener than orange.
  EXPECT_GT(p[199].r, 200);
  EXPECT_GT(p[199].g, p[190].g);
  EXPECT_GT(p[190].g, p[190].b);
  // Flame reds darken: 184 > 178 > 177, all clearly red.
  for (int i : {184, 178, 177}) EXPECT_GT(p[i].r, 2 * std::max(p[i].g, p[i].b)) << i;
  EXPECT_GT(Luma(p[184]), Luma(p[178]));
  EXPECT_GT(Luma(p[178]), Luma(p[177]));
  // Shots: a bluish glow around a brighter core.
  EXPECT_GT(p[251].b, p[251].r);
  EXPECT_GT(Luma(p[249]), Luma(p[251]));
  // No other entry is the transparent black, so nothing drawn vanishes by accident.
  for (int i = 1; i < 256; ++i) EXPECT_GT(p[i].r + p[i].g + p[i].b, 0) << i;
}

TEST_F(Sheets, FilesAre640x480IndexedWithTheGamePalette) {
  for (int n = 1; n <= 4; ++n) {
    const Picture& s = Sheet(n);
    ASSERT_TRUE(s.error.empty()) << n << ": " << s.error;
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);
    ASSERT_EQ(s.table.size(), 256u);
    for (int i = 0; i < 256; ++i) {
      EXPECT_EQ(s.table[i].r, (*palette_)[i].r);
      EXPECT_EQ(s.table[i].g, (*palette_)[i].g);
      EXPECT_EQ(s.table[i].b, (*palette_)[i].b);
    }
  }
}

TEST_F(Sheets, OutsideTheLayoutEverythingIsIndexZero) {
  for (int n : {1, 3}) {
    const Picture& s = Sheet(n);
    ASSERT_TRUE(s.error.empty());
    const std::vector<Rect> regions = Regions(n);
    int stray = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const bool inside = std::any_of(regions.begin(), regions.end(), [&](const Rect& r) { return r.Contains(x, y); });
        if (!inside && s.At(x, y) != 0) ++stray;
      }
    EXPECT_EQ(stray, 0) << "sheet " << n;
  }
}

TEST_F(Sheets, EveryCellHasContentInsideItsRectangle) {
  const Picture& s1 = Sheet(1);
  const Picture& s3 = Sheet(3);
  ASSERT_TRUE(s1.error.empty() && s3.error.empty());
  Rect box;
  int count;
  // Meteor frames: a sizeable rock, not cut by the cell edge (a free border).
  for (int k = 0; k < 36; ++k) {
    const Rect c = MeteorCell(k);
    ASSERT_TRUE(Content(s1, c, box, count)) << k;
    EXPECT_GT(count, 1500) << k;
    EXPECT_GT(box.left, c.left) << k;
    EXPECT_GT(box.top, c.top) << k;
    EXPECT_LT(box.right, c.right) << k;
    EXPECT_LT(box.bottom, c.bottom) << k;
  }
  for (int f = 0; f < 14; ++f) {
    ASSERT_TRUE(Content(s3, ShipCell(f), box, count)) << f;
    EXPECT_GT(count, 2000) << f;
  }
  for (int b = 0; b < 6; ++b) {
    ASSERT_TRUE(Content(s3, kBursts[b], box, count)) << b;
    EXPECT_GT(count, 60) << b;
  }
}

TEST_F(Sheets, DigitsAndCaptionsFillTheirRectangles) {
  const Picture& s = Sheet(1);
  ASSERT_TRUE(s.error.empty());
  Rect box;
  int count;
  std::vector<Rect> texts(kCaptions, kCaptions + 5);
  for (int d = 0; d < 10; ++d) texts.push_back(DigitGlyph(d));
  for (const Rect& r : texts) {
    ASSERT_TRUE(Content(s, r, box, count)) << r.left << "," << r.top;
    // Lettering reaches close to every edge of its rectangle (the outside
    // check above already shows it stays within); a narrow "1" less so.
    const bool digit = r.top == 389;
    EXPECT_GE(box.Width(), r.Width() * (digit ? 75 : 85) / 100) << r.left << "," << r.top;
    EXPECT_GE(box.Height(), r.Height() * 85 / 100) << r.left << "," << r.top;
    EXPECT_GT(count, r.Width() * r.Height() / 5) << r.left << "," << r.top;
  }
  // Ten different digit glyphs.
  for (int a = 0; a < 10; ++a)
    for (int b = a + 1; b < 10; ++b) EXPECT_GT(CellDifference(s, DigitGlyph(a), DigitGlyph(b)), 1.0) << a << " " << b;
}

TEST_F(Sheets, MeteorTurnsSmoothlyAndLoops) {
  const Picture& s = Sheet(1);
  ASSERT_TRUE(s.error.empty());
  std::vector<double> steps;
  for (int k = 0; k < 36; ++k) steps.push_back(CellDifference(s, MeteorCell(k), MeteorCell((k + 1) % 36)));
  const double maxInner = *std::max_element(steps.begin(), steps.end() - 1);
  const double minInner = *std::min_element(steps.begin(), steps.end() - 1);
  const double wrap = steps.back();  // frame 35 -> frame 0
  EXPECT_GT(minInner, 0.5);          // every step changes the picture
  EXPECT_LE(wrap, maxInner * 1.15);
  EXPECT_GE(wrap, minInner * 0.85);
  // All frames differ from each other, and two steps change more than one.
  for (int a = 0; a < 36; ++a)
    for (int b = a + 1; b < 36; ++b) EXPECT_GT(CellDifference(s, MeteorCell(a), MeteorCell(b)), 0.5) << a << " " << b;
  double one = 0, two = 0;
  for (int k = 0; k < 36; ++k) {
    one += steps[static_cast<size_t>(k)];
    two += CellDifference(s, MeteorCell(k), MeteorCell((k + 2) % 36));
  }
  EXPECT_GT(two, one);
}

TEST_F(Sheets, ShipLeansFlickerAndCarriesItsGunsWhereTheShotsStart) {
  const Picture& s = Sheet(3);
  ASSERT_TRUE(s.error.empty());
  for (int lean = 0; lean < 7; ++lean) {
    const Rect a = ShipCell(2 * lean), b = ShipCell(2 * lean + 1);
    // The two cells of a lean differ only in the engine flames (low rows).
    int upper = 0, lower = 0;
    for (int y = 0; y < 130; ++y)
      for (int x = 0; x < 100; ++x)
        if (s.At(a.left + x, a.top + y) != s.At(b.left + x, b.top + y)) (y < 95 ? upper : lower) += 1;
    EXPECT_EQ(upper, 0) << lean;
    EXPECT_GT(lower, 20) << lean;
    // Side guns: a barrel in the gun's column near the top row of the cell.
    for (int g : {0, 2}) {
      int barrel = 0;
      for (int y = 0; y < 16; ++y) barrel += s.At(a.left + kGuns[lean][g], a.top + y) != 0;
      EXPECT_GE(barrel, 8) << "lean " << lean << " gun " << g;
    }
    // The nose lies under the centre shot's column.
    int nose = 0;
    for (int y = 0; y < 30; ++y) {
      const int x = a.left + kGuns[lean][1];
      nose += s.At(x - 1, a.top + y) != 0 || s.At(x, a.top + y) != 0 || s.At(x + 1, a.top + y) != 0;
    }
    EXPECT_GE(nose, 15) << lean;
  }
  // Neighbouring leans differ (the ship rolls).
  for (int lean = 0; lean < 6; ++lean)
    EXPECT_GT(CellDifference(s, ShipCell(2 * lean), ShipCell(2 * lean + 2)), 1.0) << lean;
}

TEST_F(Sheets, BurstGrowsThenFades) {
  const Picture& s = Sheet(3);
  ASSERT_TRUE(s.error.empty());
  std::vector<int> counts;
  std::vector<double> brightness;
  for (const Rect& r : kBursts) {
    Rect box;
    int count = 0;
    Content(s, r, box, count);
    double sum = 0;
    for (int y = r.top; y <= r.bottom; ++y)
      for (int x = r.left; x <= r.right; ++x) sum += L(s.At(x, y));
    counts.push_back(count);
    brightness.push_back(sum);
  }
  EXPECT_LT(counts[0], counts[1]);
  EXPECT_LT(counts[1], counts[2]);
  EXPECT_GT(counts[3], counts[5]);  // breaks up
  for (int k = 2; k < 5; ++k) EXPECT_GT(brightness[static_cast<size_t>(k)], brightness[static_cast<size_t>(k) + 1]) << k;
}

TEST_F(Sheets, BackgroundBandIsSeamlessWithOpenSpace) {
  const Picture& s2 = Sheet(2);
  const Picture& s4 = Sheet(4);
  ASSERT_TRUE(s2.error.empty() && s4.error.empty());
  double maxInner = 0, sumInner = 0;
  int pairs = 0;
  for (const Picture* p : {&s2, &s4})
    for (int y = 0; y + 1 < 480; ++y) {
      const double d = RowDifference(*p, y, *p, y + 1);
      maxInner = std::max(maxInner, d);
      sumInner += d;
      ++pairs;
    }
  const double meanInner = sumInner / pairs;
  const double seam24 = RowDifference(s2, 479, s4, 0);
  const double seam42 = RowDifference(s4, 479, s2, 0);
  EXPECT_LE(seam24, maxInner);
  EXPECT_LE(seam42, maxInner);
  EXPECT_LE(seam24, meanInner * 2.0);
  EXPECT_LE(seam42, meanInner * 2.0);
  // Wide index-0 areas for the stars, and real pictures as well.
  for (const Picture* p : {&s2, &s4}) {
    const long zeros = std::count(p->px.begin(), p->px.end(), 0);
    EXPECT_GT(zeros, 640L * 480 * 35 / 100);
    EXPECT_LT(zeros, 640L * 480 * 95 / 100);
  }
  // The two backgrounds are different pictures.
  double diff = 0;
  for (int y = 0; y < 480; ++y) diff += RowDifference(s2, y, s4, y);
  EXPECT_GT(diff / 480, 2.0);
}

}  // namespace
