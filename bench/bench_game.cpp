// The game's frame: update and drawing of one frame at MAX 100 with all 200
// sparks flying, and the headless runner's whole-frame rate at MAX 20.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "game/game.h"
#include "sim/sim.h"
#include "game/world_state.h"
#include "video/ddraw.h"
#include "game/screen.h"
#include "video/draw.h"
#include "video/presenter.h"
#include "game/data_files.h"
#include "sim/headless_host.h"

using namespace dx;

namespace {

// A data folder with blank files, removed at the end.
struct BlankData {
  std::string dir;
  BlankData() {
    char pattern[] = "/tmp/zuk-bench-XXXXXX";
    if (mkdtemp(pattern) != nullptr && WriteBlankData(pattern)) dir = pattern;
  }
  ~BlankData() {
    if (!dir.empty()) std::filesystem::remove_all(dir);
  }
};

// Sprite sheets with something in them: rocks in every cell, index 0 around
// them, so that keyed copies skip and copy as with the real pictures.
void FillSheets(DisplayDevice& d) {
  for (int n = 1; n <= 4; ++n) {
    IDirectDrawSurface* s = d.Sheet(n);
    if (s == nullptr) continue;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) {
        const int cx = x % 80 - 40, cy = y % 85 - 42;
        uint8_t v = cx * cx + cy * cy > 36 * 36 ? 0 : static_cast<uint8_t>(100 + (x + y) % 100);
        if (n == 2 || n == 4) v = (x * 13 + y * 7) % 5 == 0 ? 0 : 20;  // holes for the stars
        s->Pixels()[y * s->Pitch() + x] = v;
      }
    }
  }
}

void BM_FrameMax100AllSparks(benchmark::State& state) {
  BlankData data;
  if (data.dir.empty()) {
    state.SkipWithError("no data folder");
    return;
  }
  SetPresenterFactory([] { return MakeNullPresenter(); });
  HeadlessHost host;
  auto w = std::make_unique<WorldState>();
  w->DataPath = data.dir + "/";
  w->SoundOff = 1;
  w->MaxMeteors = 100;
  BuildDirectionTables(*w);
  PlaceStars(*w);
  OpenDisplay(*w, host);
  for (int n = 1; n <= 4; ++n) {
    LoadSheet(*w, host, n, w->DataPath + "bmp" + std::to_string(n) + ".bmp", 0, 0, 640, 480);
  }
  FillSheets(w->Video);
  SetClipRect(w->Video, 0, 0, 639, 479);
  PlaceMeteors(*w);
  int frames = 0;
  for (auto _ : state) {
    // Keep the whole pool flying, young enough for the flame boxes.
    for (int s = 0; s < kParticleSlots; ++s) {
      w->ParticleOn[s] = 1;
      w->ParticleX[s] = 100 + (s * 37) % 440;
      w->ParticleY[s] = 80 + (s * 53) % 320;
      w->ParticleAngle[s] = (s * 71) % 360;
      w->ParticleSpeed[s] = 1 + s % 8;
      w->ParticleLife[s] = 13 + (frames + s) % 7;
    }
    RunFrameSteps(*w);
    FlipScreen(w->Video);
    ++frames;
  }
  state.SetItemsProcessed(frames);
  ReleaseDevices(*w);
}
BENCHMARK(BM_FrameMax100AllSparks)->Unit(benchmark::kMicrosecond);

// The runner: set-up once per 2000 frames, fake clock, null picture.
void BM_SimFramesMax20(benchmark::State& state) {
  BlankData data;
  int64_t frames = 0;
  for (auto _ : state) {
    auto w = std::make_unique<WorldState>();
    SimOptions o;
    o.Frames = 2000;
    o.DataDir = data.dir;
    frames += RunSim(*w, o).FramesRun;
  }
  state.SetItemsProcessed(frames);
}
BENCHMARK(BM_SimFramesMax20)->Unit(benchmark::kMillisecond);

}  // namespace
