// The game window's start: settings, data-file check, fatal errors, and the
// hand-over to the game run, on a headless window with a fake platform.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "shell/application.h"
#include "game/sound_effects.h"
#include "sim/sim.h"
#include "game/input.h"
#include "ui/game_window.h"
#include "game/world_state.h"
#include "support/process.h"
#include "video/presenter.h"

namespace fs = std::filesystem;

namespace {

// Ends the run once the given frame has been shown.
class QuitAfter : public MessageSource {
 public:
  QuitAfter(GameWindow& form, int32_t frames) : form_(form), frames_(frames) {}
  void Pump() override {
    ++pumps;
    if (form_.w.FrameNo >= frames_) form_.w.QuitRequested = true;
  }
  int pumps = 0;

 private:
  GameWindow& form_;
  int32_t frames_;
};

struct GameWindowFixture : ::testing::Test {
  Application app;
  FakePlatform platform;
  std::unique_ptr<WorldState> w = std::make_unique<WorldState>();
  std::vector<std::string> boxes;
  fs::path dir;
  fs::path data;

  void SetUp() override {
    dir = testsupport::FreshDir("game_window");
    data = dir / "install";
    fs::create_directories(data);
    fs::create_directories(dir / "win");
    setenv("ZUK_RER1_WINDIR", (dir / "win").c_str(), 1);
    app.Windowed = false;
    app.Title = "zuk_rer1";
    app.MessageBoxHook = [this](const std::string&, const std::string& text, int) { boxes.push_back(text); };
    SetApp(&app);
    SetPlatform(&platform);
    SetPresenterFactory([] { return MakeNullPresenter(); });
    w->SoundOff = 1;  // no sound device in tests
  }
  void TearDown() override {
    SetPresenterFactory(nullptr);
    SetPlatform(nullptr);
    SetApp(nullptr);
    unsetenv("ZUK_RER1_WINDIR");
    fs::remove_all(dir);
  }
  void WriteSettings(const std::string& text) {
    std::ofstream(dir / "win" / "ZUK_RER1.CNF", std::ios::binary) << text;
  }
  std::string PathLine() const { return "PATH=" + data.string() + "\r\n"; }
};

TEST_F(GameWindowFixture, MissingSettingsFileIsFatal) {
  GameWindow form(*w, true);
  EXPECT_THROW(form.FormCreate(), ProgramEndSignal);
  EXPECT_EQ(boxes, (std::vector<std::string>{"設定ファイルがありません"}));
  EXPECT_EQ(World().ErrorText, "設定ファイルがありません");
  EXPECT_FALSE(fs::exists(data / "score.dat"));
}

TEST_F(GameWindowFixture, MissingDataFilesEndTheMessageLoopWithoutStarting) {
  WriteSettings(PathLine() + "MAX=30\r\n");
  GameWindow form(*w, true);
  form.FormCreate();  // returns: the start-up is abandoned
  EXPECT_EQ(platform.Beeps, 1);
  EXPECT_EQ(boxes, (std::vector<std::string>{
                       "データファイルが削除されています。再度、解凍＆セットアップして下さい。"}));
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(w->FireSound, nullptr);
  EXPECT_EQ(w->BlastSound, nullptr);
  // Reading stopped at the PATH line.
  EXPECT_EQ(w->MaxMeteors, 20);
  // Nothing was loaded, so nothing is written back.
  form.FormDestroy();
  EXPECT_FALSE(fs::exists(data / "score.dat"));
}

TEST_F(GameWindowFixture, ValidInstallationRunsTheGameAndEnds) {
  ASSERT_TRUE(WriteBlankData(data.string() + "/"));
  WriteSettings(PathLine() + "MAX=7\r\nJOY=OFF\r\nVOL=10\r\nAUTO=OFF\r\nSOUND=ON\r\n");
  GameWindow form(*w, true);
  QuitAfter quit(form, 5);
  app.AddSource(&quit);
  EXPECT_THROW(form.FormCreate(), ProgramEndSignal);
  app.RemoveSource(&quit);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(w->MaxMeteors, 7);
  EXPECT_EQ(w->Volume, 10);
  EXPECT_EQ(w->PlayVolume, 10 * 50 - 3000);
  EXPECT_EQ(w->Autopilot, 0);
  EXPECT_EQ(w->AutoResume, 0);
  EXPECT_EQ(w->FrameNo, 5);
  // The start-up and activation rounds ran before the game.
  EXPECT_GE(quit.pumps, 11000);
  // The run created the high-score file with 102 zero bytes.
  ASSERT_TRUE(fs::exists(data / "score.dat"));
  EXPECT_EQ(fs::file_size(data / "score.dat"), 102u);
  // The effects exist (silent: sound is off) and the display was released.
  EXPECT_NE(w->FireSound, nullptr);
  EXPECT_NE(w->BlastSound, nullptr);
  EXPECT_EQ(w->Video.DDraw, nullptr);
  delete w->FireSound;
  delete w->BlastSound;
  w->FireSound = w->BlastSound = nullptr;
  // The stars are the same in every run: the first star from state 0.
  WorldState fresh;
  EXPECT_EQ(w->StarX[0], fresh.Random(640));
  // Star 1 moves one row in every even frame: frames 2 and 4 of the five.
  EXPECT_EQ(w->StarY[0], fresh.Random(480) + 2);
}

TEST_F(GameWindowFixture, KeysDuringStartUpDoNotEndTheRun) {
  ASSERT_TRUE(WriteBlankData(data.string() + "/"));
  WriteSettings(PathLine());
  GameWindow form(*w, true);
  // A key during the start-up rounds sets QuitRequested, which the run
  // clears before its first frame.
  struct EarlyKey : MessageSource {
    GameWindow* f;
    bool sent = false;
    void Pump() override {
      if (!sent) {
        sent = true;
        HandleKeyDown(f->w, 65);  // 'A' would end the screen saver during the game
      }
    }
  } early;
  early.f = &form;
  QuitAfter quit(form, 3);
  app.AddSource(&early);
  app.AddSource(&quit);
  EXPECT_THROW(form.FormCreate(), ProgramEndSignal);
  app.RemoveSource(&early);
  app.RemoveSource(&quit);
  EXPECT_EQ(w->FrameNo, 3);
  delete w->FireSound;
  delete w->BlastSound;
  w->FireSound = w->BlastSound = nullptr;
}

}  // namespace

namespace {

TEST_F(GameWindowFixture, AFailedStartLeavesAWayOut) {
  WriteSettings(PathLine());
  ASSERT_TRUE(WriteBlankData(data.string() + "/"));
  GameWindow form(*w, true);
  app.MainForm = &form;
  // During the start-up a quitting key does not close anything.
  HandleKeyDown(*w, 27);
  form.EndIfStranded();
  EXPECT_FALSE(app.Terminated());
  // A start-up that ended without the game (here: data deleted after the
  // check) leaves the window; the quitting key now ends the message loop.
  fs::remove(data / "bmp1.bmp");
  form.FormCreate();
  Application after;
  after.Windowed = false;
  SetApp(&after);
  after.MainForm = &form;
  w->QuitRequested = false;
  HandleKeyDown(*w, 84);  // T: a game key, no end
  form.EndIfStranded();
  EXPECT_FALSE(after.Terminated());
  HandleClick(*w);
  form.EndIfStranded();
  EXPECT_TRUE(after.Terminated());
  EXPECT_FALSE(form.Visible());
  after.MainForm = nullptr;
  SetApp(&app);
  app.MainForm = nullptr;
}

}  // namespace
