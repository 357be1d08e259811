#include "config/settings_text.h"

#include <algorithm>
#include <limits>

#include "platform/file_system.h"

namespace {

constexpr char kCtrlZ = 26;

bool Contains(std::string_view line, std::string_view key) {
  return line.find(key) != std::string_view::npos;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Takes the MAX/VOL value of the current text and replaces the text by the
// value's own text: the line's remaining key tests see only that.
int32_t TakeValue(std::string_view& text) {
  text = SettingValueText(text);
  return ConvertSettingNumber(text);
}

}  // namespace

std::vector<std::string_view> SplitSettingsLines(std::string_view text) {
  const size_t end = std::min(text.find(kCtrlZ), text.size());
  text = text.substr(0, end);
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t i = start;
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    lines.push_back(text.substr(start, i - start));
    if (i < text.size() && text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  return lines;
}

std::string_view FirstSettingsLine(std::string_view text) {
  const std::vector<std::string_view> lines = SplitSettingsLines(text);
  return lines.empty() ? std::string_view() : lines.front();
}

std::string_view TrimSettingText(std::string_view s) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

int32_t ConvertSettingNumber(std::string_view s) {
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  size_t i = 0;
  int base = 10;
  bool negative = false;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    base = 16;
    i += 2;
  } else if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  int64_t value = 0;
  for (; i < s.size(); ++i) {
    const int d = HexDigit(s[i]);
    if (d < 0 || d >= base) break;
    value = std::min(value * base + d, kLimit);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(
      std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

std::string_view SettingValueText(std::string_view line) {
  if (line.size() <= 4) return {};
  return TrimSettingText(line.substr(4, 3));
}

std::string_view SettingPathValue(std::string_view line) {
  if (line.size() <= 5) return {};
  return line.substr(5);
}

GameReadResult ApplyGameSettingsText(std::string_view text, Settings& g,
                                     const std::function<bool(const std::string&)>& dataFileExists) {
  for (std::string_view line : SplitSettingsLines(text)) {
    if (Contains(line, "PATH=")) {
      g.DataPath = PathFromStoredText(SettingPathValue(line)) + '/';
      if (!dataFileExists(g.DataPath + "bmp1.bmp")) return GameReadResult::DataMissing;
    }
    if (Contains(line, "JOY=ON")) g.JoystickOn = 1;
    if (Contains(line, "MAX=")) g.MaxMeteors = std::clamp(TakeValue(line), 1, 100);
    if (Contains(line, "VOL=")) g.Volume = std::clamp(TakeValue(line), 0, 50);
    if (Contains(line, "AUTO=OFF")) {
      g.Autopilot = 0;
      g.AutoResume = 0;
    }
    if (Contains(line, "SOUND=OFF")) g.SoundOff = 1;
    g.GameTimeLong = Contains(line, "GAME_TIME=ON") ? 1 : 0;
  }
  return g.DataPath.empty() ? GameReadResult::NoPath : GameReadResult::Ok;
}

bool ApplyWindowSettingsText(std::string_view text, WindowSettings& v) {
  for (std::string_view line : SplitSettingsLines(text)) {
    if (Contains(line, "PATH=")) v.DataPath = PathFromStoredText(SettingPathValue(line)) + '/';
    if (Contains(line, "JOY=ON")) v.Joystick = true;
    if (Contains(line, "AUTO=ON")) v.Autopilot = true;
    if (Contains(line, "SOUND=ON")) v.Sound = true;
    if (Contains(line, "GAME_TIME=ON")) v.LongGame = true;
    if (Contains(line, "MAX=")) {
      const int32_t max = std::clamp(TakeValue(line), 1, 100);
      v.MaxMeteors = std::clamp(max, 1, 50);  // the track bar's range
      v.MaxMeteorsText = std::to_string(max);
    }
    if (Contains(line, "VOL=")) {
      const int32_t vol = std::clamp(TakeValue(line), 0, 50);
      v.Volume = std::clamp(vol, 1, 50);  // the track bar's range
    }
  }
  return !v.DataPath.empty();
}

std::string SetupFileText(std::string_view currentDir) {
  std::string text = "PATH=";
  text += currentDir;
  text += "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n";
  return text;
}

std::string SettingsFileText(const WindowSettings& v, std::string_view firstLine) {
  auto onOff = [](bool on) { return on ? "ON\r\n" : "OFF\r\n"; };
  // The track bars hold their positions within 1..50.
  std::string text(firstLine);
  text += "\r\nMAX=" + std::to_string(std::clamp(v.MaxMeteors, 1, 50)) + "\r\n";
  text += std::string("JOY=") + onOff(v.Joystick);
  text += "VOL=" + std::to_string(std::clamp(v.Volume, 1, 50)) + "\r\n";
  text += std::string("AUTO=") + onOff(v.Autopilot);
  text += std::string("SOUND=") + onOff(v.Sound);
  text += std::string("GAME_TIME=") + onOff(v.LongGame);
  return text;
}
