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

#include <cstdint>
#include <functional>

#include "base/hresult.h"

#include "base/windows_names_push.h"

namespace dx {

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

// How the output's samples are stored: native-endian float or signed 16-bit,
// two channels interleaved.
enum class SampleFormat { Float32, Int16 };

// A secondary buffer. Supported sample format: PCM, 8-bit unsigned mono.
class IDirectSoundBuffer {
 public:
  virtual HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* len1, void** ptr2,
                       uint32_t* len2, uint32_t flags) = 0;
  virtual HRESULT Unlock(void* ptr1, uint32_t len1, void* ptr2, uint32_t len2) = 0;
  // Plays once from the current position (or loops with DSBPLAY_LOOPING).
  // A buffer that is already playing goes on from where it is.
  virtual HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
  // Stops and keeps the position.
  virtual HRESULT Stop() = 0;
  virtual HRESULT SetCurrentPosition(uint32_t position) = 0;
  virtual HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
  virtual HRESULT GetStatus(uint32_t* status) = 0;
  virtual HRESULT SetPan(int32_t pan) = 0;
  virtual HRESULT GetPan(int32_t* pan) = 0;
  virtual HRESULT SetVolume(int32_t volume) = 0;
  virtual HRESULT GetVolume(int32_t* volume) = 0;
  // 0 (DSBFREQUENCY_ORIGINAL) is the format's own rate.
  virtual HRESULT SetFrequency(uint32_t frequency) = 0;
  virtual HRESULT GetFrequency(uint32_t* frequency) = 0;
  virtual HRESULT GetFormat(WAVEFORMATEX* format) = 0;
  virtual uint32_t Release() = 0;

 protected:
  virtual ~IDirectSoundBuffer() = default;  // Release deletes
};

// The device. Buffers keep it alive: it goes away when the last reference
// (the device's own and one per buffer) is released.
class IDirectSound {
 public:
  virtual HRESULT SetCooperativeLevel(HWND window, uint32_t level) = 0;
  virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                    void* outer) = 0;
  virtual HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                       IDirectSoundBuffer** duplicate) = 0;
  virtual uint32_t AddRef() = 0;
  virtual uint32_t Release() = 0;

  // Not part of DirectSound; for tests and benchmarks.
  virtual int OutputRate() const = 0;
  virtual SampleFormat OutputFormat() const = 0;
  // Pauses or resumes the output (running once it streams).
  virtual void PauseOutput(bool paused) = 0;
  // For the program's end: silences the stream at once, and the last
  // Release leaves the audio thread to the process's exit instead of
  // waiting for it (it may be asleep for a whole buffer).
  virtual void LeaveToExit() = 0;
  // Mixes `frames` stereo frames of every playing buffer into `out`
  // (interleaved float, overwritten), advancing them as the output would.
  virtual void RenderFrames(float* out, int frames) = 0;
  // Buffers (sources and duplicates) not yet released.
  virtual int BufferCount() const = 0;

 protected:
  virtual ~IDirectSound() = default;  // the last Release deletes
};

// Opens the default output with the device factory. Fails (DSERR_NODRIVER)
// when there is none.
HRESULT DirectSoundCreate(const void* guid, IDirectSound** device, void* outer);

// The device on SDL2 audio, the factory's default. When SDL can't start or
// open a device it says why on stderr and fails with DSERR_NODRIVER.
HRESULT OpenSdlSound(IDirectSound** device);
// What DirectSoundCreate makes its device with: tests put in devices of
// their own, around the SDL one.
using DirectSoundFactory = std::function<HRESULT(IDirectSound** device)>;
// Installs `factory` (empty: OpenSdlSound) and returns the one it replaces.
DirectSoundFactory SetDirectSoundFactory(DirectSoundFactory factory);

}  // namespace dx

#include "base/windows_names_pop.h"
