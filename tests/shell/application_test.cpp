#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "shell/application.h"
#include "shell/form.h"
#include "shell/ui_scale.h"

namespace {

std::vector<std::string> g_log;

class LoggingForm : public Form {
 public:
  explicit LoggingForm(std::string name, bool failCreate = false)
      : name_(std::move(name)), failCreate_(failCreate) {}
  void FormCreate() override {
    g_log.push_back("create " + name_);
    if (failCreate_) throw std::runtime_error("IDirectSound.CreateSoundBuffer failed: 88780096");
    g_log.push_back("created " + name_);
  }
  void FormDestroy() override { g_log.push_back("destroy " + name_); }
  void FormActivate() override { g_log.push_back("activate " + name_); }
  void FormHide() override { g_log.push_back("hide " + name_); }

 private:
  std::string name_;
  bool failCreate_;
};

class CountingSource : public MessageSource {
 public:
  int pumps = 0;
  void Pump() override { ++pumps; }
};

struct AppFixture : ::testing::Test {
  Application app;
  std::vector<std::pair<std::string, int>> boxes;
  void SetUp() override {
    g_log.clear();
    app.Windowed = false;
    app.Title = "zuk_rer1";
    app.MessageBoxHook = [this](const std::string& caption, const std::string& text, int kind) {
      boxes.emplace_back(caption + "|" + text, kind);
    };
    SetApp(&app);
  }
  void TearDown() override { SetApp(nullptr); }
};

TEST_F(AppFixture, FormsAreCreatedInOrderAndDestroyedNewestFirst) {
  LoggingForm* a = nullptr;
  LoggingForm* b = nullptr;
  App().CreateForm(a, "error");
  EXPECT_NE(a, nullptr);
  App().CreateForm(b, "game");
  EXPECT_EQ(g_log, (std::vector<std::string>{"create error", "created error", "create game", "created game"}));
  g_log.clear();
  App().DestroyForms();
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy game", "destroy error"}));
  // The references are cleared with their forms.
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(b, nullptr);
}

TEST_F(AppFixture, AnErrorInTheCreationHandlerIsReportedAndTheFormStays) {
  LoggingForm* f = nullptr;
  App().CreateForm(f, "game", true);
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, "zuk_rer1|IDirectSound.CreateSoundBuffer failed: 88780096.");
  EXPECT_EQ(boxes[0].second, 1);  // the stop icon
  EXPECT_EQ(g_log, (std::vector<std::string>{"create game"}));
  App().DestroyForms();
}

TEST_F(AppFixture, ProgramEndIsNotCaughtByTheGeneralErrorHandler) {
  EXPECT_THROW(App().RunHandler([] { ProgramEnd(); }), ProgramEndSignal);
  App().RunHandler([] { throw std::runtime_error("x"); });
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, "zuk_rer1|x.");
}

TEST_F(AppFixture, ProcessMessagesPumpsEverySourceOnce) {
  CountingSource s1, s2;
  App().AddSource(&s1);
  App().AddSource(&s2);
  App().AddSource(&s1);  // no duplicates
  App().ProcessMessages();
  App().ProcessMessages();
  EXPECT_EQ(s1.pumps, 2);
  EXPECT_EQ(s2.pumps, 2);
  App().RemoveSource(&s1);
  App().ProcessMessages();
  EXPECT_EQ(s1.pumps, 2);
  EXPECT_EQ(s2.pumps, 3);
  App().RemoveSource(&s2);
}

TEST_F(AppFixture, MessageLoopReturnsAtOnceWithoutMainWindowOrAfterTerminate) {
  App().Run();  // no main form
  LoggingForm* f = nullptr;
  App().CreateForm(f, "setup");
  App().MainForm = f;
  App().Terminate();
  App().Run();
  EXPECT_TRUE(App().Terminated());
  App().DestroyForms();
  EXPECT_EQ(App().MainForm, nullptr);
}

TEST_F(AppFixture, ClosingTheMainFormEndsTheMessageLoop) {
  LoggingForm* f = nullptr;
  App().CreateForm(f, "settings");
  App().MainForm = f;
  CountingSource closer;
  struct Closer : MessageSource {
    Form* form;
    int rounds = 0;
    void Pump() override {
      if (++rounds == 3) form->Close();
    }
  } c;
  c.form = f;
  App().AddSource(&c);
  App().Run();
  App().RemoveSource(&c);
  EXPECT_GE(c.rounds, 3);
  EXPECT_TRUE(App().Terminated());
  EXPECT_EQ(g_log, (std::vector<std::string>{"create settings", "created settings", "activate settings",
                                             "hide settings"}));
  App().DestroyForms();
}

TEST_F(AppFixture, MessageBoxIsCaptionedWithTheTitle) {
  App().Title = "ＺＵＫスクリーンセーバーＮｏ．１";
  App().MessageBox("　★セットアップ完了。");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, "ＺＵＫスクリーンセーバーＮｏ．１|　★セットアップ完了。");
  EXPECT_EQ(boxes[0].second, 0);
}

}  // namespace

namespace {

// GDK_SCALE gives a whole factor from 1 to 4, and nothing else.
TEST(UiScale, GdkScaleGivesOnlyAWholeFactorFromOneToFour) {
  const std::pair<const char*, int> cases[] = {
      {nullptr, 0}, {"", 0},    {"1", 1},   {"2", 2},    {"4", 4},   {"5", 0},    {"0", 0},
      {"-2", 0},    {"1.5", 0}, {"2x", 0},  {"junk", 0}, {"1e1", 0}, {"99999999999999999999", 0}};
  for (const auto& [text, factor] : cases) {
    EXPECT_EQ(FactorFromGdkScale(text), factor) << (text != nullptr ? text : "none");
  }
}

}  // namespace
