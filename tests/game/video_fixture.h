// Shared set-up of the display tests: a fresh world, a temporary data
// folder with a palette file, a host that records fatal errors and a
// presenter that keeps every presented picture.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "game/world_state.h"
#include "video/ddraw.h"
#include "game/screen.h"
#include "video/draw.h"
#include "video/presenter.h"
#include "game/data_files.h"
#include "video/picture_convert.h"
#include "sim/headless_host.h"

// Keeps every picture it is shown, as 32-bit colours.
struct Recorded {
  int opens = 0;
  int closes = 0;
  std::string title;
  std::vector<std::vector<uint32_t>> frames;
};

class RecordingPresenter : public Presenter {
 public:
  explicit RecordingPresenter(Recorded* r, bool openOk = true) : r_(r), openOk_(openOk) {}
  bool Open(const std::string& title) override {
    r_->opens++;
    r_->title = title;
    return openOk_;
  }
  void Present(const uint8_t* pixels, int32_t pitch, const uint32_t* argb) override {
    std::vector<uint32_t> f(640 * 480);
    ConvertToArgb(pixels, pitch, argb, f.data(), 640 * 4);
    r_->frames.push_back(std::move(f));
  }
  void Close() override { r_->closes++; }

 private:
  Recorded* r_;
  bool openOk_;
};

// Writes a palette file; entry i gets the bytes given by fn(i) in file order
// (red, blue, green).
inline void WritePaletteFile(const std::filesystem::path& p, size_t bytes = 768) {
  std::vector<uint8_t> b(bytes);
  for (size_t i = 0; i < bytes; ++i) b[i] = static_cast<uint8_t>((i * 7 + 3) & 0xFF);
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()),
                                           static_cast<std::streamsize>(b.size()));
}

class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    world_ = std::make_unique<WorldState>();
    dir_ = std::filesystem::temp_directory_path() /
           ("zuk_video_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    w().DataPath = dir_.string() + "/";
    w().SoundOff = 1;
    WritePaletteFile(dir_ / "pal256.pal");
    SetPictureTitle("Zuk_rer1");
    SetPresenterFactory([this] { return std::make_unique<RecordingPresenter>(&rec_); });
  }
  void TearDown() override {
    ReleaseDevices(w());
    SetPresenterFactory(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  WorldState& w() { return *world_; }
  DisplayDevice& d() { return world_->Video; }

  // Opens the display headless with the clip set to the whole screen.
  void OpenFull() {
    OpenDisplay(w(), host_);
    SetClipRect(d(), 0, 0, 639, 479);
  }
  uint8_t Px(int32_t x, int32_t y) const { return world_->Video.BackSurface->At(x, y); }
  // Number of back-buffer pixels holding v.
  int Count(uint8_t v) const {
    int n = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) n += Px(x, y) == v;
    return n;
  }
  // Fills a sheet with a pattern that tells every column and row apart.
  void PatternSheet(int sheet) {
    dx::IDirectDrawSurface* s = d().Sheet(sheet);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) s->Pixels()[y * s->Pitch() + x] = Pattern(x, y);
  }
  static uint8_t Pattern(int x, int y) { return static_cast<uint8_t>(1 + (x * 3 + y * 5) % 255); }

  std::unique_ptr<WorldState> world_;
  std::filesystem::path dir_;
  HeadlessHost host_;
  std::vector<std::string>& boxes_ = host_.FatalErrors;  // the fatal errors reported
  Recorded rec_;
};
