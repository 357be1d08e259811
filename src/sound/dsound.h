// A small DirectSound work-alike on SDL2 audio: a device object, static
// buffers of PCM samples with Lock/Unlock, duplicates that share their
// source's samples, and per-buffer position, pan, volume and frequency.
//
// Mixing happens in SDL's audio callback on the audio device's thread. Every
// command from the main thread takes the SDL device lock for the few
// instructions it needs; the callback allocates nothing: the voice table and
// the mixing scratch are sized when the device is created.
//
// This layer exists instead of SDL_mixer's channels because DirectSound's
// Play continues a buffer from its current position (and a one-shot buffer
// that has played to its end starts again from its beginning), whereas
// Mix_PlayChannel always restarts the channel; the voice rotation of the
// sound effects relies on the DirectSound behaviour.
#pragma once

#include <SDL2/SDL_audio.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "base/hresult.h"

using HWND = void*;

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);


constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_PRIORITY = 2;
constexpr uint32_t DSSCL_EXCLUSIVE = 3;
constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr uint32_t DSBCAPS_STATIC = 0x2;
constexpr uint32_t DSBCAPS_LOCSOFTWARE = 0x8;
constexpr uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr uint32_t DSBSTATUS_LOOPING = 0x4;

constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;
constexpr int32_t DSBVOLUME_MIN = -10000;
constexpr int32_t DSBVOLUME_MAX = 0;
constexpr int32_t DSBPAN_LEFT = -10000;
constexpr int32_t DSBPAN_RIGHT = 10000;
constexpr uint32_t DSBFREQUENCY_ORIGINAL = 0;
constexpr uint32_t DSBFREQUENCY_MIN = 100;
constexpr uint32_t DSBFREQUENCY_MAX = 200000;

constexpr uint16_t WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
  uint16_t wFormatTag = 0;
  uint16_t nChannels = 0;
  uint32_t nSamplesPerSec = 0;
  uint32_t nAvgBytesPerSec = 0;
  uint16_t nBlockAlign = 0;
  uint16_t wBitsPerSample = 0;
  uint16_t cbSize = 0;
};

// dwSize is 20 on the 32-bit platform the structure comes from; that value
// and the native size are both accepted.
struct DSBUFFERDESC {
  uint32_t dwSize = 0;
  uint32_t dwFlags = 0;
  uint32_t dwBufferBytes = 0;
  uint32_t dwReserved = 0;
  const WAVEFORMATEX* lpwfxFormat = nullptr;
};

class IDirectSound;
class SoundMixer;

// A secondary buffer. Supported sample format: PCM, 8-bit unsigned mono.
class IDirectSoundBuffer {
 public:
  HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* len1, void** ptr2,
               uint32_t* len2, uint32_t flags);
  HRESULT Unlock(void* ptr1, uint32_t len1, void* ptr2, uint32_t len2);
  // Plays once from the current position (or loops with DSBPLAY_LOOPING).
  // A buffer that is already playing goes on from where it is.
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags);
  // Stops and keeps the position.
  HRESULT Stop();
  HRESULT SetCurrentPosition(uint32_t position);
  HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write);
  HRESULT GetStatus(uint32_t* status);
  HRESULT SetPan(int32_t pan);
  HRESULT GetPan(int32_t* pan);
  HRESULT SetVolume(int32_t volume);
  HRESULT GetVolume(int32_t* volume);
  // 0 (DSBFREQUENCY_ORIGINAL) is the format's own rate.
  HRESULT SetFrequency(uint32_t frequency);
  HRESULT GetFrequency(uint32_t* frequency);
  HRESULT GetFormat(WAVEFORMATEX* format);
  uint32_t Release();

 private:
  friend class IDirectSound;
  IDirectSoundBuffer(IDirectSound* device, int slot, uint32_t flags, const WAVEFORMATEX& format,
                     std::shared_ptr<std::vector<uint8_t>> samples);
  ~IDirectSoundBuffer();
  void UpdateGains();

  IDirectSound* device_;
  int slot_;
  uint32_t flags_;
  WAVEFORMATEX format_;
  std::shared_ptr<std::vector<uint8_t>> samples_;  // shared with duplicates
  int32_t volume_ = 0;
  int32_t pan_ = 0;
  uint32_t frequency_;
  bool locked_ = false;
  uint32_t lockOffset_ = 0;
  std::vector<uint8_t> staging_;  // what Lock hands out; Unlock copies it in
};

// The device. Buffers keep it alive: its memory and the SDL device go away
// when the last reference (the device's own and one per buffer) is released.
class IDirectSound {
 public:
  HRESULT SetCooperativeLevel(HWND window, uint32_t level);
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer, void* outer);
  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original, IDirectSoundBuffer** duplicate);
  uint32_t AddRef();
  uint32_t Release();

  // Not part of DirectSound; for tests and benchmarks.
  int OutputRate() const;
  SDL_AudioFormat OutputFormat() const;
  // Pauses or resumes the SDL device (running once it streams).
  void PauseOutput(bool paused);
  // For the program's end: silences the stream at once, and the last
  // Release leaves SDL's audio thread to the process's exit instead of
  // waiting for it (it may be asleep for a whole buffer).
  void LeaveToExit();
  // Mixes `frames` stereo frames of every playing voice into `out`
  // (interleaved float, overwritten), advancing the voices as the callback
  // would. Takes the device lock.
  void RenderFrames(float* out, int frames);
  // Buffers (sources and duplicates) not yet released.
  int BufferCount() const { return static_cast<int>(refs_) - 1; }

  static constexpr int kMaxBuffers = 64;

 private:
  friend class IDirectSoundBuffer;
  friend HRESULT DirectSoundCreate(const void* guid, IDirectSound** device, void* outer);
  IDirectSound() = default;
  ~IDirectSound();
  HRESULT Open();
  // Opens the SDL device's stream if it is not open; false when it can't.
  bool OpenStream();
  static void SDLCALL Callback(void* self, Uint8* stream, int len);
  void Lock();
  void Unlock();

  uint32_t refs_ = 1;
  bool sdlAudioInit_ = false;
  SDL_AudioDeviceID dev_ = 0;  // 0 until the first sound buffer
  bool paused_ = false;
  bool leftToExit_ = false;
  SDL_AudioSpec spec_{};
  std::unique_ptr<SoundMixer> mixer_;
  std::vector<float> scratch_;  // mixing area for non-float output
};

// Opens the default output. Fails (DSERR_NODRIVER) when SDL can open none.
HRESULT DirectSoundCreate(const void* guid, IDirectSound** device, void* outer);

// Injectable failures and call records for tests. Each *Failures count makes
// that many next calls fail with the given result.
struct DirectSoundFaults {
  int createBufferFailures = 0;
  HRESULT createBufferResult = DSERR_OUTOFMEMORY;
  int duplicateFailures = 0;
  int duplicateFailuresAfter = 0;  // calls that still succeed before those failures
  HRESULT duplicateResult = DSERR_OUTOFMEMORY;
  int lockFailures = 0;
  HRESULT lockResult = DSERR_INVALIDCALL;
  uint32_t lockShortBy = 0;  // the first region comes back this much shorter
  HRESULT cooperativeLevelResult = DS_OK;
  int createFailures = 0;  // DirectSoundCreate

  std::vector<uint32_t> createBufferFlags;  // dwFlags of every CreateSoundBuffer
  int duplicateCalls = 0;
};
DirectSoundFaults& SoundFaults();
void ResetSoundFaults();
