// The software mixer behind the DirectSound work-alike: a fixed table of
// voices, each reading 8-bit unsigned mono samples at its own rate, resampled
// with linear interpolation and mixed into interleaved stereo float with
// saturation. The table is sized once; mixing allocates nothing.
//
// Not thread-safe by itself: the owner serialises Mix (audio thread) and the
// voice changes (main thread) with the SDL device lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct MixVoice {
  bool used = false;
  bool playing = false;
  bool looping = false;
  const uint8_t* data = nullptr;
  uint32_t length = 0;
  uint64_t pos = 0;   // sample index, 32.32 fixed point
  uint64_t step = 0;  // advance per output frame, 32.32 fixed point
  float gainLeft = 1.0f;
  float gainRight = 1.0f;
};

class SoundMixer {
 public:
  SoundMixer(int outputRate, int voiceCount);

  // A free voice slot (stopped, position 0), or -1 when all are taken.
  int Acquire();
  void Free(int slot);
  MixVoice& Voice(int slot) { return voices_[static_cast<std::size_t>(slot)]; }
  // The step for a voice played at `sampleRate` samples per second.
  uint64_t StepFor(uint32_t sampleRate) const;

  // Overwrites out[0 .. 2*frames) with the mix of every playing voice and
  // advances them. A one-shot voice that reaches its end stops and goes back
  // to position 0; a looping one wraps.
  void Mix(float* out, int frames);

  // DirectSound's controls in hundredths of a decibel: volume v gives
  // 10^(v/2000) (v <= -10000 is silence); pan p lowers the opposite side by
  // |p|/100 dB (p < 0 lowers the right side).
  static float Attenuation(int32_t hundredthsDb);
  static void Gains(int32_t volume, int32_t pan, float& left, float& right);

 private:
  static void MixVoiceInto(MixVoice& v, float* out, int frames);

  int rate_;
  std::vector<MixVoice> voices_;
};
