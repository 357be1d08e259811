#include "ui/error_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>

#include "shell/application.h"
#include "game/world_state.h"
#include "platform/platform.h"
#include "ui/text_fit.h"
#include "ui/ui_controls.h"
// App().MessageBox, not the macro that FLTK's headers bring on Windows.
#include "base/windows_names_push.h"
#include "base/catalogue.h"

ErrorWindow* ErrorForm = nullptr;

namespace {

constexpr double kAwakeInterval = 15.0;  // seconds

void CloseThunk(Fl_Widget*, void* form) {
  App().RunHandler([form] { static_cast<ErrorWindow*>(form)->EndProgram(); });
}

// Leading and trailing blanks and control characters removed.
std::string Trimmed(const std::string& s) {
  size_t b = 0;
  size_t e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
  return s.substr(b, e - b);
}

// The message in its label, broken into lines; a message longer than the
// label's lines makes the window taller, the button moving down with it.
void ShowMessage(Label& label, Fl_Widget& below, Fl_Window& window, const std::string& message) {
  label.SetCaption(message);
  const int grow = BreakIntoLines(label);
  if (grow == 0) return;
  below.position(below.x(), below.y() + grow);
  window.size_range(window.w(), window.h() + grow, window.w(), window.h() + grow);
  window.size(window.w(), window.h() + grow);
}

}  // namespace

ErrorWindow::ErrorWindow() {
  if (!App().Windowed) return;
  auto* win = new DialogWindow(345, 115, Tr("ＺＵＫ ｽｸﾘｰﾝｾｰﾊﾞｰのエラーメッセージ"));
  win->color(fl_rgb_color(255, 255, 128));
  window_ = win;
  auto* label = new Label(12, 34, 321, 35, "", kClRed, DialogFont(), 15);
  label->SetCentered(true);
  label->SetWordWrap(true);
  messageWidget_ = label;
  closeButton_ = new Fl_Button(264, 82, 67, 25, Tr("閉じる"));
  UseDialogFont(closeButton_);
  closeButton_->callback(CloseThunk, this);
  win->end();
  if (TextsTranslated()) Widen(*closeButton_, GrowToward::Left, 12);
  HookCloseBox();
}

ErrorWindow::~ErrorWindow() { Fl::remove_timeout(TimerThunk, this); }

void ErrorWindow::FormActivate() {
  KeepWindowAbove(window_);
  if (!timerEnabled_) {
    timerEnabled_ = true;
    if (window_ != nullptr) Fl::add_timeout(kAwakeInterval, TimerThunk, this);
  }
  Sys().MessageBeep();
  message_ = Trimmed(World().ErrorText);
  if (messageWidget_ != nullptr) ShowMessage(*static_cast<Label*>(messageWidget_), *closeButton_, *window_, message_);
}

void ErrorWindow::EndProgram() { ProgramEnd(); }

void ErrorWindow::KeepScreenAwake() {
  // Putting the pointer where it is counts as user activity: the system's
  // own screen saver doesn't start over the error.
  int32_t x = 0;
  int32_t y = 0;
  if (Sys().GetCursorPos(x, y)) Sys().SetCursorPos(x, y);
}

void ErrorWindow::TimerThunk(void* self) {
  Fl::repeat_timeout(kAwakeInterval, TimerThunk, self);
  App().RunHandler([self] { static_cast<ErrorWindow*>(self)->KeepScreenAwake(); });
}

void ReportFatalError(const std::string& text) {
  World().ErrorText = text;
  if (ErrorForm != nullptr) ErrorForm->ShowModal();
  App().MessageBox(text);
  ProgramEnd();
}
