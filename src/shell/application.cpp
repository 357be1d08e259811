#include "shell/application.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <cstdio>

#include "shell/fonts.h"
#include "shell/form.h"
#include "shell/ui_scale.h"
#include "platform/platform.h"
// Our MessageBox below, not the macro that FLTK's headers bring on Windows.
#include "base/windows_names_push.h"

namespace {

Application* g_override = nullptr;

// The stop icon of the error message box: a red disc with a white cross.
class StopIcon : public Fl_Box {
 public:
  StopIcon(int x, int y, int w, int h) : Fl_Box(x, y, w, h) {}
  void draw() override {
    fl_color(fl_rgb_color(200, 30, 30));
    fl_pie(x(), y(), w(), h(), 0, 360);
    fl_color(FL_WHITE);
    fl_line_style(FL_SOLID | FL_CAP_ROUND, 4);
    const int m = w() / 4;
    fl_line(x() + m, y() + m, x() + w() - m, y() + h() - m);
    fl_line(x() + w() - m, y() + m, x() + m, y() + h() - m);
    fl_line_style(0);
  }
};

// The message text, drawn without FLTK's '@' symbol codes: it may hold
// file names and other text from outside.
class MessageText : public Fl_Box {
 public:
  MessageText(int x, int y, int w, int h, const std::string& text) : Fl_Box(x, y, w, h) {
    copy_label(text.c_str());
    labelfont(kGothic);
    labelsize(12);
  }
  void draw() override {
    fl_font(labelfont(), labelsize());
    fl_color(labelcolor());
    fl_draw(label(), x(), y(), w(), h(), FL_ALIGN_LEFT | FL_ALIGN_INSIDE, DrawTextRun, nullptr, 0);
  }
};

// The callback of the OK button and of the box's window itself (Escape, the
// close box): hides the box, which ends its modal loop. The window is the
// widget itself for the window's own callback, the widget's window for the
// button.
void CloseDialog(Fl_Widget* w, void*) {
  Fl_Window* box = w->as_window() != nullptr ? w->as_window() : w->window();
  if (box != nullptr) box->hide();
}

// The box's window, named for window managers before it is mapped.
class BoxWindow : public Fl_Window {
 public:
  BoxWindow(int w, int h) : Fl_Window(w, h) {}
  int handle(int event) override {
    if (event == FL_SHOW && shown()) NameForWindowManagers(this);
    return Fl_Window::handle(event);
  }
};

// A modal box: shown, and waited for until it is closed.
void ShowFltkMessageBox(const std::string& caption, const std::string& text, int kind) {
  const std::unique_ptr<Fl_Window> win = MakeMessageBox(caption, text, kind);
  win->show();
  win->child(win->children() - 1)->take_focus();  // the OK button
  while (win->shown()) Fl::wait();
}

}  // namespace

Application::Application() {
  MessageBoxHook = [this](const std::string& caption, const std::string& text, int kind) {
    if (Windowed) {
      ShowFltkMessageBox(caption, text, kind);
    } else {
      std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
  };
}

Application::~Application() = default;

std::string Application::TitleFromFileName(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") == std::string::npos
                                     ? 0
                                     : path.find_last_of("/\\") + 1);
  const auto dot = name.find('.');
  if (dot != std::string::npos) name.resize(dot);
  for (size_t i = 1; i < name.size(); ++i) {
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
  }
  return name;
}

void Application::Register(Form* f) { forms_.push_back(f); }

void Application::RunCreate(Form* f) {
  try {
    f->FormCreate();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

void Application::ProcessMessages() {
  if (Windowed) Fl::check();
  // By index, without a copy (this runs in every frame's wait): a source
  // that removes itself while it pumps only shifts the ones after it.
  for (size_t i = 0; i < sources_.size(); ++i) {
    MessageSource* s = sources_[i];
    s->Pump();
    if (i < sources_.size() && sources_[i] != s) --i;
  }
}

void Application::WaitMessages(uint32_t timeoutMs) {
  Sys().WaitForEvents(timeoutMs);
  ProcessMessages();
}

void Application::Run() {
  if (MainForm == nullptr || terminated_) return;
  if (!MainForm->Visible()) MainForm->Show();
  while (!terminated_ && MainForm != nullptr && MainForm->Visible()) {
    if (Windowed) {
      // Block in FLTK's wait; other sources get a look at least every 50 ms.
      Fl::wait(sources_.empty() ? 1e20 : 0.05);
      for (size_t i = 0; i < sources_.size(); ++i) {
        MessageSource* s = sources_[i];
        s->Pump();
        if (i < sources_.size() && sources_[i] != s) --i;
      }
    } else {
      WaitMessages(50);
    }
  }
}

void Application::MessageBox(const std::string& text) { MessageBoxHook(Title, text, 0); }

std::string Application::ErrorMessageText(const std::string& text) {
  if (text.empty()) return text;
  // The last character, decoded from UTF-8: any non-ASCII character is above '.'.
  const unsigned char last = static_cast<unsigned char>(text.back());
  if (last > '.') return text + ".";
  return text;
}

void Application::HandleException(const std::exception& e) {
  MessageBoxHook(Title, ErrorMessageText(e.what()), 1);
}

void Application::RunHandler(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

void Application::DestroyForms() {
  while (!forms_.empty()) {
    Form* f = forms_.back();
    forms_.pop_back();
    if (MainForm == f) MainForm = nullptr;
    try {
      f->FormDestroy();
    } catch (const ProgramEndSignal&) {
      // Already ending.
    } catch (const std::exception&) {
      // A failing destruction handler must not keep the others from running.
    }
    auto clear = clearers_.find(f);
    if (clear != clearers_.end()) {
      clear->second();
      clearers_.erase(clear);
    }
    delete f;
  }
  if (Windowed) Fl::check();
}

void Application::AddSource(MessageSource* s) {
  if (std::find(sources_.begin(), sources_.end(), s) == sources_.end()) sources_.push_back(s);
}

void Application::RemoveSource(MessageSource* s) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), s), sources_.end());
}

Application& App() {
  static Application* app = new Application();
  return g_override ? *g_override : *app;
}

void SetApp(Application* a) { g_override = a; }

std::unique_ptr<Fl_Window> MakeMessageBox(const std::string& caption, const std::string& text, int kind) {
  int sx = 0, sy = 0, sw = 0, sh = 0;
  Fl::screen_xywh(sx, sy, sw, sh, 0);  // the whole main screen
  const int icon = kind == 1 ? 40 : 0;
  const int pad = 16;
  const int bw = 80, bh = 26;
  fl_font(kGothic, 12);
  // The box within the screen, with a margin of its own width at each side:
  // a longer line breaks, as in Windows' message box.
  const std::string lines = BrokenAt(text, sw - 4 * pad - icon - (icon ? pad : 0) - 4);
  int tw = 0, th = 0;
  MeasureText(lines, tw, th);
  tw += 4;
  const int cw = std::max(tw + icon + (icon ? pad : 0) + 2 * pad, bw + 2 * pad);
  const int ch = std::max(th, icon) + bh + 3 * pad;
  auto win = std::make_unique<BoxWindow>(cw, ch);
  win->copy_label(caption.c_str());
  if (icon) new StopIcon(pad, pad, icon, icon);
  new MessageText(pad + icon + (icon ? pad : 0), pad, tw, std::max(th, icon), lines);
  auto* ok = new Fl_Return_Button((cw - bw) / 2, ch - pad - bh, bw, bh, "OK");
  ok->labelfont(kGothic);
  ok->labelsize(12);
  ok->callback(CloseDialog);
  win->end();
  win->set_modal();
  win->callback(CloseDialog);
  win->position(sx + (sw - cw) / 2, sy + (sh - ch) / 2);
  return win;
}

namespace {
bool g_programEnding = false;
}  // namespace

void ProgramEnd(int exitCode) {
  g_programEnding = true;
  throw ProgramEndSignal{exitCode};
}

bool ProgramEnding() { return g_programEnding; }
