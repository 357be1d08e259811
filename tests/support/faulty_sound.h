// Sound devices that fail where a test says and record what they were asked:
// the SDL device and its buffers, wrapped, handed out by DirectSoundCreate.
#pragma once

#include <cstdint>
#include <vector>

#include "sound/dsound.h"

// Each *Failures count makes that many next calls fail with the given result.
struct SoundFaults {
  int createBufferFailures = 0;
  dx::HRESULT createBufferResult = dx::DSERR_OUTOFMEMORY;
  int duplicateFailures = 0;
  int duplicateFailuresAfter = 0;  // calls that still succeed before those failures
  dx::HRESULT duplicateResult = dx::DSERR_OUTOFMEMORY;
  int lockFailures = 0;
  dx::HRESULT lockResult = dx::DSERR_INVALIDCALL;
  uint32_t lockShortBy = 0;  // the first region comes back this much shorter
  dx::HRESULT cooperativeLevelResult = dx::DS_OK;
  int createFailures = 0;  // DirectSoundCreate, with DSERR_NODRIVER

  std::vector<uint32_t> createBufferFlags;  // dwFlags of every CreateSoundBuffer
  int duplicateCalls = 0;
};

// While it lives, DirectSoundCreate makes faulty devices; then the factory
// before it is back. The devices it made must be released before it goes.
class FaultySound {
 public:
  FaultySound();
  ~FaultySound();
  FaultySound(const FaultySound&) = delete;
  FaultySound& operator=(const FaultySound&) = delete;

  SoundFaults& Faults() { return faults_; }

 private:
  SoundFaults faults_;
  dx::DirectSoundFactory previous_;
};
