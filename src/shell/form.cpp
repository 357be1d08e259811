#include "shell/form.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <vector>

#include "shell/application.h"
#include "shell/form_focus.h"

std::vector<Form*>& LiveForms() {
  static std::vector<Form*> forms;
  return forms;
}

namespace {

void CloseBoxThunk(Fl_Widget*, void* form) {
  // FLTK also calls a window's callback for Escape; the program's windows
  // close only by their close box.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  App().RunHandler([form] { static_cast<Form*>(form)->Close(); });
}

}  // namespace

Form::Form() { LiveForms().push_back(this); }

Form::~Form() {
  auto& forms = LiveForms();
  for (auto it = forms.begin(); it != forms.end(); ++it) {
    if (*it == this) {
      forms.erase(it);
      break;
    }
  }
  delete window_;
  window_ = nullptr;
}

void Form::NotifyFocus(bool gained) {
  if (gained && !active_) {
    active_ = true;
    App().RunHandler([this] { FormActivate(); });
  } else if (!gained) {
    active_ = false;
  }
}

void Form::CenterOnScreen() {
  if (window_ == nullptr) return;
  int x = 0, y = 0, w = 0, h = 0;
  Fl::screen_xywh(x, y, w, h, 0);  // the whole main screen, not its work area
  window_->position(x + (w - window_->w()) / 2, y + (h - window_->h()) / 2);
}

void Form::HookCloseBox() {
  if (window_ != nullptr) window_->callback(CloseBoxThunk, this);
  WatchFocus();
}

void Form::Show() {
  const bool wasVisible = visible_;
  visible_ = true;
  if (window_ != nullptr) {
    if (!wasVisible && centered_) CenterOnScreen();
    window_->show();
  }
  if (!active_) {
    active_ = true;
    FormActivate();
  }
}

void Form::Hide() {
  const bool wasVisible = visible_;
  visible_ = false;
  active_ = false;
  if (window_ != nullptr) window_->hide();
  if (wasVisible) FormHide();
}

void Form::Close() {
  Hide();
  if (App().MainForm == this) App().Terminate();
}

void Form::ShowModal() {
  if (window_ == nullptr) {
    Show();
    return;
  }
  window_->set_modal();
  Show();
  while (visible_ && window_->shown()) Fl::wait();
  visible_ = false;
  window_->set_non_modal();
}
