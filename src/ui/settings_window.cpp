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

TForm3* Form3 = nullptr;

namespace {

template <void (TForm3::*Handler)()>
void Thunk(Fl_Widget*, void* form) {
  App().RunHandler([form] { (static_cast<TForm3*>(form)->*Handler)(); });
}

Fl_Check_Button* MakeCheckBox(int x, int y, int w, int h, const char* caption) {
  auto* b = new Fl_Check_Button(x, y, w, h, caption);
  UseDialogFont(b);
  return b;
}

}  // namespace

TForm3::TForm3() {
  auto* win = new TDialogWindow(610, 207, "ＺＵＫスクリーンセーバー Ver 1.90");
  window_ = win;

  // Pictures, shapes and labels first: they lie behind the controls and
  // take no focus. The controls follow in their tab order.
  splash_.reset(MakeSplashImage());
  Image1 = new Fl_Box(16, 16, 198, 132);
  Image1->box(FL_NO_BOX);
  if (splash_) Image1->image(splash_.get());
  Label9 = new TLabel(79, 156, 82, 15, "ZUK-SOFT", kClNavy, DialogBoldFont(), 15);
  Label1 = new TLabel(228, 24, 96, 12, "隕石の数の最高数");
  Shape1 = new TShape(332, 18, 25, 23, kClGray, kClBtnFace, false);
  Label7 = new TLabel(338, 24, 12, 12, "10", kClMaroon);
  Label3 = new TLabel(362, 6, 18, 12, "1個");
  Label2 = new TLabel(554, 6, 24, 12, "50個");
  Label11 = new TLabel(342, 50, 56, 12, "低速マシン", kClGray);
  Label10 = new TLabel(530, 50, 56, 12, "高速マシン", kClGray);
  Label4 = new TLabel(228, 88, 96, 12, "効果音の音量設定");
  Label6 = new TLabel(362, 70, 12, 12, "小");
  Label5 = new TLabel(556, 72, 12, 12, "大");
  Shape2 = new TShape(468, 142, 131, 53, kClBlack, kClGray, true);

  TrackBar1 = new TTrackBar(360, 18, 211, 29, 1, 50, 10);
  TrackBar1->callback(Thunk<&TForm3::TrackBar1Change>, this);
  TrackBar2 = new TTrackBar(362, 84, 211, 29, 1, 50, 50);
  CheckBox3 = MakeCheckBox(224, 109, 239, 27, "効果音を出す。");
  CheckBox2 = MakeCheckBox(224, 129, 167, 27, "起動時は自動操縦にする");
  CheckBox1 = MakeCheckBox(224, 148, 167, 27, "ジョイステイックを使用する");
  CheckBox4 = MakeCheckBox(224, 171, 139, 17, "ゲーム時間の延長");
  BitBtn1 = new Fl_Button(398, 170, 63, 23, "説　明");
  UseDialogFont(BitBtn1);
  BitBtn1->callback(Thunk<&TForm3::BitBtn1Click>, this);
  Button1 = new Fl_Button(476, 148, 115, 41, "設定完了");
  UseDialogFont(Button1);
  Button1->labelcolor(kClBlack);
  Button1->callback(Thunk<&TForm3::Button1Click>, this);
  win->end();
  HookCloseBox();
}

TForm3::~TForm3() {
  // The picture box must not outlive its picture.
  delete window_;
  window_ = nullptr;
}

void TForm3::FormCreate() {
  WindowSettings v;
  if (!ReadSettingsForWindow(v)) {
    App().MessageBox("設定ファイルがありません");
    ProgramEnd();
  }
  World().DataPath = v.DataPath;
  DataPath = v.DataPath;
  if (v.Joystick) CheckBox1->value(1);
  if (v.Autopilot) CheckBox2->value(1);
  if (v.Sound) CheckBox3->value(1);
  if (v.LongGame) CheckBox4->value(1);
  // The track bar holds MAX within 1..50 and its change handler shows that;
  // the label then shows the file's value itself (1..100).
  TrackBar1->SetPosition(v.MaxMeteors);
  Label7->SetCaption(v.MaxMeteorsText);
  TrackBar2->SetPosition(v.Volume);
}

void TForm3::TrackBar1Change() { Label7->SetCaption(std::to_string(TrackBar1->Position())); }

WindowSettings TForm3::Values() const {
  WindowSettings v;
  v.MaxMeteors = TrackBar1->Position();
  v.MaxMeteorsText = Label7->Caption();
  v.Volume = TrackBar2->Position();
  v.Joystick = CheckBox1->value() != 0;
  v.Autopilot = CheckBox2->value() != 0;
  v.Sound = CheckBox3->value() != 0;
  v.LongGame = CheckBox4->value() != 0;
  v.DataPath = DataPath;
  return v;
}

void TForm3::Button1Click() {
  Button1->deactivate();
  if (!WriteSettingsFile(Values())) {
    // Nothing was saved: say so, and leave the user's values on screen to
    // try again or to close without saving.
    const int err = errno;
    App().MessageBox(CannotWriteText(SettingsFilePath(), err) + "\n設定は保存されていません。");
    Button1->activate();
    return;
  }
  ProgramEnd();
}

void TForm3::BitBtn1Click() {
  if (Form4 == nullptr) return;
  try {
    Form4->ShowReadme(DataPath + "readme.txt");
  } catch (const std::exception& e) {
    App().HandleException(e);
  }
}

void TForm3::FormHide() {
  if (Form4 != nullptr) Form4->Hide();
}
