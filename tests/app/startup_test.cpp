#include <gtest/gtest.h>

#include "shell/application.h"
#include "app/startup.h"

namespace {

using Action = StartupPlan::Action;

TEST(CommandLine, FirstParameterFollowsTheWindowsSplittingRule) {
  EXPECT_EQ(FirstParameter(""), "");
  EXPECT_EQ(FirstParameter("   "), "");
  EXPECT_EQ(FirstParameter("/s"), "/s");
  EXPECT_EQ(FirstParameter("  /c:1234 more"), "/c:1234");
  EXPECT_EQ(FirstParameter("\t/p 1234"), "/p");
  // Quotes group blanks into one parameter and are dropped.
  EXPECT_EQ(FirstParameter("\"/c a\" b"), "/c a");
  EXPECT_EQ(FirstParameter("\"\"/a"), "/a");
  EXPECT_EQ(FirstParameter("x\"y z\"w next"), "xy zw");
  // Control characters separate like blanks.
  EXPECT_EQ(FirstParameter("\x01/c\x02rest"), "/c");
}

TEST(CommandLine, SwitchTextIsTheFirstTwoCharacters) {
  EXPECT_EQ(SwitchText("/c:1234"), "/c");
  EXPECT_EQ(SwitchText("/"), "/");
  EXPECT_EQ(SwitchText(""), "");
  EXPECT_EQ(SwitchText("-pfoo"), "-p");
  // Arguments the shell kept together stay one parameter: an empty first
  // argument is an empty first parameter, a blank stays inside its argument.
  const char* argv[] = {"prog", "", "/c", "x y"};
  EXPECT_EQ(CommandTail(4, argv), "\"\" /c \"x y\"");
  EXPECT_EQ(SwitchText(CommandTail(4, argv)), "");
  const char* padded[] = {"prog", " /c"};
  EXPECT_EQ(SwitchText(CommandTail(2, padded)), " /");
  const char* plain[] = {"prog", "/c:1234", "more"};
  EXPECT_EQ(SwitchText(CommandTail(3, plain)), "/c");
  const char* quoted[] = {"prog", "\"/c\""};  // literal quotes are dropped
  EXPECT_EQ(SwitchText(CommandTail(2, quoted)), "/c");
}

struct ModeRow {
  const char* tail;
  const char* path;
  Action action;
  std::vector<FormKind> forms;
};

TEST(ModeDispatch, EveryRowOfTheModeTable) {
  const std::string scr = "/home/u/.local/share/zuk_rer1/zuk_rer1.scr";
  const std::string exe = "/home/u/dist/ZUK_RER1/ZUK_RER1.EXE";
  const std::string other = "/usr/bin/zuk";
  const std::vector<ModeRow> rows = {
      // settings: the switch wins over the name
      {"/c", scr.c_str(), Action::RunLoop, {FormKind::Settings, FormKind::Readme}},
      {"-c", exe.c_str(), Action::RunLoop, {FormKind::Settings, FormKind::Readme}},
      {"/c:1234", scr.c_str(), Action::RunLoop, {FormKind::Settings, FormKind::Readme}},
      {"/c", other.c_str(), Action::RunLoop, {FormKind::Settings, FormKind::Readme}},
      // preview and password
      {"/p 1234", scr.c_str(), Action::EndSilently, {}},
      {"-p", exe.c_str(), Action::EndSilently, {}},
      {"/a", exe.c_str(), Action::PasswordBox, {}},
      {"-a 77", scr.c_str(), Action::PasswordBox, {}},
      // the name decides: screen saver in any letter case, also for "/C" and "/s"
      {"/s", scr.c_str(), Action::RunLoop, {FormKind::Error, FormKind::Game}},
      {"", scr.c_str(), Action::RunLoop, {FormKind::Error, FormKind::Game}},
      {"/C:99", scr.c_str(), Action::RunLoop, {FormKind::Error, FormKind::Game}},
      {"", "/x/Zuk_Rer1.Scr", Action::RunLoop, {FormKind::Error, FormKind::Game}},
      {"", exe.c_str(), Action::RunLoop, {FormKind::Setup, FormKind::Readme}},
      {"/s", "/x/zuk_rer1.exe", Action::RunLoop, {FormKind::Setup, FormKind::Readme}},
      // neither name: nothing
      {"", other.c_str(), Action::EndSilently, {}},
      {"/s", "/x/zuk_rer2.scr", Action::EndSilently, {}},
      // both names: both sets, screen saver first
      {"",
       "/x/ZUK_RER1.EXE/zuk_rer1.scr",
       Action::RunLoop,
       {FormKind::Error, FormKind::Game, FormKind::Setup, FormKind::Readme}},
  };
  for (const ModeRow& row : rows) {
    const StartupPlan plan = PlanStartup(row.tail, row.path);
    EXPECT_EQ(plan.action, row.action) << row.tail << " " << row.path;
    EXPECT_EQ(plan.forms, row.forms) << row.tail << " " << row.path;
  }
}

// A daemon's window: XSCREENSAVER_WINDOW in decimal or 0x hexadecimal, the
// parameters "-window-id ID", or "-root" / "--root" without the variable.
// Only the screen saver runs in it, without the error window and the marker.
TEST(ModeDispatch, ADaemonsWindowTakesTheScreenSaverInside) {
  const auto from = [](std::vector<std::string> args, const char* var) { return DaemonWindowFrom(args, var); };
  EXPECT_FALSE(from({"/s"}, nullptr).given);
  EXPECT_EQ(from({}, "4194305").id, 4194305u);
  EXPECT_EQ(from({"-root"}, "0x400001").id, 0x400001u);  // the variable's window, not the root
  EXPECT_EQ(from({"-window-id", "0x1A"}, "77").id, 0x1Au);
  EXPECT_TRUE(from({"--root"}, nullptr).root);
  EXPECT_TRUE(from({"-root"}, "").root);
  // Anything else that names a window is refused, never taken as no window.
  for (const char* bad : {"0", "12ab", "0x", "-5", "0x12345678901234567", "99999999999999999999"}) {
    EXPECT_NE(from({}, bad).problem, "") << bad;
    EXPECT_NE(from({"-window-id", bad}, nullptr).problem, "") << bad;
  }
  EXPECT_NE(from({"-window-id"}, nullptr).problem, "");
  EXPECT_EQ(PlanStartup("/s", "/x/zuk_rer1.scr", from({}, "junk")).action, Action::RefuseWindow);
  EXPECT_EQ(PlanStartup("/c", "/x/zuk_rer1.scr", from({}, "junk")).action, Action::RunLoop);
  DaemonWindow daemon;
  daemon.given = true;
  daemon.id = 77;
  const StartupPlan saver = PlanStartup("", "/usr/libexec/xscreensaver/zuk_rer1.scr", daemon);
  EXPECT_EQ(saver.forms, std::vector<FormKind>{FormKind::DaemonGame});
  EXPECT_TRUE(saver.inDaemonWindow);
  // The switches and the other roles are as without the window.
  EXPECT_EQ(PlanStartup("/c", "/x/zuk_rer1.scr", daemon).forms,
            (std::vector<FormKind>{FormKind::Settings, FormKind::Readme}));
  EXPECT_FALSE(PlanStartup("", "/x/ZUK_RER1.EXE", daemon).inDaemonWindow);
}

// Windows' own command line: the program's name (quoted or not) is not a
// parameter; "/p HWND" draws into that window silently, "/c:HWND" names the
// settings window's owner, in both the colon and the blank form.
TEST(ModeDispatch, WindowsCommandLinesAndTheirWindows) {
  EXPECT_EQ(CommandTailOf("\"C:\\Program Files\\zuk_rer1.scr\" /p 66"), " /p 66");
  EXPECT_EQ(CommandTailOf("C:\\WINDOWS\\ZUK_RER1.SCR /s"), " /s");
  EXPECT_EQ(CommandTailOf("zuk_rer1.scr"), "");
  for (const char* tail : {"/p 4660", "/p:4660", " \"/p\" 0x1234"}) {
    const DaemonWindow preview = PreviewWindowFrom(tail);
    EXPECT_EQ(preview.id, 4660u) << tail;
    EXPECT_TRUE(preview.preview && preview.sound == std::optional<bool>(false)) << tail;
    const StartupPlan plan = PlanStartup(tail, "C:\\WINDOWS\\zuk_rer1.scr", preview);
    EXPECT_EQ(plan.forms, std::vector<FormKind>{FormKind::DaemonGame}) << tail;
    EXPECT_TRUE(plan.inDaemonWindow) << tail;
  }
  EXPECT_EQ(PlanStartup("/p", "x.scr", PreviewWindowFrom("/p")).action, Action::EndSilently);
  EXPECT_EQ(PlanStartup("/p x", "x.scr", PreviewWindowFrom("/p x")).action, Action::RefuseWindow);
  EXPECT_EQ(OwnerWindowFrom("/c:1234"), 1234u);
  EXPECT_EQ(OwnerWindowFrom("/c 1234"), 1234u);
  EXPECT_EQ(OwnerWindowFrom("/c"), 0u);
}

TEST(ApplicationTitle, DerivedFromTheProgramFileName) {
  EXPECT_EQ(Application::TitleFromFileName("/a/b/ZUK_RER1.EXE"), "Zuk_rer1");
  EXPECT_EQ(Application::TitleFromFileName("/a/b/zuk_rer1.scr"), "zuk_rer1");
  EXPECT_EQ(Application::TitleFromFileName("Game.Tar.Gz"), "Game");
  EXPECT_EQ(Application::TitleFromFileName("/a.b/NOEXT"), "Noext");
}

TEST(GeneralErrorHandler, AddsAFullStopAfterCharactersAboveIt) {
  EXPECT_EQ(Application::ErrorMessageText("ファイル a.txt は開けません"), "ファイル a.txt は開けません.");
  EXPECT_EQ(Application::ErrorMessageText("failed: 80004005"), "failed: 80004005.");
  EXPECT_EQ(Application::ErrorMessageText("done."), "done.");
  EXPECT_EQ(Application::ErrorMessageText("what?"), "what?.");
  EXPECT_EQ(Application::ErrorMessageText("a-"), "a-");
  EXPECT_EQ(Application::ErrorMessageText(""), "");
}

}  // namespace
