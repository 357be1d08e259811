#include "support/faulty_sound.h"

#include <algorithm>

namespace {

// Takes a failure, if one is pending.
bool Take(int& count) {
  if (count <= 0) return false;
  --count;
  return true;
}

class FaultyDevice;

// Holds a reference to its device, as the SDL buffers do to theirs.
class FaultyBuffer final : public IDirectSoundBuffer {
 public:
  FaultyBuffer(FaultyDevice* device, IDirectSoundBuffer* inner, SoundFaults& faults);
  IDirectSoundBuffer* Inner() const { return inner_; }

  HRESULT Lock(uint32_t offset, uint32_t bytes, void** ptr1, uint32_t* len1, void** ptr2,
               uint32_t* len2, uint32_t flags) override {
    if (Take(faults_.lockFailures)) return faults_.lockResult;
    const HRESULT hr = inner_->Lock(offset, bytes, ptr1, len1, ptr2, len2, flags);
    if (SUCCEEDED(hr)) *len1 -= std::min(*len1, faults_.lockShortBy);
    return hr;
  }
  HRESULT Unlock(void* ptr1, uint32_t len1, void* ptr2, uint32_t len2) override {
    return inner_->Unlock(ptr1, len1, ptr2, len2);
  }
  HRESULT Play(uint32_t reserved, uint32_t priority, uint32_t flags) override {
    return inner_->Play(reserved, priority, flags);
  }
  HRESULT Stop() override { return inner_->Stop(); }
  HRESULT SetCurrentPosition(uint32_t position) override {
    return inner_->SetCurrentPosition(position);
  }
  HRESULT GetCurrentPosition(uint32_t* play, uint32_t* write) override {
    return inner_->GetCurrentPosition(play, write);
  }
  HRESULT GetStatus(uint32_t* status) override { return inner_->GetStatus(status); }
  HRESULT SetPan(int32_t pan) override { return inner_->SetPan(pan); }
  HRESULT GetPan(int32_t* pan) override { return inner_->GetPan(pan); }
  HRESULT SetVolume(int32_t volume) override { return inner_->SetVolume(volume); }
  HRESULT GetVolume(int32_t* volume) override { return inner_->GetVolume(volume); }
  HRESULT SetFrequency(uint32_t frequency) override { return inner_->SetFrequency(frequency); }
  HRESULT GetFrequency(uint32_t* frequency) override { return inner_->GetFrequency(frequency); }
  HRESULT GetFormat(WAVEFORMATEX* format) override { return inner_->GetFormat(format); }
  uint32_t Release() override {
    delete this;
    return 0;
  }

 private:
  ~FaultyBuffer() override;

  FaultyDevice* device_;
  IDirectSoundBuffer* inner_;
  SoundFaults& faults_;
};

class FaultyDevice final : public IDirectSound {
 public:
  FaultyDevice(IDirectSound* inner, SoundFaults& faults) : inner_(inner), faults_(faults) {}

  HRESULT SetCooperativeLevel(HWND window, uint32_t level) override {
    if (faults_.cooperativeLevelResult != DS_OK) return faults_.cooperativeLevelResult;
    return inner_->SetCooperativeLevel(window, level);
  }
  HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                            void* outer) override {
    if (desc != nullptr) faults_.createBufferFlags.push_back(desc->dwFlags);
    if (buffer == nullptr) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (Take(faults_.createBufferFailures)) return faults_.createBufferResult;
    return Wrapped(inner_->CreateSoundBuffer(desc, buffer, outer), buffer);
  }
  HRESULT DuplicateSoundBuffer(IDirectSoundBuffer* original,
                               IDirectSoundBuffer** duplicate) override {
    ++faults_.duplicateCalls;
    if (duplicate == nullptr) return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    if (faults_.duplicateFailuresAfter > 0) {
      --faults_.duplicateFailuresAfter;
    } else if (Take(faults_.duplicateFailures)) {
      return faults_.duplicateResult;
    }
    auto* source = dynamic_cast<FaultyBuffer*>(original);
    return Wrapped(inner_->DuplicateSoundBuffer(source ? source->Inner() : original, duplicate),
                   duplicate);
  }
  uint32_t AddRef() override { return ++refs_; }
  uint32_t Release() override {
    const uint32_t left = --refs_;
    if (left == 0) {
      inner_->Release();
      delete this;
    }
    return left;
  }

  int OutputRate() const override { return inner_->OutputRate(); }
  SDL_AudioFormat OutputFormat() const override { return inner_->OutputFormat(); }
  void PauseOutput(bool paused) override { inner_->PauseOutput(paused); }
  void LeaveToExit() override { inner_->LeaveToExit(); }
  void RenderFrames(float* out, int frames) override { inner_->RenderFrames(out, frames); }
  int BufferCount() const override { return inner_->BufferCount(); }

 private:
  ~FaultyDevice() override = default;

  // The buffer the inner device made, wrapped.
  HRESULT Wrapped(HRESULT hr, IDirectSoundBuffer** buffer) {
    if (SUCCEEDED(hr)) *buffer = new FaultyBuffer(this, *buffer, faults_);
    return hr;
  }

  IDirectSound* inner_;
  SoundFaults& faults_;
  uint32_t refs_ = 1;
};

FaultyBuffer::FaultyBuffer(FaultyDevice* device, IDirectSoundBuffer* inner, SoundFaults& faults)
    : device_(device), inner_(inner), faults_(faults) {
  device_->AddRef();
}

FaultyBuffer::~FaultyBuffer() {
  inner_->Release();
  device_->Release();
}

}  // namespace

FaultySound::FaultySound() {
  previous_ = SetDirectSoundFactory([this](IDirectSound** device) -> HRESULT {
    if (Take(faults_.createFailures)) return DSERR_NODRIVER;
    IDirectSound* inner = nullptr;
    const HRESULT hr = OpenSdlSound(&inner);
    if (SUCCEEDED(hr)) *device = new FaultyDevice(inner, faults_);
    return hr;
  });
}

FaultySound::~FaultySound() { SetDirectSoundFactory(std::move(previous_)); }
