#include "ui/error_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>

#include "shell/application.h"
#include "game/world_state.h"
#include "platform/platform.h"
#include "ui/ui_controls.h"

TForm5* Form5 = nullptr;

namespace {

constexpr double kTimer1Interval = 15.0;  // seconds

void Button1Thunk(Fl_Widget*, void* form) {
  App().RunHandler([form] { static_cast<TForm5*>(form)->Button1Click(); });
}

// Leading and trailing blanks and control characters removed.
std::string Trimmed(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

TForm5::TForm5() {
  if (!App().Windowed) return;
  auto* win = new TDialogWindow(345, 115, "ＺＵＫ ｽｸﾘｰﾝｾｰﾊﾞｰのエラーメッセージ");
  win->color(fl_rgb_color(255, 255, 128));
  window_ = win;
  auto* label = new TLabel(12, 34, 321, 35, "", kClRed, DialogFont(), 15);
  label->SetCentered(true);
  label->SetWordWrap(true);
  label1_ = label;
  button1_ = new Fl_Button(264, 82, 67, 25, "閉じる");
  UseDialogFont(button1_);
  button1_->callback(Button1Thunk, this);
  win->end();
  HookCloseBox();
}

TForm5::~TForm5() { Fl::remove_timeout(TimerThunk, this); }

void TForm5::FormActivate() {
  KeepWindowAbove(window_);
  if (!timerEnabled_) {
    timerEnabled_ = true;
    if (window_ != nullptr) Fl::add_timeout(kTimer1Interval, TimerThunk, this);
  }
  Sys().MessageBeep();
  label1Caption_ = Trimmed(World().ErrorText);
  if (label1_ != nullptr) static_cast<TLabel*>(label1_)->SetCaption(label1Caption_);
}

void TForm5::Button1Click() { ProgramEnd(); }

void TForm5::Timer1Timer() {
  // Putting the pointer where it is counts as user activity: the system's
  // own screen saver doesn't start over the error.
  int32_t x = 0;
  int32_t y = 0;
  if (Sys().GetCursorPos(x, y)) Sys().SetCursorPos(x, y);
}

void TForm5::TimerThunk(void* self) {
  Fl::repeat_timeout(kTimer1Interval, TimerThunk, self);
  App().RunHandler([self] { static_cast<TForm5*>(self)->Timer1Timer(); });
}

void ReportFatalError(const std::string& text) {
  World().ErrorText = text;
  if (Form5 != nullptr) Form5->ShowModal();
  App().MessageBox(text);
  ProgramEnd();
}
