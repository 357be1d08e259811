// Fuzzes the settings readers on arbitrary file contents and checks what
// must hold for any input: values inside their ranges, and a file written by
// the settings writer reading back as the values it was written from.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "config/settings_text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool Flag(int32_t v) { return v == 0 || v == 1; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  (void)ConvertSettingNumber(text);

  // Game reader; a data folder counts as present when its path's length is even.
  Settings g;
  const GameReadResult result =
      ApplyGameSettingsText(text, g, [](const std::string& file) { return file.size() % 2 == 0; });
  Check(g.MaxMeteors >= 1 && g.MaxMeteors <= 100);
  Check(g.Volume >= 0 && g.Volume <= 50);
  Check(Flag(g.SoundOff) && Flag(g.JoystickOn) && Flag(g.AutoResume) && Flag(g.Autopilot) &&
        Flag(g.GameTimeLong));
  Check((result == GameReadResult::NoPath) == g.DataPath.empty());
  Check(g.DataPath.empty() || g.DataPath.back() == '/');

  // Settings window reader.
  WindowSettings v;
  const bool hasPath = ApplyWindowSettingsText(text, v);
  Check(hasPath == !v.DataPath.empty());
  Check(v.MaxMeteors >= 1 && v.MaxMeteors <= 50);
  Check(v.Volume >= 1 && v.Volume <= 50);
  const int label = std::stoi(v.MaxMeteorsText);
  Check(label >= 1 && label <= 100 && v.MaxMeteors == (label > 50 ? 50 : label));

  // Save and read back.
  const std::string_view first = FirstSettingsLine(text);
  const std::string saved = SettingsFileText(v, first);
  Check(SplitSettingsLines(saved).size() == 7);
  Check(FirstSettingsLine(saved) == first);
  WindowSettings back;
  ApplyWindowSettingsText(saved, back);
  Check(back.MaxMeteors == v.MaxMeteors && back.Volume == v.Volume);
  Check(back.MaxMeteorsText == std::to_string(v.MaxMeteors));
  Check((!v.Joystick || back.Joystick) && (!v.Autopilot || back.Autopilot) &&
        (!v.Sound || back.Sound) && (!v.LongGame || back.LongGame));
  Settings game;
  ApplyGameSettingsText(saved, game, [](const std::string&) { return true; });
  Check(game.MaxMeteors == v.MaxMeteors && game.Volume == v.Volume);
  Check(game.GameTimeLong == (v.LongGame ? 1 : 0));
  Check(v.Autopilot || game.Autopilot == 0);
  Check(v.Sound || game.SoundOff == 1);
  return 0;
}
