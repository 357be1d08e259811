// The display device: opening, failure of the display creation, the flip,
// lock and unlock, and the release.
#include "game/sound_effects.h"
#include "game/video_fixture.h"
#include "video/picture_mapping.h"

using namespace dx;

using DisplayTest = VideoTest;

TEST_F(DisplayTest, OpenMakesEverySurfaceAndLoadsThePalette) {
  OpenDisplay(w(), host_);
  ASSERT_NE(d().DDraw, nullptr);
  ASSERT_NE(d().PrimarySurface, nullptr);
  ASSERT_NE(d().BackSurface, nullptr);
  for (int i = 1; i <= 4; ++i) {
    ASSERT_NE(d().Sheet(i), nullptr);
    EXPECT_EQ(d().Sheet(i)->Width(), 640);
    EXPECT_EQ(d().Sheet(i)->Height(), 480);
  }
  EXPECT_EQ(d().Sheet(0), nullptr);
  EXPECT_EQ(d().Sheet(5), nullptr);
  ASSERT_NE(d().DDPalette, nullptr);
  EXPECT_EQ(d().PrimarySurface->Palette(), d().DDPalette);
  EXPECT_EQ(d().PrimaryDesc.dwFlags, 0x21u);
  EXPECT_EQ(d().PrimaryDesc.ddsCaps.dwCaps, 0x218u);
  EXPECT_EQ(d().SheetDesc.dwFlags, 0x10007u);
  EXPECT_EQ(d().SheetDesc.ddsCaps.dwCaps, 0x40u);
  EXPECT_EQ(d().FillFx.dwSize, 0u);
  EXPECT_EQ(rec_.opens, 1);
  EXPECT_EQ(rec_.title, "Zuk_rer1");
  // Palette entry 1 comes from file bytes 3, 4, 5 = 24, 31, 38 (red, blue, green).
  EXPECT_EQ(d().PaletteEntries[1].peRed, 24);
  EXPECT_EQ(d().PaletteEntries[1].peBlue, 31);
  EXPECT_EQ(d().PaletteEntries[1].peGreen, 38);
}

TEST_F(DisplayTest, CreationFailureEndsSilently) {
  SetPresenterFactory([] { return std::unique_ptr<Presenter>(); });
  EXPECT_THROW(OpenDisplay(w(), host_), HeadlessEnd);
  EXPECT_EQ(d().DDraw, nullptr);
  EXPECT_TRUE(boxes_.empty());

  // A presenter that can't open fails the same way and is closed again.
  SetPresenterFactory([this] { return std::make_unique<RecordingPresenter>(&rec_, false); });
  EXPECT_THROW(OpenDisplay(w(), host_), HeadlessEnd);
  EXPECT_EQ(d().DDraw, nullptr);
  EXPECT_EQ(rec_.opens, 1);
  EXPECT_TRUE(boxes_.empty());
  ReleaseDevices(w());  // nothing to release
}

TEST_F(DisplayTest, FlipShowsTheBackBufferAndKeepsTheFrameBeforeLast) {
  OpenFull();
  FillRect(d(), 0, 0, 639, 479, 1);
  FlipScreen(d());
  FillRect(d(), 0, 0, 639, 479, 2);
  FlipScreen(d());
  ASSERT_EQ(rec_.frames.size(), 2u);
  const uint32_t* argb = d().DDPalette->Argb();
  EXPECT_EQ(rec_.frames[0][0], argb[1]);
  EXPECT_EQ(rec_.frames[1][640 * 480 - 1], argb[2]);
  // Colour of entry 2: red 6*7+3 = 45, blue 52, green 59.
  EXPECT_EQ(argb[2], 0xFF000000u | (45u << 16) | (59u << 8) | 52u);
  EXPECT_EQ(Px(320, 240), 1);  // the frame before last
  EXPECT_EQ(d().PrimarySurface->At(320, 240), 2);
}

TEST_F(DisplayTest, LockGivesPitchAndPixelAddress) {
  OpenFull();
  RECT r{0, 0, 639, 479};
  ASSERT_EQ(d().BackSurface->Lock(&r, &d().PrimaryDesc, DDLOCK_WAIT, nullptr), DD_OK);
  ASSERT_GE(d().PrimaryDesc.lPitch, 640);
  auto* p = static_cast<uint8_t*>(d().PrimaryDesc.lpSurface);
  p[0] = 17;
  p[479 * d().PrimaryDesc.lPitch + 639] = 18;
  // A second lock while locked is refused; so is drawing.
  DDSURFACEDESC other{};
  EXPECT_EQ(d().BackSurface->Lock(&r, &other, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  ASSERT_EQ(d().BackSurface->Unlock(nullptr), DD_OK);
  EXPECT_EQ(d().BackSurface->Unlock(nullptr), DDERR_NOTLOCKED);
  EXPECT_EQ(Px(0, 0), 17);
  EXPECT_EQ(Px(639, 479), 18);
  FlipScreen(d());
  EXPECT_EQ(rec_.frames.back()[479 * 640 + 639], d().DDPalette->Argb()[18]);
}

TEST_F(DisplayTest, ALockedSurfaceRefusesDrawingAndFlipping) {
  OpenFull();
  RECT outside{0, 0, 641, 480};
  EXPECT_EQ(d().BackSurface->Lock(&outside, &d().PrimaryDesc, DDLOCK_WAIT, nullptr),
            DDERR_INVALIDRECT);
  EXPECT_FALSE(d().BackSurface->Locked());
  RECT r{0, 0, 639, 479};
  ASSERT_EQ(d().BackSurface->Lock(&r, &d().PrimaryDesc, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_TRUE(d().BackSurface->Locked());
  DDBLTFX fx{};
  EXPECT_EQ(d().BackSurface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_SURFACEBUSY);
  EXPECT_EQ(d().BackSurface->BltFast(0, 0, d().SheetSurface1, nullptr, DDBLTFAST_WAIT),
            DDERR_SURFACEBUSY);
  EXPECT_EQ(d().PrimarySurface->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY);
  // Nor can it be the source of a copy.
  EXPECT_EQ(d().SheetSurface1->BltFast(0, 0, d().BackSurface, nullptr, DDBLTFAST_WAIT),
            DDERR_SURFACEBUSY);
  EXPECT_EQ(d().BackSurface->Unlock(nullptr), DD_OK);
  EXPECT_EQ(d().PrimarySurface->Flip(nullptr, DDFLIP_WAIT), DD_OK);
}

TEST_F(DisplayTest, SurfaceOperationsRefuseRectanglesOutsideTheSurface) {
  OpenFull();
  DDBLTFX fx{};
  fx.dwFillColor = 4;
  RECT bad{630, 0, 641, 5};
  EXPECT_EQ(d().BackSurface->Blt(&bad, nullptr, nullptr, DDBLT_COLORFILL, &fx), DDERR_INVALIDRECT);
  RECT inverted{10, 10, 5, 20};
  EXPECT_EQ(d().BackSurface->Blt(&inverted, nullptr, nullptr, DDBLT_COLORFILL, &fx),
            DDERR_INVALIDRECT);
  RECT src{0, 0, 80, 85};
  EXPECT_EQ(d().BackSurface->BltFast(600, 0, d().SheetSurface1, &src, DDBLTFAST_WAIT),
            DDERR_INVALIDRECT);
  EXPECT_EQ(d().BackSurface->BltFast(-1, 0, d().SheetSurface1, &src, DDBLTFAST_WAIT),
            DDERR_INVALIDRECT);
  EXPECT_EQ(Count(0), 640 * 480);
}

TEST_F(DisplayTest, ReleaseClearsBothBuffersAndGivesEverythingBack) {
  OpenFull();
  FillRect(d(), 0, 0, 639, 479, 7);
  FlipScreen(d());
  FillRect(d(), 0, 0, 639, 479, 8);
  SetClipRect(d(), 5, 5, 6, 6);
  ReleaseDevices(w());
  ASSERT_EQ(rec_.frames.size(), 3u);
  for (size_t f = 1; f < 3; ++f)
    for (uint32_t v : rec_.frames[f]) ASSERT_EQ(v, rec_.frames[1][0]);
  EXPECT_EQ(rec_.frames[1][0], 0xFF000000u | (3u << 16) | (17u << 8) | 10u);  // entry 0
  EXPECT_EQ(rec_.closes, 1);
  EXPECT_EQ(d().DDraw, nullptr);
  EXPECT_EQ(d().PrimarySurface, nullptr);
  EXPECT_EQ(d().BackSurface, nullptr);
  EXPECT_EQ(d().SheetSurface4, nullptr);
  EXPECT_EQ(d().DDPalette, nullptr);
  EXPECT_EQ(d().ClipRight, 639);
  EXPECT_EQ(d().ClipBottom, 479);
  // A second call, and drawing after the release, do nothing.
  ReleaseDevices(w());
  EXPECT_EQ(rec_.frames.size(), 3u);
  EXPECT_EQ(rec_.closes, 1);
  FillRect(d(), 0, 0, 10, 10, 1);
  Blit(d(), 1, 0, 0, 0, 0, 10, 10, kBlitKeyed);
  FlipScreen(d());
}

TEST_F(DisplayTest, ReleaseWithoutDisplayTouchesNothing) {
  ReleaseDevices(w());
  ReleaseDevices(w());
  EXPECT_EQ(rec_.opens, 0);
  EXPECT_EQ(d().ClipRight, 0);  // the clip is set only when a display is open
}

TEST_F(DisplayTest, ReleaseFreesTheSoundEffectsOnlyWhileSoundIsOn) {
  // Made with sound off so that no wave file is needed.
  w().SoundOff = 1;
  w().FireSound = new TDSPolySound(w(), host_, dir_.string() + "/fire.wav");
  w().BlastSound = new TDSPolySound(w(), host_, dir_.string() + "/dokan.wav");
  ReleaseDevices(w());
  EXPECT_NE(w().FireSound, nullptr);
  EXPECT_NE(w().BlastSound, nullptr);
  w().SoundOff = 0;
  ReleaseDevices(w());
  EXPECT_EQ(w().FireSound, nullptr);
  EXPECT_EQ(w().BlastSound, nullptr);
  ReleaseDevices(w());
  // Only one effect made.
  w().SoundOff = 1;
  w().BlastSound = new TDSPolySound(w(), host_, dir_.string() + "/dokan.wav");
  w().SoundOff = 0;
  ReleaseDevices(w());
  EXPECT_EQ(w().BlastSound, nullptr);
  w().SoundOff = 1;
}

TEST_F(DisplayTest, HeadlessNullPresenterRunsFrames) {
  SetPresenterFactory(MakeNullPresenter);
  OpenFull();
  EXPECT_FALSE(PictureActive());
  for (int i = 0; i < 3; ++i) {
    FillRect(d(), 0, 0, 639, 479, static_cast<int32_t>(i + 1));
    FlipScreen(d());
  }
  EXPECT_EQ(Px(0, 0), 2);
  EXPECT_EQ(d().PrimarySurface->At(0, 0), 3);
  int32_t x = 0, y = 0;
  PictureToDesktop(640, 480, x, y);
  EXPECT_EQ(x, 640);
  EXPECT_EQ(y, 480);
}
