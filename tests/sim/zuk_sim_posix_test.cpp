// The headless runner as a program: arguments, scripted input, JSON and PNG.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/process.h"

namespace {

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Number of entries of the JSON array `name`.
int ArrayLength(const std::string& json, const std::string& name) {
  const auto at = json.find("\"" + name + "\": [");
  if (at == std::string::npos) return -1;
  const auto open = json.find('[', at);
  const auto close = json.find(']', open);
  const std::string body = json.substr(open + 1, close - open - 1);
  if (body.empty()) return 0;
  int n = 1;
  for (char c : body) n += c == ',';
  return n;
}

bool Has(const std::string& json, const std::string& name, long long value) {
  return json.find("\"" + name + "\": " + std::to_string(value) + ",") != std::string::npos ||
         json.find("\"" + name + "\": " + std::to_string(value) + "\n") != std::string::npos;
}

TEST(ZukSim, RunsScriptedFramesAndWritesStateAndPictures) {
  const auto dir = testsupport::FreshDir("zuksim");
  std::ofstream(dir / "input.txt") << "# free flight, then Escape\n"
                                      "5 keydown 39\n"
                                      "9 keyup 39\n"
                                      "150 keydown 27\n";
  int code = -1;
  const std::string out = testsupport::Shell(
      testsupport::BuiltProgram("zuk-sim") + " --frames 300 --max 5 --auto off --game-time on" +
          " --input " + (dir / "input.txt").string() + " --json " + (dir / "state.json").string() +
          " --png 10=" + (dir / "f10.png").string() + " 2>&1",
      &code);
  ASSERT_EQ(code, 0) << out;
  const std::string json = ReadAll(dir / "state.json");
  EXPECT_TRUE(Has(json, "FrameNo", 150)) << json.substr(0, 400);  // ended by Escape
  EXPECT_TRUE(Has(json, "QuitRequested", 1));
  EXPECT_TRUE(Has(json, "MaxMeteors", 5));
  EXPECT_TRUE(Has(json, "GameTimeLong", 1));
  EXPECT_TRUE(Has(json, "Autopilot", 0));
  EXPECT_TRUE(Has(json, "ShipX", 280 + 4 * 10));  // frames 6 to 9 moved right
  EXPECT_TRUE(Has(json, "ScrollY", 150));
  EXPECT_NE(json.find("\"RandomState\": "), std::string::npos);
  EXPECT_EQ(ArrayLength(json, "MeteorX"), 5);
  EXPECT_EQ(ArrayLength(json, "MeteorBlast"), 5);
  EXPECT_EQ(ArrayLength(json, "ShotOn"), 15);
  EXPECT_EQ(ArrayLength(json, "ParticleLife"), 200);
  EXPECT_EQ(ArrayLength(json, "StarColor"), 200);
  EXPECT_EQ(ArrayLength(json, "HiScoreTable"), 51);
  const std::string png = ReadAll(dir / "f10.png");
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  std::filesystem::remove_all(dir);
}

TEST(ZukSim, RejectsBadArgumentsAndScripts) {
  const auto dir = testsupport::FreshDir("zuksim_bad");
  std::ofstream(dir / "bad.txt") << "3 wiggle\n";
  const std::string sim = testsupport::BuiltProgram("zuk-sim");
  int code = -1;
  testsupport::Shell(sim + " 2>/dev/null", &code);
  EXPECT_EQ(code, 2);
  testsupport::Shell(sim + " --frames 10 --auto maybe 2>/dev/null", &code);
  EXPECT_EQ(code, 2);
  testsupport::Shell(sim + " --frames 10 --max 101 2>/dev/null", &code);
  EXPECT_EQ(code, 2);
  testsupport::Shell(sim + " --frames 10 --input " + (dir / "bad.txt").string() + " 2>/dev/null",
                     &code);
  EXPECT_EQ(code, 1);
  std::filesystem::remove_all(dir);
}

// A run reads nothing of the user's: a record in the per-user folder changes
// no line of the state (the run's own data folder aside).
TEST(ZukSim, TheUsersRecordsChangeNothing) {
  const auto dir = testsupport::FreshDir("zuksim_home");
  std::filesystem::create_directories(dir / "data" / "zuk_rer1");
  std::ofstream(dir / "data" / "zuk_rer1" / "score.dat", std::ios::binary) << std::string(102, '\x7f');
  auto run = [&dir](const std::string& data) {
    testsupport::Shell("env -u ZUK_RER1_WINDIR HOME=" + dir.string() + " XDG_DATA_HOME=" + data + " " +
                       testsupport::BuiltProgram("zuk-sim") + " --frames 20 --max 20 --json " +
                       (dir / "state.json").string());
    std::string json = ReadAll(dir / "state.json");
    const size_t line = json.find("\"DataPath\"");
    return line == std::string::npos ? json : json.erase(line, json.find('\n', line) - line);
  };
  const std::string planted = run((dir / "data").string());
  EXPECT_EQ(ArrayLength(planted, "HiScoreTable"), 51);
  EXPECT_EQ(planted, run((dir / "empty").string()));
  std::filesystem::remove_all(dir);
}

}  // namespace
