#include "ui/settings_window.h"

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Check_Button.H>

#include <cerrno>
#include <stdexcept>

#include "shell/application.h"
#include "ui/splash_image.h"
#include "config/settings.h"
#include "game/world_state.h"
#include "ui/ui_controls.h"
#include "ui/readme_window.h"
#include "ui/text_fit.h"
// App().MessageBox, not the macro that FLTK's headers bring on Windows.
#include "base/windows_names_push.h"
#include "base/catalogue.h"

SettingsWindow* SettingsForm = nullptr;

namespace {

template <void (SettingsWindow::*Handler)()>
void Thunk(Fl_Widget*, void* form) {
  App().RunHandler([form] { (static_cast<SettingsWindow*>(form)->*Handler)(); });
}

Fl_Check_Button* MakeCheckBox(int x, int y, int w, int h, const char* caption) {
  auto* b = new Fl_Check_Button(x, y, w, h, caption);
  UseDialogFont(b);
  return b;
}

// A translation's longer texts: the captions break into lines before the
// controls beside them; the track bars' right-end labels grow leftward to
// stay under the bar's end, the others rightward; each no further than what
// stands beside it (limits at factor 1).
void FitTranslatedTexts(SettingsWindow& f) {
  FitLabel(*f.MeteorCountCaption, 331);
  FitLabel(*f.VolumeCaption, 358);
  struct Room {
    Fl_Widget* widget;
    GrowToward side;
    int limit;
  };
  for (const Room& r : {Room{f.MeteorCountMin, GrowToward::Right, 460}, Room{f.MeteorCountMax, GrowToward::Left, 470},
                        Room{f.SlowMachineLabel, GrowToward::Right, 526}, Room{f.FastMachineLabel, GrowToward::Left, 420},
                        Room{f.VolumeMin, GrowToward::Right, 460}, Room{f.VolumeMax, GrowToward::Left, 470},
                        Room{f.SoundBox, GrowToward::Right, 464}, Room{f.AutopilotBox, GrowToward::Right, 464},
                        Room{f.JoystickBox, GrowToward::Right, 394}, Room{f.LongGameBox, GrowToward::Right, 394},
                        Room{f.ReadmeButton, GrowToward::Left, 366}, Room{f.SaveButton, GrowToward::Left, 472}}) {
    Widen(*r.widget, r.side, r.limit);
  }
  // The design's "大" stands two pixels lower than "小", its foot on the
  // track bar: a translation's descenders (the g of "High") would go under it.
  f.VolumeMax->position(f.VolumeMax->x(), f.VolumeMin->y());
}

}  // namespace

SettingsWindow::SettingsWindow() {
  auto* win = new DialogWindow(610, 207, Tr("ＺＵＫスクリーンセーバー Ver 1.90"));
  window_ = win;

  // Pictures, shapes and labels first: they lie behind the controls and
  // take no focus. The controls follow in their tab order.
  splash_.reset(MakeSplashImage());
  Picture = new Fl_Box(16, 16, 198, 132);
  Picture->box(FL_NO_BOX);
  if (splash_) Picture->image(splash_.get());
  MakerLabel = new Label(79, 156, 82, 15, "ZUK-SOFT", kClNavy, DialogBoldFont(), 15);
  MeteorCountCaption = new Label(228, 24, 96, 12, Tr("隕石の数の最高数"));
  MeteorCountFrame = new Shape(332, 18, 25, 23, kClGray, kClBtnFace, false);
  MeteorCountLabel = new Label(338, 24, 12, 12, "10", kClMaroon);
  MeteorCountMin = new Label(362, 6, 18, 12, Tr("1個"));
  MeteorCountMax = new Label(554, 6, 24, 12, Tr("50個"));
  SlowMachineLabel = new Label(342, 50, 56, 12, Tr("低速マシン"), kClGray);
  FastMachineLabel = new Label(530, 50, 56, 12, Tr("高速マシン"), kClGray);
  VolumeCaption = new Label(228, 88, 96, 12, Tr("効果音の音量設定"));
  VolumeMin = new Label(362, 70, 12, 12, Tr("小"));
  VolumeMax = new Label(556, 72, 12, 12, Tr("大"));
  ButtonFrame = new Shape(468, 142, 131, 53, kClBlack, kClGray, true);

  MeteorCountBar = new TrackBar(360, 18, 211, 29, 1, 50, 10);
  MeteorCountBar->callback(Thunk<&SettingsWindow::ShowMeteorCount>, this);
  VolumeBar = new TrackBar(362, 84, 211, 29, 1, 50, 50);
  SoundBox = MakeCheckBox(224, 109, 239, 27, Tr("効果音を出す。"));
  AutopilotBox = MakeCheckBox(224, 129, 167, 27, Tr("起動時は自動操縦にする"));
  JoystickBox = MakeCheckBox(224, 148, 167, 27, Tr("ジョイステイックを使用する"));
  LongGameBox = MakeCheckBox(224, 171, 139, 17, Tr("ゲーム時間の延長"));
  ReadmeButton = new Fl_Button(398, 170, 63, 23, Tr("説　明"));
  UseDialogFont(ReadmeButton);
  ReadmeButton->callback(Thunk<&SettingsWindow::ShowReadme>, this);
  SaveButton = new Fl_Button(476, 148, 115, 41, Tr("設定完了"));
  UseDialogFont(SaveButton);
  SaveButton->labelcolor(kClBlack);
  SaveButton->callback(Thunk<&SettingsWindow::Save>, this);
  win->end();
  if (TextsTranslated()) FitTranslatedTexts(*this);
  HookCloseBox();
}

SettingsWindow::~SettingsWindow() {
  // The picture box must not outlive its picture.
  delete window_;
  window_ = nullptr;
}

void SettingsWindow::FormCreate() {
  WindowSettings v;
  if (!ReadSettingsForWindow(v)) {
    App().MessageBox(Tr("設定ファイルがありません"));
    ProgramEnd();
  }
  World().DataPath = v.DataPath;
  DataPath = v.DataPath;
  if (v.Joystick) JoystickBox->value(1);
  if (v.Autopilot) AutopilotBox->value(1);
  if (v.Sound) SoundBox->value(1);
  if (v.LongGame) LongGameBox->value(1);
  // The track bar holds MAX within 1..50 and its change handler shows that;
  // the label then shows the file's value itself (1..100).
  MeteorCountBar->SetPosition(v.MaxMeteors);
  MeteorCountLabel->SetCaption(v.MaxMeteorsText);
  VolumeBar->SetPosition(v.Volume);
}

void SettingsWindow::ShowMeteorCount() { MeteorCountLabel->SetCaption(std::to_string(MeteorCountBar->Position())); }

WindowSettings SettingsWindow::Values() const {
  WindowSettings v;
  v.MaxMeteors = MeteorCountBar->Position();
  v.MaxMeteorsText = MeteorCountLabel->Caption();
  v.Volume = VolumeBar->Position();
  v.Joystick = JoystickBox->value() != 0;
  v.Autopilot = AutopilotBox->value() != 0;
  v.Sound = SoundBox->value() != 0;
  v.LongGame = LongGameBox->value() != 0;
  v.DataPath = DataPath;
  return v;
}

void SettingsWindow::Save() {
  SaveButton->deactivate();
  if (!WriteSettingsFile(Values())) {
    // Nothing was saved: say so, and leave the user's values on screen to
    // try again or to close without saving.
    const int err = errno;
    App().MessageBox(CannotWriteText(SettingsFilePath(), err) + "\n" + Tr("設定は保存されていません。"));
    SaveButton->activate();
    return;
  }
  ProgramEnd();
}

void SettingsWindow::ShowReadme() {
  if (ReadmeForm == nullptr) return;
  try {
    ReadmeForm->ShowReadme(ReadmeFileIn(DataPath));
  } catch (const std::exception& e) {
    App().HandleException(e);
  }
}

void SettingsWindow::FormHide() {
  if (ReadmeForm != nullptr) ReadmeForm->Hide();
}
