// Sound costs: mixing twenty voices into 48 kHz stereo (as a share of one
// core: CPU seconds per second of audio) and one play of an effect, with the
// heap allocations it makes (there should be none).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "sound/dsound.h"
#include "game/sound_effects.h"
#include "sound/mixer.h"
#include "game/world_state.h"
#include "sim/headless_host.h"

using namespace dx;

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// Counts every allocation of the program; the replaced pair is malloc/free
// underneath, which GCC cannot see through.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

constexpr int kFrames = 1024;
constexpr int kRate = 48000;
constexpr int kVoices = 20;

std::vector<uint8_t> Noise(size_t n) {
  std::vector<uint8_t> s(n);
  uint32_t x = 12345;
  for (auto& b : s) {
    x = x * 134775813u + 1u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return s;
}

void SetShareCounter(benchmark::State& state) {
  // CPU seconds spent per second of audio produced: the share of one core.
  state.counters["core_share"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kFrames / kRate,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The mixing function alone, as the audio callback runs it.
void BM_MixTwentyVoices(benchmark::State& state) {
  const std::vector<uint8_t> samples = Noise(99900);
  SoundMixer mixer(kRate, 64);
  for (int i = 0; i < kVoices; ++i) {
    MixVoice& v = mixer.Voice(mixer.Acquire());
    v.data = samples.data();
    v.length = static_cast<uint32_t>(samples.size());
    v.step = mixer.StepFor(22050);
    v.pos = static_cast<uint64_t>(i * 4000) << 32;
    v.looping = true;  // keeps all twenty sounding for the whole run
    v.playing = true;
    SoundMixer::Gains(-100 * i, 300 * i - 3000, v.gainLeft, v.gainRight);
  }
  std::vector<float> out(2 * kFrames);
  for (auto _ : state) {
    mixer.Mix(out.data(), kFrames);
    benchmark::DoNotOptimize(out.data());
  }
  SetShareCounter(state);
}
BENCHMARK(BM_MixTwentyVoices);

struct SoundRig {
  WorldState* w = nullptr;
  TDSPolySound* fire = nullptr;
  TDSPolySound* blast = nullptr;
  std::string dir;
  HeadlessHost host;

  SoundRig() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    w = new WorldState();
    OpenSoundDevice(*w, &host);
    if (w->SoundOff == 1) return;
    char pattern[] = "/tmp/zuk_bench_sound_XXXXXX";
    if (mkdtemp(pattern) == nullptr) return;
    dir = pattern;
    std::vector<uint8_t> file = Noise(100000);
    const std::string path = dir + "/fx.wav";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(file.data(), 1, file.size(), f);
      std::fclose(f);
    }
    fire = new TDSPolySound(*w, host, path);
    blast = new TDSPolySound(*w, host, path);
    std::remove(path.c_str());
    std::remove(dir.c_str());
  }
  ~SoundRig() {
    delete fire;
    delete blast;
    CloseSoundDevice(*w);
    delete w;
  }
};

// Twenty voices of the two effects mixed through the device, lock included.
void BM_DeviceRenderTwentyVoices(benchmark::State& state) {
  SoundRig rig;
  if (rig.fire == nullptr) {
    state.SkipWithError("no sound device");
    return;
  }
  IDirectSound* d = SoundDevice();
  d->PauseOutput(true);
  for (TDSPolySound* s : {rig.fire, rig.blast}) {
    for (int v = 1; v <= 10; ++v) s->Voices[v]->Play(0, 0, DSBPLAY_LOOPING);
  }
  std::vector<float> out(2 * kFrames);
  for (auto _ : state) {
    d->RenderFrames(out.data(), kFrames);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["core_share"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kFrames / d->OutputRate(),
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  rig.fire->Stop();
  rig.blast->Stop();
}
BENCHMARK(BM_DeviceRenderTwentyVoices);

// One play of an effect while the device's thread mixes.
void BM_PolySoundPlay(benchmark::State& state) {
  SoundRig rig;
  if (rig.fire == nullptr) {
    state.SkipWithError("no sound device");
    return;
  }
  long allocations = 0;
  for (auto _ : state) {
    rig.w->PlayVolume = -500;
    rig.w->PlayPan = 300;
    const long before = g_allocations.load(std::memory_order_relaxed);
    rig.fire->Play();
    allocations += g_allocations.load(std::memory_order_relaxed) - before;
  }
  state.counters["allocs_per_play"] =
      benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
  rig.fire->Stop();
}
BENCHMARK(BM_PolySoundPlay);

}  // namespace
