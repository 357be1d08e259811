// The settings window, created and driven as the program does it: the
// settings file is read at creation, the controls are worked with keys,
// mouse events and clicks, and saving rewrites the file.
#include <gtest/gtest.h>
// (first: Xlib, pulled in by FLTK, defines macros such as None and Bool)
#include <FL/Fl_Button.H>
#include <FL/x.H>
#include <FL/Fl_Check_Button.H>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "config/settings.h"
#include "game/world_state.h"
#include "ui/ui_controls.h"
#include "ui/ui_fixture.h"
#include "ui/settings_window.h"
#include "ui/readme_window.h"

using namespace uitest;

namespace {

const char kSetupFile[] = "PATH=/opt/zuk\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n";

class SettingsWindowTest : public UiTest {
 protected:
  void Open() {
    app.CreateForm(SettingsForm);
    app.CreateForm(ReadmeForm);
    app.MainForm = SettingsForm;
  }
  // Clicks "設定完了": saving ends the program.
  void Save() { EXPECT_THROW(SettingsForm->SaveButton->do_callback(), ProgramEndSignal); }
};

TEST_F(SettingsWindowTest, OpensOnTheSetupFileAndSavesItAsSevenLines) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  ASSERT_EQ(ReadBytes(SettingsFile()), kSetupFile);
  Open();
  ASSERT_NE(SettingsForm, nullptr);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 10);
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), "10");
  EXPECT_EQ(SettingsForm->VolumeBar->Position(), 50);
  EXPECT_EQ(SettingsForm->SoundBox->value(), 1);  // sound
  EXPECT_EQ(SettingsForm->AutopilotBox->value(), 1);  // autopilot
  EXPECT_EQ(SettingsForm->JoystickBox->value(), 0);  // joystick
  EXPECT_EQ(SettingsForm->LongGameBox->value(), 0);  // game time
  EXPECT_EQ(SettingsForm->DataPath, "/opt/zuk/");
  EXPECT_EQ(World().DataPath, "/opt/zuk/");
  EXPECT_TRUE(boxes.empty());

  SettingsForm->Show();
  Settle();
  Save();
  EXPECT_FALSE(SettingsForm->SaveButton->active());
  EXPECT_EQ(ReadBytes(SettingsFile()),
            "PATH=/opt/zuk\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\nGAME_TIME=OFF\r\n");
  EXPECT_TRUE(boxes.empty());  // no confirmation
}

TEST_F(SettingsWindowTest, MaxAboveTheTrackBarShowsTheFileValueAndSavesTheBarValue) {
  WriteBytes(SettingsFile(), "PATH=/opt/zuk\r\nMAX=80\r\nJOY=ON\r\nVOL=7\r\nAUTO=OFF\r\nSOUND=OFF\r\nGAME_TIME=ON\r\n");
  Open();
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 50);
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), "80");
  EXPECT_EQ(SettingsForm->VolumeBar->Position(), 7);
  EXPECT_EQ(SettingsForm->JoystickBox->value(), 1);
  EXPECT_EQ(SettingsForm->AutopilotBox->value(), 0);
  EXPECT_EQ(SettingsForm->SoundBox->value(), 0);
  EXPECT_EQ(SettingsForm->LongGameBox->value(), 1);
  Save();
  EXPECT_EQ(ReadBytes(SettingsFile()),
            "PATH=/opt/zuk\r\nMAX=50\r\nJOY=ON\r\nVOL=7\r\nAUTO=OFF\r\nSOUND=OFF\r\nGAME_TIME=ON\r\n");
}

TEST_F(SettingsWindowTest, TrackBarKeysMoveByFiveAndTheLabelFollows) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  Open();
  SettingsForm->Show();
  Settle();
  Fl_Window* w = SettingsForm->Window();
  ASSERT_TRUE(SettingsForm->MeteorCountBar->take_focus());
  EXPECT_EQ(PressKey(w, FL_Right), 1);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 15);
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), "15");
  PressKey(w, FL_Down);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 20);
  PressKey(w, FL_Left);
  PressKey(w, FL_Up);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 10);
  PressKey(w, FL_Page_Down);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 15);
  PressKey(w, FL_Page_Up);
  PressKey(w, FL_Page_Up);
  PressKey(w, FL_Page_Up);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 1);  // held at the low end
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), "1");
  PressKey(w, FL_End);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 50);
  PressKey(w, FL_Right);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 50);
  PressKey(w, FL_Home);
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 1);

  // Tab goes on to the volume track bar, whose keys leave the meteor count label alone.
  PressKey(w, FL_Tab);
  EXPECT_EQ(Fl::focus(), SettingsForm->VolumeBar);
  PressKey(w, FL_Left);
  EXPECT_EQ(SettingsForm->VolumeBar->Position(), 45);
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), "1");
}

TEST_F(SettingsWindowTest, ClicksBesideTheThumbPageAndDraggingUpdatesTheLabel) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  Open();
  SettingsForm->Show();
  Settle();
  TrackBar* bar = SettingsForm->MeteorCountBar;
  auto mouse = [bar](int event, int x, int y) {
    Fl::e_x = x;
    Fl::e_y = y;
    Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
    return bar->handle(event);
  };
  const int thumbY = bar->y() + 8;
  // Right of the thumb: one page up to 15, held down it repeats towards the
  // pointer and stops under it.
  const int target = bar->ThumbCenter(33);
  mouse(FL_PUSH, target, thumbY);
  EXPECT_EQ(bar->Position(), 15);
  for (int i = 0; i < 150 && bar->Position() < 30; ++i) Fl::wait(0.01);
  Settle(300);
  EXPECT_GE(bar->Position(), 30);
  EXPECT_LE(bar->Position(), 35);
  mouse(FL_RELEASE, target, thumbY);
  const int stopped = bar->Position();
  Settle(300);
  EXPECT_EQ(bar->Position(), stopped);
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), std::to_string(stopped));

  // Left of the thumb: one page down.
  mouse(FL_PUSH, bar->ThumbCenter(1), thumbY);
  mouse(FL_RELEASE, bar->ThumbCenter(1), thumbY);
  EXPECT_EQ(bar->Position(), stopped - 5);

  // Dragging: every position on the way shows in the meteor count label.
  bar->SetPosition(10);
  mouse(FL_PUSH, bar->ThumbCenter(10), thumbY);
  EXPECT_TRUE(bar->Dragging());
  for (int p = 11; p <= 23; ++p) {
    mouse(FL_DRAG, bar->ThumbCenter(p), thumbY + 40);
    EXPECT_EQ(bar->Position(), p);
    EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), std::to_string(p));
  }
  mouse(FL_DRAG, bar->x() + bar->w() + 100, thumbY);
  EXPECT_EQ(bar->Position(), 50);
  mouse(FL_RELEASE, bar->x() + bar->w() + 100, thumbY);
  EXPECT_FALSE(bar->Dragging());
  Save();
  EXPECT_NE(ReadBytes(SettingsFile()).find("\r\nMAX=50\r\n"), std::string::npos);
}

TEST_F(SettingsWindowTest, WithoutAPathLineTheProgramEndsBeforeShowingTheWindow) {
  WriteBytes(SettingsFile(), "MAX=10\nVOL=50\r\n");
  EXPECT_THROW(app.CreateForm(SettingsForm), ProgramEndSignal);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "設定ファイルがありません");
  EXPECT_EQ(boxes[0].caption, "Zuk_rer1");
  EXPECT_FALSE(SettingsForm->Visible());

  std::filesystem::remove(SettingsFile());
  boxes.clear();
  SettingsWindow* second = nullptr;
  EXPECT_THROW(app.CreateForm(second), ProgramEndSignal);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, "設定ファイルがありません");
}

TEST_F(SettingsWindowTest, AFailedSaveIsReportedAndTheWindowStaysWithTheUsersValues) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  Open();
  SettingsForm->Show();
  Settle();
  SettingsForm->MeteorCountBar->SetPosition(35);
  SettingsForm->LongGameBox->value(1);
  // The system folder becomes unusable: a path through a plain file.
  WriteBytes(dir / "plain", "x");
  const std::string badDir = (dir / "plain" / "windir").string();
  ::setenv("ZUK_RER1_WINDIR", badDir.c_str(), 1);

  EXPECT_NO_THROW(SettingsForm->SaveButton->do_callback());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].text.find(badDir + "/ZUK_RER1.CNF"), std::string::npos) << boxes[0].text;
  EXPECT_NE(boxes[0].text.find(std::strerror(ENOTDIR)), std::string::npos) << boxes[0].text;
  EXPECT_TRUE(SettingsForm->Visible());
  EXPECT_TRUE(SettingsForm->SaveButton->active());
  EXPECT_EQ(SettingsForm->MeteorCountBar->Position(), 35);
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), "35");
  EXPECT_EQ(SettingsForm->LongGameBox->value(), 1);
  EXPECT_EQ(ReadBytes(SettingsFile()), kSetupFile);

  // Once the folder is back, the same click saves.
  ::setenv("ZUK_RER1_WINDIR", windir.c_str(), 1);
  Save();
  EXPECT_EQ(ReadBytes(SettingsFile()),
            "PATH=/opt/zuk\r\nMAX=35\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\nGAME_TIME=ON\r\n");
}

TEST_F(SettingsWindowTest, TheCloseBoxEndsWithoutWritingAndHidesTheReadme) {
  const std::string install = (dir / "install").string();
  std::filesystem::create_directories(install);
  WriteBytes(dir / "install" / "readme.txt", "first\nsecond\n");
  ASSERT_TRUE(WriteSetupFile(install));
  Open();
  SettingsForm->Show();
  Settle();
  SettingsForm->ReadmeButton->do_callback();
  EXPECT_TRUE(ReadmeForm->Visible());
  EXPECT_EQ(ReadmeForm->DisplayedText(), "first\nsecond");
  SettingsForm->MeteorCountBar->SetPosition(40);

  SettingsForm->Window()->do_callback();  // the close box
  EXPECT_FALSE(SettingsForm->Visible());
  EXPECT_FALSE(ReadmeForm->Visible());
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(ReadBytes(SettingsFile()), "PATH=" + install + "\r\nMAX=10\r\nJOY=OFF\r\nVOL=50\r\nAUTO=ON\r\nSOUND=ON\r\n");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsWindowTest, AMissingReadmeIsReportedByTheGeneralErrorHandler) {
  ASSERT_TRUE(WriteSetupFile((dir / "nowhere").string()));
  Open();
  SettingsForm->Show();
  Settle();
  SettingsForm->ReadmeButton->do_callback();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].kind, 1);  // stop icon
  EXPECT_EQ(boxes[0].text, "ファイル " + (dir / "nowhere").string() + "/readme.txt は開けません.");
  EXPECT_FALSE(ReadmeForm->Visible());
  EXPECT_TRUE(SettingsForm->Visible());
  EXPECT_TRUE(SettingsForm->SaveButton->active());
}

TEST_F(SettingsWindowTest, TabOrderAndShapesBehindTheButton) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  Open();
  Fl_Window* w = SettingsForm->Window();
  // The grey backdrop is drawn before (behind) the save button.
  EXPECT_LT(w->find(SettingsForm->ButtonFrame), w->find(SettingsForm->SaveButton));
  SettingsForm->Show();
  Settle();
  const std::vector<Fl_Widget*> order = {SettingsForm->MeteorCountBar, SettingsForm->VolumeBar, SettingsForm->SoundBox,
                                         SettingsForm->AutopilotBox, SettingsForm->JoystickBox, SettingsForm->LongGameBox,
                                         SettingsForm->ReadmeButton,   SettingsForm->SaveButton};
  order[0]->take_focus();
  for (size_t i = 1; i < order.size(); ++i) {
    PressKey(w, FL_Tab);
    EXPECT_EQ(Fl::focus(), order[i]) << "tab stop " << i;
  }
}

}  // namespace

namespace {

// Real pointer clicks from the X server (through XTest) reach the controls
// and their handlers through FLTK's own event dispatch.
TEST_F(SettingsWindowTest, RealPointerClicksReachTheControls) {
  ASSERT_TRUE(WriteSetupFile("/opt/zuk"));
  Open();
  SettingsForm->Show();
  Settle(200);
  Fl_Window* w = SettingsForm->Window();
  // The click goes to this window even if another test's window covers it.
  auto click = [w](int x, int y) {
    const std::string cmd = "xdotool mousemove --sync " + std::to_string(w->x() + x) + " " +
                            std::to_string(w->y() + y) + " click --window " +
                            std::to_string(fl_xid(w)) + " 1";
    return std::system(cmd.c_str());
  };
  TrackBar* bar = SettingsForm->MeteorCountBar;
  ASSERT_EQ(click(bar->ThumbCenter(40), bar->y() + 8), 0);
  Settle(200);
  EXPECT_EQ(bar->Position(), 15);
  EXPECT_EQ(SettingsForm->MeteorCountLabel->Caption(), "15");

  Fl_Widget* b = SettingsForm->SaveButton;
  ASSERT_EQ(click(b->x() + b->w() / 2, b->y() + b->h() / 2), 0);
  EXPECT_THROW(
      {
        for (int i = 0; i < 200; ++i) Fl::wait(0.01);
      },
      ProgramEndSignal);
  EXPECT_NE(ReadBytes(SettingsFile()).find("\r\nMAX=15\r\n"), std::string::npos);
}

}  // namespace
