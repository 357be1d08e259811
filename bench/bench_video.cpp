// The display layer's speed: one whole frame as the game draws it with 100
// meteors, plus the palette conversion of the flip; and the keyed sprite
// copy side by side with SDL's colour-keyed blit on the same 8-bit data.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "game/world_state.h"
#include "video/ddraw.h"
#include "game/screen.h"
#include "video/draw.h"
#include "video/presenter.h"
#include "video/picture_convert.h"
#include "sim/headless_host.h"
// Xlib last: its macros clash with other names.
#include <X11/Xlib.h>

using namespace dx;

namespace {

// Does what a real presenter does with the picture short of showing it.
class ConvertingPresenter : public Presenter {
 public:
  bool Open(const std::string&) override { return true; }
  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    ConvertToArgb(pixels, pitch, argb, out_.data(), 640 * 4);
    benchmark::DoNotOptimize(out_.data());
  }
  void Close() override {}

 private:
  std::vector<uint32_t> out_ = std::vector<uint32_t>(640 * 480);
};

uint32_t g_seed = 12345;
uint32_t Rand(uint32_t n) {
  g_seed = g_seed * 134775813u + 1u;
  return static_cast<uint32_t>((static_cast<uint64_t>(g_seed) * n) >> 32);
}

// Index of a sprite-sheet pixel: a round rock in every 80 x 85 cell, index 0
// around it; backgrounds mostly dark with index-0 holes for the stars.
uint8_t SpritePixel(int x, int y) {
  const int cx = x % 80 - 40, cy = y % 85 - 42;
  if (cx * cx + cy * cy > 36 * 36) return 0;
  return static_cast<uint8_t>(100 + (x * 7 + y * 3) % 100);
}
uint8_t BackgroundPixel(int x, int y) {
  return ((x / 16 + y / 16) % 3 == 0) ? 0 : static_cast<uint8_t>(1 + (x ^ y) % 60);
}

struct Scene {
  std::unique_ptr<WorldState> w = std::make_unique<WorldState>();
  std::filesystem::path dir;
  HeadlessHost host;

  Scene() {
    dir = std::filesystem::temp_directory_path() / ("zuk_bench_video_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::vector<char> pal(768);
    for (int i = 0; i < 768; ++i) pal[i] = static_cast<char>(i * 5);
    std::ofstream(dir / "pal256.pal", std::ios::binary).write(pal.data(), 768);
    w->DataPath = dir.string() + "/";
    SetPictureTitle("bench");
    SetPresenterFactory([] { return std::make_unique<ConvertingPresenter>(); });
    OpenDisplay(*w, host);
    SetClipRect(w->Video, 0, 0, 639, 479);
    for (int s = 1; s <= 4; ++s) {
      IDirectDrawSurface* sh = w->Video.Sheet(s);
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
          sh->Pixels()[y * sh->Pitch() + x] =
              (s == 2 || s == 4) ? BackgroundPixel(x, y) : SpritePixel(x, y);
    }
    for (int i = 0; i < 200; ++i) {
      w->StarX[i] = static_cast<int32_t>(Rand(640));
      w->StarY[i] = static_cast<int32_t>(Rand(480));
    }
    for (int i = 0; i < 100; ++i) {
      w->MeteorX[i] = static_cast<int32_t>(Rand(720)) - 80;
      w->MeteorY[i] = static_cast<int32_t>(Rand(565)) - 85;
      w->MeteorFrame[i] = static_cast<int32_t>(Rand(40));
    }
    for (int i = 0; i < 200; ++i) {
      w->ParticleX[i] = static_cast<int32_t>(Rand(650)) - 5;
      w->ParticleY[i] = static_cast<int32_t>(Rand(490)) - 5;
    }
    for (int i = 0; i < 15; ++i) {
      w->ShotX[i] = static_cast<int32_t>(Rand(620));
      w->ShotY[i] = static_cast<int32_t>(Rand(470));
    }
  }
  ~Scene() {
    ReleaseDevices(*w);
    SetPresenterFactory(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  void Meteors() {
    DisplayDevice& d = w->Video;
    for (int i = 0; i < 100; ++i) {
      const int f = w->MeteorFrame[i];
      const int left = (f % 8) * 80, top = (f / 8) * 85;
      Blit(d, 3, w->MeteorX[i], w->MeteorY[i], left, top, left + 79, top + 84, kBlitKeyed);
    }
  }

  void Frame() {
    DisplayDevice& d = w->Video;
    const int sy = w->ScrollY;
    Blit(d, 2, 0, sy - 960, 0, 0, 639, 479, kBlitOpaque);
    Blit(d, 4, 0, sy - 480, 0, 0, 639, 479, kBlitOpaque);
    Blit(d, 2, 0, sy, 0, 0, 639, 479, kBlitOpaque);
    w->ScrollY = (sy + 1) % 960;
    RECT r{0, 0, 639, 479};
    if (d.BackSurface->Lock(&r, &d.PrimaryDesc, DDLOCK_WAIT, nullptr) == DD_OK) {
      auto* p = static_cast<uint8_t*>(d.PrimaryDesc.lpSurface);
      const int32_t pitch = d.PrimaryDesc.lPitch;
      for (int i = 0; i < 200; ++i) {
        uint8_t& px = p[w->StarY[i] * pitch + w->StarX[i]];
        if (px == 0) px = 255;
      }
      d.BackSurface->Unlock(nullptr);
    }
    for (int i = 0; i < 200; ++i)
      FillRect(d, w->ParticleX[i], w->ParticleY[i], w->ParticleX[i] + 2, w->ParticleY[i] + 2, 199);
    for (int i = 0; i < 15; ++i) {
      FillRect(d, w->ShotX[i], w->ShotY[i], w->ShotX[i] + 2, w->ShotY[i] + 9, 255);
      FillRect(d, w->ShotX[i] + 1, w->ShotY[i] + 1, w->ShotX[i] + 1, w->ShotY[i] + 8, 190);
    }
    Meteors();
    Blit(d, 1, 280, 300, 0, 0, 99, 129, kBlitKeyed);
    FlipScreen(d);
  }
};

void BM_FullFrame100Meteors(benchmark::State& state) {
  Scene s;
  for (auto _ : state) s.Frame();
}
BENCHMARK(BM_FullFrame100Meteors)->Unit(benchmark::kMicrosecond);

void BM_PaletteConversion(benchmark::State& state) {
  Scene s;
  std::vector<uint32_t> out(640 * 480);
  const IDirectDrawSurface* back = s.w->Video.BackSurface;
  for (auto _ : state) {
    ConvertToArgb(back->Pixels(), back->Pitch(), s.w->Video.DDPalette->Argb(), out.data(), 640 * 4);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_PaletteConversion)->Unit(benchmark::kMicrosecond);

// The same conversion kept up to date over a run of moving pictures: only
// the runs of pixels that changed since the last picture are converted, into
// an image with rows to spare above the picture as the X11 drawer's (the
// picture moves up in it while the background scrolls down).
void BM_ChangedConversion(benchmark::State& state) {
  Scene s;
  std::vector<std::vector<uint8_t>> pictures;
  for (int i = 0; i < 32; ++i) {
    s.Frame();
    const IDirectDrawSurface* back = s.w->Video.BackSurface;
    std::vector<uint8_t> p(640 * 480);
    for (int y = 0; y < 480; ++y) std::memcpy(&p[static_cast<size_t>(y) * 640], back->Pixels() + y * back->Pitch(), 640);
    pictures.push_back(std::move(p));
  }
  struct alignas(64) Line {
    uint32_t px[16];
  };
  constexpr int32_t kRows = 480 + 64;
  std::vector<Line> out(640 * kRows / 16);  // aligned as shared memory is
  ChangedPictureConverter converter;
  size_t i = 0;
  for (auto _ : state) {
    converter.Convert(pictures[i++ % pictures.size()].data(), 640, s.w->Video.DDPalette->Argb(),
                      reinterpret_cast<uint32_t*>(out.data()), 640 * 4, kRows);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ChangedConversion)->Unit(benchmark::kMicrosecond);

// 100 keyed 80 x 85 meteors through this layer ...
void BM_KeyedBlit100_Layer(benchmark::State& state) {
  Scene s;
  for (auto _ : state) {
    s.Meteors();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_KeyedBlit100_Layer)->Unit(benchmark::kMicrosecond);

// ... and the same copies with SDL_BlitSurface and a colour key, on the same
// 8-bit data.
void BM_KeyedBlit100_SDL(benchmark::State& state) {
  Scene s;
  SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 8, SDL_PIXELFORMAT_INDEX8);
  SDL_Surface* back = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 8, SDL_PIXELFORMAT_INDEX8);
  const IDirectDrawSurface* src = s.w->Video.Sheet(3);
  for (int y = 0; y < 480; ++y)
    std::memcpy(static_cast<uint8_t*>(sheet->pixels) + y * sheet->pitch, src->Pixels() + y * src->Pitch(), 640);
  // The same colour table on both, so that SDL copies indices as they are.
  SDL_SetSurfacePalette(back, sheet->format->palette);
  SDL_SetColorKey(sheet, SDL_TRUE, 0);
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      const int f = s.w->MeteorFrame[i];
      SDL_Rect sr{(f % 8) * 80, (f / 8) * 85, 80, 85};
      SDL_Rect dr{s.w->MeteorX[i], s.w->MeteorY[i], 80, 85};
      SDL_BlitSurface(sheet, &sr, back, &dr);
    }
    benchmark::ClobberMemory();
  }
  SDL_FreeSurface(sheet);
  SDL_FreeSurface(back);
}
BENCHMARK(BM_KeyedBlit100_SDL)->Unit(benchmark::kMicrosecond);

void BM_OpaqueBackground3(benchmark::State& state) {
  Scene s;
  DisplayDevice& d = s.w->Video;
  for (auto _ : state) {
    Blit(d, 2, 0, -960 + 300, 0, 0, 639, 479, kBlitOpaque);
    Blit(d, 4, 0, -480 + 300, 0, 0, 639, 479, kBlitOpaque);
    Blit(d, 2, 0, 300, 0, 0, 639, 479, kBlitOpaque);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_OpaqueBackground3)->Unit(benchmark::kMicrosecond);

// One frame shown by the presenter for another program's window, in a plain
// window of the given size (0 x 0: the whole screen) on the X server of
// DISPLAY. Waiting for the server each frame, the real time holds the
// server's work too, the CPU time only this process's.
void BM_ForeignWindowFrame(benchmark::State& state) {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) {
    state.SkipWithError("needs an X server (DISPLAY)");
    return;
  }
  const int scr = DefaultScreen(dpy);
  const auto w = static_cast<unsigned>(state.range(0) > 0 ? state.range(0) : DisplayWidth(dpy, scr));
  const auto h = static_cast<unsigned>(state.range(1) > 0 ? state.range(1) : DisplayHeight(dpy, scr));
  const Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, w, h, 0, 0, 0);
  XMapWindow(dpy, win);
  XSync(dpy, False);
  std::vector<uint8_t> pixels(640 * 480);
  std::vector<uint32_t> argb(256);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) pixels[static_cast<size_t>(y * 640 + x)] = BackgroundPixel(x, y);
  for (uint32_t i = 0; i < 256; ++i) argb[i] = 0xFF000000u | i * 0x010101u;
  {
    std::unique_ptr<Presenter> p = MakeForeignWindowPresenter(win);
    if (!p->Open("")) {
      state.SkipWithError("the presenter could not open");
    } else {
      // Each picture waits until the server has done with the one before.
      for (auto _ : state) p->Present(pixels.data(), 640, argb.data());
    }
  }
  XDestroyWindow(dpy, win);
  XCloseDisplay(dpy);
}
BENCHMARK(BM_ForeignWindowFrame)->Args({200, 150})->Args({0, 0})->Unit(benchmark::kMicrosecond);

}  // namespace
