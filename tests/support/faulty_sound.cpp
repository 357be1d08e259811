#include "support/faulty_sound.h"

#include <algorithm>

using namespace dx;

namespace {

// Takes a failure, if one is pending.
bool Take(int& count) {
  if (count <= 0) return false;
  --count;
  return true;
}

// Holds a reference to its device, as the SDL buffers do to theirs.
class FaultyBuffer final : public IDirectSoundBuffer {
 public:
  FaultyBuffer(IDirectSound* device, IDirectSoundBuffer* inner, SoundFaults& faults)
      : device_(device), inner_(inner), faults_(faults) {
    device_->AddRef();
  }
  IDirectSoundBuffer* Inner() const { return inner_; }

  HRESULT Lock(uint32_t offset, uint32_t bytes, void** p1, uint32_t* l1, void** p2, uint32_t* l2,
               uint32_t flags) override {
    if (Take(faults_.lockFailures)) return faults_.lockResult;
    const HRESULT hr = inner_->Lock(offset, bytes, p1, l1, p2, l2, flags);
    if (SUCCEEDED(hr)) *l1 -= std::min(*l1, faults_.lockShortBy);
    return hr;
  }
  HRESULT Unlock(void* p1, uint32_t l1, void* p2, uint32_t l2) override {
    return inner_->Unlock(p1, l1, p2, l2);
  }
  HRESULT Play(uint32_t r, uint32_t p, uint32_t f) override { return inner_->Play(r, p, f); }
  HRESULT Stop() override { return inner_->Stop(); }
  HRESULT SetCurrentPosition(uint32_t p) override { return inner_->SetCurrentPosition(p); }
  HRESULT GetCurrentPosition(uint32_t* p, uint32_t* w) override {
    return inner_->GetCurrentPosition(p, w);
  }
  HRESULT GetStatus(uint32_t* s) override { return inner_->GetStatus(s); }
  HRESULT SetPan(int32_t p) override { return inner_->SetPan(p); }
  HRESULT GetPan(int32_t* p) override { return inner_->GetPan(p); }
  HRESULT SetVolume(int32_t v) override { return inner_->SetVolume(v); }
  HRESULT GetVolume(int32_t* v) override { return inner_->GetVolume(v); }
  HRESULT SetFrequency(uint32_t f) override { return inner_->SetFrequency(f); }
  HRESULT GetFrequency(uint32_t* f) override { return inner_->GetFrequency(f); }
  HRESULT GetFormat(WAVEFORMATEX* f) override { return inner_->GetFormat(f); }
  uint32_t Release() override {
    delete this;
    return 0;
  }

 private:
  ~FaultyBuffer() override {
    inner_->Release();
    device_->Release();
  }

  IDirectSound* device_;
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
    if (--refs_ > 0) return refs_;
    inner_->Release();
    delete this;
    return 0;
  }

  int OutputRate() const override { return inner_->OutputRate(); }
  SampleFormat OutputFormat() const override { return inner_->OutputFormat(); }
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
