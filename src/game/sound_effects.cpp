#include "game/sound_effects.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "sound/dsound.h"
#include "sound/wave_file.h"
#include "game/game_run.h"
#include "game/host.h"
#include "game/world_state.h"
#include "platform/bounded_read.h"

using namespace dx;

namespace {

IDirectSound* g_soundDevice = nullptr;

// The staging area into which one wave file at a time is read.
uint8_t WaveBuffer[kWaveBufferSize];
static_assert(kWaveFileLimit == size_t{kWaveMaxRead});

// The first attempt asks for global focus, the second does without.
constexpr uint32_t kFlagsSecond = DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLFREQUENCY |
                                  DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME |
                                  DSBCAPS_GETCURRENTPOSITION2;
constexpr uint32_t kFlagsFirst = kFlagsSecond | DSBCAPS_GLOBALFOCUS;
constexpr int kVoiceAttempts = 100;

// "Interface.Method failed: " and the result code in upper-case hexadecimal.
[[noreturn]] void RaiseFailed(const char* call, HRESULT hr) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed: %X", call, static_cast<unsigned>(hr));
  throw std::runtime_error(text);
}

void ProcessMessagesRounds(GameHost& host, int rounds) {
  for (int i = 0; i < rounds; ++i) host.ProcessMessages();
}

// A sound that cannot be loaded at all ends the program after the desktop
// has been put back.
[[noreturn]] void RestoreAndEnd(WorldState& w, GameHost& host) {
  RestoreDesktop(w);
  host.EndProgram();
}

}  // namespace

IDirectSound* SoundDevice() { return g_soundDevice; }

void OpenSoundDevice(WorldState& w, HWND window) {
  IDirectSound* device = nullptr;
  if (FAILED(DirectSoundCreate(nullptr, &device, nullptr))) {
    g_soundDevice = nullptr;
    w.SoundOff = 1;
    return;
  }
  g_soundDevice = device;
  w.SoundOff = 0;
  const HRESULT hr = device->SetCooperativeLevel(window, DSSCL_EXCLUSIVE);
  if (FAILED(hr)) RaiseFailed("IDirectSound.SetCooperativeLevel", hr);
}

void CloseSoundDevice(WorldState& w) {
  if (w.SoundOff != 1 && g_soundDevice != nullptr) {
    g_soundDevice->Release();
    g_soundDevice = nullptr;
  }
}

void EndSoundDevice(WorldState& w) {
  if (w.SoundOff != 1 && g_soundDevice != nullptr) g_soundDevice->LeaveToExit();
  CloseSoundDevice(w);
}

// ---------------------------------------------------------------------------
// TDSSound

TDSSound::TDSSound(WorldState& w, GameHost& host, const std::string& fileName) : w_(w), host_(host) {
  if (w_.SoundOff == 1) return;
  try {
    Load(fileName);
  } catch (...) {
    // The constructor is left: release the buffer if it was made.
    if (Buffer != nullptr) {
      Buffer->Stop();
      Buffer->Release();
      Buffer = nullptr;
    }
    throw;
  }
}

void TDSSound::Load(const std::string& fileName) {
  // Only a regular file is read (a FIFO or a device counts as missing), and
  // only as much of it as the sound can use.
  const std::optional<std::string> file = ReadRegularFile(fileName, kWaveFileLimit);
  if (!file) RestoreAndEnd(w_, host_);
  const int32_t n = StageWaveFile(*file, WaveBuffer);
  IDirectSound* device = g_soundDevice;
  if (device == nullptr) RestoreAndEnd(w_, host_);

  // Whatever the file's header says, the data is 8-bit mono at 22050 Hz.
  WAVEFORMATEX format;
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = 22050;
  format.nAvgBytesPerSec = 22050;
  format.nBlockAlign = 1;
  format.wBitsPerSample = 8;
  format.cbSize = 0;
  const uint32_t size = static_cast<uint32_t>(n - kWaveHeaderBytes);  // wraps below 100 bytes
  DSBUFFERDESC desc;
  desc.dwSize = 20;
  desc.dwFlags = kFlagsFirst;
  desc.dwBufferBytes = size;
  desc.dwReserved = 0;
  desc.lpwfxFormat = &format;

  HRESULT hr = device->CreateSoundBuffer(&desc, &Buffer, nullptr);
  ProcessMessagesRounds(host_, 5000);
  if (FAILED(hr)) {
    desc.dwFlags = kFlagsSecond;
    hr = device->CreateSoundBuffer(&desc, &Buffer, nullptr);
    if (FAILED(hr)) RaiseFailed("IDirectSound.CreateSoundBuffer", hr);
  }
  ProcessMessagesRounds(host_, 10000);

  void* ptr1 = nullptr;
  void* ptr2 = nullptr;
  uint32_t len1 = 0;
  uint32_t len2 = 0;
  hr = Buffer->Lock(0, size, &ptr1, &len1, &ptr2, &len2, 0);
  if (FAILED(hr)) RaiseFailed("IDirectSoundBuffer.Lock", hr);
  if (len1 != size) RaiseFailed("IDirectSoundBuffer.Lock", 0);
  std::memcpy(ptr1, WaveBuffer + kWaveHeaderBytes, len1);
  Buffer->Unlock(ptr1, len1, ptr2, len2);
}

TDSSound::~TDSSound() {
  if (!destroyed_) Destroy();
}

void TDSSound::Destroy() {
  if (Buffer != nullptr) {
    Stop();  // virtual: a derived object still alive stops its voices
    Buffer->Release();
    Buffer = nullptr;
  }
}

void TDSSound::Play() {
  if (w_.SoundOff == 1 || Buffer == nullptr) return;
  Buffer->Play(0, 0, 0);
}

void TDSSound::Stop() {
  if (Buffer != nullptr) Buffer->Stop();
}

// ---------------------------------------------------------------------------
// TDSPolySound

TDSPolySound::TDSPolySound(WorldState& w, GameHost& host, const std::string& fileName)
    : TDSSound(w, host, fileName) {
  if (w_.SoundOff == 1) return;
  IDirectSound* device = g_soundDevice;
  HRESULT hr = DS_OK;
  for (int v = 1; v <= 10; ++v) {
    for (int attempt = 1; attempt <= kVoiceAttempts; ++attempt) {
      hr = device->DuplicateSoundBuffer(Buffer, &Voices[v]);
      if (SUCCEEDED(hr)) break;
    }
    if (FAILED(hr)) w_.SoundOff = 1;  // all sound off for the rest of the run
  }
  NextVoice = 1;
  if (Voices[10] == nullptr) {
    // The constructor is left with an error: release the voices that were
    // made; the buffer goes with the base part.
    for (int v = 1; v <= 10; ++v) {
      if (Voices[v] != nullptr) {
        Voices[v]->Release();
        Voices[v] = nullptr;
      }
    }
    RaiseFailed("IDirectSound.DuplicateSoundBuffer", hr);
  }
}

TDSPolySound::~TDSPolySound() {
  if (w_.SoundOff != 1) {
    Stop();
    for (int v = 1; v <= 10; ++v) {
      if (Voices[v] != nullptr) {
        Voices[v]->Release();
        Voices[v] = nullptr;
      }
    }
    Destroy();  // dispatches to this class's Stop while the object is whole
  }
  destroyed_ = true;
}

void TDSPolySound::Play() {
  if (w_.SoundOff == 1) return;
  if (w_.PlayPan < -10000) w_.PlayPan = -10000;
  if (w_.PlayPan > 10000) w_.PlayPan = 10000;
  if (NextVoice < 1) NextVoice = 1;
  if (NextVoice > 10) NextVoice = 10;
  IDirectSoundBuffer* voice = Voices[NextVoice];
  if (voice != nullptr) {
    voice->SetPan(w_.PlayPan);
    voice->SetVolume(w_.PlayVolume);
    voice->SetFrequency(static_cast<uint32_t>(w_.PlayFrequency));
    voice->Play(0, 0, 0);
  }
  NextVoice = NextVoice == 10 ? 1 : NextVoice + 1;
  w_.PlayPan = 0;
  w_.PlayVolume = 0;
  w_.PlayFrequency = 0;
}

void TDSPolySound::Stop() {
  if (w_.SoundOff == 1) return;
  for (int v = 1; v <= 10; ++v) {
    if (Voices[v] != nullptr) {
      Voices[v]->Stop();
      Voices[v]->SetCurrentPosition(0);
    }
  }
}
