// Shared set-up of the sound tests: SDL's audio driver chosen before the
// device opens, a fresh world, a temporary folder for wave files, and a
// clean-up that releases the device whatever the test left behind.
#pragma once

#include <gtest/gtest.h>
#include <SDL2/SDL.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "sound/dsound.h"
#include "game/sound_effects.h"
#include "game/world_state.h"
#include "sim/headless_host.h"
#include "support/sound_device_fixture.h"

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDriver("dummy");
    // Without a session bus address, libdbus (which SDL starts with any
    // subsystem) tries X11 autolaunch under Xvfb and leaks a read buffer.
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    w = std::make_unique<WorldState>();
    char pattern[] = "/tmp/zuk_sound_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }

  void TearDown() override {
    if (SoundDevice() != nullptr) {
      w->SoundOff = 0;
      CloseSoundDevice(*w);
    }
    EXPECT_EQ(SoundDevice(), nullptr) << "a test left buffers of the device unreleased";
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    std::filesystem::remove_all(dir);
  }

  static void UseDriver(const char* name) { setenv("SDL_AUDIODRIVER", name, 1); }

  // Opens the device with SDL's audio thread paused, so that the test mixes
  // by itself (RenderFrames) and positions are deterministic.
  dx::IDirectSound* OpenPaused() {
    OpenSoundDevice(*w, &host);
    if (SoundDevice() != nullptr) SoundDevice()->PauseOutput(true);
    return SoundDevice();
  }

  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  HeadlessHost host;
  std::unique_ptr<WorldState> w;
  std::string dir;
};

// Mixes `frames` frames on the test's thread.
inline void Render(int frames) {
  std::vector<float> out(static_cast<size_t>(frames) * 2);
  SoundDevice()->RenderFrames(out.data(), frames);
}

// A file of `size` bytes whose byte i is (i * 7 + 3) & 0xFF.
inline std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  return bytes;
}
