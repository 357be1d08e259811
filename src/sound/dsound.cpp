// The DirectSound work-alike on SDL2 audio: the device object with its SDL
// device and mixer, and its buffers. Both are hidden behind the interfaces.
#include "sound/dsound.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "base/diagnostic.h"
#include "sound/mixer.h"

namespace dx {

namespace {

constexpr uint32_t kLegacyDescSize = 20;  // the 32-bit DSBUFFERDESC
constexpr int kMaxBuffers = 64;

class SdlSound;

class SdlSoundBuffer final : public IDirectSoundBuffer {
 public:
  SdlSoundBuffer(SdlSound* device, int slot, uint32_t flags, const WAVEFORMATEX& format,
                 std::shared_ptr<std::vector<uint8_t>> samples);

  HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* len1, void** ptr2,
               uint32_t* len2, uint32_t flags) override;
  HRESULT Unlock(void* ptr1, uint32_t len1, void* ptr2, uint32_t len2) override;
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
  HRESULT Stop() override;
  HRESULT SetCurrentPosition(uint32_t position) override;
  HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) override;
  HRESULT GetStatus(uint32_t* status) override;
  HRESULT SetPan(int32_t pan) override;
  HRESULT GetPan(int32_t* pan) override;
  HRESULT SetVolume(int32_t volume) override;
  HRESULT GetVolume(int32_t* volume) override;
  HRESULT SetFrequency(uint32_t frequency) override;
  HRESULT GetFrequency(uint32_t* frequency) override;
  HRESULT GetFormat(WAVEFORMATEX* format) override;
  uint32_t Release() override;

 private:
  friend class SdlSound;
  ~SdlSoundBuffer() override;
  void UpdateGains();

  SdlSound* device_;
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

// Its memory and the SDL device go away with the last reference.
class SdlSound final : public IDirectSound {
 public:
  SdlSound() = default;
  HRESULT Open();

  HRESULT SetCooperativeLevel(HWND window, uint32_t level) override;
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                            void* outer) override;
  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                               IDirectSoundBuffer** duplicate) override;
  uint32_t AddRef() override;
  uint32_t Release() override;

  int OutputRate() const override;
  SampleFormat OutputFormat() const override;
  void PauseOutput(bool paused) override;
  void LeaveToExit() override;
  void RenderFrames(float* out, int frames) override;
  int BufferCount() const override { return static_cast<int>(refs_) - 1; }

 private:
  friend class SdlSoundBuffer;
  ~SdlSound() override;
  // Opens the SDL device with a stereo format the mixer can fill; false
  // (and said why) when it can't.
  bool OpenDevice();
  // Opens the SDL device's stream if it is not open; false (said once)
  // when it can't.
  bool OpenStream();
  // A buffer on a free voice of the mixer, or nullptr when none is free.
  SdlSoundBuffer* NewBuffer(uint32_t flags, const WAVEFORMATEX& format,
                            std::shared_ptr<std::vector<uint8_t>> samples);
  static void SDLCALL Callback(void* self, Uint8* stream, int len);
  void Lock();
  void Unlock();

  uint32_t refs_ = 1;
  bool sdlAudioInit_ = false;
  SDL_AudioDeviceID dev_ = 0;  // 0 until the first sound buffer
  bool paused_ = false;
  bool leftToExit_ = false;
  bool streamFailureSaid_ = false;
  SDL_AudioSpec spec_{};
  std::unique_ptr<SoundMixer> mixer_;
  std::vector<float> scratch_;  // mixing area for non-float output
};

DirectSoundFactory& Factory() {
  static DirectSoundFactory factory;
  return factory;
}

// Sound goes off, or silent, for a reason SDL knows.
void SaySdlFailed(const char* what, const char* call) {
  ReportProblem(std::string(what) + ": " + call + " failed: " + SDL_GetError());
}

// ---------------------------------------------------------------------------
// Device

HRESULT SdlSound::Open() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    SaySdlFailed("sound off", "SDL_InitSubSystem(SDL_INIT_AUDIO)");
    return DSERR_NODRIVER;
  }
  sdlAudioInit_ = true;
  if (!OpenDevice()) return DSERR_NODRIVER;

  mixer_ = std::make_unique<SoundMixer>(spec_.freq, kMaxBuffers);
  const int frames = std::max<int>(spec_.samples, 256);
  scratch_.assign(static_cast<size_t>(frames) * 2, 0.0f);
  // The device was opened to learn that it works and what it takes. It
  // streams only from the first sound buffer on: before that there is
  // nothing to play, and a stream of silence keeps SDL's audio thread, the
  // sound server and the sound card busy (with sound off, for the whole run).
  SDL_CloseAudioDevice(dev_);
  dev_ = 0;
  return DS_OK;
}

bool SdlSound::OpenDevice() {
  // The device's own rate where SDL can tell it; stereo float, or whatever
  // native format SDL offers instead (float and signed 16-bit are mixed
  // directly, anything else is converted by SDL from float).
  SDL_AudioSpec preferred{};
  int rate = 48000;
  if (SDL_GetDefaultAudioInfo(nullptr, &preferred, 0) == 0 && preferred.freq > 0) {
    rate = preferred.freq;
  }
  SDL_AudioSpec want{};
  want.freq = rate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &SdlSound::Callback;
  want.userdata = this;
  dev_ = SDL_OpenAudioDevice(nullptr, 0, &want, &spec_,
                             SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_FORMAT_CHANGE |
                                 SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
  if (dev_ != 0 && spec_.format != AUDIO_F32SYS && spec_.format != AUDIO_S16SYS) {
    SDL_CloseAudioDevice(dev_);
    dev_ = SDL_OpenAudioDevice(nullptr, 0, &want, &spec_,
                               SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
  }
  if (dev_ == 0) {
    SaySdlFailed("sound off", "SDL_OpenAudioDevice");
    return false;
  }
  if (spec_.channels != 2) {
    ReportProblem("sound off: the audio device has " + std::to_string(spec_.channels) +
                  " channels instead of 2");
    SDL_CloseAudioDevice(dev_);
    dev_ = 0;
    return false;
  }
  return true;
}

bool SdlSound::OpenStream() {
  if (dev_ != 0) return true;
  // Exactly what the device took at start; SDL converts should it now differ.
  SDL_AudioSpec want = spec_;
  want.callback = &SdlSound::Callback;
  want.userdata = this;
  SDL_AudioSpec got{};
  dev_ = SDL_OpenAudioDevice(nullptr, 0, &want, &got, 0);
  if (dev_ == 0) {
    if (!streamFailureSaid_) SaySdlFailed("sound silent", "SDL_OpenAudioDevice");
    streamFailureSaid_ = true;
    return false;
  }
  SDL_PauseAudioDevice(dev_, paused_ ? 1 : 0);
  return true;
}

SdlSound::~SdlSound() {
  if (leftToExit_) return;
  if (dev_ != 0) SDL_CloseAudioDevice(dev_);
  if (sdlAudioInit_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SDLCALL SdlSound::Callback(void* self, Uint8* stream, int len) {
  // Runs on SDL's audio thread with the device lock held.
  auto* d = static_cast<SdlSound*>(self);
  if (d->spec_.format == AUDIO_F32SYS) {
    d->mixer_->Mix(reinterpret_cast<float*>(stream), len / static_cast<int>(2 * sizeof(float)));
    return;
  }
  auto* out = reinterpret_cast<int16_t*>(stream);
  int frames = len / static_cast<int>(2 * sizeof(int16_t));
  const int chunk = static_cast<int>(d->scratch_.size() / 2);
  while (frames > 0) {
    const int n = std::min(frames, chunk);
    d->mixer_->Mix(d->scratch_.data(), n);
    for (int i = 0; i < 2 * n; ++i) {
      out[i] = static_cast<int16_t>(std::lround(d->scratch_[static_cast<size_t>(i)] * 32767.0f));
    }
    out += 2 * n;
    frames -= n;
  }
}

void SdlSound::Lock() {
  if (dev_ != 0) SDL_LockAudioDevice(dev_);
}
void SdlSound::Unlock() {
  if (dev_ != 0) SDL_UnlockAudioDevice(dev_);
}

uint32_t SdlSound::AddRef() { return ++refs_; }

uint32_t SdlSound::Release() {
  const uint32_t left = --refs_;
  if (left == 0) delete this;
  return left;
}

int SdlSound::OutputRate() const { return spec_.freq; }
SampleFormat SdlSound::OutputFormat() const {
  return spec_.format == AUDIO_F32SYS ? SampleFormat::Float32 : SampleFormat::Int16;
}

void SdlSound::PauseOutput(bool paused) {
  paused_ = paused;
  if (dev_ != 0) SDL_PauseAudioDevice(dev_, paused ? 1 : 0);
}

void SdlSound::LeaveToExit() {
  // Paused under the device lock: the callback, which would read this
  // object, is not running now and never runs again.
  PauseOutput(true);
  leftToExit_ = true;
}

void SdlSound::RenderFrames(float* out, int frames) {
  Lock();
  mixer_->Mix(out, frames);
  Unlock();
}

HRESULT SdlSound::SetCooperativeLevel(HWND window, uint32_t level) {
  if (window == nullptr || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
    return DSERR_INVALIDPARAM;
  }
  return DS_OK;
}

HRESULT SdlSound::CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                    void* outer) {
  if (buffer == nullptr) return DSERR_INVALIDPARAM;
  *buffer = nullptr;
  if (desc == nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
  if (desc->dwSize != kLegacyDescSize && desc->dwSize != sizeof(DSBUFFERDESC)) {
    return DSERR_INVALIDPARAM;
  }
  if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) return DSERR_UNSUPPORTED;
  if (desc->dwBufferBytes == 0 || desc->dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
  const WAVEFORMATEX* f = desc->lpwfxFormat;
  if (f == nullptr) return DSERR_INVALIDPARAM;
  if (f->wFormatTag != WAVE_FORMAT_PCM || f->nChannels != 1 || f->wBitsPerSample != 8 ||
      f->nBlockAlign != 1 || f->nSamplesPerSec < DSBFREQUENCY_MIN ||
      f->nSamplesPerSec > DSBFREQUENCY_MAX) {
    return DSERR_BADFORMAT;
  }

  // Best effort: a device that went away since start leaves the buffers
  // playing silently, as a device without speakers would.
  OpenStream();
  // A new buffer holds silence.
  auto samples = std::make_shared<std::vector<uint8_t>>(desc->dwBufferBytes, uint8_t{128});
  *buffer = NewBuffer(desc->dwFlags, *f, std::move(samples));
  return *buffer != nullptr ? DS_OK : DSERR_OUTOFMEMORY;
}

HRESULT SdlSound::DuplicateSoundBuffer(IDirectSoundBuffer* original,
                                       IDirectSoundBuffer** duplicate) {
  if (duplicate == nullptr) return DSERR_INVALIDPARAM;
  *duplicate = nullptr;
  // Only a buffer of this device can be duplicated by it.
  auto* source = dynamic_cast<SdlSoundBuffer*>(original);
  if (source == nullptr || source->device_ != this) return DSERR_INVALIDPARAM;
  SdlSoundBuffer* copy = NewBuffer(source->flags_, source->format_, source->samples_);
  if (copy == nullptr) return DSERR_OUTOFMEMORY;
  copy->volume_ = source->volume_;
  copy->pan_ = source->pan_;
  copy->frequency_ = source->frequency_;
  copy->UpdateGains();
  Lock();
  mixer_->Voice(copy->slot_).step = mixer_->StepFor(copy->frequency_);
  Unlock();
  *duplicate = copy;
  return DS_OK;
}

SdlSoundBuffer* SdlSound::NewBuffer(uint32_t flags, const WAVEFORMATEX& format,
                                    std::shared_ptr<std::vector<uint8_t>> samples) {
  Lock();
  const int slot = mixer_->Acquire();
  Unlock();
  if (slot < 0) return nullptr;
  return new SdlSoundBuffer(this, slot, flags, format, std::move(samples));
}

// ---------------------------------------------------------------------------
// Buffers

SdlSoundBuffer::SdlSoundBuffer(SdlSound* device, int slot, uint32_t flags,
                               const WAVEFORMATEX& format,
                               std::shared_ptr<std::vector<uint8_t>> samples)
    : device_(device),
      slot_(slot),
      flags_(flags),
      format_(format),
      samples_(std::move(samples)),
      frequency_(format.nSamplesPerSec) {
  device_->AddRef();
  device_->Lock();
  MixVoice& v = device_->mixer_->Voice(slot_);
  v.data = samples_->data();
  v.length = static_cast<uint32_t>(samples_->size());
  v.step = device_->mixer_->StepFor(frequency_);
  device_->Unlock();
}

SdlSoundBuffer::~SdlSoundBuffer() {
  device_->Lock();
  device_->mixer_->Free(slot_);
  device_->Unlock();
  device_->Release();
}

uint32_t SdlSoundBuffer::Release() {
  delete this;
  return 0;
}

void SdlSoundBuffer::UpdateGains() {
  float left = 1.0f;
  float right = 1.0f;
  SoundMixer::Gains(volume_, pan_, left, right);
  device_->Lock();
  MixVoice& v = device_->mixer_->Voice(slot_);
  v.gainLeft = left;
  v.gainRight = right;
  device_->Unlock();
}

HRESULT SdlSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* len1,
                             void** ptr2, uint32_t* len2, uint32_t flags) {
  if (ptr1 == nullptr || len1 == nullptr) return DSERR_INVALIDPARAM;
  *ptr1 = nullptr;
  *len1 = 0;
  if (ptr2 != nullptr) *ptr2 = nullptr;
  if (len2 != nullptr) *len2 = 0;
  if (locked_) return DSERR_INVALIDCALL;
  const uint32_t size = static_cast<uint32_t>(samples_->size());
  if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
  if (flags & DSBLOCK_FROMWRITECURSOR) {
    uint32_t play = 0;
    GetCurrentPosition(&play, &offset);
  }
  if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;

  const uint32_t first = std::min(bytes, size - offset);
  const uint32_t second = bytes - first;
  if (second > 0 && (ptr2 == nullptr || len2 == nullptr)) return DSERR_INVALIDPARAM;
  // The caller works on a copy; Unlock puts it into the shared samples under
  // the device lock, so the mixing thread never sees a half-written region.
  staging_.resize(bytes);
  device_->Lock();
  std::memcpy(staging_.data(), samples_->data() + offset, first);
  if (second > 0) std::memcpy(staging_.data() + first, samples_->data(), second);
  device_->Unlock();
  locked_ = true;
  lockOffset_ = offset;
  *ptr1 = staging_.data();
  *len1 = first;
  if (second > 0) {
    *ptr2 = staging_.data() + first;
    *len2 = second;
  }
  return DS_OK;
}

HRESULT SdlSoundBuffer::Unlock(void* ptr1, uint32_t len1, void* ptr2, uint32_t len2) {
  if (!locked_ || ptr1 != staging_.data()) return DSERR_INVALIDPARAM;
  const uint32_t size = static_cast<uint32_t>(samples_->size());
  const uint32_t first = std::min(static_cast<uint32_t>(staging_.size()), size - lockOffset_);
  len1 = std::min(len1, first);
  uint32_t second = 0;
  if (ptr2 != nullptr && ptr2 == staging_.data() + first) {
    second = std::min(len2, static_cast<uint32_t>(staging_.size()) - first);
  }
  device_->Lock();
  std::memcpy(samples_->data() + lockOffset_, staging_.data(), len1);
  if (second > 0) std::memcpy(samples_->data(), staging_.data() + first, second);
  device_->Unlock();
  locked_ = false;
  std::vector<uint8_t>().swap(staging_);
  return DS_OK;
}

HRESULT SdlSoundBuffer::Play(uint32_t reserved, uint32_t /*priority*/, uint32_t flags) {
  if (reserved != 0) return DSERR_INVALIDPARAM;
  device_->Lock();
  MixVoice& v = device_->mixer_->Voice(slot_);
  v.looping = (flags & DSBPLAY_LOOPING) != 0;
  v.playing = true;
  device_->Unlock();
  return DS_OK;
}

HRESULT SdlSoundBuffer::Stop() {
  device_->Lock();
  device_->mixer_->Voice(slot_).playing = false;
  device_->Unlock();
  return DS_OK;
}

HRESULT SdlSoundBuffer::SetCurrentPosition(uint32_t position) {
  if (position >= samples_->size()) return DSERR_INVALIDPARAM;
  device_->Lock();
  device_->mixer_->Voice(slot_).pos = static_cast<uint64_t>(position) << 32;
  device_->Unlock();
  return DS_OK;
}

HRESULT SdlSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write) {
  device_->Lock();
  const uint32_t pos = static_cast<uint32_t>(device_->mixer_->Voice(slot_).pos >> 32);
  device_->Unlock();
  if (play != nullptr) *play = pos;
  if (write != nullptr) *write = pos;
  return DS_OK;
}

HRESULT SdlSoundBuffer::GetStatus(uint32_t* status) {
  if (status == nullptr) return DSERR_INVALIDPARAM;
  device_->Lock();
  const MixVoice& v = device_->mixer_->Voice(slot_);
  *status = v.playing ? (DSBSTATUS_PLAYING | (v.looping ? DSBSTATUS_LOOPING : 0u)) : 0u;
  device_->Unlock();
  return DS_OK;
}

HRESULT SdlSoundBuffer::SetPan(int32_t pan) {
  if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
  if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
  pan_ = pan;
  UpdateGains();
  return DS_OK;
}

HRESULT SdlSoundBuffer::GetPan(int32_t* pan) {
  if (pan == nullptr) return DSERR_INVALIDPARAM;
  *pan = pan_;
  return DS_OK;
}

HRESULT SdlSoundBuffer::SetVolume(int32_t volume) {
  if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
  if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
  volume_ = volume;
  UpdateGains();
  return DS_OK;
}

HRESULT SdlSoundBuffer::GetVolume(int32_t* volume) {
  if (volume == nullptr) return DSERR_INVALIDPARAM;
  *volume = volume_;
  return DS_OK;
}

HRESULT SdlSoundBuffer::SetFrequency(uint32_t frequency) {
  if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
  if (frequency == DSBFREQUENCY_ORIGINAL) frequency = format_.nSamplesPerSec;
  if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) return DSERR_INVALIDPARAM;
  frequency_ = frequency;
  device_->Lock();
  device_->mixer_->Voice(slot_).step = device_->mixer_->StepFor(frequency_);
  device_->Unlock();
  return DS_OK;
}

HRESULT SdlSoundBuffer::GetFrequency(uint32_t* frequency) {
  if (frequency == nullptr) return DSERR_INVALIDPARAM;
  *frequency = frequency_;
  return DS_OK;
}

HRESULT SdlSoundBuffer::GetFormat(WAVEFORMATEX* format) {
  if (format == nullptr) return DSERR_INVALIDPARAM;
  *format = format_;
  return DS_OK;
}

}  // namespace

// ---------------------------------------------------------------------------
// Creation

HRESULT DirectSoundCreate(const void* guid, IDirectSound** device, void* outer) {
  if (device == nullptr) return DSERR_INVALIDPARAM;
  *device = nullptr;
  if (guid != nullptr || outer != nullptr) return DSERR_INVALIDPARAM;
  return Factory() ? Factory()(device) : OpenSdlSound(device);
}

HRESULT OpenSdlSound(IDirectSound** device) {
  auto* d = new SdlSound();
  const HRESULT hr = d->Open();
  if (FAILED(hr)) {
    d->Release();
    return hr;
  }
  *device = d;
  return DS_OK;
}

DirectSoundFactory SetDirectSoundFactory(DirectSoundFactory factory) {
  return std::exchange(Factory(), std::move(factory));
}

}  // namespace dx
