// The palette file and the sprite-sheet bitmaps: byte order, short and
// missing files, colour mapping of 8-, 4- and 24-bit bitmaps, unreadable
// sheets.
#include <SDL.h>

#include "support/bitmap_bytes.h"
#include "game/video_fixture.h"

using namespace dx;

namespace {

// A palette whose colours lie far apart: entry i is red (i & 7) * 36,
// green ((i >> 3) & 7) * 36, blue (i >> 6) * 85; entry 0 is black.
PALETTEENTRY Spread(int i) {
  PALETTEENTRY e;
  e.peRed = static_cast<uint8_t>((i & 7) * 36);
  e.peGreen = static_cast<uint8_t>(((i >> 3) & 7) * 36);
  e.peBlue = static_cast<uint8_t>((i >> 6) * 85);
  return e;
}

void WritePalette(const std::filesystem::path& p, const std::vector<PALETTEENTRY>& pal) {
  std::ofstream f(p, std::ios::binary);
  for (const PALETTEENTRY& e : pal) {
    const char b[3] = {static_cast<char>(e.peRed), static_cast<char>(e.peBlue),
                       static_cast<char>(e.peGreen)};
    f.write(b, 3);
  }
}

std::vector<PALETTEENTRY> SpreadPalette() {
  std::vector<PALETTEENTRY> pal(256);
  for (int i = 0; i < 256; ++i) pal[i] = Spread(i);
  return pal;
}

// Saves an 8-bit bitmap with the given colour table; pixel(x, y) gives indices.
template <class F>
void Save8(const std::filesystem::path& p, int w, int h, const std::vector<PALETTEENTRY>& pal,
           F pixel) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 8, SDL_PIXELFORMAT_INDEX8);
  ASSERT_NE(s, nullptr);
  std::vector<SDL_Color> colours(pal.size());
  for (size_t i = 0; i < pal.size(); ++i)
    colours[i] = SDL_Color{pal[i].peRed, pal[i].peGreen, pal[i].peBlue, 255};
  SDL_SetPaletteColors(s->format->palette, colours.data(), 0, static_cast<int>(colours.size()));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) static_cast<uint8_t*>(s->pixels)[y * s->pitch + x] = pixel(x, y);
  ASSERT_EQ(SDL_SaveBMP(s, p.string().c_str()), 0);
  SDL_FreeSurface(s);
}

// Saves a 24-bit bitmap; pixel(x, y) gives 0xRRGGBB.
template <class F>
void Save24(const std::filesystem::path& p, int w, int h, F pixel) {
  SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_BGR24);
  ASSERT_NE(s, nullptr);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t c = pixel(x, y);
      uint8_t* q = static_cast<uint8_t*>(s->pixels) + y * s->pitch + 3 * x;
      q[0] = static_cast<uint8_t>(c);  // BGR24: blue, green, red in memory
      q[1] = static_cast<uint8_t>(c >> 8);
      q[2] = static_cast<uint8_t>(c >> 16);
    }
  ASSERT_EQ(SDL_SaveBMP(s, p.string().c_str()), 0);
  SDL_FreeSurface(s);
}

// Writes a 4-bit bitmap by hand: 16 colours, bottom-up rows.
void Save4(const std::filesystem::path& p, int w, int h, const std::vector<PALETTEENTRY>& pal,
           const std::vector<uint8_t>& idx) {
  const int rowBytes = ((w + 1) / 2 + 3) & ~3;
  const uint32_t offset = 14 + 40 + 16 * 4;
  const uint32_t size = offset + static_cast<uint32_t>(rowBytes * h);
  std::vector<uint8_t> b(size, 0);
  auto put16 = [&](size_t at, uint32_t v) { b[at] = v & 0xFF; b[at + 1] = (v >> 8) & 0xFF; };
  auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, offset);
  put32(14, 40);
  put32(18, static_cast<uint32_t>(w));
  put32(22, static_cast<uint32_t>(h));
  put16(26, 1);
  put16(28, 4);
  put32(46, 16);
  for (int i = 0; i < 16; ++i) {
    b[54 + 4 * i] = pal[i].peBlue;
    b[54 + 4 * i + 1] = pal[i].peGreen;
    b[54 + 4 * i + 2] = pal[i].peRed;
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const size_t at = offset + static_cast<size_t>((h - 1 - y) * rowBytes + x / 2);
      const uint8_t v = idx[static_cast<size_t>(y * w + x)] & 15;
      b[at] |= (x % 2 == 0) ? static_cast<uint8_t>(v << 4) : v;
    }
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}

}  // namespace

class SheetTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    WritePalette(dir_ / "pal256.pal", SpreadPalette());
    OpenFull();
  }
  uint8_t SheetPx(int sheet, int x, int y) { return d().Sheet(sheet)->At(x, y); }
  std::string File(const char* name) { return (dir_ / name).string(); }
};

TEST_F(VideoTest, PaletteIsReadRedBlueGreen) {
  OpenFull();
  std::vector<uint8_t> bytes(1200, 0);
  bytes[0] = 10;
  bytes[1] = 20;
  bytes[2] = 30;
  bytes[765] = 1;
  bytes[766] = 2;
  bytes[767] = 3;
  for (size_t i = 768; i < bytes.size(); ++i) bytes[i] = 0xEE;  // ignored
  std::ofstream(dir_ / "long.pal", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  for (int round = 0; round < 3; ++round) {
    LoadPalette(w(), host_, (dir_ / "long.pal").string());
    EXPECT_EQ(d().PaletteEntries[0].peRed, 10);
    EXPECT_EQ(d().PaletteEntries[0].peGreen, 30);
    EXPECT_EQ(d().PaletteEntries[0].peBlue, 20);
    EXPECT_EQ(d().PaletteEntries[255].peRed, 1);
    EXPECT_EQ(d().PaletteEntries[255].peGreen, 3);
    EXPECT_EQ(d().PaletteEntries[255].peBlue, 2);
    EXPECT_EQ(d().PaletteEntries[100].peRed, 0);
    EXPECT_EQ(d().DDPalette->Argb()[0], 0xFF0A1E14u);
    EXPECT_EQ(d().PrimarySurface->Palette(), d().DDPalette);
  }
}

TEST_F(VideoTest, ShortPaletteFileLeavesTheMissingEntriesBlack) {
  OpenFull();
  WritePaletteFile(dir_ / "full.pal", 768);
  LoadPalette(w(), host_, (dir_ / "full.pal").string());
  EXPECT_NE(d().DDPalette->Argb()[200], 0xFF000000u);
  // 100 entries and one byte of the next.
  WritePaletteFile(dir_ / "short.pal", 301);
  LoadPalette(w(), host_, (dir_ / "short.pal").string());
  EXPECT_EQ(d().PaletteEntries[99].peGreen, static_cast<uint8_t>((299 * 7 + 3) & 0xFF));
  EXPECT_EQ(d().PaletteEntries[100].peRed, static_cast<uint8_t>((300 * 7 + 3) & 0xFF));
  EXPECT_EQ(d().PaletteEntries[100].peGreen, 0);
  EXPECT_EQ(d().PaletteEntries[100].peBlue, 0);
  for (int i = 101; i < 256; ++i) EXPECT_EQ(d().DDPalette->Argb()[i], 0xFF000000u) << i;
}

// An empty file or a folder holds no palette: reported as a missing one
// rather than a black screen.
TEST_F(VideoTest, EmptyOrFolderPaletteIsReportedAsMissing) {
  std::ofstream(dir_ / "empty.pal").close();
  std::filesystem::create_directory(dir_ / "folder.pal");
  for (const char* name : {"empty.pal", "folder.pal"}) {
    OpenFull();
    EXPECT_THROW(LoadPalette(w(), host_, (dir_ / name).string()), HeadlessEnd) << name;
    ASSERT_FALSE(boxes_.empty());
    EXPECT_EQ(boxes_.back(), "PAL256.PALがありません。");
    EXPECT_EQ(d().DDraw, nullptr);
  }
}

TEST_F(VideoTest, MissingPaletteReleasesAndEndsWithTheMessage) {
  OpenFull();
  EXPECT_THROW(LoadPalette(w(), host_, (dir_ / "nothere.pal").string()), HeadlessEnd);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "PAL256.PALがありません。");
  EXPECT_EQ(w().ErrorText, "PAL256.PALがありません。");
  EXPECT_EQ(d().DDraw, nullptr);
  EXPECT_EQ(rec_.closes, 1);
}

TEST_F(VideoTest, MissingPaletteAtOpenEndsTheSameWay) {
  std::filesystem::remove(dir_ / "pal256.pal");
  EXPECT_THROW(OpenDisplay(w(), host_), HeadlessEnd);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "PAL256.PALがありません。");
  EXPECT_EQ(d().DDraw, nullptr);
  EXPECT_EQ(rec_.closes, 1);
}

TEST_F(SheetTest, EightBitBitmapWithTheGamePaletteKeepsItsIndices) {
  // Entries 0 and 5 both black, 9 and 200 both the same colour: a colour
  // match would fold them together, the index must survive.
  std::vector<PALETTEENTRY> pal = SpreadPalette();
  pal[5] = pal[0];
  pal[200] = pal[9];
  WritePalette(dir_ / "pal256.pal", pal);
  LoadPalette(w(), host_, File("pal256.pal"));
  Save8(dir_ / "bmp1.bmp", 640, 480, pal, [](int x, int y) { return static_cast<uint8_t>(x + y); });
  LoadSheet(w(), host_, 1, File("bmp1.bmp"), 0, 0, 640, 480);
  for (int y = 0; y < 480; y += 7)
    for (int x = 0; x < 640; ++x) ASSERT_EQ(SheetPx(1, x, y), static_cast<uint8_t>(x + y));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(SheetTest, TwentyFourBitBitmapMapsToTheNearestColours) {
  // Colours a little off palette entries 0, 1, 77, 255 and 130.
  const uint32_t colours[] = {0x050003, 0x2A0502, 0xB0A0AA, 0xFFF8FA, 0x4C00A8};
  const uint8_t expected[] = {0, 1, 77, 255, 130};
  // Entry 77: red 5*36 = 180, green 1*36 = 36, blue 1*85 = 85; check the table.
  ASSERT_EQ(Spread(77).peRed, 180);
  Save24(dir_ / "bmp3.bmp", 640, 480, [&](int x, int) {
    const int k = (x / 10) % 5;
    if (k == 2) return 0xB42855u + static_cast<uint32_t>((x % 3) - 1);  // 180, 40, 85 +-1
    return colours[k];
  });
  LoadSheet(w(), host_, 3, File("bmp3.bmp"), 0, 0, 640, 480);
  for (int x = 0; x < 640; ++x) ASSERT_EQ(SheetPx(3, x, 240), expected[(x / 10) % 5]) << x;
  EXPECT_EQ(SheetPx(3, 639, 479), expected[(639 / 10) % 5]);
}

TEST_F(SheetTest, EightBitBitmapWithOtherColoursMapsEachColour) {
  std::vector<PALETTEENTRY> other(256);
  for (int i = 0; i < 256; ++i) other[i] = Spread(255 - i);  // reversed table
  other[3].peRed = static_cast<uint8_t>(other[3].peRed + 4);  // slightly off entry 252
  Save8(dir_ / "bmp2.bmp", 64, 4, other, [](int x, int) { return static_cast<uint8_t>(x); });
  LoadSheet(w(), host_, 2, File("bmp2.bmp"), 0, 0, 640, 480);
  for (int x = 0; x < 64; ++x) EXPECT_EQ(SheetPx(2, x, 0), 255 - x) << x;
  EXPECT_EQ(SheetPx(2, 64, 0), 0);  // outside the small picture: untouched
  EXPECT_EQ(SheetPx(2, 0, 4), 0);
}

TEST_F(SheetTest, FourBitBitmapIsRead) {
  std::vector<PALETTEENTRY> pal(16);
  for (int i = 0; i < 16; ++i) pal[i] = Spread(i * 16);
  std::vector<uint8_t> idx(33 * 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 33; ++x) idx[static_cast<size_t>(y * 33 + x)] = static_cast<uint8_t>((x + y) % 16);
  Save4(dir_ / "bmp4.bmp", 33, 5, pal, idx);
  LoadSheet(w(), host_, 4, File("bmp4.bmp"), 0, 0, 640, 480);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 33; ++x) ASSERT_EQ(SheetPx(4, x, y), ((x + y) % 16) * 16) << x << "," << y;
}

TEST_F(SheetTest, PlacementIsCutToTheSheet) {
  Save8(dir_ / "p.bmp", 100, 50, SpreadPalette(), [](int x, int y) {
    return static_cast<uint8_t>(1 + (x + 2 * y) % 200);
  });
  LoadSheet(w(), host_, 1, File("p.bmp"), 600, 460, 640, 480);
  EXPECT_EQ(SheetPx(1, 600, 460), 1);
  EXPECT_EQ(SheetPx(1, 639, 479), 1 + (39 + 2 * 19) % 200);
  EXPECT_EQ(SheetPx(1, 599, 460), 0);
  LoadSheet(w(), host_, 2, File("p.bmp"), -10, -5, 20, 20);
  EXPECT_EQ(SheetPx(2, 0, 0), 1 + (10 + 2 * 5) % 200);
  EXPECT_EQ(SheetPx(2, 9, 14), 1 + (19 + 2 * 19) % 200);
  EXPECT_EQ(SheetPx(2, 10, 0), 0);
  EXPECT_EQ(SheetPx(2, 0, 15), 0);
}

TEST_F(SheetTest, OtherSheetNumbersCopyNothing) {
  Save8(dir_ / "bmp1.bmp", 640, 480, SpreadPalette(), [](int, int) { return uint8_t{7}; });
  LoadSheet(w(), host_, 5, File("bmp1.bmp"), 0, 0, 640, 480);
  LoadSheet(w(), host_, 0, File("bmp1.bmp"), 0, 0, 640, 480);
  for (int s = 1; s <= 4; ++s) EXPECT_EQ(SheetPx(s, 320, 240), 0);
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(SheetTest, UnreadableSheetIsAFatalErrorNamingTheFile) {
  EXPECT_THROW(LoadSheet(w(), host_, 2, File("bmp2.bmp"), 0, 0, 640, 480), HeadlessEnd);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "bmp2.bmpが読み込めません。");
  EXPECT_EQ(d().DDraw, nullptr);
  EXPECT_EQ(rec_.closes, 1);
}

TEST_F(SheetTest, GarbageOrTruncatedBitmapIsAFatalErrorNotACrash) {
  std::ofstream(dir_ / "bmp3.bmp", std::ios::binary) << "BM this is not a bitmap at all";
  EXPECT_THROW(LoadSheet(w(), host_, 3, File("bmp3.bmp"), 0, 0, 640, 480), HeadlessEnd);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "bmp3.bmpが読み込めません。");
  // A good bitmap cut short in its pixel data.
  Save24(dir_ / "big.bmp", 640, 480, [](int, int) { return 0x808080u; });
  std::filesystem::resize_file(dir_ / "big.bmp", 5000);
  EXPECT_THROW(LoadSheet(w(), host_, 5, File("big.bmp"), 0, 0, 640, 480), HeadlessEnd);
  EXPECT_EQ(boxes_.size(), 2u);
}

namespace {

// A bitmap header is checked before anything is allocated: a side above
// 4096, or an uncompressed pixel array longer than the file, is refused with
// the sheet's message; 4096 itself is taken.
TEST_F(SheetTest, OversizedBitmapHeadersAreRefusedBeforeLoading) {
  Save8(dir_ / "wide.bmp", 4097, 1, SpreadPalette(), [](int, int) { return uint8_t{7}; });
  EXPECT_THROW(LoadSheet(w(), host_, 1, File("wide.bmp"), 0, 0, 640, 480), HeadlessEnd);
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], "wide.bmpが読み込めません。");

  OpenFull();
  Save8(dir_ / "edge.bmp", 4096, 1, SpreadPalette(), [](int, int) { return uint8_t{7}; });
  LoadSheet(w(), host_, 1, File("edge.bmp"), 0, 0, 640, 480);
  EXPECT_EQ(SheetPx(1, 639, 0), 7);
  EXPECT_EQ(boxes_.size(), 1u);

  // 1000 x 1000 pixels of 32 bits claimed by a file of a few kilobytes.
  std::ofstream(dir_ / "long.bmp", std::ios::binary) << testsupport::ClaimingBitmap(1000, 1000, 32, 4096);
  EXPECT_THROW(LoadSheet(w(), host_, 1, File("long.bmp"), 0, 0, 640, 480), HeadlessEnd);
  ASSERT_EQ(boxes_.size(), 2u);
  EXPECT_EQ(boxes_[1], "long.bmpが読み込めません。");
}

}  // namespace
