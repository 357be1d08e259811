// The two sound effects: a wave file loaded into a static buffer, played
// through ten voices that share its samples.
#pragma once

#include <cstdint>
#include <string>

#include "sound/dsound.h"

class GameHost;
struct WorldState;

class TDSSound {
 public:
  // Loads the wave file unless sound is off (SoundOff = 1). A file that
  // can't be read ends the program through the host, the desktop restored.
  TDSSound(WorldState& w, GameHost& host, const std::string& fileName);
  virtual ~TDSSound();
  virtual void Play();
  virtual void Stop();

  dx::IDirectSoundBuffer* Buffer = nullptr;

 protected:
  WorldState& w_;
  GameHost& host_;
  void Destroy();  // the base destructor's work, run through the virtual Stop
  // Set once a derived destructor has done (or, with sound off, skipped) the
  // destruction work, so that the base destructor does not repeat it.
  bool destroyed_ = false;

 private:
  void Load(const std::string& fileName);
};

class TDSPolySound : public TDSSound {
 public:
  TDSPolySound(WorldState& w, GameHost& host, const std::string& fileName);
  ~TDSPolySound() override;
  void Play() override;
  void Stop() override;

  dx::IDirectSoundBuffer* Voices[11] = {};  // voices 1..10
  uint32_t NextVoice = 1;
};

// The device, opened before the game window is made (SoundOff = 1 without one)
// for the program's top-level window, and released at program end.
void OpenSoundDevice(WorldState& w, dx::HWND window);
void CloseSoundDevice(WorldState& w);
// CloseSoundDevice for the program's last moments: silent at once, without
// waiting for the audio thread, which the process's exit ends.
void EndSoundDevice(WorldState& w);
dx::IDirectSound* SoundDevice();
