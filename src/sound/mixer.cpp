#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

SoundMixer::SoundMixer(int outputRate, int voiceCount)
    : rate_(outputRate > 0 ? outputRate : 48000), voices_(static_cast<size_t>(voiceCount)) {}

int SoundMixer::Acquire() {
  for (size_t i = 0; i < voices_.size(); ++i) {
    if (!voices_[i].used) {
      voices_[i] = MixVoice{};
      voices_[i].used = true;
      return static_cast<int>(i);
    }
  }
  return -1;
}

void SoundMixer::Free(int slot) { voices_[static_cast<size_t>(slot)] = MixVoice{}; }

uint64_t SoundMixer::StepFor(uint32_t sampleRate) const {
  return (static_cast<uint64_t>(sampleRate) << 32) / static_cast<uint64_t>(rate_);
}

float SoundMixer::Attenuation(int32_t hundredthsDb) {
  if (hundredthsDb <= -10000) return 0.0f;
  if (hundredthsDb >= 0) return 1.0f;
  return static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
}

void SoundMixer::Gains(int32_t volume, int32_t pan, float& left, float& right) {
  const float g = Attenuation(volume);
  left = g;
  right = g;
  if (pan < 0) right *= Attenuation(pan);
  if (pan > 0) left *= Attenuation(-pan);
}

void SoundMixer::MixVoiceInto(MixVoice& v, float* out, int frames) {
  constexpr float kScale = 1.0f / 128.0f;
  constexpr float kFrac = 1.0f / 4294967296.0f;
  const uint8_t* data = v.data;
  const uint64_t length = v.length;
  const uint64_t end = length << 32;
  const float gl = v.gainLeft * kScale;
  const float gr = v.gainRight * kScale;
  uint64_t pos = v.pos;
  int f = 0;
  while (f < frames) {
    if (pos >= end) {
      if (v.looping && length > 0) {
        pos %= end;
      } else {
        v.playing = false;
        pos = 0;
        break;
      }
    }
    // Frames that can be produced before the position reaches the last
    // sample, where the interpolation partner needs care.
    const uint64_t lastStart = (length - 1) << 32;
    int run = frames - f;
    if (pos < lastStart && v.step > 0) {
      const uint64_t fit = (lastStart - pos + v.step - 1) / v.step;
      if (fit < static_cast<uint64_t>(run)) run = static_cast<int>(fit);
    } else {
      run = 1;
    }
    if (pos < lastStart) {
      for (int i = 0; i < run; ++i) {
        const uint32_t idx = static_cast<uint32_t>(pos >> 32);
        const float frac = static_cast<float>(static_cast<uint32_t>(pos)) * kFrac;
        const float s0 = static_cast<float>(data[idx]) - 128.0f;
        const float s1 = static_cast<float>(data[idx + 1]) - 128.0f;
        const float s = s0 + (s1 - s0) * frac;
        out[2 * (f + i)] += s * gl;
        out[2 * (f + i) + 1] += s * gr;
        pos += v.step;
      }
    } else {
      // The last sample: interpolate towards the first one when looping,
      // otherwise hold it.
      const uint32_t idx = static_cast<uint32_t>(pos >> 32);
      const float frac = static_cast<float>(static_cast<uint32_t>(pos)) * kFrac;
      const float s0 = static_cast<float>(data[idx]) - 128.0f;
      const float s1 = v.looping ? static_cast<float>(data[0]) - 128.0f : s0;
      const float s = s0 + (s1 - s0) * frac;
      out[2 * f] += s * gl;
      out[2 * f + 1] += s * gr;
      pos += v.step;
    }
    f += run;
  }
  v.pos = pos;
}

void SoundMixer::Mix(float* out, int frames) {
  std::memset(out, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
  for (MixVoice& v : voices_) {
    if (v.used && v.playing) {
      if (v.length == 0 || v.data == nullptr) {
        v.playing = false;
        continue;
      }
      MixVoiceInto(v, out, frames);
    }
  }
  for (int i = 0; i < 2 * frames; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}
