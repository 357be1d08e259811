// Shared set-up of the game's sound tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "sound/dsound.h"
#include "game/sound_effects.h"
#include "game/world_state.h"
#include "sim/headless_host.h"
#include "support/sound_device_fixture.h"

// The game's device on the layer's set-up: a fresh world whose device is
// opened and closed as the game does, released whatever the test left behind.
class SoundTest : public SoundDeviceTest {
 protected:
  void SetUp() override {
    SoundDeviceTest::SetUp();
    w = std::make_unique<WorldState>();
  }
  void TearDown() override {
    if (SoundDevice() != nullptr) {
      w->SoundOff = 0;
      CloseSoundDevice(*w);
    }
    EXPECT_EQ(SoundDevice(), nullptr) << "a test left buffers of the device unreleased";
    SoundDeviceTest::TearDown();
  }
  dx::IDirectSound* OpenPaused() {
    OpenSoundDevice(*w, &host);
    if (SoundDevice() != nullptr) SoundDevice()->PauseOutput(true);
    return SoundDevice();
  }
  dx::IDirectSound* Device() override { return SoundDevice(); }

  HeadlessHost host;
  std::unique_ptr<WorldState> w;
};

// A file of `size` bytes whose byte i is (i * 7 + 3) & 0xFF.
inline std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}
