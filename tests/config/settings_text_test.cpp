// The readers' interpretation of the settings text and the writers' text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/settings_text.h"

namespace {

const char kSetupText[] = "PATH=/opt/zuk\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n";

// Runs the game reader on text; every data folder holds bmp1.bmp unless it
// is listed in missing. Records the files looked for.
struct GameRead {
  Settings g;
  std::vector<std::string> lookedFor;
  GameReadResult result = GameReadResult::Ok;
};

GameRead ReadGame(std::string_view text, std::vector<std::string> missing = {}) {
  GameRead r;
  r.result = ApplyGameSettingsText(text, r.g, [&](const std::string& file) {
    r.lookedFor.push_back(file);
    for (const std::string& m : missing) {
      if (file == m) return false;
    }
    return true;
  });
  return r;
}

WindowSettings ReadWindow(std::string_view text) {
  WindowSettings v;
  ApplyWindowSettingsText(text, v);
  return v;
}

TEST(SettingsLines, EndsAtCrCrLfLoneLfAndCtrlZ) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(SplitSettingsLines("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(SplitSettingsLines("a\nb\n"), (V{"a", "b"}));
  EXPECT_EQ(SplitSettingsLines("a\rb\r"), (V{"a", "b"}));
  EXPECT_EQ(SplitSettingsLines("a\r\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitSettingsLines("a\n\rb"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitSettingsLines("a\r\nb\x1a" "c\r\nd\r\n"), (V{"a", "b"}));
  EXPECT_EQ(SplitSettingsLines("\x1a" "a"), V{});
  EXPECT_EQ(SplitSettingsLines(""), V{});
  EXPECT_EQ(FirstSettingsLine("PATH=/x\nMAX=3"), "PATH=/x");
  EXPECT_EQ(FirstSettingsLine(""), "");
}

TEST(SettingsNumber, DecimalHexSignAndStop) {
  EXPECT_EQ(ConvertSettingNumber("42"), 42);
  EXPECT_EQ(ConvertSettingNumber("+7"), 7);
  EXPECT_EQ(ConvertSettingNumber("-5"), -5);
  EXPECT_EQ(ConvertSettingNumber("1F"), 1);
  EXPECT_EQ(ConvertSettingNumber("7 8"), 7);
  EXPECT_EQ(ConvertSettingNumber("=7"), 0);
  EXPECT_EQ(ConvertSettingNumber(""), 0);
  EXPECT_EQ(ConvertSettingNumber("-"), 0);
  EXPECT_EQ(ConvertSettingNumber("$1F"), 31);
  EXPECT_EQ(ConvertSettingNumber("$ff"), 255);
  EXPECT_EQ(ConvertSettingNumber("x20"), 32);
  EXPECT_EQ(ConvertSettingNumber("X2g"), 2);
  EXPECT_EQ(ConvertSettingNumber("0x9"), 9);
  EXPECT_EQ(ConvertSettingNumber("0XA"), 10);
  EXPECT_EQ(ConvertSettingNumber("0x"), 0);
  EXPECT_EQ(ConvertSettingNumber("$"), 0);
  EXPECT_EQ(ConvertSettingNumber("99999999999"), 2147483647);
  EXPECT_EQ(ConvertSettingNumber("-99999999999"), -2147483647 - 1);
  EXPECT_EQ(ConvertSettingNumber("$FFFFFFFFFF"), 2147483647);
  EXPECT_EQ(SettingValueText("MAX= 7"), "7");
  EXPECT_EQ(SettingValueText("MAX=\t9\x01"), "9");
  EXPECT_EQ(SettingValueText("MAX"), "");
}

TEST(GameReader, SetupFileAndDefaults) {
  GameRead r = ReadGame(kSetupText);
  EXPECT_EQ(r.result, GameReadResult::Ok);
  EXPECT_EQ(r.g.DataPath, "/opt/zuk/");
  EXPECT_EQ(r.lookedFor, std::vector<std::string>{"/opt/zuk/bmp1.bmp"});
  EXPECT_EQ(r.g.MaxMeteors, 10);
  EXPECT_EQ(r.g.Volume, 50);
  EXPECT_EQ(r.g.JoystickOn, 0);
  EXPECT_EQ(r.g.Autopilot, 1);
  EXPECT_EQ(r.g.AutoResume, 1);
  EXPECT_EQ(r.g.SoundOff, 0);
  EXPECT_EQ(r.g.GameTimeLong, 0);

  r = ReadGame("PATH=/d\r\nJOY=ON\r\nAUTO=OFF\r\nSOUND=OFF\r\nGAME_TIME=ON\r\n");
  EXPECT_EQ(r.g.JoystickOn, 1);
  EXPECT_EQ(r.g.Autopilot, 0);
  EXPECT_EQ(r.g.AutoResume, 0);
  EXPECT_EQ(r.g.SoundOff, 1);
  EXPECT_EQ(r.g.GameTimeLong, 1);
  EXPECT_EQ(r.g.MaxMeteors, 20);

  // No AUTO and SOUND lines: autopilot and sound stay on; a SoundOff set
  // before reading (no sound device) is not reset.
  Settings g;
  g.SoundOff = 1;
  EXPECT_EQ(ApplyGameSettingsText("PATH=/d\r\nMAX=10\r\n", g, [](const std::string&) { return true; }),
            GameReadResult::Ok);
  EXPECT_EQ(g.Autopilot, 1);
  EXPECT_EQ(g.AutoResume, 1);
  EXPECT_EQ(g.SoundOff, 1);

  EXPECT_EQ(ReadGame("").result, GameReadResult::NoPath);
  EXPECT_EQ(ReadGame("MAX=10\r\nPATH\r\n").result, GameReadResult::NoPath);
}

TEST(GameReader, MaxAndVolValues) {
  struct Case {
    const char* line;
    int max;
    int vol;
  };
  const Case cases[] = {
      {"MAX=100", 100, 50},  {"MAX=1000", 100, 50}, {"MAX=250", 100, 50}, {"MAX=0", 1, 50},
      {"MAX=", 1, 50},       {"MAX=-5", 1, 50},     {"MAX= 7", 7, 50},    {" MAX=7", 1, 50},
      {"MAX=$1F", 31, 50},   {"MAX=x20", 32, 50},   {"MAX=0x9", 9, 50},   {"MAX=abc", 1, 50},
      {"VOL=", 20, 0},       {"VOL=-5", 20, 0},     {"VOL=99", 20, 50},   {" VOL=30", 20, 0},
      {"VOL=$1A", 20, 26},   {"VOL=0X1", 20, 1},
  };
  for (const Case& c : cases) {
    const GameRead r = ReadGame(std::string("PATH=/d\r\n") + c.line + "\r\n");
    EXPECT_EQ(r.g.MaxMeteors, c.max) << c.line;
    EXPECT_EQ(r.g.Volume, c.vol) << c.line;
  }
  // A later value replaces an earlier one.
  EXPECT_EQ(ReadGame("PATH=/d\r\nMAX=5\r\nMAX=6\r\n").g.MaxMeteors, 6);
}

TEST(GameReader, LaterLinesAndFlags) {
  // Only the last line decides the game time.
  EXPECT_EQ(ReadGame("PATH=/d\r\nGAME_TIME=ON\r\nMAX=10\r\n").g.GameTimeLong, 0);
  EXPECT_EQ(ReadGame("PATH=/d\r\nGAME_TIME=ON\r\n\r\n").g.GameTimeLong, 0);
  EXPECT_EQ(ReadGame("PATH=/d\r\nGAME_TIME=ON").g.GameTimeLong, 1);
  // JOY=ON is never cleared again.
  EXPECT_EQ(ReadGame("PATH=/d\r\nJOY=OFF\r\nJOY=ON\r\nJOY=OFF\r\n").g.JoystickOn, 1);
  // The key is found anywhere in the line.
  EXPECT_EQ(ReadGame("PATH=/d\r\n#JOY=ON#\r\n").g.JoystickOn, 1);
}

TEST(GameReader, TwoPathLinesAndMissingData) {
  GameRead r = ReadGame("PATH=/a\r\nMAX=5\r\nPATH=/b\r\n");
  EXPECT_EQ(r.result, GameReadResult::Ok);
  EXPECT_EQ(r.lookedFor, (std::vector<std::string>{"/a/bmp1.bmp", "/b/bmp1.bmp"}));
  EXPECT_EQ(r.g.DataPath, "/b/");

  // The first folder lacks the data: reading stops at that line.
  r = ReadGame("PATH=/a\r\nMAX=5\r\nPATH=/b\r\n", {"/a/bmp1.bmp"});
  EXPECT_EQ(r.result, GameReadResult::DataMissing);
  EXPECT_EQ(r.lookedFor, std::vector<std::string>{"/a/bmp1.bmp"});
  EXPECT_EQ(r.g.DataPath, "/a/");
  EXPECT_EQ(r.g.MaxMeteors, 20);

  r = ReadGame("PATH=/a\r\nPATH=/b\r\nMAX=5\r\n", {"/b/bmp1.bmp"});
  EXPECT_EQ(r.result, GameReadResult::DataMissing);
  EXPECT_EQ(r.lookedFor.size(), 2u);
}

TEST(GameReader, LineEndsAndLongPath) {
  for (const char* text : {"PATH=/opt/zuk\nMAX=33\nJOY=ON\nVOL=7\nAUTO=OFF\nSOUND=OFF\n",
                           "PATH=/opt/zuk\rMAX=33\rJOY=ON\rVOL=7\rAUTO=OFF\rSOUND=OFF\r"}) {
    const GameRead r = ReadGame(text);
    EXPECT_EQ(r.g.DataPath, "/opt/zuk/");
    EXPECT_EQ(r.g.MaxMeteors, 33);
    EXPECT_EQ(r.g.Volume, 7);
    EXPECT_EQ(r.g.JoystickOn, 1);
    EXPECT_EQ(r.g.Autopilot, 0);
    EXPECT_EQ(r.g.SoundOff, 1);
  }
  const GameRead z = ReadGame("PATH=/d\r\nMAX=30\r\n\x1aMAX=40\r\nJOY=ON\r\n");
  EXPECT_EQ(z.g.MaxMeteors, 30);
  EXPECT_EQ(z.g.JoystickOn, 0);

  const std::string path = "/" + std::string(299, 'p');
  const GameRead l = ReadGame("PATH=" + path + "\r\nMAX=10\r\n");
  EXPECT_EQ(l.g.DataPath, path + "/");
  EXPECT_EQ(l.lookedFor, std::vector<std::string>{path + "/bmp1.bmp"});
}

// Once MAX or VOL has been taken, the line's later tests see only the
// value's text.
TEST(GameReader, TestsAfterValueSeeOnlyValueText) {
  GameRead r = ReadGame("PATH=/d\r\nMAX=5 GAME_TIME=ON");
  EXPECT_EQ(r.g.MaxMeteors, 5);
  EXPECT_EQ(r.g.GameTimeLong, 0);
  r = ReadGame("PATH=/d\r\nVOL=9 AUTO=OFF SOUND=OFF\r\n");
  EXPECT_EQ(r.g.Volume, 9);
  EXPECT_EQ(r.g.Autopilot, 1);
  EXPECT_EQ(r.g.SoundOff, 0);
  r = ReadGame("PATH=/d\r\nMAX=5VOL=9\r\n");
  EXPECT_EQ(r.g.MaxMeteors, 5);
  EXPECT_EQ(r.g.Volume, 50);
  // MAX is tested before VOL: its value comes from "3 M", and VOL is gone.
  r = ReadGame("PATH=/d\r\nVOL=3 MAX=5\r\n");
  EXPECT_EQ(r.g.MaxMeteors, 3);
  EXPECT_EQ(r.g.Volume, 50);
  // Tests before MAX still see the whole line.
  r = ReadGame("PATH=/d\r\nJOY=ON MAX=5\r\n");
  EXPECT_EQ(r.g.JoystickOn, 1);
  EXPECT_EQ(r.g.MaxMeteors, 1);  // characters 5..7 are "ON "
  r = ReadGame("PATH=/d\r\nAUTO=OFF VOL=4\r\n");
  EXPECT_EQ(r.g.Autopilot, 1);
  EXPECT_EQ(r.g.Volume, 0);  // characters 5..7 are "=OF"
}

TEST(WindowReader, SetupFileAndBoxes) {
  WindowSettings v = ReadWindow(kSetupText);
  EXPECT_EQ(v.DataPath, "/opt/zuk/");
  EXPECT_EQ(v.MaxMeteors, 10);
  EXPECT_EQ(v.MaxMeteorsText, "10");
  EXPECT_EQ(v.Volume, 50);
  EXPECT_FALSE(v.Joystick);
  EXPECT_TRUE(v.Autopilot);
  EXPECT_TRUE(v.Sound);
  EXPECT_FALSE(v.LongGame);

  // Boxes are only ever checked, never cleared.
  v = ReadWindow("PATH=/d\r\nJOY=ON\r\nJOY=OFF\r\nGAME_TIME=ON\r\nMAX=10\r\nAUTO=OFF\r\n");
  EXPECT_TRUE(v.Joystick);
  EXPECT_TRUE(v.LongGame);
  EXPECT_FALSE(v.Autopilot);

  // No AUTO and SOUND lines: both boxes unchecked.
  v = ReadWindow("PATH=/d\r\nMAX=10\r\n");
  EXPECT_FALSE(v.Autopilot);
  EXPECT_FALSE(v.Sound);

  WindowSettings none;
  EXPECT_FALSE(ApplyWindowSettingsText("MAX=10\r\n", none));
  EXPECT_TRUE(ApplyWindowSettingsText("PATH=\r\n", none));
  EXPECT_EQ(none.DataPath, "/");
}

TEST(WindowReader, TrackBarsAndLabel) {
  struct Case {
    const char* line;
    int bar1;
    const char* label;
    int bar2;
  };
  const Case cases[] = {
      {"MAX=80", 50, "80", 50}, {"MAX=1000", 50, "100", 50}, {"MAX=0", 1, "1", 50},
      {"MAX=", 1, "1", 50},     {" MAX=7", 1, "1", 50},      {"MAX=$1F", 31, "31", 50},
      {"VOL=", 10, "10", 1},    {"VOL=0", 10, "10", 1},      {"VOL=99", 10, "10", 50},
      {"VOL=x1E", 10, "10", 30},
  };
  for (const Case& c : cases) {
    const WindowSettings v = ReadWindow(std::string("PATH=/d\r\n") + c.line + "\r\n");
    EXPECT_EQ(v.MaxMeteors, c.bar1) << c.line;
    EXPECT_EQ(v.MaxMeteorsText, c.label) << c.line;
    EXPECT_EQ(v.Volume, c.bar2) << c.line;
  }
}

TEST(WindowReader, OrderAndValueTextRule) {
  // GAME_TIME is tested before MAX here, so the box is checked; the game
  // leaves the time off for a further line.
  WindowSettings v = ReadWindow("PATH=/d\r\nGAME_TIME=ON\r\nMAX=10\r\n");
  EXPECT_TRUE(v.LongGame);
  v = ReadWindow("PATH=/d\r\nGAME_TIME=ON MAX=5\r\n");
  EXPECT_TRUE(v.LongGame);
  EXPECT_EQ(v.MaxMeteors, 1);  // characters 5..7 are "_TI"
  v = ReadWindow("PATH=/d\r\nMAX=5 VOL=9\r\n");
  EXPECT_EQ(v.MaxMeteors, 5);
  EXPECT_EQ(v.Volume, 50);
  v = ReadWindow("PATH=/d\r\nVOL=3 MAX=5\r\n");
  EXPECT_EQ(v.MaxMeteors, 3);
  EXPECT_EQ(v.Volume, 50);
  v = ReadWindow("PATH=/d\nVOL=30\nMAX=40\n");
  EXPECT_EQ(v.MaxMeteors, 40);
  EXPECT_EQ(v.Volume, 30);
}

TEST(SettingsWriterText, ExactBytes) {
  const std::string setup = SetupFileText("/home/u/zuk");
  EXPECT_EQ(setup, "PATH=/home/u/zuk\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n");
  EXPECT_EQ(setup.size(), 51u + 11u);

  const WindowSettings fromSetup = ReadWindow(setup);
  const std::string saved = SettingsFileText(fromSetup, FirstSettingsLine(setup));
  EXPECT_EQ(saved,
            "PATH=/home/u/zuk\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\nGAME_TIME=OFF\r\n");
  EXPECT_EQ(saved.size(), 61u + 16u);

  // No AUTO and SOUND lines: the next save writes both as OFF.
  const WindowSettings bare = ReadWindow("PATH=/d\r\nMAX=80\r\nJOY=ON\r\nGAME_TIME=ON\r\n");
  EXPECT_EQ(SettingsFileText(bare, "PATH=/d"),
            "PATH=/d\r\nMAX=50\r\nJOY=ON\r\nVOL=50\r\nAUTO=OFF\r\nSOUND=OFF\r\nGAME_TIME=ON\r\n");

  // A 300-character first line is carried over whole.
  const std::string longLine = "PATH=/" + std::string(294, 'q');
  ASSERT_EQ(longLine.size(), 300u);
  const std::string longSaved = SettingsFileText(fromSetup, FirstSettingsLine(longLine + "\r\nMAX=3\r\n"));
  EXPECT_EQ(longSaved.substr(0, 302), longLine + "\r\n");
  EXPECT_EQ(longSaved.size(), 61u + 300u);
}

TEST(SettingsWriterText, FirstLineIsCarriedOverWhateverItHolds) {
  // The first line is not the PATH line: the save keeps it and loses the
  // PATH line, and afterwards neither reader finds a PATH.
  const std::string text = "MAX=40\r\nPATH=/d\r\nVOL=20\r\n";
  const WindowSettings v = ReadWindow(text);
  EXPECT_EQ(v.DataPath, "/d/");
  const std::string saved = SettingsFileText(v, FirstSettingsLine(text));
  EXPECT_EQ(saved, "MAX=40\r\nMAX=40\r\nJOY=OFF\r\nVOL=20\r\nAUTO=OFF\r\nSOUND=OFF\r\nGAME_TIME=OFF\r\n");
  WindowSettings again;
  EXPECT_FALSE(ApplyWindowSettingsText(saved, again));
  EXPECT_EQ(ReadGame(saved).result, GameReadResult::NoPath);

  // No old file: an empty first line.
  EXPECT_EQ(SettingsFileText(WindowSettings{}, FirstSettingsLine("")),
            "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=OFF\r\nSOUND=OFF\r\nGAME_TIME=OFF\r\n");
}

}  // namespace
