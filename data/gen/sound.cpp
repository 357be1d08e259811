// The two sound effects, synthesised: a laser shot (a falling frequency
// sweep with a buzzing overtone) and an explosion (a low thump under
// low-pass filtered noise with crackle, decaying over a second).
#include <cmath>

#include "art.h"

namespace zukgen {

namespace {

// Soft saturation, odd and monotonic.
float Saturate(float x) { return x / (1.0f + std::fabs(x)); }

std::vector<uint8_t> ToUnsigned8(const std::vector<float>& s) {
  std::vector<uint8_t> out(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const float v = std::floor(128.0f + Clamp(s[i], -1, 1) * 126.0f + 0.5f);
    out[i] = static_cast<uint8_t>(Clamp(v, 1, 255));
  }
  // The game's loader replaces the last ten bytes by the midpoint; make them
  // silence already.
  for (size_t i = out.size() >= 10 ? out.size() - 10 : 0; i < out.size(); ++i) out[i] = 128;
  return out;
}

// Fade the last samples to silence so that the end is click-free.
void FadeOut(std::vector<float>& s, size_t length) {
  const size_t n = s.size();
  for (size_t i = 0; i < length && i < n; ++i) s[n - 1 - i] *= static_cast<float>(i) / static_cast<float>(length);
}

}  // namespace

std::vector<uint8_t> MakeFireSamples() {
  const size_t n = 6616;  // 0.3 s
  std::vector<float> s(n);
  Rng rng(0x7A5E5u);
  double phase = 0, phase2 = 0;
  const float dt = 1.0f / kSampleRate;
  for (size_t i = 0; i < n; ++i) {
    const float t = static_cast<float>(i) * dt;
    const float freq = 220.0f + 2100.0f * Exp(-t * 14.0f);
    phase += freq * dt;
    phase2 += freq * 0.503f * dt;
    phase -= std::floor(phase);
    phase2 -= std::floor(phase2);
    const float a = Sin(static_cast<float>(phase) * 2 * kPi);
    // Phase-modulated by a sub-oscillator for a buzzing "pew".
    const float b = Sin(static_cast<float>(phase) * 2 * kPi + 1.6f * Sin(static_cast<float>(phase2) * 2 * kPi));
    float v = Saturate(2.2f * (0.55f * a + 0.45f * b));
    const float attack = Clamp(t / 0.003f, 0, 1);
    const float env = attack * (0.25f + 0.75f * Exp(-t * 9.0f)) * Exp(-t * 4.0f);
    // A short hiss at the start.
    const float hiss = rng.Range(-1, 1) * 0.35f * Exp(-t * 120.0f);
    s[i] = 0.85f * (v * env + hiss);
  }
  FadeOut(s, 400);
  return ToUnsigned8(s);
}

std::vector<uint8_t> MakeBlastSamples() {
  const size_t n = 22050;  // 1 s
  std::vector<float> s(n);
  Rng rng(0xD0CA7u);
  const float dt = 1.0f / kSampleRate;
  float lp1 = 0, lp2 = 0, rumble = 0;
  double thumpPhase = 0;
  float crackle = 0;
  for (size_t i = 0; i < n; ++i) {
    const float t = static_cast<float>(i) * dt;
    // Noise through two one-pole low-pass stages whose cutoff falls.
    const float cutoff = 250.0f + 3800.0f * Exp(-t * 5.0f);
    const float k = 1.0f - Exp(-2 * kPi * cutoff * dt);
    const float white = rng.Range(-1, 1);
    lp1 += k * (white - lp1);
    lp2 += k * (lp1 - lp2);
    // Slow rumble: very low-passed noise.
    rumble += 0.004f * (rng.Range(-1, 1) - rumble);
    const float noiseEnv = Clamp(t / 0.004f, 0, 1) * Exp(-t * 3.2f);
    // The thump: a sine falling from 95 to 38 Hz.
    const float freq = 38.0f + 57.0f * Exp(-t * 7.0f);
    thumpPhase += freq * dt;
    thumpPhase -= std::floor(thumpPhase);
    const float thump = Sin(static_cast<float>(thumpPhase) * 2 * kPi) * Clamp(t / 0.002f, 0, 1) * Exp(-t * 5.5f);
    // Crackle: sparse decaying clicks in the first half second.
    if (t < 0.55f && rng.Uniform() < 0.004f * (1 - t / 0.55f)) crackle = rng.Range(-1, 1);
    crackle *= 0.93f;
    const float v = 2.4f * lp2 * noiseEnv + 1.1f * thump + 6.0f * rumble * noiseEnv + 0.45f * crackle;
    s[i] = 0.95f * Saturate(1.6f * v);
  }
  FadeOut(s, 1500);
  return ToUnsigned8(s);
}

}  // namespace zukgen
