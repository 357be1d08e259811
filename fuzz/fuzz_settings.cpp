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
  GameSettings g;
  const GameReadResult result =
      ApplyGameSettingsText(text, g, [](const std::string& file) { return file.size() % 2 == 0; });
  Check(g.MaxMeteors >= 1 && g.MaxMeteors <= 100);
  Check(g.Volume >= 0 && g.Volume <= 50);
  Check(Flag(g.SoundOff) && Flag(g.JoystickOn) && Flag(g.AutoResume) && Flag(g.Autopilot) &&
        Flag(g.GameTimeLong));
  Check((result == GameReadResult::NoPath) == g.DataPath.empty());
  Check(g.DataPath.empty() || g.DataPath.back() == '/');

  // Settings window reader.
  SettingsValues v;
  const bool hasPath = ApplyWindowSettingsText(text, v);
  Check(hasPath == !v.DataPath.empty());
  Check(v.TrackBar1 >= 1 && v.TrackBar1 <= 50);
  Check(v.TrackBar2 >= 1 && v.TrackBar2 <= 50);
  const int label = std::stoi(v.Label7);
  Check(label >= 1 && label <= 100 && v.TrackBar1 == (label > 50 ? 50 : label));

  // Save and read back.
  const std::string_view first = FirstSettingsLine(text);
  const std::string saved = SettingsFileText(v, first);
  Check(SplitSettingsLines(saved).size() == 7);
  Check(FirstSettingsLine(saved) == first);
  SettingsValues back;
  ApplyWindowSettingsText(saved, back);
  Check(back.TrackBar1 == v.TrackBar1 && back.TrackBar2 == v.TrackBar2);
  Check(back.Label7 == std::to_string(v.TrackBar1));
  Check((!v.CheckBox1 || back.CheckBox1) && (!v.CheckBox2 || back.CheckBox2) &&
        (!v.CheckBox3 || back.CheckBox3) && (!v.CheckBox4 || back.CheckBox4));
  GameSettings game;
  ApplyGameSettingsText(saved, game, [](const std::string&) { return true; });
  Check(game.MaxMeteors == v.TrackBar1 && game.Volume == v.TrackBar2);
  Check(game.GameTimeLong == (v.CheckBox4 ? 1 : 0));
  Check(v.CheckBox2 || game.Autopilot == 0);
  Check(v.CheckBox3 || game.SoundOff == 1);
  return 0;
}
