// The generated sounds, readme and splash picture, and the generator's
// determinism.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "ui/splash.h"
#include "data/data_test_util.h"

using namespace datatest;

namespace {

struct Wave {
  std::string error;
  int format = 0, channels = 0, rate = 0, byteRate = 0, align = 0, bits = 0;
  size_t dataOffset = 0, dataSize = 0;
};

// Walks the RIFF chunks as a standard WAVE reader does.
Wave ParseWave(const std::vector<uint8_t>& b) {
  Wave w;
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
    w.error = "not RIFF WAVE";
    return w;
  }
  if (Le32(b, 4) + 8 != b.size()) w.error = "RIFF size does not match the file";
  bool fmt = false;
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const uint32_t size = Le32(b, at + 4);
    if (at + 8 + size > b.size()) {
      w.error = "chunk runs past the end";
      return w;
    }
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
      fmt = true;
      w.format = static_cast<int>(Le16(b, at + 8));
      w.channels = static_cast<int>(Le16(b, at + 10));
      w.rate = static_cast<int>(Le32(b, at + 12));
      w.byteRate = static_cast<int>(Le32(b, at + 16));
      w.align = static_cast<int>(Le16(b, at + 20));
      w.bits = static_cast<int>(Le16(b, at + 22));
    } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
      if (!fmt) w.error = "data before fmt";
      w.dataOffset = at + 8;
      w.dataSize = size;
    }
    at += 8 + size + (size & 1);
  }
  if (at != b.size() && w.error.empty()) w.error = "trailing bytes after the last chunk";
  if (!fmt || w.dataOffset == 0) w.error = "fmt or data chunk missing";
  return w;
}

TEST(DataSounds, AreStandardWaveFilesWithSamplesAtByte100) {
  struct Expect {
    const char* name;
    double minSeconds, maxSeconds;
  };
  for (const Expect& e : {Expect{"fire.wav", 0.25, 0.35}, Expect{"dokan.wav", 0.9, 1.1}}) {
    const std::vector<uint8_t> b = ReadFile(DataDir() + "/" + e.name);
    const Wave w = ParseWave(b);
    ASSERT_TRUE(w.error.empty()) << e.name << ": " << w.error;
    EXPECT_EQ(w.format, 1) << e.name;
    EXPECT_EQ(w.channels, 1) << e.name;
    EXPECT_EQ(w.rate, 22050) << e.name;
    EXPECT_EQ(w.byteRate, 22050) << e.name;
    EXPECT_EQ(w.align, 1) << e.name;
    EXPECT_EQ(w.bits, 8) << e.name;
    EXPECT_EQ(w.dataOffset, 100u) << e.name;
    const double seconds = static_cast<double>(w.dataSize) / 22050.0;
    EXPECT_GE(seconds, e.minSeconds) << e.name;
    EXPECT_LE(seconds, e.maxSeconds) << e.name;
    ASSERT_GE(w.dataSize, 10u);
    // The last ten samples are silence, and the sound is loud near its start.
    for (size_t i = w.dataSize - 10; i < w.dataSize; ++i) EXPECT_EQ(b[100 + i], 128) << e.name;
    int peak = 0;
    for (size_t i = 0; i < w.dataSize / 4; ++i) peak = std::max(peak, std::abs(static_cast<int>(b[100 + i]) - 128));
    EXPECT_GT(peak, 60) << e.name;
    // It fades out: the last tenth is much quieter than the first quarter.
    int tail = 0;
    for (size_t i = w.dataSize * 9 / 10; i < w.dataSize; ++i) tail = std::max(tail, std::abs(static_cast<int>(b[100 + i]) - 128));
    EXPECT_LT(tail, peak / 2) << e.name;
  }
}

bool ValidUtf8(const std::vector<uint8_t>& b) {
  for (size_t i = 0; i < b.size();) {
    const uint8_t c = b[i];
    const int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + static_cast<size_t>(extra) >= b.size()) return false;
    for (int k = 1; k <= extra; ++k)
      if ((b[i + static_cast<size_t>(k)] & 0xC0) != 0x80) return false;
    i += static_cast<size_t>(extra) + 1;
  }
  return true;
}

// Both readmes, whichever system they are made for: UTF-8 with CR LF line
// ends, and what every user needs: setup, the keys, the settings window's
// names for its controls, the files and the closing words.
TEST(DataReadme, AreUtf8WithCrLfAndTellWhatTheUserNeeds) {
  struct Readme {
    const char* name;
    std::vector<const char*> needles;
  };
  const Readme readmes[] = {
      {"readme.txt",
       {"ZUK_RER1.EXE", "セットアップ開始", "スクリーンセーバーとして使う", "スペース", "Ｇ", "Ｔ", "Ｅｓｃ",
        "矢印キー", "テンキー", "隕石の数の最高数", "効果音", "自動操縦", "ゲーム時間の延長", "設定完了",
        "ZUK_RER1.CNF", "zuk_rer1.scr", "score.dat", "フリーソフト", "無保証"}},
      {"readme_en.txt",
       {"ZUK_RER1.EXE", "\"Start Setup\"", "Using it as a screen saver", "Space", "G key", "T key", "Esc",
        "Arrow keys", "keypad", "Maximum number of meteors", "Sound effect volume", "Play sound effects.",
        "Start on autopilot", "Use a joystick", "Longer game time", "\"Save Settings\"", "ZUK_RER1.CNF",
        "zuk_rer1.scr", "score.dat", "free software", "no warranty"}}};
  for (const Readme& r : readmes) {
    const std::vector<uint8_t> b = ReadFile(DataDir() + "/" + r.name);
    ASSERT_FALSE(b.empty()) << r.name;
    EXPECT_TRUE(ValidUtf8(b)) << r.name;
    EXPECT_EQ(std::count(b.begin(), b.end(), 0), 0) << r.name;
    for (size_t i = 0; i < b.size(); ++i) {
      if (b[i] == '\n') {
        EXPECT_TRUE(i > 0 && b[i - 1] == '\r') << r.name << ": bare LF at " << i;
      }
      if (b[i] == '\r') {
        EXPECT_TRUE(i + 1 < b.size() && b[i + 1] == '\n') << r.name << ": bare CR at " << i;
      }
    }
    EXPECT_EQ(b.back(), '\n') << r.name;
    ExpectReadmeTells(DataDir(), r.name, r.needles, {});
  }
}

TEST(DataSplash, IsA198x132PictureBuiltIntoTheProgram) {
  const Picture p = LoadBmp(DataDir() + "/splash.bmp");
  ASSERT_TRUE(p.error.empty()) << p.error;
  EXPECT_EQ(p.width, 198);
  EXPECT_EQ(p.height, 132);
  EXPECT_EQ(p.table.size(), 256u);
  // Mostly drawn, with many colours (a picture, not a flat fill).
  std::vector<int> used(256, 0);
  for (uint8_t v : p.px) used[v] = 1;
  EXPECT_GT(std::count(used.begin(), used.end(), 1), 60);
  const std::vector<uint8_t> file = ReadFile(DataDir() + "/splash.bmp");
  ASSERT_EQ(kSplashBmpSize, file.size());
  EXPECT_EQ(std::memcmp(kSplashBmp, file.data(), file.size()), 0);
}

}  // namespace
