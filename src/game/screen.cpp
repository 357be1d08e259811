// The display device: opening the 640 x 480 8-bit display with its back
// buffer, four sheets and palette; the flip; the release at the end.
#include "game/screen.h"

#include "game/host.h"
#include "game/sound_effects.h"
#include "game/world_state.h"
#include "video/draw.h"
#include "game/data_files.h"

using namespace dx;

void OpenDisplay(WorldState& w, GameHost& host) {
  DisplayDevice& d = w.Video;
  if (FAILED(DirectDrawCreate(nullptr, &d.DDraw, nullptr))) {
    d.DDraw = nullptr;
    host.EndProgram();
  }
  d.DDraw->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_NOWINDOWCHANGES | DDSCL_EXCLUSIVE);
  d.DDraw->SetDisplayMode(640, 480, 8);

  d.PrimaryDesc = DDSURFACEDESC{};
  d.PrimaryDesc.dwSize = 108;
  d.PrimaryDesc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  d.PrimaryDesc.dwBackBufferCount = 1;
  d.PrimaryDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
  d.DDraw->CreateSurface(&d.PrimaryDesc, &d.PrimarySurface, nullptr);

  DDSCAPS back;
  back.dwCaps = DDSCAPS_BACKBUFFER;
  if (d.PrimarySurface) d.PrimarySurface->GetAttachedSurface(&back, &d.BackSurface);

  d.SheetDesc = DDSURFACEDESC{};
  d.SheetDesc.dwSize = 108;
  d.SheetDesc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_CKSRCBLT;
  d.SheetDesc.dwHeight = 480;
  d.SheetDesc.dwWidth = 640;
  d.SheetDesc.ddckCKSrcBlt.dwColorSpaceLowValue = 0;
  d.SheetDesc.ddckCKSrcBlt.dwColorSpaceHighValue = 0;
  d.SheetDesc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  d.DDraw->CreateSurface(&d.SheetDesc, &d.SheetSurface1, nullptr);
  d.DDraw->CreateSurface(&d.SheetDesc, &d.SheetSurface2, nullptr);
  d.DDraw->CreateSurface(&d.SheetDesc, &d.SheetSurface3, nullptr);
  d.DDraw->CreateSurface(&d.SheetDesc, &d.SheetSurface4, nullptr);

  d.DDraw->CreatePalette(DDPCAPS_8BIT, d.PaletteEntries, &d.DDPalette, nullptr);

  LoadPalette(w, host, w.DataPath + "pal256.pal");

  d.FillFx = DDBLTFX{};
}

void FlipScreen(DisplayDevice& d) {
  if (d.PrimarySurface) d.PrimarySurface->Flip(nullptr, DDFLIP_WAIT);
}

namespace {
template <class T>
void ReleaseAndForget(T*& p) {
  if (p) p->Release();
  p = nullptr;
}
}  // namespace

void ReleaseDevices(WorldState& w) {
  if (w.SoundOff == 0) {
    if (w.FireSound) w.FireSound->Stop();
    if (w.BlastSound) w.BlastSound->Stop();
    delete w.FireSound;
    w.FireSound = nullptr;
    delete w.BlastSound;
    w.BlastSound = nullptr;
  }
  DisplayDevice& d = w.Video;
  if (d.DDraw) {
    SetClipRect(d, 0, 0, 639, 479);
    FillRect(d, 0, 0, 639, 479, 0);
    FlipScreen(d);
    FillRect(d, 0, 0, 639, 479, 0);
    FlipScreen(d);
    ReleaseAndForget(d.DDPalette);
    ReleaseAndForget(d.BackSurface);
    ReleaseAndForget(d.PrimarySurface);
    ReleaseAndForget(d.SheetSurface1);
    ReleaseAndForget(d.SheetSurface2);
    ReleaseAndForget(d.SheetSurface3);
    ReleaseAndForget(d.SheetSurface4);
    ReleaseAndForget(d.DDraw);
  }
}
