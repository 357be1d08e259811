// The sound layer alone: SDL's audio driver chosen before the device opens,
// a device of its own with the output paused (the test mixes by itself, so
// positions are deterministic), a temporary folder, and what a buffer holds.
#pragma once

#include <gtest/gtest.h>
#include <SDL2/SDL.h>
#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "sound/dsound.h"
#include "support/process.h"

class SoundDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDriver("dummy");
    // Without a session bus address, libdbus (which SDL starts with any
    // subsystem) tries X11 autolaunch under Xvfb and leaks a read buffer.
    if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr) {
      testsupport::SetEnvironment("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    }
    dir = testsupport::FreshDir("sound").string();
  }
  void TearDown() override {
    if (device_ != nullptr) {
      EXPECT_EQ(device_->BufferCount(), 0) << "a test left buffers of the device unreleased";
      device_->Release();
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    std::filesystem::remove_all(dir);
  }
  static void UseDriver(const char* name) { testsupport::SetEnvironment("SDL_AUDIODRIVER", name); }
  dx::IDirectSound* OpenPaused() {
    EXPECT_EQ(dx::DirectSoundCreate(nullptr, &device_, nullptr), dx::DS_OK);
    if (device_ != nullptr) device_->PauseOutput(true);
    return device_;
  }
  virtual dx::IDirectSound* Device() { return device_; }
  // Mixes `frames` frames on the test's thread.
  void Render(int frames) {
    std::vector<float> out(static_cast<size_t>(frames) * 2);
    Device()->RenderFrames(out.data(), frames);
  }
  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
  }

  std::string dir;

 private:
  dx::IDirectSound* device_ = nullptr;
};

// The samples a buffer holds, read back through Lock.
inline std::vector<uint8_t> Contents(dx::IDirectSoundBuffer* b) {
  void* p1 = nullptr;
  void* p2 = nullptr;
  uint32_t l1 = 0;
  uint32_t l2 = 0;
  EXPECT_EQ(b->Lock(0, 0, &p1, &l1, &p2, &l2, dx::DSBLOCK_ENTIREBUFFER), dx::DS_OK);
  std::vector<uint8_t> out(static_cast<uint8_t*>(p1), static_cast<uint8_t*>(p1) + l1);
  b->Unlock(p1, l1, p2, l2);
  return out;
}

inline uint32_t Position(dx::IDirectSoundBuffer* b) {
  uint32_t play = 0;
  b->GetCurrentPosition(&play, nullptr);
  return play;
}

inline bool Playing(dx::IDirectSoundBuffer* b) {
  uint32_t status = 0;
  b->GetStatus(&status);
  return (status & dx::DSBSTATUS_PLAYING) != 0;
}
